// CMap: a hash map with MFC's observable order and a constant-time lookup index.
//
// Order, as in MFC: a key k falls into bucket (k >> 4) % bucket count; a new key goes to the
// head of its bucket; a pass (GetStartPosition / GetNextAssoc) visits the buckets in index order
// and each bucket from its head. SetAt of a present key changes the value in place and keeps its
// place; a removed and re-inserted key goes to the head of its bucket.
//
// Cost: MFC walks a bucket's chain on every lookup, which at a million keys in 773 buckets is
// some 1,300 steps. Here a second index keyed by the full key (open addressing with linear
// probing over a scrambled key, at most half full, the key kept beside the entry pointer) makes
// Lookup, SetAt, operator[] and RemoveKey O(1) expected at any size and for any set of keys.
// A pass costs O(entries + buckets). The bucket chains are doubly linked so a removal never
// walks its chain. Values never move: a pointer or reference to a value stays valid until its
// key is removed. Memory: about 32 bytes per entry (pointer values) plus 32 to 64 bytes of
// index per entry.
//
// SortInPassOrder (not in MFC) puts some of the map's keys into the order a pass would visit them
// without a pass: every entry carries the number of its insertion, and within a bucket a pass
// visits newer entries first. It costs O(k log k) for k keys at any size of the map.
//
// Keys are integral, enumeration or pointer values; a key of 32 bits or fewer hashes as its
// 32-bit pattern, as on 32-bit Windows (so the int key -1 falls where 0xFFFFFFFF does). The hash
// lives in platform/map_hash.h, shared with every other map that must keep the same order. Removing
// the entry that the last GetNextAssoc returned is allowed during a pass; other changes during a
// pass are not.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/huge_pages.h"
#include "platform/map_hash.h"
#include "platform/types.h"

namespace sxf_detail {

inline ULONGLONG MixKey(ULONGLONG x) {
  x ^= x >> 33;
  x *= 0xff51afd7ed558ccdULL;
  x ^= x >> 33;
  return x;
}

// First slot to probe for key bits in an index of mask + 1 slots (a power of two, at least 16).
// Every bit of the key reaches the low bits, so keys that differ only high up (handles in steps
// of a power of two, aligned pointers) still spread over the index.
inline size_t MapIndexHome(ULONGLONG bits, size_t mask) {
  return static_cast<size_t>(MixKey(bits)) & mask;
}

}  // namespace sxf_detail

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap {
 public:
  explicit CMap(int blockSize = 10) : blockSize_(blockSize > 0 ? blockSize : 10) {}
  ~CMap() {
    RemoveAll();
    FreeBlocks();
  }
  CMap(const CMap&) = delete;
  CMap& operator=(const CMap&) = delete;

  int GetCount() const { return count_; }
  int GetSize() const { return count_; }
  BOOL IsEmpty() const { return count_ == 0; }
  UINT GetHashTableSize() const { return hashSize_; }

  // Sets the bucket count. Only while the map is empty (as MFC requires); otherwise ignored.
  void InitHashTable(UINT hashSize, BOOL allocNow = TRUE) {
    (void)allocNow;
    if (count_ != 0 || hashSize == 0) return;
    hashSize_ = hashSize;
    buckets_.clear();
  }

  BOOL Lookup(ARG_KEY key, VALUE& value) const {
    const CAssoc* a = Find(key);
    if (!a) return FALSE;
    value = a->value;
    return TRUE;
  }
  // Pointer to the stored value, or null.
  VALUE* PLookupValue(ARG_KEY key) {
    CAssoc* a = Find(key);
    return a ? &a->value : nullptr;
  }

  VALUE& operator[](ARG_KEY key) {
    // One probe finds the key or the free slot a new key takes, unless the index must grow first.
    if (!index_.empty()) {
      const ULONGLONG bits = sxf_detail::MapKeyBits(key);
      const size_t mask = index_.size() - 1;
      size_t i = sxf_detail::MapIndexHome(bits, mask);
      for (; index_[i].assoc; i = (i + 1) & mask) {
        if (index_[i].bits == bits) return index_[i].assoc->value;
      }
      if (static_cast<size_t>(count_ + 1) * 2 <= index_.size()) {
        CAssoc* a = Link(key);
        index_[i] = Slot{bits, a};
        return a->value;
      }
    }
    return Insert(key)->value;
  }
  void SetAt(ARG_KEY key, ARG_VALUE value) { (*this)[key] = value; }

  BOOL RemoveKey(ARG_KEY key) {
    CAssoc* a = Find(key);
    if (!a) return FALSE;
    Unlink(a);
    IndexErase(a);
    FreeAssoc(a);
    return TRUE;
  }

  void RemoveAll() {
    for (CAssoc* head : buckets_) {
      for (CAssoc* a = head; a;) {
        CAssoc* next = a->next;
        FreeAssoc(a);
        a = next;
      }
    }
    buckets_.clear();
    index_.clear();
    count_ = 0;
    FreeBlocks();
  }

  POSITION GetStartPosition() const {
    if (count_ == 0) return nullptr;
    return ToPosition(FirstFrom(0));
  }

  void GetNextAssoc(POSITION& pos, KEY& key, VALUE& value) const {
    CAssoc* a = reinterpret_cast<CAssoc*>(pos);
    key = a->key;
    value = a->value;
    CAssoc* next = a->next ? a->next : FirstFrom(BucketOf(a->key) + 1);
    pos = ToPosition(next);
  }

  // Looks a run of keys up ahead of their use (not in MFC). The lookups of a run do not depend on
  // each other, so the processor overlaps their trips to memory; lookups of the same keys made
  // right after, one at a time between other work, then find the index slot, the entry and, for a
  // pointer value, the first bytes of what it points at in the cache. (Prefetch instructions do
  // not do this where the map outgrows the address translation cache: the processor drops them.)
  // A few dozen keys at a time; nothing changes.
  void TouchRun(const KEY* keys, size_t count) const {
    for (size_t i = 0; i < count; ++i) {
      const CAssoc* a = Find(keys[i]);
      if (a == nullptr) continue;
      if constexpr (std::is_pointer<VALUE>::value) {
        if (a->value != nullptr) Touch(*reinterpret_cast<const char*>(a->value));
      } else {
        Touch(a->seq);
      }
    }
  }

  // Puts keys, each of them a key of the map, into the order in which a pass over the map visits
  // them (not in MFC).
  void SortInPassOrder(std::vector<KEY>& keys) const {
    std::vector<std::pair<ULONGLONG, KEY>> ranked;
    ranked.reserve(keys.size());
    for (const KEY& key : keys) {
      const CAssoc* a = Find(key);
      // Buckets in index order, and within a bucket the newest entry first.
      const ULONGLONG rank = a != nullptr
                                 ? (static_cast<ULONGLONG>(BucketOf(key)) << 32) | (0xFFFFFFFFu - a->seq)
                                 : ~ULONGLONG{0};
      ranked.emplace_back(rank, key);
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& x, const auto& y) { return x.first < y.first; });
    for (size_t i = 0; i < keys.size(); ++i) keys[i] = ranked[i].second;
  }

 private:
  struct CAssoc {
    CAssoc* next;
    CAssoc* prev;
    UINT seq;  // when the entry was inserted: within a bucket, newer entries come first
    KEY key;
    VALUE value;
  };

  UINT BucketOf(ARG_KEY key) const { return sxf_detail::MfcHashKey(key) % hashSize_; }

  // Keeps a load whose value is not used.
  template <class T>
  static void Touch(const T& value) {
#if defined(__GNUC__)
    asm volatile("" : : "r"(value));
#else
    volatile T sink = value;
    (void)sink;
#endif
  }

  // An index slot: the key's bits beside its entry, so probing compares without touching entries.
  struct Slot {
    ULONGLONG bits;
    CAssoc* assoc;  // null: the slot is free
  };

  static POSITION ToPosition(CAssoc* a) {
    return reinterpret_cast<POSITION>(a);
  }

  CAssoc* FirstFrom(UINT bucket) const {
    for (UINT b = bucket; b < buckets_.size(); ++b) {
      if (buckets_[b]) return buckets_[b];
    }
    return nullptr;
  }

  CAssoc* Find(ARG_KEY key) const {
    if (index_.empty()) return nullptr;
    const ULONGLONG bits = sxf_detail::MapKeyBits(key);
    const size_t mask = index_.size() - 1;
    for (size_t i = sxf_detail::MapIndexHome(bits, mask);; i = (i + 1) & mask) {
      const Slot& slot = index_[i];
      if (!slot.assoc) return nullptr;
      if (slot.bits == bits) return slot.assoc;
    }
  }

  CAssoc* Insert(ARG_KEY key) {
    if (static_cast<size_t>(count_ + 1) * 2 > index_.size()) GrowIndex();
    CAssoc* a = Link(key);
    IndexPut(Slot{sxf_detail::MapKeyBits(key), a});
    return a;
  }

  // A new entry for key at the head of its bucket, counted; the caller puts it into the index.
  CAssoc* Link(ARG_KEY key) {
    if (buckets_.empty()) buckets_.assign(hashSize_, nullptr);
    if (nextSeq_ == 0xFFFFFFFFu) Renumber();
    CAssoc* a = NewAssoc(key);
    const UINT bucket = BucketOf(key);
    a->seq = nextSeq_++;
    a->prev = nullptr;
    a->next = buckets_[bucket];
    if (a->next) a->next->prev = a;
    buckets_[bucket] = a;
    ++count_;
    return a;
  }

  // Numbers the entries afresh from 0 when the numbers run out, keeping their order within each
  // bucket (the only order the numbers stand for): once per four billion insertions.
  void Renumber() {
    UINT seq = 0;
    for (CAssoc* head : buckets_) {
      CAssoc* tail = head;
      while (tail && tail->next) tail = tail->next;
      for (CAssoc* a = tail; a; a = a->prev) a->seq = seq++;
    }
    nextSeq_ = seq;
  }

  void Unlink(CAssoc* a) {
    if (a->prev) {
      a->prev->next = a->next;
    } else {
      buckets_[BucketOf(a->key)] = a->next;
    }
    if (a->next) a->next->prev = a->prev;
    --count_;
  }

  void IndexPut(const Slot& put) {
    const size_t mask = index_.size() - 1;
    size_t i = sxf_detail::MapIndexHome(put.bits, mask);
    while (index_[i].assoc) i = (i + 1) & mask;
    index_[i] = put;
  }

  // Backward-shift deletion keeps every probe sequence unbroken without tombstones.
  void IndexErase(CAssoc* a) {
    const size_t mask = index_.size() - 1;
    size_t hole = sxf_detail::MapIndexHome(sxf_detail::MapKeyBits(a->key), mask);
    while (index_[hole].assoc != a) hole = (hole + 1) & mask;
    for (size_t j = (hole + 1) & mask; index_[j].assoc; j = (j + 1) & mask) {
      const size_t home = sxf_detail::MapIndexHome(index_[j].bits, mask);
      // Move j into the hole when its home is not cyclically within (hole, j].
      const bool between = hole <= j ? (hole < home && home <= j) : (hole < home || home <= j);
      if (!between) {
        index_[hole] = index_[j];
        hole = j;
      }
    }
    index_[hole] = Slot{0, nullptr};
  }

  void GrowIndex() {
    const size_t size = index_.empty() ? 16 : index_.size() * 2;
    Index old;
    old.swap(index_);
    index_.assign(size, Slot{0, nullptr});
    for (const Slot& slot : old) {
      if (slot.assoc) IndexPut(slot);
    }
  }

  // Entries come from blocks of blockSize_ and go back to a free list, as MFC's plex does.
  CAssoc* NewAssoc(ARG_KEY key) {
    if (!free_) {
      void* block = std::malloc(sizeof(CAssoc) * static_cast<size_t>(blockSize_));
      if (!block) throw std::bad_alloc();
      blocks_.push_back(block);
      CAssoc* slots = static_cast<CAssoc*>(block);
      for (int i = blockSize_ - 1; i >= 0; --i) {
        *reinterpret_cast<CAssoc**>(&slots[i]) = free_;
        free_ = &slots[i];
      }
    }
    CAssoc* slot = free_;
    free_ = *reinterpret_cast<CAssoc**>(slot);
    return ::new (slot) CAssoc{nullptr, nullptr, 0, KEY(key), VALUE()};
  }

  void FreeAssoc(CAssoc* a) {
    a->~CAssoc();
    *reinterpret_cast<CAssoc**>(a) = free_;
    free_ = a;
  }

  void FreeBlocks() {
    for (void* b : blocks_) std::free(b);
    blocks_.clear();
    free_ = nullptr;
  }

  std::vector<CAssoc*> buckets_;
  // A large index lies in huge pages: its probes land anywhere in it.
  using Index = std::vector<Slot, HugePageAllocator<Slot>>;
  Index index_;
  std::vector<void*> blocks_;
  CAssoc* free_ = nullptr;
  UINT hashSize_ = 17;
  UINT nextSeq_ = 0;
  int count_ = 0;
  int blockSize_;
};
