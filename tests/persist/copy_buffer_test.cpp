// The copy-buffer section: what one drawing puts into the copy buffer reads back into the
// buffer's own database, bound to its records but counting no targets.
#include <gtest/gtest.h>

#include "persist/old_section_writer.h"
#include "support/record_bytes.h"
#include "support/test_drawing.h"

namespace {

TEST(CopyBuffer, WrittenBufferReadsBackBoundButUncounted) {
  TestDrawing src;
  ZCdbTbl* r1 = src.Load(1);
  ZCdbTbl* r2 = src.Load(2);
  ZCdbTbl* gone = src.Load(3);
  src.adb->SetRecFigure(r1, SetFigure("1", {2}));
  src.adb->SetRecFigure(r2, SetFigure("1", {}, "2"));
  src.adb->SetRecFigure(gone, SetFigure("1", {}));
  gone->SetStatus(ZCDB_STATUS_REMOVED);
  ZCdbBuff buff;
  for (ZCdbRecBase* rec : std::vector<ZCdbRecBase*>{r1, r2, gone, r1, nullptr}) buff.Add(rec);
  CMemFile file;
  ASSERT_EQ(1, src.adb->Write(&file, &buff));

  TestDrawing clip;
  ZCdbBuff clipBuff;
  clipBuff.Add(clip.Load(1));
  clipBuff.Add(clip.Load(2));
  clipBuff.Add(clip.Load(3));
  clip.adb->SetRecFigure(clip.Load(9), SetFigure("1", {}));
  file.SeekToBegin();
  ASSERT_EQ(1, clip.adb->Read(&file, &clipBuff));
  EXPECT_EQ(file.GetLength(), file.GetPosition());
  EXPECT_EQ(nullptr, clip.Stored(9));  // the buffer's database starts empty
  EXPECT_EQ(nullptr, clip.Stored(3));
  for (DWORD h : {1u, 2u}) {
    ASSERT_NE(nullptr, clip.Stored(h));
    EXPECT_EQ(1, clip.Stored(h)->IsSame(*src.Stored(h), 0));
    EXPECT_EQ(clip.db.FindRecord(h), clip.adb->GetZCdbRec(h));
  }
  EXPECT_EQ(0, clip.adb->TargetedCnt(2));

  CMemFile empty;
  ZCdbBuff none;
  ASSERT_EQ(1, src.adb->Write(&empty, &none));
  EXPECT_EQ(Bytes(4, 0), Contents(empty));
}

TEST(CopyBuffer, OldFormKeepsTheFirstFigure) {
  SxfZCdbFigure first = SetFigure("1", {}, "first"), again = SetFigure("1", {}, "again");
  CMemFile file;
  ASSERT_EQ(1, WriteOldEntries(&file, {{1, &first, ""}, {1, &again, ""}}));
  TestDrawing clip;
  ZCdbBuff buff;
  buff.Add(clip.Load(1));
  file.SeekToBegin();
  ASSERT_EQ(1, clip.adb->ReadOldBuff(&file, &buff));
  EXPECT_EQ("first", Width(*clip.Stored(1)));
  EXPECT_EQ(clip.db.FindRecord(1), clip.adb->GetZCdbRec(1));
}

}  // namespace
