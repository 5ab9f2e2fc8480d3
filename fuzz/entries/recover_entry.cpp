// Entry of the recovery reader (persist/section_read.h, RecoverDrawingSection), which the tool's
// recover command runs on damaged sections of either layout. The input is the section as a file
// stores it.
//
// Promises held: the reader never raises for damaged data; what it kept writes as a section
// without a failure; recovering that section drops nothing, keeps the same handles and saves the
// very same bytes again (a save stores each figure as the writer stores it, an unknown type as
// none, so the second save is the one to compare).
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "entries/entry_drawing.h"
#include "entries/entry_support.h"
#include "entries/reader_entries.h"
#include "model/figure.h"
#include "persist/section_read.h"

namespace {

class CountingLog : public SectionRecoveryLog {
 public:
  void Dropped(uint64_t, const std::string&) override { ++count; }
  int count = 0;
};

// The stored figures of a database, ascending by handle.
std::vector<std::pair<DWORD, const SxfZCdbFigure*>> Figures(const SxfZCdbAttrDB& adb) {
  std::vector<std::pair<DWORD, const SxfZCdbFigure*>> figures;
  POSITION pos = adb.GetFirstEntry();
  while (pos != nullptr) {
    DWORD handle = 0;
    const SxfZCdbFigure* fig = nullptr;
    adb.GetNextEntry(pos, handle, fig);
    if (fig != nullptr) figures.emplace_back(handle, fig);
  }
  std::sort(figures.begin(), figures.end());
  return figures;
}

// What a drawing holding the recovered figures saves: every stored handle gets a plain record
// (the entry drawing's own records stay), so the writer finds each figure.
std::string Save(EntryDrawing& drawing, std::string& problem) {
  for (const auto& [handle, fig] : Figures(drawing.adb())) {
    if (drawing.db().FindRecord(handle) != nullptr) continue;
    ZCdbTbl* rec = new ZCdbTbl;
    if (drawing.db().LoadRecord(rec, handle) == 0) delete rec;
  }
  CMemFile file;
  try {
    if (drawing.adb().Write(0, &file, &drawing.db()) == 0) problem = "what was recovered does not write";
  } catch (CException& e) {
    problem = std::string("the writer raised ") + e.what();
  }
  return FileBytes(file);
}

}  // namespace

ReadResult RecoverSection(const uint8_t* data, size_t size) {
  SilentMessages silent;
  EntryDrawing drawing;
  CountingLog dropped;
  InputFile file(data, size);
  ReadResult result;
  {
    MeteredRun metered(size);
    result = RunRead([&] { return RecoverDrawingSection(drawing.adb(), file.get(), dropped); });
  }
  if (!result.problem.empty()) return result;
  if (result.outcome == ReadOutcome::kEndOfFile || result.outcome == ReadOutcome::kBadSchema)
    return Problem(result.outcome, "the recovery raised for damaged data");
  if (!drawing.adb().FlagsClean())
    return Problem(result.outcome, "an entry keeps a flag bit after the recovery");

  std::string problem;
  const std::string saved = Save(drawing, problem);
  if (!problem.empty()) return Problem(result.outcome, problem);
  if (result.outcome != ReadOutcome::kRead) return result;

  EntryDrawing again;
  CountingLog droppedAgain;
  InputFile savedFile(saved);
  if (RecoverDrawingSection(again.adb(), savedFile.get(), droppedAgain) == 0 || droppedAgain.count != 0)
    return Problem(result.outcome, "the saved recovery does not read back whole");
  const auto kept = Figures(drawing.adb());
  const auto back = Figures(again.adb());
  if (kept.size() != back.size()) return Problem(result.outcome, "the saved recovery lost or gained figures");
  for (size_t i = 0; i < kept.size(); ++i) {
    if (kept[i].first != back[i].first)
      return Problem(result.outcome, "the saved recovery holds other handles");
  }
  if (Save(again, problem) != saved || !problem.empty())
    return Problem(result.outcome, "the saved recovery saves other bytes");
  return result;
}
