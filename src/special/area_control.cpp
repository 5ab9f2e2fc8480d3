#include "special/area_control.h"

#include "host/area_control.h"
#include "host/gdi.h"
#include "host/matrix.h"
#include "host/zcdb.h"
#include "host/zcdb_elm.h"
#include "host/zcdb_grp.h"
#include "host/zgelm.h"

void SXF_CollectAreaControlDrawBuff(ZCdb* db, ZCdbBuff& buff) {
  CollectAreaControlDrawBuff(db, buff);
}

int SXF_IsAreaControlExist(ZCdbTblBase* table) {
  return IsAreaControlExist(table);
}

void SXF_AreaControlDraw(CDC* dc, const Matrix& matrix, DWORD color, ZCdbBuff& buff) {
  if (dc == nullptr) return;
  CPen pen(PS_SOLID, 2, color);
  CPen* oldPen = dc->SelectObject(&pen);
  // The null brush keeps outlines unfilled.
  CGdiObject* oldBrush = dc->SelectStockObject(NULL_BRUSH);

  for (int i = 0; i < buff.GetNum(); ++i) {
    ZCdbRecBase* rec = buff.GetPtr(i);
    if (rec == nullptr || rec->TestStatus(ZCDB_STATUS_REMOVED) != 0) continue;
    ZCdbTblBase* owner = rec->GetParent();
    if (owner != nullptr && owner->TestStatus(ZCDB_STATUS_REMOVED) != 0) continue;
    // Only a table has element records below it.
    const ZCdbTblBase* table = dynamic_cast<const ZCdbTblBase*>(rec);
    if (table == nullptr) continue;
    ZCdbBuff elements;
    table->GetElm2(elements, 0xFF);
    if (elements.GetNum() == 0) continue;
    ZCdbRecBase* first = elements.GetPtr(0);
    if (first == nullptr || first->IsElm() == 0) continue;
    const ZGElm* element = static_cast<ZCdbElm*>(first)->GetZGElm();
    if (element == nullptr) continue;
    const ZCdbGrp* group = first->GetZCdbGrp();
    if (group != nullptr && group->GetVirtualMatrix() != nullptr) {
      Matrix placed(*group->GetVirtualMatrix());
      placed *= matrix;
      ZGDraw(*element, *dc, placed);
    } else {
      ZGDraw(*element, *dc, matrix);
    }
  }

  dc->SelectObject(oldBrush);
  dc->SelectObject(oldPen);
  pen.DeleteObject();
}
