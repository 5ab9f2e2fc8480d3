// CArchive: a buffered binary stream over a CFile, with MFC's interface and byte layout.
//
// Numbers are stored raw, little-endian, in their width. A CString is stored as its length
// followed by its bytes (no terminator): one length byte below 255; else 0xFF and a 16-bit length
// below 0xFFFE; else 0xFF, 0xFFFF and a 32-bit length.
//
// An insertion into a loading archive raises CArchiveException(readOnly), an extraction from a
// storing one CArchiveException(writeOnly).
//
// Loading: an extraction that runs out of data raises CArchiveException(endOfFile); Read returns
// the number of bytes it could read. A string length larger than what is left of the data is an
// end of file, raised before anything is allocated. The buffer reads ahead up to its size;
// Close gives the read-ahead back (seeks the file back), so the file then stands right after the
// last byte consumed.
//
// A string length prefix 0xFF 0xFFFE announces a wide-character string, which a byte-string
// archive never holds: it raises CArchiveException(badSchema).
//
// Storing: bytes are buffered and written to the file when the buffer fills, on Flush and on
// Close; a file error passes on as CFileException. While a block or a hold is open (below) the
// buffer grows instead of being written out.
//
// Blocks in place (not in MFC): length-framed blocks (DWORD n, then n bytes) are read and written
// inside the archive itself, with no archive object per block. Loading, OpenBlock makes the next
// n bytes all that can be read until CloseBlock: a read past them raises endOfFile, and closing
// skips what was not read. Storing, BeginBlock writes a length to be filled in and EndBlock fills
// it in; the bytes of an open block stay in the buffer until the outermost block closes. Blocks
// close innermost first. The host's archive-block utility (host/archive_block.h) frames its
// blocks with these; nothing else should.
//
// An archive may be given an ArchiveContext (archive_context.h): short texts read then share
// their buffers. Without one every text read has a buffer of its own; the bytes are the same
// either way. The destructor closes an archive that is still open and swallows any exception (as
// MFC does), so call Close to see write errors.
//
// Cost: extractions and insertions of numbers and short strings, and opening and closing a block
// whose bytes are buffered, are inline and allocate nothing (a text read through a context may
// allocate its buffer). A loading file archive grows its buffer to hold a whole block when asked
// to open one that is larger than the buffer (after checking the length against the file).
#pragma once

#include <cstring>
#include <vector>

#include "platform/archive_context.h"
#include "platform/cfile.h"
#include "platform/cstring.h"
#include "platform/exceptions.h"
#include "platform/types.h"

class SXF_PLATFORM_API CArchive {
 public:
  enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2 };

  // bufSize is the read-ahead of a loading archive (smaller when the file holds less) and the
  // amount a storing archive collects before it writes to the file.
  CArchive(CFile* file, UINT mode, int bufSize = 4096, void* buf = nullptr);
  // A loading archive over size bytes of memory that stay the caller's and must outlive it
  // (not in MFC).
  CArchive(const BYTE* data, UINT size);
  virtual ~CArchive();
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  BOOL IsLoading() const { return loading_; }
  BOOL IsStoring() const { return !loading_; }
  CFile* GetFile() const { return file_; }

  UINT Read(void* buffer, UINT count);
  void Write(const void* buffer, UINT count);
  void Flush();
  void Close();
  // Detaches from the file without flushing or seeking back; buffered bytes are dropped. Any
  // later use of a closed or aborted archive raises CArchiveException.
  void Abort();

  // Bytes that can still be read: inside an open block, what is left of it; otherwise what is
  // buffered plus what the file held beyond the buffer when the archive was made; 0 when storing
  // (not in MFC; readers use it to check counts before allocating).
  ULONGLONG BytesLeft() const;
  // Bytes consumed (loading) or written (storing) since the archive was made, read-ahead excluded.
  ULONGLONG BytesDone() const;

  CArchive& operator<<(BYTE v) { return Put(v); }
  CArchive& operator<<(char v) { return Put(v); }
  CArchive& operator<<(signed char v) { return Put(v); }
  CArchive& operator<<(WORD v) { return Put(v); }
  CArchive& operator<<(short v) { return Put(v); }
  CArchive& operator<<(int v) { return Put(v); }
  CArchive& operator<<(unsigned int v) { return Put(v); }
  CArchive& operator<<(long long v) { return Put(v); }
  CArchive& operator<<(unsigned long long v) { return Put(v); }
  CArchive& operator<<(float v) { return Put(v); }
  CArchive& operator<<(double v) { return Put(v); }
  CArchive& operator<<(bool v) { return Put(static_cast<BYTE>(v ? 1 : 0)); }
  CArchive& operator<<(const CString& s) {
    // Most texts are short and fit the buffer with their one-byte length.
    const size_t length = static_cast<size_t>(s.GetLength());
    if (!loading_ && length < 0xFF && lim_ - cur_ > length) {
      buf_[cur_] = static_cast<BYTE>(length);
      std::memcpy(buf_ + cur_ + 1, s.GetString(), length);
      cur_ += 1 + length;
      return *this;
    }
    return WriteString(s);
  }
  CArchive& operator<<(const char* s) { return *this << CString(s); }

  CArchive& operator>>(BYTE& v) { return Get(v); }
  CArchive& operator>>(char& v) { return Get(v); }
  CArchive& operator>>(signed char& v) { return Get(v); }
  CArchive& operator>>(WORD& v) { return Get(v); }
  CArchive& operator>>(short& v) { return Get(v); }
  CArchive& operator>>(int& v) { return Get(v); }
  CArchive& operator>>(unsigned int& v) { return Get(v); }
  CArchive& operator>>(long long& v) { return Get(v); }
  CArchive& operator>>(unsigned long long& v) { return Get(v); }
  CArchive& operator>>(float& v) { return Get(v); }
  CArchive& operator>>(double& v) { return Get(v); }
  CArchive& operator>>(bool& v) {
    BYTE b;
    Get(b);
    v = b != 0;
    return *this;
  }
  CArchive& operator>>(CString& s) {
    // Most texts are short and already buffered with their one-byte length.
    if (loading_ && cur_ < lim_) {
      const BYTE* p = data_ + cur_;
      const size_t length = p[0];
      if (length < 0xFF && length < lim_ - cur_) {
        cur_ += 1 + length;
        SetReadText(s, reinterpret_cast<const char*>(p + 1), length);
        return *this;
      }
    }
    return ReadString(s);
  }

  // The string length prefix alone, as MFC's archive writes and reads it.
  void WriteStringLength(ULONGLONG length);
  ULONGLONG ReadStringLength();

  // The context this archive shares with the code reading or writing it, or null (not in MFC).
  void SetContext(ArchiveContext* context) { context_ = context; }
  // Where objects read through this archive come from: the context's slab cache, or null for the
  // global slab (not in MFC).
  SlabCache* Slabs() const { return context_ != nullptr ? &context_->Slabs() : nullptr; }

  // ---- blocks in place (not in MFC) ----
  // Loading: makes the next n bytes (the content of a block whose length was just read) all that
  // can be read, and returns what CloseBlock needs to end the block. A length larger than what is
  // left raises endOfFile before anything is allocated; a loading file archive outside any block
  // first brings all n bytes into its buffer.
  size_t OpenBlock(ULONGLONG n) {
    if (loading_ && n <= lim_ - cur_) {
      const size_t outer = lim_;
      lim_ = cur_ + static_cast<size_t>(n);
      ++depth_;
      return outer;
    }
    return OpenBlockSlow(n);
  }
  // Ends the innermost open block: the archive stands after its last byte, read or not.
  void CloseBlock(size_t outer) noexcept {
    cur_ = lim_;
    lim_ = outer;
    --depth_;
  }
  // Storing: writes a DWORD length to be filled in and returns what EndBlock needs.
  size_t BeginBlock() {
    Put(DWORD{0});
    ++depth_;
    return cur_;
  }
  // Fills in the length of the innermost open block, which ends here.
  void EndBlock(size_t start) noexcept {
    const DWORD length = static_cast<DWORD>(cur_ - start);
    std::memcpy(buf_ + start - sizeof(DWORD), &length, sizeof(DWORD));
    --depth_;
  }
  // Storing: everything written from here until EndHold stays in the buffer; EndHold keeps it, or
  // drops it when keep is false (a record that could not be written whole). Holds and blocks
  // nest together and close innermost first.
  size_t BeginHold();
  void EndHold(size_t start, bool keep);

  // The same blocks through a stack inside the archive, for callers that cannot carry what
  // OpenBlock or BeginBlock returned (the host's MFC-era block functions): EnterBlock reads the
  // length and opens the block; LeaveBlock closes the innermost one entered. BeginInPlaceBlock and
  // EndInPlaceBlock do the same when storing. A Leave or End without an open block raises
  // CArchiveException(genericException).
  void EnterBlock();
  void LeaveBlock();
  void BeginInPlaceBlock();
  void EndInPlaceBlock();

 private:
  // The direction test comes first: a store into a loading archive must not land in its
  // read-ahead, nor a load from a storing archive hand out the bytes waiting to be written.
  template <class T>
  CArchive& Put(T v) {
    if (loading_) throw CArchiveException(CArchiveException::readOnly);
    if (lim_ - cur_ < sizeof(T)) MakeRoom(sizeof(T));
    std::memcpy(buf_ + cur_, &v, sizeof(T));
    cur_ += sizeof(T);
    return *this;
  }
  template <class T>
  CArchive& Get(T& v) {
    if (!loading_) throw CArchiveException(CArchiveException::writeOnly);
    if (lim_ - cur_ < sizeof(T)) FillBuffer(sizeof(T));
    std::memcpy(&v, data_ + cur_, sizeof(T));
    cur_ += sizeof(T);
    return *this;
  }
  void SetReadText(CString& s, const char* text, size_t length) {
    if (context_ != nullptr) {
      context_->SetText(s, text, length);
    } else {
      SetOwnText(s, text, length);
    }
  }
  static void SetOwnText(CString& s, const char* text, size_t length);
  CArchive& ReadString(CString& s);
  CArchive& WriteString(const CString& s);
  size_t OpenBlockSlow(ULONGLONG n);
  // Storing: makes room for count more bytes, writing the buffer to the file when no block or
  // hold is open, growing it otherwise.
  void MakeRoom(size_t count);
  void WriteOut();
  void Grow(size_t needed);
  // Loading: makes at least needed bytes available in the buffer or raises end of file.
  void FillBuffer(size_t needed);
  void CheckOpen() const;

  CFile* file_;
  const BYTE* view_ = nullptr;  // the memory of a loading memory archive, null otherwise
  bool memoryOpen_ = false;     // a memory archive that is open
  bool loading_;
  BYTE* buf_ = nullptr;                // owned storage (file archives and memory stores)
  size_t size_ = 0;                    // bytes buf_ has room for
  const BYTE* data_ = nullptr;         // loading: where the bytes are (buf_ or the view)
  size_t cur_ = 0;                     // next byte to read or write
  size_t lim_ = 0;                     // loading: end of what may be read now; storing: size_
  size_t end_ = 0;                     // loading: end of the valid data
  int depth_ = 0;                      // blocks and holds open in place
  ULONGLONG fileDone_ = 0;             // bytes moved between the buffer and the file
  ULONGLONG fileEnd_ = 0;              // length of the file beyond its position at construction (loading)
  ArchiveContext* context_ = nullptr;  // not owned
  std::vector<size_t> entered_;        // what EnterBlock and BeginInPlaceBlock opened, innermost last
};
