#include "model/atrf.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "attrdb/attrdb.h"
#include "host/host.h"
#include "model/attr_set_def.h"
#include "support/test_figures.h"

namespace {

// Two references: "1" with two attributes (one a target) and a sub-group, "Road" with one.
SxfZCdbATRF Sample() {
  SxfZCdbATRF atrf;
  SxfZCdbAttrSetRef* a = atrf.AddAttrSetRefData("1", 1);
  a->AddAttrData(Attr("w", "5"));
  a->AddTarget(33, "t");
  a->AddAttrGrpData(nullptr)->AddAttrData(Attr("deep", "d"));
  atrf.AddAttrSetRefData("Road", 1)->AddAttrData(Attr("x", "$$$"));
  return atrf;
}

CMemFile* FileOf(const std::string& bytes) {
  CMemFile* file = new CMemFile;
  file->Write(bytes.data(), static_cast<UINT>(bytes.size()));
  file->SeekToBegin();
  return file;
}

TEST(AtrfTest, ReferenceListAndCounting) {
  // With 1, an existing reference of the id is handed back; with 0 a second one is added.
  SxfZCdbATRF atrf;
  SxfZCdbAttrSetRef* five = atrf.AddAttrSetRefData("5", 1);
  EXPECT_EQ(atrf.AddAttrSetRefData("5", 1), five);
  EXPECT_NE(atrf.AddAttrSetRefData("5", 0), five);
  EXPECT_EQ(atrf.GetAttrSetRefCnt(), 2);

  // Counting starts from zero on every call (a group's counters add up instead).
  SxfZCdbATRF sample = Sample();
  int nAttr = 9, nTarget = 9, nAtrs = 9;
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(sample.GetAttrDataCnt(nAttr, nTarget, nAtrs), 4);
    EXPECT_EQ(nAttr, 2);
    EXPECT_EQ(nTarget, 1);
    EXPECT_EQ(nAtrs, 1);
  }
}

TEST(AtrfTest, OldRecordRoundTripAndSetNames) {
  SxfZCdbATRF src = Sample();
  CMemFile file;
  ASSERT_EQ(src.Write(&file), 1);
  const std::string bytes(reinterpret_cast<const char*>(file.Data()), static_cast<size_t>(file.GetLength()));

  // A RefId that names a known set becomes that set's id; digits are taken as they are.
  CEnvironObj env("/d");
  SxfZCdbAttrDB db(env);
  SxfZCdbATRF back;
  file.SeekToBegin();
  ASSERT_EQ(back.Read(&file, &db), 1);
  EXPECT_EQ(back.IsSame(src), 1);  // no definitions: names stay
  db.AddAttrSetDefData("A", "1", "x", 1);
  db.AddAttrSetDefData("Road", "1", "x", 1);
  file.SeekToBegin();
  ASSERT_EQ(back.Read(&file, &db), 1);
  ASSERT_EQ(back.GetAttrSetRefCnt(), 2);
  EXPECT_STREQ(back.GetAttrSetRefData(0)->GetRefId(), "1");
  EXPECT_STREQ(back.GetAttrSetRefData(1)->GetRefId(), "2");

  // A version above 4 changes nothing; a count of 0 empties the record.
  std::string v5 = bytes;
  v5[0] = 5;
  std::unique_ptr<CMemFile> bad(FileOf(v5));
  EXPECT_EQ(back.Read(bad.get(), &db), 0);
  EXPECT_EQ(back.GetAttrSetRefCnt(), 2);
  std::unique_ptr<CMemFile> zero(FileOf(std::string("\4\0\0\0\0", 5)));
  EXPECT_EQ(back.Read(zero.get(), &db), 1);
  EXPECT_EQ(back.GetAttrSetRefCnt(), 0);

  std::unique_ptr<CMemFile> huge(FileOf(std::string("\4\xff\xff\xff\x7f", 5)));
  EXPECT_EQ(back.Read(huge.get(), &db), 0);

  // Versions 0 to 2 hold attribute set records: here version 0 of the set "Road", "1.0", "X".
  std::string old("\2\1\0\0\0\0", 6);
  old += std::string(
      "\3\0\0\0"
      "1.0\0",
      8);
  old += std::string(
      "\1\0\0\0"
      "X\0",
      6);
  old += std::string(
      "\2\4\0\0\0"
      "Road\0",
      10);
  old += std::string(8, '\0');
  for (int pass = 0; pass < 2; ++pass) {  // the second pass finds what the first one made
    std::unique_ptr<CMemFile> in(FileOf(old));
    ASSERT_EQ(back.Read(in.get(), &db), 1);
    EXPECT_STREQ(back.GetAttrSetRefData(0)->GetRefId(), "3");
    EXPECT_EQ(db.GetAttrSetDefCnt(nullptr), 3);
  }
  EXPECT_STREQ(db.FindAttrSetDefData(3u)->GetVersion(), "1.0");
}

TEST(AtrfTest, NewRecordRoundTripAndEmptyRecord) {
  SxfZCdbATRF src = Sample();
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ASSERT_EQ(src.NewWrite(ar), 1);
    ar.Close();
  }
  file.SeekToBegin();
  SxfZCdbATRF back;
  back.AddAttrSetRefData("stale", 0);
  {
    CArchive ar(&file, CArchive::load);
    ASSERT_EQ(back.NewRead(ar, nullptr), 1);
  }
  EXPECT_EQ(back.IsSame(src), 1);
  EXPECT_EQ(back.GetAttrSetRefData(0)->GetAttrGrpData(0)->IsAttrSetRef(), 0);

  SxfZCdbATRF none;
  CMemFile empty;
  {
    CArchive ar(&empty, CArchive::store);
    ASSERT_EQ(none.NewWrite(ar), 1);
    ar.Close();
  }
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(empty.Data()), 4), std::string(4, '\0'));
  EXPECT_EQ(empty.GetLength(), 4u);
  empty.SeekToBegin();
  {
    CArchive ar(&empty, CArchive::load);
    ASSERT_EQ(back.NewRead(ar, nullptr), 1);
  }
  EXPECT_EQ(back.GetAttrSetRefCnt(), 0);

  // A reference slot without an object cannot be written in either format.
  SxfZCdbATRF holed;
  holed.info->Add(nullptr);
  CMemFile holedFile;
  CArchive ar(&holedFile, CArchive::store);
  EXPECT_EQ(holed.NewWrite(ar), 0);
  CMemFile oldFile;
  EXPECT_EQ(holed.Write(&oldFile), 0);
}

}  // namespace
