// The plug-in's version text, exported under a plain name so a host can check what it loaded.
#pragma once

#include "exports/api.h"

SXF_EXTERN_C const char* SxfAttrVersion();
