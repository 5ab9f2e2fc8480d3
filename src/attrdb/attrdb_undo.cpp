// Undo and redo of the database's changes through the host's undo steps.
//
// Ownership never forks: each figure has exactly one owner (the entry or the undo record) after
// every undo, redo or release, whatever the order of the calls. An addition or a deletion moves
// its figure between the entry and the undo record; a replacement exchanges the two. A figure
// that a move finds in its way (one attached outside any undo step after the step was recorded)
// is deleted: no later step knows it.
//
// A figure's targets are counted exactly while it sits in an entry without the delete mark (the
// mark uncounted them already), so the exchanges below count and uncount only such entries.
#include <utility>

#include "attrdb/attrdb.h"
#include "attrdb/handle_map_entry.h"
#include "host/zcdb_rec.h"
#include "model/figure.h"

namespace {

bool Counts(const ZCDB_SXFATTR_MAP* entry) {
  return (entry->flags & SxfZCdbAttrDB::kDeleteMark) == 0;
}

}  // namespace

bool SxfZCdbAttrDB::IsUndoRecording() const {
  return GetUndo() != nullptr && GetUndo()->IsBegin() != 0;
}

void SxfZCdbAttrDB::RegisterUndo(SXF_UNDO_CODE code, ZCdbRecBase* rec, void* data) {
  SxfUndoRec* item = new SxfUndoRec;
  item->code = code;
  item->database = this;
  item->data.ptr = data;
  // The host releases an item it cannot keep through SxfUndoFunc, so the item is never lost.
  GetUndo()->SetExternalUndo(SxfUndoFunc, rec, item);
}

void SxfUndoFunc(UNDOFUNC_MODE mode, ZCdbRecBase* rec, void* data) {
  SxfUndoRec* item = static_cast<SxfUndoRec*>(data);
  if (item == nullptr || item->database == nullptr) return;
  SxfZCdbAttrDB* db = item->database;
  switch (mode) {
    case UNDOFUNC_UNDO:
    case UNDOFUNC_REDO: {
      const bool undo = mode == UNDOFUNC_UNDO;
      if (item->code == SxfZCdbAttrDB::SXF_UNDO_RECPTR) {
        if (item->data.rec == nullptr) break;
        if (undo) {
          db->OnUndoChgRec(rec, &item->data.rec);
        } else {
          db->OnRedoChgRec(rec, &item->data.rec);
        }
      } else if (item->code == SxfZCdbAttrDB::SXF_UNDO_TITLE) {
        if (item->data.title == nullptr) break;
        if (undo) {
          db->OnUndoInf(*item->data.title);
        } else {
          db->OnRedoInf(*item->data.title);
        }
      } else if (undo) {
        db->OnUndo(item->code, rec, &item->data.figure);
      } else {
        db->OnRedo(item->code, rec, &item->data.figure);
      }
      break;
    }
    case UNDOFUNC_DISCARD:
      // The database is not touched here: the host may release its steps after the database
      // is gone.
      if (item->code == SxfZCdbAttrDB::SXF_UNDO_TITLE) {
        delete item->data.title;
      } else if (item->code != SxfZCdbAttrDB::SXF_UNDO_RECPTR) {
        delete item->data.figure;  // a record pointer (code 5) belongs to the host
      }
      delete item;
      break;
    default:
      break;
  }
}

void SxfZCdbAttrDB::MoveIntoEntry(ZCDB_SXFATTR_MAP* entry, SxfZCdbFigure** slot) {
  if (entry->figure != nullptr) {
    if (Counts(entry)) RemoveTargetEntry(entry->figure);
    delete entry->figure;
  }
  entry->figure = *slot;
  *slot = nullptr;
}

void SxfZCdbAttrDB::MoveOutOfEntry(ZCDB_SXFATTR_MAP* entry, SxfZCdbFigure** slot) {
  if (Counts(entry)) RemoveTargetEntry(entry->figure);
  delete *slot;
  *slot = entry->figure;
  entry->figure = nullptr;
}

void SxfZCdbAttrDB::OnUndo(SXF_UNDO_CODE code, ZCdbRecBase* rec, SxfZCdbFigure** slot) {
  if (rec == nullptr || slot == nullptr) return;
  ZCDB_SXFATTR_MAP* entry = FindEntry(rec->GetHandle());
  if (entry == nullptr) return;
  switch (code) {
    case SXF_UNDO_ADD:
      // The entry stays, parked, so that its handle and targeted count survive.
      MoveOutOfEntry(entry, slot);
      entry->flags |= kParked;
      break;
    case SXF_UNDO_DEL:
      entry->flags &= ~kParked;
      MoveIntoEntry(entry, slot);
      if (entry->figure != nullptr) {
        if (Counts(entry)) AppendTargetEntry(entry->figure);
        entry->figure->CheckAttrSetDef(this);
      }
      break;
    case SXF_UNDO_CHANGE:
      if (Counts(entry)) RemoveTargetEntry(entry->figure);
      std::swap(entry->figure, *slot);
      if (Counts(entry)) AppendTargetEntry(entry->figure);
      // The figure coming back may name a set definition that was delete-marked meanwhile.
      if (entry->figure != nullptr) entry->figure->CheckAttrSetDef(this);
      break;
    default:
      break;
  }
}

void SxfZCdbAttrDB::OnRedo(SXF_UNDO_CODE code, ZCdbRecBase* rec, SxfZCdbFigure** slot) {
  if (rec == nullptr || slot == nullptr) return;
  ZCDB_SXFATTR_MAP* entry = FindEntry(rec->GetHandle());
  if (entry == nullptr) return;
  switch (code) {
    case SXF_UNDO_ADD:
      entry->flags &= ~kParked;
      MoveIntoEntry(entry, slot);
      if (Counts(entry)) AppendTargetEntry(entry->figure);
      if (entry->figure != nullptr) entry->figure->CheckAttrSetDef(this);
      break;
    case SXF_UNDO_DEL:
      MoveOutOfEntry(entry, slot);
      entry->flags |= kParked;
      break;
    case SXF_UNDO_CHANGE:
      OnUndo(code, rec, slot);  // an exchange reads the same both ways
      break;
    default:
      break;
  }
}

void SxfZCdbAttrDB::OnUndoInf(SxfTitleInfo& info) {
  SxfTitleInfo current = m_titleInfo;
  m_titleInfo = info;
  info = current;
}

void SxfZCdbAttrDB::OnRedoInf(SxfTitleInfo& info) {
  OnUndoInf(info);
}

void SxfZCdbAttrDB::OnUndoChgRec(ZCdbRecBase* rec, ZCdbRecBase** slot) {
  if (rec == nullptr || slot == nullptr) return;
  ZCDB_SXFATTR_MAP* entry = FindEntry(rec->GetHandle());
  if (entry != nullptr) std::swap(entry->rec, *slot);
}

void SxfZCdbAttrDB::OnRedoChgRec(ZCdbRecBase* rec, ZCdbRecBase** slot) {
  OnUndoChgRec(rec, slot);
}

int SxfZCdbAttrDB::RemoveUndoRec(DWORD handle) {
  ZCDB_SXFATTR_MAP* entry = FindEntry(handle);
  if (entry == nullptr || (entry->flags & kDeleteMark) == 0) return 0;
  DestroyEntry(entry);
  m_attrMap.RemoveKey(handle);
  return 1;
}
