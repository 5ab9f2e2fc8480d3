#include "model/target.h"

#include <new>
#include <utility>

#include "model/target_info.h"

SxfZCdbTargetInfo::SxfZCdbTargetInfo()
    : data(new RecTargetData[kGrowStep]), capacity(kGrowStep), allocated(kGrowStep) {}

SxfZCdbTargetInfo::~SxfZCdbTargetInfo() {
  delete[] data;
}

void SxfZCdbTargetInfo::Release() {
  delete[] data;
  data = nullptr;
  count = 0;
  capacity = 0;
  allocated = 0;
}

void SxfZCdbTargetInfo::Grow(int newCapacity) {
  capacity = newCapacity;
  if (newCapacity <= allocated) return;
  const int slots = newCapacity > allocated * 2 ? newCapacity : allocated * 2;
  RecTargetData* fresh = new RecTargetData[slots];
  for (int i = 0; i < count; ++i) fresh[i] = std::move(data[i]);
  delete[] data;
  data = fresh;
  allocated = slots;
}

void SxfZCdbTargetInfo::Resize(int n) {
  if (n <= 0) {
    Release();
    return;
  }
  if (n > capacity) Grow(((n - 1) / kGrowStep + 1) * kGrowStep);
  // Slots past the count may hold entries from before a shrink: give them the default back.
  for (int i = count; i < n; ++i) data[i] = RecTargetData();
  count = n;
}

int SxfZCdbTargetInfo::Add(const RecTargetData& rec) {
  if (count == capacity) {
    RecTargetData copy = rec;  // rec may live in the storage that is about to move
    Grow((capacity / kGrowStep + 1) * kGrowStep);
    data[count] = std::move(copy);
  } else {
    data[count] = rec;
  }
  return count++;
}

void SxfZCdbTargetInfo::Remove(int index) {
  for (int i = index; i + 1 < count; ++i) data[i] = data[i + 1];
  if (--count == 0) Release();
}

SxfZCdbTarget::SxfZCdbTarget() : info_(new SxfZCdbTargetInfo) {}

SxfZCdbTarget::SxfZCdbTarget(const SxfZCdbTarget& other) : info_(new SxfZCdbTargetInfo) {
  *this = other;
}

SxfZCdbTarget& SxfZCdbTarget::operator=(const SxfZCdbTarget& other) {
  if (this == &other) return *this;
  info_->name = other.info_->name;
  info_->version = other.info_->version;
  info_->designer = other.info_->designer;
  info_->Resize(other.info_->count);
  for (int i = 0; i < other.info_->count; ++i) info_->data[i] = other.info_->data[i];
  return *this;
}

SxfZCdbTarget::~SxfZCdbTarget() {
  delete info_;
}

const char* SxfZCdbTarget::GetName() const {
  return info_->name;
}
void SxfZCdbTarget::SetName(const char* name) {
  info_->name = name;
}
const char* SxfZCdbTarget::GetVersion() const {
  return info_->version;
}
void SxfZCdbTarget::SetVersion(const char* version) {
  info_->version = version;
}
const char* SxfZCdbTarget::GetDesigner() const {
  return info_->designer;
}
void SxfZCdbTarget::SetDesigner(const char* designer) {
  info_->designer = designer;
}

int SxfZCdbTarget::GetCnt() const {
  return info_->count;
}
int SxfZCdbTarget::GetCapacity() const {
  return info_->capacity;
}

RecTargetData& SxfZCdbTarget::GetData(int index) const {
  // There is no empty entry to hand out by reference.
  if (index < 0 || index >= info_->count) throw CInvalidArgException();
  return info_->data[index];
}

int SxfZCdbTarget::GetData(int index, RecTargetData* out) const {
  if (index < 0 || index >= info_->count) return 0;
  if (out) *out = info_->data[index];
  return 1;
}

int SxfZCdbTarget::SetData(int index, const RecTargetData& rec) {
  if (index < 0 || index >= info_->count) return 0;
  info_->data[index] = rec;
  return 1;
}

int SxfZCdbTarget::AddData(const RecTargetData& rec) {
  return info_->Add(rec);
}

void SxfZCdbTarget::DelData(int index) {
  if (index < 0 || index >= info_->count) return;
  info_->Remove(index);
}

void SxfZCdbTarget::ClrData() {
  info_->Release();
}
