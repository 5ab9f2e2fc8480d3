// CMap as MFC builds it, for the benchmark's baseline build of the library only.
//
// Same interface and same observable order as the library's own CMap: a key k falls into bucket
// (k >> 4) % bucket count, a new key goes to the head of its bucket, and a pass visits the
// buckets in index order and each bucket from its head. What differs is the cost: there is no
// second index, so every Lookup, SetAt, operator[] and RemoveKey walks the singly linked chain of
// the key's bucket, as MFC's map does. With a million keys in 773 buckets a chain is some 1,300
// entries long.
//
// The baseline build puts this folder before src/ on the include path, so every source file of
// the library that includes "platform/cmap.h" gets this map. A program that needs both maps at
// once (the self-test comparing them) defines SXF_CHAIN_MAP_NO_ALIAS and uses sxf_chain::CMap.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <new>
#include <vector>

#include "platform/map_hash.h"
#include "platform/types.h"

namespace sxf_chain {

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap {
 public:
  explicit CMap(int blockSize = 10) : blockSize_(blockSize > 0 ? blockSize : 10) {}
  ~CMap() { RemoveAll(); }
  CMap(const CMap&) = delete;
  CMap& operator=(const CMap&) = delete;

  int GetCount() const { return count_; }
  int GetSize() const { return count_; }
  BOOL IsEmpty() const { return count_ == 0; }
  UINT GetHashTableSize() const { return hashSize_; }

  // Only while the map is empty, as MFC requires; otherwise ignored.
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
  VALUE* PLookupValue(ARG_KEY key) {
    CAssoc* a = Find(key);
    return a ? &a->value : nullptr;
  }

  VALUE& operator[](ARG_KEY key) {
    CAssoc* a = Find(key);
    if (!a) a = Insert(key);
    return a->value;
  }
  void SetAt(ARG_KEY key, ARG_VALUE value) { (*this)[key] = value; }

  BOOL RemoveKey(ARG_KEY key) {
    if (buckets_.empty()) return FALSE;
    const ULONGLONG bits = sxf_detail::MapKeyBits(key);
    for (CAssoc** link = &buckets_[BucketOf(key)]; *link; link = &(*link)->next) {
      CAssoc* a = *link;
      if (sxf_detail::MapKeyBits(a->key) == bits) {
        *link = a->next;
        FreeAssoc(a);
        --count_;
        return TRUE;
      }
    }
    return FALSE;
  }

  void RemoveAll() {
    for (CAssoc* head : buckets_) {
      for (CAssoc* a = head; a;) {
        CAssoc* next = a->next;
        a->~CAssoc();
        a = next;
      }
    }
    buckets_.clear();
    count_ = 0;
    for (void* b : blocks_) std::free(b);
    blocks_.clear();
    free_ = nullptr;
  }

  POSITION GetStartPosition() const {
    if (count_ == 0) return nullptr;
    return reinterpret_cast<POSITION>(FirstFrom(0));
  }

  void GetNextAssoc(POSITION& pos, KEY& key, VALUE& value) const {
    CAssoc* a = reinterpret_cast<CAssoc*>(pos);
    key = a->key;
    value = a->value;
    CAssoc* next = a->next ? a->next : FirstFrom(a->bucket + 1);
    pos = reinterpret_cast<POSITION>(next);
  }
  // The library's look-ahead: the chain-only map has no index to bring in, so it does nothing.
  void TouchRun(const KEY*, size_t) const {}

  // Puts keys into the order a pass visits them: here by a pass, as the chain-only map has no
  // other way to know where an entry stands in its bucket.
  void SortInPassOrder(std::vector<KEY>& keys) const {
    std::vector<KEY> wanted(keys);
    std::sort(wanted.begin(), wanted.end());
    std::vector<KEY> ordered;
    ordered.reserve(keys.size());
    for (CAssoc* head : buckets_) {
      for (CAssoc* a = head; a; a = a->next) {
        if (std::binary_search(wanted.begin(), wanted.end(), a->key)) ordered.push_back(a->key);
      }
    }
    keys.swap(ordered);
  }

 private:
  struct CAssoc {
    CAssoc* next;
    UINT bucket;
    KEY key;
    VALUE value;
  };

  // The shared hash (platform/map_hash.h), so both maps put every key in the same bucket.
  UINT BucketOf(ARG_KEY key) const { return sxf_detail::MfcHashKey(key) % hashSize_; }

  CAssoc* FirstFrom(UINT bucket) const {
    for (UINT b = bucket; b < buckets_.size(); ++b) {
      if (buckets_[b]) return buckets_[b];
    }
    return nullptr;
  }

  CAssoc* Find(ARG_KEY key) const {
    if (buckets_.empty()) return nullptr;
    const ULONGLONG bits = sxf_detail::MapKeyBits(key);
    for (CAssoc* a = buckets_[BucketOf(key)]; a; a = a->next) {
      if (sxf_detail::MapKeyBits(a->key) == bits) return a;
    }
    return nullptr;
  }

  CAssoc* Insert(ARG_KEY key) {
    if (buckets_.empty()) buckets_.assign(hashSize_, nullptr);
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
    const UINT bucket = BucketOf(key);
    CAssoc* a = new (slot) CAssoc{buckets_[bucket], bucket, KEY(key), VALUE()};
    buckets_[bucket] = a;
    ++count_;
    return a;
  }

  void FreeAssoc(CAssoc* a) {
    a->~CAssoc();
    *reinterpret_cast<CAssoc**>(a) = free_;
    free_ = a;
  }

  std::vector<CAssoc*> buckets_;
  std::vector<void*> blocks_;
  CAssoc* free_ = nullptr;
  UINT hashSize_ = 17;
  int count_ = 0;
  int blockSize_;
};

}  // namespace sxf_chain

#ifndef SXF_CHAIN_MAP_NO_ALIAS
using sxf_chain::CMap;
#endif
