// Writing an output file whole or not at all.
//
// The bytes go to a new temporary file beside the target (same folder, so the final rename stays
// within one file system), are flushed to disk, and the temporary file is then renamed over the
// target. A reader of the target therefore sees the old file or the complete new one, never a
// part. On any failure the temporary file is removed and an existing target stays untouched.
// A replaced file keeps its permission bits; a new one gets 0666 less the umask.
#pragma once

#include <cstddef>
#include <string>

// Throws ToolError(kExitInput, "<path>: <reason>") when the file cannot be written.
void WriteFileAtomically(const std::string& path, const void* data, size_t size);
