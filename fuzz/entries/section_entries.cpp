// Entries of the section readers of the attribute database: the drawing-file section
// (SxfZCdbAttrDB::Read(mode, CFile*, ZCdb*)) in its tagged and its old layout, and the
// copy-buffer section (Read(CFile*, ZCdbBuff*) for the tagged form, ReadOldBuff for the old one).
//
// The first input byte picks how the section is read, the rest is the section as a file stores
// it:
//
//   target             bit 0 of the first byte
//   drawing sections   0: mode 0, into a drawing that already holds a figure;
//                      1: mode 1 (a temporary read) into a fresh drawing, then AfterReadTmp
//   copy buffer        0: the tagged form; 1: the old handle-prefixed form
//
// The new-layout entry takes only sections whose version is that of the tagged layout or later,
// the old-layout entry only the others; an input of the other kind is rejected unread, so each
// target keeps to its own layout.
//
// Whatever a read leaves behind, the writer must store it without crashing. Promises held
// besides: no entry keeps a flag bit that no entry may hold (the read mark included), and a
// section that read writes bytes that read into a fresh drawing of the same records, which
// writes the very same bytes again (after as many saves as title elements sharing a line need to
// take lines of their own, see CheckSectionRoundTrip).
#include <string>
#include <utility>

#include "entries/entry_drawing.h"
#include "entries/entry_support.h"
#include "entries/reader_entries.h"
#include "persist/section_walk.h"
#include "title/title_items.h"

namespace {

// Runs write (returning the writer's int) into a memory file; problem receives what went wrong.
// raised, when given, tells whether the writer raised an exception (a memory file never fails, so
// no writer has a reason to) rather than answering 0.
template <class Write>
std::string WriteSection(Write&& write, std::string& problem, bool* raised = nullptr) {
  CMemFile file;
  try {
    if (write(static_cast<CFile*>(&file)) == 0) problem = "the writer failed on what was read";
  } catch (CException& e) {
    problem = std::string("the writer raised ") + e.what();
    if (raised) *raised = true;
  }
  return FileBytes(file);
}

DWORD SectionVersion(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  return static_cast<DWORD>(data[0]) | static_cast<DWORD>(data[1]) << 8 | static_cast<DWORD>(data[2]) << 16 |
         static_cast<DWORD>(data[3]) << 24;
}

// Reads a drawing section that a writer stored into a fresh drawing and writes it again, until
// the bytes come back unchanged; the problem text when they do not. A save may change what it
// wrote before only when the drawing that wrote it had two title elements on one line
// (sharedLine for the first): the later one took the line and the other kept its name, which the
// next load reads as another line.
std::string CheckSectionRoundTrip(std::string written, bool sharedLine) {
  // Each save lets at least one more element of a shared line take a line of its own; an item
  // keeps nine lines at most.
  for (int save = 0; save < kSxfTitleItemCount * 9 + 1; ++save) {
    EntryDrawing again;
    InputFile in(written);
    const ReadResult back = RunRead([&] { return again.adb().Read(0, in.get(), &again.db()); });
    if (back.outcome != ReadOutcome::kRead) {
      return std::string("what was written does not read back: ") + OutcomeName(back.outcome) + " " +
             back.problem;
    }
    if (!in.AtEnd()) return "reading back stops before the end of what was written";
    const bool sharedAgain = again.adb().SharesTitleLine();
    std::string problem;
    std::string rewritten =
        WriteSection([&](CFile* f) { return again.adb().Write(0, f, &again.db()); }, problem);
    if (!problem.empty()) return problem + " (read back)";
    if (rewritten == written) return std::string();
    if (!sharedLine) return "what was read back writes other bytes";
    written = std::move(rewritten);
    sharedLine = sharedAgain;
  }
  return "the title elements of what was written never settle";
}

ReadResult ReadDrawingSection(const uint8_t* data, size_t size, bool newLayout) {
  SelectedInput in;
  if (!SelectReader(data, size, 2, in)) return Outcome(ReadOutcome::kRejected);
  const bool tagged = LayoutOfVersion(SectionVersion(in.data, in.size)) == SectionLayout::kTagged;
  if (tagged != newLayout) return Outcome(ReadOutcome::kRejected);
  const int mode = static_cast<int>(in.selector);
  SilentMessages silent;
  EntryDrawing drawing(mode == 0);
  InputFile file(in.data, in.size);
  ReadResult result;
  {
    MeteredRun metered(size);
    result = RunRead([&] {
      const int ok = drawing.adb().Read(mode, file.get(), &drawing.db());
      // A temporary read leaves counting and binding to the host's next call.
      return ok != 0 && mode != 0 ? drawing.adb().AfterReadTmp(&drawing.db()) : ok;
    });
  }
  if (!result.problem.empty()) return result;
  if (!drawing.adb().FlagsClean()) return Problem(result.outcome, "an entry keeps a flag bit after the read");
  const bool sharedLine = drawing.adb().SharesTitleLine();
  std::string problem;
  bool raised = false;
  const std::string written =
      WriteSection([&](CFile* f) { return drawing.adb().Write(0, f, &drawing.db()); }, problem, &raised);
  // After a failed read the writer may answer 0 (a figure may name a definition the read never
  // reached), but it must not raise.
  if (raised) return Problem(result.outcome, problem);
  if (result.outcome != ReadOutcome::kRead) return result;
  if (!problem.empty()) return Problem(result.outcome, problem);
  return ReadWithPromises(CheckSectionRoundTrip(written, sharedLine));
}

}  // namespace

ReadResult ReadNewSection(const uint8_t* data, size_t size) {
  return ReadDrawingSection(data, size, true);
}

ReadResult ReadOldSection(const uint8_t* data, size_t size) {
  return ReadDrawingSection(data, size, false);
}

ReadResult ReadCopyBuffer(const uint8_t* data, size_t size) {
  SelectedInput in;
  if (!SelectReader(data, size, 2, in)) return Outcome(ReadOutcome::kRejected);
  const bool oldForm = in.selector == 1;
  EntryDrawing drawing;
  ZCdbBuff buff = drawing.Buffer();
  InputFile file(in.data, in.size);
  ReadResult result;
  {
    MeteredRun metered(size);
    result = RunRead([&] {
      return oldForm ? drawing.adb().ReadOldBuff(file.get(), &buff) : drawing.adb().Read(file.get(), &buff);
    });
  }
  if (!result.problem.empty()) return result;
  if (!drawing.adb().FlagsClean()) return Problem(result.outcome, "an entry keeps a flag bit after the read");
  std::string problem;
  bool raised = false;
  const std::string written =
      WriteSection([&](CFile* f) { return drawing.adb().Write(f, &buff); }, problem, &raised);
  if (raised) return Problem(result.outcome, problem);
  if (result.outcome != ReadOutcome::kRead) return result;
  if (!problem.empty()) return Problem(result.outcome, problem);

  // The tagged form that was written reads into a fresh buffer and writes the same bytes again.
  EntryDrawing again;
  ZCdbBuff againBuff = again.Buffer();
  InputFile back(written);
  const ReadResult reread = RunRead([&] { return again.adb().Read(back.get(), &againBuff); });
  if (reread.outcome != ReadOutcome::kRead) {
    return Problem(result.outcome, std::string("what was written does not read back: ") +
                                       OutcomeName(reread.outcome) + " " + reread.problem);
  }
  if (!back.AtEnd()) return Problem(result.outcome, "reading back stops before the end of what was written");
  const std::string rewritten =
      WriteSection([&](CFile* f) { return again.adb().Write(f, &againBuff); }, problem);
  if (!problem.empty()) return Problem(result.outcome, problem + " (read back)");
  if (rewritten != written) return Problem(result.outcome, "what was read back writes other bytes");
  return result;
}
