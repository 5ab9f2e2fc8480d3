// The order in which a drawing tells its attribute databases about new records: each record in
// pre-order, every database in turn, a copy paired with its source record and drawing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/host.h"

namespace {

// Writes every addition it is told of into a log shared by all recorders.
class RecordingAttrDB : public ZCdbAttrDB {
 public:
  RecordingAttrDB(const char* name, std::vector<std::string>* log, ZCdb* other)
      : ZCdbAttrDB(name), log_(log), other_(other) {}

  int OnAddData(int mode, ZCdbRecBase* rec, DWORD srcHandle, ZCdb* srcDb) override {
    std::string src = srcHandle == ZCDB_NO_HANDLE ? "none" : std::to_string(srcHandle);
    std::string db = srcDb == nullptr ? "null" : srcDb == other_ ? "B" : "A";
    log_->push_back(std::string(GetName()) + " add " + std::to_string(mode) + " " +
                    std::to_string(rec->GetHandle()) + " src=" + src + " " + db);
    return 1;
  }

 private:
  std::vector<std::string>* log_;
  ZCdb* other_;
};

ZCdbElm* StringElm(const char* text) {
  return new ZCdbElm(new ZString(text, ZPt(0, 0)));
}

std::vector<DWORD> ChildHandles(const ZCdbRecBase* table) {
  std::vector<DWORD> handles;
  for (ZCdbRecBase* c = table->GetFirstChild(); c; c = table->GetNextChild(c))
    handles.push_back(c->GetHandle());
  return handles;
}

TEST(ZCdbNotify, AddAndCopyNotifyEachRecordInPreOrderWithItsSource) {
  std::vector<std::string> log;
  ZCdb a, b;
  ASSERT_EQ(a.RegisterAttrDB("X", new RecordingAttrDB("X", &log, &b)), 1);
  ASSERT_EQ(a.RegisterAttrDB("Y", new RecordingAttrDB("Y", &log, &b)), 1);
  // A layer holding two string elements, built first and then added as one subtree.
  ZCdbTbl* layer = new ZCdbTbl();
  ASSERT_EQ(layer->AppendChild(StringElm("p")), 1);
  ASSERT_EQ(layer->AppendChild(StringElm("q")), 1);
  ASSERT_EQ(a.AddRecord(layer), 1u);
  EXPECT_EQ(ChildHandles(layer), (std::vector<DWORD>{2, 3}));
  EXPECT_EQ(log, (std::vector<std::string>{"X add 0 1 src=none null", "Y add 0 1 src=none null",
                                           "X add 0 2 src=none null", "Y add 0 2 src=none null",
                                           "X add 0 3 src=none null", "Y add 0 3 src=none null"}));

  log.clear();
  ZCdbRecBase* copy = a.CopyRecord(layer);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(ChildHandles(copy), (std::vector<DWORD>{5, 6}));
  EXPECT_EQ(log, (std::vector<std::string>{"X add 0 4 src=1 A", "Y add 0 4 src=1 A", "X add 0 5 src=2 A",
                                           "Y add 0 5 src=2 A", "X add 0 6 src=3 A", "Y add 0 6 src=3 A"}));

  // A copy from another drawing names that drawing; b's own records reach none of a's databases.
  log.clear();
  ZCdbRecBase* other = StringElm("r");
  ASSERT_EQ(b.AddRecord(other), 1u);
  EXPECT_TRUE(log.empty());
  ZCdbRecBase* pasted = a.CopyRecord(other, layer);
  ASSERT_NE(pasted, nullptr);
  EXPECT_EQ(pasted->GetParent(), layer);
  EXPECT_EQ(log, (std::vector<std::string>{"X add 0 7 src=1 B", "Y add 0 7 src=1 B"}));
}

}  // namespace
