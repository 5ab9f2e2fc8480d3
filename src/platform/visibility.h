// The visibility macros of every library, in the bottom layer so that any header can mark what it
// exports without reaching above its own layer.
//
// SXF_PLATFORM_API: the platform layer, linked into the host and re-exported by the plug-in, so a
//   host and the plug-in share one copy (one message-box handler, one allocator).
// SXF_HOST_API: the host stand-in, visible to the plug-in the host process loads, as a real
//   host's own libraries are.
// SXF_API: the plug-in's interface for hosts and the host application's other libraries; the
//   plug-in is built with hidden visibility, so nothing else leaves the shared library.
// SXF_EXTERN_C: plug-in functions exported under plain, undecorated names.
#pragma once

#if defined(_WIN32)
#define SXF_PLATFORM_API
#define SXF_HOST_API
#if defined(SXF_BUILDING_PLUGIN)
#define SXF_API __declspec(dllexport)
#else
#define SXF_API __declspec(dllimport)
#endif
#else
#define SXF_PLATFORM_API __attribute__((visibility("default")))
#define SXF_HOST_API __attribute__((visibility("default")))
#define SXF_API __attribute__((visibility("default")))
#endif

#define SXF_EXTERN_C extern "C" SXF_API
