// Attribute groups: the list they rest on, tree order, counters, targets, copying and comparing.
#include "model/attr_grp.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <string>
#include <typeinfo>
#include <vector>

#include "host/dword_array_x.h"
#include "host/wildcard.h"
#include "model/tvector.h"
#include "platform/exceptions.h"
#include "support/sjis_text.h"

namespace {

SxfZCdbATRU Attr(const char* name, const char* value, LONG kind = 10) {
  SxfZCdbATRU a;
  a.name = name;
  a.value = value;
  a.kind = kind;
  return a;
}

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

TEST(TVector, GrowsInStepsOfEightAndReleasesWhenEmptied) {
  TVector<SxfZCdbATRU> v;
  for (int i = 0; i < 8; ++i) EXPECT_EQ(v.Add(Attr("n", std::to_string(i).c_str())), i);
  EXPECT_EQ(v.GetCapacity(), 8);
  // Appending an element of the full list itself: the copy must be taken before the old storage
  // is released (the sanitizer build catches a use after free here).
  v.Add(v[0]);
  EXPECT_EQ(v.GetCapacity(), 16);
  EXPECT_EQ(v[8].value, "0");

  v.RemoveAt(0);
  EXPECT_EQ(v.GetCount(), 8);
  EXPECT_EQ(v[0].value, "1");
  EXPECT_EQ(v[7].value, "0");
  v.RemoveAt(8);  // out of range: nothing
  v.RemoveAt(-1);
  EXPECT_EQ(v.GetCount(), 8);

  v.Truncate(3);
  EXPECT_EQ(v.GetCount(), 3);
  EXPECT_EQ(v.GetCapacity(), 16);
  v.Truncate(0);
  EXPECT_EQ(v.GetCapacity(), 0);
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
  // A double-byte character matches one '?'.
  WildCardEx one("?");
  WildCardEx two("??");
  SxfZCdbAttrGrp only;
  only.AddAttrData(Attr(Sjis("表").c_str(), "long value"));
  EXPECT_EQ(only.HasData(1, 0, one), 1);
  EXPECT_EQ(only.HasData(1, 0, two), 0);
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

TEST(AttrGrp, TargetsAddFindRemove) {
  SxfZCdbAttrGrp g;
  EXPECT_EQ(g.AddTarget(7, "first"), 0);
  EXPECT_EQ(g.AddTarget(7, "second"), 1);
  EXPECT_EQ(g.GetAttrData(0)->kind, 10);
  g.AddAttrData(Attr(Sjis("ターゲット").c_str(), "-1"));
  SxfZCdbAttrGrp* child = g.AddAttrGrpData(nullptr);
  child->AddAttrData(Attr("plain", "9"));
  SxfZCdbAttrGrp* grandchild = child->AddAttrGrpData(nullptr);
  grandchild->AddTarget(9, "deep memo");
  grandchild->AddTarget(7, "deep seven");

  CDWordArrayX handles;
  handles.Add(100);  // not emptied by GetTarget
  g.GetTarget(handles);
  EXPECT_EQ(Handles(handles), (std::vector<DWORD>{100, 7, 7, 9, 7}));

  CString memo("untouched");
  EXPECT_EQ(g.FindTarget(0xFFFFFFFF, memo), nullptr);
  EXPECT_EQ(memo, "untouched");
  EXPECT_EQ(g.FindTarget(9, memo), grandchild);
  EXPECT_EQ(memo, "deep memo");

  // Only the first target of the handle goes, at whatever depth it is.
  EXPECT_EQ(g.DelTarget(7), 1);
  EXPECT_EQ(g.GetAttrData(0)->zukeiName, "second");
  EXPECT_EQ(g.DelTarget(0xFFFFFFFF), 0);
  EXPECT_EQ(g.GetAttrCnt(), 2);
  EXPECT_EQ(g.DelTarget(7), 1);
  EXPECT_EQ(g.DelTarget(7), 1);
  EXPECT_EQ(grandchild->GetAttrCnt(), 1);
  EXPECT_EQ(g.DelTarget(7), 0);
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

TEST(AttrGrp, CollectsAtrsMarkersUpToLimit) {
  SxfZCdbAttrGrp g;
  g.AddAttrData(Attr("plain", "1"));
  SxfZCdbATRU marker = Attr("m1", "$$$");
  marker.type = "STR";
  marker.unit = "mm";
  g.AddAttrData(marker);
  SxfZCdbAttrGrp* sub = g.AddAttrGrpData(nullptr);
  sub->AddAttrGrpData(nullptr)->AddAttrData(Attr("m2", "$$$"));
  g.AddAttrGrpData(nullptr)->AddAttrData(Attr("m3", "$$$"));

  ATRS_BUFF one, none, held, all;
  EXPECT_EQ(g.FindAtrsData(one, 1), 1);
  EXPECT_EQ(one.Get(0).name, "m1");
  EXPECT_EQ(one.Get(0).unit, "mm");
  EXPECT_EQ(g.FindAtrsData(none, 0), 1);  // no check before the first addition
  held.Add(SxfZCdbATRS());
  EXPECT_EQ(g.FindAtrsData(held, 3), 3);  // entries already there count
  EXPECT_EQ(held.Get(2).name, "m2");
  EXPECT_EQ(g.FindAtrsData(all, 100), 3);
  EXPECT_EQ(all.Get(2).name, "m3");
  EXPECT_TRUE(all.Get(3).IsSame(SxfZCdbATRS()));
  EXPECT_THROW(all.Get(-1), CException);
}

// A group subclass standing in for a set reference.
struct RefLike : SxfZCdbAttrGrp {
  RefLike() { isAttrSetRef = 1; }
};

TEST(AttrGrp, CopiesAreDeepAndPlain) {
  Tree t;
  t.root.isAttrSetRef = 1;
  RefLike* ref = new RefLike;
  ref->SetName("ref");
  ref->AddAttrData(Attr("r", "1"));
  t.root.info->groups.Add(ref);

  SxfZCdbAttrGrp copy(t.root);
  EXPECT_EQ(copy.IsSame(t.root), 1);
  SxfZCdbAttrGrp* refCopy = copy.GetAttrGrpData(2);
  EXPECT_EQ(typeid(*refCopy), typeid(SxfZCdbAttrGrp));
  EXPECT_EQ(refCopy->IsAttrSetRef(), 1);

  // Assignment replaces everything, even from a group inside the target's own tree.
  SxfZCdbAttrGrp expected(*t.root.GetAttrGrpData(0));
  SxfZCdbAttrGrpInfo* info = t.root.info;
  t.root = *t.root.GetAttrGrpData(0);
  EXPECT_EQ(t.root.IsSame(expected), 1);
  EXPECT_EQ(t.root.IsAttrSetRef(), 0);
  EXPECT_EQ(t.root.info, info);
}

TEST(AttrGrp, IsSameComparesEverythingInOrder) {
  Tree a;
  Tree b;
  EXPECT_EQ(a.root.IsSame(b.root), 1);

  b.root.GetAttrGrpData(0)->GetAttrGrpData(0)->GetAttrData(0)->kind = 11;
  EXPECT_EQ(a.root.IsSame(b.root), 0);

  Tree c;
  c.root.GetAttrGrpData(1)->isAttrSetRef = 1;
  EXPECT_EQ(a.root.IsSame(c.root), 0);
  // Same attributes, another order.
  Tree e;
  SxfZCdbAttrGrp* b1 = e.root.GetAttrGrpData(1);
  SxfZCdbATRU first = *b1->GetAttrData(0);
  b1->DelAttrData(0);
  b1->AddAttrData(first);
  EXPECT_EQ(a.root.IsSame(e.root), 0);
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
