// Drawings saved in the old section layouts, built here from the old record writers.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "model/attr_set_def.h"
#include "model/japanese_texts.h"
#include "model/old_format.h"
#include "support/record_bytes.h"
#include "support/test_drawing.h"

namespace {

using namespace old_format;

void PutTitle(CMemFile& file, const char* project, const char* projectAgain) {
  WriteString(&file, project);
  WriteString(&file, projectAgain);
  for (const char* text : {"Works", "A", "Plan", "3", "Type", "1:100"}) WriteString(&file, text);
  for (LONG n : {2004, 12, 24}) WriteInt32(&file, n);
  WriteString(&file, "Company");
  WriteString(&file, "Office");
}

// A section of version 0x1000 with the title of project and one entry per figure, in order.
std::string Section1000(const char* project, std::vector<std::pair<DWORD, SxfZCdbFigure>> entries) {
  CMemFile file;
  WriteInt32(&file, 0x1000);
  PutTitle(file, project, "");
  for (auto& [handle, fig] : entries) {
    WriteInt32(&file, static_cast<LONG>(handle));
    fig.Write(&file);
  }
  WriteInt32(&file, -1);
  return AsString(file);
}

std::string StoredWidth(const TestDrawing& d, DWORD handle) {
  return d.Stored(handle) != nullptr ? Width(*d.Stored(handle)) : "(none)";
}

TEST(OldLayout, VersionsWithAndWithoutSetDefinitionsLoad) {
  // 0x1000: title and figures only. Reading a drawing starts from an empty database.
  ReadFile v1(Section1000("First", {{11, SetFigure("1", {12})}, {12, SetFigure("1", {}, "2")}}));
  TestDrawing a;
  a.Load(11);
  a.Load(12);
  a.adb->AddAttrSetDefData("Stale", "1", "X", 1);
  ASSERT_EQ(1, a.adb->Read(0, &v1.file, &a.db));
  EXPECT_EQ(v1.file.GetLength(), v1.file.GetPosition());
  EXPECT_STREQ("First", a.adb->GetStoredTitleInfo().projectName);  // an empty second text keeps it
  EXPECT_STREQ("1:100", a.adb->GetStoredTitleInfo().scale);
  EXPECT_EQ(24, a.adb->GetStoredTitleInfo().day);
  EXPECT_EQ(0, a.adb->GetAttrSetDefCnt(nullptr));
  EXPECT_TRUE(a.See(11).visible);
  EXPECT_EQ(1, a.adb->TargetedCnt(12));
  EXPECT_EQ("2", StoredWidth(a, 12));

  // 0x2000 adds set definitions; its figure entries come from the old entry writer, which
  // follows a record with its attribute parent block.
  CMemFile v2;
  WriteInt32(&v2, 0x2000);
  PutTitle(v2, "First", "Second");
  WriteInt32(&v2, 2);
  for (const char* id : {"4", "7"}) {
    SxfZCdbAttrSetDef def;
    def.name = CString("Set") + id;
    def.version = "1.0";
    def.id = id;
    def.Write(&v2);
  }
  ZCdbBlk* block = a.db.AddAttrParentBlk(11);
  a.adb->SetRecFigure(block, SetFigure("7", {}, "blk"));
  ASSERT_EQ(1, a.adb->WriteAttr(&v2, a.db.FindRecord(11), 0, 0));
  WriteInt32(&v2, -1);

  TestDrawing b;
  b.Load(11);
  b.Load(12);
  ASSERT_EQ(block->GetHandle(), b.db.AddAttrParentBlk(11)->GetHandle());
  v2.SeekToBegin();
  ASSERT_EQ(1, b.adb->Read(0, &v2, &b.db));
  EXPECT_STREQ("Second", b.adb->GetStoredTitleInfo().projectName);
  ASSERT_NE(nullptr, b.adb->FindAttrSetDefData(7));
  EXPECT_STREQ("Set7", b.adb->FindAttrSetDefData(7)->name);
  EXPECT_EQ("blk", StoredWidth(b, block->GetHandle()));
  EXPECT_TRUE(b.See(block).visible);
  EXPECT_EQ(1, b.adb->TargetedCnt(12));
  EXPECT_EQ(nullptr, b.Stored(12));  // not written: WriteAttr started at record 11
}

TEST(OldLayout, RejectedFiguresWarnOnceAndTheFirstFigureStays) {
  const std::string warning = std::string(kJpWarningLine1) + "\n" + kJpWarningLine2;
  MessageCapture capture;
  ReadFile file(Section1000("P", {{5, SetFigure("1", {}, "first")},
                                  {5, SetFigure("1", {}, "second")},
                                  {6, SetFigure("1", {}, "third")},
                                  {6, SetFigure("1", {}, "fourth")}}));
  TestDrawing a;
  a.Load(5);
  a.Load(6);
  ASSERT_EQ(1, a.adb->Read(0, &file.file, &a.db));
  EXPECT_EQ("first", StoredWidth(a, 5));
  EXPECT_EQ("third", StoredWidth(a, 6));
  ASSERT_EQ(1u, MessageCapture::Shown().size());
  EXPECT_EQ(warning, MessageCapture::Shown()[0].text);
  EXPECT_EQ(0x30u, MessageCapture::Shown()[0].type);
  EXPECT_EQ(0u, MessageCapture::Shown()[0].helpId);

  // A temporary read does not clear: a handle the database already holds rejects the file's
  // figure as well.
  MessageCapture::Shown().clear();
  ReadFile temporary(Section1000("P", {{6, SetFigure("1", {}, "fifth")}}));
  ASSERT_EQ(1, a.adb->Read(1, &temporary.file, &a.db));
  EXPECT_EQ("third", StoredWidth(a, 6));
  EXPECT_EQ(1u, MessageCapture::Shown().size());
}

}  // namespace
