// Group records in both formats: round trips, pinned layouts, old versions and reading order.
// Merge reading is checked with the old attribute set records (attr_set_test.cpp); cut-short
// records are swept at section level (reliability/section_damage_test.cpp).
#include <gtest/gtest.h>

#include <string>

#include "model/atrf.h"
#include "model/attr_grp.h"
#include "model/old_format.h"
#include "model/value_records.h"
#include "support/record_bytes.h"
#include "support/sjis_text.h"
#include "support/test_figures.h"

namespace {

// Old ATRU record of an attribute with only a name and a value (version 4).
Bytes OldAttr(const char* name, const char* value) {
  CMemFile file;
  EXPECT_EQ(WriteATRU(&file, Attr(name, value)), 1);
  return Contents(file);
}

// Root "道路" {attr kind 3, target 42} with S1 {attr, S11 {attr}} and an empty, unnamed S2.
SxfZCdbAttrGrp Sample() {
  SxfZCdbAttrGrp root;
  root.SetName(Sjis("道路").c_str());
  root.isAttrSetRef = 1;
  SxfZCdbATRU a = Attr(Sjis("幅員").c_str(), "5.50");
  a.kind = 3;
  a.unit = "m";
  root.AddAttrData(a);
  root.AddTarget(42, Sjis("橋").c_str());
  SxfZCdbAttrGrp* s1 = root.AddAttrGrpData(nullptr);
  s1->SetName("S1");
  s1->isAttrSetRef = 1;
  s1->AddAttrData(Attr("s1", "v"));
  SxfZCdbAttrGrp* s11 = s1->AddAttrGrpData(nullptr);
  s11->SetName("S11");
  s11->AddAttrData(Attr("s11", "w"));
  root.AddAttrGrpData(nullptr);
  return root;
}

// What a reader gives back: the record keeps no isAttrSetRef, so sub-groups come back plain.
void ClearSubGroupFlags(SxfZCdbAttrGrp& g) {
  for (int i = 0; i < g.GetAttrGrpCnt(); ++i) {
    g.GetAttrGrpData(i)->isAttrSetRef = 0;
    ClearSubGroupFlags(*g.GetAttrGrpData(i));
  }
}

int NewReadInto(SxfZCdbAttrGrp& g, const Bytes& bytes, int merge = 0) {
  ReadFile in(bytes);
  CArchive ar(&in.file, CArchive::load);
  int ok = g.NewRead(ar, merge);
  EXPECT_TRUE(!ok || ar.BytesLeft() == 0) << "a successful read must consume the record";
  return ok;
}

TEST(OldGroupRecord, RoundTripKeepsTreeButNotSetRefFlags) {
  SxfZCdbAttrGrp source = Sample();
  CMemFile file;
  ASSERT_EQ(source.Write(&file), 1);

  SxfZCdbAttrGrp expected = source;
  ClearSubGroupFlags(expected);
  for (int flag : {0, 1}) {
    file.SeekToBegin();
    SxfZCdbAttrGrp back;
    back.isAttrSetRef = flag;
    back.AddAttrData(Attr("stale", "x"));  // merge 0 replaces the content
    ASSERT_EQ(back.Read(&file, 0), 1);
    EXPECT_EQ(old_format::BytesLeft(&file), 0u);
    expected.isAttrSetRef = flag;
    EXPECT_EQ(back.IsSame(expected), 1) << flag;
  }

  CMemFile empty;
  ASSERT_EQ(SxfZCdbAttrGrp().Write(&empty), 1);
  EXPECT_EQ(Contents(empty), Builder().u8(2).i32(0).i32(0).i32(0).b);
}

TEST(OldGroupRecord, EarlierVersionsAndRejectedRecords) {
  // Version 0 and 1 end after the attributes: what follows is not read.
  for (int version : {0, 1}) {
    ReadFile in(Builder().u8(version).fstr("g").i32(1).raw(OldAttr("a", "1")).i32(77).b);
    SxfZCdbAttrGrp g;
    ASSERT_EQ(g.Read(&in.file, 0), 1) << version;
    EXPECT_STREQ(g.GetName(), "g");
    EXPECT_EQ(g.GetAttrCnt(), 1);
    EXPECT_EQ(g.GetAttrGrpCnt(), 0);
    EXPECT_EQ(old_format::BytesLeft(&in.file), 4u);
  }

  ReadFile newer(Builder().u8(3).fstr("g").i32(0).i32(0).b);
  SxfZCdbAttrGrp rejected;
  EXPECT_EQ(rejected.Read(&newer.file, 0), 0);
  // Negative counts announce no items.
  ReadFile none(Builder().u8(2).fstr("g").i32(-1).i32(-5).b);
  SxfZCdbAttrGrp empty;
  EXPECT_EQ(empty.Read(&none.file, 0), 1);
  EXPECT_EQ(empty.GetAttrCnt() + empty.GetAttrGrpCnt(), 0);

  // An empty name on file leaves the group's name alone.
  ReadFile unnamed(Builder().u8(2).fstr("").i32(0).i32(0).b);
  SxfZCdbAttrGrp g;
  g.SetName("Road");
  ASSERT_EQ(g.Read(&unnamed.file, 0), 1);
  EXPECT_STREQ(g.GetName(), "Road");
}

TEST(OldGroupRecord, CountsBeyondTheDataFailButKeepTheItemsRead) {
  // Attributes: one of 0x7FFFFFFF announced is there.
  ReadFile attrs(Builder().u8(2).fstr("g").i32(0x7FFFFFFF).raw(OldAttr("a", "1")).b);
  SxfZCdbAttrGrp g;
  EXPECT_EQ(g.Read(&attrs.file, 0), 0);
  ASSERT_EQ(g.GetAttrCnt(), 1);
  EXPECT_STREQ(g.GetAttrData(0)->value, "1");

  // Sub-groups: two of three; the third, cut short, does not stay.
  const Bytes sub = Builder().u8(1).fstr("s").i32(0).b;
  ReadFile subs(Builder().u8(2).fstr("g").i32(0).i32(3).raw(sub).raw(sub).u8(1).fstr("cut").b);
  SxfZCdbAttrGrp h;
  EXPECT_EQ(h.Read(&subs.file, 0), 0);
  EXPECT_EQ(h.GetAttrGrpCnt(), 2);

  // Set references of an attribute-file record: one of two.
  ReadFile refs(Builder().u8(4).i32(2).raw(sub).b);
  SxfZCdbATRF atrf;
  atrf.AddAttrSetRefData("old", 0);
  EXPECT_EQ(atrf.Read(&refs.file, nullptr), 0);
  ASSERT_EQ(atrf.GetAttrSetRefCnt(), 1);
  EXPECT_STREQ(atrf.GetAttrSetRefData(0)->GetRefId(), "s");
}

// The round trip of new group records is the seeds' (tests/regressions); here the layout, the
// reading order and merging.
TEST(NewGroupRecord, ReadsAnyOrderAndWritesCanonicalOrder) {
  auto attr = [](const char* name) {
    return Store([&](CArchive& ar) { NewWriteATRU(ar, Attr(name, "v")); });
  };
  Bytes sub = Builder().entry(1, Builder().astr("sub").b).i32(0).b;
  // Sub-group first, an unknown tag 7 between attributes, the name last.
  Bytes scrambled = Builder()
                        .entry(101, sub)
                        .entry(100, attr("a"))
                        .entry(7, Builder().i32(123).astr("junk").b)
                        .entry(100, attr("b"))
                        .entry(1, Builder().astr("G").b)
                        .i32(0)
                        .b;
  SxfZCdbAttrGrp g;
  g.isAttrSetRef = 1;  // the group's own flag stays; its sub-groups come back plain
  ASSERT_EQ(NewReadInto(g, scrambled), 1);

  SxfZCdbAttrGrp expected;
  expected.isAttrSetRef = 1;
  expected.SetName("G");
  expected.AddAttrData(Attr("a", "v"));
  expected.AddAttrData(Attr("b", "v"));
  expected.AddAttrGrpData(nullptr)->SetName("sub");
  EXPECT_EQ(g.IsSame(expected), 1);
  Bytes canonical = Builder()
                        .entry(1, Builder().astr("G").b)
                        .entry(100, attr("a"))
                        .entry(100, attr("b"))
                        .entry(101, sub)
                        .i32(0)
                        .b;
  EXPECT_EQ(Store([&](CArchive& ar) { g.NewWrite(ar); }), canonical);
  EXPECT_EQ(Store([](CArchive& ar) { EXPECT_EQ(SxfZCdbAttrGrp().NewWrite(ar), 1); }),
            Builder().entry(1, Builder().astr("").b).i32(0).b);

  // Reading adds to what the group holds; with merge the group keeps its name.
  g.SetName("K");
  ASSERT_EQ(NewReadInto(g, scrambled, 1), 1);
  EXPECT_EQ(g.GetAttrCnt(), 4);
  EXPECT_EQ(g.GetAttrGrpCnt(), 2);
  EXPECT_STREQ(g.GetName(), "K");
}

}  // namespace
