// The tool's json_document.cpp, built into this program for the import entry (tool_json_reader.h).
#include "tool_json_reader.h"
#if SXF_HAVE_TOOL_JSON_READER
#include "../../tools/sxfattr/json_document.cpp"
#endif
