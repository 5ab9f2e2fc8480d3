// diff: what changed from section A to section B, by meaning. section_diff.h says what is
// compared and how children are paired, diff_output.h how the changes are shown.
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <string>

#include "commands.h"
#include "diff_output.h"
#include "section_diff.h"
#include "section_loader.h"
#include "tool_error.h"

namespace {

struct DiffOptions {
  std::string a;
  std::string b;
  bool json = false;
};

LoadedSection Load(const std::string& path) {
  LoadedSection section = LoadSectionFile(path);
  for (const std::string& message : section.messages)
    std::cerr << "sxfattr: " << path << ": " << message << '\n';
  return section;
}

void RunDiff(const DiffOptions& options) {
  const LoadedSection a = Load(options.a);
  const LoadedSection b = Load(options.b);
  const SectionContent contentA = a.Content();
  const SectionContent contentB = b.Content();
  const std::vector<DiffChange> changes = DiffSections(contentA, contentB);

  if (options.json) {
    WriteDiffJson(std::cout, changes);
  } else {
    WriteDiffText(std::cout, changes, contentA, contentB);
  }
  FinishOutput();
  if (!changes.empty()) {
    throw ToolError(kExitProblems, options.a + " and " + options.b +
                                       " differ: " + std::to_string(changes.size()) +
                                       (changes.size() == 1 ? " change" : " changes"));
  }
  std::cerr << "sxfattr: " << options.a << " and " << options.b << " hold the same attributes\n";
}

}  // namespace

void AddDiffCommand(CLI::App& app) {
  auto options = std::make_shared<DiffOptions>();
  CLI::App* cmd = app.add_subcommand("diff",
                                     "Show what changed from section A to section B by meaning: title "
                                     "fields, set definitions by id, figures "
                                     "by handle");
  cmd->add_option("A", options->a, "The earlier section (either layout)")->required();
  cmd->add_option("B", options->b, "The later section (either layout)")->required();
  cmd->add_flag("--json", options->json, "One JSON object per change and line, for scripts");
  cmd->footer(
      "Inside a figure, set references pair by RefId, groups and attributes by name and their occurrence "
      "among siblings of that name, so an inserted attribute shows as one addition. The section layout and "
      "version are not compared. Exit status 0 when A and B hold the same attributes, 3 when they differ.");
  cmd->callback([options] { RunDiff(*options); });
}
