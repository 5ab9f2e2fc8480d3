// Primitives of the old record format: a plain byte stream written to and read from a CFile.
//
//   byte        := 1 byte, unsigned
//   int32       := 4 bytes, little-endian two's complement
//   double      := 8 bytes, IEEE 754, little-endian
//   file string := int32 L, then, only when L > 0, the L text bytes and one zero byte
//
// Writers return 1, or 0 when the file raised an exception during the write: the exception is
// caught here, and the bytes written before it stay in the file. A record writer stops at its
// first 0.
//
// Readers return 1, or 0 on a short read. Lengths and counts are checked against what is left of
// the file (GetLength() - GetPosition()) before anything is allocated, so a damaged length fails
// like a short read. Exceptions raised by CFile::Read itself are not caught.
#pragma once

#include "platform/cfile.h"
#include "platform/cstring.h"
#include "platform/types.h"

namespace old_format {

int WriteBytes(CFile* file, const void* data, UINT count);
int WriteByte(CFile* file, BYTE value);
int WriteInt32(CFile* file, LONG value);
int WriteDouble(CFile* file, double value);
// Writes the length and, for a non-empty text, the text with a terminating zero byte.
int WriteString(CFile* file, const CString& text);

// Reads exactly count bytes; 0 when fewer were there.
int ReadBytes(CFile* file, void* data, UINT count);
int ReadByte(CFile* file, BYTE& value);
int ReadInt32(CFile* file, LONG& value);
int ReadDouble(CFile* file, double& value);
// A length of 0 or less leaves text as it was. Otherwise reads L + 1 bytes and takes the text up
// to the first zero byte among them; fails before allocating when L + 1 bytes are not left.
int ReadString(CFile* file, CString& text);

// Bytes between the file position and the end of the file (0 when the position is past it).
ULONGLONG BytesLeft(CFile* file);
// 1 when count is not negative and count records of at least minBytesEach bytes can still be in
// the file; readers call it before they allocate for a counted list.
int CountFits(CFile* file, LONG count, ULONGLONG minBytesEach);

}  // namespace old_format
