#include "platform/cstring.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/sjis.h"

namespace {

int CompareBytes(const std::string& a, const char* b, size_t bLength) {
  size_t n = a.size() < bLength ? a.size() : bLength;
  int c = n ? std::memcmp(a.data(), b, n) : 0;
  if (c != 0) return c;
  if (a.size() == bLength) return 0;
  return a.size() < bLength ? -1 : 1;
}

char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
char AsciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
bool IsAsciiSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

int CString::Compare(const char* text) const {
  if (!text) text = "";
  return CompareBytes(s_, text, std::strlen(text));
}

int CString::CompareNoCase(const char* text) const {
  if (!text) text = "";
  CString a(*this), b(text);
  a.MakeLower();
  b.MakeLower();
  return a.Compare(b);
}

CString CString::Mid(int first, int count) const {
  int length = GetLength();
  if (first < 0) first = 0;
  if (count < 0) count = 0;
  if (first > length) first = length;
  if (count > length - first) count = length - first;
  return CString(s_.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Left(int count) const {
  return Mid(0, count);
}

CString CString::Right(int count) const {
  if (count < 0) count = 0;
  if (count > GetLength()) count = GetLength();
  return Mid(GetLength() - count, count);
}

// A start before the text finds nothing, as in MFC, rather than searching from the beginning.
int CString::Find(char ch, int start) const {
  if (start < 0 || start >= GetLength()) return -1;
  return SjisFindChar(s_.data(), GetLength(), ch, start);
}

int CString::Find(const char* sub, int start) const {
  if (!sub) return -1;
  if (start < 0 || start > GetLength()) return -1;
  return SjisFind(s_.data(), GetLength(), sub, static_cast<int>(std::strlen(sub)), start);
}

int CString::ReverseFind(char ch) const {
  return SjisReverseFindChar(s_.data(), GetLength(), ch);
}

void CString::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  char small[256];
  int n = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  if (n < 0) {
    s_.clear();
  } else if (static_cast<size_t>(n) < sizeof small) {
    s_.assign(small, static_cast<size_t>(n));
  } else {
    s_.resize(static_cast<size_t>(n));
    std::vsnprintf(&s_[0], static_cast<size_t>(n) + 1, format, copy);
  }
  va_end(copy);
}

CString& CString::TrimLeft() {
  size_t i = 0;
  while (i < s_.size() && IsAsciiSpace(s_[i])) ++i;
  s_.erase(0, i);
  return *this;
}

CString& CString::TrimRight() {
  size_t n = s_.size();
  while (n > 0 && IsAsciiSpace(s_[n - 1])) --n;
  s_.resize(n);
  return *this;
}

CString& CString::MakeUpper() {
  int length = GetLength();
  for (int i = 0; i < length; i += SjisCharLength(s_.data(), length, i)) {
    if (SjisCharLength(s_.data(), length, i) == 1) s_[i] = AsciiUpper(s_[i]);
  }
  return *this;
}

CString& CString::MakeLower() {
  int length = GetLength();
  for (int i = 0; i < length; i += SjisCharLength(s_.data(), length, i)) {
    if (SjisCharLength(s_.data(), length, i) == 1) s_[i] = AsciiLower(s_[i]);
  }
  return *this;
}

int CString::Replace(const char* from, const char* to) {
  if (!from || !*from) return 0;
  if (!to) to = "";
  int fromLength = static_cast<int>(std::strlen(from));
  std::string out;
  int count = 0;
  int i = 0;
  int length = GetLength();
  while (i < length) {
    if (i + fromLength <= length && std::memcmp(s_.data() + i, from, fromLength) == 0) {
      out += to;
      i += fromLength;
      ++count;
    } else {
      int step = SjisCharLength(s_.data(), length, i);
      out.append(s_, static_cast<size_t>(i), static_cast<size_t>(step));
      i += step;
    }
  }
  if (count) s_.swap(out);
  return count;
}

int CString::Insert(int index, const char* text) {
  if (index < 0) index = 0;
  if (index > GetLength()) index = GetLength();
  if (text) s_.insert(static_cast<size_t>(index), text);
  return GetLength();
}

int CString::Delete(int index, int count) {
  if (index < 0) index = 0;
  if (count > 0 && index < GetLength()) s_.erase(static_cast<size_t>(index), static_cast<size_t>(count));
  return GetLength();
}

char* CString::GetBuffer(int minLength) {
  if (minLength > GetLength()) s_.resize(static_cast<size_t>(minLength));
  return &s_[0];
}

void CString::ReleaseBuffer(int newLength) {
  if (newLength < 0) newLength = static_cast<int>(std::strlen(s_.c_str()));
  if (newLength > GetLength()) newLength = GetLength();
  s_.resize(static_cast<size_t>(newLength));
}

CString operator+(const CString& a, const CString& b) {
  return CString(a.str() + b.str());
}
CString operator+(const CString& a, const char* b) {
  return CString(a.str() + (b ? b : ""));
}
CString operator+(const char* a, const CString& b) {
  return CString(std::string(a ? a : "") + b.str());
}
CString operator+(const CString& a, char b) {
  return CString(a.str() + b);
}
