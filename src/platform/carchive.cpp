#include "platform/carchive.h"

#include "platform/archive_context.h"

CArchive::CArchive(CFile* file, UINT mode, int bufSize, void* buf)
    : file_(file), loading_((mode & load) != 0) {
  (void)buf;
  if (bufSize < 16) bufSize = 16;
  buf_.resize(static_cast<size_t>(bufSize));
  if (loading_) {
    ULONGLONG position = file_->GetPosition();
    ULONGLONG length = file_->GetLength();
    fileEnd_ = length > position ? length - position : 0;
  } else {
    lim_ = buf_.size();
  }
}

CArchive::CArchive(const BYTE* data, UINT size)
    : file_(nullptr), view_(data), memoryOpen_(true), loading_(true), lim_(size) {}

CArchive::CArchive(MemoryStore) : file_(nullptr), memoryStore_(true), memoryOpen_(true), loading_(false) {}

void CArchive::ReopenView(const BYTE* data, UINT size) {
  view_ = data;
  memoryOpen_ = true;
  cur_ = 0;
  lim_ = size;
  fileDone_ = fileEnd_ = 0;
}

void CArchive::ReopenMemoryStore() {
  memoryOpen_ = true;
  openBlocks_.clear();
  cur_ = 0;
  lim_ = buf_.size();
  fileDone_ = 0;
}

void CArchive::SetReadText(CString& s, const char* text, size_t length) {
  if (context_ != nullptr) {
    context_->SetText(s, text, length);
  } else if (length == 0) {
    s.Empty();
  } else {
    s = CString(text, static_cast<int>(length));
  }
}

void CArchive::BeginInPlaceBlock() {
  *this << DWORD{0};
  openBlocks_.push_back(StoredSize());
}

void CArchive::EndInPlaceBlock() {
  // Blocks close innermost first; anything else is a caller's error, and the block is then left
  // as it is rather than given a wrong length.
  if (openBlocks_.empty()) throw CArchiveException(CArchiveException::genericException);
  const size_t start = openBlocks_.back();
  openBlocks_.pop_back();
  const DWORD length = static_cast<DWORD>(StoredSize() - start);
  PatchStored(start - sizeof(DWORD), &length, sizeof(DWORD));
}

void CArchive::PatchStored(size_t offset, const void* bytes, size_t count) {
  if (!memoryStore_ || offset > cur_ || count > cur_ - offset)
    throw CArchiveException(CArchiveException::genericException);
  std::memcpy(&buf_[offset], bytes, count);
}

void CArchive::GrowMemoryStore(size_t count) {
  size_t size = buf_.size() < 256 ? 256 : buf_.size();
  while (size - cur_ < count) size *= 2;
  buf_.resize(size);
  lim_ = size;
}

CArchive::~CArchive() {
  if (file_) {
    try {
      Close();
    } catch (const CException&) {
    }
  }
}

void CArchive::CheckOpen() const {
  if (!file_ && !memoryOpen_) throw CArchiveException(CArchiveException::genericException);
}

ULONGLONG CArchive::BytesLeft() const {
  if (!loading_) return 0;
  // The file may have grown since the archive was made; what it gave beyond its first length
  // is not counted as left.
  return (lim_ - cur_) + (fileDone_ < fileEnd_ ? fileEnd_ - fileDone_ : 0);
}

ULONGLONG CArchive::BytesDone() const {
  return loading_ ? fileDone_ - (lim_ - cur_) : fileDone_ + cur_;
}

void CArchive::FlushBuffer() {
  CheckOpen();
  if (loading_) throw CArchiveException(CArchiveException::readOnly);
  if (memoryStore_) {
    GrowMemoryStore(16);
    return;
  }
  if (cur_ > 0) {
    size_t n = cur_;
    cur_ = 0;
    file_->Write(buf_.data(), static_cast<UINT>(n));
    fileDone_ += n;
  }
}

void CArchive::FillBuffer(size_t needed) {
  CheckOpen();
  if (!loading_) throw CArchiveException(CArchiveException::writeOnly);
  if (view_) throw CArchiveException(CArchiveException::endOfFile);  // memory holds no more
  size_t have = lim_ - cur_;
  if (have && cur_) std::memmove(buf_.data(), buf_.data() + cur_, have);
  cur_ = 0;
  lim_ = have;
  while (lim_ < needed) {
    UINT n = file_->Read(buf_.data() + lim_, static_cast<UINT>(buf_.size() - lim_));
    if (n == 0) break;
    lim_ += n;
    fileDone_ += n;
  }
  if (lim_ < needed) throw CArchiveException(CArchiveException::endOfFile);
}

UINT CArchive::Read(void* buffer, UINT count) {
  CheckOpen();
  if (!loading_) throw CArchiveException(CArchiveException::writeOnly);
  BYTE* out = static_cast<BYTE*>(buffer);
  UINT done = 0;
  while (done < count) {
    if (cur_ == lim_) {
      if (view_) break;
      // Large reads go straight to the file once the buffer is drained.
      if (count - done >= buf_.size()) {
        UINT n = file_->Read(out + done, count - done);
        fileDone_ += n;
        done += n;
        break;
      }
      cur_ = lim_ = 0;
      UINT n = file_->Read(buf_.data(), static_cast<UINT>(buf_.size()));
      if (n == 0) break;
      lim_ = n;
      fileDone_ += n;
    }
    size_t n = lim_ - cur_;
    if (n > count - done) n = count - done;
    std::memcpy(out + done, Data() + cur_, n);
    cur_ += n;
    done += static_cast<UINT>(n);
  }
  return done;
}

void CArchive::Write(const void* buffer, UINT count) {
  CheckOpen();
  if (loading_) throw CArchiveException(CArchiveException::readOnly);
  const BYTE* in = static_cast<const BYTE*>(buffer);
  if (memoryStore_) {
    if (lim_ - cur_ < count) GrowMemoryStore(count);
    if (count) std::memcpy(buf_.data() + cur_, in, count);
    cur_ += count;
    return;
  }
  if (count >= buf_.size()) {
    FlushBuffer();
    file_->Write(in, count);
    fileDone_ += count;
    return;
  }
  while (count > 0) {
    if (cur_ == lim_) FlushBuffer();
    size_t n = lim_ - cur_;
    if (n > count) n = count;
    std::memcpy(buf_.data() + cur_, in, n);
    cur_ += n;
    in += n;
    count -= static_cast<UINT>(n);
  }
}

void CArchive::Flush() {
  CheckOpen();
  if (view_ || memoryStore_) return;
  if (loading_) {
    // Give the read-ahead back so the file stands after the last byte consumed.
    size_t unread = lim_ - cur_;
    if (unread) file_->Seek(-static_cast<LONGLONG>(unread), CFile::current);
    fileDone_ -= unread;
    cur_ = lim_ = 0;
  } else {
    FlushBuffer();
    file_->Flush();
  }
}

void CArchive::Close() {
  if (view_ || memoryStore_) {
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
  cur_ = lim_ = 0;
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

CArchive& CArchive::operator<<(const CString& s) {
  WriteStringLength(static_cast<ULONGLONG>(s.GetLength()));
  Write(s.GetString(), static_cast<UINT>(s.GetLength()));
  return *this;
}

CArchive& CArchive::operator>>(CString& s) {
  // Most texts are short and already buffered with their one-byte length.
  if (loading_ && cur_ < lim_) {
    const BYTE* p = Data() + cur_;
    const size_t length = p[0];
    if (length < 0xFF && length < lim_ - cur_) {
      cur_ += 1 + length;
      SetReadText(s, reinterpret_cast<const char*>(p + 1), length);
      return *this;
    }
  }
  ULONGLONG length = ReadStringLength();
  if (length > BytesLeft()) throw CArchiveException(CArchiveException::endOfFile);
  if (length <= lim_ - cur_) {
    SetReadText(s, reinterpret_cast<const char*>(Data() + cur_), static_cast<size_t>(length));
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

const BYTE* CArchive::TakeBuffered(size_t n) {
  CheckOpen();
  if (!loading_ || lim_ - cur_ < n) return nullptr;
  const BYTE* p = Data() + cur_;
  cur_ += n;
  return p;
}
