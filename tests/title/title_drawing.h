// A drawing with a title block: string elements that carry title stubs, and a database that lets
// a test read a stub name as it is stored.
#pragma once

#include <string>

#include "attrdb/attrdb.h"
#include "host/host.h"
#include "model/figure.h"
#include "support/sjis_text.h"
#include "title/title_rec_map.h"

class TitleDB : public SxfZCdbAttrDB {
 public:
  using SxfZCdbAttrDB::SxfZCdbAttrDB;

  // The stub name as stored, without the renumbering a figure lookup may run first.
  std::string StoredName(const ZCdbRecBase* rec) const {
    ZCDB_SXFATTR_MAP* entry = nullptr;
    if (!m_attrMap.Lookup(rec->GetHandle(), entry) || entry->figure == nullptr) return "<none>";
    const SxfZCdbATRS* stub = entry->figure->ATRS_GetAttr();
    return stub != nullptr ? stub->name.str() : "<no stub>";
  }
};

struct TitleDrawing {
  CEnvironObj env{"/data"};  // outlives the drawing
  ZCdb db;
  TitleDB* adb = new TitleDB(env);

  TitleDrawing() { db.RegisterAttrDB("SXF", adb); }

  // A string element showing text (UTF-8) with its first point at height y.
  ZCdbElm* AddString(const std::string& text, double y = 0) {
    ZCdbElm* rec = new ZCdbElm(new ZString(Sjis(text).c_str(), ZPt(0, y)));
    db.AddRecord(rec);
    return rec;
  }
  // A string element whose figure is the title stub name (UTF-8), as a user's title tool makes it.
  ZCdbElm* AddTitleLine(const std::string& name, const std::string& text, double y = 0) {
    ZCdbElm* rec = AddString(text, y);
    SxfZCdbFigure fig;
    fig.SetAttrType(SXF_ATTR_ATRS);
    SxfZCdbATRS stub;
    stub.name = Sjis(name).c_str();
    fig.ATRS_SetAttr(stub);
    adb->SetRecFigure(rec, fig);
    return rec;
  }
  // The stub name a caller reads back; "<none>" when the record shows no figure.
  std::string NameOf(ZCdbRecBase* rec) {
    SxfZCdbFigure fig;
    if (adb->GetRecFigure(rec->GetHandle(), fig) == 0) return "<none>";
    return fig.ATRS_GetAttr() != nullptr ? fig.ATRS_GetAttr()->name.str() : "<no stub>";
  }
  SxfTitleInfo Read(TitleRecMap* recs = nullptr) {
    SxfTitleInfo info;
    adb->GetTitleInfo(info, recs);
    return info;
  }
};
