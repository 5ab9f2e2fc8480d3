// How a CMap key becomes its bucket: the hash every map of the project shares.
//
// A key k falls into bucket (k >> 4) % bucket count, as in MFC, so a pass over any map visits
// its entries in MFC's order. The library's CMap (platform/cmap.h), the chain-only map of the
// benchmark's baseline build and code that predicts a map's order (the set definition name
// index) all include this header, so they cannot come to disagree about a key's bucket.
#pragma once

#include <cstdint>
#include <type_traits>

#include "platform/types.h"

namespace sxf_detail {

// The key as a number: its 32-bit pattern for keys of 32 bits or fewer (as on 32-bit Windows,
// so the int key -1 falls where 0xFFFFFFFF does), else all of it.
template <class KEY>
inline ULONGLONG MapKeyBits(const KEY& key) {
  static_assert(std::is_integral<KEY>::value || std::is_enum<KEY>::value || std::is_pointer<KEY>::value,
                "CMap keys are integral, enumeration or pointer values");
  if constexpr (std::is_pointer<KEY>::value) {
    return static_cast<ULONGLONG>(reinterpret_cast<uintptr_t>(key));
  } else if constexpr (sizeof(KEY) <= sizeof(DWORD)) {
    return static_cast<ULONGLONG>(static_cast<DWORD>(key));
  } else {
    return static_cast<ULONGLONG>(key);
  }
}

// MFC's hash of a key: the key shifted right by four bits. The bucket is this modulo the
// map's bucket count.
template <class KEY>
inline UINT MfcHashKey(const KEY& key) {
  return static_cast<UINT>(static_cast<DWORD>(MapKeyBits(key) >> 4));
}

}  // namespace sxf_detail
