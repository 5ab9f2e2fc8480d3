// Whether this program holds the JSON reader of `sxfattr import` (tool_json_reader*.cpp compile
// the tool's own sources into it). It needs nlohmann-json, which only tool builds install.
#pragma once

#if __has_include(<nlohmann/json.hpp>)
#define SXF_HAVE_TOOL_JSON_READER 1
#else
#define SXF_HAVE_TOOL_JSON_READER 0
#endif
