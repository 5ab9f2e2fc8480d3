// Attribute groups: the list they rest on, tree order, counters, targets, copying and teardown.
#include "model/attr_grp.h"

#include <gtest/gtest.h>
#include <pthread.h>

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

// Builds a chain of 20,000 groups and destroys it on a thread with a 512 KiB stack, where a
// recursive teardown (two frames per level) would overflow.
void* BuildAndDestroyDeepChain(void* levelsOut) {
  SxfZCdbAttrGrp* root = new SxfZCdbAttrGrp;
  SxfZCdbAttrGrp* g = root;
  int levels = 1;
  for (; levels < 20000; ++levels) g = g->AddAttrGrpData(nullptr);
  delete root;
  *static_cast<int*>(levelsOut) = levels;
  return nullptr;
}

TEST(AttrGrp, VeryDeepTreeIsDestroyedWithoutRecursion) {
  pthread_attr_t attr;
  ASSERT_EQ(pthread_attr_init(&attr), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attr, 512 * 1024), 0);
  pthread_t thread;
  int levels = 0;
  ASSERT_EQ(pthread_create(&thread, &attr, BuildAndDestroyDeepChain, &levels), 0);
  ASSERT_EQ(pthread_join(thread, nullptr), 0);
  pthread_attr_destroy(&attr);
  EXPECT_EQ(levels, 20000);
}

}  // namespace
