// Title texts: splitting and joining lines, and picking item values out of SxfTitleInfo.
//
// All texts are Shift-JIS; the separator "$$" is only found at character boundaries. None of
// these functions reports an error: an unknown item gives null, 1 or an empty text as stated.
#pragma once

#include "platform/carray.h"
#include "platform/cstring.h"
#include "platform/visibility.h"
#include "title/title_id.h"
#include "title/title_info.h"

class ZCdbRecBase;

// The string field of info that holds item id, or null for the drawing number, the total number
// of drawings, the date and any value outside the item table (those are not plain strings in the
// record: see SXF_GetTitleNumberData and the title date functions).
SXF_API CString* SXF_GetTitleStrPtr(SxfTitleInfo& info, SXF_TTL_ID id);

// Sets number to the part of info.drawingNumber before the first "$$" (the whole field when there
// is none) and total to the part after it (empty when there is none).
SXF_API void SXF_GetTitleNumberData(const SxfTitleInfo& info, CString& number, CString& total);

// Replaces lines by the lines of text separated by "$$" and returns their count. An empty text
// gives one empty line; empty lines between separators are kept, but a separator at the very end
// adds no empty last line ("A$$" gives one line). A null text counts as empty.
SXF_API int SXF_DivideTitleStr(const char* text, CStringArray& lines);

// Joins the non-empty lines with "$$". Empty lines are dropped, so splitting "A$$$$B" and
// joining again gives "A$$B".
SXF_API CString SXF_ChainTitleStr(const CStringArray& lines);

// 0 for the items shown on one line only (drawing number, total number of drawings, scale);
// 1 for every other value, the date and values outside the item table included.
SXF_API int SXF_TitleIsMltLineOk(SXF_TTL_ID id);

// The text a title element shows: the text of the string figure of an element record (kind 8 or
// 9 whose graphic element has type 10), else an empty text. rec must not be null.
SXF_API CString SXF_GetTitleText(ZCdbRecBase* rec);
