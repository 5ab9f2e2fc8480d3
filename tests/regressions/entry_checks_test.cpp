// The checks the fuzz entries apply must catch the faults they exist for: a writer that loses a
// field, a reader that stops early, an archive exception no reader raises. Otherwise a fuzz run
// without findings would prove nothing.
#include <gtest/gtest.h>

#include <string>

#include "../../fuzz/reader_entry.h"
#include "model/atru.h"
#include "model/old_format.h"

namespace {

SxfZCdbATRU Value() {
  SxfZCdbATRU a;
  a.name = "width";
  a.type = "LEN";
  a.unit = "m";
  a.value = "5.50";
  a.zukeiName = "z";
  return a;
}

int ReadAtru(CFile* f, SxfZCdbATRU& out) {
  SxfZCdbATRU* read = ReadATRU(f);
  if (read) out = *read;
  delete read;
  return read ? 1 : 0;
}

bool Same(const SxfZCdbATRU& a, const SxfZCdbATRU& b) {
  return a.IsSame(b) == 1;
}

TEST(EntryChecksTest, OldRoundTripCatchesLostFieldsAndEarlyStops) {
  SxfZCdbATRU value = Value();
  const auto write = [](CFile* f, SxfZCdbATRU& v) { return WriteATRU(f, v); };
  EXPECT_EQ(CheckOldRoundTrip(value, ReadAtru, write, Same), "");

  // A writer that forgets the figure name: the copy reads, writes the same bytes, differs.
  const auto forgetful = [](CFile* f, SxfZCdbATRU& v) {
    SxfZCdbATRU copy = v;
    copy.zukeiName.Empty();
    return WriteATRU(f, copy);
  };
  EXPECT_EQ(CheckOldRoundTrip(value, ReadAtru, forgetful, Same), "what was read back is not the same");

  // A writer that adds a byte its reader does not take.
  const auto padded = [](CFile* f, SxfZCdbATRU& v) { return WriteATRU(f, v) && old_format::WriteByte(f, 0); };
  EXPECT_EQ(CheckOldRoundTrip(value, ReadAtru, padded, Same),
            "reading back stops before the end of what was written");

  const auto failing = [](CFile*, SxfZCdbATRU&) { return 0; };
  EXPECT_EQ(CheckOldRoundTrip(value, ReadAtru, failing, Same), "what was read does not write");
  const auto rejecting = [](CFile*, SxfZCdbATRU&) { return 0; };
  EXPECT_EQ(CheckOldRoundTrip(value, rejecting, write, Same), "what was written does not read back");
}

TEST(EntryChecksTest, NewRoundTripCatchesUnstableBytesAndArchiveFailures) {
  SxfZCdbATRU value = Value();
  const auto read = [](CArchive& ar, SxfZCdbATRU& out) {
    SxfZCdbATRU* r = NewReadATRU(ar);
    if (r) out = *r;
    delete r;
    return r ? 1 : 0;
  };
  const auto write = [](CArchive& ar, SxfZCdbATRU& v) { return NewWriteATRU(ar, v); };
  EXPECT_EQ(CheckNewRoundTrip(value, read, write, Same), "");

  // Each write appends to the value: the copy writes other bytes than the value did.
  const auto growing = [](CArchive& ar, SxfZCdbATRU& v) {
    SxfZCdbATRU copy = v;
    copy.value += "0";
    return NewWriteATRU(ar, copy);
  };
  EXPECT_EQ(CheckNewRoundTrip(value, read, growing, Same), "what was read back writes other bytes");

  // A record without its end tag runs out of data: the archive's end of file reaches the caller.
  const auto unterminated = [](CArchive& ar, SxfZCdbATRU& v) {
    ar << static_cast<int>(1);
    CArchive* block = SaveArchiveBlockBegin(ar);
    *block << static_cast<int>(v.kind);
    SaveArchiveBlockEnd(ar, block);
    return 1;
  };
  EXPECT_EQ(CheckNewRoundTrip(value, read, unterminated, Same), "what was written does not read back: eof");
}

TEST(EntryChecksTest, ArchiveExceptionsMapToOutcomesAndUnexpectedCausesToProblems) {
  const uint8_t none[1] = {0};
  const auto raising = [](int cause) {
    return [cause](CArchive&) -> int { throw CArchiveException(cause); };
  };
  EXPECT_EQ(ReadArchive(none, 0, raising(CArchiveException::endOfFile)).outcome, ReadOutcome::kEndOfFile);
  EXPECT_EQ(ReadArchive(none, 0, raising(CArchiveException::badSchema)).outcome, ReadOutcome::kBadSchema);
  const ReadResult odd = ReadArchive(none, 0, raising(CArchiveException::readOnly));
  EXPECT_EQ(odd.problem, "the archive raised cause 2");
  const ReadResult file =
      ReadArchive(none, 0, [](CArchive&) -> int { throw CFileException(CFileException::hardIO); });
  EXPECT_EQ(file.problem, "a reader raised CFileException");

  bool consumed = true;
  const uint8_t four[4] = {1, 2, 3, 4};
  EXPECT_EQ(ReadArchive(
                four, 4,
                [](CArchive& ar) {
                  BYTE b;
                  ar >> b;
                  return 0;
                },
                &consumed)
                .outcome,
            ReadOutcome::kRejected);
  EXPECT_FALSE(consumed);
}

}  // namespace
