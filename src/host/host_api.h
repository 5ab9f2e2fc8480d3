// Visibility of the host stand-in: its classes and functions are visible to the plug-in that the
// host process loads, as the host's own libraries are to a real plug-in.
#pragma once

#if defined(_WIN32)
#define SXF_HOST_API
#else
#define SXF_HOST_API __attribute__((visibility("default")))
#endif
