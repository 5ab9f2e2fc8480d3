// Writing an output file whole or not at all.
//
// The bytes go to a new temporary file beside the target (same folder, so the final rename stays
// within one file system), are flushed to disk, and the temporary file is then renamed over the
// target. A reader of the target therefore sees the old file or the complete new one, never a
// part. On any failure the temporary file is removed and an existing target stays untouched.
// A replaced file keeps its permission bits; a new one gets 0666 less the umask.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

// Throws ToolError(kExitInput, "<path>: <reason>") when the file cannot be written.
void WriteFileAtomically(const std::string& path, const void* data, size_t size);

// The same for a writer that opens its output by name (a library writing a workbook): fill gets
// the name of a new, empty temporary file beside path and writes the whole output there; it may
// truncate and rewrite that file, and fails by throwing. After fill returns, the file is flushed
// to disk and renamed over path. When fill throws, the temporary file is removed, an existing
// path is left as it was and the exception goes on to the caller.
void WriteFileAtomicallyByName(const std::string& path, const std::function<void(const std::string&)>& fill);
