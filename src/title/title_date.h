// The title block's date as text: the canonical form, reading a written date, and rewriting a
// written date with new values in the writer's own form.
//
// Dates are Western years throughout; an era name in a text (平成, 昭和) is converted on the way
// in and out. Texts are Shift-JIS. Formatting does not depend on the process locale.
#pragma once

#include "platform/cstring.h"
#include "platform/visibility.h"
#include "title/title_info.h"

// "<year>年<month>月<day>日" of info's date, with ASCII digits and no era, whatever the values
// (a title without a date gives "0年1月1日").
SXF_API CString SXF_MakeTitleDate(const SxfTitleInfo& info);

// Reads a written date into a Western year, month and day; returns 1 for a clean date and 0
// otherwise. The outputs are written in every case: 0, 1, 1 when the text does not look like a
// date at all, otherwise the numbers as read (era converted) even when the verdict is 0, so a
// caller that needs a valid date checks the result.
SXF_API int SXF_ParseTitleDate(const char* text, int& year, int& month, int& day);

// Sets out to text rewritten with the new date, keeping its era name, separators, blanks and
// digit width; the year is clamped to what the era can show (at least 1902 for Western years, at
// least 1 for era years) and a month or day out of range becomes 1. When text is not a clean
// date, out becomes the canonical text of the new values, unclamped. Always returns 1.
SXF_API int SXF_ChangeTitleDate(const char* text, int year, int month, int day, CString& out);
