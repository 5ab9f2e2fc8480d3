// The generated drawing every measurement of the performance table works on.
//
// A drawing of n figures under record handles 1..n, held by the host stand-in. Each figure is an
// attribute-file figure with one set reference of six attributes: five values and one target to
// another figure (TargetOf). Every 50th record is a contour record whose figure also carries a
// contour attribute, or a raster element whose figure also carries an image attribute, the two
// taking turns. Records n+1 onwards are the string elements of a title block; their title items
// are also the drawing's stored title info.
//
// BuildSource makes the drawing with its figures, as an editing session leaves it; BuildRecords
// makes the same host records under the same handles with no attributes, as a host holds a
// drawing after loading its own records and before it reads the attribute section.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "attrdb/attrdb.h"
#include "host/host.h"
#include "model/figure.h"

struct WorkloadDrawing {
  CEnvironObj env{"/data"};  // outlives the drawing
  ZCdb db;
  SxfZCdbAttrDB* adb = nullptr;  // owned by db
  DWORD figures = 0;
  CString refId;  // the set definition the figures reference (BuildSource only)
  // recs[h - 1] is the record of handle h, the title elements included.
  std::vector<ZCdbRecBase*> recs;

  WorkloadDrawing();
  WorkloadDrawing(const WorkloadDrawing&) = delete;
  WorkloadDrawing& operator=(const WorkloadDrawing&) = delete;

  ZCdbRecBase* Record(DWORD handle) const { return recs[handle - 1]; }
};

// Number of title elements after the figures.
constexpr DWORD kTitleElements = 6;

// The figure that handle's target attribute points at: spread over the whole drawing, so the
// target count of a load touches the map everywhere, never the figure itself.
DWORD TargetOf(DWORD handle, DWORD figures);

// The figure of handle in a drawing of figures figures, for the set definition refId.
SxfZCdbFigure FigureFor(DWORD handle, DWORD figures, const char* refId);

std::unique_ptr<WorkloadDrawing> BuildSource(DWORD figures);
// True when d shows the generated drawing: a sample of about a thousand figures spread over it
// (special ones among them) has its figure, special attribute and counted target, and the title
// info is there. Otherwise false, with the first thing missing in *why.
bool HoldsWorkload(WorkloadDrawing& d, std::string* why);
std::unique_ptr<WorkloadDrawing> BuildRecords(DWORD figures);
