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
// Memory: the objects a read makes (figures, their parts, their texts) come from the context's
// slab cache (platform/slab.h), without a lock per object.
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
#include "platform/slab.h"
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
    if (length == 0) {
      out.Empty();
      return;
    }
    if (length > kSharedTextLength) {
      out = CString(data, static_cast<int>(length));
      return;
    }
    const Key key = KeyOf(data, length);
    Slot& slot = slots_[key.Hash() & (kSlots - 1)];
    if (slot.key == key) {
      if (++slot.handed == kCountInBulk) CountHanded(slot);
      out.AdoptCounted(slot.chars);
      return;
    }
    SetNewText(out, slot, key, data, length);
  }

  // Where the read's objects come from.
  SlabCache& Slabs() { return slabs_; }

 private:
  static constexpr size_t kSlots = 1024;
  // The bias a slot's buffer carries while the slot hands it out, and how many references a slot
  // hands out before it counts them into the buffer (well below the bias).
  static constexpr int kBias = 1 << 28;
  static constexpr unsigned kCountInBulk = 1u << 24;

  // A text of 1 to 32 bytes as four words that together hold every byte, and its length: equal
  // keys are equal texts. Words overlap when the length is not a multiple of 8, so no byte
  // outside the text is read.
  struct Key {
    unsigned long long w[4];
    size_t length;
    bool operator==(const Key& o) const {
      return length == o.length && w[0] == o.w[0] && w[1] == o.w[1] && w[2] == o.w[2] && w[3] == o.w[3];
    }
    size_t Hash() const {
      unsigned long long h = (w[0] ^ length) * 0x9E3779B97F4A7C15ull;
      h = (h ^ w[1] ^ (h >> 29)) * 0xBF58476D1CE4E5B9ull;
      h = (h ^ w[2] ^ w[3] ^ (h >> 32)) * 0x94D049BB133111EBull;
      return static_cast<size_t>(h ^ (h >> 31));
    }
  };
  static unsigned long long Word(const char* p) {
    unsigned long long v;
    std::memcpy(&v, p, 8);
    return v;
  }
  static unsigned long long Half(const char* p) {
    unsigned v;
    std::memcpy(&v, p, 4);
    return v;
  }
  static Key KeyOf(const char* p, size_t n) {
    Key k{{0, 0, 0, 0}, n};
    if (n > 16) {
      k.w[0] = Word(p);
      k.w[1] = Word(p + 8);
      k.w[2] = Word(p + n - 16);
      k.w[3] = Word(p + n - 8);
    } else if (n >= 8) {
      k.w[0] = Word(p);
      k.w[1] = Word(p + n - 8);
    } else if (n >= 4) {
      k.w[0] = Half(p);
      k.w[1] = Half(p + n - 4);
    } else {
      k.w[0] = static_cast<BYTE>(p[0]) | static_cast<unsigned>(static_cast<BYTE>(p[n / 2])) << 8 |
               static_cast<unsigned>(static_cast<BYTE>(p[n - 1])) << 16;
    }
    return k;
  }

  struct Slot {
    Key key{{0, 0, 0, 0}, 0};  // length 0: the slot is empty (no text of length 0 is looked up)
    char* chars = nullptr;     // a buffer whose count includes this slot's one reference and kBias
    unsigned handed = 0;       // references handed out and not yet counted into the buffer
  };

  // The slot takes the text over: it lets its old text go and hands out the new one.
  void SetNewText(CString& out, Slot& slot, const Key& key, const char* data, size_t length);
  static void CountHanded(Slot& slot);
  static void LetGo(Slot& slot);

  Slot* slots_;
  SlabCache slabs_;
};
