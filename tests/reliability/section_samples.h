// Small attribute sections made by the plug-in's own writers, and the drawings they belong to:
// a title block, two set definitions, figures that target each other, a contour attribute and an
// image attribute. The first figure also holds a nested group with a Shift-JIS name and a negative
// kind, so every record shape a figure can hold is in the bytes. Used by the damage sweeps and the
// failing-write tests.
#pragma once

#include <string>

#include "model/attr_set_def.h"
#include "model/old_format.h"
#include "persist/section_drawing.h"

// Record handles of the sample drawing: two plain records, a contour record and a raster element.
enum : DWORD { kPlainA = 1, kPlainB = 2, kContour = 3, kRaster = 4 };

// Loads the sample's records (no figures) into d, as a host does before it reads the section.
inline void LoadSampleRecords(HostDrawing& d) {
  d.Load(kPlainA);
  d.Load(kPlainB);
  d.Load<ZCdbContour>(kContour, nullptr, new ZCdbContour(12.5));
  d.Load<ZCdbElm>(kRaster, nullptr, new ZCdbElm(new ZRaster("img/site.tif")));
}

// A copy buffer holding every record of the sample.
inline ZCdbBuff SampleBuffer(HostDrawing& d) {
  ZCdbBuff buff;
  for (DWORD handle : {kPlainA, kPlainB, kContour, kRaster}) buff.Add(d.db.FindRecord(handle));
  return buff;
}

struct SampleDrawing {
  HostDrawing d;
  SampleDrawing() {
    LoadSampleRecords(d);
    d.adb->AddAttrSetDefData("Road", "1.0", "X", 1);
    d.adb->AddAttrSetDefData("Bridge", "2.1", "Y", 1);
    SxfZCdbFigure first = SetFigure("1", {kPlainB, kContour, kPlainB});
    SxfZCdbAttrGrp* inner = first.ATRF_GetAttr()->GetAttrSetRefData(0)->AddAttrGrpData(nullptr);
    inner->SetName("S1");
    SxfZCdbATRU attr;
    attr.name = "\x95\x5C";  // a name whose second byte is a backslash
    attr.kind = -3;
    attr.value = "5.50";
    inner->AddAttrGrpData(nullptr)->AddAttrData(attr);
    d.adb->SetRecFigure(Rec(kPlainA), first);
    d.adb->SetRecFigure(Rec(kPlainB), SetFigure("2", {kRaster}, "2.25"));
    d.adb->SetContour("c1", "12.5000", "m", Rec(kContour));
    d.adb->SetImageElm("photo", Rec(kRaster));
    SxfTitleInfo title;
    title.projectName = "Project";
    title.drawingName = "Plan";
    title.scale = "1:100";
    title.year = 2004;
    title.month = 12;
    title.day = 24;
    d.adb->SetTitleInfo(title, nullptr);
  }
  ZCdbRecBase* Rec(DWORD handle) { return d.db.FindRecord(handle); }

  // The new layout (version 0x3000) as Write stores it.
  std::string NewLayout() {
    CMemFile file;
    EXPECT_EQ(1, d.adb->Write(0, &file, &d.db));
    return Bytes(file);
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
    d.adb->FindAttrSetDefData(1)->Write(&file);
    d.adb->FindAttrSetDefData(2)->Write(&file);
    for (DWORD handle : {kPlainA, kPlainB, kContour, kRaster})
      EXPECT_EQ(1, d.adb->WriteAttr(&file, Rec(handle), 0, 0));
    WriteInt32(&file, -1);
    return Bytes(file);
  }

  ZCdbBuff Buffer() { return SampleBuffer(d); }

  // The copy-buffer section in the tagged form that Write(CFile*, ZCdbBuff*) stores.
  std::string CopyBuffer() {
    ZCdbBuff buff = Buffer();
    CMemFile file;
    EXPECT_EQ(1, d.adb->Write(&file, &buff));
    return Bytes(file);
  }

  // The copy-buffer section in the old handle-prefixed form that ReadOldBuff takes.
  std::string OldCopyBuffer() {
    CMemFile file;
    for (DWORD handle : {kPlainA, kPlainB, kContour, kRaster})
      EXPECT_EQ(1, d.adb->WriteAttr(&file, Rec(handle), 1, 0));
    old_format::WriteInt32(&file, -1);
    return Bytes(file);
  }
};
