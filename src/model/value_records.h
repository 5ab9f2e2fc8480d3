// The records of single attribute values, in both formats: the four routines every record that
// holds values (groups, figures) reads and writes them with. Internal to the plug-in.
#pragma once

#include "model/atrs.h"
#include "model/atru.h"
#include "platform/carchive.h"
#include "platform/cfile.h"

// Old-format ATRS record: byte version (4), file strings name, type, unit. Versions 0 to 4 read
// alike. Write returns 1 or 0 on a failed write; Read returns 1, or 0 on a version above 4 or a
// short read, leaving the fields read before the failure in atrs.
int WriteATRS(CFile* file, const SxfZCdbATRS& atrs);
int ReadATRS(CFile* file, SxfZCdbATRS& atrs);

// New-format ATRS record: tag 1 {name, type, unit}, end. NewReadATRS fills atrs from the record
// (fields missing from an early-ending tag-1 block keep their values) and returns 1; archive
// exceptions other than that early end pass on.
int NewWriteATRS(CArchive& ar, const SxfZCdbATRS& atrs);
int NewReadATRS(CArchive& ar, SxfZCdbATRS& atrs);

// Old-format ATRU record as written: byte version (4), ATRS record, int32 kind, file strings value
// and zukeiName. ReadATRU accepts versions 0 to 4 (version 1 is the legacy typed form) and returns
// a new object owned by the caller, or null on failure with nothing left behind.
int WriteATRU(CFile* file, const SxfZCdbATRU& atru);
SxfZCdbATRU* ReadATRU(CFile* file);

// New-format ATRU record: tag 1 {int32 kind, value, zukeiName}, tag 100 the ATRS record, end.
// NewReadATRU returns a new object owned by the caller (kind 10 and empty texts for what the
// record lacks), or null when the nested ATRS record fails; archive exceptions pass on after the
// object is deleted.
int NewWriteATRU(CArchive& ar, const SxfZCdbATRU& atru);
SxfZCdbATRU* NewReadATRU(CArchive& ar);
// The same into atru (a new SxfZCdbATRU for the same result); 1 on success, 0 on failure.
int NewReadATRU(CArchive& ar, SxfZCdbATRU& atru);
