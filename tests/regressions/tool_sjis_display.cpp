// The tool's sjis_display.cpp, built into this program for the import entry (tool_json_reader.h).
#include "tool_json_reader.h"
#if SXF_HAVE_TOOL_JSON_READER
#include "../../tools/sxfattr/sjis_display.cpp"
#endif
