#include "persist/section_walk.h"

#include <cstdio>

#include "host/archive_block.h"
#include "host/zcdb_rec.h"
#include "model/old_format.h"
#include "model/record_tags.h"
#include "persist/section_format.h"
#include "persist/section_records.h"
#include "platform/archive_context.h"

namespace {

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

std::string OfHandle(DWORD handle) {
  return handle != ZCDB_NO_HANDLE ? " of handle " + std::to_string(handle) : "";
}

}  // namespace

SectionLayout LayoutOfVersion(DWORD version) {
  if (version >= kSectionVersionTagged) return SectionLayout::kTagged;
  if (version > kSectionVersionWithSetDefs) return SectionLayout::kRefused;
  return SectionLayout::kOld;
}

std::string RefusedVersionPhrase(DWORD version) {
  return "unsupported section version " + Hex(version) + " (old layouts go up to " +
         Hex(kSectionVersionWithSetDefs) + ", new ones start at " + Hex(kSectionVersionTagged) + ")";
}

SectionLayout ReadSectionVersion(CFile* file, DWORD& version, SectionReporter* reporter) {
  LONG raw = 0;
  if (old_format::ReadInt32(file, raw) == 0) {
    if (reporter != nullptr) reporter->Damage(0, "the section ends before its version");
    return SectionLayout::kRefused;
  }
  version = static_cast<DWORD>(raw);
  const SectionLayout layout = LayoutOfVersion(version);
  if (layout == SectionLayout::kRefused && reporter != nullptr)
    reporter->Damage(0, RefusedVersionPhrase(version));
  return layout;
}

int WalkTaggedSection(CArchive& ar, uint64_t base, SxfZCdbAttrDB* db, SectionVisitor& visitor,
                      SectionReporter* reporter) {
  SxfTitleInfo* title = visitor.TitleTarget();
  const bool setDefs = visitor.WantsSetDefs();
  auto report = [reporter](uint64_t offset, const std::string& what) {
    if (reporter != nullptr) reporter->Damage(offset, what);
  };
  // Damage inside a whole block: true when the reporter drops the item and the walk goes on.
  auto skip = [reporter](uint64_t offset, const std::string& what) {
    return reporter != nullptr && reporter->SkipDamaged(offset, what);
  };
  for (;;) {
    const uint64_t offset = base + ar.BytesDone();
    LONG tag = 0;
    try {
      ar >> tag;
    } catch (CArchiveException&) {
      report(offset, "the section ends before its end tag");
      throw;
    }
    if (tag == kTagEnd) return 1;
    CArchive* block = nullptr;
    try {
      block = LoadArchiveBlockBegin(ar);
    } catch (CArchiveException&) {
      report(offset,
             "the entry of tag " + std::to_string(tag) + " is cut short: its block runs past the end");
      throw;
    }
    std::string failed;  // what is wrong when the entry's record does not read
    DWORD handle = ZCDB_NO_HANDLE;
    bool inFigure = false;  // an exception came from an entry's figure record
    try {
      switch (tag) {
        case kTagSectionTitle:
          if (title != nullptr) {
            ReadTitleRecord(*block, *title);
            visitor.TitleRead(offset);
          }
          break;
        case kTagSectionSetDef:
          if (setDefs) {
            SxfZCdbAttrSetDef def;
            if (def.NewRead(*block) == 0) {
              failed = "set definition record does not read";
            } else {
              visitor.SetDef(offset, def);
            }
          }
          break;
        case kTagSectionAttrEntry: {
          std::unique_ptr<SxfZCdbFigure> figure;
          if (ReadEntryRecord(*block, db, handle, figure, &inFigure) == 0) {
            failed = "the figure record of the attribute entry" + OfHandle(handle) + " does not read";
          } else {
            visitor.Entry(offset, handle, std::move(figure));
          }
          break;
        }
        default:
          break;  // a tag this walk does not know is skipped, block and all
      }
    } catch (CArchiveException& e) {
      failed = inFigure ? "the figure record of the attribute entry" + OfHandle(handle) + " does not read: "
                        : "entry of tag " + std::to_string(tag) + " does not read: ";
      failed += ArchiveReason(e);
      // The block itself is whole: a reporter may step over it.
      LoadArchiveBlockEnd(ar, block);
      if (skip(offset, failed)) continue;
      throw;
    } catch (CException&) {
      // Another of the platform's exceptions from a record's reader (an index or argument a
      // damaged record holds). Anything else (memory running out) is no damage of the entry and
      // is passed on without stepping over it.
      LoadArchiveBlockEnd(ar, block);
      if (skip(offset, "entry of tag " + std::to_string(tag) + " does not read")) continue;
      throw;
    } catch (...) {
      LoadArchiveBlockEnd(ar, block);
      throw;
    }
    LoadArchiveBlockEnd(ar, block);
    if (!failed.empty() && !skip(offset, failed)) return 0;
  }
}

uint64_t OldSectionWalk::Offset() const {
  // Offsets are for reporting; a walk without a reporter does not ask the file where it stands.
  return reporter_ != nullptr ? file_->GetPosition() - start_ : 0;
}

int OldSectionWalk::Fail(uint64_t offset, const std::string& what) {
  if (reporter_ != nullptr) reporter_->Damage(offset, what);
  return 0;
}

int OldSectionWalk::Title(SxfTitleInfo& title) {
  const uint64_t offset = Offset();
  return ReadOldTitleRecord(file_, title) != 0 ? 1 : Fail(offset, "the title record is cut short");
}

int OldSectionWalk::SetDefs(SectionVisitor& visitor) {
  const uint64_t countOffset = Offset();
  LONG count = 0;
  if (old_format::ReadInt32(file_, count) == 0)
    return Fail(countOffset, "the set definition count is missing");
  for (LONG i = 0; i < count; ++i) {
    const uint64_t offset = Offset();
    SxfZCdbAttrSetDef def;
    if (def.Read(file_) == 0) {
      return Fail(offset, "set definition record " + std::to_string(i + 1) + " of " + std::to_string(count) +
                              " does not read");
    }
    visitor.SetDef(offset, def);
  }
  return 1;
}

int OldSectionWalk::Entries(SectionVisitor& visitor) {
  for (;;) {
    const uint64_t offset = Offset();
    LONG raw = 0;
    if (old_format::ReadInt32(file_, raw) == 0) {
      return Fail(offset, "the section ends before its end marker (" + Hex(kOldEntriesEnd) + ")");
    }
    const DWORD handle = static_cast<DWORD>(raw);
    if (handle == kOldEntriesEnd) return 1;
    std::unique_ptr<SxfZCdbFigure> figure(new SxfZCdbFigure);
    if (figure->Read(file_, db_) == 0) {
      visitor.BadEntry(offset, handle);
      return Fail(offset, "the figure record of handle " + std::to_string(handle) + " does not read");
    }
    visitor.Entry(offset, handle, std::move(figure));
  }
}

int WalkSection(CFile* file, SxfZCdbAttrDB* db, SectionVisitor& visitor, SectionReporter* reporter) {
  const ULONGLONG start = file->GetPosition();
  DWORD version = 0;
  switch (ReadSectionVersion(file, version, reporter)) {
    case SectionLayout::kRefused:
      return 0;
    case SectionLayout::kTagged: {
      ArchiveContext context;
      CArchive ar(file, CArchive::load, kSectionArchiveBuffer);
      ar.SetContext(&context);
      int complete = 0;
      try {
        complete = WalkTaggedSection(ar, sizeof(DWORD), db, visitor, reporter);
      } catch (CException&) {
        complete = 0;  // reported by the walk
      }
      ar.Close();
      return complete;
    }
    case SectionLayout::kOld:
      break;
  }
  OldSectionWalk walk(file, start, db, reporter);
  SxfTitleInfo scratch;
  SxfTitleInfo* title = visitor.TitleTarget();
  if (walk.Title(title != nullptr ? *title : scratch) == 0) return 0;
  if (version == kSectionVersionWithSetDefs && walk.SetDefs(visitor) == 0) return 0;
  return walk.Entries(visitor);
}
