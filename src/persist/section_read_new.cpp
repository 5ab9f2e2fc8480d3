// The reader of the tagged drawing-file section (see section_format.h).
#include <memory>
#include <vector>

#include "attrdb/attrdb.h"
#include "model/attr_set_def.h"
#include "model/figure.h"
#include "model/new_format.h"
#include "persist/new_file_attr_data.h"
#include "persist/section_format.h"
#include "persist/section_title.h"
#include "host/zcdb_rec.h"

using namespace new_format;

namespace {

// The entries a read created or refilled, each once. They carry kEntryReadMark until the read
// ends, however it ends, so that a handle met again in the same section finds its entry marked.
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
  const std::vector<ZCDB_SXFATTR_MAP*>& entries() const { return entries_; }

 private:
  std::vector<ZCDB_SXFATTR_MAP*> entries_;
};

// Deletes a read entry that is not going into the handle map.
void DropEntry(NewFileAttrData& data) {
  if (data.entry == nullptr) return;
  delete data.entry->figure;
  delete data.entry;
  data.entry = nullptr;
}

}  // namespace

int SxfZCdbAttrDB::NewRead(int mode, CFile* file, ZCdb* db, DWORD) {
  ReadEntries read;

  // A handle stored twice: the later figure replaces the earlier one, in the entry that already
  // holds the handle, which keeps its record and targeted count. The replaced figure is deleted
  // at once. One read earlier in this section was never counted; one held before the read was
  // counted when it was attached (unless it is pending), so its references are withdrawn first.
  // Either way each entry is listed once, and only the figure it holds at the end is counted.
  auto store = [&](NewFileAttrData& data) {
    if (data.entry == nullptr) return;
    // A figure without a handle could never be bound to a record.
    if (data.handle == ZCDB_NO_HANDLE) {
      DropEntry(data);
      return;
    }
    // The figure keeps the handle it was read with (see NewReadAttr); the entry goes under the
    // handle of the entry record, which a handle block after the figure block may have changed.
    // One probe of the map finds the entry or makes the place of a new one (the map holds no
    // null entries, so a null value is a new key).
    ZCDB_SXFATTR_MAP*& slot = m_attrMap[data.handle];
    ZCDB_SXFATTR_MAP* held = slot;
    if (held == nullptr) {
      slot = data.entry;
      read.Add(data.entry);
      data.entry = nullptr;
      return;
    }
    SxfZCdbFigure* replaced = held->figure;
    if ((held->flags & kEntryReadMark) == 0) {
      if (replaced != nullptr && (held->flags & kPending) == 0) RemoveTargetEntry(replaced);
      read.Add(held);
    }
    delete replaced;
    held->figure = data.entry->figure;
    data.entry->figure = nullptr;
    DropEntry(data);
  };

  CArchive ar(file, CArchive::load, kSectionArchiveBuffer);
  const int complete = ReadRecord(ar, [&](LONG tag, CArchive& block) {
    switch (tag) {
      case kTagSectionTitle:
        return ReadTitleRecord(block, m_titleInfo);
      case kTagSectionSetDef: {
        SxfZCdbAttrSetDef def;
        if (def.NewRead(block) == 0) return 0;
        // A definition that clashes with one already registered is dropped.
        AddAttrSetDefData(def);
        return 1;
      }
      case kTagSectionAttrEntry: {
        NewFileAttrData data;
        if (NewReadAttr(block, data) == 0) return 0;
        store(data);
        return 1;
      }
      default:
        return 1;
    }
  });
  // Gives back the read-ahead: the file stands right after the end tag.
  ar.Close();
  read.ClearMarks();
  if (complete == 0) return 0;
  if (mode != 0) return 1;
  // A figure put into a delete-marked or parked entry stays uncounted, as that entry's own
  // figure would be.
  for (ZCDB_SXFATTR_MAP* entry : read.entries()) {
    if ((entry->flags & kPending) == 0) AppendTargetEntry(entry->figure);
  }
  return BindZCDb(db);
}

int SxfZCdbAttrDB::NewReadAttr(CArchive& ar, NewFileAttrData& data) {
  try {
    const int ok = ReadRecord(ar, [&](LONG tag, CArchive& block) {
      if (tag == kTagEntryHandle) {
        ReadFields(block, [&](CArchive& in) { in >> data.handle; });
        return 1;
      }
      if (tag != kTagEntryFigure) return 1;
      std::unique_ptr<SxfZCdbFigure> figure(new SxfZCdbFigure);
      if (figure->NewRead(block, this) == 0) return 0;
      figure->SetHandle(data.handle);
      // A second figure block replaces the first.
      DropEntry(data);
      data.entry = new ZCDB_SXFATTR_MAP{0, nullptr, figure.release()};
      return 1;
    });
    if (ok == 0) DropEntry(data);
    return ok;
  } catch (...) {
    DropEntry(data);
    throw;
  }
}
