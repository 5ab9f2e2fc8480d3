#include "section_scan.h"

#include <cstdio>
#include <cstring>

#include "host/archive_block.h"
#include "model/attr_set_def.h"
#include "model/figure.h"
#include "model/new_format.h"
#include "model/old_format.h"
#include "section_content.h"
#include "title/title_info.h"

namespace {

constexpr LONG kTagTitle = 100;
constexpr LONG kTagSetDef = 101;
constexpr LONG kTagAttrEntry = 102;
constexpr LONG kTagEntryFigure = 100;
constexpr DWORD kOldEndMarker = 0xFFFFFFFF;

std::string Hex(DWORD value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
  return text;
}

// Why an archive stopped, as the end of a phrase.
std::string ArchiveReason(const CArchiveException& e) {
  switch (e.m_cause) {
    case CArchiveException::endOfFile:
      return "it ends early";
    case CArchiveException::badSchema:
      return "it holds a wide-character string";
    default:
      return "archive error " + std::to_string(e.m_cause);
  }
}

// A memory file over the caller's bytes, positioned after the version.
class SectionFile : public CMemFile {
 public:
  explicit SectionFile(const std::vector<BYTE>& bytes)
      : CMemFile(const_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size())) {
    Seek(4, begin);
  }
};

class Walker {
 public:
  Walker(const std::vector<BYTE>& bytes, SxfZCdbAttrDB& scratch, SectionScan& scan)
      : bytes_(bytes), scratch_(scratch), scan_(scan) {}

  void NewLayout();
  void OldLayout();

 private:
  void Fail(uint64_t offset, const std::string& what) {
    scan_.ok = false;
    scan_.failOffset = offset;
    scan_.failWhat = what;
  }
  // Reads one top-level entry's block; returns an empty text or what was wrong.
  std::string NewEntry(LONG tag, CArchive& block, uint64_t offset);

  const std::vector<BYTE>& bytes_;
  SxfZCdbAttrDB& scratch_;
  SectionScan& scan_;
};

void Walker::NewLayout() {
  SectionFile file(bytes_);
  CArchive ar(&file, CArchive::load);
  for (;;) {
    const uint64_t offset = 4 + ar.BytesDone();
    LONG tag = 0;
    try {
      ar >> tag;
    } catch (CArchiveException&) {
      return Fail(offset, "the section ends before its end tag");
    }
    if (tag == 0) {
      scan_.ok = true;
      scan_.end = 4 + ar.BytesDone();
      return;
    }
    CArchive* block = nullptr;
    try {
      block = LoadArchiveBlockBegin(ar);
    } catch (CArchiveException&) {
      return Fail(offset,
                  "the entry of tag " + std::to_string(tag) + " is cut short: its block runs past the end");
    }
    std::string what;
    try {
      what = NewEntry(tag, *block, offset);
    } catch (CArchiveException& e) {
      what = "entry of tag " + std::to_string(tag) + " does not read: " + ArchiveReason(e);
    } catch (CException&) {
      what = "entry of tag " + std::to_string(tag) + " does not read";
    }
    LoadArchiveBlockEnd(ar, block);
    if (!what.empty()) return Fail(offset, what);
  }
}

std::string Walker::NewEntry(LONG tag, CArchive& block, uint64_t offset) {
  using namespace new_format;
  switch (tag) {
    case kTagTitle: {
      SxfTitleInfo title;
      ReadRecord(block, [&](LONG inner, CArchive& fields) {
        if (inner == kTagFields) {
          ReadFields(fields, [&](CArchive& in) {
            in >> title.projectName >> title.constructionName >> title.contractClass >> title.drawingName >>
                title.drawingNumber >> title.drawingType >> title.scale >> title.year >> title.month >>
                title.day >> title.companyName >> title.officeName;
          });
        }
        return 1;
      });
      return "";
    }
    case kTagSetDef: {
      SxfZCdbAttrSetDef def;
      if (!def.NewRead(block)) return "set definition record does not read";
      scan_.setDefs.push_back({offset, def.id, scratch_.AddAttrSetDefData(def) != nullptr});
      return "";
    }
    case kTagAttrEntry: {
      ScannedFigure entry{offset, 0xFFFFFFFF, false};
      std::string what;
      const int ok = ReadRecord(block, [&](LONG inner, CArchive& part) {
        if (inner == kTagFields) {
          ReadFields(part, [&](CArchive& in) { in >> entry.handle; });
        } else if (inner == kTagEntryFigure) {
          SxfZCdbFigure fig;
          try {
            if (!fig.NewRead(part, &scratch_)) return 0;
          } catch (CArchiveException& e) {
            what = ": " + ArchiveReason(e);
            return 0;
          }
          entry.hasFigure = true;
        }
        return 1;
      });
      if (!ok) {
        const std::string of = entry.handle != 0xFFFFFFFF ? " of handle " + std::to_string(entry.handle) : "";
        return "the figure record of the attribute entry" + of + " does not read" + what;
      }
      scan_.figures.push_back(entry);
      return "";
    }
    default:
      return "";  // the reader skips tags it does not know, and so does the walk
  }
}

void Walker::OldLayout() {
  using namespace old_format;
  SectionFile file(bytes_);
  SxfTitleInfo title;
  CString second;
  if (!ReadString(&file, title.projectName) || !ReadString(&file, second) ||
      !ReadString(&file, title.constructionName) || !ReadString(&file, title.contractClass) ||
      !ReadString(&file, title.drawingName) || !ReadString(&file, title.drawingNumber) ||
      !ReadString(&file, title.drawingType) || !ReadString(&file, title.scale) ||
      !ReadInt32(&file, title.year) || !ReadInt32(&file, title.month) || !ReadInt32(&file, title.day) ||
      !ReadString(&file, title.companyName) || !ReadString(&file, title.officeName)) {
    return Fail(4, "the title record is cut short");
  }

  if (scan_.version == kLastOldLayoutVersion) {
    const uint64_t countOffset = file.GetPosition();
    LONG count = 0;
    if (!ReadInt32(&file, count)) return Fail(countOffset, "the set definition count is missing");
    for (LONG i = 0; i < count; ++i) {
      const uint64_t offset = file.GetPosition();
      SxfZCdbAttrSetDef def;
      if (!def.Read(&file)) {
        return Fail(offset, "set definition record " + std::to_string(i + 1) + " of " +
                                std::to_string(count) + " does not read");
      }
      scan_.setDefs.push_back({offset, def.id, scratch_.AddAttrSetDefData(def) != nullptr});
    }
  }

  for (;;) {
    const uint64_t offset = file.GetPosition();
    DWORD handle = 0;
    if (!ReadBytes(&file, &handle, 4))
      return Fail(offset, "the section ends before its end marker (0xFFFFFFFF)");
    if (handle == kOldEndMarker) {
      scan_.ok = true;
      scan_.end = file.GetPosition();
      return;
    }
    SxfZCdbFigure fig;
    if (!fig.Read(&file, &scratch_)) {
      return Fail(offset, "the figure record of handle " + std::to_string(handle) + " does not read");
    }
    scan_.figures.push_back({offset, handle, true});
  }
}

}  // namespace

std::string VersionProblem(const std::vector<BYTE>& bytes, DWORD& version) {
  if (bytes.size() < 4) {
    return "the file is too short for a section (" + std::to_string(bytes.size()) +
           " bytes; the section version alone takes 4)";
  }
  std::memcpy(&version, bytes.data(), 4);
  if (version > kLastOldLayoutVersion && version < kNewLayoutVersion) {
    return "unsupported section version " + Hex(version) + " (old layouts go up to " +
           Hex(kLastOldLayoutVersion) + ", new ones start at " + Hex(kNewLayoutVersion) + ")";
  }
  return "";
}

SectionScan ScanSection(const std::vector<BYTE>& bytes, SxfZCdbAttrDB& scratch) {
  SectionScan scan;
  const std::string problem = VersionProblem(bytes, scan.version);
  if (!problem.empty()) {
    scan.failWhat = problem;
    return scan;
  }
  Walker walker(bytes, scratch, scan);
  // Nothing renames the scratch registry's definitions during the walk.
  SxfZCdbAttrDB::SetDefIndexScope byName(scratch);
  try {
    if (IsOldLayout(scan.version)) {
      walker.OldLayout();
    } else {
      walker.NewLayout();
    }
  } catch (CException&) {
    // The memory file raises nothing a reader does not catch; this keeps a surprise one a failure.
    if (scan.failWhat.empty()) scan.failWhat = "the section does not read";
    scan.ok = false;
  }
  return scan;
}
