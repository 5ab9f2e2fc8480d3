// The writers of the database's sections: the drawing-file section, always in the tagged layout,
// and the copy-buffer section (see section_format.h).
#include "attrdb/attrdb.h"
#include "host/dword_array_x.h"
#include "host/zcdb.h"
#include "host/zcdb_buff.h"
#include "host/zcdb_rec.h"
#include "model/attr_set_def.h"
#include "model/figure.h"
#include "model/new_format.h"
#include "model/old_format.h"
#include "persist/entry_block.h"
#include "persist/section_collect.h"
#include "persist/section_format.h"
#include "persist/section_records.h"

using namespace new_format;

int SxfZCdbAttrDB::Write(int mode, CFile* file, ZCdb* db) {
  return NewWrite(mode, file, db);
}

int SxfZCdbAttrDB::NewWrite(int mode, CFile* file, ZCdb* db) {
  // Refreshes the stored title from the drawing's title elements, so the file holds what the
  // drawing shows.
  SxfTitleInfo title;
  if (GetTitleInfo(title, nullptr) == 0) return 0;
  if (old_format::WriteInt32(file, static_cast<LONG>(kSectionVersionTagged)) == 0) return 0;

  CArchive ar(file, CArchive::store, kSectionArchiveBuffer);
  WriteBlock(ar, kTagSectionTitle, [&](CArchive& block) { WriteTitleRecord(block, title); });

  CDWordArrayX ids;
  GetAttrSetDefCnt(&ids);
  for (int i = 0; i < ids.GetCount(); ++i) {
    const unsigned int id = ids[i];
    const int written = WriteBlock(ar, kTagSectionSetDef, [&](CArchive& block) {
      SxfZCdbAttrSetDef* def = FindAttrSetDefData(id);
      return def != nullptr ? def->NewWrite(block) : 0;
    });
    if (written == 0) {
      // The section ends without its end tag; what was buffered still reaches the file.
      ar.Close();
      return 0;
    }
  }

  NewFileAttrList entries;
  entries.reserve(kWriteListReserve);
  CollectAttrEntries(db, mode, m_attrMap, entries);
  WriteAttrEntryBlocks(ar, entries,
                       [this](CArchive& block, NewFileAttrData& data) { return NewWriteAttr(block, data); });
  WriteEnd(ar);
  ar.Close();
  return 1;
}

int SxfZCdbAttrDB::NewWriteAttr(CArchive& ar, NewFileAttrData& data) {
  // An entry without a figure has nothing to store; the collection never lists one.
  if (data.handle == ZCDB_NO_HANDLE || data.entry == nullptr || data.entry->figure == nullptr) return 1;
  return WriteEntryRecord(ar, data.handle, *data.entry->figure);
}

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
