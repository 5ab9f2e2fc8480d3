// export: every attribute of a section as a row, with the title and the set definitions, as a
// CSV file (csv_output.h) or a workbook (workbook_output.h). export_tables.h lists the columns.
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <string>

#include "commands.h"
#include "csv_output.h"
#include "section_loader.h"
#include "tool_error.h"
#include "workbook_output.h"

namespace {

struct ExportOptions {
  std::string file;
  std::string csv;
  std::string xlsx;
  std::string encoding = "utf-8";
};

void RunExport(const ExportOptions& options) {
  if (options.csv.empty() == options.xlsx.empty())
    throw ToolError(kExitUsage, "export: give exactly one of --csv OUT and --xlsx OUT");
  if (!options.xlsx.empty() && options.encoding != "utf-8")
    throw ToolError(kExitUsage, "export: --encoding is for --csv; a workbook always holds UTF-8");

  const LoadedSection section = LoadSectionFile(options.file);
  for (const std::string& message : section.messages)
    std::cerr << "sxfattr: " << options.file << ": " << message << '\n';
  const SectionContent content = section.Content();
  if (!options.csv.empty()) {
    WriteCsvFile(options.csv, content,
                 options.encoding == "sjis" ? TextEncoding::kSjis : TextEncoding::kUtf8);
  } else {
    WriteWorkbookFile(options.xlsx, content);
  }
}

}  // namespace

void AddExportCommand(CLI::App& app) {
  auto options = std::make_shared<ExportOptions>();
  CLI::App* cmd = app.add_subcommand(
      "export",
      "Write every attribute of a section as a row, with the title and the set definitions, to a "
      "CSV file or a workbook");
  cmd->add_option("FILE", options->file, "The section file (either layout)")->required();
  cmd->add_option("--csv", options->csv, "Write a CSV file (RFC 4180) to OUT")->type_name("OUT");
  cmd->add_option("--xlsx", options->xlsx, "Write a workbook to OUT")->type_name("OUT");
  cmd->add_option(
         "--encoding", options->encoding,
         "CSV text encoding: utf-8 (with a byte-order mark, the default) or sjis (Shift-JIS, code page "
         "932)")
      ->check(CLI::IsMember({"utf-8", "sjis"}));
  cmd->footer(
      "The CSV file holds three tables, each a header row and its rows, separated by one empty line: the "
      "title (field, value), the set definitions (id, name, version, designer) and the attributes (handle, "
      "figure name, attribute type, set id, set name, group path, attribute name, type, unit, kind, value, "
      "zukeiName, target handle). The workbook holds them as the sheets Title, Set definitions and "
      "Attributes. A text that is not valid Shift-JIS is written as {\"sjis\":\"<hex bytes>\"}. OUT is "
      "replaced only when the whole output is written.");
  cmd->callback([options] { RunExport(*options); });
}
