// Area-control figures of the host database.
//
// A record is an area-control figure when it carries the status bit ZCDB_STATUS_AREACONTROL
// (0x100); the caller sets it with SetStatus. Such a record is normally a table whose first
// element record below it is the outline that the application highlights.
#pragma once

#include "platform/visibility.h"

class ZCdbTblBase;
class ZCdbBuff;

// Non-zero when a record below table (at any depth, the table itself not included) carries the
// area-control bit and neither it nor a table above it (up to table) is removed.
SXF_HOST_API int IsAreaControlExist(ZCdbTblBase* table);

// Appends every record below table that carries the area-control bit, depth first in child
// order, to buff. Removal marks are not looked at: the drawing code skips removed records and
// records in removed tables itself. A null table adds nothing.
SXF_HOST_API void CollectAreaControlDrawBuff(ZCdbTblBase* table, ZCdbBuff& buff);
