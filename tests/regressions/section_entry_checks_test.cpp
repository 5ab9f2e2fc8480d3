// The checks of the section entries must catch what they exist for: a written section that does
// not read back or writes other bytes, and a flag bit left on an entry. A fuzz run of the section
// targets without findings would otherwise prove nothing.
#include <gtest/gtest.h>

#include <string>

#include "../../fuzz/section_entries.h"

namespace {

// The new-layout section of the entry drawing with a figure on record 1, as it stands after one
// load: loading gives the contour record a contour attribute from its elevation.
std::string WrittenSection() {
  EntryDrawing d(true);
  std::string problem;
  const std::string first = WriteSection([&](CFile* f) { return d.adb().Write(0, f, &d.db()); }, problem);
  EntryDrawing loaded;
  InputFile in(first);
  EXPECT_EQ(1, loaded.adb().Read(0, in.get(), &loaded.db()));
  const std::string bytes =
      WriteSection([&](CFile* f) { return loaded.adb().Write(0, f, &loaded.db()); }, problem);
  EXPECT_EQ("", problem);
  EXPECT_NE(first, bytes);
  return bytes;
}

TEST(SectionEntryChecksTest, RoundTripCatchesSectionsThatDoNotSurviveASave) {
  const std::string section = WrittenSection();
  ASSERT_GT(section.size(), 16u);
  EXPECT_EQ("", CheckSectionRoundTrip(section));
  EXPECT_NE("", CheckSectionRoundTrip(section.substr(0, section.size() - 4)));  // no end tag
  EXPECT_EQ("reading back stops before the end of what was written", CheckSectionRoundTrip(section + "junk"));
  // A block the reader skips is not written again.
  std::string withUnknownBlock = section;
  const std::string block("\x07\0\0\0\x01\0\0\0\x2a", 9);
  withUnknownBlock.insert(4, block);
  EXPECT_EQ("what was read back writes other bytes", CheckSectionRoundTrip(withUnknownBlock));
}

// Gives a test a way to leave a bit on an entry, as a reader that forgot its read mark would.
class MarkedDB : public EntryAttrDB {
 public:
  using EntryAttrDB::EntryAttrDB;
  void SetFlags(DWORD handle, DWORD flags) {
    ZCDB_SXFATTR_MAP* entry = nullptr;
    ASSERT_TRUE(m_attrMap.Lookup(handle, entry));
    entry->flags = flags;
  }
};

TEST(SectionEntryChecksTest, FlagCheckAllowsCountsAndMarksOnly) {
  CEnvironObj env("/fuzz");
  ZCdb db;
  MarkedDB* adb = new MarkedDB(env);
  db.RegisterAttrDB("SXF", adb);
  ZCdbTbl* rec = new ZCdbTbl;
  ASSERT_EQ(1, db.LoadRecord(rec, 1));
  SxfZCdbFigure fig;
  fig.SetName("f");
  adb->SetRecFigure(rec, fig);
  adb->SetFlags(1, SxfZCdbAttrDB::kTargetedMask | SxfZCdbAttrDB::kPending);
  EXPECT_TRUE(adb->FlagsClean());
  adb->SetFlags(1, 0x80000000);
  EXPECT_FALSE(adb->FlagsClean());
  adb->SetFlags(1, 0x40000);
  EXPECT_FALSE(adb->FlagsClean());
  adb->SetFlags(1, 0);
}

}  // namespace
