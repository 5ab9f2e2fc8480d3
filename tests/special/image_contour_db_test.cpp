// Image and contour attributes on host records: the elevation written on attachment, the value
// rewritten from the elevation on reading, and attachments that are skipped when nothing changes.
#include <gtest/gtest.h>

#include "support/test_drawing.h"

namespace {

SxfZCdbFigure ContourFigure(const char* value, const char* unit) {
  SxfZCdbFigure fig;
  fig.SetContour("c1", value, unit);
  return fig;
}

// The contour attribute stored for rec (no consistency pass), or an empty value when none.
SxfZCdbATRU StoredContour(TestDrawing& d, ZCdbRecBase* rec) {
  const SxfZCdbFigure* fig = d.Stored(rec->GetHandle());
  return fig != nullptr && fig->contour != nullptr ? *fig->contour : SxfZCdbATRU();
}

// The contour value the database hands out for rec, or "-" when there is none.
std::string ContourValue(TestDrawing& d, ZCdbRecBase* rec) {
  CString zukeiName, value, unit;
  if (d.adb->GetContour(rec->GetHandle(), zukeiName, value, unit) == 0) return "-";
  return std::string(value);
}

}  // namespace

TEST(ContourDb, AttachingSetsTheElevationInMetres) {
  TestDrawing d;
  ZCdbContour* plain = d.AddContour(1.0);
  d.adb->SetRecFigure(plain, ContourFigure("12.5", nullptr));
  EXPECT_DOUBLE_EQ(12.5, plain->GetHyoko());

  ZCdbContour* cm = d.AddContour(1.0);
  d.adb->SetRecFigure(cm, ContourFigure("1250", "cm"));
  EXPECT_DOUBLE_EQ(12.5, cm->GetHyoko());
}

TEST(ContourDb, ReadingRewritesTheValueFromTheElevation) {
  TestDrawing d;
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

TEST(ContourDb, RefreshedValueIsStoredAsALengthContour) {
  TestDrawing d;
  ZCdbContour* rec = d.AddContour(0);
  SxfZCdbFigure fig = ContourFigure("12.30", "m");
  fig.contour->name = "height";
  fig.contour->kind = 3;
  fig.contour->type = "STR";
  d.adb->SetRecFigure(rec, fig);
  rec->SetHyoko(12.34567);

  // The refresh rewrites all six fields: the contour name, kind 10 and type "LEN" come back
  // with the new value, in the copy handed out and, after a commit, in the stored figure.
  auto expectRefreshed = [](const SxfZCdbATRU& c) {
    EXPECT_EQ(Sjis("等高線"), c.name.str());
    EXPECT_EQ(10, c.kind);
    EXPECT_STREQ("LEN", c.type);
    EXPECT_STREQ("m", c.unit);
    EXPECT_STREQ("12.35", c.value);
    EXPECT_STREQ("c1", c.zukeiName);
  };
  SxfZCdbFigure out;
  ASSERT_EQ(1, d.adb->GetRecFigure(rec->GetHandle(), out));
  ASSERT_NE(nullptr, out.contour);
  expectRefreshed(*out.contour);
  EXPECT_EQ(3, StoredContour(d, rec).kind);  // reading changes only the copy

  d.adb->OnCommit(0, &d.db);
  expectRefreshed(StoredContour(d, rec));
}

TEST(ContourDb, SetContourAttachesOnlyChanges) {
  TestDrawing d;
  ZCdbContour* rec = d.AddContour(12.5);
  d.adb->SetRecFigure(rec, ContourFigure("12.5000", "m"));

  d.InStep([&] { EXPECT_EQ(1, d.adb->SetContour("c1", "12.5000", "m", rec)); });  // the same texts
  EXPECT_EQ(0, d.UndoCount());

  // A null unit differs from "m": the contour attribute is replaced without type and unit. The
  // copy handed out has passed the refresh from the elevation, which stores a length again.
  d.InStep([&] { EXPECT_EQ(1, d.adb->SetContourElm("c2", "12.5000", rec)); });
  EXPECT_EQ(1, d.UndoCount());
  EXPECT_TRUE(StoredContour(d, rec).type.IsEmpty());
  SxfZCdbFigure out;
  ASSERT_EQ(1, d.adb->GetRecFigure(rec->GetHandle(), out));
  ASSERT_NE(nullptr, out.contour);
  EXPECT_STREQ("c2", out.contour->zukeiName);
  EXPECT_STREQ("LEN", out.contour->type);
  EXPECT_TRUE(out.contour->unit.IsEmpty());
  EXPECT_EQ(0, d.adb->SetContour("c", "1", "m", d.AddPlain()));  // not a contour record
}

TEST(ImageDb, SetImageElmTakesTheFullFileNameOnce) {
  TestDrawing d;
  ZCdbElm* raster = d.AddElement(new ZRaster("img/site.tif"));
  d.InStep([&] { EXPECT_EQ(1, d.adb->SetImageElm("photo", raster)); });
  EXPECT_EQ(1, d.UndoCount());
  d.InStep([&] { EXPECT_EQ(1, d.adb->SetImageElm("photo", raster)); });
  EXPECT_EQ(1, d.UndoCount());  // the second call found equal texts

  CString zukeiName, value;
  ASSERT_EQ(1, d.adb->GetImageName(raster->GetHandle(), zukeiName, value));
  EXPECT_STREQ("photo", zukeiName);
  EXPECT_STREQ("/data/img/site.tif", value);
  EXPECT_EQ(0, d.adb->SetImageElm(nullptr, raster));
  EXPECT_EQ(0, d.adb->SetImageElm("s", d.AddElement(new ZString("x", ZPt(0, 0)))));
}
