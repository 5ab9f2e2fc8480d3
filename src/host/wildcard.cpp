#include "host/wildcard.h"

#include <cstdint>
#include <cstring>

#include "platform/sjis.h"

namespace {

// Splits text into characters: one byte, or two for a Shift-JIS lead byte with a byte after it.
std::vector<std::string> Characters(const char* text) {
  std::vector<std::string> chars;
  if (!text) return chars;
  const int length = static_cast<int>(std::strlen(text));
  for (int i = 0; i < length;) {
    const int n = SjisCharLength(text, length, i);
    chars.emplace_back(text + i, static_cast<size_t>(n));
    i += n;
  }
  return chars;
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameChar(const std::string& a, const std::string& b, bool ignoreCase) {
  if (!ignoreCase || a.size() != 1 || b.size() != 1) return a == b;
  return Lower(a[0]) == Lower(b[0]);
}

}  // namespace

WildCardEx::WildCardEx(const char* pattern) : pattern_(pattern) {
  const std::vector<std::string> chars = Characters(pattern);
  for (size_t i = 0; i < chars.size(); ++i) {
    const std::string& c = chars[i];
    if (c == "*") {
      // Runs of stars mean the same as one star.
      if (tokens_.empty() || tokens_.back().kind != Token::kAnyRun) tokens_.push_back({Token::kAnyRun, c});
    } else if (c == "?") {
      tokens_.push_back({Token::kAnyOne, c});
    } else if (c == "\\" && i + 1 < chars.size()) {
      tokens_.push_back({Token::kLiteral, chars[++i]});
    } else {
      tokens_.push_back({Token::kLiteral, c});
    }
  }
}

WildCardEx::~WildCardEx() = default;

int WildCardEx::IsMatch(const char* text, int ignoreCase) const {
  const std::vector<std::string> chars = Characters(text);
  // Greedy scan that, on a mismatch, lets the latest star take one more character. Each star
  // only ever moves forward, which bounds the work by pattern length times text length.
  size_t t = 0, p = 0;
  size_t starP = SIZE_MAX, starT = 0;
  while (t < chars.size()) {
    if (p < tokens_.size() && tokens_[p].kind == Token::kAnyRun) {
      starP = p++;
      starT = t;
    } else if (p < tokens_.size() &&
               (tokens_[p].kind == Token::kAnyOne || SameChar(tokens_[p].bytes, chars[t], ignoreCase != 0))) {
      ++p;
      ++t;
    } else if (starP != SIZE_MAX) {
      p = starP + 1;
      t = ++starT;
    } else {
      return 0;
    }
  }
  while (p < tokens_.size() && tokens_[p].kind == Token::kAnyRun) ++p;
  return p == tokens_.size() ? 1 : 0;
}
