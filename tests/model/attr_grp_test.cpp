// Attribute groups: the list they rest on, tree order, counters, targets, copying and teardown.
#include "model/attr_grp.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "host/dword_array_x.h"
#include "host/wildcard.h"
#include "model/tvector.h"
#include "support/sjis_text.h"
#include "support/test_figures.h"

namespace {

std::vector<std::string> Values(const SxfZCdbAttrGrp& g) {
  std::vector<std::string> out;
  for (int i = 0; i < g.GetAttrCnt(); ++i) out.push_back(g.GetAttrData(i)->value.str());
  return out;
}

std::vector<DWORD> Handles(const CDWordArrayX& a) {
  std::vector<DWORD> out;
  for (int i = 0; i < a.GetCount(); ++i) out.push_back(a[i]);
  return out;
}

TEST(TVector, GrowsInStepsOfEight) {
  TVector<SxfZCdbATRU> v;
  for (int i = 0; i < 8; ++i) EXPECT_EQ(v.Add(Attr("n", std::to_string(i).c_str())), i);
  EXPECT_EQ(v.GetCapacity(), 8);
  // Appending an element of the full list itself: the copy must be taken before the old storage
  // is released (the sanitizer build catches a use after free here).
  v.Add(v[0]);
  EXPECT_EQ(v.GetCapacity(), 16);
  EXPECT_EQ(v[8].value, "0");
}

// root: own x=root; sub A (y=a) with grandchild A1 (x=deep); sub B (x=b, y=b)
struct Tree {
  Tree() {
    root.AddAttrData(Attr("x", "root"));
    SxfZCdbAttrGrp* a = root.AddAttrGrpData(nullptr);
    a->SetName("match");
    a->AddAttrData(Attr("y", "a"));
    a->AddAttrGrpData(nullptr)->AddAttrData(Attr("x", "deep"));
    SxfZCdbAttrGrp* b = root.AddAttrGrpData(nullptr);
    b->AddAttrData(Attr("x", "b"));
    b->AddAttrData(Attr("z", "b"));
  }
  SxfZCdbAttrGrp root;
};

TEST(AttrGrp, SearchesRunInTreeOrder) {
  Tree t;
  EXPECT_EQ(t.root.FindAttrData("x")->value, "root");
  t.root.DelAttrData(0);
  // Depth first: the grandchild under the first sub-group wins over the second sub-group.
  EXPECT_EQ(t.root.FindAttrData("x")->value, "deep");
  EXPECT_EQ(t.root.FindAttrData("z")->value, "b");

  WildCardEx deep("de*");
  EXPECT_EQ(t.root.HasData(0, 1, deep), 1);
  EXPECT_EQ(t.root.HasData(1, 0, deep), 0);
  WildCardEx groupName("match");  // group names are not looked at
  EXPECT_EQ(t.root.HasData(1, 1, groupName), 0);
}

TEST(AttrGrp, CountersClassifyAndAccumulate) {
  const std::string target = Sjis("ターゲット");
  SxfZCdbAttrGrp g;
  g.AddAttrData(Attr("plain", "1"));
  g.AddAttrData(Attr(target.c_str(), "$$$"));  // the marker wins over the target name
  g.AddAttrData(Attr(target.c_str(), "-1"));   // no target: an ordinary attribute
  SxfZCdbAttrGrp* sub = g.AddAttrGrpData(nullptr);
  sub->AddTarget(5, "m");
  sub->AddAttrData(Attr("def", "$$$"));

  int nAttr = 0, nTarget = 0, nAtrs = 0;
  EXPECT_EQ(g.GetAttrDataCnt(nAttr, nTarget, nAtrs), 5);
  EXPECT_EQ(nAttr, 2);
  EXPECT_EQ(nTarget, 1);
  EXPECT_EQ(nAtrs, 2);
  // The counters are the caller's: a second pass adds to them.
  EXPECT_EQ(g.GetAttrDataCnt(nAttr, nTarget, nAtrs), 10);
  EXPECT_EQ(nAttr, 4);
  EXPECT_EQ(nTarget, 2);
  EXPECT_EQ(nAtrs, 4);
}

TEST(AttrGrp, AtrsBufferHandsOutCopiesAndRefusesNegativeIndexes) {
  SxfZCdbAttrGrp g;
  g.AddAttrData(Attr("a", "$$$"));
  ATRS_BUFF buf;
  ASSERT_EQ(g.FindAtrsData(buf, 0), 1);
  EXPECT_STREQ(buf.Get(0).name, "a");
  EXPECT_TRUE(buf.Get(1).name.IsEmpty());
  EXPECT_THROW(buf.Get(-1), CInvalidArgException);
}

TEST(AttrGrp, ClearTargetRemovesRunsAndReportsInTreeOrder) {
  SxfZCdbAttrGrp g;
  g.AddTarget(1, "");
  g.AddTarget(2, "");  // consecutive targets: both go
  g.AddAttrData(Attr("keep", "k"));
  g.AddAttrData(Attr(Sjis("ターゲット").c_str(), "-1"));  // no target: stays
  g.AddTarget(3, "");
  SxfZCdbAttrGrp* sub = g.AddAttrGrpData(nullptr);
  sub->AddTarget(4, "");
  sub->AddTarget(5, "");

  CDWordArrayX removed;
  g.ClearTarget(&removed);
  EXPECT_EQ(Handles(removed), (std::vector<DWORD>{1, 2, 3, 4, 5}));
  EXPECT_EQ(Values(g), (std::vector<std::string>{"k", "-1"}));
  EXPECT_EQ(sub->GetAttrCnt(), 0);
}

// A chain of levels groups: each holds an attribute "v<level>" and, below the last, a target of
// handle 7 and an ATRS marker.
SxfZCdbAttrGrp* Chain(int levels) {
  SxfZCdbAttrGrp* root = new SxfZCdbAttrGrp;
  SxfZCdbAttrGrp* g = root;
  for (int level = 1;; ++level) {
    g->AddAttrData(Attr("v", std::to_string(level).c_str()));
    if (level == levels) break;
    g = g->AddAttrGrpData(nullptr);
  }
  g->AddTarget(7, "deep");
  g->AddAttrData(Attr("marker", "$$$"));
  return root;
}

// Every operation on a tree 200,000 levels deep, on a thread with a 512 KiB stack, where one
// frame per level would overflow. Returns what went wrong, or "" when all went right.
void* UseVeryDeepTree(void* problemOut) {
  std::string& problem = *static_cast<std::string*>(problemOut);
  const int kLevels = 200000;
  SxfZCdbAttrGrp* root = Chain(kLevels);
  SxfZCdbAttrGrp copy(*root);
  SxfZCdbAttrGrp assigned;
  assigned = copy;
  if (!assigned.IsSame(*root)) problem += "copy differs; ";
  int nAttr = 0, nTarget = 0, nAtrs = 0;
  if (copy.GetAttrDataCnt(nAttr, nTarget, nAtrs) != kLevels + 2 || nTarget != 1 || nAtrs != 1)
    problem += "wrong counts; ";
  CString memo;
  SxfZCdbAttrGrp* holder = copy.FindTarget(7, memo);
  if (!holder || holder->GetAttrCnt() != 3 || memo != "deep") problem += "target not found; ";
  if (!copy.HasData(0, 1, WildCardEx("$$$"))) problem += "marker not matched; ";
  ATRS_BUFF markers;
  if (copy.FindAtrsData(markers, 5) != 1) problem += "marker not collected; ";
  CDWordArrayX targets;
  copy.GetTarget(targets);
  if (Handles(targets) != std::vector<DWORD>{7}) problem += "targets not listed; ";
  if (!copy.DelTarget(7) || copy.FindTarget(7, memo)) problem += "target not deleted; ";
  if (copy.IsSame(*root)) problem += "changed copy still the same; ";
  assigned.ClearTarget(&targets);
  if (targets.GetCount() != 2) problem += "target not cleared; ";
  // The last level differs only in its value: found by a search through the whole depth.
  if (!copy.FindAttrData("marker")) problem += "deepest attribute not found; ";
  assigned.ClrAll();
  delete root;
  return nullptr;
}

TEST(AttrGrp, TreesOfAnyDepthNeedNoCallStack) {
  pthread_attr_t attr;
  ASSERT_EQ(pthread_attr_init(&attr), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attr, 512 * 1024), 0);
  pthread_t thread;
  std::string problem;
  ASSERT_EQ(pthread_create(&thread, &attr, UseVeryDeepTree, &problem), 0);
  ASSERT_EQ(pthread_join(thread, nullptr), 0);
  pthread_attr_destroy(&attr);
  EXPECT_EQ(problem, "");
}

// Writers refuse a tree deeper than the readers accept (the group written is level 1), so
// nothing written fails to read back; the deepest accepted tree goes both ways.
TEST(AttrGrp, WritersStopWhereReadersStop) {
  for (int levels : {kMaxGroupDepth, kMaxGroupDepth + 1}) {
    std::unique_ptr<SxfZCdbAttrGrp> tree(Chain(levels));
    const bool fits = levels <= kMaxGroupDepth;
    CMemFile old;
    EXPECT_EQ(tree->Write(&old), fits ? 1 : 0) << levels;
    CMemFile tagged;
    {
      CArchive ar(&tagged, CArchive::store);
      EXPECT_EQ(tree->NewWrite(ar), fits ? 1 : 0) << levels;
      ar.Close();
    }
    if (!fits) continue;
    SxfZCdbAttrGrp fromOld, fromTagged;
    old.SeekToBegin();
    EXPECT_EQ(fromOld.Read(&old, 0), 1);
    EXPECT_TRUE(fromOld.IsSame(*tree));
    tagged.SeekToBegin();
    CArchive ar(&tagged, CArchive::load);
    EXPECT_EQ(fromTagged.NewRead(ar, 0), 1);
    EXPECT_TRUE(fromTagged.IsSame(*tree));
  }
}

}  // namespace
