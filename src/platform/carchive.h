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
// Close; a file error passes on as CFileException.
//
// An archive may be given an ArchiveContext (archive_context.h), which the block archives opened
// inside it share: short texts read then share their buffers. Without one every text read has a
// buffer of its own; the bytes are the same either way. The destructor closes an archive that is still
// open and swallows any exception (as MFC does), so call Close to see write errors.
#pragma once

#include <cstring>
#include <vector>

#include "platform/cfile.h"
#include "platform/cstring.h"
#include "platform/exceptions.h"
#include "platform/types.h"

class ArchiveContext;

class SXF_PLATFORM_API CArchive {
 public:
  enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2 };

  CArchive(CFile* file, UINT mode, int bufSize = 4096, void* buf = nullptr);
  // A loading archive over size bytes of memory that stay the caller's and must outlive it
  // (not in MFC; archive blocks read nested blocks this way without copying them).
  CArchive(const BYTE* data, UINT size);
  // A storing archive that keeps what is written in memory, in a buffer that grows as needed
  // (not in MFC; archive blocks collect a block's bytes this way). StoredData/StoredSize give
  // the bytes written so far.
  struct MemoryStore {};
  explicit CArchive(MemoryStore);
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

  // Bytes that can still be read: what is buffered plus what the file held beyond the buffer
  // when the archive was made; 0 when storing (not in MFC; readers use it to check counts
  // before allocating).
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
  CArchive& operator<<(const CString& s);
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
  CArchive& operator>>(CString& s);

  // The string length prefix alone, as MFC's archive writes and reads it.
  void WriteStringLength(ULONGLONG length);
  ULONGLONG ReadStringLength();

  // Consumes the next n bytes and returns where they stand, when they are all in memory already
  // (a memory archive, or bytes the buffer has read ahead); otherwise null and nothing consumed.
  // The bytes stay valid until the archive is next read from or closed (not in MFC).
  const BYTE* TakeBuffered(size_t n);

  // The context this archive and the blocks opened in it share, or null (not in MFC).
  void SetContext(ArchiveContext* context) { context_ = context; }
  ArchiveContext* GetContext() const { return context_; }

  // Blocks written in place in a memory-storing archive (not in MFC): Begin writes a length to be
  // filled in and opens the block; End closes the innermost open block, filling in its length.
  // Blocks close innermost first; End without an open block raises CArchiveException.
  void BeginInPlaceBlock();
  void EndInPlaceBlock();

  // Memory archives only (not in MFC): open the archive again, as if newly made, over other
  // memory (loading) or empty (storing), so that one object can serve many blocks in turn.
  void ReopenView(const BYTE* data, UINT size);
  void ReopenMemoryStore();
  bool IsMemoryStore() const { return memoryStore_; }
  const BYTE* StoredData() const { return buf_.data(); }
  size_t StoredSize() const { return cur_; }
  // Overwrites count bytes already stored at offset (a length filled in once it is known);
  // raises CArchiveException(genericException) when they are not all there.
  void PatchStored(size_t offset, const void* bytes, size_t count);
  // The storage a memory-storing archive keeps between uses.
  size_t StoredCapacity() const { return buf_.capacity(); }
  void ReleaseStorage() { std::vector<BYTE>().swap(buf_); }

 private:
  // The direction test comes first: a store into a loading archive must not land in its
  // read-ahead, nor a load from a storing archive hand out the bytes waiting to be written.
  template <class T>
  CArchive& Put(T v) {
    if (loading_) throw CArchiveException(CArchiveException::readOnly);
    if (lim_ - cur_ < sizeof(T)) FlushBuffer();
    std::memcpy(&buf_[cur_], &v, sizeof(T));
    cur_ += sizeof(T);
    return *this;
  }
  template <class T>
  CArchive& Get(T& v) {
    if (!loading_) throw CArchiveException(CArchiveException::writeOnly);
    if (lim_ - cur_ < sizeof(T)) FillBuffer(sizeof(T));
    std::memcpy(&v, Data() + cur_, sizeof(T));
    cur_ += sizeof(T);
    return *this;
  }
  void FlushBuffer();
  // Sets s to length bytes of text, through the context when there is one.
  void SetReadText(CString& s, const char* text, size_t length);
  // Makes room for count more bytes in a memory-storing archive's buffer.
  void GrowMemoryStore(size_t count);
  // Makes at least needed bytes available in the buffer or raises end of file.
  void FillBuffer(size_t needed);
  void CheckOpen() const;
  const BYTE* Data() const { return view_ ? view_ : buf_.data(); }

  CFile* file_;
  const BYTE* view_ = nullptr;  // the memory of a loading memory archive, null otherwise
  bool memoryStore_ = false;    // a storing memory archive
  bool memoryOpen_ = false;     // a memory archive that is open
  bool loading_;
  std::vector<BYTE> buf_;
  size_t cur_ = 0;          // next byte to read or write
  size_t lim_ = 0;          // end of valid data (loading) or of the buffer (storing)
  ULONGLONG fileDone_ = 0;  // bytes moved between the buffer and the file
  ULONGLONG fileEnd_ = 0;   // length of the file beyond its position at construction (loading)
  ArchiveContext* context_ = nullptr;  // not owned
  std::vector<size_t> openBlocks_;     // where the content of each open in-place block starts
};
