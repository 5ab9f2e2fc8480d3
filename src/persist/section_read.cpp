// The database's reads of its sections (see section_format.h for the layouts).
//
// Each read walks its section (section_walk.h) with a visitor that keeps what it is handed, and
// all of them store a figure through one function, StoreFigure. They differ only in what they
// keep of a handle met twice: the old layouts and the copy buffer keep the first figure (also
// over one held before the read); the tagged drawing section lets the later one replace it.
#include "persist/section_read.h"

#include <algorithm>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "attrdb/attrdb.h"
#include "attrdb/handle_map_entry.h"
#include "host/zcdb.h"
#include "host/zcdb_buff.h"
#include "model/attr_set_def.h"
#include "model/figure.h"
#include "model/japanese_texts.h"
#include "persist/new_file_attr_data.h"
#include "persist/section_format.h"
#include "persist/section_records.h"
#include "platform/archive_context.h"

namespace {

// Tells the user that figure records were rejected, so some attributes may sit on the wrong
// figures or be missing.
void ShowRejectedFiguresWarning() {
  CString text = kJpWarningLine1;
  text += "\n";
  text += kJpWarningLine2;
  AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION, 0);
}

}  // namespace

// Friend of SxfZCdbAttrDB: the reads reach the handle map and the title info directly.
class SectionReader {
 public:
  enum class Duplicates { kFirstStays, kLaterReplaces };
  // What became of a figure handed to StoreFigure.
  enum class Stored {
    kNew,          // it went into a new entry, or into one that held no figure
    kReplaced,     // it took the place of the figure its entry held
    kNoHandle,     // dropped: no handle
    kHandleTaken,  // dropped: the handle has an entry already, which stays as it is
  };

  // The entries a read created or refilled, each once, in section order: the ones whose figures
  // start to count when the read completes. They carry kEntryReadMark until the read ends,
  // however it ends, so that a handle met again in the same section finds its entry marked.
  class ReadEntries {
   public:
    ReadEntries() { entries_.reserve(kReadListReserve); }
    ~ReadEntries() { ClearMarks(); }
    ReadEntries(const ReadEntries&) = delete;
    ReadEntries& operator=(const ReadEntries&) = delete;

    void Add(ZCDB_SXFATTR_MAP* entry) {
      entry->flags |= kEntryReadMark;
      entries_.push_back(entry);
    }
    void ClearMarks() {
      for (ZCDB_SXFATTR_MAP* entry : entries_) entry->flags &= ~kEntryReadMark;
    }
    const std::vector<ZCDB_SXFATTR_MAP*>& Entries() const { return entries_; }

   private:
    std::vector<ZCDB_SXFATTR_MAP*> entries_;
  };

  // The visitor of every read: keeps the title, set definitions and figures it is handed.
  class Keeper : public SectionVisitor {
   public:
    Keeper(SxfZCdbAttrDB& db, Duplicates rule) : db_(db), rule_(rule) {}
    // The title is read into the database's title info; set definitions join its registry (one
    // that clashes with a registered definition is dropped).
    Keeper& WithTitleAndSetDefs() {
      title_ = &db_.m_titleInfo;
      setDefs_ = true;
      return *this;
    }
    // The figures take the handle of their entry (old drawing sections).
    Keeper& HandingHandles() {
      handing_ = true;
      return *this;
    }
    // New entries come from the read's slab cache.
    Keeper& UsingSlabs(SlabCache* slabs) {
      slabs_ = slabs;
      return *this;
    }
    // The figures are tallied into tallies instead of stored (null: stored).
    Keeper& TallyingInto(FigureTallies* tallies) {
      tallies_ = tallies;
      return *this;
    }

    SxfTitleInfo* TitleTarget() override { return title_; }
    bool WantsSetDefs() const override { return setDefs_; }
    void SetDef(uint64_t, const SxfZCdbAttrSetDef& def) override { db_.AddAttrSetDefData(def); }
    void Entry(uint64_t offset, DWORD handle, std::unique_ptr<SxfZCdbFigure> figure) override {
      if (figure == nullptr) return;  // an entry without figure record holds nothing to keep
      if (handing_) figure->handle = handle;
      if (tallies_ != nullptr) {
        if (handle == ZCDB_NO_HANDLE) {
          rejected_ = true;
        } else {
          tallies_->push_back({handle, FigureTally{figure->GetAttrType(), figure->contour != nullptr,
                                                   figure->image != nullptr}});
        }
        return;
      }
      const Stored stored = StoreFigure(db_, handle, std::move(figure), rule_, read_, slabs_);
      if (stored == Stored::kNoHandle || stored == Stored::kHandleTaken) rejected_ = true;
      Kept(offset, handle, stored);
    }
    // With tallies: what StoreFigure's rule keeps of a handle met twice, one tally per handle in
    // ascending order. A handle met twice under kFirstStays is a rejected figure.
    void SettleTallies() {
      if (tallies_ == nullptr) return;
      std::stable_sort(tallies_->begin(), tallies_->end(),
                       [](const auto& a, const auto& b) { return a.first < b.first; });
      size_t kept = 0;
      for (size_t i = 0; i < tallies_->size(); ++i) {
        if (kept > 0 && (*tallies_)[kept - 1].first == (*tallies_)[i].first) {
          if (rule_ == Duplicates::kFirstStays) {
            rejected_ = true;
          } else {
            (*tallies_)[kept - 1] = (*tallies_)[i];
          }
          continue;
        }
        (*tallies_)[kept++] = (*tallies_)[i];
      }
      tallies_->resize(kept);
    }
    void BadEntry(uint64_t, DWORD) override { rejected_ = true; }

    bool Rejected() const { return rejected_; }
    ReadEntries& Read() { return read_; }

   protected:
    // What became of the figure of the entry at offset.
    virtual void Kept(uint64_t offset, DWORD handle, Stored stored) {
      (void)offset;
      (void)handle;
      (void)stored;
    }

    SxfZCdbAttrDB& db_;

   private:
    const Duplicates rule_;
    SxfTitleInfo* title_ = nullptr;
    bool setDefs_ = false;
    bool handing_ = false;
    bool rejected_ = false;
    SlabCache* slabs_ = nullptr;
    FigureTallies* tallies_ = nullptr;
    ReadEntries read_;
  };

  // Puts a figure read from a section under handle. It is not kept without a handle (no record
  // can have that one), nor when its handle is held already under kFirstStays. A later figure replaces the
  // held one in its entry, which keeps its record and targeted count: one read earlier in this
  // section was never counted, one held before the read was counted when it was attached (unless
  // its entry is pending), so its references are withdrawn first. Either way each entry is listed
  // once, and only the figure it holds at the end is counted.
  static Stored StoreFigure(SxfZCdbAttrDB& db, DWORD handle, std::unique_ptr<SxfZCdbFigure> figure,
                            Duplicates rule, ReadEntries& read, SlabCache* slabs) {
    if (handle == ZCDB_NO_HANDLE) return Stored::kNoHandle;
    // One probe of the map finds the entry or makes the place of a new one (the map holds no
    // null entries, so a null value is a new key).
    ZCDB_SXFATTR_MAP*& slot = db.m_attrMap[handle];
    if (slot == nullptr) {
      slot = MakeEntry(0, nullptr, std::move(figure), slabs);
      read.Add(slot);
      return Stored::kNew;
    }
    if (rule == Duplicates::kFirstStays) return Stored::kHandleTaken;
    ZCDB_SXFATTR_MAP* held = slot;
    if ((held->flags & kEntryReadMark) == 0) {
      if (held->figure != nullptr && (held->flags & SxfZCdbAttrDB::kPending) == 0)
        db.RemoveTargetEntry(held->figure);
      read.Add(held);
    }
    const Stored stored = held->figure != nullptr ? Stored::kReplaced : Stored::kNew;
    delete held->figure;
    held->figure = figure.release();
    return stored;
  }

  // Counts the targets of the figures a read kept, in section order. A figure put into a
  // delete-marked or parked entry stays uncounted, as that entry's own figure would be.
  // The figures are taken a run at a time, and the entries their targets name are brought in for
  // the whole run before it is counted.
  static void CountRead(SxfZCdbAttrDB& db, const ReadEntries& read) {
    std::vector<SxfZCdbFigure*> figures;
    figures.reserve(read.Entries().size());
    for (const ZCDB_SXFATTR_MAP* entry : read.Entries()) {
      if ((entry->flags & SxfZCdbAttrDB::kPending) == 0) figures.push_back(entry->figure);
    }
    db.AppendTargetEntries(figures.data(), figures.size());
  }

  static int Drawing(SxfZCdbAttrDB& db, int mode, CFile* file, ZCdb* drawing, SectionReporter* reporter,
                     FigureTallies* tallies = nullptr) {
    SxfZCdbAttrDB::SetDefIndexScope byName(db);
    const ULONGLONG start = reporter != nullptr ? file->GetPosition() : 0;
    DWORD version = 0;
    switch (ReadSectionVersion(file, version, reporter)) {
      case SectionLayout::kTagged:
        return Tagged(db, mode, file, drawing, reporter, tallies);
      case SectionLayout::kRefused:
        return 0;
      case SectionLayout::kOld:
        break;
    }
    OldSectionWalk walk(file, start, &db, reporter);
    if (walk.Title(db.m_titleInfo) == 0) return 0;
    // The title just read stays: it belongs to the drawing being loaded.
    if (mode == 0) db.Clear();
    Keeper keeper(db, Duplicates::kFirstStays);
    keeper.WithTitleAndSetDefs().HandingHandles().TallyingInto(tallies);
    if (version == kSectionVersionWithSetDefs && walk.SetDefs(keeper) == 0) return 0;
    int result = walk.Entries(keeper);
    keeper.Read().ClearMarks();
    keeper.SettleTallies();
    if (keeper.Rejected()) ShowRejectedFiguresWarning();
    if (mode == 0 && result != 0) {
      CountRead(db, keeper.Read());
      result = db.BindZCDb(drawing);
    }
    return result;
  }

  static int Tagged(SxfZCdbAttrDB& db, int mode, CFile* file, ZCdb* drawing, SectionReporter* reporter,
                    FigureTallies* tallies = nullptr) {
    ArchiveContext context;  // outlives the archive
    Keeper keeper(db, Duplicates::kLaterReplaces);
    keeper.WithTitleAndSetDefs().UsingSlabs(&context.Slabs()).TallyingInto(tallies);
    CArchive ar(file, CArchive::load, kSectionArchiveBuffer);
    ar.SetContext(&context);
    const int complete = WalkTaggedSection(ar, sizeof(DWORD), &db, keeper, reporter);
    // Gives back the read-ahead: the file stands right after the end tag.
    ar.Close();
    keeper.Read().ClearMarks();
    keeper.SettleTallies();
    if (complete == 0) return 0;
    if (mode != 0) return 1;
    CountRead(db, keeper.Read());
    return db.BindZCDb(drawing);
  }

  static int CopyBuffer(SxfZCdbAttrDB& db, CFile* file, ZCdbBuff* buff) {
    SxfZCdbAttrDB::SetDefIndexScope byName(db);
    db.Clear();
    // A record put into the buffer twice is stored twice with the same figure: the first one read
    // stays. The buffer's figures are not counted as references: they are only copied from.
    ArchiveContext context;
    Keeper keeper(db, Duplicates::kFirstStays);
    keeper.UsingSlabs(&context.Slabs());
    CArchive ar(file, CArchive::load, kSectionArchiveBuffer);
    ar.SetContext(&context);
    const int complete = WalkTaggedSection(ar, 0, &db, keeper, nullptr);
    ar.Close();
    keeper.Read().ClearMarks();
    return complete != 0 ? db.BindZCdbBuff(buff) : 0;
  }

  static int OldCopyBuffer(SxfZCdbAttrDB& db, CFile* file, ZCdbBuff* buff) {
    SxfZCdbAttrDB::SetDefIndexScope byName(db);
    db.Clear();
    // The old records hold no handle; the figures keep none and are found through their keys.
    Keeper keeper(db, Duplicates::kFirstStays);
    OldSectionWalk walk(file, 0, &db, nullptr);
    const int complete = walk.Entries(keeper);
    keeper.Read().ClearMarks();
    return complete != 0 ? db.BindZCdbBuff(buff) : 0;
  }

  // The reader of a damaged section: keeps what reads whole, tells the log every item it drops.
  class Recoverer : public Keeper, public SectionReporter {
   public:
    Recoverer(SxfZCdbAttrDB& db, Duplicates rule, SectionRecoveryLog& log) : Keeper(db, rule), log_(log) {}

    // The title is kept only when its record reads whole.
    SxfTitleInfo* TitleTarget() override { return &title_; }
    void TitleRead(uint64_t) override {
      db_.m_titleInfo = title_;
      anything_ = true;
    }
    bool WantsSetDefs() const override { return true; }
    void SetDef(uint64_t offset, const SxfZCdbAttrSetDef& def) override {
      anything_ = true;
      if (db_.AddAttrSetDefData(def) == nullptr) {
        log_.Dropped(offset, "set definition " + def.id.str() +
                                 " dropped: it clashes with an earlier one (same id, or same name, version "
                                 "and designer)");
      }
    }
    void Entry(uint64_t offset, DWORD handle, std::unique_ptr<SxfZCdbFigure> figure) override {
      anything_ = true;
      if (figure == nullptr) {
        log_.Dropped(offset, "attribute entry" + OfHandle(handle) + " dropped: it holds no figure record");
        return;
      }
      Keeper::Entry(offset, handle, std::move(figure));
    }

    void Damage(uint64_t offset, const std::string& what) override {
      log_.Dropped(offset, what + "; nothing after it can be read");
    }
    bool SkipDamaged(uint64_t offset, const std::string& what) override {
      log_.Dropped(offset, what + "; the entry is dropped");
      return true;
    }

    bool AnythingRead() const { return anything_; }
    SxfTitleInfo& Title() { return title_; }

   protected:
    void Kept(uint64_t offset, DWORD handle, Stored stored) override {
      switch (stored) {
        case Stored::kNew:
          break;
        case Stored::kReplaced:
          log_.Dropped(offsets_[handle], "the figure of handle " + std::to_string(handle) +
                                             " dropped: the entry at byte " + std::to_string(offset) +
                                             " stores the handle again and replaces it");
          break;
        case Stored::kNoHandle:
          log_.Dropped(offset, "attribute entry without a record handle dropped: no record can carry it");
          return;
        case Stored::kHandleTaken:
          log_.Dropped(offset, "the figure of handle " + std::to_string(handle) +
                                   " dropped: the entry at byte " + std::to_string(offsets_[handle]) +
                                   " holds the handle already");
          return;
      }
      offsets_[handle] = offset;
    }

   private:
    static std::string OfHandle(DWORD handle) {
      return handle != ZCDB_NO_HANDLE ? " of handle " + std::to_string(handle) : "";
    }

    SectionRecoveryLog& log_;
    SxfTitleInfo title_;
    bool anything_ = false;
    std::unordered_map<DWORD, uint64_t> offsets_;  // where the kept figure of each handle was read
  };

  static int Recover(SxfZCdbAttrDB& db, CFile* file, SectionRecoveryLog& log) {
    SxfZCdbAttrDB::SetDefIndexScope byName(db);
    const ULONGLONG start = file->GetPosition();
    struct ToLog : SectionReporter {
      explicit ToLog(SectionRecoveryLog& log) : log(log) {}
      void Damage(uint64_t offset, const std::string& what) override { log.Dropped(offset, what); }
      SectionRecoveryLog& log;
    } versionLog(log);
    DWORD version = 0;
    const SectionLayout layout = ReadSectionVersion(file, version, &versionLog);
    if (layout == SectionLayout::kRefused) return 0;
    Recoverer recoverer(
        db, layout == SectionLayout::kTagged ? Duplicates::kLaterReplaces : Duplicates::kFirstStays, log);
    if (layout == SectionLayout::kTagged) {
      ArchiveContext context;
      CArchive ar(file, CArchive::load, kSectionArchiveBuffer);
      ar.SetContext(&context);
      try {
        WalkTaggedSection(ar, sizeof(DWORD), &db, recoverer, &recoverer);
      } catch (CException&) {
        // Reported by the walk: the framing itself is broken there, and nothing after it is found.
      }
      ar.Close();
    } else {
      OldSectionWalk walk(file, start, &db, &recoverer);
      recoverer.HandingHandles();
      if (walk.Title(recoverer.Title()) != 0) {
        recoverer.TitleRead(sizeof(DWORD));
        if (version != kSectionVersionWithSetDefs || walk.SetDefs(recoverer) != 0) walk.Entries(recoverer);
      }
    }
    recoverer.Read().ClearMarks();
    return recoverer.AnythingRead() ? 1 : 0;
  }

  static int EntryRecord(SxfZCdbAttrDB& db, CArchive& ar, NewFileAttrData& data) {
    std::unique_ptr<SxfZCdbFigure> figure;
    const int ok = ReadEntryRecord(ar, &db, data.handle, figure);
    if (ok != 0 && figure != nullptr) data.entry = MakeEntry(0, nullptr, std::move(figure));
    return ok;
  }
};

int ReadDrawingSection(SxfZCdbAttrDB& db, int mode, CFile* file, ZCdb* drawing, SectionReporter* reporter) {
  return SectionReader::Drawing(db, mode, file, drawing, reporter);
}

int TallyDrawingSection(SxfZCdbAttrDB& db, CFile* file, SectionReporter* reporter, FigureTallies& tallies) {
  tallies.clear();
  return SectionReader::Drawing(db, 1, file, nullptr, reporter, &tallies);
}

int RecoverDrawingSection(SxfZCdbAttrDB& db, CFile* file, SectionRecoveryLog& log) {
  return SectionReader::Recover(db, file, log);
}

int SxfZCdbAttrDB::Read(int mode, CFile* file, ZCdb* db) {
  return SectionReader::Drawing(*this, mode, file, db, nullptr);
}

int SxfZCdbAttrDB::NewRead(int mode, CFile* file, ZCdb* db, DWORD) {
  return SectionReader::Tagged(*this, mode, file, db, nullptr);
}

int SxfZCdbAttrDB::NewReadAttr(CArchive& ar, NewFileAttrData& data) {
  return SectionReader::EntryRecord(*this, ar, data);
}

int SxfZCdbAttrDB::Read(CFile* file, ZCdbBuff* buff) {
  return SectionReader::CopyBuffer(*this, file, buff);
}

int SxfZCdbAttrDB::ReadOldBuff(CFile* file, ZCdbBuff* buff) {
  return SectionReader::OldCopyBuffer(*this, file, buff);
}
