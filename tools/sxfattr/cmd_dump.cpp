#include <CLI/CLI.hpp>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

#include "commands.h"
#include "json_document.h"
#include "progress.h"
#include "sample_files.h"
#include "section_loader.h"
#include "text_view.h"
#include "tool_error.h"

namespace {

struct DumpOptions {
  bool json = false;
  bool summary = false;
  std::string handle;
  std::string file;
};

// A record handle in decimal or with a 0x prefix in hex; a leading 0 is not octal, as a user
// copying a handle from a listing would expect.
DWORD ParseHandle(const std::string& text) {
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const std::string digits = hex ? text.substr(2) : text;
  char* end = nullptr;
  errno = 0;
  const unsigned long long value = std::strtoull(digits.c_str(), &end, hex ? 16 : 10);
  if (digits.empty() || digits[0] == '-' || digits[0] == '+' || *end != '\0' || errno != 0 ||
      value > 0xFFFFFFFFull) {
    throw ToolError(kExitUsage,
                    "--handle: \"" + text + "\" is not a record handle (decimal, or hex with 0x)");
  }
  return static_cast<DWORD>(value);
}

void RunDump(const DumpOptions& options) {
  const DWORD handle = options.handle.empty() ? 0 : ParseHandle(options.handle);
  const std::string path = options.file.empty() ? BundledSamplePath() : options.file;
  if (options.summary) {
    // Counting needs no figure kept: the section is read figure by figure and let go.
    const SectionTally tally = TallySectionFile(path);
    for (const std::string& message : tally.messages)
      std::cerr << "sxfattr: " << path << ": " << message << '\n';
    if (options.json) {
      std::cout << SummaryToJson(tally.head, tally.figures).dump(2) << '\n';
    } else {
      WriteSummaryText(std::cout, tally.head, tally.figures);
    }
    return;
  }
  LoadedSection section = LoadSectionFile(path);
  for (const std::string& message : section.messages)
    std::cerr << "sxfattr: " << path << ": " << message << '\n';
  const SectionContent content = section.Content();

  if (!options.handle.empty()) {
    for (const FigureRef& ref : content.figures) {
      if (ref.handle != handle) continue;
      if (options.json) {
        std::cout << FigureToJson(ref).dump(2) << '\n';
      } else {
        WriteFigureText(std::cout, ref, content, 0);
      }
      KeepUntilExit(std::move(section.drawing));
      return;
    }
    throw ToolError(kExitInput, path + ": no figure is stored under handle " + std::to_string(handle));
  }
  {
    Progress progress("printing " + path, content.figures.size(), "figures",
                      content.figures.size() > kProgressFigures);
    if (options.json) {
      WriteJsonDocument(std::cout, content, &progress);
    } else {
      WriteTextView(std::cout, content, &progress);
    }
  }
  KeepUntilExit(std::move(section.drawing));
}

}  // namespace

void AddDumpCommand(CLI::App& app) {
  auto options = std::make_shared<DumpOptions>();
  CLI::App* cmd = app.add_subcommand(
      "dump", "Print a drawing-file attribute section (old or new layout) as a text tree or as JSON");
  cmd->add_flag("--json", options->json, "Print the JSON document that import reads");
  CLI::Option* summary = cmd->add_flag("--summary", options->summary,
                                       "Leave out the figure bodies and count the figures by type");
  CLI::Option* handle = cmd->add_option("--handle", options->handle,
                                        "Show only the figure of record handle H (decimal, or 0x hex)")
                            ->type_name("H");
  summary->excludes(handle);
  cmd->add_option("FILE", options->file, "The section file (default: the bundled sample)");
  cmd->callback([options] { RunDump(*options); });
}
