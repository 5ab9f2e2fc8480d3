#include "model/figure.h"

#include <gtest/gtest.h>

#include <string>

#include "model/attr_set_def.h"
#include "support/record_bytes.h"
#include "support/test_drawing.h"

namespace {

SxfZCdbAttrSetRef* AddRef(SxfZCdbFigure& fig, const char* refId) {
  fig.SetAttrType(SXF_ATTR_ATRF);
  return fig.ATRF_GetAttr()->AddAttrSetRefData(refId, 0);
}

int ReadOld(const std::string& bytes, SxfZCdbFigure& fig, SxfZCdbAttrDB* db) {
  ReadFile in(bytes);
  return fig.Read(&in.file, db);
}

std::string WriteNew(SxfZCdbFigure& fig) {
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  EXPECT_EQ(fig.NewWrite(ar), 1);
  ar.Close();
  return std::string(reinterpret_cast<const char*>(file.Data()), static_cast<size_t>(file.GetLength()));
}

int ReadNew(const std::string& bytes, SxfZCdbFigure& fig) {
  ReadFile in(bytes);
  CArchive ar(&in.file, CArchive::load);
  return fig.NewRead(ar, nullptr);
}

// Reads a new record of a figure named "e" with its type byte set to type and writes it again;
// readType receives the type the figure was read with.
std::string RewriteWithType(std::string record, BYTE type, BYTE& readType) {
  record[10] = static_cast<char>(type);
  SxfZCdbFigure fig;
  EXPECT_EQ(ReadNew(record, fig), 1);
  readType = fig.GetAttrType();
  return WriteNew(fig);
}

// A set reference with a nested group and a target, plus contour and image.
SxfZCdbFigure RichFigure() {
  SxfZCdbFigure fig;
  fig.SetName(Sjis("道路中心線").c_str());
  SxfZCdbAttrSetRef* ref = AddRef(fig, "3");
  ref->AddAttrData(Attr("width", "5.50"));
  ref->AddTarget(42, "memo");
  ref->AddAttrGrpData(nullptr)->AddAttrData(Attr("inner", "x"));
  fig.SetContour("c", "12.5000", "m");
  fig.SetImageName("i", "/img/a.tif");
  return fig;
}

TEST(FigureTest, CopiesAreDeepAndLeaveTargetedCountAlone) {
  SxfZCdbFigure src = RichFigure();
  src.handle = 77;
  src.targetedCnt = 4;

  SxfZCdbFigure copied(src);
  EXPECT_EQ(copied.GetHandle(), 77u);
  EXPECT_EQ(copied.GetTargetedCnt(), 0);
  EXPECT_EQ(copied.IsSame(src, 0), 1);
  SxfZCdbFigure assigned;
  assigned.targetedCnt = 2;
  assigned = src;
  EXPECT_EQ(assigned.GetHandle(), 77u);
  EXPECT_EQ(assigned.GetTargetedCnt(), 2);
  src.contour->value = "99";  // the copy has its own slots
  EXPECT_STREQ(copied.contour->value, "12.5000");
}

// A copy's object follows its type: a figure read with type 0 beside an object copies without
// it, and a type without an object copies with an empty one of its class.
TEST(FigureTest, CopiesMakeTheObjectTheirTypeSays) {
  SxfZCdbFigure user;
  user.SetName("e");
  user.ATRU_SetAttr(Attr("n", "v"));
  std::string record = WriteNew(user);
  record[10] = SXF_ATTR_NONE;
  SxfZCdbFigure odd;
  ASSERT_EQ(ReadNew(record, odd), 1);
  ASSERT_EQ(odd.GetAttrType(), SXF_ATTR_NONE);
  ASSERT_NE(odd.ATRU_GetAttr(), nullptr);
  SxfZCdbFigure copy(odd);
  EXPECT_EQ(copy.ATRU_GetAttr(), nullptr);
  EXPECT_EQ(copy.IsSame(odd, 0), 0);

  SxfZCdbFigure bare;
  record = WriteNew(odd);  // type 0 is written without the object
  record[10] = SXF_ATTR_ATRF;
  ASSERT_EQ(ReadNew(record, bare), 1);
  ASSERT_EQ(bare.ATRF_GetAttr(), nullptr);
  SxfZCdbFigure filled = bare;
  ASSERT_NE(filled.ATRF_GetAttr(), nullptr);
  EXPECT_EQ(filled.ATRF_GetAttr()->GetAttrSetRefCnt(), 0);
}

TEST(FigureTest, TargetsLiveOnlyInSetReferences) {
  CDWordArrayX handles;
  handles.Add(1000);
  SxfZCdbFigure fig;
  SxfZCdbAttrSetRef* first = AddRef(fig, "1");
  SxfZCdbAttrSetRef* second = fig.ATRF_GetAttr()->AddAttrSetRefData("2", 0);
  first->AddTarget(7, "a");
  first->AddAttrData(Attr("x", "7"));
  first->AddTarget(7, "b");
  SxfZCdbAttrGrp* grand = second->AddAttrGrpData(nullptr)->AddAttrGrpData(nullptr);
  grand->AddTarget(9, "deep");
  grand->AddTarget(7, "c");

  ASSERT_EQ(fig.GetTarget(handles), 5);  // the element already there counts too
  EXPECT_EQ(handles[3], 9u);

  EXPECT_EQ(fig.ChangeTarget(123, 124), 1);
  EXPECT_EQ(fig.ChangeTarget(7, 8), 1);
  EXPECT_STREQ(first->GetAttrData(0)->value, "8");
  EXPECT_STREQ(first->GetAttrData(1)->value, "7");  // not a target
  EXPECT_STREQ(first->GetAttrData(2)->value, "8");
  EXPECT_STREQ(grand->GetAttrData(1)->value, "8");
  EXPECT_EQ(fig.ChangeTarget(8, 8), 1);  // must not loop
}

TEST(FigureTest, AtrsCollectionStopsAtTenThousand) {
  SxfZCdbFigure fig;
  SxfZCdbAttrSetRef* r1 = AddRef(fig, "1");
  SxfZCdbAttrSetRef* r2 = fig.ATRF_GetAttr()->AddAttrSetRefData("2", 0);
  EXPECT_EQ(fig.HasAtrfAtrs(), 0);

  // 10,100 markers, spread over sub-groups to keep each list short.
  SxfZCdbATRU marker = Attr("m", "$$$");
  for (int g = 0; g < 101; ++g) {
    SxfZCdbAttrGrp* sub = r1->AddAttrGrpData(nullptr);
    for (int i = 0; i < 100; ++i) sub->AddAttrData(marker);
  }
  r2->AddAttrData(marker);
  EXPECT_EQ(fig.HasAtrfAtrs(), 1);
  ATRS_BUFF all, two;
  EXPECT_EQ(fig.GetAtrfAtrs(all, 0), 10000);
  EXPECT_EQ(fig.GetAtrfAtrs(two, 2), 2);
}

// A figure coming back (undo, paste) revives a delete-marked definition it names.
TEST(FigureTest, CheckAttrSetDefRevivesTheDefinitionsItNames) {
  TestDrawing d;
  SxfZCdbAttrSetDef* def = d.adb->AddAttrSetDefData("A", "1", "x", 1);
  SxfZCdbFigure fig;
  AddRef(fig, "1");
  ASSERT_EQ(d.adb->RemoveAttrSetDef(1, 0), 1);
  ASSERT_EQ(def->IsDelete(), 1);
  fig.CheckAttrSetDef(d.adb);
  EXPECT_EQ(def->IsDelete(), 0);
}

// The round trip of old figure records is the seeds' (tests/regressions): here the versions
// around the one the writer makes.
TEST(FigureTest, OldRecordVersions) {
  SxfZCdbFigure src = RichFigure();
  CMemFile file;
  ASSERT_EQ(src.Write(&file), 1);
  std::string v3 = AsString(file);
  v3[0] = 3;
  SxfZCdbFigure rejected;
  EXPECT_EQ(ReadOld(v3, rejected, nullptr), 0);
  EXPECT_TRUE(rejected.name.IsEmpty());

  // Version 0 ends after the attribute.
  // type 2, then the ATRU record and its ATRS record, both of version 4.
  const std::string v0 =
      Builder().u8(0).fstr("fig").raw("\2\4\4").fstr("n").fstr("").fstr("").i32(10).fstr("v").fstr("z").str();
  SxfZCdbFigure old;
  ASSERT_EQ(ReadOld(v0, old, nullptr), 1);
  ASSERT_NE(old.ATRU_GetAttr(), nullptr);
  EXPECT_STREQ(old.ATRU_GetAttr()->zukeiName, "z");
}

// A version-1 figure record of type ATRF without set references of its own, carrying two target
// definitions, T1 {100} and T2 {100, 101}.
std::string Version1Record() {
  Builder r;
  r.u8(1).fstr("old").u8(SXF_ATTR_ATRF).u8(4).i32(0).i32(2);
  for (int i = 0; i < 2; ++i) {
    r.u8(1).fstr(i ? "T2" : "T1").fstr("1.0").fstr("d").i32(i + 1);
    for (int k = 0; k <= i; ++k) r.i32(100 + k).fstr("memo");
  }
  return r.str();
}

TEST(FigureTest, Version1TargetDefinitionsBecomeSetReferences) {
  TestDrawing d;
  d.adb->AddAttrSetDefData("T2", "1.0", "d", 1);  // known already: found, not added
  SxfZCdbFigure fig;
  ASSERT_EQ(ReadOld(Version1Record(), fig, d.adb), 1);
  EXPECT_EQ(d.adb->GetAttrSetDefCnt(nullptr), 2);
  SxfZCdbATRF* atrf = fig.ATRF_GetAttr();
  ASSERT_EQ(atrf->GetAttrSetRefCnt(), 2);
  EXPECT_STREQ(atrf->GetAttrSetRefData(0)->GetRefId(), "2");
  EXPECT_STREQ(atrf->GetAttrSetRefData(1)->GetRefId(), "1");
  EXPECT_EQ(atrf->GetAttrSetRefData(1)->IsTargetOnly(), 1);
  CDWordArrayX handles;
  ASSERT_EQ(fig.GetTarget(handles), 3);
  EXPECT_EQ(handles[2], 101u);
}

TEST(FigureTest, NewRecordRoundTripAndTolerances) {
  SxfZCdbFigure src = RichFigure();
  const std::string bytes = WriteNew(src);
  SxfZCdbFigure back;
  ASSERT_EQ(ReadNew(bytes, back), 1);
  EXPECT_EQ(back.IsSame(src, 0), 1);

  // tag 1 {archive string "e", type byte 0}, end
  const std::string plain("\1\0\0\0\3\0\0\0\1e\0\0\0\0\0", 15);
  SxfZCdbFigure named;
  named.SetName("e");
  EXPECT_EQ(WriteNew(named), plain);
  // A type byte without its block: type 2 and no object; writing it again stores type 0.
  BYTE readType = 0;
  EXPECT_EQ(RewriteWithType(plain, SXF_ATTR_ATRU, readType), plain);
  EXPECT_EQ(readType, SXF_ATTR_ATRU);
  // A type byte with another type's block: the figure keeps its type and the object is dropped
  // on writing, except that a user attribute serves a stub type as its stub.
  SxfZCdbFigure stub;
  stub.SetName("e");
  SxfZCdbATRS stubAttr;
  stubAttr.name = Sjis("表題_図面名1").c_str();
  stub.SetAttrType(SXF_ATTR_ATRS);
  stub.ATRS_SetAttr(stubAttr);
  EXPECT_EQ(RewriteWithType(WriteNew(stub), SXF_ATTR_ATRF, readType), plain);
  EXPECT_EQ(readType, SXF_ATTR_ATRF);
  SxfZCdbFigure user;
  user.SetName("e");
  SxfZCdbATRU userAttr;
  userAttr.name = Sjis("表題_図面名1").c_str();
  userAttr.value = "v";
  user.ATRU_SetAttr(userAttr);
  EXPECT_EQ(RewriteWithType(WriteNew(user), SXF_ATTR_ATRS, readType), WriteNew(stub));
  // An unknown tag between known ones is skipped.
  std::string withUnknown = bytes;
  withUnknown.insert(8 + static_cast<unsigned char>(bytes[4]), std::string("\x69\0\0\0\3\0\0\0xyz", 11));
  SxfZCdbFigure skipped;
  ASSERT_EQ(ReadNew(withUnknown, skipped), 1);
  EXPECT_EQ(skipped.IsSame(src, 0), 1);
}

}  // namespace
