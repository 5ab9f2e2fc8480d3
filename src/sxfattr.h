// The SXF attribute plug-in in one include: every class, constant and function that a host or
// another library of the host application uses. The host stand-in has its own umbrella header,
// host/host.h.
#pragma once

#include "attrdb/attrdb.h"
#include "exports/entry.h"
#include "exports/record_functions.h"
#include "exports/version.h"
#include "model/atrf.h"
#include "model/atrs.h"
#include "model/atru.h"
#include "model/attr_grp.h"
#include "model/attr_set_def.h"
#include "model/attr_set_ref.h"
#include "model/figure.h"
#include "model/target.h"
#include "special/area_control.h"
#include "title/title_date.h"
#include "title/title_id.h"
#include "title/title_info.h"
#include "title/title_rec_map.h"
#include "title/title_strings.h"
