// The functions the host calls by their plain names: the creation of a drawing's attribute
// database and the attachment of a figure whose ownership the caller hands over.
#pragma once

#include "host/zcdb_attr_db.h"
#include "platform/visibility.h"

class CEnvironObj;
class SxfZCdbFigure;

// A new "SXF" attribute database for one drawing, given the host's environment by address. The
// host registers it under "SXF" and owns it from then on (deleting it through the virtual
// destructor). env must outlive it; a null env makes no database (null).
SXF_EXTERN_C ZCdbAttrDB* ZCdbAttrDBEntry(CEnvironObj* env);

// Attaches *fig to rec as SXF_SetRecFigure does and deletes fig in every case. Returns 0 when rec
// has no host database, 1 otherwise (also when nothing could be attached).
SXF_EXTERN_C int ZCDbAttrFigureSetVer3(ZCdbRecBase* rec, SxfZCdbFigure* fig);
