// What the reader entries are built from: the input as a file, the reader run that turns a
// result or an exception into an outcome, the round-trip promises of a record that read, and the
// attribute database a record is read with. For the entries' own .cpp files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "attrdb/attrdb.h"
#include "entries/alloc_meter.h"
#include "entries/reader_entries.h"
#include "host/host.h"
#include "platform/platform.h"

inline ReadResult Outcome(ReadOutcome outcome) {
  return ReadResult{outcome, std::string()};
}
inline ReadResult Problem(ReadOutcome outcome, std::string what) {
  return ReadResult{outcome, std::move(what)};
}

// The input as a read-only memory file. The bytes are copied: libFuzzer's buffer is const.
class InputFile {
 public:
  InputFile(const uint8_t* data, size_t size) : bytes_(data, data + size) {
    file_.Attach(bytes_.empty() ? nullptr : bytes_.data(), static_cast<UINT>(bytes_.size()), 0);
  }
  explicit InputFile(const std::string& bytes)
      : InputFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()) {}
  CFile* get() { return &file_; }
  bool AtEnd() const { return file_.GetPosition() == file_.GetLength(); }

 private:
  std::vector<BYTE> bytes_;
  CMemFile file_;
};

inline std::string FileBytes(const CMemFile& file) {
  return std::string(reinterpret_cast<const char*>(file.Data()), static_cast<size_t>(file.GetLength()));
}

// The bytes an old-format writer produces; ok receives the writer's result.
template <class Writer>
std::string WriteOld(Writer&& writer, int& ok) {
  CMemFile file;
  ok = writer(static_cast<CFile*>(&file));
  return FileBytes(file);
}

// The bytes a new-format writer produces through a storing archive; ok receives its result.
template <class Writer>
std::string WriteNew(Writer&& writer, int& ok) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ok = writer(ar);
    ar.Close();
  }
  return FileBytes(file);
}

// Runs read (returning a reader's int) and turns its result or the exception that reached the
// caller into an outcome.
template <class Read>
ReadResult RunRead(Read&& read) {
  try {
    return Outcome(read() != 0 ? ReadOutcome::kRead : ReadOutcome::kRejected);
  } catch (CArchiveException& e) {
    if (e.m_cause == CArchiveException::endOfFile) return Outcome(ReadOutcome::kEndOfFile);
    if (e.m_cause == CArchiveException::badSchema) return Outcome(ReadOutcome::kBadSchema);
    return Problem(ReadOutcome::kRejected, "the archive raised cause " + std::to_string(e.m_cause));
  } catch (CException& e) {
    return Problem(ReadOutcome::kRejected, std::string("a reader raised ") + e.what());
  }
}

// Runs reader(CArchive&) over a loading archive on the input (see RunRead). consumedAll, when
// given, tells whether the reader used up the input (only meaningful after kRead).
template <class Reader>
ReadResult ReadArchive(const uint8_t* data, size_t size, Reader&& reader, bool* consumedAll = nullptr) {
  InputFile in(data, size);
  return RunRead([&] {
    CArchive ar(in.get(), CArchive::load);
    const int ok = reader(ar);
    if (consumedAll) *consumedAll = ar.BytesLeft() == 0;
    return ok;
  });
}

template <class Reader>
ReadResult ReadArchive(const std::string& bytes, Reader&& reader, bool* consumedAll = nullptr) {
  return ReadArchive(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                     std::forward<Reader>(reader), consumedAll);
}

// The promises of a value that an old-format reader returned 1 for: written again, it reads back
// into a fresh value (read), the read uses up exactly the bytes written, the copy writes the same
// bytes again and same(value, copy) holds. Returns what broke, or an empty text.
template <class T, class ReadFn, class WriteFn, class SameFn>
std::string CheckOldRoundTrip(T& value, ReadFn read, WriteFn write, SameFn same) {
  int ok;
  const std::string written = WriteOld([&](CFile* f) { return write(f, value); }, ok);
  if (!ok) return "what was read does not write";
  T copy;
  InputFile back(written);
  if (!read(back.get(), copy)) return "what was written does not read back";
  if (!back.AtEnd()) return "reading back stops before the end of what was written";
  const std::string again = WriteOld([&](CFile* f) { return write(f, copy); }, ok);
  if (!ok || again != written) return "what was read back writes other bytes";
  if (!same(value, copy)) return "what was read back is not the same";
  return std::string();
}

// The same promises for a new-format reader, through archives.
template <class T, class ReadFn, class WriteFn, class SameFn>
std::string CheckNewRoundTrip(T& value, ReadFn read, WriteFn write, SameFn same) {
  int ok;
  const std::string written = WriteNew([&](CArchive& ar) { return write(ar, value); }, ok);
  if (!ok) return "what was read does not write";
  T copy;
  bool consumedAll = false;
  const ReadResult back = ReadArchive(
      written, [&](CArchive& ar) { return read(ar, copy); }, &consumedAll);
  if (back.outcome != ReadOutcome::kRead) {
    return std::string("what was written does not read back: ") + OutcomeName(back.outcome);
  }
  if (!consumedAll) return "reading back stops before the end of what was written";
  const std::string again = WriteNew([&](CArchive& ar) { return write(ar, copy); }, ok);
  if (!ok || again != written) return "what was read back writes other bytes";
  if (!same(value, copy)) return "what was read back is not the same";
  return std::string();
}

inline ReadResult ReadWithPromises(std::string problem) {
  return problem.empty() ? Outcome(ReadOutcome::kRead) : Problem(ReadOutcome::kRead, std::move(problem));
}

// A fresh attribute database for one input, holding two set definitions so that old records
// naming a set by its name have something to be turned into an id. A round trip reads its copy
// with a database of its own: reading adds set definitions (old attribute sets, target
// definitions), and with those a second read would rightly turn more set names into ids.
class EntryDatabase {
 public:
  EntryDatabase() : env_("/fuzz"), db_(new SxfZCdbAttrDB(env_)) {
    db_->AddAttrSetDefData("Road", "1.0", "X", 1);
    db_->AddAttrSetDefData("River", "2.0", "Y", 1);
  }
  ~EntryDatabase() { delete db_; }
  EntryDatabase(const EntryDatabase&) = delete;
  EntryDatabase& operator=(const EntryDatabase&) = delete;
  SxfZCdbAttrDB* get() const { return db_; }

 private:
  CEnvironObj env_;
  SxfZCdbAttrDB* db_;
};

// The first byte of an input picks the sub-reader of a target that covers several; the rest is
// the record.
struct SelectedInput {
  unsigned selector;
  const uint8_t* data;
  size_t size;
};

inline bool SelectReader(const uint8_t* data, size_t size, unsigned readers, SelectedInput& out) {
  if (size == 0) return false;
  out = SelectedInput{data[0] % readers, data + 1, size - 1};
  return true;
}
