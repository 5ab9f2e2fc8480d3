// Every truncation of a small section fails the documented way: a result of 0 or, inside the
// archive form, the archive's end-of-file exception; never a crash, a leak (checked by the
// sanitizer build) or a half-bound drawing.
#include <gtest/gtest.h>

#include <functional>

#include "model/attr_set_def.h"
#include "model/old_format.h"
#include "persist/section_drawing.h"

namespace {

// A drawing of two records, one referencing the other, with a set definition and a title.
struct Small {
  HostDrawing d;
  ZCdbTbl* a = d.Load(1);
  ZCdbTbl* b = d.Load(2);
  Small() {
    d.adb->AddAttrSetDefData("Road", "1.0", "X", 1);
    d.adb->SetRecFigure(a, SetFigure("1", {2}));
    d.adb->SetRecFigure(b, SetFigure("1", {}, "2"));
    SxfTitleInfo title;
    title.drawingName = "Plan";
    d.adb->SetTitleInfo(title, nullptr);
  }
};

// Reads every proper prefix of bytes with read into a fresh drawing holding records 1 and 2.
void ReadEveryPrefix(const std::string& bytes, bool archiveForm,
                     const std::function<int(HostDrawing&, CFile*)>& read) {
  for (size_t length = 0; length < bytes.size(); ++length) {
    SCOPED_TRACE(length);
    HostDrawing d;
    d.Load(1);
    d.Load(2);
    CMemFile file;
    Put(file, bytes.substr(0, length));
    file.SeekToBegin();
    try {
      EXPECT_EQ(0, read(d, &file));
    } catch (CArchiveException& e) {
      EXPECT_TRUE(archiveForm);
      EXPECT_EQ(CArchiveException::endOfFile, e.m_cause);
    }
    EXPECT_EQ(0, d.Bound(1));
    EXPECT_EQ(0, d.adb->TargetedCnt(2));
  }
}

TEST(Truncation, DrawingSectionsOfBothLayouts) {
  MessageCapture quiet;
  Small src;
  CMemFile tagged;
  ASSERT_EQ(1, src.d.adb->Write(0, &tagged, &src.d.db));
  ReadEveryPrefix(Bytes(tagged), true, [](HostDrawing& d, CFile* f) { return d.adb->Read(0, f, &d.db); });

  CMemFile old;
  old_format::WriteInt32(&old, 0x2000);
  for (int i = 0; i < 8; ++i) old_format::WriteString(&old, "t");
  for (int i = 0; i < 3; ++i) old_format::WriteInt32(&old, 1);
  for (int i = 0; i < 2; ++i) old_format::WriteString(&old, "t");
  old_format::WriteInt32(&old, 1);
  src.d.adb->FindAttrSetDefData(1)->Write(&old);
  ASSERT_EQ(1, src.d.adb->WriteAttr(&old, src.a, 0, 0));
  ASSERT_EQ(1, src.d.adb->WriteAttr(&old, src.b, 0, 0));
  old_format::WriteInt32(&old, -1);
  ReadEveryPrefix(Bytes(old), false, [](HostDrawing& d, CFile* f) { return d.adb->Read(0, f, &d.db); });
}

TEST(Truncation, CopyBufferSectionsOfBothForms) {
  Small src;
  ZCdbBuff buff;
  buff.Add(src.a);
  buff.Add(src.b);
  CMemFile tagged;
  ASSERT_EQ(1, src.d.adb->Write(&tagged, &buff));
  ReadEveryPrefix(Bytes(tagged), true, [](HostDrawing& d, CFile* f) {
    ZCdbBuff target;
    target.Add(d.db.FindRecord(1));
    return d.adb->Read(f, &target);
  });

  CMemFile old;
  ASSERT_EQ(1, src.d.adb->WriteAttr(&old, src.a, 0, 0));
  ASSERT_EQ(1, src.d.adb->WriteAttr(&old, src.b, 0, 0));
  old_format::WriteInt32(&old, -1);
  ReadEveryPrefix(Bytes(old), false, [](HostDrawing& d, CFile* f) {
    ZCdbBuff target;
    target.Add(d.db.FindRecord(1));
    return d.adb->ReadOldBuff(f, &target);
  });
}

TEST(Truncation, EntryThatEndsInsideItsBlockLeavesNothingBehind) {
  HostDrawing d;
  d.Load(5);
  CMemFile file;
  const DWORD version = 0x3000;
  file.Write(&version, 4);
  {
    CArchive ar(&file, CArchive::store);
    SxfZCdbFigure fig = SetFigure("1", {});
    new_format::WriteBlock(ar, 102, [&](CArchive& entry) {
      new_format::WriteBlock(entry, 1, [](CArchive& block) { block << static_cast<DWORD>(5); });
      new_format::WriteBlock(entry, 100, [&](CArchive& block) { return fig.NewWrite(block); });
      // no end tag: the figure has been read when the block runs out
    });
    new_format::WriteEnd(ar);
    ar.Close();
  }
  file.SeekToBegin();
  try {
    d.adb->Read(0, &file, &d.db);
    ADD_FAILURE() << "an entry without its end tag was accepted";
  } catch (CArchiveException& e) {
    EXPECT_EQ(CArchiveException::endOfFile, e.m_cause);
  }
  EXPECT_EQ(nullptr, d.Stored(5));
}

}  // namespace
