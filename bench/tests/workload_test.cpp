// The generated drawing is what the table says it measures, and the check that a load gave it
// back can fail.
#include "workload.h"

#include <gtest/gtest.h>

#include "model/attr_set_ref.h"
#include "platform/cfile.h"

namespace {

TEST(Workload, TargetsStayInTheDrawingAndNeverPointAtTheirOwnFigure) {
  for (DWORD n : {2u, 3u, 50u, 7919u, 10000u, 1000000u}) {
    for (DWORD h = 1; h <= n; h += (n > 20000 ? 7 : 1)) {
      const DWORD t = TargetOf(h, n);
      ASSERT_GE(t, 1u) << n << " " << h;
      ASSERT_LE(t, n) << n << " " << h;
      ASSERT_NE(t, h) << n;
    }
  }
}

TEST(Workload, EveryFigureHoldsOneSetOfSixAttributesAndEvery50thASpecialOne) {
  const DWORD n = 250;
  std::unique_ptr<WorkloadDrawing> d = BuildSource(n);
  ASSERT_EQ(n + kTitleElements, d->recs.size());
  int contours = 0, images = 0;
  for (DWORD h = 1; h <= n; ++h) {
    ASSERT_EQ(h, d->Record(h)->GetHandle());
    SxfZCdbFigure fig;
    ASSERT_EQ(1, d->adb->GetRecFigure(h, fig)) << h;
    ASSERT_EQ(SXF_ATTR_ATRF, fig.GetAttrType());
    ASSERT_EQ(1, fig.ATRF_GetAttr()->GetAttrSetRefCnt());
    EXPECT_EQ(6, fig.ATRF_GetAttr()->GetAttrSetRefData(0)->GetAttrCnt()) << h;
    CDWordArrayX targets;
    fig.GetTarget(targets);
    ASSERT_EQ(1, targets.GetCount());
    EXPECT_EQ(TargetOf(h, n), targets[0]);
    contours += fig.HasContour();
    images += fig.HasImage();
    EXPECT_EQ(h % 50 == 0, fig.HasContour() + fig.HasImage() == 1) << h;
  }
  EXPECT_EQ(3, contours);  // 50, 150, 250
  EXPECT_EQ(2, images);    // 100, 200
  SxfTitleInfo title;
  d->adb->GetTitleInfo(title, nullptr);
  EXPECT_STREQ("General plan$$sheet 1", title.drawingName);
  EXPECT_STREQ("Survey company", title.companyName);
}

TEST(Workload, LoadCheckPassesOnlyForADrawingThatReadTheSection) {
  const DWORD n = 1200;
  std::unique_ptr<WorkloadDrawing> source = BuildSource(n);
  std::string why;
  EXPECT_TRUE(HoldsWorkload(*source, &why)) << why;

  CMemFile file;
  ASSERT_EQ(1, source->adb->Write(0, &file, &source->db));
  std::unique_ptr<WorkloadDrawing> loaded = BuildRecords(n);
  EXPECT_FALSE(HoldsWorkload(*loaded, &why));
  EXPECT_EQ("the attribute-file figure of handle 1", why);

  file.SeekToBegin();
  ASSERT_EQ(1, loaded->adb->Read(0, &file, &loaded->db));
  EXPECT_TRUE(HoldsWorkload(*loaded, &why)) << why;

  // A lost special attribute or a lost figure anywhere in the sample is noticed.
  SxfZCdbFigure fig;
  ASSERT_EQ(1, loaded->adb->GetRecFigure(1150, fig));
  ASSERT_EQ(1, fig.RemoveContour());
  loaded->adb->SetRecFigure(loaded->Record(1150), fig);
  EXPECT_FALSE(HoldsWorkload(*loaded, &why));
  EXPECT_EQ("the contour attribute of handle 1150", why);
}

}  // namespace
