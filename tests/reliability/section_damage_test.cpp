// Damaged sections: every prefix of a sample section and every single-byte change to it is read
// into a fresh drawing. A read either fails the documented way (0, or an archive end-of-file
// exception inside the tagged forms) and then has counted and bound nothing, or it is tolerated
// (1) and leaves a database whose target counts match its figures and that saves and loads again.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>

#include "reliability/section_samples.h"

namespace {

enum class Form { kDrawing, kCopyBuffer, kOldCopyBuffer };

// The targeted count of every handle, recounted from the stored figures.
std::map<DWORD, int> Recount(SxfZCdbAttrDB& adb) {
  std::map<DWORD, int> counts;
  DWORD handle = 0;
  const SxfZCdbFigure* fig = nullptr;
  for (POSITION pos = adb.GetFirstEntry(); pos != nullptr;) {
    adb.GetNextEntry(pos, handle, fig);
    if (fig != nullptr)
      for (DWORD t : Targets(*fig)) ++counts[t];
  }
  return counts;
}

struct Tally {
  int reads = 0, tolerated = 0, endOfFile = 0;
};

// Reads bytes in form into a fresh sample drawing and checks what the read left behind.
void ReadDamaged(const std::string& bytes, Form form, bool mustFail, Tally& tally) {
  ++tally.reads;
  HostDrawing d;
  LoadSampleRecords(d);
  ZCdbBuff buff = SampleBuffer(d);
  CMemFile file;
  Put(file, bytes);
  file.SeekToBegin();
  int result = 0;
  try {
    result = form == Form::kDrawing      ? d.adb->Read(0, &file, &d.db)
             : form == Form::kCopyBuffer ? d.adb->Read(&file, &buff)
                                         : d.adb->ReadOldBuff(&file, &buff);
    ASSERT_TRUE(result == 0 || result == 1) << result;
  } catch (CArchiveException& e) {
    // Only the tagged forms run through an archive, and only its end of file escapes a reader.
    EXPECT_NE(Form::kOldCopyBuffer, form);
    EXPECT_EQ(CArchiveException::endOfFile, e.m_cause);
    ++tally.endOfFile;
  }
  if (mustFail) {
    EXPECT_EQ(0, result);
  }
  if (result == 0) {
    for (DWORD handle : {kPlainA, kPlainB, kContour, kRaster}) {
      EXPECT_EQ(0, d.Bound(handle)) << "a failed read bound handle " << handle;
      EXPECT_EQ(0, d.adb->TargetedCnt(handle)) << "a failed read counted handle " << handle;
    }
    return;
  }
  ++tally.tolerated;
  // Only a drawing read counts targets; the copy-buffer forms count nothing.
  std::map<DWORD, int> counts = Recount(*d.adb);
  for (DWORD handle : {kPlainA, kPlainB, kContour, kRaster}) counts[handle] += 0;
  for (const auto& [handle, count] : counts)
    EXPECT_EQ(form == Form::kDrawing ? count : 0, d.adb->TargetedCnt(handle)) << handle;
  CMemFile saved;
  // A listed set definition may be missing; the section is then partial and not read again.
  if (form != Form::kDrawing || d.adb->Write(0, &saved, &d.db) != 1) return;
  HostDrawing again;
  LoadSampleRecords(again);
  saved.SeekToBegin();
  EXPECT_EQ(1, again.adb->Read(0, &saved, &again.db));
  EXPECT_EQ(saved.GetLength(), saved.GetPosition());
}

// Every prefix must fail; the whole section and each single-byte change may be tolerated.
void Sweep(const std::string& bytes, Form form, const char* what) {
  ASSERT_FALSE(bytes.empty());
  Tally tally;
  ReadDamaged(bytes, form, false, tally);
  for (size_t length = 0; length < bytes.size(); ++length) {
    SCOPED_TRACE(testing::Message() << what << " cut at " << length);
    ReadDamaged(bytes.substr(0, length), form, true, tally);
  }
  for (size_t at = 0; at < bytes.size(); ++at) {
    for (int change = 0; change < 2; ++change) {
      std::string damaged = bytes;
      damaged[at] = static_cast<char>(change == 0 ? damaged[at] + 1 : damaged[at] ^ 0xFF);
      SCOPED_TRACE(testing::Message() << what << " byte " << at << (change == 0 ? " +1" : " ^0xFF"));
      ReadDamaged(damaged, form, false, tally);
    }
  }
  std::printf("[ damage   ] %s: %zu bytes, %d reads, %d tolerated, %d failed (%d by end of file)\n", what,
              bytes.size(), tally.reads, tally.tolerated, tally.reads - tally.tolerated, tally.endOfFile);
}

std::string CommittedSample(const char* name) {
  std::ifstream in(std::string(SXF_SOURCE_DIR) + "/samples/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(SectionDamage, EveryFormOfTheSampleSection) {
  MessageCapture quiet;
  SampleDrawing src;
  Sweep(src.NewLayout(), Form::kDrawing, "new layout");
  Sweep(src.OldLayout(), Form::kDrawing, "old layout 0x2000");
  Sweep(src.CopyBuffer(), Form::kCopyBuffer, "copy buffer");
  Sweep(src.OldCopyBuffer(), Form::kOldCopyBuffer, "old copy buffer");
  // The committed samples, read into a drawing whose records they mostly do not name.
  Sweep(CommittedSample("demo_new_layout.sxfattr"), Form::kDrawing, "samples/demo_new_layout.sxfattr");
  Sweep(CommittedSample("demo_old_layout.sxfattr"), Form::kDrawing, "samples/demo_old_layout.sxfattr");
}

}  // namespace
