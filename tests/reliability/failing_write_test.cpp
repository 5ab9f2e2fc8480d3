// Writes to a file that fills up after k bytes, for every k up to the section's length: the writer
// returns 0 or lets the file's diskFull exception through, never anything else, and the database
// it wrote from stays exactly as it was.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <sstream>

#include "reliability/section_samples.h"
#include "support/failing_file.h"

namespace {

// Everything a caller can see of the sample database: each record's visibility and counts, the
// section a full save writes (figures, set definitions, title) and the undo history.
std::string Snapshot(SampleDrawing& s) {
  std::ostringstream out;
  for (DWORD handle : {kPlainA, kPlainB, kContour, kRaster})
    out << handle << ':' << s.d.Bound(handle) << ' ' << s.d.adb->TargetedCnt(handle) << ' '
        << s.d.adb->IsTarget(handle) << '\n';
  CMemFile saved;
  EXPECT_EQ(1, s.d.adb->Write(0, &saved, &s.d.db));
  out << Bytes(saved) << "\nundo " << s.d.db.GetUndo()->GetUndoCount();
  return out.str();
}

// Runs write against files that fail after 0, 1, ... full bytes. At full and beyond the write
// must succeed with the same bytes; below it, fail with 0 (when allowZero) or let diskFull through
// (when allowThrow), leaving the database unchanged.
void SweepWrite(SampleDrawing& s, const std::function<int(CFile*)>& write, bool allowZero, bool allowThrow,
                const char* what) {
  std::string before = Snapshot(s);
  CMemFile whole;
  ASSERT_EQ(1, write(&whole));
  std::string full = Bytes(whole);
  int zeros = 0, raised = 0;
  for (size_t k = 0; k <= full.size(); ++k) {
    SCOPED_TRACE(testing::Message() << what << " failing after " << k << " bytes");
    FailingFile file(k);
    int result = -1;  // -1: the file's exception came through
    try {
      result = write(&file);
    } catch (CFileException& e) {
      EXPECT_EQ(CFileException::diskFull, e.m_cause);
      EXPECT_TRUE(allowThrow);
      ++raised;
    }
    if (result == 0) ++zeros;
    if (k < full.size()) {
      EXPECT_NE(1, result) << "a write that lost bytes reported success";
      EXPECT_TRUE(result == -1 || (result == 0 && allowZero)) << result;
      EXPECT_GE(file.Failures(), 1);
      // What reached the file is a prefix of the real section.
      EXPECT_EQ(full.substr(0, static_cast<size_t>(file.GetLength())), Bytes(file));
    } else {
      EXPECT_EQ(1, result);
      EXPECT_EQ(full, Bytes(file));
    }
    EXPECT_EQ(before, Snapshot(s));
  }
  std::printf("[ failing  ] %s: %zu bytes, %zu limits, %d returned 0, %d raised diskFull\n", what,
              full.size(), full.size() + 1, zeros, raised);
}

TEST(FailingWrite, EverySectionWriterLeavesTheDatabaseAsItWas) {
  SampleDrawing s;
  // The version goes through the old-format write routine (0 on failure); the archive body lets
  // the file's exception through once its buffer is flushed.
  SweepWrite(
      s, [&](CFile* f) { return s.d.adb->Write(0, f, &s.d.db); }, true, true, "drawing section");
  // The same while the host records an undo step: saving registers nothing.
  s.d.db.BeginUndoStep();
  SweepWrite(
      s, [&](CFile* f) { return s.d.adb->Write(1, f, &s.d.db); }, true, true, "temporary section in a step");
  s.d.db.EndUndoStep();
  EXPECT_EQ(0, s.d.db.GetUndo()->GetUndoCount());

  // The copy-buffer section passes the exception on; the old figure entries turn it into 0.
  ZCdbBuff buff = s.Buffer();
  SweepWrite(
      s, [&](CFile* f) { return s.d.adb->Write(f, &buff); }, false, true, "copy buffer");
  SweepWrite(
      s,
      [&](CFile* f) {
        for (DWORD handle : {kPlainA, kPlainB, kContour, kRaster}) {
          if (s.d.adb->WriteAttr(f, s.Rec(handle), 0, 0) != 1) return 0;
        }
        return 1;
      },
      true, false, "old figure entries");
}

}  // namespace
