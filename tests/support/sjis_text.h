// Tests write Japanese texts in UTF-8; this turns them into the Shift-JIS bytes the plug-in uses.
#pragma once

#include <string>

// Converts UTF-8 text to code page 932 bytes with iconv; aborts the test program on failure.
std::string Sjis(const std::string& utf8);
// Converts code page 932 bytes to UTF-8; returns false when they do not convert.
bool SjisToUtf8(const std::string& sjis, std::string* utf8);
