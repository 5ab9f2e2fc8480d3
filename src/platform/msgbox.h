// AfxMessageBox: the one message the plug-in shows to a user goes through a replaceable handler.
//
// Without a handler the text goes to standard error and the box answers IDOK. Tests install a
// handler that captures the text, style and help id; the tool prints the text.
#pragma once

#include "platform/types.h"

enum : UINT { MB_OK = 0x00, MB_ICONEXCLAMATION = 0x30, MB_ICONWARNING = 0x30 };
enum : int { IDOK = 1 };

typedef int (*AfxMessageBoxHandler)(const char* text, UINT type, UINT helpId);

SXF_PLATFORM_API int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);

// Installs handler (null restores the default) and returns the previous one.
SXF_PLATFORM_API AfxMessageBoxHandler SetAfxMessageBoxHandler(AfxMessageBoxHandler handler);
