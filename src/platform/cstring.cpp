#include "platform/cstring.h"

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/sjis.h"
#include "platform/slab.h"

namespace {

int CompareBytes(const char* a, size_t aLength, const char* b, size_t bLength) {
  size_t n = aLength < bLength ? aLength : bLength;
  int c = n ? std::memcmp(a, b, n) : 0;
  if (c != 0) return c < 0 ? -1 : 1;
  if (aLength == bLength) return 0;
  return aLength < bLength ? -1 : 1;
}

int TextLength(const char* text) {
  return text ? static_cast<int>(std::strlen(text)) : 0;
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

// ---- buffer management ----

CString::EmptyBuffer CString::empty_ = {{{-1}, 0, 0}, {0}};

size_t CString::BufferBytes(int capacity) {
  return sizeof(Rep) + static_cast<size_t>(capacity) + 1;
}

void CString::FreeBuffer(Rep* rep) noexcept {
  const int capacity = rep->capacity;
  rep->refs.~atomic();
  SlabFree(rep, BufferBytes(capacity));
}

char* CString::Allocate(int capacity, SlabCache* cache) {
  static_assert(offsetof(EmptyBuffer, chars) == sizeof(Rep),
                "the empty buffer has the layout of every buffer");
  const size_t bytes = BufferBytes(capacity);
  Rep* rep = static_cast<Rep*>(cache != nullptr ? cache->Allocate(bytes) : SlabAllocate(bytes));
  new (&rep->refs) std::atomic<int>(1);
  rep->length = 0;
  rep->capacity = capacity;
  char* chars = reinterpret_cast<char*>(rep + 1);
  chars[0] = 0;
  return chars;
}

void CString::ReleaseCounted() noexcept {
  Rep* rep = Head();
  if (rep->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) FreeBuffer(rep);
}

char* CString::AllocateCounted(const char* text, int length, int refs, SlabCache* cache) {
  char* chars = Allocate(length, cache);
  std::memcpy(chars, text, static_cast<size_t>(length));
  chars[length] = 0;
  Rep* rep = HeadOf(chars);
  rep->length = length;
  rep->refs.store(refs, std::memory_order_relaxed);
  return chars;
}

void CString::AdjustUnshared(char* chars, int delta) noexcept {
  Rep* rep = HeadOf(chars);
  const int refs = rep->refs.load(std::memory_order_relaxed) + delta;
  if (refs > 0) {
    rep->refs.store(refs, std::memory_order_relaxed);
    return;
  }
  FreeBuffer(rep);
}

char* CString::Own(int capacity) {
  Rep* rep = Head();
  if (rep->refs.load(std::memory_order_acquire) == 1 && rep->capacity >= capacity) return p_;
  const int length = rep->length;
  // Growing by half again keeps a run of appends linear.
  int room = capacity;
  if (room > rep->capacity && rep->refs.load(std::memory_order_relaxed) == 1) {
    const int grown = rep->capacity + rep->capacity / 2;
    if (grown > room) room = grown;
  }
  char* chars = Allocate(room);
  std::memcpy(chars, p_, static_cast<size_t>(length) + 1);
  HeadOf(chars)->length = length;
  Release();
  p_ = chars;
  return p_;
}

void CString::SetLength(int length) {
  Head()->length = length;
  p_[length] = 0;
}

void CString::Assign(const char* text, int length) {
  if (length <= 0) {
    Empty();
    return;
  }
  Rep* rep = Head();
  if (rep->refs.load(std::memory_order_acquire) == 1 && rep->capacity >= length) {
    // The text may be a part of this very buffer.
    std::memmove(p_, text, static_cast<size_t>(length));
    SetLength(length);
    return;
  }
  char* chars = Allocate(length);
  std::memcpy(chars, text, static_cast<size_t>(length));
  Release();
  p_ = chars;
  SetLength(length);
}

CString& CString::Append(const char* text, int length) {
  if (length <= 0) return *this;
  const int old = GetLength();
  // text may lie in this string's own text, which Own may move: it moves with it.
  const bool own = text >= p_ && text < p_ + old;
  const ptrdiff_t offset = own ? text - p_ : 0;
  Own(old + length);
  std::memmove(p_ + old, own ? p_ + offset : text, static_cast<size_t>(length));
  SetLength(old + length);
  return *this;
}

// ---- construction and assignment ----

CString::CString(const char* text) : p_(EmptyChars()) {
  Assign(text, TextLength(text));
}

CString::CString(const char* text, int length) : p_(EmptyChars()) {
  if (text && length > 0) Assign(text, length);
}

CString::CString(char ch, int repeat) : p_(EmptyChars()) {
  if (repeat <= 0) return;
  p_ = Allocate(repeat);
  std::memset(p_, ch, static_cast<size_t>(repeat));
  SetLength(repeat);
}

CString::CString(const std::string& text) : p_(EmptyChars()) {
  Assign(text.data(), static_cast<int>(text.size()));
}

CString& CString::operator=(const char* text) {
  Assign(text, TextLength(text));
  return *this;
}

CString& CString::operator=(char ch) {
  Assign(&ch, 1);
  return *this;
}

CString& CString::operator+=(const char* text) {
  return Append(text, TextLength(text));
}

// ---- comparison ----

int CString::Compare(const char* text) const {
  if (!text) text = "";
  return CompareBytes(p_, static_cast<size_t>(GetLength()), text, std::strlen(text));
}

int CString::Compare(const CString& other) const {
  if (p_ == other.p_) return 0;
  return CompareBytes(p_, static_cast<size_t>(GetLength()), other.p_, static_cast<size_t>(other.GetLength()));
}

bool CString::SameAs(const CString& other) const {
  return p_ == other.p_ || (GetLength() == other.GetLength() &&
                            std::memcmp(p_, other.p_, static_cast<size_t>(GetLength())) == 0);
}

int CString::CompareNoCase(const char* text) const {
  if (!text) text = "";
  CString a(*this), b(text);
  a.MakeLower();
  b.MakeLower();
  return a.Compare(b);
}

// ---- pieces and searches ----

CString CString::Mid(int first, int count) const {
  int length = GetLength();
  if (first < 0) first = 0;
  if (count < 0) count = 0;
  if (first > length) first = length;
  if (count > length - first) count = length - first;
  if (first == 0 && count == length) return *this;
  return CString(p_ + first, count);
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
  return SjisFindChar(p_, GetLength(), ch, start);
}

int CString::Find(const char* sub, int start) const {
  if (!sub) return -1;
  if (start < 0 || start > GetLength()) return -1;
  return SjisFind(p_, GetLength(), sub, static_cast<int>(std::strlen(sub)), start);
}

int CString::ReverseFind(char ch) const {
  return SjisReverseFindChar(p_, GetLength(), ch);
}

// ---- changes ----

void CString::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  char small[256];
  int n = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  if (n < 0) {
    Empty();
  } else if (static_cast<size_t>(n) < sizeof small) {
    Assign(small, n);
  } else {
    char* chars = Allocate(n);
    std::vsnprintf(chars, static_cast<size_t>(n) + 1, format, copy);
    Release();
    p_ = chars;
    SetLength(n);
  }
  va_end(copy);
}

CString& CString::TrimLeft() {
  int i = 0;
  const int length = GetLength();
  while (i < length && IsAsciiSpace(p_[i])) ++i;
  if (i > 0) *this = Mid(i);
  return *this;
}

CString& CString::TrimRight() {
  int n = GetLength();
  while (n > 0 && IsAsciiSpace(p_[n - 1])) --n;
  if (n < GetLength()) *this = Left(n);
  return *this;
}

CString& CString::MakeUpper() {
  const int length = GetLength();
  for (int i = 0; i < length; i += SjisCharLength(p_, length, i)) {
    const char mapped = AsciiUpper(p_[i]);
    if (SjisCharLength(p_, length, i) == 1 && mapped != p_[i]) Own(length)[i] = mapped;
  }
  return *this;
}

CString& CString::MakeLower() {
  const int length = GetLength();
  for (int i = 0; i < length; i += SjisCharLength(p_, length, i)) {
    const char mapped = AsciiLower(p_[i]);
    if (SjisCharLength(p_, length, i) == 1 && mapped != p_[i]) Own(length)[i] = mapped;
  }
  return *this;
}

int CString::Replace(const char* from, const char* to) {
  if (!from || !*from) return 0;
  if (!to) to = "";
  const int fromLength = static_cast<int>(std::strlen(from));
  const int toLength = static_cast<int>(std::strlen(to));
  CString out;
  int count = 0;
  int i = 0;
  const int length = GetLength();
  while (i < length) {
    if (i + fromLength <= length && std::memcmp(p_ + i, from, static_cast<size_t>(fromLength)) == 0) {
      out.Append(to, toLength);
      i += fromLength;
      ++count;
    } else {
      const int step = SjisCharLength(p_, length, i);
      out.Append(p_ + i, step);
      i += step;
    }
  }
  if (count) *this = std::move(out);
  return count;
}

int CString::Insert(int index, const char* text) {
  const int length = GetLength();
  if (index < 0) index = 0;
  if (index > length) index = length;
  const int add = TextLength(text);
  if (add > 0) *this = Left(index) + CString(text, add) + Mid(index);
  return GetLength();
}

int CString::Delete(int index, int count) {
  const int length = GetLength();
  if (index < 0) index = 0;
  if (count > 0 && index < length) {
    if (count > length - index) count = length - index;
    *this = Left(index) + Mid(index + count);
  }
  return GetLength();
}

char* CString::GetBuffer(int minLength) {
  const int length = GetLength();
  char* chars = Own(minLength > length ? minLength : length);
  // The bytes beyond the text read as zero, as a buffer grown by resize would.
  if (minLength > length) {
    std::memset(chars + length, 0, static_cast<size_t>(minLength - length));
    SetLength(minLength);
  }
  return chars;
}

void CString::ReleaseBuffer(int newLength) {
  if (newLength < 0) newLength = static_cast<int>(std::strlen(p_));
  if (newLength > GetLength()) newLength = GetLength();
  if (newLength == 0) {
    Empty();
    return;
  }
  Own(GetLength());
  SetLength(newLength);
}

CString operator+(const CString& a, const CString& b) {
  CString out(a);
  out += b;
  return out;
}
CString operator+(const CString& a, const char* b) {
  CString out(a);
  out += b;
  return out;
}
CString operator+(const char* a, const CString& b) {
  CString out(a);
  out += b;
  return out;
}
CString operator+(const CString& a, char b) {
  CString out(a);
  out += b;
  return out;
}
