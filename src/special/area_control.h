// Area-control figures: finding them in a drawing and drawing their outlines.
//
// Two functions pass straight through to the host database; SXF_AreaControlDraw draws, for each
// usable record of a buffer, the first element record below it with a solid pen of width 2 and
// no fill. The device context leaves the call with the pen and brush it had on entry.
#pragma once

#include "platform/types.h"
#include "platform/visibility.h"

class CDC;
class Matrix;
class ZCdb;
class ZCdbBuff;
class ZCdbTblBase;

// Collects the area-control records of db into buff (the host's collection, nothing added).
SXF_API void SXF_CollectAreaControlDrawBuff(ZCdb* db, ZCdbBuff& buff);
// The host's answer whether table holds an area-control record.
SXF_API int SXF_IsAreaControlExist(ZCdbTblBase* table);
// Draws the records of buff into dc. Records that are null or removed, or whose table is
// removed, are skipped; so are records without element records below them. An element inside a
// group with a virtual matrix is drawn through that matrix followed by matrix. color is a
// Windows RGB value.
SXF_API void SXF_AreaControlDraw(CDC* dc, const Matrix& matrix, DWORD color, ZCdbBuff& buff);
