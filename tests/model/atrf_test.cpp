#include "model/atrf.h"

#include <gtest/gtest.h>

#include <string>

#include "attrdb/attrdb.h"
#include "host/host.h"
#include "model/attr_set_def.h"

namespace {

SxfZCdbATRU Attr(const char* name, const char* value) {
  SxfZCdbATRU a;
  a.name = name;
  a.value = value;
  return a;
}

struct Drawing {
  CEnvironObj env{"/drawings"};
  ZCdb cdb;
  SxfZCdbAttrDB* db;
  Drawing() : db(new SxfZCdbAttrDB(env)) { cdb.RegisterAttrDB("SXF", db); }
};

std::string Bytes(const CMemFile& file) {
  return std::string(reinterpret_cast<const char*>(file.Data()), static_cast<size_t>(file.GetLength()));
}

// A record of two references: "1" with two attributes and a sub-group, "Road" with one.
SxfZCdbATRF Sample() {
  SxfZCdbATRF atrf;
  SxfZCdbAttrSetRef* a = atrf.AddAttrSetRefData("1", 1);
  a->AddAttrData(Attr("w", "5"));
  a->AddTarget(33, "t");
  a->AddAttrGrpData(nullptr)->AddAttrData(Attr("deep", "d"));
  atrf.AddAttrSetRefData("Road", 1)->AddAttrData(Attr("x", "y"));
  return atrf;
}

TEST(AtrfTest, ReferenceListOperations) {
  SxfZCdbATRF atrf;
  int nAttr = 4, nTarget = 5, nAtrs = 6;
  EXPECT_EQ(atrf.GetAttrDataCnt(nAttr, nTarget, nAtrs), 0);
  EXPECT_EQ(nAttr + nTarget + nAtrs, 0);
  EXPECT_EQ(atrf.GetAttrSetRefData(0), nullptr);

  SxfZCdbAttrSetRef* five = atrf.AddAttrSetRefData("5", 1);
  EXPECT_EQ(atrf.AddAttrSetRefData("5", 1), five);
  EXPECT_EQ(atrf.GetAttrSetRefCnt(), 1);
  SxfZCdbAttrSetRef* dup = atrf.AddAttrSetRefData("5", 0);
  EXPECT_NE(dup, five);
  EXPECT_EQ(atrf.GetAttrSetRefCnt(), 2);
  EXPECT_EQ(atrf.FindAttrSetRefData("5"), five);
  EXPECT_EQ(dup->IsAttrSetRef(), 1);
  EXPECT_EQ(atrf.FindAttrSetRefData("6"), nullptr);

  SxfZCdbAttrSetRef src;
  src.SetRefId("9");
  src.AddAttrData(Attr("a", "b"));
  SxfZCdbAttrSetRef* added = atrf.AddAttrSetRefData(src);
  EXPECT_NE(added, &src);
  EXPECT_EQ(added->IsSame(src), 1);

  atrf.DelAttrSetRefData(0);
  EXPECT_EQ(atrf.GetAttrSetRefData(0), dup);
  atrf.DelAttrSetRefData(2);  // out of range
  EXPECT_EQ(atrf.GetAttrSetRefCnt(), 2);
  atrf.DelAttrSetRefData(-1);
  EXPECT_EQ(atrf.GetAttrSetRefCnt(), 2);

  // Counting always starts from zero: the same call twice gives the same counts.
  five = atrf.AddAttrSetRefData("7", 0);
  five->AddAttrData(Attr("c", "d"));
  five->AddAttrData(Attr("m", "$$$"));
  five->AddTarget(4, nullptr);
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(atrf.GetAttrDataCnt(nAttr, nTarget, nAtrs), 4);
    EXPECT_EQ(nAttr, 2);
    EXPECT_EQ(nTarget, 1);
    EXPECT_EQ(nAtrs, 1);
  }
  atrf.ClrAttrSetRefData();
  EXPECT_EQ(atrf.GetAttrSetRefCnt(), 0);
}

TEST(AtrfTest, AssignmentReusesReferenceObjects) {
  SxfZCdbATRF small;
  small.AddAttrSetRefData("only", 1)->AddAttrData(Attr("k", "v"));
  SxfZCdbATRF big = Sample();
  big.AddAttrSetRefData("third", 0);
  SxfZCdbAttrSetRef* firstBefore = big.GetAttrSetRefData(0);
  big = small;
  ASSERT_EQ(big.GetAttrSetRefCnt(), 1);
  EXPECT_EQ(big.GetAttrSetRefData(0), firstBefore);
  EXPECT_STREQ(firstBefore->GetRefId(), "only");
  EXPECT_EQ(firstBefore->GetAttrGrpCnt(), 0);
  EXPECT_EQ(big.IsSame(small), 1);

  // Growing appends new references; self-assignment changes nothing.
  SxfZCdbATRF grown = small;
  SxfZCdbAttrSetRef* kept = grown.GetAttrSetRefData(0);
  grown = Sample();
  EXPECT_EQ(grown.GetAttrSetRefData(0), kept);
  EXPECT_EQ(grown.IsSame(Sample()), 1);
  SxfZCdbATRF& alias = grown;
  grown = alias;
  EXPECT_EQ(grown.IsSame(Sample()), 1);

  // The copy constructor makes its own references.
  SxfZCdbATRF copy(grown);
  EXPECT_NE(copy.GetAttrSetRefData(0), grown.GetAttrSetRefData(0));
  EXPECT_EQ(copy.IsSame(grown), 1);
  grown.GetAttrSetRefData(1)->GetAttrData(0)->kind = 3;
  EXPECT_EQ(copy.IsSame(grown), 0);
}

TEST(AtrfTest, IsSameIsOrderSensitive) {
  SxfZCdbATRF a, b;
  a.AddAttrSetRefData("1", 0);
  a.AddAttrSetRefData("2", 0);
  b.AddAttrSetRefData("2", 0);
  b.AddAttrSetRefData("1", 0);
  EXPECT_EQ(a.IsSame(b), 0);
  b.DelAttrSetRefData(0);
  b.AddAttrSetRefData("2", 0);
  EXPECT_EQ(a.IsSame(b), 1);
  b.GetAttrSetRefData(1)->isAttrSetRef = 0;
  EXPECT_EQ(a.IsSame(b), 0);
}

TEST(AtrfTest, OldRecordRoundTripAndSetNames) {
  SxfZCdbATRF src = Sample();
  CMemFile file;
  ASSERT_EQ(src.Write(&file), 1);
  const std::string bytes = Bytes(file);
  EXPECT_EQ(bytes[0], 4);

  // Without definitions in the database, the name stays as stored.
  Drawing empty;
  SxfZCdbATRF back;
  file.SeekToBegin();
  ASSERT_EQ(back.Read(&file, empty.db), 1);
  EXPECT_EQ(back.IsSame(src), 1);

  // A RefId that names a known set becomes that set's id; digits are taken as they are.
  Drawing d;
  d.db->AddAttrSetDefData("A", "1", "x", 1);
  const SxfZCdbAttrSetDef* road = d.db->AddAttrSetDefData("Road", "1", "x", 1);
  ASSERT_STREQ(road->GetId(), "2");
  SxfZCdbATRF named;
  named.AddAttrSetRefData("stale", 0);
  file.SeekToBegin();
  ASSERT_EQ(named.Read(&file, d.db), 1);
  ASSERT_EQ(named.GetAttrSetRefCnt(), 2);
  EXPECT_STREQ(named.GetAttrSetRefData(0)->GetRefId(), "1");
  EXPECT_STREQ(named.GetAttrSetRefData(1)->GetRefId(), "2");

  // A version above 4 changes nothing; a count of 0 empties the record.
  std::string v5 = bytes;
  v5[0] = 5;
  CMemFile bad;
  bad.Write(v5.data(), static_cast<UINT>(v5.size()));
  bad.SeekToBegin();
  EXPECT_EQ(named.Read(&bad, d.db), 0);
  EXPECT_EQ(named.GetAttrSetRefCnt(), 2);
  CMemFile zero;
  zero.Write("\4\0\0\0\0", 5);
  zero.SeekToBegin();
  EXPECT_EQ(named.Read(&zero, d.db), 1);
  EXPECT_EQ(named.GetAttrSetRefCnt(), 0);

  // Truncated records fail; a count larger than the data fails before anything is built.
  for (size_t n = 0; n < bytes.size(); ++n) {
    CMemFile part;
    part.Write(bytes.data(), static_cast<UINT>(n));
    part.SeekToBegin();
    SxfZCdbATRF r;
    EXPECT_EQ(r.Read(&part, d.db), 0) << n;
  }
  CMemFile huge;
  huge.Write("\4\xff\xff\xff\x7f", 5);
  huge.SeekToBegin();
  EXPECT_EQ(named.Read(&huge, d.db), 0);
}

TEST(AtrfTest, OldVersionsHoldAttributeSetRecords) {
  // Version 2 record with one attribute set record of version 0: version, designer, group.
  std::string r("\2\1\0\0\0", 5);
  r += '\0';
  r += std::string("\3\0\0\0" "1.0\0", 8);
  r += std::string("\1\0\0\0" "X\0", 6);
  r += std::string("\2\4\0\0\0" "Road\0", 10);
  r += std::string(8, '\0');  // no attributes, no sub-groups

  Drawing d;
  for (int pass = 0; pass < 2; ++pass) {
    CMemFile file;
    file.Write(r.data(), static_cast<UINT>(r.size()));
    file.SeekToBegin();
    SxfZCdbATRF atrf;
    ASSERT_EQ(atrf.Read(&file, d.db), 1);
    ASSERT_EQ(atrf.GetAttrSetRefCnt(), 1);
    EXPECT_STREQ(atrf.GetAttrSetRefData(0)->GetRefId(), "1");
    EXPECT_EQ(atrf.GetAttrSetRefData(0)->IsAttrSetRef(), 1);
    // The second pass finds the definition the first one made.
    EXPECT_EQ(d.db->GetAttrSetDefCnt(nullptr), 1);
  }
  const SxfZCdbAttrSetDef* def = d.db->FindAttrSetDefData(1u);
  ASSERT_NE(def, nullptr);
  EXPECT_STREQ(def->GetName(), "Road");
  EXPECT_STREQ(def->GetVersion(), "1.0");
  EXPECT_STREQ(def->GetDesigner(), "X");
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
  EXPECT_EQ(back.GetAttrSetRefData(0)->IsAttrSetRef(), 1);
  EXPECT_EQ(back.GetAttrSetRefData(0)->GetAttrGrpData(0)->IsAttrSetRef(), 0);

  SxfZCdbATRF none;
  CMemFile emptyFile;
  {
    CArchive ar(&emptyFile, CArchive::store);
    ASSERT_EQ(none.NewWrite(ar), 1);
    ar.Close();
  }
  EXPECT_EQ(Bytes(emptyFile), std::string(4, '\0'));
  emptyFile.SeekToBegin();
  {
    CArchive ar(&emptyFile, CArchive::load);
    ASSERT_EQ(back.NewRead(ar, nullptr), 1);
  }
  EXPECT_EQ(back.GetAttrSetRefCnt(), 0);

  // A reference slot without an object cannot be written.
  SxfZCdbATRF holed;
  holed.info->Add(nullptr);
  CMemFile holedFile;
  CArchive ar(&holedFile, CArchive::store);
  EXPECT_EQ(holed.NewWrite(ar), 0);
  CMemFile oldFile;
  EXPECT_EQ(holed.Write(&oldFile), 0);
}

}  // namespace
