// Everything of the platform layer: the MFC-like classes and the Windows helpers the plug-in uses.
#pragma once

#include "platform/carchive.h"
#include "platform/carray.h"
#include "platform/cfile.h"
#include "platform/cmap.h"
#include "platform/cstring.h"
#include "platform/exceptions.h"
#include "platform/msgbox.h"
#include "platform/sjis.h"
#include "platform/types.h"
