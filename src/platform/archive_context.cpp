#include "platform/archive_context.h"

#include <cstring>

#include "platform/carchive.h"

ArchiveContext::ArchiveContext() : texts_(new CString[kTextSlots]) {}

ArchiveContext::~ArchiveContext() = default;

void ArchiveContext::SetText(CString& out, const char* data, size_t length) {
  if (length == 0) {
    out.Empty();
    return;
  }
  if (length > kSharedTextLength) {
    out = CString(data, static_cast<int>(length));
    return;
  }
  DWORD hash = 2166136261u;
  for (size_t i = 0; i < length; ++i) hash = (hash ^ static_cast<BYTE>(data[i])) * 16777619u;
  CString& slot = texts_[(hash ^ (hash >> 16)) & (kTextSlots - 1)];
  if (static_cast<size_t>(slot.GetLength()) != length || std::memcmp(slot.GetString(), data, length) != 0)
    slot = CString(data, static_cast<int>(length));
  out = slot;
}

CArchive* ArchiveContext::TakeBlock(bool loading) {
  std::vector<std::unique_ptr<CArchive>>& kept = loading ? loads_ : stores_;
  if (kept.empty()) return nullptr;
  CArchive* block = kept.back().release();
  kept.pop_back();
  return block;
}

void ArchiveContext::KeepBlock(CArchive* block) {
  std::vector<std::unique_ptr<CArchive>>& kept = block->IsLoading() ? loads_ : stores_;
  std::unique_ptr<CArchive> owned(block);
  if (kept.size() < kKeptBlocks) kept.push_back(std::move(owned));
}
