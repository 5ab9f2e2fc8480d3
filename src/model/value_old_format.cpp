// Old-format records of attribute values.
//
//   ATRS record := byte version (4)  file-string name  file-string type  file-string unit
//   ATRU record := byte version (4)  ATRS record  int32 kind  file-string value
//                  file-string zukeiName
//
// Earlier ATRU versions, still read:
//   versions 0, 2, 3 := ATRS record  int32 kind  file-string value       (no zukeiName)
//   version 1        := byte form  ATRS record  form 1: byte type-code  raw number
//                                                form 2: file-string value
// The raw number of form 1 is 1, 2, 4 or 8 bytes by its type code (see record_tags.h) and is put
// into text as the typed setter of that width would; kind stays 10.
#include <cstdint>
#include <memory>

#include "model/atrs.h"
#include "model/atru.h"
#include "model/old_format.h"
#include "model/record_tags.h"
#include "model/value_records.h"

using namespace old_format;

int WriteATRS(CFile* file, const SxfZCdbATRS& atrs) {
  return WriteByte(file, kAtrsRecordVersion) && WriteString(file, atrs.name) &&
                 WriteString(file, atrs.type) && WriteString(file, atrs.unit)
             ? 1
             : 0;
}

int ReadATRS(CFile* file, SxfZCdbATRS& atrs) {
  BYTE version;
  if (!ReadByte(file, version) || version > kAtrsRecordVersion) return 0;
  return ReadString(file, atrs.name) && ReadString(file, atrs.type) && ReadString(file, atrs.unit) ? 1 : 0;
}

int WriteATRU(CFile* file, const SxfZCdbATRU& atru) {
  return WriteByte(file, kAtruRecordVersion) && WriteATRS(file, atru) && WriteInt32(file, atru.kind) &&
                 WriteString(file, atru.value) && WriteString(file, atru.zukeiName)
             ? 1
             : 0;
}

namespace {

// Little-endian unsigned number of width bytes.
int ReadRaw(CFile* file, int width, uint64_t& v) {
  BYTE b[8];
  if (!ReadBytes(file, b, static_cast<UINT>(width))) return 0;
  v = 0;
  for (int i = width - 1; i >= 0; --i) v = v << 8 | b[i];
  return 1;
}

int ReadLegacyNumber(CFile* file, SxfZCdbATRU& atru) {
  BYTE code;
  if (!ReadByte(file, code)) return 0;
  uint64_t v;
  switch (code) {
    case kAtruLegacyByte:
      if (!ReadRaw(file, 1, v)) return 0;
      atru.SetValueBYTE(static_cast<BYTE>(v));
      return 1;
    case kAtruLegacyChar:
      if (!ReadRaw(file, 1, v)) return 0;
      atru.SetValueCHAR(static_cast<char>(static_cast<signed char>(static_cast<BYTE>(v))));
      return 1;
    case kAtruLegacyWord:
      if (!ReadRaw(file, 2, v)) return 0;
      atru.SetValueWORD(static_cast<WORD>(v));
      return 1;
    case kAtruLegacyShort:
      if (!ReadRaw(file, 2, v)) return 0;
      atru.SetValueSHORT(static_cast<short>(static_cast<WORD>(v)));
      return 1;
    case kAtruLegacyDword:
      if (!ReadRaw(file, 4, v)) return 0;
      atru.SetValueDWORD(static_cast<ULONG>(v));
      return 1;
    case kAtruLegacyLong:
      if (!ReadRaw(file, 4, v)) return 0;
      atru.SetValueLONG(static_cast<LONG>(static_cast<uint32_t>(v)));
      return 1;
    case kAtruLegacyDouble: {
      double d;
      if (!ReadDouble(file, d)) return 0;
      atru.SetValueDOUBLE(d, kAtruLegacyDoubleDigits);
      return 1;
    }
    default:
      return 0;
  }
}

int ReadLegacyATRU(CFile* file, SxfZCdbATRU& atru) {
  BYTE form;
  if (!ReadByte(file, form)) return 0;
  if (form != kAtruLegacyFormNumber && form != kAtruLegacyFormText) return 0;
  if (!ReadATRS(file, atru)) return 0;
  return form == kAtruLegacyFormNumber ? ReadLegacyNumber(file, atru) : ReadString(file, atru.value);
}

}  // namespace

SxfZCdbATRU* ReadATRU(CFile* file) {
  BYTE version;
  if (!ReadByte(file, version) || version > kAtruRecordVersion) return nullptr;
  std::unique_ptr<SxfZCdbATRU> atru(new SxfZCdbATRU);
  int ok;
  if (version == kAtruLegacyVersion) {
    ok = ReadLegacyATRU(file, *atru);
  } else {
    ok = ReadATRS(file, *atru) && ReadInt32(file, atru->kind) && ReadString(file, atru->value) &&
         (version < kAtruFirstVersionWithZukeiName || ReadString(file, atru->zukeiName));
  }
  return ok ? atru.release() : nullptr;
}
