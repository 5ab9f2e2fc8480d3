// The entry of the JSON document reader behind `sxfattr import` (see reader_entries.h). It is
// built only where the tool's JSON reader is (nlohmann-json installed), in its own library.
#pragma once

#include "entries/reader_entries.h"

ReadResult ReadImportJson(const uint8_t* data, size_t size);
