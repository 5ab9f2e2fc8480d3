#include "model/target.h"

#include <gtest/gtest.h>

#include <string>

#include "support/record_bytes.h"

namespace {

RecTargetData Rec(DWORD handle, const char* memo) {
  RecTargetData r;
  r.handle = handle;
  r.memo = memo;
  return r;
}

int ReadOld(const std::string& bytes, SxfZCdbTarget& target) {
  ReadFile in(bytes);
  return target.Read(&in.file);
}

// An old record "T", "2.0", "D" announcing count entries and holding written ones {10 + i, "m"}.
std::string OldRecord(BYTE version, int32_t count, int written) {
  Builder r;
  r.u8(version).fstr("T").fstr("2.0").fstr("D").i32(count);
  for (int i = 0; i < written; ++i) r.i32(10 + i).fstr("m");
  return r.str();
}

int ReadNew(const std::string& bytes, SxfZCdbTarget& target) {
  ReadFile in(bytes);
  CArchive ar(&in.file, CArchive::load);
  return target.NewRead(ar);
}

TEST(TargetTest, StorageGrowsByEightAndIsReleasedWhenEmpty) {
  SxfZCdbTarget t;
  for (int i = 0; i < 8; ++i) t.AddData(Rec(i, ""));
  EXPECT_EQ(t.GetCapacity(), 8);
  EXPECT_EQ(t.AddData(t.GetData(0)), 8);  // an entry of the full list itself
  EXPECT_EQ(t.GetCapacity(), 16);
  EXPECT_EQ(t.GetData(8).handle, 0u);

  RecTargetData out = Rec(55, "keep");
  EXPECT_EQ(t.GetData(9, &out), 0);
  EXPECT_EQ(out.handle, 55u);
  EXPECT_EQ(t.SetData(9, Rec(1, "")), 0);

  t.ClrData();
  EXPECT_EQ(t.GetCapacity(), 0);
}

TEST(TargetTest, OldRecord) {
  SxfZCdbTarget src;
  src.SetName("T");
  src.SetVersion("2.0");
  src.SetDesigner("D");
  src.AddData(Rec(10, "m"));
  src.AddData(Rec(11, "m"));
  CMemFile file;
  ASSERT_EQ(src.Write(&file), 1);
  const std::string expected = OldRecord(1, 2, 2);
  ASSERT_EQ(file.GetLength(), expected.size());
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.Data()), expected.size()), expected);

  SxfZCdbTarget back;
  back.AddData(Rec(99, "stale"));
  ASSERT_EQ(ReadOld(expected, back), 1);
  ASSERT_EQ(back.GetCnt(), 2);
  EXPECT_EQ(back.GetData(1).handle, 11u);
  EXPECT_EQ(ReadOld(OldRecord(0, 2, 2), back), 1);
  SxfZCdbTarget v2;
  EXPECT_EQ(ReadOld(OldRecord(2, 2, 2), v2), 0);
  EXPECT_STREQ(v2.GetName(), "");

  // The second entry ends early: the list is emptied, the texts read stay.
  std::string cut = expected;
  cut.resize(cut.size() - 3);
  SxfZCdbTarget partial;
  EXPECT_EQ(ReadOld(cut, partial), 0);
  EXPECT_EQ(partial.GetCnt(), 0);
  EXPECT_STREQ(partial.GetVersion(), "2.0");

  // Counts that cannot be right are refused before the list is sized.
  EXPECT_EQ(ReadOld(OldRecord(1, -1, 0), partial), 0);
  EXPECT_EQ(ReadOld(OldRecord(1, 0x7FFFFFFF, 1), partial), 0);
  EXPECT_EQ(partial.GetCnt(), 0);
}

TEST(TargetTest, NewRecord) {
  SxfZCdbTarget src;
  src.SetName("T");
  for (int i = 0; i < 20; ++i) src.AddData(Rec(1000 + i, i % 2 ? "odd" : ""));
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ASSERT_EQ(src.NewWrite(ar), 1);
    ar.Close();
  }
  const std::string bytes(reinterpret_cast<const char*>(file.Data()), static_cast<size_t>(file.GetLength()));
  SxfZCdbTarget back;
  back.AddData(Rec(1, "first"));  // reading appends
  ASSERT_EQ(ReadNew(bytes, back), 1);
  ASSERT_EQ(back.GetCnt(), 21);
  EXPECT_EQ(back.GetCapacity(), 24);
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(back.GetData(i + 1).handle, 1000u + i);
    EXPECT_STREQ(back.GetData(i + 1).memo, i % 2 ? "odd" : "");
  }
  EXPECT_STREQ(back.GetName(), "T");

  // No tag 1, an unknown tag, and an entry whose fields end after the handle.
  const std::string r = Builder()
                            .entry(7, Builder().raw("zz"))
                            .entry(100, Builder().entry(1, Builder().i32(42)).i32(0))
                            .i32(0)
                            .str();
  SxfZCdbTarget loose;
  ASSERT_EQ(ReadNew(r, loose), 1);
  EXPECT_STREQ(loose.GetName(), "");
  EXPECT_STREQ(loose.GetVersion(), "1.0");
  ASSERT_EQ(loose.GetCnt(), 1);
  EXPECT_EQ(loose.GetData(0).handle, 42u);

  // No section holds this record, so its cut-short forms are checked here.
  for (size_t n = 0; n + 1 < bytes.size(); n += 5) {
    SxfZCdbTarget part;
    EXPECT_THROW(ReadNew(bytes.substr(0, n), part), CArchiveException) << n;
  }
}

}  // namespace
