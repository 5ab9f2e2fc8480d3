#include "host/area_control.h"

#include <gtest/gtest.h>

#include "host/host.h"

namespace {

ZCdbElm* Line(double x) {
  return new ZCdbElm(new ZLine(ZPt(x, 0), ZPt(x, 1)));
}

// A drawing with two area-control records: `outline` (a group with a virtual matrix and two
// lines) in the layer, and `hidden` (a table with one line) inside a removed table.
class AreaControl : public ::testing::Test {
 protected:
  void SetUp() override {
    layer = new ZCdbTbl();
    db.AddRecord(layer);
    outline = new ZCdbGrp();
    outline->SetVirtualMatrix(Matrix::Translation(5, 0));
    outline->SetStatus(ZCDB_STATUS_AREACONTROL);
    db.AddRecord(outline, layer);
    db.AddRecord(Line(1), outline);
    db.AddRecord(Line(2), outline);
    removedTable = new ZCdbTbl();
    db.AddRecord(removedTable, layer);
    hidden = new ZCdbTbl();
    hidden->SetStatus(ZCDB_STATUS_AREACONTROL);
    db.AddRecord(hidden, removedTable);
    db.AddRecord(Line(3), hidden);
  }

  ZCdb db;
  ZCdbTbl* layer;
  ZCdbGrp* outline;
  ZCdbTbl* removedTable;
  ZCdbTbl* hidden;
};

TEST_F(AreaControl, CollectIgnoresRemovalButExistenceAsksForLiveRecords) {
  EXPECT_EQ(IsAreaControlExist(&db), 1);
  EXPECT_EQ(IsAreaControlExist(removedTable), 1);
  EXPECT_EQ(IsAreaControlExist(hidden), 0);  // the table itself does not count
  EXPECT_EQ(IsAreaControlExist(nullptr), 0);

  ASSERT_EQ(db.MarkDeleted(removedTable), 1);
  EXPECT_EQ(IsAreaControlExist(&db), 1);
  hidden->ClearStatus(ZCDB_STATUS_REMOVED);  // a live record in a removed table is still hidden
  EXPECT_EQ(IsAreaControlExist(&db), 1);
  ASSERT_EQ(db.MarkDeleted(outline), 1);
  EXPECT_EQ(IsAreaControlExist(&db), 0);

  ZCdbBuff buff;
  CollectAreaControlDrawBuff(&db, buff);
  ASSERT_EQ(buff.GetNum(), 2);
  EXPECT_EQ(buff.GetPtr(0), outline);
  EXPECT_EQ(buff.GetPtr(1), hidden);
  CollectAreaControlDrawBuff(nullptr, buff);
  EXPECT_EQ(buff.GetNum(), 2);
}

TEST_F(AreaControl, DeviceContextRecordsSelectionsDrawingsAndRestores) {
  CDC dc;
  CPen* entryPen = dc.GetCurrentPen();
  CBrush* entryBrush = dc.GetCurrentBrush();
  EXPECT_EQ(entryPen->GetStockIndex(), BLACK_PEN);
  EXPECT_FALSE(entryBrush->IsHollow());

  // What a drawing routine does: its own pen and the hollow stock brush, draw, put both back.
  CPen pen(PS_SOLID, 2, RGB(255, 0, 0));
  CPen* oldPen = dc.SelectObject(&pen);
  CGdiObject* oldBrush = dc.SelectStockObject(NULL_BRUSH);
  EXPECT_EQ(oldPen, entryPen);
  EXPECT_EQ(oldBrush, entryBrush);

  // The first element below the area-control record, through its group's matrix and a view.
  ZCdbBuff elms;
  ASSERT_EQ(outline->GetElm2(elms, 0xFF), 2);
  const ZCdbElm* first = static_cast<const ZCdbElm*>(elms.GetPtr(0));
  ASSERT_EQ(first->GetZCdbGrp(), outline);
  Matrix m(*first->GetZCdbGrp()->GetVirtualMatrix());
  m *= Matrix::Scaling(2, 2);
  ZGDraw(*first->GetZGElm(), dc, m);

  // Restoring through the generic overload puts the brush back in the brush slot.
  EXPECT_EQ(dc.SelectObject(oldBrush), CDC::GetStockObject(NULL_BRUSH));
  EXPECT_EQ(dc.SelectObject(oldPen), &pen);
  EXPECT_EQ(dc.GetCurrentPen(), entryPen);
  EXPECT_EQ(dc.GetCurrentBrush(), entryBrush);
  EXPECT_EQ(dc.SelectObject(static_cast<CPen*>(nullptr)), nullptr);
  EXPECT_EQ(dc.SelectStockObject(99), nullptr);

  const std::vector<CDC::Event>& events = dc.GetEvents();
  ASSERT_EQ(events.size(), 5u);
  EXPECT_EQ(events[0].kind, CDC::Event::kSelectPen);
  EXPECT_EQ(events[1].kind, CDC::Event::kSelectBrush);
  const CDC::Event& draw = events[2];
  ASSERT_EQ(draw.kind, CDC::Event::kDraw);
  EXPECT_EQ(draw.element, first->GetZGElm());
  EXPECT_EQ(draw.penStyle, PS_SOLID);
  EXPECT_EQ(draw.penWidth, 2);
  EXPECT_EQ(draw.penColor, 0x0000FFu);
  EXPECT_EQ(draw.hollowBrush, 1);
  double x = 0, y = 0;
  draw.matrix.Apply(1, 1, &x, &y);  // moved by 5 first, then doubled
  EXPECT_DOUBLE_EQ(x, 12);
  EXPECT_DOUBLE_EQ(y, 2);
  EXPECT_EQ(events[3].object, entryBrush);
  EXPECT_EQ(events[4].object, entryPen);
  EXPECT_EQ(events[4].penWidth, 1);
  EXPECT_EQ(dc.GetDrawCount(), 1);

  EXPECT_EQ(pen.DeleteObject(), 1);
  EXPECT_EQ(pen.DeleteObject(), 0);
  EXPECT_EQ(CDC::GetStockObject(BLACK_PEN)->DeleteObject(), 0);
}

}  // namespace
