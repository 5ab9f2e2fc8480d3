#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/host.h"

namespace {

// Writes every notification it gets, with its arguments, into a log shared by all recorders, so
// a test sees the order across databases too. Handles print as numbers; databases by label.
class RecordingAttrDB : public ZCdbAttrDB {
 public:
  RecordingAttrDB(const char* name, std::vector<std::string>* log) : ZCdbAttrDB(name), log_(log) {}

  int OnAddData(int mode, ZCdbRecBase* rec, DWORD srcHandle, ZCdb* srcDb) override {
    Note("add", mode, rec, " src=" + Handle(srcHandle) + " " + Db(srcDb));
    return 1;
  }
  int OnChangeData(int mode, ZCdbRecBase* rec) override {
    Note("change", mode, rec, "");
    return 1;
  }
  int OnDelDataMark(int mode, ZCdb* db, ZCdbRecBase* rec, int mark) override {
    Note("mark", mode, rec, " " + std::to_string(mark) + " " + Db(db));
    return 1;
  }
  int OnDelData(int mode, ZCdb* db, ZCdbRecBase* rec) override {
    Note("del", mode, rec, " " + Db(db));
    return 1;
  }
  int OnCommit(int mode, ZCdb* db) override {
    log_->push_back(std::string(GetName()) + " commit " + std::to_string(mode) + " " + Db(db));
    return 1;
  }
  int OnChangePtr(const CMap<DWORD, DWORD, ZCdbRecBase*, ZCdbRecBase*>& changes) override {
    std::string text = std::string(GetName()) + " ptr";
    for (POSITION pos = changes.GetStartPosition(); pos;) {
      DWORD handle;
      ZCdbRecBase* rec;
      changes.GetNextAssoc(pos, handle, rec);
      text += " " + std::to_string(handle) + "->";
      text += rec ? (rec->GetHandle() == handle ? "same-handle" : "other-handle") : "null";
    }
    log_->push_back(text);
    lastChanges.clear();
    for (POSITION pos = changes.GetStartPosition(); pos;) {
      DWORD handle;
      ZCdbRecBase* rec;
      changes.GetNextAssoc(pos, handle, rec);
      lastChanges.push_back(rec);
    }
    return 1;
  }

  static ZCdb* a;
  static ZCdb* b;
  std::vector<ZCdbRecBase*> lastChanges;

 private:
  static std::string Handle(DWORD h) { return h == ZCDB_NO_HANDLE ? "none" : std::to_string(h); }
  static std::string Db(ZCdb* db) { return db == a ? "A" : db == b ? "B" : db ? "?" : "null"; }
  void Note(const char* what, int mode, ZCdbRecBase* rec, const std::string& rest) {
    log_->push_back(std::string(GetName()) + " " + what + " " + std::to_string(mode) + " " +
                    Handle(rec ? rec->GetHandle() : ZCDB_NO_HANDLE) + rest);
  }
  std::vector<std::string>* log_;
};

ZCdb* RecordingAttrDB::a = nullptr;
ZCdb* RecordingAttrDB::b = nullptr;

ZCdbElm* StringElm(const char* text) {
  return new ZCdbElm(new ZString(text, ZPt(0, 0)));
}

CString TextOf(const ZCdbRecBase* rec) {
  return static_cast<ZString*>(static_cast<const ZCdbElm*>(rec)->GetZGElm())->GetCString();
}

std::vector<DWORD> ChildHandles(const ZCdbRecBase* table) {
  std::vector<DWORD> handles;
  for (ZCdbRecBase* c = table->GetFirstChild(); c; c = table->GetNextChild(c))
    handles.push_back(c->GetHandle());
  return handles;
}

class ZCdbNotify : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordingAttrDB::a = &a;
    RecordingAttrDB::b = &b;
    x = new RecordingAttrDB("X", &log);
    ASSERT_EQ(a.RegisterAttrDB("X", x), 1);
    ASSERT_EQ(a.RegisterAttrDB("Y", new RecordingAttrDB("Y", &log)), 1);
  }
  // A layer holding two string elements, built first and then added as one subtree.
  ZCdbTbl* AddLayer(ZCdb& db, const char* first, const char* second) {
    ZCdbTbl* layer = new ZCdbTbl();
    EXPECT_EQ(layer->AppendChild(StringElm(first)), 1);
    EXPECT_EQ(layer->AppendChild(StringElm(second)), 1);
    EXPECT_NE(db.AddRecord(layer), ZCDB_NO_HANDLE);
    return layer;
  }

  std::vector<std::string> log;
  ZCdb a;
  ZCdb b;
  RecordingAttrDB* x = nullptr;
};

TEST_F(ZCdbNotify, AddAndCopyNotifyEachRecordInPreOrderWithItsSource) {
  ZCdbTbl* layer = AddLayer(a, "p", "q");
  EXPECT_EQ(ChildHandles(layer), (std::vector<DWORD>{2, 3}));
  EXPECT_EQ(log, (std::vector<std::string>{"X add 0 1 src=none null", "Y add 0 1 src=none null",
                                           "X add 0 2 src=none null", "Y add 0 2 src=none null",
                                           "X add 0 3 src=none null", "Y add 0 3 src=none null"}));

  // A copy within the drawing: the whole subtree, new handles, each paired with its source.
  log.clear();
  ZCdbRecBase* copy = a.CopyRecord(layer);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->GetHandle(), 4u);
  EXPECT_EQ(ChildHandles(copy), (std::vector<DWORD>{5, 6}));
  EXPECT_EQ(ChildHandles(&a), (std::vector<DWORD>{1, 4}));
  EXPECT_EQ(log, (std::vector<std::string>{"X add 0 4 src=1 A", "Y add 0 4 src=1 A", "X add 0 5 src=2 A",
                                           "Y add 0 5 src=2 A", "X add 0 6 src=3 A", "Y add 0 6 src=3 A"}));
  // The copy's elements are its own.
  static_cast<ZString*>(static_cast<ZCdbElm*>(layer->GetFirstChild())->GetZGElm())->SetCString("changed");
  EXPECT_EQ(TextOf(copy->GetFirstChild()), "p");
  EXPECT_EQ(TextOf(copy->GetNextChild(copy->GetFirstChild())), "q");

  // A copy from another drawing names that drawing; b's records are not notified to a's databases.
  log.clear();
  ZCdbRecBase* other = StringElm("r");
  ASSERT_EQ(b.AddRecord(other), 1u);
  EXPECT_TRUE(log.empty());
  ZCdbRecBase* pasted = a.CopyRecord(other, layer);
  ASSERT_NE(pasted, nullptr);
  EXPECT_EQ(pasted->GetZCdb(), &a);
  EXPECT_EQ(pasted->GetParent(), layer);
  EXPECT_EQ(log, (std::vector<std::string>{"X add 0 7 src=1 B", "Y add 0 7 src=1 B"}));
  EXPECT_EQ(ChildHandles(layer), (std::vector<DWORD>{2, 3, 7}));
  EXPECT_EQ(a.FindRecord(7), pasted);
  EXPECT_EQ(b.FindRecord(1), other);

  // A change of data is passed on as it is.
  log.clear();
  EXPECT_EQ(a.ChangeRecord(pasted), 1);
  EXPECT_EQ(log, (std::vector<std::string>{"X change 0 7", "Y change 0 7"}));

  // Refusals take nothing and tell nobody.
  log.clear();
  EXPECT_EQ(a.CopyRecord(&b), nullptr);
  EXPECT_EQ(a.CopyRecord(layer, static_cast<ZCdbTblBase*>(&b)), nullptr);
  EXPECT_EQ(a.AddRecord(pasted), ZCDB_NO_HANDLE);
  EXPECT_EQ(a.ChangeRecord(other), 0);
  ZCdbTbl* stray = new ZCdbTbl();
  EXPECT_EQ(a.AddRecord(stray, &b), ZCDB_NO_HANDLE);
  EXPECT_EQ(layer->AppendChild(stray), 0);  // attached tables change through their drawing only
  EXPECT_EQ(stray->AppendChild(stray), 0);
  delete stray;
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(a.GetNextHandle(), 8u);
}

TEST_F(ZCdbNotify, RecordsAreMarkedBeforeTheyAreDeletedAndCommitDropsMarkedOnes) {
  ZCdbTbl* layer = AddLayer(a, "p", "q");
  ZCdbRecBase* first = layer->GetFirstChild();
  log.clear();

  ASSERT_EQ(a.MarkDeleted(layer), 1);
  EXPECT_EQ(a.MarkDeleted(layer), 0);
  EXPECT_TRUE(first->TestStatus(ZCDB_STATUS_REMOVED));
  EXPECT_EQ(log, (std::vector<std::string>{"X mark 0 1 1 A", "Y mark 0 1 1 A", "X mark 0 2 1 A",
                                           "Y mark 0 2 1 A", "X mark 0 3 1 A", "Y mark 0 3 1 A"}));
  log.clear();
  ASSERT_EQ(a.Unmark(layer), 1);
  EXPECT_EQ(a.Unmark(layer), 0);
  EXPECT_FALSE(first->TestStatus(ZCDB_STATUS_REMOVED));
  EXPECT_EQ(log, (std::vector<std::string>{"X mark 0 1 0 A", "Y mark 0 1 0 A", "X mark 0 2 0 A",
                                           "Y mark 0 2 0 A", "X mark 0 3 0 A", "Y mark 0 3 0 A"}));

  // Deleting a table marks what is not yet marked, then deletes every record below it.
  ASSERT_EQ(a.MarkDeleted(first), 1);
  log.clear();
  ASSERT_EQ(a.DeleteRecord(layer), 1);
  EXPECT_EQ(log, (std::vector<std::string>{"X mark 0 1 1 A", "Y mark 0 1 1 A", "X mark 0 3 1 A",
                                           "Y mark 0 3 1 A", "X del 0 1 A", "Y del 0 1 A", "X del 0 2 A",
                                           "Y del 0 2 A", "X del 0 3 A", "Y del 0 3 A"}));
  EXPECT_EQ(a.FindRecord(1), nullptr);
  EXPECT_EQ(a.FindRecord(2), nullptr);
  EXPECT_EQ(a.GetFirstChild(), nullptr);
  // The deleted objects live on (undo items may point at them) but are out of the drawing.
  EXPECT_EQ(first->GetHandle(), 2u);
  log.clear();
  EXPECT_EQ(a.DeleteRecord(layer), 0);
  EXPECT_EQ(a.MarkDeleted(first), 0);
  EXPECT_TRUE(log.empty());

  // Commit takes the marked records out without OnDelData, then tells the databases.
  ZCdbTbl* second = AddLayer(a, "r", "s");
  ZCdbRecBase* r = second->GetFirstChild();
  log.clear();
  ASSERT_EQ(a.MarkDeleted(r), 1);
  ASSERT_EQ(a.Commit(), 1);
  EXPECT_EQ(log,
            (std::vector<std::string>{"X mark 0 5 1 A", "Y mark 0 5 1 A", "X commit 0 A", "Y commit 0 A"}));
  EXPECT_EQ(a.FindRecord(5), nullptr);
  EXPECT_EQ(ChildHandles(second), (std::vector<DWORD>{6}));
  EXPECT_EQ(a.FindRecord(6), second->GetFirstChild());
}

TEST_F(ZCdbNotify, ReplacedObjectTakesHandlePlaceStatusAndChildren) {
  ZCdbTbl* layer = AddLayer(a, "p", "q");
  ZCdbRecBase* oldFirst = layer->GetFirstChild();
  ZCdbRecBase* oldSecond = layer->GetNextChild(oldFirst);
  oldSecond->SetStatus(ZCDB_STATUS_TMP1);
  ZCdbGrp* group = new ZCdbGrp();
  ASSERT_EQ(a.AddRecord(group), 4u);
  ZCdbRecBase* inGroup = StringElm("g");
  ASSERT_EQ(a.AddRecord(inGroup, group), 5u);
  log.clear();

  ZCdbRecBase* newSecond = StringElm("q2");
  ASSERT_EQ(a.ReplaceRecordObject(oldSecond, newSecond), 1);
  EXPECT_EQ(log, (std::vector<std::string>{"X ptr 3->same-handle", "Y ptr 3->same-handle"}));
  EXPECT_EQ(x->lastChanges, (std::vector<ZCdbRecBase*>{newSecond}));
  EXPECT_EQ(a.FindRecord(3), newSecond);
  EXPECT_EQ(layer->GetNextChild(oldFirst), newSecond);
  EXPECT_EQ(layer->GetChildCount(), 2);
  EXPECT_TRUE(newSecond->TestStatus(ZCDB_STATUS_TMP1));
  EXPECT_EQ(oldSecond->GetHandle(), 3u);  // still a live object, out of the tree
  EXPECT_EQ(oldSecond->GetParent(), nullptr);

  // A table's children move to its new object.
  ZCdbGrp* newGroup = new ZCdbGrp();
  ASSERT_EQ(a.ReplaceRecordObject(group, newGroup), 1);
  EXPECT_EQ(newGroup->GetFirstChild(), inGroup);
  EXPECT_EQ(inGroup->GetParent(), newGroup);
  EXPECT_EQ(inGroup->GetZCdbGrp(), newGroup);
  EXPECT_EQ(group->GetFirstChild(), nullptr);

  // Bad requests change nothing and tell nobody: a table's children need a table to go to, a
  // record cannot be replaced together with a record below it, and the new object must be new.
  log.clear();
  ZCdbRecBase* notTable = StringElm("x");
  EXPECT_EQ(a.ReplaceRecordObject(newGroup, notTable), 0);
  EXPECT_EQ(a.ReplaceRecordObjects({{layer, nullptr}, {oldFirst, nullptr}}), 0);
  EXPECT_EQ(a.ReplaceRecordObject(oldFirst, newSecond), 0);
  EXPECT_EQ(a.ReplaceRecordObject(oldSecond, notTable), 0);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(a.FindRecord(4), newGroup);
  delete notTable;

  // Several records in one notification; a null new object means the record is gone.
  ZCdbRecBase* newFirst = StringElm("p2");
  ASSERT_EQ(a.ReplaceRecordObjects({{oldFirst, newFirst}, {newSecond, nullptr}}), 1);
  // Handles 2 and 3 share a bucket of the map, which hands out the newer key first.
  EXPECT_EQ(log, (std::vector<std::string>{"X ptr 3->null 2->same-handle", "Y ptr 3->null 2->same-handle"}));
  EXPECT_EQ(ChildHandles(layer), (std::vector<DWORD>{2}));
  EXPECT_EQ(a.FindRecord(3), nullptr);
  EXPECT_EQ(layer->GetFirstChild(), newFirst);
}

TEST_F(ZCdbNotify, ChildWalkAndElementListSkipRemovedRecordsAfterRemovals) {
  ZCdbTbl* layer = new ZCdbTbl();
  ASSERT_EQ(a.AddRecord(layer), 1u);
  std::vector<ZCdbRecBase*> elms;
  for (int i = 0; i < 5; ++i) {
    ZCdbRecBase* e = new ZCdbElm(new ZText("t"), i % 2 ? ZCDB_KIND_ELM2 : ZCDB_KIND_ELM);
    a.AddRecord(e, layer);
    elms.push_back(e);  // handles 2..6, kinds 8 9 8 9 8
  }
  ZCdbTbl* sub = new ZCdbTbl();
  ASSERT_EQ(a.AddRecord(sub, layer), 7u);
  ASSERT_EQ(a.AddRecord(new ZCdbElm(new ZText("u"), ZCDB_KIND_ELM2), sub), 8u);

  // Removing the first, a middle and the last element keeps the links of the rest.
  ASSERT_EQ(a.DeleteRecord(elms[0]), 1);
  ASSERT_EQ(a.DeleteRecord(elms[2]), 1);
  ASSERT_EQ(a.DeleteRecord(elms[4]), 1);
  EXPECT_EQ(ChildHandles(layer), (std::vector<DWORD>{3, 5, 7}));
  EXPECT_EQ(layer->GetChildCount(), 3);
  EXPECT_EQ(layer->GetLastChild(), sub);
  EXPECT_EQ(layer->GetNextChild(elms[0]), nullptr);  // no longer a child
  EXPECT_EQ(layer->GetNextChild(sub->GetFirstChild()), nullptr);

  ZCdbBuff all;
  EXPECT_EQ(a.GetElm2(all, 0xFF), 3);
  ASSERT_EQ(all.GetNum(), 3);
  EXPECT_EQ(all.GetPtr(0)->GetHandle(), 3u);
  EXPECT_EQ(all.GetPtr(2)->GetHandle(), 8u);
  EXPECT_EQ(all.GetPtr(3), nullptr);

  // A marked record and everything below a marked table drop out of the list.
  ASSERT_EQ(a.MarkDeleted(elms[1]), 1);
  ZCdbBuff nines;
  sub->SetStatus(ZCDB_STATUS_REMOVED);
  EXPECT_EQ(layer->GetElm2(nines, ZCDB_KIND_ELM2), 1);
  ASSERT_EQ(nines.GetNum(), 1);
  EXPECT_EQ(nines.GetPtr(0)->GetHandle(), 5u);
}

TEST_F(ZCdbNotify, BlocksChainUpwardsAndDefinitionsKeepTheirRecords) {
  ZCdbRecBase* rec = StringElm("p");
  ASSERT_EQ(a.AddRecord(rec), 1u);
  log.clear();

  ZCdbBlk* blk = a.AddAttrParentBlk(1);
  ASSERT_NE(blk, nullptr);
  EXPECT_EQ(blk->GetHandle(), 2u);
  EXPECT_EQ(a.AddAttrParentBlk(1), nullptr);
  EXPECT_EQ(a.AddAttrParentBlk(99), nullptr);
  ZCdbBlk* upper = a.AddAttrParentBlk(2);
  ASSERT_NE(upper, nullptr);
  EXPECT_EQ(a.FindAttrParentBlk(1), blk);
  EXPECT_EQ(a.FindAttrParentBlk(2), upper);  // a block's own handle gives the next block up
  EXPECT_EQ(a.FindAttrParentBlk(3), nullptr);
  EXPECT_EQ(a.FindRecord(3), upper);
  EXPECT_EQ(upper->GetOwnerHandle(), 2u);
  EXPECT_EQ(ChildHandles(&a), (std::vector<DWORD>{1}));  // blocks stay outside the tree

  POSITION pos = nullptr;
  std::vector<ZCdbBlk*> walked;
  for (ZCdbBlk* b = a.GetAttrBlk(pos, 1); b; b = a.GetAttrBlk(pos, 0)) walked.push_back(b);
  EXPECT_EQ(walked, (std::vector<ZCdbBlk*>{blk, upper}));
  EXPECT_EQ(a.GetAttrBlk(pos, 0), nullptr);
  EXPECT_TRUE(log.empty());

  // A replaced block keeps its place in the chain; a deleted one leaves it.
  ZCdbRecBase* notBlock = StringElm("x");
  EXPECT_EQ(a.ReplaceRecordObject(blk, notBlock), 0);
  delete notBlock;
  ZCdbBlk* newBlk = new ZCdbBlk();
  ASSERT_EQ(a.ReplaceRecordObject(blk, newBlk), 1);
  EXPECT_EQ(a.FindAttrParentBlk(1), newBlk);
  EXPECT_EQ(newBlk->GetHandle(), 2u);
  EXPECT_EQ(newBlk->GetOwnerHandle(), 1u);
  EXPECT_EQ(a.FindAttrParentBlk(2), upper);
  ASSERT_EQ(a.DeleteRecord(upper), 1);
  EXPECT_EQ(a.FindAttrParentBlk(2), nullptr);
  EXPECT_EQ(a.GetAttrBlk(pos, 1), newBlk);
  EXPECT_EQ(a.GetAttrBlk(pos, 0), nullptr);
  log.clear();

  // Definitions of a kind, with records outside the tree.
  EXPECT_EQ(a.AddSfigDef(2, "sym"), 0);
  EXPECT_EQ(a.AddSfigDef(2, "sym2"), 1);
  ZCdbGrp* body = new ZCdbGrp();
  ASSERT_EQ(a.AddSfigDefRecord(2, 0, body), 4u);
  ASSERT_EQ(a.AddRecord(StringElm("in"), body), 5u);
  ZCdbRecBase* refused = StringElm("none");
  EXPECT_EQ(a.AddSfigDefRecord(2, 2, refused), ZCDB_NO_HANDLE);
  delete refused;
  EXPECT_EQ(a.GetSfigDefCnt(2), 2);
  EXPECT_EQ(a.GetSfigDefCnt(3), 0);
  ZCdbSfigInfo info;
  ASSERT_EQ(a.GetSfigDefInfo(2, 0, &info), 1);
  EXPECT_EQ(info.name, "sym");
  ASSERT_EQ(info.buff.GetNum(), 1);
  EXPECT_EQ(info.buff.GetPtr(0), body);
  EXPECT_EQ(body->GetParent(), nullptr);
  EXPECT_EQ(a.GetSfigDefInfo(2, 2, &info), 0);
  EXPECT_EQ(a.GetSfigDefInfo(2, 0, nullptr), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"X add 0 4 src=none null", "Y add 0 4 src=none null",
                                           "X add 0 5 src=none null", "Y add 0 5 src=none null"}));

  // A deleted definition record leaves a null slot.
  ASSERT_EQ(a.DeleteRecord(body), 1);
  ASSERT_EQ(a.GetSfigDefInfo(2, 0, &info), 1);
  ASSERT_EQ(info.buff.GetNum(), 1);
  EXPECT_EQ(info.buff.GetPtr(0), nullptr);
  EXPECT_EQ(a.FindRecord(5), nullptr);
}

TEST_F(ZCdbNotify, LoadedRecordsKeepTheirHandlesAndMoveTheCounter) {
  ZCdbRecBase* loaded = StringElm("p");
  ASSERT_EQ(a.LoadRecord(loaded, 100), 1);
  EXPECT_EQ(a.FindRecord(100), loaded);
  EXPECT_EQ(a.GetNextHandle(), 101u);
  ZCdbRecBase* low = StringElm("q");
  ASSERT_EQ(a.LoadRecord(low, 7), 1);
  EXPECT_EQ(a.GetNextHandle(), 101u);
  EXPECT_TRUE(log.empty());

  ZCdbRecBase* clash = StringElm("r");
  EXPECT_EQ(a.LoadRecord(clash, 100), 0);
  EXPECT_EQ(a.LoadRecord(clash, ZCDB_NO_HANDLE), 0);
  ZCdbTbl* elsewhere = new ZCdbTbl();
  ASSERT_EQ(b.AddRecord(elsewhere), 1u);
  EXPECT_EQ(a.LoadRecord(elsewhere, 200), 0);  // attached to b
  EXPECT_EQ(a.AddRecord(clash), 101u);
  // The last handle below 0xFFFFFFFF is the last one given out.
  ZCdbRecBase* top = StringElm("s");
  ASSERT_EQ(a.LoadRecord(top, 0xFFFFFFFE), 1);
  ZCdbRecBase* more = StringElm("t");
  EXPECT_EQ(a.AddRecord(more), ZCDB_NO_HANDLE);
  delete more;
}

}  // namespace
