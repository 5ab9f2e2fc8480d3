#include "title/title_date.h"

#include "title/date_text.h"

CString SXF_MakeTitleDate(const SxfTitleInfo& info) {
  return MakeCanonicalDateText(info.year, info.month, info.day);
}

int SXF_ParseTitleDate(const char* text, int& year, int& month, int& day) {
  SxfParsedDate date;
  int verdict = ParseDateText(text, date);
  year = date.year;
  month = date.month;
  day = date.day;
  return verdict;
}

int SXF_ChangeTitleDate(const char* text, int year, int month, int day, CString& out) {
  if (!ReformatDateText(text, year, month, day, out)) out = MakeCanonicalDateText(year, month, day);
  return 1;
}
