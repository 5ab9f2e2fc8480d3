#include "model/old_format.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "platform/exceptions.h"

namespace old_format {

int WriteBytes(CFile* file, const void* data, UINT count) {
  if (!file) return 0;
  try {
    file->Write(data, count);
  } catch (CException&) {
    return 0;
  }
  return 1;
}

int WriteByte(CFile* file, BYTE value) {
  return WriteBytes(file, &value, 1);
}

int WriteInt32(CFile* file, LONG value) {
  uint32_t v = static_cast<uint32_t>(value);
  BYTE bytes[4] = {static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16),
                   static_cast<BYTE>(v >> 24)};
  return WriteBytes(file, bytes, 4);
}

int WriteDouble(CFile* file, double value) {
  uint64_t v;
  std::memcpy(&v, &value, 8);
  BYTE bytes[8];
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<BYTE>(v >> (8 * i));
  return WriteBytes(file, bytes, 8);
}

int WriteString(CFile* file, const CString& text) {
  LONG length = text.GetLength();
  if (!WriteInt32(file, length)) return 0;
  // GetString() is zero-terminated, so length + 1 bytes carry the terminator.
  return length > 0 ? WriteBytes(file, text.GetString(), static_cast<UINT>(length) + 1) : 1;
}

int ReadBytes(CFile* file, void* data, UINT count) {
  if (!file) return 0;
  return file->Read(data, count) == count ? 1 : 0;
}

int ReadByte(CFile* file, BYTE& value) {
  return ReadBytes(file, &value, 1);
}

int ReadInt32(CFile* file, LONG& value) {
  BYTE b[4];
  if (!ReadBytes(file, b, 4)) return 0;
  value = static_cast<LONG>(static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                            static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24);
  return 1;
}

int ReadDouble(CFile* file, double& value) {
  BYTE b[8];
  if (!ReadBytes(file, b, 8)) return 0;
  uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = v << 8 | b[i];
  std::memcpy(&value, &v, 8);
  return 1;
}

int ReadString(CFile* file, CString& text) {
  LONG length;
  if (!ReadInt32(file, length)) return 0;
  if (length <= 0) return 1;
  ULONGLONG size = static_cast<ULONGLONG>(length) + 1;
  if (size > BytesLeft(file)) return 0;
  std::string bytes(static_cast<size_t>(size), '\0');
  if (!ReadBytes(file, bytes.data(), static_cast<UINT>(size))) return 0;
  text = bytes.c_str();  // up to the first zero byte
  return 1;
}

ULONGLONG BytesLeft(CFile* file) {
  if (!file) return 0;
  ULONGLONG length = file->GetLength();
  ULONGLONG position = file->GetPosition();
  return position < length ? length - position : 0;
}

int CountFits(CFile* file, LONG count, ULONGLONG minBytesEach) {
  if (count < 0) return 0;
  return static_cast<ULONGLONG>(count) * minBytesEach <= BytesLeft(file) ? 1 : 0;
}

}  // namespace old_format
