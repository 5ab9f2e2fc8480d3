#include "title/title_strings.h"

#include "title/title_items.h"

CString* SXF_GetTitleStrPtr(SxfTitleInfo& info, SXF_TTL_ID id) {
  const SxfTitleItem* item = FindTitleItem(id);
  if (item == nullptr || item->field == nullptr) return nullptr;
  return &(info.*(item->field));
}

void SXF_GetTitleNumberData(const SxfTitleInfo& info, CString& number, CString& total) {
  number.Empty();
  total.Empty();
  const CString& field = info.drawingNumber;
  int sep = field.Find(kSxfTitleLineSeparator);
  if (sep < 0) {
    number = field;
    return;
  }
  number = field.Left(sep);
  total = field.Mid(sep + 2);
}

int SXF_DivideTitleStr(const char* text, CStringArray& lines) {
  lines.SetSize(0);
  CString rest(text);
  if (rest.IsEmpty()) {
    lines.Add(CString());
    return 1;
  }
  for (;;) {
    int sep = rest.Find(kSxfTitleLineSeparator);
    if (sep < 0) {
      lines.Add(rest);
      break;
    }
    lines.Add(rest.Left(sep));
    rest = rest.Mid(sep + 2);
    if (rest.IsEmpty()) break;
  }
  return lines.GetSize();
}

CString SXF_ChainTitleStr(const CStringArray& lines) {
  CString result;
  for (int i = 0; i < lines.GetSize(); ++i) {
    if (lines[i].IsEmpty()) continue;
    if (!result.IsEmpty()) result += kSxfTitleLineSeparator;
    result += lines[i];
  }
  return result;
}

int SXF_TitleIsMltLineOk(SXF_TTL_ID id) {
  const SxfTitleItem* item = FindTitleItem(id);
  return item == nullptr ? 1 : item->multiLine;
}
