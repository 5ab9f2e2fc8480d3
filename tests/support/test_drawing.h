// TestDrawing: a drawing as a host holds it, for every test that drives the plug-in's database.
//
// A ZCdb (with undo unless asked otherwise), its environment and the "SXF" attribute database,
// created through an entry function and registered by the host as ZCdbAttrDBEntry's database is.
// The database is a TestAttrDB: the plug-in's own class, with two protected members opened to the
// tests and nothing else changed. The helpers add records as a user does (notified, next free
// handle) or load them under chosen handles as a host does before it reads the attribute section
// (not notified), build string, contour and raster elements and title lines, and read back the
// figure stored for a handle and what a caller of GetRecFigure sees of it. MessageCapture records
// what the plug-in shows the user. The drawing owns its records and its database.
#pragma once

#include <string>
#include <vector>

#include "attrdb/attrdb.h"
#include "host/host.h"
#include "model/figure.h"
#include "platform/platform.h"
#include "support/sjis_text.h"
#include "support/test_figures.h"
#include "title/title_rec_map.h"

class TestAttrDB : public SxfZCdbAttrDB {
 public:
  using SxfZCdbAttrDB::m_attrMap;  // the handle map, flags included
  using SxfZCdbAttrDB::SxfZCdbAttrDB;
  using SxfZCdbAttrDB::WriteAttr;  // the old figure-entry writer
};

// What a caller of GetRecFigure sees of a handle: whether a figure shows at all, its "width"
// value (see SetFigure) and its targets.
struct Seen {
  bool visible = false;
  std::string width;
  std::vector<DWORD> targets;
};

struct TestDrawing {
  CEnvironObj env{"/data"};  // first: it outlives the drawing built with it
  ZCdb db;
  TestAttrDB* adb;  // owned by db

  explicit TestDrawing(int withUndo = 1)
      : db(withUndo), adb(static_cast<TestAttrDB*>(db.CreateAttrDB(&MakeDB, &env))) {}

  // A plain record added at the top of the drawing or below parent.
  ZCdbTbl* AddPlain(ZCdbTblBase* parent = nullptr) { return Added(new ZCdbTbl, parent); }
  ZCdbContour* AddContour(double elevation) { return Added(new ZCdbContour(elevation)); }
  ZCdbElm* AddElement(ZGElm* element) { return Added(new ZCdbElm(element)); }
  // A string element showing text (UTF-8) with its first point at height y.
  ZCdbElm* AddString(const std::string& text, double y = 0) {
    return AddElement(new ZString(Sjis(text).c_str(), ZPt(0, y)));
  }
  // A string element whose figure is a title stub named name (UTF-8), as a title tool makes it.
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
  // Loads rec (a plain record by default) under handle below parent, unnotified; null when the
  // handle is taken.
  template <class Rec = ZCdbTbl>
  Rec* Load(DWORD handle, ZCdbTblBase* parent = nullptr, Rec* rec = new Rec) {
    if (db.LoadRecord(rec, handle, parent) != 0) return rec;
    delete rec;
    return nullptr;
  }
  ZCdbRecBase* Find(DWORD handle) const { return db.FindRecord(handle); }

  // Runs body inside one undo step of the host.
  template <class Body>
  void InStep(Body body) {
    db.BeginUndoStep();
    body();
    db.EndUndoStep();
  }
  int UndoCount() const { return db.GetUndo()->GetUndoCount(); }

  // The figure stored for handle as it stands (GetFirstEntry/GetNextEntry: no consistency pass,
  // no title renumbering), or null when the entry holds none or there is no entry. Not a copy, and
  // not const, so that a test can call the figure's readers (IsSame is not const) or damage it.
  SxfZCdbFigure* Stored(DWORD handle) const {
    for (POSITION pos = adb->GetFirstEntry(); pos != nullptr;) {
      DWORD h = 0;
      const SxfZCdbFigure* fig = nullptr;
      adb->GetNextEntry(pos, h, fig);
      if (h == handle) return const_cast<SxfZCdbFigure*>(fig);
    }
    return nullptr;
  }
  // The title stub name stored for rec, "<none>" without a figure, "<no stub>" without a stub.
  std::string StoredName(const ZCdbRecBase* rec) const { return StubName(Stored(rec->GetHandle())); }

  // What a caller of GetRecFigure sees of handle.
  Seen See(DWORD handle) {
    Seen seen;
    SxfZCdbFigure out;
    if (adb->GetRecFigure(handle, out) == 0) return seen;
    seen.visible = true;
    seen.width = Width(out);
    seen.targets = Targets(out);
    return seen;
  }
  Seen See(const ZCdbRecBase* rec) { return See(rec->GetHandle()); }
  // The title stub name a caller of GetRecFigure reads for rec (see StoredName).
  std::string NameOf(const ZCdbRecBase* rec) {
    SxfZCdbFigure out;
    return adb->GetRecFigure(rec->GetHandle(), out) != 0 ? StubName(&out) : "<none>";
  }
  // The title info as a caller reads it, from the title elements; recs receives the elements.
  SxfTitleInfo Title(TitleRecMap* recs = nullptr) {
    SxfTitleInfo info;
    adb->GetTitleInfo(info, recs);
    return info;
  }

  // The drawing-file section that Write(mode, ...) stores.
  std::string Save(int mode = 0) {
    CMemFile file;
    EXPECT_EQ(1, adb->Write(mode, &file, &db));
    return std::string(reinterpret_cast<const char*>(file.Data()), static_cast<size_t>(file.GetLength()));
  }

 private:
  static ZCdbAttrDB* MakeDB(CEnvironObj* env) { return new TestAttrDB(*env); }
  template <class Rec>
  Rec* Added(Rec* rec, ZCdbTblBase* parent = nullptr) {
    db.AddRecord(rec, parent);
    return rec;
  }
  static std::string StubName(const SxfZCdbFigure* fig) {
    if (fig == nullptr) return "<none>";
    return fig->ATRS_GetAttr() != nullptr ? fig->ATRS_GetAttr()->name.str() : "<no stub>";
  }
};

// Captures what the plug-in shows the user while it lives, instead of showing it.
struct MessageCapture {
  struct Box {
    std::string text;
    UINT type, helpId;
  };
  static std::vector<Box>& Shown() {
    static std::vector<Box> shown;
    return shown;
  }
  AfxMessageBoxHandler previous =
      SetAfxMessageBoxHandler([](const char* text, UINT type, UINT helpId) -> int {
        Shown().push_back({text, type, helpId});
        return IDOK;
      });
  MessageCapture() { Shown().clear(); }
  ~MessageCapture() { SetAfxMessageBoxHandler(previous); }
};
