// Reading, checking and rewriting the date text of a title block.
//
// People write the title date in many forms: Western years or years of the eras 平成 and 昭和,
// ASCII or full-width digits (mixed freely, each counted by its own width), blanks (ASCII or
// full-width) around the numbers, and one of eight separator styles: "-", "/", ".", their
// full-width forms, the hyphen "‐", or 年/月/日. These operations are internal to the plug-in; the
// exported SXF_ParseTitleDate and SXF_ChangeTitleDate sit on top of them.
//
// A text is a clean date when, apart from blanks and one leading era name, it holds exactly
// year, separator, month, separator, day (and the day mark for the 年/月/日 style), the Western
// year is 1903 or later, the month 1 to 12 and the day 1 to 31 (not checked against the month's
// length).
#pragma once

#include "platform/cstring.h"

// Era codes of a parsed date.
enum : int { kDateEraWestern = 0, kDateEraHeisei = 1, kDateEraShowa = 2 };

struct SxfParsedDate {
  int year = 0;  // Western year (the era offset already added)
  int month = 1;
  int day = 1;
  int fullWidth = 0;  // 1 when the first digit of the text is a full-width digit
  int era = kDateEraWestern;
};

// The years of the title block. A stored title date outside kFirstTitleYear..kLastTitleYear
// (or with a month or day out of range) is no date at all. A date text reads as a clean date
// only from kFirstCleanYear on, and a Western year written into an old text is at least
// kFirstWrittenYear.
inline constexpr int kFirstTitleYear = 1901;
inline constexpr int kLastTitleYear = 2100;
inline constexpr int kFirstCleanYear = 1903;
inline constexpr int kFirstWrittenYear = 1902;

// Parses text into date and returns 1 for a clean date, 0 otherwise. date is always written:
// 0, 1, 1 when no separator style fits or no digit stands before the year separator; otherwise
// the numbers as read, with the era offset added, even when the verdict is 0. When templ is not
// null it receives the text with the year, month and day digits each replaced by "%s" (empty
// when the text did not get that far). A null text counts as empty.
int ParseDateText(const char* text, SxfParsedDate& date, CString* templ = nullptr);

// Rewrites the clean date text with a new Western date, keeping the era name, separators, blanks
// and digit width of the old text. The year is converted to the old text's era and clamped (a
// Western year of 1901 or less becomes 1902, an era year below 1 becomes 1); a month or day out
// of range becomes 1. Returns 0, leaving out alone, when text is not a clean date.
int ReformatDateText(const char* text, int year, int month, int day, CString& out);

// The decimal digits of value (1 or more), in ASCII or, when fullWidth is set, full-width form.
CString FormatDateDigits(int value, int fullWidth);

// The canonical date text "<year>年<month>月<day>日" with ASCII digits and no era, values as given.
CString MakeCanonicalDateText(int year, int month, int day);
