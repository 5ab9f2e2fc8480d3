#include "platform/carchive.h"

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
    : file_(nullptr), loading_(true), view_(data), viewOpen_(true), lim_(size) {}

CArchive::~CArchive() {
  if (file_) {
    try {
      Close();
    } catch (const CException&) {
    }
  }
}

void CArchive::CheckOpen() const {
  if (!file_ && !viewOpen_) throw CArchiveException(CArchiveException::genericException);
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
  if (view_) return;
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
  viewOpen_ = false;
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
  ULONGLONG length = ReadStringLength();
  if (length > BytesLeft()) throw CArchiveException(CArchiveException::endOfFile);
  if (length <= lim_ - cur_) {
    s = CString(reinterpret_cast<const char*>(Data() + cur_), static_cast<int>(length));
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
