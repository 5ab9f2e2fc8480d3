// CString: an 8-bit byte string with MFC's interface, as the plug-in uses it.
//
// Texts are Shift-JIS byte strings. Comparison is exact and byte-wise (unsigned); Find is
// character-aware, so a match never starts on the second byte of a double-byte character (as
// MFC's multi-byte build behaves). The string keeps its length, so it may hold zero bytes; the
// conversion to const char* always gives a zero-terminated buffer. Index arguments out of range
// are clamped as MFC clamps them. Format uses the C library's printf rules in the "C" locale
// (the plug-in never changes the process locale).
#pragma once

#include <string>

#include "platform/types.h"

class SXF_PLATFORM_API CString {
 public:
  CString() = default;
  CString(const char* text) : s_(text ? text : "") {}  // NOLINT: implicit as in MFC
  CString(const char* text, int length) : s_(text ? text : "", text && length > 0 ? length : 0) {}
  CString(char ch, int repeat = 1) : s_(repeat > 0 ? repeat : 0, ch) {}
  explicit CString(const std::string& text) : s_(text) {}
  CString(const CString&) = default;
  CString(CString&&) noexcept = default;
  CString& operator=(const CString&) = default;
  CString& operator=(CString&&) noexcept = default;
  CString& operator=(const char* text) {
    s_.assign(text ? text : "");
    return *this;
  }
  CString& operator=(char ch) {
    s_.assign(1, ch);
    return *this;
  }

  int GetLength() const { return static_cast<int>(s_.size()); }
  BOOL IsEmpty() const { return s_.empty(); }
  void Empty() { s_.clear(); }
  operator const char*() const { return s_.c_str(); }  // NOLINT: implicit as in MFC
  const char* GetString() const { return s_.c_str(); }
  const std::string& str() const { return s_; }

  char GetAt(int i) const { return s_[static_cast<size_t>(i)]; }
  char operator[](int i) const { return s_[static_cast<size_t>(i)]; }
  void SetAt(int i, char ch) { s_[static_cast<size_t>(i)] = ch; }

  // Byte-wise comparison: < 0, 0 or > 0, as strcmp on unsigned bytes.
  int Compare(const char* text) const;
  int CompareNoCase(const char* text) const;

  CString Mid(int first) const { return Mid(first, GetLength() - first); }
  CString Mid(int first, int count) const;
  CString Left(int count) const;
  CString Right(int count) const;

  // Character-aware searches from start (taken as a character boundary); -1 when not found or
  // when start lies outside the text.
  int Find(char ch, int start = 0) const;
  int Find(const char* sub, int start = 0) const;
  int ReverseFind(char ch) const;

  void Format(const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 2, 3)))
#endif
      ;

  CString& operator+=(const CString& other) {
    s_ += other.s_;
    return *this;
  }
  CString& operator+=(const char* text) {
    if (text) s_ += text;
    return *this;
  }
  CString& operator+=(char ch) {
    s_ += ch;
    return *this;
  }

  // Removes leading or trailing ASCII white space (space, tab, CR, LF, VT, FF).
  CString& TrimLeft();
  CString& TrimRight();
  CString& Trim() {
    return TrimRight().TrimLeft();
  }
  // ASCII case mapping that leaves double-byte characters alone.
  CString& MakeUpper();
  CString& MakeLower();
  // Replaces every character-aligned occurrence of from by to; returns the count.
  int Replace(const char* from, const char* to);
  int Insert(int index, const char* text);
  int Delete(int index, int count = 1);

  // Direct buffer access: GetBuffer gives room for at least minLength bytes; ReleaseBuffer sets
  // the length (-1: up to the first zero byte).
  char* GetBuffer(int minLength = 0);
  void ReleaseBuffer(int newLength = -1);

 private:
  std::string s_;
};

SXF_PLATFORM_API CString operator+(const CString& a, const CString& b);
SXF_PLATFORM_API CString operator+(const CString& a, const char* b);
SXF_PLATFORM_API CString operator+(const char* a, const CString& b);
SXF_PLATFORM_API CString operator+(const CString& a, char b);

inline bool operator==(const CString& a, const CString& b) {
  return a.str() == b.str();
}
inline bool operator!=(const CString& a, const CString& b) {
  return !(a == b);
}
inline bool operator==(const CString& a, const char* b) {
  return a.Compare(b) == 0;
}
inline bool operator!=(const CString& a, const char* b) {
  return a.Compare(b) != 0;
}
inline bool operator==(const char* a, const CString& b) {
  return b.Compare(a) == 0;
}
inline bool operator!=(const char* a, const CString& b) {
  return b.Compare(a) != 0;
}
// Whole strings, zero bytes included; std::string orders bytes as unsigned, as Compare does.
inline bool operator<(const CString& a, const CString& b) {
  return a.str() < b.str();
}
