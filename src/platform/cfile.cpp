#include "platform/cfile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

int CauseFromErrno(int error) {
  switch (error) {
    case ENOENT:
      return CFileException::fileNotFound;
    case EACCES:
    case EPERM:
      return CFileException::accessDenied;
    case EMFILE:
      return CFileException::tooManyOpenFiles;
    case ENOSPC:
      return CFileException::diskFull;
    case ENOTDIR:
    case ENAMETOOLONG:
      return CFileException::badPath;
    default:
      return CFileException::genericException;
  }
}

}  // namespace

CFile::CFile(const char* path, UINT flags) {
  CFileException error;
  if (!Open(path, flags, &error)) throw error;
}

CFile::~CFile() {
  if (fp_) std::fclose(fp_);
}

BOOL CFile::Open(const char* path, UINT flags, CFileException* error) {
  if (fp_) Close();
  UINT access = flags & 3;
  bool keep = (flags & modeNoTruncate) != 0;
  if (flags & modeCreate) {
    // Keeping an existing file opens it for update ("a" would force every write to its end);
    // only a missing one is created.
    fp_ = keep ? std::fopen(path, "rb+") : nullptr;
    if (!fp_ && (!keep || errno == ENOENT)) fp_ = std::fopen(path, "wb+");
  } else {
    fp_ = std::fopen(path, access == modeRead ? "rb" : "rb+");
  }
  if (!fp_) {
    if (error) {
      error->m_cause = CauseFromErrno(errno);
      error->m_strFileName = path;
    }
    return FALSE;
  }
  // Sections are read and written through a 4 KiB archive buffer; a larger stream buffer keeps
  // that from costing a system call per 4 KiB.
  std::setvbuf(fp_, nullptr, _IOFBF, 64 * 1024);
  path_ = path;
  lastIo_ = LastIo::kNone;
  return TRUE;
}

void CFile::SwitchTo(LastIo next) {
  if (lastIo_ != LastIo::kNone && lastIo_ != next && std::fseek(fp_, 0, SEEK_CUR) != 0) {
    throw CFileException(CFileException::badSeek, path_);
  }
  lastIo_ = next;
}

UINT CFile::Read(void* buffer, UINT count) {
  if (!fp_) throw CFileException(CFileException::invalidFile, path_);
  if (count == 0) return 0;
  SwitchTo(LastIo::kRead);
  size_t n = std::fread(buffer, 1, count, fp_);
  if (n < count && std::ferror(fp_)) throw CFileException(CFileException::hardIO, path_);
  return static_cast<UINT>(n);
}

void CFile::Write(const void* buffer, UINT count) {
  if (!fp_) throw CFileException(CFileException::invalidFile, path_);
  if (count == 0) return;
  SwitchTo(LastIo::kWrite);
  if (std::fwrite(buffer, 1, count, fp_) != count) throw CFileException(CauseFromErrno(errno), path_);
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from) {
  if (!fp_) throw CFileException(CFileException::invalidFile, path_);
  int whence = from == begin ? SEEK_SET : from == current ? SEEK_CUR : SEEK_END;
  if (std::fseek(fp_, static_cast<long>(offset), whence) != 0)
    throw CFileException(CFileException::badSeek, path_);
  lastIo_ = LastIo::kNone;
  return GetPosition();
}

ULONGLONG CFile::GetPosition() const {
  if (!fp_) throw CFileException(CFileException::invalidFile, path_);
  long p = std::ftell(fp_);
  if (p < 0) throw CFileException(CFileException::badSeek, path_);
  return static_cast<ULONGLONG>(p);
}

ULONGLONG CFile::GetLength() const {
  if (!fp_) throw CFileException(CFileException::invalidFile, path_);
  long here = std::ftell(fp_);
  std::fseek(fp_, 0, SEEK_END);
  long length = std::ftell(fp_);
  std::fseek(fp_, here, SEEK_SET);
  lastIo_ = LastIo::kNone;
  if (here < 0 || length < 0) throw CFileException(CFileException::badSeek, path_);
  return static_cast<ULONGLONG>(length);
}

void CFile::Flush() {
  if (fp_ && std::fflush(fp_) != 0) throw CFileException(CauseFromErrno(errno), path_);
}

void CFile::Close() {
  if (!fp_) return;
  int rc = std::fclose(fp_);
  fp_ = nullptr;
  lastIo_ = LastIo::kNone;
  if (rc != 0) throw CFileException(CauseFromErrno(errno), path_);
}

CMemFile::CMemFile(UINT growBytes) : growBytes_(growBytes ? growBytes : 1024) {}

CMemFile::CMemFile(BYTE* buffer, UINT size, UINT growBytes) {
  Attach(buffer, size, growBytes);
}

CMemFile::~CMemFile() {
  Free();
}

void CMemFile::Free() {
  if (owned_) std::free(data_);
  data_ = nullptr;
  capacity_ = length_ = position_ = 0;
  owned_ = true;
}

void CMemFile::Attach(BYTE* buffer, UINT size, UINT growBytes) {
  Free();
  data_ = buffer;
  capacity_ = size;
  // As in MFC: a fixed buffer is the file's contents; a growable one is only room to write in.
  length_ = growBytes == 0 ? size : 0;
  position_ = 0;
  growBytes_ = growBytes;
  owned_ = false;
}

void CMemFile::Adopt(BYTE* buffer, UINT size) {
  Free();
  data_ = buffer;
  capacity_ = length_ = size;
  owned_ = true;
}

BYTE* CMemFile::Detach() {
  BYTE* data = data_;
  data_ = nullptr;
  capacity_ = length_ = position_ = 0;
  owned_ = true;
  return data;
}

BOOL CMemFile::Open(const char*, UINT, CFileException* error) {
  if (error) error->m_cause = CFileException::genericException;
  return FALSE;
}

UINT CMemFile::Read(void* buffer, UINT count) {
  if (position_ >= length_) return 0;
  size_t n = length_ - position_;
  if (n > count) n = count;
  std::memcpy(buffer, data_ + position_, n);
  position_ += n;
  return static_cast<UINT>(n);
}

void CMemFile::GrowTo(size_t needed) {
  if (needed <= capacity_) return;
  // Past this the doubling below would overflow; no memory file gets near it.
  if (needed > (std::numeric_limits<size_t>::max() >> 2)) throw CFileException(CFileException::diskFull);
  if (!owned_ || growBytes_ == 0) {
    if (!owned_ && growBytes_ != 0) {
      // An attached buffer that may grow becomes a copy of our own.
      BYTE* copy = static_cast<BYTE*>(std::malloc(needed));
      if (!copy) throw CFileException(CFileException::diskFull);
      if (length_) std::memcpy(copy, data_, length_);
      data_ = copy;
      capacity_ = needed;
      owned_ = true;
      return;
    }
    throw CFileException(CFileException::diskFull);
  }
  size_t capacity = capacity_ ? capacity_ : growBytes_;
  while (capacity < needed)
    capacity = capacity < (size_t{1} << 20) ? capacity * 2 : capacity + (capacity >> 1);
  BYTE* grown = static_cast<BYTE*>(std::realloc(data_, capacity));
  if (!grown) throw CFileException(CFileException::diskFull);
  data_ = grown;
  capacity_ = capacity;
}

void CMemFile::Write(const void* buffer, UINT count) {
  if (count == 0) return;
  size_t end = position_ + count;
  GrowTo(end);
  if (position_ > length_) std::memset(data_ + length_, 0, position_ - length_);
  std::memcpy(data_ + position_, buffer, count);
  position_ = end;
  if (end > length_) length_ = end;
}

ULONGLONG CMemFile::Seek(LONGLONG offset, UINT from) {
  LONGLONG base = from == begin     ? 0
                  : from == current ? static_cast<LONGLONG>(position_)
                                    : static_cast<LONGLONG>(length_);
  LONGLONG target = base + offset;
  if (target < 0) throw CFileException(CFileException::badSeek);
  position_ = static_cast<size_t>(target);
  return position_;
}

void CMemFile::SetLength(ULONGLONG length) {
  GrowTo(static_cast<size_t>(length));
  if (length > length_) std::memset(data_ + length_, 0, static_cast<size_t>(length) - length_);
  length_ = static_cast<size_t>(length);
  if (position_ > length_) position_ = length_;
}

void CMemFile::Close() {
  Free();
}
