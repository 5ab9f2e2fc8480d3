#include "platform/carchive.h"

#include <cstdlib>
#include <new>

CArchive::CArchive(CFile* file, UINT mode, int bufSize, void* buf)
    : file_(file), loading_((mode & load) != 0) {
  (void)buf;
  size_t size = bufSize < 16 ? 16 : static_cast<size_t>(bufSize);
  if (loading_) {
    ULONGLONG position = file_->GetPosition();
    ULONGLONG length = file_->GetLength();
    fileEnd_ = length > position ? length - position : 0;
    // No more read-ahead than the file holds: a large buffer asked for a small file costs nothing.
    if (fileEnd_ < size) size = fileEnd_ < 16 ? 16 : static_cast<size_t>(fileEnd_);
  }
  buf_ = static_cast<BYTE*>(std::malloc(size));
  if (buf_ == nullptr) throw std::bad_alloc();
  size_ = size;
  if (loading_) {
    data_ = buf_;
  } else {
    lim_ = size_;
  }
}

CArchive::CArchive(const BYTE* data, UINT size)
    : file_(nullptr),
      view_(data),
      memoryOpen_(true),
      loading_(true),
      data_(data),
      lim_(size),
      end_(size),
      fileDone_(size),
      fileEnd_(size) {}

CArchive::~CArchive() {
  if (file_) {
    try {
      Close();
    } catch (const CException&) {
    }
  }
  std::free(buf_);
}

void CArchive::SetOwnText(CString& s, const char* text, size_t length) {
  if (length == 0) {
    s.Empty();
  } else {
    s = CString(text, static_cast<int>(length));
  }
}

void CArchive::CheckOpen() const {
  if (!file_ && !memoryOpen_) throw CArchiveException(CArchiveException::genericException);
}

ULONGLONG CArchive::BytesLeft() const {
  if (!loading_) return 0;
  // Inside a block only the block is left. The file may have grown since the archive was made;
  // what it gave beyond its first length is not counted as left.
  const ULONGLONG beyond = depth_ == 0 && fileDone_ < fileEnd_ ? fileEnd_ - fileDone_ : 0;
  return (lim_ - cur_) + beyond;
}

ULONGLONG CArchive::BytesDone() const {
  return loading_ ? fileDone_ - (end_ - cur_) : fileDone_ + cur_;
}

// ---- storing ----

void CArchive::Grow(size_t needed) {
  size_t size = size_ < 256 ? 256 : size_;
  while (size < needed) size *= 2;
  if (size == size_) return;
  BYTE* grown = static_cast<BYTE*>(std::realloc(buf_, size));
  if (grown == nullptr) throw std::bad_alloc();
  buf_ = grown;
  size_ = size;
  if (loading_) {
    data_ = buf_;
  } else {
    lim_ = size_;
  }
}

void CArchive::WriteOut() {
  if (cur_ > 0) {
    size_t n = cur_;
    cur_ = 0;
    file_->Write(buf_, static_cast<UINT>(n));
    fileDone_ += n;
  }
}

void CArchive::MakeRoom(size_t count) {
  CheckOpen();
  if (loading_) throw CArchiveException(CArchiveException::readOnly);
  // The bytes of an open block or hold stay in the buffer until it closes.
  if (depth_ == 0) WriteOut();
  if (lim_ - cur_ < count) Grow(cur_ + count);
}

void CArchive::Write(const void* buffer, UINT count) {
  CheckOpen();
  if (loading_) throw CArchiveException(CArchiveException::readOnly);
  const BYTE* in = static_cast<const BYTE*>(buffer);
  if (depth_ > 0) {
    if (lim_ - cur_ < count) Grow(cur_ + count);
    if (count) std::memcpy(buf_ + cur_, in, count);
    cur_ += count;
    return;
  }
  if (count >= size_) {
    WriteOut();
    file_->Write(in, count);
    fileDone_ += count;
    return;
  }
  while (count > 0) {
    if (cur_ == lim_) WriteOut();
    size_t n = lim_ - cur_;
    if (n > count) n = count;
    std::memcpy(buf_ + cur_, in, n);
    cur_ += n;
    in += n;
    count -= static_cast<UINT>(n);
  }
}

size_t CArchive::BeginHold() {
  CheckOpen();
  if (loading_) throw CArchiveException(CArchiveException::readOnly);
  ++depth_;
  return cur_;
}

void CArchive::EndHold(size_t start, bool keep) {
  if (!keep && start <= cur_) cur_ = start;
  --depth_;
}

void CArchive::BeginInPlaceBlock() {
  const size_t start = BeginBlock();
  entered_.push_back(start);
}

void CArchive::EndInPlaceBlock() {
  // Blocks close innermost first; anything else is a caller's error, and the block is then left
  // as it is rather than given a wrong length.
  if (entered_.empty() || loading_) throw CArchiveException(CArchiveException::genericException);
  const size_t start = entered_.back();
  entered_.pop_back();
  EndBlock(start);
}

// ---- loading ----

void CArchive::FillBuffer(size_t needed) {
  CheckOpen();
  if (!loading_) throw CArchiveException(CArchiveException::writeOnly);
  // Memory holds no more, and a block ends where it ends.
  if (view_ || depth_ > 0) throw CArchiveException(CArchiveException::endOfFile);
  size_t have = end_ - cur_;
  if (have && cur_) std::memmove(buf_, buf_ + cur_, have);
  cur_ = 0;
  lim_ = end_ = have;
  if (needed > size_) Grow(needed);
  while (end_ < needed) {
    UINT n = file_->Read(buf_ + end_, static_cast<UINT>(size_ - end_));
    if (n == 0) break;
    end_ += n;
    fileDone_ += n;
  }
  lim_ = end_;
  if (end_ < needed) throw CArchiveException(CArchiveException::endOfFile);
}

size_t CArchive::OpenBlockSlow(ULONGLONG n) {
  CheckOpen();
  if (!loading_) throw CArchiveException(CArchiveException::writeOnly);
  // Checked before the buffer grows for it: a length is never trusted with an allocation.
  if (view_ || depth_ > 0 || n > BytesLeft()) throw CArchiveException(CArchiveException::endOfFile);
  FillBuffer(static_cast<size_t>(n));
  const size_t outer = lim_;
  lim_ = cur_ + static_cast<size_t>(n);
  ++depth_;
  return outer;
}

void CArchive::EnterBlock() {
  DWORD length;
  *this >> length;
  entered_.push_back(OpenBlock(length));
}

void CArchive::LeaveBlock() {
  if (entered_.empty() || !loading_) throw CArchiveException(CArchiveException::genericException);
  const size_t outer = entered_.back();
  entered_.pop_back();
  CloseBlock(outer);
}

UINT CArchive::Read(void* buffer, UINT count) {
  CheckOpen();
  if (!loading_) throw CArchiveException(CArchiveException::writeOnly);
  BYTE* out = static_cast<BYTE*>(buffer);
  UINT done = 0;
  while (done < count) {
    if (cur_ == lim_) {
      if (view_ || depth_ > 0) break;
      // Large reads go straight to the file once the buffer is drained.
      if (count - done >= size_) {
        UINT n = file_->Read(out + done, count - done);
        fileDone_ += n;
        done += n;
        break;
      }
      cur_ = lim_ = end_ = 0;
      UINT n = file_->Read(buf_, static_cast<UINT>(size_));
      if (n == 0) break;
      lim_ = end_ = n;
      fileDone_ += n;
    }
    size_t n = lim_ - cur_;
    if (n > count - done) n = count - done;
    std::memcpy(out + done, data_ + cur_, n);
    cur_ += n;
    done += static_cast<UINT>(n);
  }
  return done;
}

// ---- both ----

void CArchive::Flush() {
  CheckOpen();
  if (view_) return;
  if (loading_) {
    // Give the read-ahead back so the file stands after the last byte consumed.
    size_t unread = end_ - cur_;
    if (unread) file_->Seek(-static_cast<LONGLONG>(unread), CFile::current);
    fileDone_ -= unread;
    cur_ = lim_ = end_ = 0;
    depth_ = 0;
    entered_.clear();
  } else {
    WriteOut();
    file_->Flush();
  }
}

void CArchive::Close() {
  if (view_) {
    Abort();
    return;
  }
  if (!file_) return;
  try {
    Flush();
  } catch (...) {
    Abort();
    throw;
  }
  Abort();
}

// With the buffer emptied, the next insertion or extraction reaches CheckOpen and raises instead
// of filling a buffer that no file will see.
void CArchive::Abort() {
  file_ = nullptr;
  memoryOpen_ = false;
  cur_ = lim_ = end_ = 0;
  depth_ = 0;
  entered_.clear();
}

void CArchive::WriteStringLength(ULONGLONG length) {
  if (length < 0xFF) {
    *this << static_cast<BYTE>(length);
  } else if (length < 0xFFFE) {
    *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(length);
  } else {
    *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << static_cast<DWORD>(length);
  }
}

ULONGLONG CArchive::ReadStringLength() {
  BYTE b;
  *this >> b;
  if (b < 0xFF) return b;
  WORD w;
  *this >> w;
  // 0xFFFE announces a wide-character string, which this byte-string archive never holds.
  if (w == 0xFFFE) throw CArchiveException(CArchiveException::badSchema);
  if (w < 0xFFFF) return w;
  DWORD d;
  *this >> d;
  return d;
}

CArchive& CArchive::WriteString(const CString& s) {
  WriteStringLength(static_cast<ULONGLONG>(s.GetLength()));
  Write(s.GetString(), static_cast<UINT>(s.GetLength()));
  return *this;
}

CArchive& CArchive::ReadString(CString& s) {
  ULONGLONG length = ReadStringLength();
  if (length > BytesLeft()) throw CArchiveException(CArchiveException::endOfFile);
  if (length <= lim_ - cur_) {
    SetReadText(s, reinterpret_cast<const char*>(data_ + cur_), static_cast<size_t>(length));
    cur_ += static_cast<size_t>(length);
    return *this;
  }
  CString text;
  char* p = text.GetBuffer(static_cast<int>(length));
  UINT n = Read(p, static_cast<UINT>(length));
  text.ReleaseBuffer(static_cast<int>(n));
  if (n < length) throw CArchiveException(CArchiveException::endOfFile);
  s = text;
  return *this;
}
