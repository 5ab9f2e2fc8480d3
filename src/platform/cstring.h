// CString: an 8-bit byte string with MFC's interface, as the plug-in uses it.
//
// Texts are Shift-JIS byte strings. Comparison is exact and byte-wise (unsigned); Find is
// character-aware, so a match never starts on the second byte of a double-byte character (as
// MFC's multi-byte build behaves). The string keeps its length, so it may hold zero bytes; the
// conversion to const char* always gives a zero-terminated buffer. Index arguments out of range
// are clamped as MFC clamps them. Format uses the C library's printf rules in the "C" locale
// (the plug-in never changes the process locale).
//
// Memory, as MFC's: the object is one pointer to a shared, reference-counted buffer; copies share
// the buffer and a change copies it first when it is shared (copy on write), and every empty
// string points to one static buffer. A drawing holds millions of short texts, most of them the
// same few names, types and units: sharing them costs 8 bytes a text instead of a copy each.
// Reference counts are atomic, so strings that share a buffer may live in different threads.
// Cost: a copy or the end of a copy is one atomic operation on the shared count (none for an
// empty string); a default-constructed string allocates nothing.
#pragma once

#include <atomic>
#include <string>

#include "platform/types.h"

class SlabCache;

class SXF_PLATFORM_API CString {
 public:
  CString() noexcept : p_(EmptyChars()) {}
  CString(const char* text);  // NOLINT: implicit as in MFC
  CString(const char* text, int length);
  CString(char ch, int repeat = 1);
  explicit CString(const std::string& text);
  CString(const CString& other) noexcept : p_(other.p_) { Retain(); }
  CString(CString&& other) noexcept : p_(other.p_) { other.p_ = EmptyChars(); }
  CString& operator=(const CString& other) noexcept {
    other.Retain();
    Release();
    p_ = other.p_;
    return *this;
  }
  CString& operator=(CString&& other) noexcept {
    char* p = other.p_;
    other.p_ = p_;
    p_ = p;
    return *this;
  }
  CString& operator=(const char* text);
  CString& operator=(char ch);
  ~CString() { Release(); }

  int GetLength() const { return Head()->length; }
  BOOL IsEmpty() const { return GetLength() == 0; }
  void Empty() {
    Release();
    p_ = EmptyChars();
  }
  operator const char*() const { return p_; }  // NOLINT: implicit as in MFC
  const char* GetString() const { return p_; }
  std::string str() const { return std::string(p_, static_cast<size_t>(GetLength())); }

  char GetAt(int i) const { return p_[i]; }
  char operator[](int i) const { return p_[i]; }
  void SetAt(int i, char ch) { Own(GetLength())[i] = ch; }

  // Byte-wise comparison: < 0, 0 or > 0, as strcmp on unsigned bytes.
  int Compare(const char* text) const;
  // Whole strings, zero bytes included (a text pointer stops at its first zero byte).
  int Compare(const CString& other) const;
  int CompareNoCase(const char* text) const;
  bool SameAs(const CString& other) const;

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
    return Append(other.p_, other.GetLength());
  }
  CString& operator+=(const char* text);
  CString& operator+=(char ch) {
    return Append(&ch, 1);
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
  friend class ArchiveContext;

  // The header in front of the characters; refs -1 marks the static empty buffer.
  struct Rep {
    std::atomic<int> refs;
    int length;
    int capacity;
  };
  struct EmptyBuffer {
    Rep rep;
    char chars[1];
  };
  // The static empty buffer. The platform layer is linked into the host and into the plug-in, so
  // each may have its own; an empty buffer is known by its count, not its address.
  static EmptyBuffer empty_;
  static char* EmptyChars() noexcept {
    return empty_.chars;
  }
  static Rep* HeadOf(char* chars) {
    return reinterpret_cast<Rep*>(chars) - 1;
  }
  Rep* Head() const {
    return HeadOf(p_);
  }
  void Retain() const {
    Rep* rep = Head();
    if (rep->refs.load(std::memory_order_relaxed) >= 0) rep->refs.fetch_add(1, std::memory_order_relaxed);
  }
  // The static empty buffer is never counted; a counted one goes when its count reaches 0.
  void Release() noexcept {
    if (Head()->refs.load(std::memory_order_relaxed) >= 0) ReleaseCounted();
  }
  void ReleaseCounted() noexcept;
  // A new unshared buffer with room for capacity bytes and length 0, from cache when given
  // (platform/slab.h).
  static char* Allocate(int capacity, SlabCache* cache = nullptr);
  static size_t BufferBytes(int capacity);
  static void FreeBuffer(Rep* rep) noexcept;
  // Makes the buffer this string's own with room for at least capacity bytes, the text kept;
  // returns the characters.
  char* Own(int capacity);
  void Assign(const char* text, int length);
  CString& Append(const char* text, int length);
  void SetLength(int length);

  // For text tables that hand out many references to one buffer and count them in bulk
  // (ArchiveContext): a new buffer holding length bytes of text with the given count; this string
  // taking chars over with a reference its caller has counted already; and a change of a
  // buffer's count by delta made by the one thread that can reach the buffer (it frees the
  // buffer at 0). The plain read and write of the count is what spares the atomic operation.
  static char* AllocateCounted(const char* text, int length, int refs, SlabCache* cache);
  void AdoptCounted(char* chars) noexcept {
    Release();
    p_ = chars;
  }
  static void AdjustUnshared(char* chars, int delta) noexcept;

  char* p_;
};

SXF_PLATFORM_API CString operator+(const CString& a, const CString& b);
SXF_PLATFORM_API CString operator+(const CString& a, const char* b);
SXF_PLATFORM_API CString operator+(const char* a, const CString& b);
SXF_PLATFORM_API CString operator+(const CString& a, char b);

inline bool operator==(const CString& a, const CString& b) {
  return a.SameAs(b);
}
inline bool operator!=(const CString& a, const CString& b) {
  return !a.SameAs(b);
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
// Whole strings, zero bytes included, bytes ordered as unsigned.
inline bool operator<(const CString& a, const CString& b) {
  return a.Compare(b) < 0;
}
