// Free functions that reach the "SXF" attribute database of a record's drawing and attach, read
// or remove the record's attributes. Each looks the database up as
// rec->GetZCdb()->GetAttrDB("SXF"); a drawing without one (or with a database of another kind
// under that name) gives the failure result, and no message is shown. SXF_GetAttrDB, which
// finds the database, is declared with it in attrdb/attrdb.h.
#pragma once

#include "platform/types.h"
#include "platform/visibility.h"

class SxfZCdbAttrDB;
class SxfZCdbFigure;
class ZCdb;
class ZCdbRecBase;

// Copies the attributes of rec into fig (see SxfZCdbAttrDB::GetRecFigure); 0 when rec has no
// drawing or the drawing no "SXF" database.
SXF_API int SXF_GetRecFigure(ZCdbRecBase* rec, SxfZCdbFigure& fig);
// Attaches a copy of fig to rec: rec's handle; 0 when rec has no drawing; 0xFFFFFFFF when the
// drawing has no "SXF" database or rec has no handle.
SXF_API DWORD SXF_SetRecFigure(ZCdbRecBase* rec, const SxfZCdbFigure& fig);
// Removes the attributes of rec: 1; 0 when rec has no drawing or the drawing no "SXF" database.
SXF_API int SXF_DelRecFigure(ZCdbRecBase* rec);
// The record of handle known to db's "SXF" database, or null.
SXF_API ZCdbRecBase* SXF_GetZCdbRec(ZCdb* db, DWORD handle);
