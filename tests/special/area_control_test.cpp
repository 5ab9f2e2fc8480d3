// Drawing area-control figures: pen and brush restored, skipped records, first element only and
// the group's virtual matrix.
#include "special/area_control.h"

#include <gtest/gtest.h>

#include "host/host.h"

namespace {

// An area-control table holding the given number of line elements.
ZCdbTbl* AddArea(ZCdb& db, int lines, ZCdbTblBase* parent = nullptr) {
  ZCdbTbl* area = new ZCdbTbl;
  db.AddRecord(area, parent);
  for (int i = 0; i < lines; ++i) {
    db.AddRecord(new ZCdbElm(new ZLine(ZPt(i, 0), ZPt(i, 1))), area);
  }
  area->SetStatus(ZCDB_STATUS_AREACONTROL);
  return area;
}

}  // namespace

TEST(AreaControl, DrawsTheFirstElementOfEachUsableRecord) {
  ZCdb db;
  ZCdbTbl* two = AddArea(db, 2);
  ZCdbTbl* hiddenLayer = new ZCdbTbl;
  db.AddRecord(hiddenLayer);
  AddArea(db, 1, hiddenLayer);
  hiddenLayer->SetStatus(ZCDB_STATUS_REMOVED);  // the table is removed, its record is not
  ZCdbTbl* removed = AddArea(db, 1);
  removed->SetStatus(ZCDB_STATUS_REMOVED);
  AddArea(db, 0);  // nothing to draw

  ZCdbGrp* symbol = new ZCdbGrp;
  db.AddRecord(symbol);
  symbol->SetVirtualMatrix(Matrix::Translation(100, 0));
  AddArea(db, 1, symbol);

  ZCdbBuff buff;
  SXF_CollectAreaControlDrawBuff(&db, buff);
  ASSERT_EQ(5, buff.GetNum());
  buff.Add(nullptr);
  EXPECT_EQ(1, SXF_IsAreaControlExist(&db));

  CDC dc;
  CPen* pen = dc.GetCurrentPen();
  CBrush* brush = dc.GetCurrentBrush();
  const Matrix view = Matrix::Scaling(2, 2);
  SXF_AreaControlDraw(&dc, view, RGB(0, 0, 255), buff);
  ASSERT_EQ(2, dc.GetDrawCount());
  EXPECT_EQ(pen, dc.GetCurrentPen());
  EXPECT_EQ(brush, dc.GetCurrentBrush());
  EXPECT_EQ(PS_SOLID, dc.GetEvents()[0].penStyle);
  EXPECT_EQ(RGB(0, 0, 255), dc.GetEvents()[0].penColor);
  std::vector<const CDC::Event*> draws;
  for (const CDC::Event& e : dc.GetEvents()) {
    if (e.kind == CDC::Event::kDraw) draws.push_back(&e);
  }
  const ZCdbElm* first = static_cast<const ZCdbElm*>(two->GetFirstChild());
  EXPECT_EQ(first->GetZGElm(), draws[0]->element);
  EXPECT_EQ(view, draws[0]->matrix);
  EXPECT_EQ(2, draws[0]->penWidth);
  EXPECT_EQ(1, draws[0]->hollowBrush);
  Matrix placed = Matrix::Translation(100, 0);
  placed *= view;
  EXPECT_EQ(placed, draws[1]->matrix);
}
