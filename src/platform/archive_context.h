// ArchiveContext: what one read shares among the archive it reads through and the code that reads
// its records. The code that reads a whole section makes one and owns it; nothing is kept per
// thread, so two drawings read on two threads share nothing.
//
// Texts: a read of a short text shares the buffer of an equal text read recently (CString copies
// share their buffers) instead of holding a copy of its own. A drawing's figures carry the same
// few names, types and units, so most of its texts end up shared.
//
// The references the table hands out are counted in bulk: each table slot counts them in a plain
// number, and the buffer's own count is brought up to date when the slot takes another text or
// the context goes. Until then the buffer carries a large bias, so that a string the read lets go
// of can never free it early. This is sound because the table's buffers are new ones that only
// the strings of this read reach, and the read runs on one thread; every change of a count
// outside the read is atomic as always. The copy semantics of CString do not change.
//
// An archive without a context reads every text into a buffer of its own: the bytes read are the
// same either way. A context must outlive the archives it is given to; it is used by one thread
// at a time, and the strings it hands out must not reach another thread before it is destroyed.
//
// Cost: a short text costs a hash and a compare of its bytes; one already in the table costs no
// allocation and no atomic operation.
#pragma once

#include <cstddef>
#include <cstring>

#include "platform/cstring.h"
#include "platform/visibility.h"

class SXF_PLATFORM_API ArchiveContext {
 public:
  ArchiveContext();
  ~ArchiveContext();
  ArchiveContext(const ArchiveContext&) = delete;
  ArchiveContext& operator=(const ArchiveContext&) = delete;

  // Texts up to this many bytes are shared.
  static constexpr size_t kSharedTextLength = 32;

  // Sets out to the length bytes at data, sharing the buffer of an equal text read recently
  // when the text is short.
  void SetText(CString& out, const char* data, size_t length) {
    // length - 1 wraps for 0, so one test sends empty and long texts to the plain path.
    if (length - 1 >= kSharedTextLength) {
      SetUnsharedText(out, data, length);
      return;
    }
    Slot& slot = slots_[SlotOf(data, length)];
    if (slot.length == length && SameBytes(slot.chars, data, length)) {
      if (++slot.handed == kCountInBulk) CountHanded(slot);
      out.AdoptCounted(slot.chars);
      return;
    }
    SetNewText(out, slot, data, length);
  }

 private:
  static constexpr size_t kSlots = 1024;
  // The bias a slot's buffer carries while the slot hands it out, and how many references a slot
  // hands out before it counts them into the buffer (well below the bias).
  static constexpr int kBias = 1 << 28;
  static constexpr unsigned kCountInBulk = 1u << 24;

  struct Slot {
    char* chars = nullptr;  // a buffer whose count includes this slot's one reference and kBias
    size_t length = 0;
    unsigned handed = 0;    // references handed out and not yet counted into the buffer
  };

  static size_t SlotOf(const char* data, size_t length) {
    DWORD hash = 2166136261u;
    for (size_t i = 0; i < length; ++i) hash = (hash ^ static_cast<BYTE>(data[i])) * 16777619u;
    return (hash ^ (hash >> 16)) & (kSlots - 1);
  }
  static bool SameBytes(const char* a, const char* b, size_t length) {
    size_t i = 0;
    for (; i + 8 <= length; i += 8) {
      unsigned long long x, y;
      std::memcpy(&x, a + i, 8);
      std::memcpy(&y, b + i, 8);
      if (x != y) return false;
    }
    for (; i < length; ++i) {
      if (a[i] != b[i]) return false;
    }
    return true;
  }

  static void SetUnsharedText(CString& out, const char* data, size_t length);
  // The slot takes the text over: it lets its old text go and hands out the new one.
  void SetNewText(CString& out, Slot& slot, const char* data, size_t length);
  static void CountHanded(Slot& slot);
  static void LetGo(Slot& slot);

  Slot* slots_;
};
