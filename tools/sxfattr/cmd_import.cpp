// import: a section built from a JSON document, written as convert writes.
//
// The figures go through two drawings. In the first they are attached to stand-in records with
// SetRecFigure, as any caller attaches attributes; that binds them to those records. The
// plug-in's copy-buffer writer then stores them and its reader puts them into a second drawing
// without binding them to anything (the buffer it binds to is empty), which leaves them as a
// section read from a file leaves them. The second drawing gets the title and the set
// definitions and is written like convert writes (section_writer.h says why unbound figures
// matter). Every byte of the result therefore comes from the plug-in's own readers and writers.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "atomic_output.h"
#include "commands.h"
#include "json_document.h"
#include "progress.h"
#include "section_loader.h"
#include "section_writer.h"
#include "tool_error.h"

namespace {

struct ImportOptions {
  std::string json;
  std::string out;
};

Json ParseDocument(const std::string& path) {
  const std::vector<BYTE> bytes = ReadFileBytes(path);
  try {
    return Json::parse(bytes.begin(), bytes.end());
  } catch (const Json::parse_error& e) {
    // nlohmann's text starts with its own error code in brackets; the offset is given apart.
    std::string what = e.what();
    const size_t colon = what.find(": ");
    if (colon != std::string::npos) what = what.substr(colon + 2);
    throw ToolError(kExitInput, path + ": at byte " + std::to_string(e.byte) + ": not valid JSON: " + what);
  } catch (const Json::out_of_range& e) {
    // A number too large for a double; the parser does not say where it stands.
    std::string what = e.what();
    const size_t bracket = what.find("] ");
    if (bracket != std::string::npos) what = what.substr(bracket + 2);
    throw ToolError(kExitInput, path + ": not valid JSON: " + what);
  }
}

// The registry refuses a second definition with the same numeric id or the same name, version
// and designer; say which entries clash before the plug-in is asked.
void CheckSetDefinitions(const ImportedSection& section, const std::string& path) {
  std::map<long, size_t> byId;
  std::map<std::tuple<std::string, std::string, std::string>, size_t> byTexts;
  for (size_t i = 0; i < section.setDefinitions.size(); ++i) {
    const SxfZCdbAttrSetDef& def = section.setDefinitions[i];
    const std::string where = path + ": setDefinitions[" + std::to_string(i) + "]: ";
    const auto id = byId.emplace(static_cast<long>(std::atoi(def.id)), i);
    if (!id.second) {
      throw ToolError(kExitInput, where + "id \"" + def.id.str() + "\" is the number of setDefinitions[" +
                                      std::to_string(id.first->second) + "] too");
    }
    const auto texts =
        byTexts.emplace(std::make_tuple(def.name.str(), def.version.str(), def.designer.str()), i);
    if (!texts.second) {
      throw ToolError(kExitInput, where + "the same name, version and designer as setDefinitions[" +
                                      std::to_string(texts.first->second) + "]");
    }
  }
}

// The figures in ascending handle order; a handle listed twice is an error.
std::vector<const ImportedFigure*> SortedFigures(const ImportedSection& section, const std::string& path) {
  std::vector<const ImportedFigure*> sorted;
  sorted.reserve(section.figures.size());
  for (const ImportedFigure& fig : section.figures) sorted.push_back(&fig);
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const ImportedFigure* a, const ImportedFigure* b) { return a->handle < b->handle; });
  for (size_t i = 1; i < sorted.size(); ++i) {
    if (sorted[i]->handle != sorted[i - 1]->handle) continue;
    const size_t first = static_cast<size_t>(sorted[i - 1] - section.figures.data());
    const size_t second = static_cast<size_t>(sorted[i] - section.figures.data());
    throw ToolError(kExitInput, path + ": figures[" + std::to_string(second) + "].handle: handle " +
                                    std::to_string(sorted[i]->handle) + " is listed twice (also figures[" +
                                    std::to_string(first) + "])");
  }
  return sorted;
}

// The document tree takes several times the file's size; it is gone once the section is built.
ImportedSection ReadDocument(const std::string& path) {
  const Json doc = ParseDocument(path);
  try {
    return SectionFromJson(doc);
  } catch (const JsonSchemaError& e) {
    throw ToolError(kExitInput, path + ": " + e.what());
  }
}

void RunImport(const ImportOptions& options) {
  ImportedSection section = ReadDocument(options.json);
  CheckSetDefinitions(section, options.json);

  // Attach in a first drawing and carry the figures over through the copy buffer.
  CMemFile buffer;
  {
    const std::vector<const ImportedFigure*> figures = SortedFigures(section, options.json);
    HostDrawing attached;
    ZCdbBuff records;
    Progress progress("attaching figures", figures.size(), "figures", figures.size() > kProgressFigures);
    for (size_t i = 0; i < figures.size(); ++i) {
      ZCdbTbl* rec = new ZCdbTbl;
      if (attached.Db().LoadRecord(rec, figures[i]->handle) == 0) {
        delete rec;
        throw ToolError(kExitInput, options.json + ": the host refused a record for handle " +
                                        std::to_string(figures[i]->handle));
      }
      if (attached.Attr().SetRecFigure(rec, *figures[i]->figure) == ZCDB_NO_HANDLE) {
        throw ToolError(kExitInput, options.json + ": the plug-in did not attach the figure of handle " +
                                        std::to_string(figures[i]->handle));
      }
      records.Add(rec);
      progress.Update(i + 1);
    }
    try {
      attached.Attr().Write(&buffer, &records);
    } catch (CException&) {
      throw ToolError(kExitInput,
                      options.out + ": the plug-in could not store the figures in the copy buffer");
    }
  }
  section.figures.clear();  // the copy buffer holds them now

  HostDrawing drawing;
  buffer.SeekToBegin();
  ZCdbBuff none;
  int ok = 0;
  try {
    ok = drawing.Attr().Read(&buffer, &none);
  } catch (CException&) {
    ok = 0;
  }
  if (!ok) throw ToolError(kExitInput, options.out + ": the plug-in could not read back its own copy buffer");
  drawing.Attr().SetTitleInfo(section.title, nullptr);
  SxfZCdbAttrDB::SetDefIndexScope byName(drawing.Attr());
  for (size_t i = 0; i < section.setDefinitions.size(); ++i) {
    if (drawing.Attr().AddAttrSetDefData(section.setDefinitions[i]) == nullptr) {
      throw ToolError(kExitInput, options.json + ": setDefinitions[" + std::to_string(i) +
                                      "]: the plug-in's registry refused the definition");
    }
  }

  const WrittenSection written = WriteStoredFigures(drawing, options.out);
  WriteFileAtomically(options.out, written.Data(), written.Size());
}

}  // namespace

void AddImportCommand(CLI::App& app) {
  auto options = std::make_shared<ImportOptions>();
  CLI::App* cmd = app.add_subcommand(
      "import", "Build a new-layout section from a JSON document of the form dump --json prints");
  cmd->add_option("JSON", options->json, "The JSON document to read")->required();
  cmd->add_option("OUT", options->out, "The section to write (replaced only on success)")->required();
  cmd->callback([options] { RunImport(*options); });
}
