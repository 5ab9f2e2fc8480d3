#include "host/area_control.h"

#include "host/zcdb_buff.h"
#include "host/zcdb_rec.h"

namespace {

int AnyLiveMarked(const ZCdbRecBase* table) {
  for (ZCdbRecBase* r = table->GetFirstChild(); r; r = table->GetNextChild(r)) {
    if (r->TestStatus(ZCDB_STATUS_REMOVED)) continue;
    if (r->TestStatus(ZCDB_STATUS_AREACONTROL) || AnyLiveMarked(r)) return 1;
  }
  return 0;
}

void CollectMarked(const ZCdbRecBase* table, ZCdbBuff& buff) {
  for (ZCdbRecBase* r = table->GetFirstChild(); r; r = table->GetNextChild(r)) {
    if (r->TestStatus(ZCDB_STATUS_AREACONTROL)) buff.Add(r);
    CollectMarked(r, buff);
  }
}

}  // namespace

int IsAreaControlExist(ZCdbTblBase* table) {
  return table ? AnyLiveMarked(table) : 0;
}

void CollectAreaControlDrawBuff(ZCdbTblBase* table, ZCdbBuff& buff) {
  if (table) CollectMarked(table, buff);
}
