// Binding the figures read from a section to the live host records of the same handles, and the
// steps the host calls after reading.
#include <algorithm>
#include <vector>

#include "attrdb/attrdb.h"
#include "attrdb/contour_sync.h"
#include "host/record_walk.h"
#include "host/zcdb.h"
#include "host/zcdb_buff.h"
#include "host/zcdb_contour.h"
#include "model/atrf.h"
#include "model/figure.h"
#include "persist/section_format.h"

int SxfZCdbAttrDB::BindHandle(ZCdbRecBase* rec) {
  if (rec == nullptr) return 1;
  WalkRecordTree(rec, [this](ZCdbRecBase* r) {
    // Contour records from drawings that kept the elevation only on the record get a contour
    // attribute carrying it.
    CString elevation;
    bool migrate = ContourElevationText(r, elevation);
    ZCDB_SXFATTR_MAP* entry = FindEntry(r->GetHandle());
    if (entry != nullptr) {
      entry->rec = r;
      CString zukeiName, value, unit;
      if (migrate && entry->figure != nullptr && entry->figure->GetContour(zukeiName, value, unit) != 0) {
        migrate = false;
      }
    }
    if (migrate) SetContour("", elevation, nullptr, r);
    return r->IsElm() != 0 ? WalkStep::kSkipBelow : WalkStep::kDescend;
  });
  return 1;
}

int SxfZCdbAttrDB::BindZCDb(ZCdb* db) {
  if (db == nullptr) return 1;
  for (ZCdbRecBase* child = db->GetFirstChild(); child != nullptr; child = db->GetNextChild(child)) {
    BindHandle(child);
  }
  POSITION pos = nullptr;
  for (ZCdbBlk* block = db->GetAttrBlk(pos, 1); block != nullptr; block = db->GetAttrBlk(pos, 0)) {
    BindHandle(block);
  }
  const int count = db->GetSfigDefCnt(kAttrDefinitionKind);
  for (int i = 0; i < count; ++i) {
    ZCdbSfigInfo info;
    if (db->GetSfigDefInfo(kAttrDefinitionKind, i, &info) == 0) continue;
    for (int k = 0; k < info.buff.GetNum(); ++k) {
      ZCdbRecBase* rec = info.buff.GetPtr(k);
      if (rec != nullptr) BindHandle(rec);
    }
  }
  return 1;
}

int SxfZCdbAttrDB::AfterReadTmp(ZCdb* db) {
  // Counting may add target-only entries to the map, so the figures are gathered first.
  std::vector<SxfZCdbFigure*> figures;
  figures.reserve(static_cast<size_t>(m_attrMap.GetCount()));
  POSITION pos = m_attrMap.GetStartPosition();
  while (pos != nullptr) {
    DWORD handle = 0;
    ZCDB_SXFATTR_MAP* entry = nullptr;
    m_attrMap.GetNextAssoc(pos, handle, entry);
    if (entry != nullptr && entry->figure != nullptr) figures.push_back(entry->figure);
  }
  AppendTargetEntries(figures.data(), figures.size());
  return BindZCDb(db);
}

void SxfZCdbAttrDB::OnSxfReadEnd() {
  POSITION pos = m_attrMap.GetStartPosition();
  while (pos != nullptr) {
    DWORD handle = 0;
    ZCDB_SXFATTR_MAP* entry = nullptr;
    m_attrMap.GetNextAssoc(pos, handle, entry);
    if (entry == nullptr || entry->figure == nullptr) continue;
    SxfZCdbFigure* figure = entry->figure;
    // An attribute-file figure without any set reference holds nothing worth keeping (and, with
    // no set reference, no target reference to withdraw).
    if (figure->GetAttrType() == SXF_ATTR_ATRF && figure->ATRF_GetAttr() != nullptr &&
        figure->ATRF_GetAttr()->GetAttrSetRefCnt() == 0) {
      delete figure;
      entry->figure = nullptr;
    }
  }
}

int SxfZCdbAttrDB::BindZCdbBuff(ZCdbBuff* buff) {
  int result = 1;
  const int count = buff != nullptr ? buff->GetNum() : 0;
  for (int i = 0; i < count && result != 0; ++i) {
    ZCdbRecBase* rec = buff->GetPtr(i);
    if (rec != nullptr) result = BindHandle(rec);
  }
  return result;
}
