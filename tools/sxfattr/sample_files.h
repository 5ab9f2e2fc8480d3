// The sample sections bundled with the tool: the files the demo writes, committed under samples/
// and installed under share/sxfattr/samples.
#pragma once

#include <string>

// New layout (version 0x3000); the first sample by name, which `dump` shows without FILE.
inline constexpr const char kNewLayoutSample[] = "demo_new_layout.sxfattr";
// The second revision of the new-layout sample's drawing, for `diff`.
inline constexpr const char kRevisionSample[] = "demo_new_layout_rev2.sxfattr";
// Old layout (version 0x2000).
inline constexpr const char kOldLayoutSample[] = "demo_old_layout.sxfattr";

// The first *.sxfattr file by name in the installed samples folder beside the tool, or else in
// the source tree the tool was built from. Throws ToolError(kExitInput) naming both places when
// neither has one.
std::string BundledSamplePath();
