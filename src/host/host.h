// Every header of the host stand-in: the in-memory host database, its records and graphic
// elements, the undo manager, the unit list, the environment, the tools and the plug-in loader.
#pragma once

#include "host/archive_block.h"
#include "host/area_control.h"
#include "host/dword_array_x.h"
#include "host/environ_obj.h"
#include "host/gdi.h"
#include "host/matrix.h"
#include "host/plugin_loader.h"
#include "host/sxf_attr_list.h"
#include "host/wildcard.h"
#include "host/zcdb.h"
#include "host/zcdb_attr_db.h"
#include "host/zcdb_blk.h"
#include "host/zcdb_buff.h"
#include "host/zcdb_contour.h"
#include "host/zcdb_elm.h"
#include "host/zcdb_grp.h"
#include "host/zcdb_rec.h"
#include "host/zcdb_undo.h"
#include "host/zgelm.h"
#include "platform/visibility.h"
