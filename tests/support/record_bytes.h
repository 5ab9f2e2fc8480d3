// Byte helpers for tests that spell records by hand in either format: a little-endian builder,
// memory files to read from, and a way to catch what an archive writes.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/carchive.h"
#include "platform/cfile.h"

using Bytes = std::vector<BYTE>;

struct Builder {
  Bytes b;
  // The low count bytes of v, least significant first.
  Builder& le(uint64_t v, int count) {
    for (int i = 0; i < count; ++i) b.push_back(static_cast<BYTE>(v >> (8 * i)));
    return *this;
  }
  Builder& u8(int v) { return le(static_cast<BYTE>(v), 1); }
  Builder& i32(int32_t v) { return le(static_cast<uint32_t>(v), 4); }
  Builder& f64(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    return le(bits, 8);
  }
  Builder& raw(const std::string& s) { return raw(Bytes(s.begin(), s.end())); }
  Builder& raw(const Bytes& bytes) {
    b.insert(b.end(), bytes.begin(), bytes.end());
    return *this;
  }
  // Old-format file string: int32 length, then the text and its terminating zero unless empty.
  Builder& fstr(const std::string& s) {
    i32(static_cast<int32_t>(s.size()));
    if (!s.empty()) raw(s).u8(0);
    return *this;
  }
  // Archive string shorter than 255 bytes.
  Builder& astr(const std::string& s) { return u8(static_cast<int>(s.size())).raw(s); }
  // One tagged entry of the new format: tag, block length, block bytes.
  Builder& entry(int32_t tag, const Bytes& content) {
    return i32(tag).i32(static_cast<int32_t>(content.size())).raw(content);
  }
  Builder& entry(int32_t tag, const Builder& content) { return entry(tag, content.b); }
  std::string str() const { return std::string(b.begin(), b.end()); }
};

inline Bytes Contents(const CMemFile& file) {
  return Bytes(file.Data(), file.Data() + file.GetLength());
}
inline std::string AsString(const CMemFile& file) {
  return std::string(reinterpret_cast<const char*>(file.Data()), static_cast<size_t>(file.GetLength()));
}

// A memory file holding a copy of bytes, positioned at its start.
struct ReadFile {
  explicit ReadFile(const Bytes& bytes)
      : data(bytes), file(data.empty() ? nullptr : data.data(), data.size()) {}
  explicit ReadFile(const std::string& bytes) : ReadFile(Bytes(bytes.begin(), bytes.end())) {}
  Bytes data;
  CMemFile file;
};

// What write puts into a storing archive, once the archive is closed.
template <class Write>
Bytes Store(Write write) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    write(ar);
    ar.Close();
  }
  return Contents(file);
}
