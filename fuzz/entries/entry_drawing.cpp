#include "entries/entry_drawing.h"

#include <set>
#include <utility>

#include "model/attr_set_ref.h"
#include "model/figure.h"
#include "platform/platform.h"
#include "title/title_items.h"

bool EntryAttrDB::FlagsClean() const {
  POSITION pos = m_attrMap.GetStartPosition();
  while (pos != nullptr) {
    DWORD handle = 0;
    ZCDB_SXFATTR_MAP* entry = nullptr;
    m_attrMap.GetNextAssoc(pos, handle, entry);
    if (entry != nullptr && (entry->flags & ~(kTargetedMask | kPending)) != 0) return false;
  }
  return true;
}

bool EntryAttrDB::SharesTitleLine() const {
  std::set<std::pair<SXF_TTL_ID, int>> lines;
  POSITION pos = m_attrMap.GetStartPosition();
  while (pos != nullptr) {
    DWORD handle = 0;
    ZCDB_SXFATTR_MAP* entry = nullptr;
    m_attrMap.GetNextAssoc(pos, handle, entry);
    const SxfZCdbATRS* stub = LiveTitleStub(entry);
    if (stub == nullptr) continue;
    const SXF_TTL_ID id = SrchTitleId(stub->name);
    if (id != 0 && !lines.emplace(id, TitleLineIndex(stub->name)).second) return true;
  }
  return false;
}

EntryDrawing::EntryDrawing(bool withFigure) : env_("/fuzz"), adb_(new EntryAttrDB(env_)) {
  db_.RegisterAttrDB("SXF", adb_);
  Load(kEntryPlainA, new ZCdbTbl);
  Load(kEntryPlainB, new ZCdbTbl);
  Load(kEntryContour, new ZCdbContour(12.5));
  Load(kEntryRaster, new ZCdbElm(new ZRaster("img/site.tif")));
  ZCdbTbl* group = new ZCdbTbl;
  Load(kEntryGroup, group);
  Load(kEntryChild, new ZCdbTbl, group);
  if (withFigure) {
    adb_->AddAttrSetDefData("Road", "1.0", "X", 1);
    SxfZCdbFigure fig;
    fig.SetAttrType(SXF_ATTR_ATRF);
    SxfZCdbAttrSetRef* ref = fig.ATRF_GetAttr()->AddAttrSetRefData("1", 1);
    ref->AddTarget(kEntryPlainB, "memo");
    adb_->SetRecFigure(db_.FindRecord(kEntryPlainA), fig);
  }
}

ZCdbBuff EntryDrawing::Buffer() {
  ZCdbBuff buff;
  for (DWORD h = kEntryPlainA; h <= kEntryChild; ++h) buff.Add(db_.FindRecord(h));
  return buff;
}

void EntryDrawing::Load(DWORD handle, ZCdbRecBase* rec, ZCdbTblBase* parent) {
  if (db_.LoadRecord(rec, handle, parent) == 0) delete rec;
}

namespace {

int Ignore(const char*, UINT, UINT) {
  return IDOK;
}

}  // namespace

SilentMessages::SilentMessages() : previous_(SetAfxMessageBoxHandler(&Ignore)) {}

SilentMessages::~SilentMessages() {
  SetAfxMessageBoxHandler(previous_);
}
