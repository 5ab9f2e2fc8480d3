// The walks over the attribute sections: one per layout, reading each item with its record's
// reader and handing it to a visitor with the byte offset where it starts, and telling a
// reporter where and why a section stops reading.
//
// Every reader of a section walks it this way: the database's reads of the drawing-file and
// copy-buffer sections (section_read.cpp), which differ only in what they keep, and the check of
// the command-line tool (section_scan.h). The layouts' framing lives here and in
// section_format.h, nowhere else.
//
// Offsets count from the first byte of the section (its version; the first byte of the stream
// for a copy buffer). An item starts at its tag (tagged layout) or its handle (old layouts);
// damage is reported at the start of the item that does not read.
//
// Exceptions: the tagged layout's archive raises CArchiveException where data ends outside a
// block (and for the damage it finds inside one); the walk reports it and lets it pass on, as
// the callers of the database's readers expect. Old layouts are read with short-read results and
// raise nothing of their own.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "model/attr_set_def.h"
#include "model/figure.h"
#include "platform/carchive.h"
#include "platform/cfile.h"
#include "title/title_info.h"

class SxfZCdbAttrDB;

// Told where a section stops reading.
class SectionReporter {
 public:
  virtual ~SectionReporter() = default;
  // The item at offset does not read: what is wrong, as a short phrase. The walk ends there.
  virtual void Damage(uint64_t offset, const std::string& what) = 0;
  // The item at offset does not read, but its block is whole, so a walk could step over it (the
  // tagged layout's blocks carry their lengths). True drops the item and goes on after its
  // block; the default ends the walk as Damage does, which is what every reader of the database
  // wants.
  virtual bool SkipDamaged(uint64_t offset, const std::string& what) {
    Damage(offset, what);
    return false;
  }
};

// Handed the items of a section in file order. The defaults ignore everything but entries.
class SectionVisitor {
 public:
  virtual ~SectionVisitor() = default;
  // Where a title record is read into, in place, so that the fields read before a failure keep
  // their new values. Null: the tagged layout skips the title like an unknown tag; the old one
  // reads it into scratch, since nothing after it can be reached otherwise.
  virtual SxfTitleInfo* TitleTarget() { return nullptr; }
  // The title record at offset has been read whole into TitleTarget().
  virtual void TitleRead(uint64_t offset) { (void)offset; }
  // Whether set definition records are read; the tagged layout skips them otherwise.
  virtual bool WantsSetDefs() const { return false; }
  virtual void SetDef(uint64_t offset, const SxfZCdbAttrSetDef& def) {
    (void)offset;
    (void)def;
  }
  // An attribute entry: the record handle (0xFFFFFFFF when the entry names none) and the figure
  // read, now the visitor's (null for a tagged entry without figure record).
  virtual void Entry(uint64_t offset, DWORD handle, std::unique_ptr<SxfZCdbFigure> figure) = 0;
  // An old-layout entry whose figure record does not read; the walk ends after it.
  virtual void BadEntry(uint64_t offset, DWORD handle) {
    (void)offset;
    (void)handle;
  }
};

// The tagged body of a section: entries {tag, block} up to the end tag. base is the offset of
// the archive's first byte in the section; db is the database the records are read for (the
// figure readers' argument; it is not changed by the walk itself). Returns 1 at the end tag, 0
// when a record does not read (reported first). Unknown tags are skipped.
int WalkTaggedSection(CArchive& ar, uint64_t base, SxfZCdbAttrDB* db, SectionVisitor& visitor,
                      SectionReporter* reporter);

// The old layouts in their three parts, so that a reader can act between them: the title, the
// set definitions (version 0x2000), the figure entries up to the end marker (also the whole old
// copy buffer). file stands at the part; sectionStart is its position at the section's first
// byte. Each part returns 1, or 0 when it does not read (reported first). db receives the set
// definitions that old figure records name.
class OldSectionWalk {
 public:
  OldSectionWalk(CFile* file, ULONGLONG sectionStart, SxfZCdbAttrDB* db, SectionReporter* reporter)
      : file_(file), start_(sectionStart), db_(db), reporter_(reporter) {}

  int Title(SxfTitleInfo& title);
  int SetDefs(SectionVisitor& visitor);
  int Entries(SectionVisitor& visitor);

 private:
  uint64_t Offset() const;
  int Fail(uint64_t offset, const std::string& what);

  CFile* file_;
  ULONGLONG start_;
  SxfZCdbAttrDB* db_;
  SectionReporter* reporter_;
};

// The version of a section and what it says of the layout.
enum class SectionLayout { kOld, kTagged, kRefused };
SectionLayout LayoutOfVersion(DWORD version);
// The phrase for a version no reader takes.
std::string RefusedVersionPhrase(DWORD version);
// Reads the version at the file's position (the section's first byte) into version and answers
// its layout. A version that is not all there, or that no reader takes, is reported at offset 0
// and answers kRefused.
SectionLayout ReadSectionVersion(CFile* file, DWORD& version, SectionReporter* reporter);

// A whole drawing-file section from its version on, for visitors that only look (the tool's
// check): the layout by the version, then every part. file stands at the section's first byte.
// Returns 1 when the section reads to its end, 0 otherwise (reported). Archive exceptions are
// reported and absorbed: a look at a damaged section ends there.
int WalkSection(CFile* file, SxfZCdbAttrDB* db, SectionVisitor& visitor, SectionReporter* reporter);
