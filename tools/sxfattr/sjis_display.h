// Shift-JIS (code page 932) texts shown as UTF-8, and UTF-8 texts turned back into Shift-JIS.
//
// A text "decodes" when iconv turns it from CP932 into UTF-8 and the UTF-8 turns back into the
// very same bytes. Texts that do not (bytes outside the code page, or one of the code page's
// duplicate characters whose bytes would change on the way back) are shown by their bytes in
// lower-case hex instead, so nothing a file holds is ever shown wrongly or lost.
//
// The converters are opened once per process; the functions are not thread-safe.
#pragma once

#include <string>

// Sets utf8 and returns true when sjis decodes (see above); after false, utf8 holds nothing useful.
bool DecodeSjis(const std::string& sjis, std::string& utf8);
// Sets sjis and returns true when utf8 is valid UTF-8 whose every character has a CP932 form.
bool EncodeSjis(const std::string& utf8, std::string& sjis);

// "8140ff" for the bytes 0x81 0x40 0xFF.
std::string HexBytes(const std::string& bytes);
// The bytes of an even-length hex text (either case); false for anything else.
bool ParseHexBytes(const std::string& hex, std::string& bytes);

// The text for a line of human-readable output: the decoded text in double quotes, with
// backslash, double quote and control characters escaped as in C; a text that does not decode
// shows as <sjis:hex>.
std::string QuotedText(const std::string& sjis);
