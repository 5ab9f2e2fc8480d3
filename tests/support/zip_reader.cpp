#include "support/zip_reader.h"

#include <zlib.h>

#include <cstdint>

namespace {

uint32_t Le(const std::string& bytes, size_t at, int width) {
  uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

bool Inflate(const std::string& in, size_t size, std::string& out) {
  out.assign(size, '\0');
  z_stream z{};
  if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return false;
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
  z.avail_in = static_cast<uInt>(in.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  const int result = inflate(&z, Z_FINISH);
  inflateEnd(&z);
  return result == Z_STREAM_END && z.total_out == size;
}

}  // namespace

std::string ReadZip(const std::string& zip, std::map<std::string, std::string>& entries) {
  // The end-of-central-directory record is 22 bytes plus a comment of at most 65535.
  if (zip.size() < 22) return "too short for a zip archive";
  const size_t lowest = zip.size() > 22 + 65535 ? zip.size() - 22 - 65535 : 0;
  size_t end = std::string::npos;
  for (size_t at = zip.size() - 22 + 1; end == std::string::npos && at-- > lowest;) {
    if (Le(zip, at, 4) == 0x06054b50) end = at;
  }
  if (end == std::string::npos) return "no end-of-central-directory record";
  const uint32_t count = Le(zip, end + 10, 2);
  size_t at = Le(zip, end + 16, 4);
  for (uint32_t i = 0; i < count; ++i) {
    if (at + 46 > zip.size() || Le(zip, at, 4) != 0x02014b50) return "bad central directory entry";
    const uint32_t method = Le(zip, at + 10, 2);
    const uint32_t packed = Le(zip, at + 20, 4);
    const uint32_t size = Le(zip, at + 24, 4);
    const uint32_t nameLength = Le(zip, at + 28, 2);
    const uint32_t skip = nameLength + Le(zip, at + 30, 2) + Le(zip, at + 32, 2);
    const size_t local = Le(zip, at + 42, 4);
    if (at + 46 + skip > zip.size()) return "central directory entry beyond the end";
    const std::string name = zip.substr(at + 46, nameLength);
    if (local + 30 > zip.size() || Le(zip, local, 4) != 0x04034b50) return name + ": bad local header";
    const size_t data = local + 30 + Le(zip, local + 26, 2) + Le(zip, local + 28, 2);
    if (data + packed > zip.size()) return name + ": data beyond the end";
    const std::string raw = zip.substr(data, packed);
    if (method == 0) {
      entries[name] = raw;
    } else if (method == 8) {
      if (!Inflate(raw, size, entries[name])) return name + ": does not inflate";
    } else {
      return name + ": unknown method " + std::to_string(method);
    }
    at += 46 + skip;
  }
  return "";
}
