// Entry of the JSON reader behind `sxfattr import`: the document is parsed and SectionFromJson
// builds the section it describes, with the tool's own JSON reader (the library links the tool's
// parts, or their JSON sources where the tool is left out).
//
// Documented outcomes: read (a section was built) or rejected (not JSON, or a document that
// does not fit the schema, reported through JsonSchemaError). Any other exception is a broken
// promise: the import command would end with an unexplained error instead of naming the member.
// A section that was built is written as a document again (the dump writer) and must read back
// into a section that writes the very same bytes.
#include "entries/import_json_entry.h"

#include <exception>
#include <sstream>
#include <string>

#include "entries/entry_support.h"
#include "json_document.h"

namespace {

// The document of a built section, as `dump --json` writes one.
std::string ImportedDocument(const ImportedSection& section) {
  SectionContent content;
  content.title = section.title;
  content.setDefinitions = section.setDefinitions;
  for (const ImportedFigure& fig : section.figures) content.figures.push_back({fig.handle, fig.figure.get()});
  std::ostringstream out;
  WriteJsonDocument(out, content, nullptr);
  return out.str();
}

// Parses bytes and builds their section into out; the outcome, with a problem for an exception
// that the reader does not document.
ReadResult ParseImportDocument(const uint8_t* data, size_t size, ImportedSection& out) {
  try {
    const Json doc = Json::parse(data, data + size);
    out = SectionFromJson(doc);
    return Outcome(ReadOutcome::kRead);
  } catch (const Json::parse_error&) {
    return Outcome(ReadOutcome::kRejected);
  } catch (const Json::out_of_range&) {
    // A number too large for a double; the tool reports it as invalid JSON too.
    return Outcome(ReadOutcome::kRejected);
  } catch (const JsonSchemaError&) {
    return Outcome(ReadOutcome::kRejected);
  } catch (const std::exception& e) {
    return Problem(ReadOutcome::kRejected, std::string("the JSON reader raised ") + e.what());
  }
}

}  // namespace

ReadResult ReadImportJson(const uint8_t* data, size_t size) {
  ImportedSection section;
  ReadResult result;
  {
    MeteredRun metered(size);
    result = ParseImportDocument(data, size, section);
  }
  if (result.outcome != ReadOutcome::kRead || !result.problem.empty()) return result;

  const std::string written = ImportedDocument(section);
  ImportedSection back;
  const ReadResult reread =
      ParseImportDocument(reinterpret_cast<const uint8_t*>(written.data()), written.size(), back);
  if (reread.outcome != ReadOutcome::kRead) {
    return Problem(ReadOutcome::kRead, std::string("what was written does not read back: ") +
                                           OutcomeName(reread.outcome) + " " + reread.problem);
  }
  if (ImportedDocument(back) != written)
    return Problem(ReadOutcome::kRead, "what was read back writes other bytes");
  return result;
}
