// The body of every fuzz target: runs one input through a reader entry and ends the process like
// a crash when the reader broke a promise, so that libFuzzer keeps the input.
#pragma once

#include <cstddef>
#include <cstdint>

#include "entries/reader_entries.h"

// Returns 0 (libFuzzer's "keep going") or does not return.
int RunFuzzEntry(const char* target, ReaderEntry entry, const uint8_t* data, size_t size);
