// The copy-buffer section: the attributes of the records in the host's copy buffer.
//
// Written and read in the tagged form (a tag-102 attribute entry per collected figure, then the
// end tag), so that a section this database writes reads back into another database. The
// handle-prefixed form of older copy buffers is read by ReadOldBuff. See section_format.h.
#include <memory>

#include "attrdb/attrdb.h"
#include "model/figure.h"
#include "model/new_format.h"
#include "model/old_format.h"
#include "persist/entry_block.h"
#include "persist/section_collect.h"
#include "persist/section_format.h"
#include "host/zcdb_rec.h"
#include "host/zcdb_buff.h"

using namespace new_format;

int SxfZCdbAttrDB::Write(CFile* file, ZCdbBuff* buff) {
  NewFileAttrList entries;
  entries.reserve(kWriteListReserve);
  const int count = buff != nullptr ? buff->GetNum() : 0;
  for (int i = 0; i < count; ++i) {
    ZCdbRecBase* rec = buff->GetPtr(i);
    if (rec != nullptr) CollectAttrEntries(rec, 0, m_attrMap, entries);
  }
  CArchive ar(file, CArchive::store, kSectionArchiveBuffer);
  WriteAttrEntryBlocks(ar, entries,
                       [this](CArchive& block, NewFileAttrData& data) { return NewWriteAttr(block, data); });
  WriteEnd(ar);
  ar.Close();
  return 1;
}

int SxfZCdbAttrDB::Read(CFile* file, ZCdbBuff* buff) {
  SetDefIndexScope byName(*this);
  Clear();
  CArchive ar(file, CArchive::load, kSectionArchiveBuffer);
  const int complete = ReadRecord(ar, [&](LONG tag, CArchive& block) {
    if (tag != kTagSectionAttrEntry) return 1;
    NewFileAttrData data;
    if (NewReadAttr(block, data) == 0) return 0;
    if (data.entry == nullptr) return 1;
    // A record put into the buffer twice is stored twice with the same figure: the first one
    // read stays, as in the older form. A figure without a handle belongs to no record.
    if (data.handle == ZCDB_NO_HANDLE || FindEntry(data.handle) != nullptr) {
      delete data.entry->figure;
      delete data.entry;
      return 1;
    }
    m_attrMap.SetAt(data.handle, data.entry);
    return 1;
  });
  ar.Close();
  // The buffer's figures are not counted as references: they are only copied from.
  return complete != 0 ? BindZCdbBuff(buff) : 0;
}

int SxfZCdbAttrDB::ReadOldBuff(CFile* file, ZCdbBuff* buff) {
  SetDefIndexScope byName(*this);
  Clear();
  for (;;) {
    LONG rawHandle = 0;
    if (old_format::ReadInt32(file, rawHandle) == 0) return 0;
    const DWORD handle = static_cast<DWORD>(rawHandle);
    if (handle == kOldEntriesEnd) return BindZCdbBuff(buff);
    std::unique_ptr<SxfZCdbFigure> figure(new SxfZCdbFigure);
    if (figure->Read(file, this) == 0) return 0;
    // The old records hold no handle; the figure keeps none and is found through its key.
    if (FindEntry(handle) == nullptr) {
      m_attrMap.SetAt(handle, new ZCDB_SXFATTR_MAP{0, nullptr, figure.get()});
      figure.release();
    }
  }
}

int SxfZCdbAttrDB::BindZCdbBuff(ZCdbBuff* buff) {
  int result = 1;
  const int count = buff != nullptr ? buff->GetNum() : 0;
  for (int i = 0; i < count && result != 0; ++i) {
    ZCdbRecBase* rec = buff->GetPtr(i);
    if (rec != nullptr) result = BindHandle(rec);
  }
  return result;
}
