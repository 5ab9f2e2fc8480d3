// Old-format target definition record.
//
//   target record := byte version (1)  string name  string version  string designer
//                    int32 n  { int32 handle  string memo } * n
//
// Version 0 has the same layout.
#include "model/old_format.h"
#include "model/record_tags.h"
#include "model/target.h"
#include "model/target_info.h"

using namespace old_format;

namespace {

// An entry is at least its handle and the length of its memo.
constexpr ULONGLONG kMinEntryBytes = 8;

}  // namespace

int SxfZCdbTarget::Write(CFile* file) {
  if (!WriteByte(file, kTargetRecordVersion) || !WriteString(file, info_->name) ||
      !WriteString(file, info_->version) || !WriteString(file, info_->designer) ||
      !WriteInt32(file, info_->count)) {
    return 0;
  }
  for (int i = 0; i < info_->count; ++i) {
    const RecTargetData& rec = info_->data[i];
    if (!WriteInt32(file, static_cast<LONG>(rec.handle)) || !WriteString(file, rec.memo)) return 0;
  }
  return 1;
}

int SxfZCdbTarget::Read(CFile* file) {
  info_->Release();
  BYTE version;
  if (!ReadByte(file, version) || version > kTargetRecordVersion) return 0;
  if (!ReadString(file, info_->name) || !ReadString(file, info_->version) ||
      !ReadString(file, info_->designer)) {
    return 0;
  }
  LONG count;
  if (!ReadInt32(file, count)) return 0;
  // A negative count, or one the rest of the file cannot hold, is damage: reject the record
  // before sizing the list for it.
  if (!CountFits(file, count, kMinEntryBytes)) return 0;
  info_->Resize(count);
  for (LONG i = 0; i < count; ++i) {
    RecTargetData& rec = info_->data[i];
    LONG handle;
    if (!ReadInt32(file, handle) || !ReadString(file, rec.memo)) {
      info_->Resize(0);
      return 0;
    }
    rec.handle = static_cast<DWORD>(handle);
  }
  return 1;
}
