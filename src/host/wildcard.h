// WildCardEx: the tools library's wildcard pattern for names.
//
// Syntax: `*` matches any run of characters (also none), `?` matches exactly one character, and
// `\` makes the next character literal (`\*`, `\?`, `\\`); a `\` at the end of the pattern
// stands for itself. Every other character matches itself. Patterns and texts are Shift-JIS
// byte strings and are taken one character at a time: `?` consumes a whole double-byte
// character, and a double-byte character whose second byte is 0x5C (such as the one of
// U+8868) is a literal character, never an escape.
//
// Cost: O(pattern length * text length) in the worst case, no allocation beyond splitting the
// two texts into characters.
#pragma once

#include <string>
#include <vector>

#include "platform/cstring.h"
#include "platform/visibility.h"

class SXF_HOST_API WildCardEx {
 public:
  // A null pattern is the empty pattern, which matches only the empty text.
  explicit WildCardEx(const char* pattern);
  virtual ~WildCardEx();

  // Non-zero when the whole text matches. A null text counts as empty. With ignoreCase
  // non-zero, ASCII letters compare without case (double-byte characters always exactly);
  // the plug-in passes 0.
  int IsMatch(const char* text, int ignoreCase) const;

  const CString& GetPattern() const { return pattern_; }

 private:
  // One pattern element: a literal character (one or two bytes), any run, or any one character.
  struct Token {
    enum Kind { kLiteral, kAnyRun, kAnyOne } kind;
    std::string bytes;
  };

  CString pattern_;
  std::vector<Token> tokens_;
};
