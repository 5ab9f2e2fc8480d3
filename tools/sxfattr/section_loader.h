// Reading a drawing-file attribute section through the plug-in, as a host reads a drawing.
//
// HostDrawing is a host database with the "SXF" attribute database that the plug-in's entry
// function makes for it. The tool carries the plug-in's code itself (it links the plug-in's
// internal library), so it needs no shared library at run time.
//
// LoadSectionFile reads a section of either layout with the plug-in's Read in its temporary mode
// (1): the database is not cleared, no target is counted, nothing is bound and nothing is
// committed, so the figures, set definitions and title info stay exactly as the section stores
// them. When the section does not read, the plug-in's reader names the byte offset and what was
// wrong (persist/section_read.h); bytes after the end of the section are refused too, since a
// section file that goes on is damaged or not a section file. A regular file is read as it is
// parsed, in large pieces, so the file's bytes are never held whole beside the drawing.
// TallySectionFile reads the same way and answers the same, but only counts the figures.
//
// A command that is done with its drawing hands it to KeepUntilExit: a drawing of a million
// figures takes a noticeable time to take apart, and the process ends anyway.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "attrdb/attrdb.h"
#include "host/host.h"
#include "persist/section_read.h"
#include "section_content.h"

class HostDrawing {
 public:
  // A drawing whose environment resolves relative file names against baseFolder; withUndo gives
  // it an undo manager. Throws ToolError(kExitInput) when the plug-in makes no database.
  explicit HostDrawing(const char* baseFolder = ".", bool withUndo = false);
  HostDrawing(const HostDrawing&) = delete;
  HostDrawing& operator=(const HostDrawing&) = delete;

  ZCdb& Db() { return db_; }
  SxfZCdbAttrDB& Attr() { return *adb_; }
  const SxfZCdbAttrDB& Attr() const { return *adb_; }

 private:
  CEnvironObj env_;  // declared first: the database keeps a pointer to it
  ZCdb db_;
  SxfZCdbAttrDB* adb_;  // owned by db_
};

struct LoadedSection {
  std::string path;
  DWORD version = 0;
  std::unique_ptr<HostDrawing> drawing;
  std::vector<FigureRef> figures;     // every stored figure, ascending by handle
  std::vector<std::string> messages;  // what the plug-in showed the user while reading (UTF-8)

  // Title, active set definitions (ascending id) and figures, borrowed from the drawing.
  SectionContent Content() const;
};

// The section's version, title and active set definitions (ascending id; no figures in head) and,
// per stored figure in ascending handle order, what dump --summary counts of it.
struct SectionTally {
  SectionContent head;
  FigureTallies figures;
  std::vector<std::string> messages;  // what the plug-in showed the user while reading (UTF-8)
};

// The whole file, read in one step of its size. Throws ToolError(kExitInput, "<path>: cannot
// read: <reason>").
std::vector<BYTE> ReadFileBytes(const std::string& path);

// Reads the section in bytes; name is how messages name it. Throws ToolError(kExitInput,
// "<name>: at byte <n>: <what>") when it does not read.
LoadedSection LoadSection(const std::string& name, const std::vector<BYTE>& bytes);
LoadedSection LoadSectionFile(const std::string& path);
SectionTally TallySection(const std::string& name, const std::vector<BYTE>& bytes);
SectionTally TallySectionFile(const std::string& path);

// Ends the drawing's life with the process instead of taking it apart now (under the sanitizers,
// which check that taking it apart leaks nothing, it is taken apart at once).
void KeepUntilExit(std::unique_ptr<HostDrawing> drawing);

// The sorted list of every stored figure of a database.
std::vector<FigureRef> StoredFigures(const SxfZCdbAttrDB& adb);
