// The title elements of a drawing: host string elements whose figure is a stub named for a title
// item. Their stub names carry the line number ("...1", "...2"; the bare item name for a lone
// line), and the title info is read from and written to them item by item.
#include <cstring>
#include <utility>

#include "attrdb/attrdb.h"
#include "host/zcdb_elm.h"
#include "host/zcdb_rec.h"
#include "host/zgelm.h"
#include "model/figure.h"
#include "model/japanese_texts.h"
#include "title/date_text.h"
#include "title/title_items.h"
#include "title/title_rec_map.h"
#include "title/title_strings.h"

namespace {

SxfZCdbATRS* TitleStub(const SxfZCdbFigure* fig) {
  if (fig == nullptr || fig->attrType != SXF_ATTR_ATRS) return nullptr;
  return fig->attr.ATRS();
}

bool IsStringElement(ZCdbRecBase* rec) {
  if (rec == nullptr) return false;
  const BYTE kind = rec->GetRecKind();
  if (kind != ZCDB_KIND_ELM && kind != ZCDB_KIND_ELM2) return false;
  const ZGElm* element = static_cast<ZCdbElm*>(rec)->GetZGElm();
  return element != nullptr && element->GetElmType() == ZGELM_STRING;
}

CString NumberedName(const char* itemName, int number) {
  CString name;
  name.Format("%s%d", itemName, number);
  return name;
}

CString LineName(const SxfTitleItem& item, int index, int lineCount) {
  return lineCount == 1 ? CString(item.name) : NumberedName(item.name, index + 1);
}

void RemoveNulls(TitleRecArray& records) {
  int kept = 0;
  for (int i = 0; i < records.GetSize(); ++i) {
    if (records[i] != nullptr) records[kept++] = records[i];
  }
  records.SetSize(kept);
}

bool Contains(const TitleRecArray& records, const ZCdbRecBase* rec) {
  for (int i = 0; i < records.GetSize(); ++i) {
    if (records[i] == rec) return true;
  }
  return false;
}

// Puts rec at index, padding with nulls; a record already there drops out.
void PlaceAt(TitleRecArray& records, int index, ZCdbRecBase* rec) {
  while (records.GetSize() <= index) records.Add(nullptr);
  records[index] = rec;
}

}  // namespace

SxfZCdbATRS* SxfZCdbAttrDB::LiveTitleStub(const ZCDB_SXFATTR_MAP* entry) {
  if (entry == nullptr || entry->rec == nullptr || (entry->flags & kPending) != 0) return nullptr;
  if (entry->rec->TestStatus(ZCDB_STATUS_REMOVED) != 0) return nullptr;
  return TitleStub(entry->figure);
}

int SxfZCdbAttrDB::IsTitleElm(ZCdbRecBase* rec) const {
  if (rec == nullptr || rec->IsElm() == 0) return 0;
  const ZCDB_SXFATTR_MAP* entry = FindEntry(rec->GetHandle());
  if (entry == nullptr) return 0;
  const SxfZCdbATRS* stub = TitleStub(entry->figure);
  return stub != nullptr && SrchTitleId(stub->name) != 0 ? 1 : 0;
}

void SxfZCdbAttrDB::RefreshTitleIndexFor(ZCdbRecBase* rec) {
  // While the index is current there is nothing to rename, so no scratch map is built.
  if (m_titleIndexStale == 0 || IsTitleElm(rec) == 0) return;
  TitleRecMap scratch;
  RecalcTitleIndex(scratch);
}

int SxfZCdbAttrDB::RecalcTitleIndex(TitleRecMap& recs) {
  if (m_titleIndexStale == 0) return 1;
  m_titleIndexStale = 0;

  POSITION pos = m_attrMap.GetStartPosition();
  while (pos != nullptr) {
    DWORD handle = 0;
    ZCDB_SXFATTR_MAP* entry = nullptr;
    m_attrMap.GetNextAssoc(pos, handle, entry);
    const SxfZCdbATRS* stub = LiveTitleStub(entry);
    if (stub == nullptr) continue;
    const SXF_TTL_ID id = SrchTitleId(stub->name);
    if (id == 0) continue;
    PlaceAt(recs.GetRecArray(id), TitleLineIndex(stub->name), entry->rec);
  }

  for (const SxfTitleItem& item : kSxfTitleItems) {
    TitleRecArray& records = recs.GetRecArray(item.id);
    RemoveNulls(records);
    for (int i = 0; i < records.GetSize(); ++i) {
      ZCDB_SXFATTR_MAP* entry = FindEntry(records[i]->GetHandle());
      if (entry == nullptr || entry->rec != records[i]) continue;
      SxfZCdbATRS* stub = TitleStub(entry->figure);
      if (stub != nullptr) stub->name = LineName(item, i, records.GetSize());
    }
  }
  return 1;
}

int SxfZCdbAttrDB::GetTitleInfo(SxfTitleInfo& info, TitleRecMap* recs) {
  m_titleIndexStale = 1;
  TitleRecMap index;
  RecalcTitleIndex(index);

  CString number, total, dateText;
  SXF_GetTitleNumberData(m_titleInfo, number, total);

  for (const SxfTitleItem& item : kSxfTitleItems) {
    const TitleRecArray& records = index.GetRecArray(item.id);
    // An item that no element shows keeps the value last stored.
    if (records.GetSize() == 0) continue;
    CString* field = item.field != nullptr ? &(m_titleInfo.*item.field) : nullptr;
    if (field != nullptr) field->Empty();
    for (int i = 0; i < records.GetSize() && records[i] != nullptr; ++i) {
      if (recs != nullptr) recs->GetRecArray(item.id).Add(records[i]);
      const CString text = SXF_GetTitleText(records[i]);
      if (text.IsEmpty()) continue;
      if (item.id == SXF_TTL_DATE) {
        dateText += text;  // "平成17年" on one line and "4月1日" on the next make one date
      } else if (item.id == SXF_TTL_DRAWING_NUMBER) {
        number = text;
      } else if (item.id == SXF_TTL_DRAWING_TOTAL) {
        total = text;
      } else if (field != nullptr) {
        if (!field->IsEmpty()) *field += kSxfTitleLineSeparator;
        *field += text;
      }
    }
  }

  if (!dateText.IsEmpty()) {
    SxfParsedDate date;
    if (ParseDateText(dateText, date) == 1) {
      m_titleInfo.year = date.year;
      m_titleInfo.month = date.month;
      m_titleInfo.day = date.day;
    }
  }
  if (m_titleInfo.year < kFirstTitleYear || m_titleInfo.year > kLastTitleYear || m_titleInfo.month < 1 ||
      m_titleInfo.month > 12 || m_titleInfo.day < 1 || m_titleInfo.day > 31) {
    m_titleInfo.year = 0;
    m_titleInfo.month = 1;
    m_titleInfo.day = 1;
  }

  if (!number.IsEmpty() && !total.IsEmpty()) {
    // Joined as strings, not through Format, so a zero byte in either part stays as it was read.
    m_titleInfo.drawingNumber = number + kSxfTitleLineSeparator + total;
  } else if (!number.IsEmpty()) {
    m_titleInfo.drawingNumber = number;
  } else if (!total.IsEmpty()) {
    m_titleInfo.drawingNumber = kSxfTitleLineSeparator + total;
  } else {
    m_titleInfo.drawingNumber.Empty();
  }

  info = m_titleInfo;
  return 1;
}

int SxfZCdbAttrDB::SetTitleInfo(const SxfTitleInfo& info, TitleRecMap* recs) {
  // info may be the stored info itself or come from an element about to be renamed.
  const SxfTitleInfo wanted = info;
  if (IsUndoRecording()) RegisterUndo(SXF_UNDO_TITLE, nullptr, new SxfTitleInfo(m_titleInfo));

  SxfTitleInfo scratch;
  TitleRecMap current;
  GetTitleInfo(scratch, &current);
  m_titleInfo = wanted;
  if (recs == nullptr) return 1;

  SubMap(current, *recs);
  for (const SxfTitleItem& item : kSxfTitleItems) {
    const TitleRecArray& records = recs->GetRecArray(item.id);
    for (int i = 0; i < records.GetSize(); ++i) {
      ZCdbRecBase* rec = records[i];
      if (rec == nullptr) continue;
      const CString name = LineName(item, i, records.GetSize());
      const ZCDB_SXFATTR_MAP* entry = FindEntry(rec->GetHandle());
      const SxfZCdbATRS* stub = entry != nullptr && entry->rec == rec ? TitleStub(entry->figure) : nullptr;
      if (stub != nullptr && stub->name == name) continue;
      SxfZCdbFigure fig;
      fig.SetAttrType(SXF_ATTR_ATRS);
      SxfZCdbATRS attr;
      attr.name = name;
      fig.ATRS_SetAttr(attr);
      _SetRecFigure(rec, fig, 1);
    }
  }
  return 1;
}

void SxfZCdbAttrDB::SubMap(TitleRecMap& current, TitleRecMap& wanted) {
  for (const SxfTitleItem& item : kSxfTitleItems) {
    TitleRecArray& records = current.GetRecArray(item.id);
    const TitleRecArray& keep = wanted.GetRecArray(item.id);
    int i = 0;
    while (i < records.GetSize()) {
      ZCdbRecBase* rec = records[i];
      if (rec != nullptr && Contains(keep, rec)) {
        ++i;
        continue;
      }
      records.RemoveAt(i);
      if (rec != nullptr) DelRecFigure(rec->GetHandle());
    }
  }
}

void SxfZCdbAttrDB::ReActivateTitleElm(ZCdbRecBase* rec) {
  if (rec == nullptr || rec->GetHandle() == ZCDB_NO_HANDLE) return;
  const DWORD ownHandle = rec->GetHandle();
  ZCDB_SXFATTR_MAP* own = FindEntry(ownHandle);
  SxfZCdbATRS* ownStub = LiveTitleStub(own);
  if (ownStub == nullptr || own->rec != rec) return;
  const SXF_TTL_ID id = SrchTitleId(ownStub->name);
  const SxfTitleItem* item = FindTitleItem(id);
  if (item == nullptr) return;
  const int ownIndex = TitleLineIndex(ownStub->name);

  TitleRecArray others;
  POSITION pos = m_attrMap.GetStartPosition();
  while (pos != nullptr) {
    DWORD handle = 0;
    ZCDB_SXFATTR_MAP* entry = nullptr;
    m_attrMap.GetNextAssoc(pos, handle, entry);
    if (handle == ownHandle || entry == nullptr || entry->rec == rec) continue;
    const SxfZCdbATRS* stub = LiveTitleStub(entry);
    if (stub == nullptr || SrchTitleId(stub->name) != id) continue;
    PlaceAt(others, TitleLineIndex(stub->name), entry->rec);
  }
  if (others.GetSize() == 0) return;

  // rec takes its old line back and every line from there on moves down by one. When its old
  // line lies beyond the others, it keeps its name.
  int number = 1;
  for (int i = 0; i < others.GetSize(); ++i) {
    if (i == ownIndex) ownStub->name = NumberedName(item->name, number++);
    if (others[i] == nullptr) continue;
    ZCDB_SXFATTR_MAP* entry = FindEntry(others[i]->GetHandle());
    SxfZCdbATRS* stub = entry != nullptr && entry->rec == others[i] ? TitleStub(entry->figure) : nullptr;
    if (stub != nullptr) stub->name = NumberedName(item->name, number++);
  }
}

void SxfZCdbAttrDB::SetTitleOrder(CArray<ZCdbRecBase*, ZCdbRecBase*>& recs) {
  int kept = 0;
  for (int i = 0; i < recs.GetSize(); ++i) {
    if (IsStringElement(recs[i])) recs[kept++] = recs[i];
  }
  recs.SetSize(kept);
  if (kept < 2) return;

  // The y values compare as unsigned numbers, so a string below the x axis (negative y) sorts
  // before every string above it. That is the established order of title lines; a signed
  // comparison would reorder existing title blocks.
  CArray<DWORD, DWORD> ys;
  for (int i = 0; i < kept; ++i) {
    const ZString* text = static_cast<const ZString*>(static_cast<ZCdbElm*>(recs[i])->GetZGElm());
    ys.Add(static_cast<DWORD>(text->Pt1().gPt().iy()));
  }
  for (int i = 0; i + 1 < kept; ++i) {
    for (int j = i + 1; j < kept; ++j) {
      if (ys[j] <= ys[i]) continue;
      std::swap(ys[i], ys[j]);
      std::swap(recs[i], recs[j]);
    }
  }
}

void SxfZCdbAttrDB::CheckTitleString(ZCdbRecBase* rec) {
  if (rec != nullptr) {
    // Only a change of a date element can spoil the date.
    if (!IsStringElement(rec) || rec->GetHandle() == ZCDB_NO_HANDLE) return;
    const ZCDB_SXFATTR_MAP* entry = FindEntry(rec->GetHandle());
    const SxfZCdbATRS* stub = LiveTitleStub(entry);
    if (stub == nullptr || entry->rec != rec) return;
    if (std::strncmp(stub->name, kJpTitleDate, std::strlen(kJpTitleDate)) != 0) return;
  }

  m_titleIndexStale = 1;
  TitleRecMap index;
  RecalcTitleIndex(index);

  const TitleRecArray& dates = index.GetRecArray(SXF_TTL_DATE);
  CString text;
  for (int i = 0; i < dates.GetSize() && dates[i] != nullptr; ++i) text += SXF_GetTitleText(dates[i]);
  // Emptied date elements are left alone: the user may be about to type a new date.
  if (text.IsEmpty()) return;
  SxfParsedDate date;
  if (ParseDateText(text, date) != 0) return;
  for (int i = 0; i < dates.GetSize() && dates[i] != nullptr; ++i) {
    if (dates[i]->IsElm() != 0) DelRecFigure(dates[i]->GetHandle());
  }
}
