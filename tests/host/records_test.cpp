#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>

#include "host/host.h"

namespace {

TEST(ZCdbContour, ElevationTextReadsBackToTheSameDouble) {
  ZCdbContour none;
  EXPECT_EQ(none.IsHyoko(), 0);
  EXPECT_EQ(none.GetHyoko(), 0.0);
  EXPECT_TRUE(none.GetHyokoStr().IsEmpty());
  EXPECT_EQ(none.GetRecKind(), ZCDB_KIND_CONTOUR);

  for (double v : {12.5, 12.34567, -7.9999999999, 0.1, 1e-7, -0.0, 123456789.123}) {
    ZCdbContour c(v);
    ASSERT_EQ(c.IsHyoko(), 1);
    EXPECT_EQ(std::atof(c.GetHyokoStr()), v) << c.GetHyokoStr().GetString();
  }
  ZCdbContour c(12.5);
  EXPECT_EQ(c.GetHyokoStr(), "12.5");
  c.SetStatus(ZCDB_STATUS_REMOVED | ZCDB_STATUS_TMP2);
  ZCdbRecBase* copy = c.CloneSelf();
  EXPECT_EQ(static_cast<ZCdbContour*>(copy)->GetHyoko(), 12.5);
  EXPECT_FALSE(copy->TestStatus(ZCDB_STATUS_REMOVED));
  EXPECT_TRUE(copy->TestStatus(0x6000));
  delete copy;
}

TEST(ZGElm, KindsRoundingAndTransforms) {
  ZCdbElm str(new ZString("abc", ZPt(1.5, -2.5)), ZCDB_KIND_ELM2);
  EXPECT_EQ(str.GetRecKind(), ZCDB_KIND_ELM2);
  EXPECT_TRUE(str.IsElm());
  ASSERT_EQ(str.GetZGElm()->GetElmType(), ZGELM_STRING);
  const ZString* s = static_cast<const ZString*>(str.GetZGElm());
  EXPECT_EQ(s->GetCString(), "abc");
  EXPECT_EQ(s->Pt1().gPt().iy(), -3);  // halves round away from zero
  EXPECT_EQ(s->Pt1().gPt().ix(), 2);
  EXPECT_EQ(ZCdbElm(nullptr, 42).GetRecKind(), ZCDB_KIND_ELM);
  EXPECT_EQ(ZText("t").GetElmType(), ZGELM_TEXT);
  EXPECT_EQ(ZBitmap("a.bmp").GetElmType(), ZGELM_BITMAP);
  EXPECT_EQ(ZRaster("r.tif").GetOrgFilePath(), "r.tif");
  EXPECT_EQ(ZRaster("r.tif").GetElmType(), ZGELM_RASTER);

  EXPECT_EQ(GPt::ToInt(2.4999), 2);
  EXPECT_EQ(GPt::ToInt(-0.5), -1);
  EXPECT_EQ(GPt::ToInt(1e20), INT_MAX);
  EXPECT_EQ(GPt::ToInt(-1e20), INT_MIN);
  EXPECT_EQ(GPt::ToInt(std::nan("")), 0);

  // Composition order: the left matrix applies first.
  Matrix m = Matrix::Translation(10, 0);
  m *= Matrix::Rotation(90);
  double x = 0, y = 0;
  m.Apply(1, 0, &x, &y);  // (11, 0) turned a quarter counter-clockwise
  EXPECT_NEAR(x, 0, 1e-12);
  EXPECT_NEAR(y, 11, 1e-12);
  Matrix back = Matrix::Rotation(90);
  back *= Matrix::Translation(10, 0);
  back.Apply(1, 0, &x, &y);
  EXPECT_NEAR(x, 10, 1e-12);
  EXPECT_NEAR(y, 1, 1e-12);
  EXPECT_TRUE(Matrix().IsIdentity());
  EXPECT_FALSE(m.IsIdentity());
}

TEST(ZCdbGrp, NearestGroupAndCopiedMatrix) {
  ZCdb db;
  ZCdbGrp* outer = new ZCdbGrp();
  ZCdbTbl* plain = new ZCdbTbl();
  ZCdbElm* elm = new ZCdbElm(new ZText("t"));
  ASSERT_EQ(plain->AppendChild(elm), 1);
  ASSERT_EQ(outer->AppendChild(plain), 1);
  EXPECT_EQ(plain->AppendChild(outer), 0);  // no cycles
  outer->SetVirtualMatrix(Matrix::Scaling(3, 3));
  ASSERT_EQ(db.AddRecord(outer), 1u);
  EXPECT_EQ(elm->GetZCdbGrp(), outer);
  EXPECT_EQ(outer->GetZCdbGrp(), nullptr);
  EXPECT_EQ(elm->GetZCdb(), &db);
  EXPECT_EQ(db.GetZCdb(), &db);
  EXPECT_EQ(db.GetHandle(), ZCDB_NO_HANDLE);

  ZCdbRecBase* copy = db.CopyRecord(outer);
  ASSERT_NE(copy, nullptr);
  const Matrix* m = static_cast<ZCdbGrp*>(copy)->GetVirtualMatrix();
  ASSERT_NE(m, nullptr);
  EXPECT_NE(m, outer->GetVirtualMatrix());
  EXPECT_TRUE(*m == Matrix::Scaling(3, 3));
  ZCdbRecBase* copiedElm = copy->GetFirstChild()->GetFirstChild();
  ASSERT_NE(copiedElm, nullptr);
  EXPECT_EQ(copiedElm->GetZCdbGrp(), copy);
  EXPECT_NE(static_cast<ZCdbElm*>(copiedElm)->GetZGElm(), elm->GetZGElm());
}

}  // namespace
