// The sample section under damage: every prefix of it and every single-byte change to it is read
// into a fresh drawing, and every section writer writes it to a file that fills up after k
// bytes, for every k up to its length.
//
// A damaged read either fails the documented way (0, or an archive end-of-file exception inside
// the tagged forms) and then has counted and bound nothing, or it is tolerated (1) and leaves a
// database whose target counts match its figures and that saves and loads again. A failing write
// returns 0 or lets the file's diskFull exception through, never anything else, and the database
// it wrote from stays exactly as it was.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <sstream>

#include "model/attr_set_def.h"
#include "model/old_format.h"
#include "support/failing_file.h"
#include "support/record_bytes.h"
#include "support/test_drawing.h"

namespace {

// The sample: a title block, two set definitions, figures that target each other, a contour
// attribute and an image attribute. The first figure also holds a nested group with a Shift-JIS
// name and a negative kind, so every record shape a figure can hold is in the bytes. Its records:
// two plain ones, a contour record and a raster element.
enum : DWORD { kPlainA = 1, kPlainB = 2, kContour = 3, kRaster = 4 };
constexpr DWORD kSampleHandles[] = {kPlainA, kPlainB, kContour, kRaster};

// The sample's records without figures, as a host has them before it reads the section.
struct SampleRecords : TestDrawing {
  SampleRecords() {
    Load(kPlainA);
    Load(kPlainB);
    Load(kContour, nullptr, new ZCdbContour(12.5));
    Load(kRaster, nullptr, new ZCdbElm(new ZRaster("img/site.tif")));
  }
  // A copy buffer holding every record.
  ZCdbBuff Buffer() {
    ZCdbBuff buff;
    for (DWORD handle : kSampleHandles) buff.Add(Find(handle));
    return buff;
  }
};

struct SampleDrawing : SampleRecords {
  SampleDrawing() {
    adb->AddAttrSetDefData("Road", "1.0", "X", 1);
    adb->AddAttrSetDefData("Bridge", "2.1", "Y", 1);
    SxfZCdbFigure first = SetFigure("1", {kPlainB, kContour, kPlainB});
    SxfZCdbAttrGrp* inner = first.ATRF_GetAttr()->GetAttrSetRefData(0)->AddAttrGrpData(nullptr);
    inner->SetName("S1");
    SxfZCdbATRU attr;
    attr.name = "\x95\x5C";  // a name whose second byte is a backslash
    attr.kind = -3;
    attr.value = "5.50";
    inner->AddAttrGrpData(nullptr)->AddAttrData(attr);
    adb->SetRecFigure(Find(kPlainA), first);
    adb->SetRecFigure(Find(kPlainB), SetFigure("2", {kRaster}, "2.25"));
    adb->SetContour("c1", "12.5000", "m", Find(kContour));
    adb->SetImageElm("photo", Find(kRaster));
    SxfTitleInfo title;
    title.projectName = "Project";
    title.drawingName = "Plan";
    title.scale = "1:100";
    title.year = 2004;
    title.month = 12;
    title.day = 24;
    adb->SetTitleInfo(title, nullptr);
  }

  // The old layout of version 0x2000: title, set definitions, figure entries, end marker.
  std::string OldLayout() {
    using namespace old_format;
    CMemFile file;
    WriteInt32(&file, 0x2000);
    for (const char* text : {"Project", "", "Works", "A", "Plan", "3", "Type", "1:100"})
      WriteString(&file, text);
    for (LONG n : {2004, 12, 24}) WriteInt32(&file, n);
    WriteString(&file, "Company");
    WriteString(&file, "Office");
    WriteInt32(&file, 2);
    adb->FindAttrSetDefData(1)->Write(&file);
    adb->FindAttrSetDefData(2)->Write(&file);
    for (DWORD handle : kSampleHandles) EXPECT_EQ(1, adb->WriteAttr(&file, Find(handle), 0, 0));
    WriteInt32(&file, -1);
    return AsString(file);
  }
  // The copy-buffer section in the tagged form that Write(CFile*, ZCdbBuff*) stores.
  std::string CopyBuffer() {
    ZCdbBuff buff = Buffer();
    CMemFile file;
    EXPECT_EQ(1, adb->Write(&file, &buff));
    return AsString(file);
  }
  // The copy-buffer section in the old handle-prefixed form that ReadOldBuff takes.
  std::string OldCopyBuffer() {
    CMemFile file;
    for (DWORD handle : kSampleHandles) EXPECT_EQ(1, adb->WriteAttr(&file, Find(handle), 1, 0));
    old_format::WriteInt32(&file, -1);
    return AsString(file);
  }
};

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
  SampleRecords d;
  ZCdbBuff buff = d.Buffer();
  ReadFile in(bytes);
  CFile* file = &in.file;
  int result = 0;
  try {
    result = form == Form::kDrawing      ? d.adb->Read(0, file, &d.db)
             : form == Form::kCopyBuffer ? d.adb->Read(file, &buff)
                                         : d.adb->ReadOldBuff(file, &buff);
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
    for (DWORD handle : kSampleHandles) {
      EXPECT_FALSE(d.See(handle).visible) << "a failed read bound handle " << handle;
      EXPECT_EQ(0, d.adb->TargetedCnt(handle)) << "a failed read counted handle " << handle;
    }
    return;
  }
  ++tally.tolerated;
  // Only a drawing read counts targets; the copy-buffer forms count nothing.
  std::map<DWORD, int> counts = Recount(*d.adb);
  for (DWORD handle : kSampleHandles) counts[handle] += 0;
  for (const auto& [handle, count] : counts)
    EXPECT_EQ(form == Form::kDrawing ? count : 0, d.adb->TargetedCnt(handle)) << handle;
  CMemFile saved;
  // A listed set definition may be missing; the section is then partial and not read again.
  if (form != Form::kDrawing || d.adb->Write(0, &saved, &d.db) != 1) return;
  SampleRecords again;
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
  Sweep(src.Save(), Form::kDrawing, "new layout");
  Sweep(src.OldLayout(), Form::kDrawing, "old layout 0x2000");
  Sweep(src.CopyBuffer(), Form::kCopyBuffer, "copy buffer");
  Sweep(src.OldCopyBuffer(), Form::kOldCopyBuffer, "old copy buffer");
  // The committed samples, read into a drawing whose records they mostly do not name.
  Sweep(CommittedSample("demo_new_layout.sxfattr"), Form::kDrawing, "samples/demo_new_layout.sxfattr");
  Sweep(CommittedSample("demo_old_layout.sxfattr"), Form::kDrawing, "samples/demo_old_layout.sxfattr");
}

// Everything a caller can see of the sample database: each record's visibility and counts, the
// section a full save writes (figures, set definitions, title) and the undo history.
std::string Snapshot(SampleDrawing& s) {
  std::ostringstream out;
  for (DWORD handle : kSampleHandles)
    out << handle << ':' << s.See(handle).visible << ' ' << s.adb->TargetedCnt(handle) << ' '
        << s.adb->IsTarget(handle) << '\n';
  out << s.Save() << "\nundo " << s.UndoCount();
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
  std::string full = AsString(whole);
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
      EXPECT_EQ(full.substr(0, static_cast<size_t>(file.GetLength())), AsString(file));
    } else {
      EXPECT_EQ(1, result);
      EXPECT_EQ(full, AsString(file));
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
      s, [&](CFile* f) { return s.adb->Write(0, f, &s.db); }, true, true, "drawing section");
  // The same while the host records an undo step: saving registers nothing.
  s.db.BeginUndoStep();
  SweepWrite(
      s, [&](CFile* f) { return s.adb->Write(1, f, &s.db); }, true, true, "temporary section in a step");
  s.db.EndUndoStep();
  EXPECT_EQ(0, s.UndoCount());

  // The copy-buffer section passes the exception on; the old figure entries turn it into 0.
  ZCdbBuff buff = s.Buffer();
  SweepWrite(
      s, [&](CFile* f) { return s.adb->Write(f, &buff); }, false, true, "copy buffer");
  SweepWrite(
      s,
      [&](CFile* f) {
        for (DWORD handle : kSampleHandles) {
          if (s.adb->WriteAttr(f, s.Find(handle), 0, 0) != 1) return 0;
        }
        return 1;
      },
      true, false, "old figure entries");
}

}  // namespace
