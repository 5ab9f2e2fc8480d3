#include "workload.h"

#include "exports/entry.h"
#include "model/attr_set_def.h"
#include "model/attr_set_ref.h"
#include "model/japanese_texts.h"
#include "title/title_rec_map.h"

namespace {

enum class Kind { kPlain, kContour, kRaster };

Kind KindOf(DWORD handle) {
  if (handle % 50 != 0) return Kind::kPlain;
  return (handle / 50) % 2 == 1 ? Kind::kContour : Kind::kRaster;
}

struct TitleLine {
  const char* item;
  const char* suffix;
  const char* text;
  double y;
};

// Two drawing-name lines, so the title info joins lines as a real title block does.
const TitleLine kTitleLines[kTitleElements] = {
    {kJpTitleProjectName, "", "Route 7 widening", 60},
    {kJpTitleConstructionName, "", "North section", 50},
    {kJpTitleDrawingName, "1", "General plan", 40},
    {kJpTitleDrawingName, "2", "sheet 1", 30},
    {kJpTitleScale, "", "1:500", 20},
    {kJpTitleOfficeName, "", "Regional office", 10},
};

ZCdbRecBase* NewFigureRecord(DWORD handle) {
  switch (KindOf(handle)) {
    case Kind::kContour:
      return new ZCdbContour(static_cast<double>(handle % 400) * 0.5);
    case Kind::kRaster:
      return new ZCdbElm(new ZRaster("images/sheet.tif"));
    case Kind::kPlain:
      break;
  }
  return new ZCdbTbl;
}

ZCdbRecBase* NewTitleRecord(const TitleLine& line) {
  return new ZCdbElm(new ZString(line.text, ZPt(0, line.y)));
}

// Both drawings get the same records under the same handles.
void LoadRecords(WorkloadDrawing& d, DWORD figures) {
  d.figures = figures;
  d.recs.reserve(figures + kTitleElements);
  for (DWORD h = 1; h <= figures; ++h) {
    ZCdbRecBase* rec = NewFigureRecord(h);
    d.db.LoadRecord(rec, h);
    d.recs.push_back(rec);
  }
  for (const TitleLine& line : kTitleLines) {
    ZCdbRecBase* rec = NewTitleRecord(line);
    d.db.LoadRecord(rec, static_cast<DWORD>(d.recs.size() + 1));
    d.recs.push_back(rec);
  }
}

// A sample of handles over the whole drawing, special (every 50th) ones among them.
std::vector<DWORD> CheckedHandles(DWORD n) {
  std::vector<DWORD> handles;
  const DWORD step = n > 997 ? n / 997 : 1;
  for (DWORD h = 1; h <= n; h += step) handles.push_back(h);
  for (DWORD h = 50; h <= n && handles.size() < 1200; h += 50 * 97) handles.push_back(h);
  handles.push_back(n);
  return handles;
}

std::string Missing(const char* what, DWORD handle) {
  return std::string(what) + " of handle " + std::to_string(handle);
}

}  // namespace

WorkloadDrawing::WorkloadDrawing() {
  adb = static_cast<SxfZCdbAttrDB*>(db.CreateAttrDB(ZCdbAttrDBEntry, &env));
}

DWORD TargetOf(DWORD handle, DWORD figures) {
  if (figures < 2) return handle;
  // A stride coprime to most sizes spreads the targets; the +1 keeps a figure off itself.
  const ULONGLONG step = 7919;
  DWORD t = static_cast<DWORD>((static_cast<ULONGLONG>(handle) * step) % figures) + 1;
  if (t == handle) t = handle % figures + 1;
  return t;
}

SxfZCdbFigure FigureFor(DWORD handle, DWORD figures, const char* refId) {
  SxfZCdbFigure fig;
  fig.SetAttrType(SXF_ATTR_ATRF);
  SxfZCdbAttrSetRef* ref = fig.ATRF_GetAttr()->AddAttrSetRefData(refId, 1);
  struct Value {
    const char* name;
    const char* type;
    const char* unit;
  };
  static const Value kValues[] = {{"width", "LEN", "m"},
                                  {"height", "LEN", "m"},
                                  {"material", "STR", ""},
                                  {"grade", "INT", ""},
                                  {"note", "STR", ""}};
  for (const Value& v : kValues) {
    SxfZCdbATRU attr;
    attr.name = v.name;
    attr.type = v.type;
    attr.unit = v.unit;
    attr.value.Format("%u.%03u", handle % 97, handle % 1000);
    ref->AddAttrData(attr);
  }
  ref->AddTarget(TargetOf(handle, figures), "next span");
  switch (KindOf(handle)) {
    case Kind::kContour: {
      CString value;
      value.Format("%.1f", static_cast<double>(handle % 400) * 0.5);
      fig.SetContour("contour", value, "m");
      break;
    }
    case Kind::kRaster:
      fig.SetImageName("aerial photo", "/data/images/sheet.tif");
      break;
    case Kind::kPlain:
      break;
  }
  return fig;
}

std::unique_ptr<WorkloadDrawing> BuildSource(DWORD figures) {
  std::unique_ptr<WorkloadDrawing> d(new WorkloadDrawing);
  LoadRecords(*d, figures);
  d->refId = d->adb->AddAttrSetDefData("Road", "1.0", "Office", 1)->GetId();
  for (DWORD h = 1; h <= figures; ++h) d->adb->SetRecFigure(d->Record(h), FigureFor(h, figures, d->refId));

  for (DWORD i = 0; i < kTitleElements; ++i) {
    SxfZCdbFigure stub;
    stub.SetAttrType(SXF_ATTR_ATRS);
    SxfZCdbATRS name;
    name.name = CString(kTitleLines[i].item) + kTitleLines[i].suffix;
    stub.ATRS_SetAttr(name);
    d->adb->SetRecFigure(d->Record(figures + 1 + i), stub);
  }
  // The stored title info is what the elements show, with the items no element shows.
  SxfTitleInfo info;
  TitleRecMap lines;
  d->adb->GetTitleInfo(info, &lines);
  info.year = 2005;
  info.month = 4;
  info.day = 1;
  info.companyName = "Survey company";
  d->adb->SetTitleInfo(info, &lines);
  return d;
}

std::unique_ptr<WorkloadDrawing> BuildRecords(DWORD figures) {
  std::unique_ptr<WorkloadDrawing> d(new WorkloadDrawing);
  LoadRecords(*d, figures);
  return d;
}

bool HoldsWorkload(WorkloadDrawing& d, std::string* why) {
  for (DWORD h : CheckedHandles(d.figures)) {
    SxfZCdbFigure fig;
    if (d.adb->GetRecFigure(h, fig) != 1 || fig.GetAttrType() != SXF_ATTR_ATRF) {
      *why = Missing("the attribute-file figure", h);
      return false;
    }
    if (KindOf(h) == Kind::kContour && fig.HasContour() == 0) {
      *why = Missing("the contour attribute", h);
      return false;
    }
    if (KindOf(h) == Kind::kRaster && fig.HasImage() == 0) {
      *why = Missing("the image attribute", h);
      return false;
    }
    if (d.adb->IsTarget(TargetOf(h, d.figures)) == 0) {
      *why = Missing("the target count", h);
      return false;
    }
  }
  SxfTitleInfo title;
  d.adb->GetTitleInfo(title, nullptr);
  if (title.projectName.str() != kTitleLines[0].text || title.year != 2005) {
    *why = "the title block";
    return false;
  }
  return true;
}
