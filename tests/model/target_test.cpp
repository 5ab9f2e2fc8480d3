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
  // The second entry ends early: the list is emptied, the texts read stay.
  std::string cut = expected;
  cut.resize(cut.size() - 3);
  SxfZCdbTarget partial;
  EXPECT_EQ(ReadOld(cut, partial), 0);
  EXPECT_EQ(partial.GetCnt(), 0);
  EXPECT_STREQ(partial.GetVersion(), "2.0");
  // Counts that cannot be right: regressions/inputs/fuzz_target_def.
}

TEST(TargetTest, NewRecord) {
  SxfZCdbTarget src;
  src.SetName("T");
  for (int i = 0; i < 20; ++i) src.AddData(Rec(1000 + i, i % 2 ? "odd" : ""));
  const Bytes written = Store([&](CArchive& ar) { ASSERT_EQ(src.NewWrite(ar), 1); });
  const std::string bytes(written.begin(), written.end());

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

  // Entries join the list as they are read: an end of data in the third keeps the first two.
  const Bytes entry = Builder().entry(100, Builder().entry(1, Builder().i32(5).astr("m")).i32(0)).b;
  const std::string cut = Builder().raw(entry).raw(entry).i32(100).i32(40).i32(1).str();
  SxfZCdbTarget kept;
  EXPECT_THROW(ReadNew(cut, kept), CArchiveException);
  EXPECT_EQ(kept.GetCnt(), 2);
  EXPECT_THROW(kept.GetData(2), CInvalidArgException);
  EXPECT_THROW(kept.GetData(-1), CInvalidArgException);

  // No section holds this record, so its cut-short forms are checked here.
  for (size_t n = 0; n + 1 < bytes.size(); n += 5) {
    SxfZCdbTarget part;
    EXPECT_THROW(ReadNew(bytes.substr(0, n), part), CArchiveException) << n;
  }
}

}  // namespace
