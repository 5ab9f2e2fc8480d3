#include "model/figure.h"

#include <gtest/gtest.h>

#include <string>

#include "attrdb/attrdb.h"
#include "host/host.h"
#include "model/attr_set_def.h"
#include "support/record_bytes.h"
#include "support/sjis_text.h"
#include "support/test_figures.h"

namespace {

SxfZCdbAttrSetRef* AddRef(SxfZCdbFigure& fig, const char* refId) {
  fig.SetAttrType(SXF_ATTR_ATRF);
  return fig.ATRF_GetAttr()->AddAttrSetRefData(refId, 0);
}

// A drawing with an "SXF" attribute database registered on it.
struct Drawing {
  CEnvironObj env{"/drawings"};
  ZCdb cdb;
  SxfZCdbAttrDB* db;
  Drawing() : db(new SxfZCdbAttrDB(env)) { cdb.RegisterAttrDB("SXF", db); }
};

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

TEST(FigureTest, TypedSettersAnswerOnlyForTheClassHeld) {
  SxfZCdbFigure fig;
  fig.SetAttrType(SXF_ATTR_ATRS);
  EXPECT_EQ(fig.ATRU_GetAttr(), nullptr);
  fig.ATRU_SetAttr(Attr("b", "2"));  // refused on a stub
  EXPECT_EQ(fig.GetAttrType(), SXF_ATTR_ATRS);
  EXPECT_TRUE(fig.ATRS_GetAttr()->name.IsEmpty());
  fig.SetAttrType(7);  // an unknown class holds no object
  EXPECT_EQ(fig.GetAttrType(), 7);
  EXPECT_TRUE(fig.attr.IsNull());
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

  copied.Clear(0);
  EXPECT_EQ(copied.GetHandle(), 77u);
  EXPECT_STREQ(copied.GetName(), Sjis("道路中心線").c_str());
  EXPECT_EQ(copied.GetAttrType(), SXF_ATTR_NONE);
  EXPECT_EQ(copied.contour, nullptr);
  copied.Clear(1);
  EXPECT_EQ(copied.GetHandle(), 0xFFFFFFFFu);

  // A type without an object (as some records leave it) copies as such and stays equal.
  SxfZCdbFigure hollow;
  hollow.attrType = SXF_ATTR_ATRF;
  SxfZCdbFigure hollowCopy(hollow);
  EXPECT_TRUE(hollowCopy.attr.IsNull());
  EXPECT_EQ(hollowCopy.IsSame(hollow, 0), 1);
}

TEST(FigureTest, IsSameComparesContentsNotHandle) {
  SxfZCdbFigure a = RichFigure();
  SxfZCdbFigure b = RichFigure();
  b.handle = 2;
  EXPECT_EQ(a.IsSame(b, 1), 1);
  b.targetedCnt = 1;
  EXPECT_EQ(a.IsSame(b, 1), 0);
  EXPECT_EQ(a.IsSame(b, 0), 1);
  b.RemoveContour();
  EXPECT_EQ(a.IsSame(b, 0), 0);
  b.SetContour("c", "12.5000", "m");
  b.image->kind = 11;
  EXPECT_EQ(a.IsSame(b, 0), 0);
}

TEST(FigureTest, TargetsLiveOnlyInSetReferences) {
  CDWordArrayX handles;
  handles.Add(1000);
  SxfZCdbFigure user;
  SxfZCdbATRU target;
  target.SetTarget(5, "m");
  user.ATRU_SetAttr(target);
  EXPECT_EQ(user.GetTarget(handles), 0);
  EXPECT_EQ(handles.GetCount(), 1);
  EXPECT_EQ(user.ChangeTarget(5, 6), 1);

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

TEST(FigureTest, FindAttrDataAndAtrsCollection) {
  SxfZCdbFigure fig;
  SxfZCdbAttrSetRef* r1 = AddRef(fig, "1");
  SxfZCdbAttrSetRef* r2 = fig.ATRF_GetAttr()->AddAttrSetRefData("2", 0);
  r1->AddAttrGrpData(nullptr)->AddAttrData(Attr("n", "sub"));
  r2->AddAttrData(Attr("n", "second"));
  ASSERT_NE(fig.FindAttrData("n"), nullptr);
  EXPECT_STREQ(fig.FindAttrData("n")->value, "sub");
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

TEST(FigureTest, HasDataSearchesSlotsAttributesAndStubRecordText) {
  WildCardEx road(Sjis("道路*").c_str());
  SxfZCdbFigure fig;
  fig.SetContour(Sjis("道路").c_str(), Sjis("道路1").c_str(), "m");  // the zukei name is not searched
  EXPECT_EQ(fig.HasData(1, 0, road, nullptr), 0);
  EXPECT_EQ(fig.HasData(0, 1, road, nullptr), 1);
  EXPECT_EQ(fig.HasData(0, 0, road, nullptr), 0);
  fig.RemoveContour();
  AddRef(fig, "1")->AddAttrGrpData(nullptr)->AddAttrData(Attr(Sjis("道路幅").c_str(), "3"));
  EXPECT_EQ(fig.HasData(1, 0, road, nullptr), 1);
  EXPECT_EQ(fig.HasData(0, 1, road, nullptr), 0);

  // A stub's value is the text of its record: a string or text element, or one below a table.
  Drawing d;
  ZCdbElm* str = new ZCdbElm(new ZString(Sjis("道路A").c_str(), ZPt(0, 0)));
  ZCdbElm* text = new ZCdbElm(new ZText(Sjis("道路B").c_str()));
  ZCdbTbl* layer = new ZCdbTbl;
  ZCdbTbl* inner = new ZCdbTbl;
  d.cdb.AddRecord(str);
  d.cdb.AddRecord(text);
  d.cdb.AddRecord(layer);
  d.cdb.AddRecord(inner, layer);
  d.cdb.AddRecord(new ZCdbElm(new ZLine(ZPt(0, 0), ZPt(1, 1))), layer);
  d.cdb.AddRecord(new ZCdbElm(new ZString(Sjis("道路X").c_str(), ZPt(0, 0))), inner);

  SxfZCdbFigure stub;
  stub.SetAttrType(SXF_ATTR_ATRS);
  EXPECT_EQ(stub.HasData(0, 1, road, str), 1);
  EXPECT_EQ(stub.HasData(0, 1, road, text), 1);
  EXPECT_EQ(stub.HasData(1, 0, road, str), 0);
  EXPECT_EQ(stub.HasData(0, 1, road, layer), 1);
  d.cdb.MarkDeleted(inner);
  EXPECT_EQ(stub.HasData(0, 1, road, layer), 0);
}

TEST(FigureTest, ToATRFMovesTheAttributeIntoTheDefaultSet) {
  Drawing d;
  ZCdbElm* str = new ZCdbElm(new ZString(Sjis("県道").c_str(), ZPt(0, 0)));
  ZCdbElm* text = new ZCdbElm(new ZText("text"));
  d.cdb.AddRecord(str);
  d.cdb.AddRecord(text);

  SxfZCdbFigure atrf;
  AddRef(atrf, "9");
  EXPECT_EQ(atrf.ToATRF(d.db), 1);
  EXPECT_EQ(d.db->GetAttrSetDefCnt(nullptr), 0);

  SxfZCdbFigure stub;
  stub.SetAttrType(SXF_ATTR_ATRS);
  SxfZCdbATRS s;
  s.name = "road";
  stub.ATRS_SetAttr(s);
  ASSERT_EQ(d.db->SetRecFigure(str, stub), str->GetHandle());
  ASSERT_EQ(d.db->SetRecFigure(text, stub), text->GetHandle());
  stub.handle = str->GetHandle();
  EXPECT_EQ(stub.ToATRF(d.db), 1);
  ASSERT_EQ(stub.GetAttrType(), SXF_ATTR_ATRF);
  const SxfZCdbAttrSetDef* def =
      d.db->FindAttrSetDefData(SxfZCdbAttrDB::GetDefAttrSetName(), SxfZCdbAttrDB::GetDefAttrVersion(),
                               SxfZCdbAttrDB::GetDefAttrDesigned());
  ASSERT_NE(def, nullptr);
  const SxfZCdbAttrSetRef* ref = stub.ATRF_GetAttr()->GetAttrSetRefData(0);
  EXPECT_STREQ(ref->GetRefId(), def->GetId());
  EXPECT_STREQ(ref->GetAttrData(0)->name, "road");
  EXPECT_STREQ(ref->GetAttrData(0)->value, Sjis("県道").c_str());

  SxfZCdbFigure fromText;
  fromText.SetAttrType(SXF_ATTR_ATRS);
  fromText.handle = text->GetHandle();
  fromText.ToATRF(d.db);
  EXPECT_TRUE(fromText.ATRF_GetAttr()->GetAttrSetRefData(0)->GetAttrData(0)->value.IsEmpty());

  SxfZCdbFigure user;
  user.ATRU_SetAttr(Attr("u", "5"));
  EXPECT_EQ(user.ToATRF(nullptr), 0);
  EXPECT_EQ(user.GetAttrType(), SXF_ATTR_ATRU);
  user.ToATRF(d.db);
  EXPECT_TRUE(user.ATRF_GetAttr()->GetAttrSetRefData(0)->GetAttrData(0)->IsSame(Attr("u", "5")));
  EXPECT_EQ(d.db->GetAttrSetDefCnt(nullptr), 1);
}

// A figure coming back (undo, paste) revives a delete-marked definition it names.
TEST(FigureTest, CheckAttrSetDefRevivesTheDefinitionsItNames) {
  Drawing d;
  SxfZCdbAttrSetDef* def = d.db->AddAttrSetDefData("A", "1", "x", 1);
  SxfZCdbFigure fig;
  AddRef(fig, "1");
  ASSERT_EQ(d.db->RemoveAttrSetDef(1, 0), 1);
  ASSERT_EQ(def->IsDelete(), 1);
  fig.CheckAttrSetDef(d.db);
  EXPECT_EQ(def->IsDelete(), 0);
}

TEST(FigureTest, OldRecordRoundTripAndVersions) {
  SxfZCdbFigure src = RichFigure();
  CMemFile file;
  ASSERT_EQ(src.Write(&file), 1);
  file.SeekToBegin();
  SxfZCdbFigure* back = ZCdbAttrFigureReadVer3(&file, nullptr);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->IsSame(src, 0), 1);
  delete back;
  std::string v3(reinterpret_cast<const char*>(file.Data()), static_cast<size_t>(file.GetLength()));
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

  // A type without an object is written as type 0.
  SxfZCdbFigure hollow;
  hollow.attrType = SXF_ATTR_ATRU;
  CMemFile out;
  ASSERT_EQ(hollow.Write(&out), 1);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(out.Data()), 14),
            std::string("\2\0\0\0\0\0\0\0\0\0\0\0\0\0", 14));
}

// A version-1 figure record carrying two target definitions, T1 {100} and T2 {100, 101}.
std::string Version1Record(BYTE type) {
  Builder r;
  r.u8(1).fstr("old").u8(type);
  if (type == SXF_ATTR_ATRF) {
    r.u8(4).i32(0);  // no set references of its own
  } else {
    r.raw("\4\4").fstr("u").fstr("").fstr("").i32(10).fstr("1").fstr("");
  }
  r.i32(2);
  for (int i = 0; i < 2; ++i) {
    r.u8(1).fstr(i ? "T2" : "T1").fstr("1.0").fstr("d").i32(i + 1);
    for (int k = 0; k <= i; ++k) r.i32(100 + k).fstr("memo");
  }
  return r.str();
}

TEST(FigureTest, Version1TargetDefinitionsBecomeSetReferences) {
  Drawing d;
  d.db->AddAttrSetDefData("T2", "1.0", "d", 1);  // known already: found, not added
  SxfZCdbFigure fig;
  ASSERT_EQ(ReadOld(Version1Record(SXF_ATTR_ATRF), fig, d.db), 1);
  EXPECT_EQ(d.db->GetAttrSetDefCnt(nullptr), 2);
  SxfZCdbATRF* atrf = fig.ATRF_GetAttr();
  ASSERT_EQ(atrf->GetAttrSetRefCnt(), 2);
  EXPECT_STREQ(atrf->GetAttrSetRefData(0)->GetRefId(), "2");
  EXPECT_STREQ(atrf->GetAttrSetRefData(1)->GetRefId(), "1");
  EXPECT_EQ(atrf->GetAttrSetRefData(1)->IsTargetOnly(), 1);
  CDWordArrayX handles;
  ASSERT_EQ(fig.GetTarget(handles), 3);
  EXPECT_EQ(handles[2], 101u);

  Drawing other;
  SxfZCdbFigure user;
  ASSERT_EQ(ReadOld(Version1Record(SXF_ATTR_ATRU), user, other.db), 1);
  EXPECT_EQ(other.db->GetAttrSetDefCnt(nullptr), 2);
  EXPECT_STREQ(user.ATRU_GetAttr()->name, "u");
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
  std::string typeOnly = plain;
  typeOnly[10] = 2;
  SxfZCdbFigure hollow;
  ASSERT_EQ(ReadNew(typeOnly, hollow), 1);
  EXPECT_EQ(hollow.GetAttrType(), SXF_ATTR_ATRU);
  EXPECT_EQ(WriteNew(hollow), plain);
  // A tag-1 block that ends after the name leaves the type at 0.
  SxfZCdbFigure partial;
  ASSERT_EQ(ReadNew(std::string("\1\0\0\0\2\0\0\0\1e\0\0\0\0", 14), partial), 1);
  EXPECT_STREQ(partial.GetName(), "e");
  EXPECT_EQ(partial.GetAttrType(), SXF_ATTR_NONE);

  // An unknown tag between known ones is skipped.
  std::string withUnknown = bytes;
  withUnknown.insert(8 + static_cast<unsigned char>(bytes[4]), std::string("\x69\0\0\0\3\0\0\0xyz", 11));
  SxfZCdbFigure skipped;
  ASSERT_EQ(ReadNew(withUnknown, skipped), 1);
  EXPECT_EQ(skipped.IsSame(src, 0), 1);

  // Type byte 2 with an attribute-file block: the object is reachable only as what it is.
  SxfZCdbFigure atrfFig;
  atrfFig.SetName("e");
  AddRef(atrfFig, "1")->AddAttrData(Attr("a", "b"));
  std::string mixed = WriteNew(atrfFig);
  mixed[10] = 2;
  SxfZCdbFigure odd;
  ASSERT_EQ(ReadNew(mixed, odd), 1);
  EXPECT_EQ(odd.GetAttrType(), SXF_ATTR_ATRU);
  EXPECT_EQ(odd.ATRU_GetAttr(), nullptr);
  EXPECT_NE(odd.ATRF_GetAttr(), nullptr);
  EXPECT_EQ(odd.FindAttrData("a"), nullptr);
}

}  // namespace
