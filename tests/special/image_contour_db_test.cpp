// Image and contour attributes on host records: the elevation written on attachment, the value
// rewritten from the elevation on reading, and attachments that are skipped when nothing changes.
#include <gtest/gtest.h>

#include "attrdb/drawing.h"
#include "model/japanese_texts.h"

namespace {

SxfZCdbFigure ContourFigure(const char* value, const char* unit) {
  SxfZCdbFigure fig;
  fig.SetContour("c1", value, unit);
  return fig;
}

// The contour value the database hands out for rec, or "-" when there is none.
std::string ContourValue(Drawing& d, ZCdbRecBase* rec) {
  CString zukeiName, value, unit;
  if (d.adb->GetContour(rec->GetHandle(), zukeiName, value, unit) == 0) return "-";
  return std::string(value);
}

}  // namespace

TEST(ContourDb, AttachingSetsTheElevationInMetres) {
  Drawing d;
  ZCdbContour* plain = d.AddContour(1.0);
  d.adb->SetRecFigure(plain, ContourFigure("12.5", nullptr));
  EXPECT_DOUBLE_EQ(12.5, plain->GetHyoko());

  ZCdbContour* cm = d.AddContour(1.0);
  d.adb->SetRecFigure(cm, ContourFigure("1250", "cm"));
  EXPECT_DOUBLE_EQ(12.5, cm->GetHyoko());

  // A figure without a contour attribute leaves the elevation alone.
  ZCdbContour* other = d.AddContour(3.25);
  d.adb->SetRecFigure(other, SetFigure("1", {}));
  EXPECT_DOUBLE_EQ(3.25, other->GetHyoko());
}

TEST(ContourDb, ReadingRewritesTheValueFromTheElevation) {
  Drawing d;
  ZCdbContour* rec = d.AddContour(0);
  struct Case {
    double elevation;
    const char* stored;
    const char* unit;
    const char* read;
  };
  const Case cases[] = {
      {12.34567, "12.30", "m", "12.35"},      // rounded to the stored decimals
      {12.34567, "12", "m", "12"},            // no decimals: cut toward zero
      {-7.9999999999, "8", "m", "-8"},        // the nudge keeps -7.99... from becoming -7
      {7.9999999999, "8", "", "8"},           // an empty unit counts as metres
      {12.34567, "12.30", "cm", "12.30"},     // another unit is the user's own text
      {12.34567, "12.30 m", "m", "12.30 m"},  // so is a value with a blank
  };
  for (const Case& c : cases) {
    // The attachment sets the elevation from the value; set it back to the case's own.
    d.adb->SetRecFigure(rec, ContourFigure(c.stored, c.unit));
    rec->SetHyoko(c.elevation);
    EXPECT_EQ(c.read, ContourValue(d, rec)) << c.stored << " at " << c.elevation;
  }
  // A record without elevation leaves the value alone.
  rec->ClearHyoko();
  d.adb->SetRecFigure(rec, ContourFigure("3.5", "m"));
  rec->ClearHyoko();
  EXPECT_EQ("3.5", ContourValue(d, rec));
}

TEST(ContourDb, SetContourAttachesOnlyChanges) {
  Drawing d;
  ZCdbContour* rec = d.AddContour(12.5);
  d.adb->SetRecFigure(rec, ContourFigure("12.5000", "m"));

  d.db.BeginUndoStep();
  EXPECT_EQ(1, d.adb->SetContour("c1", "12.5000", "m", rec));  // the same texts
  d.db.EndUndoStep();
  EXPECT_EQ(0, d.Undo().GetUndoCount());

  // A null unit differs from "m": the contour attribute is replaced and loses type and unit.
  d.db.BeginUndoStep();
  EXPECT_EQ(1, d.adb->SetContourElm("c2", "12.5000", rec));
  d.db.EndUndoStep();
  EXPECT_EQ(1, d.Undo().GetUndoCount());
  SxfZCdbFigure out;
  ASSERT_EQ(1, d.adb->GetRecFigure(rec->GetHandle(), out));
  ASSERT_NE(nullptr, out.contour);
  EXPECT_STREQ("c2", out.contour->zukeiName);
  EXPECT_TRUE(out.contour->type.IsEmpty());
  EXPECT_TRUE(out.contour->unit.IsEmpty());
  CString zukeiName, value;
  EXPECT_EQ(1, d.adb->GetContourElm(rec->GetHandle(), zukeiName, value));
  EXPECT_STREQ("c2", zukeiName);

  EXPECT_EQ(0, d.adb->SetContour("c", "1", "m", d.AddPlain()));  // not a contour record
}

TEST(ImageDb, SetImageElmTakesTheFullFileNameOnce) {
  Drawing d;
  ZCdbElm* raster = d.AddElement(new ZRaster("img/site.tif"));
  ZCdbElm* bitmap = d.AddElement(new ZBitmap("/abs/plan.bmp"));
  d.db.BeginUndoStep();
  EXPECT_EQ(1, d.adb->SetImageElm("photo", raster));
  d.db.EndUndoStep();
  EXPECT_EQ(1, d.Undo().GetUndoCount());
  d.db.BeginUndoStep();
  EXPECT_EQ(1, d.adb->SetImageElm("photo", raster));
  d.db.EndUndoStep();
  EXPECT_EQ(1, d.Undo().GetUndoCount());  // the second call found equal texts

  CString zukeiName, value;
  ASSERT_EQ(1, d.adb->GetImageName(raster->GetHandle(), zukeiName, value));
  EXPECT_STREQ("photo", zukeiName);
  EXPECT_STREQ("/data/img/site.tif", value);
  SxfZCdbFigure out;
  ASSERT_EQ(1, d.adb->GetRecFigure(raster->GetHandle(), out));
  ASSERT_NE(nullptr, out.image);
  EXPECT_STREQ(kJpImage, out.image->name);

  EXPECT_EQ(1, d.adb->SetImageElm("map", bitmap));
  ASSERT_EQ(1, d.adb->GetImageName(bitmap->GetHandle(), zukeiName, value));
  EXPECT_STREQ("/abs/plan.bmp", value);

  // Other attributes of the record stay beside the image.
  ZCdbElm* annotated = d.AddElement(new ZRaster("b.tif"));
  d.adb->SetRecFigure(annotated, SetFigure("1", {}, "6"));
  EXPECT_EQ(1, d.adb->SetImageElm("b", annotated));
  ASSERT_EQ(1, d.adb->GetRecFigure(annotated->GetHandle(), out));
  EXPECT_STREQ("6", Width(out));
  EXPECT_NE(nullptr, out.image);

  EXPECT_EQ(0, d.adb->SetImageElm(nullptr, raster));
  EXPECT_EQ(0, d.adb->SetImageElm("s", d.AddElement(new ZString("x", ZPt(0, 0)))));
}

TEST(ImageDb, GetImageNameReadsTheStoredFigureEvenWhenHidden) {
  Drawing d;
  ZCdbElm* raster = d.AddElement(new ZRaster("/p.tif"));
  ASSERT_EQ(1, d.adb->SetImageElm("p", raster));
  d.db.MarkDeleted(raster);
  CString zukeiName, value;
  EXPECT_EQ(1, d.adb->GetImageName(raster->GetHandle(), zukeiName, value));
  SxfZCdbFigure out;
  EXPECT_EQ(0, d.adb->GetRecFigure(raster->GetHandle(), out));
}
