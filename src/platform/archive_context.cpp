#include "platform/archive_context.h"

ArchiveContext::ArchiveContext() : slots_(new Slot[kSlots]) {}

ArchiveContext::~ArchiveContext() {
  for (size_t i = 0; i < kSlots; ++i) LetGo(slots_[i]);
  delete[] slots_;
}

void ArchiveContext::SetNewText(CString& out, Slot& slot, const Key& key, const char* data, size_t length) {
  LetGo(slot);
  slot.chars = CString::AllocateCounted(data, static_cast<int>(length), 1 + kBias, &slabs_);
  slot.key = key;
  slot.handed = 1;
  out.AdoptCounted(slot.chars);
}

void ArchiveContext::CountHanded(Slot& slot) {
  CString::AdjustUnshared(slot.chars, static_cast<int>(slot.handed));
  slot.handed = 0;
}

void ArchiveContext::LetGo(Slot& slot) {
  if (slot.chars == nullptr) return;
  // The references handed out become real ones; the bias and the slot's own reference go.
  CString::AdjustUnshared(slot.chars, static_cast<int>(slot.handed) - kBias - 1);
  slot.chars = nullptr;
  slot.key = Key{{0, 0, 0, 0}, 0};
  slot.handed = 0;
}
