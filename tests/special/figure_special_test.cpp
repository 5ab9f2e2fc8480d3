#include <gtest/gtest.h>

#include <string>

#include "attrdb/attrdb.h"
#include "model/figure.h"
#include "support/sjis_text.h"

namespace {

SxfZCdbATRU Attr(const std::string& name, const char* value, const char* unit = "") {
  SxfZCdbATRU a;
  a.name = name.c_str();
  a.type = "STR";
  a.unit = unit;
  a.value = value;
  a.zukeiName = "old";
  a.kind = 3;
  return a;
}

TEST(FigureSpecialTest, Version30UserAttributeBecomesContourOrImage) {
  SxfZCdbFigure contour;
  contour.SetName("line1");
  contour.ATRU_SetAttr(Attr(Sjis("等高線"), "35.5", "m"));
  EXPECT_EQ(contour.CheckRastarAndContor30(), 1);
  EXPECT_EQ(contour.GetAttrType(), SXF_ATTR_NONE);
  EXPECT_TRUE(contour.attr.IsNull());
  ASSERT_NE(contour.contour, nullptr);
  EXPECT_STREQ(contour.contour->zukeiName, "line1");
  EXPECT_STREQ(contour.contour->value, "35.5");
  EXPECT_STREQ(contour.contour->unit, "m");
  EXPECT_EQ(contour.contour->kind, 10);

  SxfZCdbFigure image;
  image.SetName("img");
  image.ATRU_SetAttr(Attr(Sjis("画像"), "/a.tif"));
  image.CheckRastarAndContor30();
  ASSERT_NE(image.image, nullptr);
  EXPECT_STREQ(image.image->zukeiName, "img");
  EXPECT_STREQ(image.image->value, "/a.tif");
  EXPECT_EQ(image.contour, nullptr);

  // Other names stay as they are.
  SxfZCdbFigure other;
  other.ATRU_SetAttr(Attr(Sjis("画像名"), "x"));
  EXPECT_EQ(other.CheckRastarAndContor30(), 1);
  EXPECT_EQ(other.GetAttrType(), SXF_ATTR_ATRU);
  EXPECT_EQ(other.image, nullptr);
}

TEST(FigureSpecialTest, Version30AttributeInsideSetsIsFoundWithItsPath) {
  SxfZCdbFigure fig;
  fig.SetName("f");
  fig.SetAttrType(SXF_ATTR_ATRF);
  SxfZCdbATRF* atrf = fig.ATRF_GetAttr();
  SxfZCdbAttrSetRef* first = atrf->AddAttrSetRefData("R1", 0);
  first->AddAttrGrpData(nullptr)->SetName("Q");
  SxfZCdbAttrSetRef* second = atrf->AddAttrSetRefData("R2", 0);
  second->AddAttrData(Attr("keep", "1"));
  SxfZCdbAttrGrp* searched = second->AddAttrGrpData(nullptr);
  searched->SetName("S");
  searched->AddAttrGrpData(nullptr)->SetName("T");
  SxfZCdbAttrGrp* a = second->AddAttrGrpData(nullptr);
  a->SetName("A");
  SxfZCdbAttrGrp* b = a->AddAttrGrpData(nullptr);
  b->SetName("B");
  b->AddAttrData(Attr("x", "1"));
  b->AddAttrData(Attr(Sjis("画像"), "/p.tif"));
  b->AddAttrData(Attr(Sjis("等高線"), "9"));

  SxfZCdbATRU out;
  CString path;
  ASSERT_EQ(fig.GetOldRasterContor30(out, path), 1);
  EXPECT_STREQ(out.name, Sjis("画像").c_str());
  EXPECT_STREQ(out.value, "/p.tif");
  EXPECT_EQ(out.kind, 3);
  // The path starts with the reference's name; names of sub-groups searched on the way stay.
  EXPECT_STREQ(path, "R2\nS\nT\nA\nB");
  ASSERT_EQ(b->GetAttrCnt(), 2);
  EXPECT_STREQ(b->GetAttrData(1)->name, Sjis("等高線").c_str());
  EXPECT_EQ(atrf->GetAttrSetRefCnt(), 2);

  // The next search finds the contour; then nothing is left.
  ASSERT_EQ(fig.CheckRastarAndContor30(), 1);
  ASSERT_NE(fig.contour, nullptr);
  EXPECT_STREQ(fig.contour->value, "9");
  EXPECT_STREQ(fig.contour->zukeiName, "f");
  EXPECT_EQ(fig.GetAttrType(), SXF_ATTR_ATRF);
  EXPECT_EQ(fig.GetOldRasterContor30(out, path), 0);
  EXPECT_EQ(b->GetAttrCnt(), 1);
}

TEST(FigureSpecialTest, PredefinedStringAttributeNames) {
  EXPECT_EQ(SxfZCdbAttrDB::IsDefAttrAndStrType("URL"), 1);
  EXPECT_EQ(SxfZCdbAttrDB::IsDefAttrAndStrType(Sjis("画像").c_str()), 1);
  EXPECT_EQ(SxfZCdbAttrDB::IsDefAttrAndStrType(Sjis("表題_尺度2").c_str()), 1);
  EXPECT_EQ(SxfZCdbAttrDB::IsDefAttrAndStrType(Sjis("表題_図面名").c_str()), 1);
  EXPECT_EQ(SxfZCdbAttrDB::IsDefAttrAndStrType("url"), 0);
  EXPECT_EQ(SxfZCdbAttrDB::IsDefAttrAndStrType(Sjis("画像名").c_str()), 0);
  EXPECT_EQ(SxfZCdbAttrDB::IsDefAttrAndStrType(Sjis("表題_図面").c_str()), 0);
  EXPECT_EQ(SxfZCdbAttrDB::IsDefAttrAndStrType(""), 0);
}

}  // namespace
