// recover: keeps everything a damaged section still holds. Every figure, set definition and the
// title that read whole are written to a clean new-layout section; one line on standard output
// names each thing dropped, with the byte where it stands and why, as check's findings do.
//
// The reading is the plug-in's own (persist/section_read.h, RecoverDrawingSection): in the tagged
// layout an entry that does not read is stepped over by its block length; in the old layouts,
// which carry no lengths, reading ends at the first damaged record. Exit 0 when nothing was
// dropped, 3 when something was, 1 when nothing could be read at all.
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "atomic_output.h"
#include "commands.h"
#include "persist/section_read.h"
#include "section_loader.h"
#include "section_writer.h"
#include "tool_error.h"

namespace {

struct RecoverOptions {
  std::string in;
  std::string out;
};

class DroppedLines : public SectionRecoveryLog {
 public:
  void Dropped(uint64_t offset, const std::string& why) override { lines_.emplace_back(offset, why); }
  const std::vector<std::pair<uint64_t, std::string>>& Lines() const { return lines_; }

 private:
  std::vector<std::pair<uint64_t, std::string>> lines_;
};

void RunRecover(const RecoverOptions& options) {
  const std::vector<BYTE> bytes = ReadFileBytes(options.in);
  HostDrawing drawing;
  DroppedLines dropped;
  int read = 0;
  {
    CMemFile file(const_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    read = RecoverDrawingSection(drawing.Attr(), &file, dropped);
  }
  for (const auto& [offset, why] : dropped.Lines())
    std::cout << options.in << ": at byte " << offset << ": " << why << '\n';
  FinishOutput();
  if (read == 0) {
    const std::string why = dropped.Lines().empty() ? "nothing in it reads" : dropped.Lines().front().second;
    throw ToolError(kExitInput, options.in + ": nothing could be recovered: " + why);
  }

  const WrittenSection written = WriteStoredFigures(drawing, options.out);
  WriteFileAtomically(options.out, written.Data(), written.Size());
  const size_t count = dropped.Lines().size() + written.leftOut;
  if (count > 0) {
    throw ToolError(kExitProblems, options.in + ": " + std::to_string(written.figures) + " figures kept, " +
                                       std::to_string(count) + (count == 1 ? " thing" : " things") +
                                       " dropped");
  }
  std::cerr << "sxfattr: " << options.in << ": nothing dropped, " << written.figures << " figures kept\n";
}

}  // namespace

void AddRecoverCommand(CLI::App& app) {
  auto options = std::make_shared<RecoverOptions>();
  CLI::App* cmd = app.add_subcommand(
      "recover",
      "Write what a damaged section still holds to a clean new-layout section; list what is dropped");
  cmd->add_option("IN", options->in, "The damaged section")->required();
  cmd->add_option("OUT", options->out, "The section to write (replaced only on success)")->required();
  cmd->callback([options] { RunRecover(*options); });
}
