// Character-aware scanning of Shift-JIS (code page 932) byte strings.
//
// A double-byte character starts with a lead byte (0x81-0x9F or 0xE0-0xFC); its second byte may
// be any value, including ASCII ones such as 0x5C. Every search of the plug-in steps over texts
// one character at a time, so a match never starts on a second byte.
#pragma once

#include "platform/types.h"

// Non-zero when b is a lead byte of code page 932.
inline BOOL IsDBCSLeadByte(BYTE b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Length in bytes of the character that starts at text[i] (1 or 2; 1 when a lead byte is the
// last byte of the text).
inline int SjisCharLength(const char* text, int length, int i) {
  return (i + 1 < length && IsDBCSLeadByte(static_cast<BYTE>(text[i]))) ? 2 : 1;
}

// Position of the first occurrence of pattern in text at a character boundary at or after start
// (start itself is taken as a boundary), or -1. An empty pattern matches at start.
SXF_PLATFORM_API int SjisFind(const char* text, int length, const char* pattern, int patternLength,
                              int start);

// Position of the first character equal to the single byte ch at or after start, or -1.
SXF_PLATFORM_API int SjisFindChar(const char* text, int length, char ch, int start);

// Position of the last character equal to the single byte ch, or -1.
SXF_PLATFORM_API int SjisReverseFindChar(const char* text, int length, char ch);
