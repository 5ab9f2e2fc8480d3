// Records of attribute values in both formats: round trips, pinned layouts, legacy versions and
// blocks that hold more than this reader knows. Cut-short records are swept at section
// level (reliability/section_damage_test.cpp).
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/atrs.h"
#include "model/atru.h"
#include "model/old_format.h"
#include "model/value_records.h"
#include "support/record_bytes.h"
#include "support/sjis_text.h"

namespace {

SxfZCdbATRU SampleValue() {
  SxfZCdbATRU v;
  v.name = Sjis("幅員").c_str();
  v.type = "LEN";
  v.unit = "m";
  v.kind = -3;
  v.value = "12.50";
  v.zukeiName = Sjis("道路表").c_str();  // 表 has the trail byte 0x5C
  return v;
}

TEST(OldValueRecord, AtruLayoutAndRoundTrip) {
  SxfZCdbATRU v = SampleValue();
  CMemFile file;
  ASSERT_EQ(WriteATRU(&file, v), 1);
  Builder expected;
  expected.u8(4).u8(4).fstr(v.name.str()).fstr("LEN").fstr("m").i32(-3).fstr("12.50").fstr(v.zukeiName.str());
  EXPECT_EQ(Contents(file), expected.b);

  file.SeekToBegin();
  std::unique_ptr<SxfZCdbATRU> back(ReadATRU(&file));
  ASSERT_TRUE(back);
  EXPECT_TRUE(back->IsSame(v));
  EXPECT_EQ(old_format::BytesLeft(&file), 0u);

  SxfZCdbATRS def;
  def.name = "n";
  CMemFile atrsFile;
  ASSERT_EQ(WriteATRS(&atrsFile, def), 1);
  EXPECT_EQ(Contents(atrsFile), Builder().u8(4).fstr("n").fstr("").fstr("").b);
  // A text of length 0 (the empty type) or less (-5 for the unit) keeps what was there.
  ReadFile in(Builder().u8(4).fstr("n").i32(0).i32(-5).b);
  SxfZCdbATRS defBack;
  defBack.type = "old";
  defBack.unit = "kept";
  ASSERT_EQ(ReadATRS(&in.file, defBack), 1);
  EXPECT_EQ(defBack.name, "n");
  EXPECT_EQ(defBack.type, "old");
  EXPECT_EQ(defBack.unit, "kept");
  EXPECT_EQ(old_format::BytesLeft(&in.file), 0u);
}

TEST(OldValueRecord, EarlierVersionsRead) {
  Bytes atrs = Builder().u8(0).fstr("w").fstr("STR").fstr("").b;

  // Versions 0, 2 and 3: no figure name.
  for (int version : {0, 2, 3}) {
    Builder rec;
    rec.u8(version).raw(atrs).i32(8).fstr("v").raw("trailing");
    ReadFile in(rec.b);
    std::unique_ptr<SxfZCdbATRU> v(ReadATRU(&in.file));
    ASSERT_TRUE(v) << version;
    EXPECT_EQ(v->name, "w");
    EXPECT_EQ(v->kind, 8);
    EXPECT_EQ(v->value, "v");
    EXPECT_TRUE(v->zukeiName.IsEmpty());
    EXPECT_EQ(old_format::BytesLeft(&in.file), 8u) << "read past the record";
  }

  // Version 1: form 1 holds a typed raw number turned into text, form 2 a text; kind stays 10.
  struct Legacy {
    Bytes body;
    const char* text;
  };
  const Legacy cases[] = {
      {Builder().u8(1).raw(atrs).u8(1).u8(0xFB).b, "-5"},
      {Builder().u8(1).raw(atrs).u8(6).f64(2.5).b, "2.50000000"},
      {Builder().u8(2).raw(atrs).fstr("text").b, "text"},
  };
  for (const Legacy& c : cases) {
    ReadFile in(Builder().u8(1).raw(c.body).b);
    std::unique_ptr<SxfZCdbATRU> v(ReadATRU(&in.file));
    ASSERT_TRUE(v) << c.text;
    EXPECT_EQ(v->value, c.text);
    EXPECT_EQ(v->name, "w");
    EXPECT_EQ(v->kind, 10);
  }

  // Rejected: unknown form, an ATRS part of version 5.
  const Bytes rejected[] = {
      Builder().u8(1).u8(3).raw(atrs).fstr("x").b,
      Builder().u8(4).u8(5).fstr("w").fstr("").fstr("").i32(1).fstr("x").fstr("y").b,
  };
  for (const Bytes& rec : rejected) {
    ReadFile in(rec);
    EXPECT_EQ(ReadATRU(&in.file), nullptr);
  }
}

TEST(NewValueRecord, LayoutAndRoundTrip) {
  SxfZCdbATRS def;
  def.name = "a";
  Bytes atrs = Store([&](CArchive& ar) { EXPECT_EQ(NewWriteATRS(ar, def), 1); });
  EXPECT_EQ(atrs, Builder().entry(1, Builder().astr("a").astr("").astr("")).i32(0).b);

  SxfZCdbATRU v = SampleValue();
  Bytes atru = Store([&](CArchive& ar) { EXPECT_EQ(NewWriteATRU(ar, v), 1); });
  Builder fields;
  fields.i32(-3).astr("12.50").astr(v.zukeiName.str());
  Builder definition;
  definition.entry(1, Builder().astr(v.name.str()).astr("LEN").astr("m")).i32(0);
  EXPECT_EQ(atru, Builder().entry(1, fields).entry(100, definition).i32(0).b);

  ReadFile in(atru);
  CArchive ar(&in.file, CArchive::load);
  std::unique_ptr<SxfZCdbATRU> back(NewReadATRU(ar));
  ASSERT_TRUE(back);
  EXPECT_TRUE(back->IsSame(v));
  EXPECT_EQ(ar.BytesLeft(), 0u);
}

}  // namespace
