// The one visibility macro of the plug-in: everything the host and callers may use is marked
// SXF_API; everything else stays hidden inside the shared library.
#pragma once

#if defined(_WIN32)
#if defined(SXF_BUILDING_PLUGIN)
#define SXF_API __declspec(dllexport)
#else
#define SXF_API __declspec(dllimport)
#endif
#else
#define SXF_API __attribute__((visibility("default")))
#endif

// Functions exported under plain, undecorated names.
#define SXF_EXTERN_C extern "C" SXF_API
