// Entry of the target definition readers (SxfZCdbTarget). The first input byte picks the reader:
// bit 0 clear the old record (Read), set the new one (NewRead); bit 1 set reads into a definition
// that already holds two entries instead of a fresh one.
//
// Promises held besides the round trip: a failed old read leaves the list empty; the new reader
// never answers 0 and appends to the entries it found, which stay as they were.
#include <cstring>

#include "entries/entry_support.h"
#include "entries/reader_entries.h"
#include "model/target.h"

namespace {

constexpr unsigned kTargetDefReaders = 4;

bool SameTarget(const SxfZCdbTarget& a, const SxfZCdbTarget& b) {
  // The texts are only reachable as C strings; memos compare with every byte.
  if (std::strcmp(a.GetName(), b.GetName()) != 0 || std::strcmp(a.GetVersion(), b.GetVersion()) != 0 ||
      std::strcmp(a.GetDesigner(), b.GetDesigner()) != 0 || a.GetCnt() != b.GetCnt()) {
    return false;
  }
  for (int i = 0; i < a.GetCnt(); ++i) {
    const RecTargetData& x = a.GetData(i);
    const RecTargetData& y = b.GetData(i);
    if (x.handle != y.handle || x.memo != y.memo) return false;
  }
  return true;
}

RecTargetData PresetEntry(int i) {
  RecTargetData rec;
  rec.handle = 100 + static_cast<DWORD>(i);
  rec.memo = i ? "second" : "first";
  return rec;
}

}  // namespace

ReadResult ReadTargetDef(const uint8_t* data, size_t size) {
  SelectedInput in;
  if (!SelectReader(data, size, kTargetDefReaders, in)) return Outcome(ReadOutcome::kRejected);
  const bool newFormat = (in.selector & 1) != 0;
  const int preset = (in.selector & 2) != 0 ? 2 : 0;
  SxfZCdbTarget target;
  for (int i = 0; i < preset; ++i) target.AddData(PresetEntry(i));

  if (!newFormat) {
    InputFile file(in.data, in.size);
    int ok;
    {
      MeteredRun metered(size);
      ok = target.Read(file.get());
    }
    if (!ok) {
      return target.GetCnt() == 0 ? Outcome(ReadOutcome::kRejected)
                                  : Problem(ReadOutcome::kRejected, "a failed read left entries in the list");
    }
    // The old record stores an empty text as no text, and reading no text keeps a new definition's
    // version "1.0": a definition read with an empty version comes back as "1.0" by design.
    if (!*target.GetVersion()) target.SetVersion("1.0");
    return ReadWithPromises(CheckOldRoundTrip(
        target, [](CFile* f, SxfZCdbTarget& copy) { return copy.Read(f); },
        [](CFile* f, SxfZCdbTarget& value) { return value.Write(f); }, SameTarget));
  }

  ReadResult r;
  {
    MeteredRun metered(size);
    r = ReadArchive(in.data, in.size, [&](CArchive& ar) { return target.NewRead(ar); });
  }
  if (r.outcome == ReadOutcome::kRejected && r.problem.empty()) r.problem = "the new reader answered 0";
  if (r.problem.empty() && target.GetCnt() < preset) r.problem = "the new reader dropped entries it found";
  for (int i = 0; r.problem.empty() && i < preset && i < target.GetCnt(); ++i) {
    const RecTargetData& rec = target.GetData(i);
    if (rec.handle != PresetEntry(i).handle || rec.memo != PresetEntry(i).memo) {
      r.problem = "the new reader changed an entry it found";
    }
  }
  if (r.outcome != ReadOutcome::kRead || !r.problem.empty()) return r;
  return ReadWithPromises(CheckNewRoundTrip(
      target, [](CArchive& ar, SxfZCdbTarget& copy) { return copy.NewRead(ar); },
      [](CArchive& ar, SxfZCdbTarget& value) { return value.NewWrite(ar); }, SameTarget));
}
