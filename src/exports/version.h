// The plug-in's version text, exported under a plain name so a host can check what it loaded.
#pragma once

#include "platform/visibility.h"

SXF_EXTERN_C const char* SxfAttrVersion();
