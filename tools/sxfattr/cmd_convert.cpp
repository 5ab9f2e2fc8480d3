#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <string>

#include "atomic_output.h"
#include "commands.h"
#include "section_loader.h"
#include "section_writer.h"

namespace {

struct ConvertOptions {
  std::string in;
  std::string out;
};

void RunConvert(const ConvertOptions& options) {
  LoadedSection section = LoadSectionFile(options.in);
  for (const std::string& message : section.messages)
    std::cerr << "sxfattr: " << options.in << ": " << message << '\n';
  const WrittenSection written = WriteStoredFigures(*section.drawing, options.out);
  if (written.leftOut > 0) {
    std::cerr << "sxfattr: " << options.in << ": " << written.leftOut
              << " figure(s) stored without a record handle left out (no record can carry them)\n";
  }
  WriteFileAtomically(options.out, written.Data(), written.Size());
  KeepUntilExit(std::move(section.drawing));
}

}  // namespace

void AddConvertCommand(CLI::App& app) {
  auto options = std::make_shared<ConvertOptions>();
  CLI::App* cmd = app.add_subcommand(
      "convert",
      "Read a section of either layout and write it in the new layout, figures in ascending handle order");
  cmd->add_option("IN", options->in, "The section to read")->required();
  cmd->add_option("OUT", options->out, "The section to write (replaced only on success)")->required();
  cmd->callback([options] { RunConvert(*options); });
}
