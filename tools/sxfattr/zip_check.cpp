#include "zip_check.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kDescriptorSignature = 0x08074b50;
constexpr size_t kLocalSize = 30;
constexpr size_t kCentralSize = 46;
constexpr size_t kEndSize = 22;
constexpr size_t kMaxComment = 0xFFFF;
constexpr uint16_t kFlagEncrypted = 1;
constexpr uint16_t kFlagDescriptor = 1 << 3;
constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflated = 8;
constexpr size_t kChunk = 64 * 1024;

uint32_t Le(const unsigned char* p, int width) {
  uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = value << 8 | p[i];
  return value;
}

class InputFile {
 public:
  explicit InputFile(const std::string& path) : fd_(open(path.c_str(), O_RDONLY)) {}
  ~InputFile() {
    if (fd_ >= 0) close(fd_);
  }
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  uint64_t Size() const {
    struct stat st;
    return fstat(fd_, &st) == 0 ? static_cast<uint64_t>(st.st_size) : 0;
  }
  // Reads size bytes at offset; false when the file ends first or cannot be read.
  bool ReadAt(uint64_t offset, void* data, size_t size) const {
    char* to = static_cast<char*>(data);
    while (size > 0) {
      const ssize_t got = pread(fd_, to, size, static_cast<off_t>(offset));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) return false;
      to += got;
      offset += static_cast<uint64_t>(got);
      size -= static_cast<size_t>(got);
    }
    return true;
  }

 private:
  int fd_;
};

struct Entry {
  std::string name;
  uint16_t flags = 0;
  uint16_t method = 0;
  uint32_t crc = 0;
  uint32_t packed = 0;
  uint32_t size = 0;
  uint64_t local = 0;
  uint64_t data = 0;  // where the data starts, from the local header
  uint64_t end = 0;   // where the entry ends, data descriptor included
};

// Reads the directory entries; "" or what is wrong.
std::string ReadDirectory(const std::vector<unsigned char>& dir, uint32_t count,
                          std::vector<Entry>& entries) {
  size_t at = 0;
  for (uint32_t i = 0; i < count; ++i) {
    if (at + kCentralSize > dir.size() || Le(&dir[at], 4) != kCentralSignature)
      return "central directory entry " + std::to_string(i + 1) + " is missing or damaged";
    const unsigned char* p = &dir[at];
    Entry entry;
    entry.flags = static_cast<uint16_t>(Le(p + 8, 2));
    entry.method = static_cast<uint16_t>(Le(p + 10, 2));
    entry.crc = Le(p + 16, 4);
    entry.packed = Le(p + 20, 4);
    entry.size = Le(p + 24, 4);
    const size_t nameLength = Le(p + 28, 2);
    const size_t rest = nameLength + Le(p + 30, 2) + Le(p + 32, 2);
    entry.local = Le(p + 42, 4);
    if (at + kCentralSize + rest > dir.size())
      return "central directory entry " + std::to_string(i + 1) + " runs past the directory";
    entry.name.assign(reinterpret_cast<const char*>(p + kCentralSize), nameLength);
    if (entry.packed == 0xFFFFFFFF || entry.size == 0xFFFFFFFF || entry.local == 0xFFFFFFFF)
      return "entry " + entry.name + ": 64-bit zip fields are not supported";
    entries.push_back(entry);
    at += kCentralSize + rest;
  }
  if (at != dir.size()) return "the central directory holds more than its entries";
  return "";
}

// Checks the local header of entry and where its data lies; fills entry.data and entry.end.
std::string PlaceEntry(const InputFile& file, uint64_t dirOffset, Entry& entry) {
  const std::string what = "entry " + entry.name + ": ";
  if (entry.flags & kFlagEncrypted) return what + "encrypted";
  if (entry.method != kMethodStored && entry.method != kMethodDeflated)
    return what + "unknown method " + std::to_string(entry.method);
  unsigned char header[kLocalSize];
  if (entry.local + kLocalSize > dirOffset || !file.ReadAt(entry.local, header, kLocalSize) ||
      Le(header, 4) != kLocalSignature)
    return what + "no local header where the directory says";
  const size_t nameLength = Le(header + 26, 2);
  entry.data = entry.local + kLocalSize + nameLength + Le(header + 28, 2);
  std::string name(nameLength, '\0');
  if (entry.data > dirOffset || !file.ReadAt(entry.local + kLocalSize, name.data(), nameLength) ||
      name != entry.name)
    return what + "the local header names another entry";
  entry.end = entry.data + entry.packed;
  if (entry.flags & kFlagDescriptor) {
    // crc, packed size, size, optionally after a signature.
    unsigned char descriptor[16];
    if (entry.end + 12 > dirOffset || !file.ReadAt(entry.end, descriptor, 12))
      return what + "data beyond the central directory";
    size_t length = 12;
    if (Le(descriptor, 4) == kDescriptorSignature) {
      if (entry.end + 16 > dirOffset || !file.ReadAt(entry.end, descriptor, 16))
        return what + "data beyond the central directory";
      length = 16;
    }
    const unsigned char* d = descriptor + length - 12;
    if (Le(d, 4) != entry.crc || Le(d + 4, 4) != entry.packed || Le(d + 8, 4) != entry.size)
      return what + "the data descriptor differs from the directory";
    entry.end += length;
  }
  if (entry.end > dirOffset) return what + "data beyond the central directory";
  return "";
}

// Reads the data of entry, inflating it where it is deflated, and hands it to visitor; checks
// that it comes to the stated size and CRC.
std::string ReadEntry(const InputFile& file, const Entry& entry, ZipEntryVisitor* visitor) {
  const std::string what = "entry " + entry.name + ": ";
  if (visitor) visitor->BeginEntry(entry.name);
  uLong crc = crc32(0, nullptr, 0);
  uint64_t produced = 0;
  auto deliver = [&](const unsigned char* data, size_t size) {
    crc = crc32(crc, data, static_cast<uInt>(size));
    produced += size;
    if (visitor && size > 0) visitor->EntryData(reinterpret_cast<const char*>(data), size);
  };
  std::vector<unsigned char> in(kChunk);
  uint64_t at = entry.data;
  uint64_t left = entry.packed;
  if (entry.method == kMethodStored) {
    if (entry.packed != entry.size) return what + "stored with a packed size other than its size";
    while (left > 0) {
      const size_t n = static_cast<size_t>(std::min<uint64_t>(left, kChunk));
      if (!file.ReadAt(at, in.data(), n)) return what + "data cut short";
      deliver(in.data(), n);
      at += n;
      left -= n;
    }
  } else {
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return what + "cannot start inflating";
    struct End {
      z_stream& z;
      ~End() { inflateEnd(&z); }
    } end{z};
    std::vector<unsigned char> out(kChunk);
    int result = Z_OK;
    while (result != Z_STREAM_END) {
      if (z.avail_in == 0) {
        if (left == 0) return what + "the deflated data stops before its end";
        const size_t n = static_cast<size_t>(std::min<uint64_t>(left, kChunk));
        if (!file.ReadAt(at, in.data(), n)) return what + "data cut short";
        at += n;
        left -= n;
        z.next_in = in.data();
        z.avail_in = static_cast<uInt>(n);
      }
      z.next_out = out.data();
      z.avail_out = static_cast<uInt>(out.size());
      result = inflate(&z, Z_NO_FLUSH);
      if (result != Z_OK && result != Z_STREAM_END) return what + "the deflated data is damaged";
      deliver(out.data(), out.size() - z.avail_out);
      if (produced > entry.size) return what + "inflates to more than its stated size";
    }
    if (z.avail_in != 0 || left != 0) return what + "bytes after the end of the deflated data";
  }
  if (produced != entry.size) {
    return what + "holds " + std::to_string(produced) + " bytes, not the stated " +
           std::to_string(entry.size);
  }
  if (crc != entry.crc) return what + "CRC-32 differs from the stated one";
  if (visitor) visitor->EndEntry();
  return "";
}

}  // namespace

std::string ReadZipFile(const std::string& path, ZipEntryVisitor* visitor) {
  const InputFile file(path);
  if (!file.IsOpen()) return std::string("cannot open: ") + std::strerror(errno);
  const uint64_t size = file.Size();
  if (size < kEndSize) return "no end record (" + std::to_string(size) + " bytes)";

  // The end record, with its comment, must be the last bytes of the file.
  const size_t tail = static_cast<size_t>(std::min<uint64_t>(size, kEndSize + kMaxComment));
  std::vector<unsigned char> last(tail);
  if (!file.ReadAt(size - tail, last.data(), tail)) return "cannot read the end of the file";
  size_t found = tail;
  for (size_t at = tail - kEndSize + 1; found == tail && at-- > 0;) {
    if (Le(&last[at], 4) == kEndSignature && at + kEndSize + Le(&last[at + 20], 2) == tail) found = at;
  }
  if (found == tail) return "no end record";
  const unsigned char* e = &last[found];
  const uint64_t endOffset = size - tail + found;
  const uint32_t count = Le(e + 10, 2);
  const uint32_t dirSize = Le(e + 12, 4);
  const uint32_t dirOffset = Le(e + 16, 4);
  if (count == 0xFFFF || dirSize == 0xFFFFFFFF || dirOffset == 0xFFFFFFFF)
    return "64-bit zip fields are not supported";
  if (Le(e + 4, 2) != 0 || Le(e + 6, 2) != 0 || Le(e + 8, 2) != count) return "an archive of several parts";
  if (uint64_t{dirOffset} + dirSize != endOffset)
    return "the central directory does not end where the end record starts";

  std::vector<unsigned char> dir(dirSize);
  if (!file.ReadAt(dirOffset, dir.data(), dir.size())) return "cannot read the central directory";
  std::vector<Entry> entries;
  std::string problem = ReadDirectory(dir, count, entries);
  if (!problem.empty()) return problem;
  for (Entry& entry : entries) {
    problem = PlaceEntry(file, dirOffset, entry);
    if (!problem.empty()) return problem;
  }
  std::vector<const Entry*> byOffset;
  for (const Entry& entry : entries) byOffset.push_back(&entry);
  std::sort(byOffset.begin(), byOffset.end(),
            [](const Entry* a, const Entry* b) { return a->local < b->local; });
  for (size_t i = 1; i < byOffset.size(); ++i) {
    if (byOffset[i - 1]->end > byOffset[i]->local)
      return "entries " + byOffset[i - 1]->name + " and " + byOffset[i]->name + " overlap";
  }
  for (const Entry& entry : entries) {
    problem = ReadEntry(file, entry, visitor);
    if (!problem.empty()) return problem;
  }
  return "";
}
