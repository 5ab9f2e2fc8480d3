// Entries of the figure readers: the old record through ZCdbAttrFigureReadVer3 (which runs
// SxfZCdbFigure::Read on a new figure) and the new record through SxfZCdbFigure::NewRead.
//
// A figure that reads must write and read back (CheckOldRoundTrip, CheckNewRoundTrip). The copy
// must be IsSame only when the figure's type byte names the class of the object it holds: a
// writer stores type 0 without the object when the object is not of its type's class, and a
// type 3 over a user attribute as the stub part of it (SxfZCdbFigure::StoredType), so type 3 is
// as-is only without one.
#include <memory>

#include "entries/entry_support.h"
#include "entries/reader_entries.h"
#include "model/figure.h"

namespace {

bool IsStoredAsIs(const SxfZCdbFigure& fig) {
  switch (fig.GetAttrType()) {
    case SXF_ATTR_NONE:
      return !fig.ATRF_GetAttr() && !fig.ATRU_GetAttr() && !fig.ATRS_GetAttr();
    case SXF_ATTR_ATRF:
      return fig.ATRF_GetAttr() != nullptr;
    case SXF_ATTR_ATRU:
      return fig.ATRU_GetAttr() != nullptr;
    case SXF_ATTR_ATRS:
      return fig.ATRS_GetAttr() != nullptr && !fig.ATRU_GetAttr();
    default:
      return false;
  }
}

bool SameFigure(SxfZCdbFigure& read, SxfZCdbFigure& copy) {
  return !IsStoredAsIs(read) || read.IsSame(copy, 0) == 1;
}

}  // namespace

ReadResult ReadOldFigure(const uint8_t* data, size_t size) {
  EntryDatabase db;
  SxfZCdbFigure* read;
  {
    InputFile in(data, size);
    MeteredRun metered(size);
    read = ZCdbAttrFigureReadVer3(in.get(), db.get());
  }
  if (!read) return Outcome(ReadOutcome::kRejected);
  std::unique_ptr<SxfZCdbFigure> fig(read);
  return ReadWithPromises(CheckOldRoundTrip(
      *fig, [](CFile* f, SxfZCdbFigure& copy) { return copy.Read(f, EntryDatabase().get()); },
      [](CFile* f, SxfZCdbFigure& value) { return value.Write(f); }, SameFigure));
}

ReadResult ReadNewFigure(const uint8_t* data, size_t size) {
  EntryDatabase db;
  SxfZCdbFigure fig;
  ReadResult result;
  {
    MeteredRun metered(size);
    result = ReadArchive(data, size, [&](CArchive& ar) { return fig.NewRead(ar, db.get()); });
  }
  if (result.outcome != ReadOutcome::kRead || !result.problem.empty()) return result;
  return ReadWithPromises(CheckNewRoundTrip(
      fig, [](CArchive& ar, SxfZCdbFigure& copy) { return copy.NewRead(ar, EntryDatabase().get()); },
      [](CArchive& ar, SxfZCdbFigure& value) { return value.NewWrite(ar); }, SameFigure));
}
