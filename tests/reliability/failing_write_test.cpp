// Writes to a file that fills up after k bytes, for every k up to the section's length: the writer
// returns 0 or lets the file's diskFull exception through, never anything else, and the database
// it wrote from stays exactly as it was.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "reliability/section_samples.h"
#include "support/failing_file.h"

namespace {

// Everything a caller can see of the sample database.
std::string Snapshot(SampleDrawing& s) {
  std::ostringstream out;
  for (DWORD handle : {kPlainA, kPlainB, kContour, kRaster}) {
    SxfZCdbFigure fig;
    int visible = s.d.adb->GetRecFigure(handle, fig);
    out << handle << ':' << visible << ' ' << s.d.adb->TargetedCnt(handle) << ' '
        << s.d.adb->IsTarget(handle);
    if (visible == 1) {
      out << " type " << int(fig.GetAttrType());
      const SxfZCdbATRU* width = fig.FindAttrData("width");
      if (width != nullptr) out << " w " << width->value.GetString();
      for (DWORD t : Targets(fig)) out << " t" << t;
      CString zukei, value, unit;
      if (fig.GetContour(zukei, value, unit)) out << " contour " << value.GetString();
      if (fig.GetImageName(zukei, value)) out << " image " << value.GetString();
    }
    out << '\n';
  }
  CDWordArrayX ids;
  out << "defs " << s.d.adb->GetAttrSetDefCnt(&ids) << '\n';
  const SxfTitleInfo& title = s.d.adb->GetStoredTitleInfo();
  out << title.projectName.GetString() << '|' << title.drawingName.GetString() << '|' << title.year << '\n';
  out << "undo " << s.d.db.GetUndo()->GetUndoCount() << '\n';
  return out.str();
}

enum class Outcome { kZero, kDiskFull, kDone };

// Runs write against files that fail after 0, 1, ... full bytes. At full and beyond the write
// must succeed with the same bytes; below it, fail with 0 or let diskFull through (allowZero
// and allowThrow say which the writer is allowed), leaving the database unchanged.
void SweepWrite(SampleDrawing& s, const std::function<int(CFile*)>& write, bool allowZero, bool allowThrow,
                const char* what) {
  std::string before = Snapshot(s);
  CMemFile whole;
  ASSERT_EQ(1, write(&whole));
  std::string full = Bytes(whole);
  int zeros = 0, throws = 0;
  for (size_t k = 0; k <= full.size(); ++k) {
    SCOPED_TRACE(testing::Message() << what << " failing after " << k << " bytes");
    FailingFile file(k);
    Outcome outcome = Outcome::kDone;
    try {
      outcome = write(&file) == 1 ? Outcome::kDone : Outcome::kZero;
    } catch (CFileException& e) {
      EXPECT_EQ(CFileException::diskFull, e.m_cause);
      outcome = Outcome::kDiskFull;
    } catch (...) {
      ADD_FAILURE() << "the writer raised something other than the file's exception";
    }
    if (k < full.size()) {
      EXPECT_NE(Outcome::kDone, outcome) << "a write that lost bytes reported success";
      EXPECT_GE(file.Failures(), 1);
      // What reached the file is a prefix of the real section.
      EXPECT_EQ(full.substr(0, static_cast<size_t>(file.GetLength())), Bytes(file));
    } else {
      EXPECT_EQ(Outcome::kDone, outcome);
      EXPECT_EQ(full, Bytes(file));
    }
    if (outcome == Outcome::kZero) {
      ++zeros;
      EXPECT_TRUE(allowZero);
    }
    if (outcome == Outcome::kDiskFull) {
      ++throws;
      EXPECT_TRUE(allowThrow);
    }
    EXPECT_EQ(before, Snapshot(s));
  }
  std::printf("[ sweep    ] %s: %zu bytes, %zu limits, %d returned 0, %d raised diskFull\n", what,
              full.size(), full.size() + 1, zeros, throws);
}

TEST(FailingWrite, DrawingSectionLeavesTheDatabaseAsItWas) {
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
}

TEST(FailingWrite, CopyBufferSectionPassesTheExceptionOn) {
  SampleDrawing s;
  ZCdbBuff buff = s.Buffer();
  SweepWrite(
      s, [&](CFile* f) { return s.d.adb->Write(f, &buff); }, false, true, "copy buffer");
}

TEST(FailingWrite, OldFigureEntriesTurnTheExceptionIntoZero) {
  SampleDrawing s;
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
