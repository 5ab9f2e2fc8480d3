// Damaged sections: every prefix of a sample section and every single-byte change to it is read
// into a fresh drawing. A read either fails the documented way (0, or an archive end-of-file
// exception inside the tagged forms) and then has counted and bound nothing, or it is tolerated
// (1) and leaves a database whose target counts match its figures and that saves and loads again.
#include <gtest/gtest.h>

#include <map>

#include "reliability/section_samples.h"

namespace {

enum class Form { kDrawing, kCopyBuffer, kOldCopyBuffer };

struct Tally {
  int reads = 0;
  int tolerated = 0;
  int failed = 0;
  std::map<int, int> archiveCauses;  // CArchiveException cause -> how often
  int fileExceptions = 0;
  int savedAgain = 0;    // tolerated drawing reads that saved and loaded again
  int partialSaves = 0;  // tolerated drawing reads whose save reported 0
};

// The targeted count of every handle, recounted from the stored figures.
std::map<DWORD, int> Recount(SxfZCdbAttrDB& adb) {
  std::map<DWORD, int> counts;
  POSITION pos = adb.GetFirstEntry();
  while (pos != nullptr) {
    DWORD handle = 0;
    const SxfZCdbFigure* fig = nullptr;
    adb.GetNextEntry(pos, handle, fig);
    if (fig == nullptr) continue;
    for (DWORD t : Targets(*fig)) ++counts[t];
  }
  return counts;
}

void ExpectCountsMatchFigures(SxfZCdbAttrDB& adb, bool counted) {
  std::map<DWORD, int> counts = Recount(adb);
  POSITION pos = adb.GetFirstEntry();
  while (pos != nullptr) {
    DWORD handle = 0;
    const SxfZCdbFigure* fig = nullptr;
    adb.GetNextEntry(pos, handle, fig);
    EXPECT_EQ(counted ? counts[handle] : 0, adb.TargetedCnt(handle)) << "handle " << handle;
  }
  for (const auto& [handle, count] : counts)
    EXPECT_EQ(counted ? count : 0, adb.TargetedCnt(handle)) << handle;
}

// Reads bytes in form into a fresh sample drawing and checks what the read left behind.
void ReadDamaged(const std::string& bytes, Form form, Tally& tally, bool mustFail) {
  HostDrawing d;
  LoadSampleRecords(d);
  ZCdbBuff buff;
  for (DWORD handle : {kPlainA, kPlainB, kContour, kRaster}) buff.Add(d.db.FindRecord(handle));
  CMemFile file;
  Put(file, bytes);
  file.SeekToBegin();
  int result = -1;
  try {
    switch (form) {
      case Form::kDrawing:
        result = d.adb->Read(0, &file, &d.db);
        break;
      case Form::kCopyBuffer:
        result = d.adb->Read(&file, &buff);
        break;
      case Form::kOldCopyBuffer:
        result = d.adb->ReadOldBuff(&file, &buff);
        break;
    }
  } catch (CArchiveException& e) {
    // Only the tagged forms run through an archive.
    EXPECT_NE(Form::kOldCopyBuffer, form);
    ++tally.archiveCauses[e.m_cause];
    result = 0;
  } catch (CFileException&) {
    ++tally.fileExceptions;
    result = 0;
  } catch (...) {
    ADD_FAILURE() << "an exception the readers never raise";
    result = 0;
  }
  ++tally.reads;
  ASSERT_TRUE(result == 0 || result == 1) << result;
  if (mustFail) {
    EXPECT_EQ(0, result);
  }
  // The old copy-buffer form counts nothing; the tagged copy-buffer form follows the same rule.
  bool counts = form == Form::kDrawing;
  if (result == 0) {
    ++tally.failed;
    for (DWORD handle : {kPlainA, kPlainB, kContour, kRaster}) {
      EXPECT_EQ(0, d.Bound(handle)) << "a failed read bound handle " << handle;
      EXPECT_EQ(0, d.adb->TargetedCnt(handle)) << "a failed read counted handle " << handle;
    }
    return;
  }
  ++tally.tolerated;
  ExpectCountsMatchFigures(*d.adb, counts);
  if (form != Form::kDrawing) return;
  // What was tolerated must save and load again.
  CMemFile saved;
  int written = d.adb->Write(0, &saved, &d.db);
  if (written != 1) {  // a listed set definition may be missing; the section is then partial
    ++tally.partialSaves;
    return;
  }
  ++tally.savedAgain;
  HostDrawing again;
  LoadSampleRecords(again);
  saved.SeekToBegin();
  EXPECT_EQ(1, again.adb->Read(0, &saved, &again.db));
  EXPECT_EQ(saved.GetLength(), saved.GetPosition());
}

void Sweep(const std::string& bytes, Form form, const char* what) {
  ASSERT_FALSE(bytes.empty());
  Tally tally;
  ReadDamaged(bytes, form, tally, false);
  EXPECT_EQ(1, tally.tolerated) << what << ": the undamaged section must read";
  for (size_t length = 0; length < bytes.size(); ++length) {
    SCOPED_TRACE(testing::Message() << what << " cut at " << length);
    ReadDamaged(bytes.substr(0, length), form, tally, true);
  }
  for (size_t at = 0; at < bytes.size(); ++at) {
    for (int change = 0; change < 2; ++change) {
      std::string damaged = bytes;
      damaged[at] = static_cast<char>(change == 0 ? damaged[at] + 1 : damaged[at] ^ 0xFF);
      SCOPED_TRACE(testing::Message() << what << " byte " << at << (change == 0 ? " +1" : " ^0xFF"));
      ReadDamaged(damaged, form, tally, false);
    }
  }
  std::string causes;
  for (const auto& [cause, n] : tally.archiveCauses)
    causes += " cause " + std::to_string(cause) + "x" + std::to_string(n);
  std::printf(
      "[ sweep    ] %s: %zu bytes, %d reads, %d tolerated (%d saved and loaded again, %d partial saves), %d "
      "failed, "
      "archive exceptions:%s, file exceptions: %d\n",
      what, bytes.size(), tally.reads, tally.tolerated, tally.savedAgain, tally.partialSaves, tally.failed,
      causes.empty() ? " none" : causes.c_str(), tally.fileExceptions);
  // Inside the archive forms only the end of file escapes a reader; the memory file never throws.
  for (const auto& [cause, n] : tally.archiveCauses) EXPECT_EQ(CArchiveException::endOfFile, cause) << n;
  EXPECT_EQ(0, tally.fileExceptions);
}

TEST(SectionDamage, NewLayoutDrawingSection) {
  MessageCapture quiet;
  SampleDrawing src;
  Sweep(src.NewLayout(), Form::kDrawing, "new layout");
}

TEST(SectionDamage, OldLayoutDrawingSection) {
  MessageCapture quiet;
  SampleDrawing src;
  Sweep(src.OldLayout(), Form::kDrawing, "old layout 0x2000");
}

TEST(SectionDamage, CopyBufferSections) {
  MessageCapture quiet;
  SampleDrawing src;
  Sweep(src.CopyBuffer(), Form::kCopyBuffer, "copy buffer");
  Sweep(src.OldCopyBuffer(), Form::kOldCopyBuffer, "old copy buffer");
}

}  // namespace
