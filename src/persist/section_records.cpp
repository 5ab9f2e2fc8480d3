#include "persist/section_records.h"

#include "model/new_format.h"
#include "model/old_format.h"
#include "model/record_tags.h"
#include "persist/section_format.h"

// ---- title record ----

int ReadOldTitleRecord(CFile* file, SxfTitleInfo& title) {
  using namespace old_format;
  // An empty second project name leaves the first, as an empty file string leaves any text.
  return ReadString(file, title.projectName) && ReadString(file, title.projectName) &&
                 ReadString(file, title.constructionName) && ReadString(file, title.contractClass) &&
                 ReadString(file, title.drawingName) && ReadString(file, title.drawingNumber) &&
                 ReadString(file, title.drawingType) && ReadString(file, title.scale) &&
                 ReadInt32(file, title.year) && ReadInt32(file, title.month) && ReadInt32(file, title.day) &&
                 ReadString(file, title.companyName) && ReadString(file, title.officeName)
             ? 1
             : 0;
}

int WriteOldTitleRecord(CFile* file, const SxfTitleInfo& title) {
  using namespace old_format;
  return WriteString(file, title.projectName) && WriteString(file, CString()) &&
                 WriteString(file, title.constructionName) && WriteString(file, title.contractClass) &&
                 WriteString(file, title.drawingName) && WriteString(file, title.drawingNumber) &&
                 WriteString(file, title.drawingType) && WriteString(file, title.scale) &&
                 WriteInt32(file, title.year) && WriteInt32(file, title.month) &&
                 WriteInt32(file, title.day) && WriteString(file, title.companyName) &&
                 WriteString(file, title.officeName)
             ? 1
             : 0;
}

void WriteTitleRecord(CArchive& ar, const SxfTitleInfo& title) {
  using namespace new_format;
  WriteBlock(ar, kTagFields, [&](CArchive& block) {
    block << title.projectName << title.constructionName << title.contractClass << title.drawingName
          << title.drawingNumber << title.drawingType << title.scale;
    block << static_cast<DWORD>(title.year) << static_cast<DWORD>(title.month)
          << static_cast<DWORD>(title.day);
    block << title.companyName << title.officeName;
  });
  WriteEnd(ar);
}

int ReadTitleRecord(CArchive& ar, SxfTitleInfo& title) {
  using namespace new_format;
  return ReadRecord(ar, [&](LONG tag, CArchive& block) {
    if (tag != kTagFields) return 1;
    ReadFields(block, [&](CArchive& in) {
      in >> title.projectName >> title.constructionName >> title.contractClass >> title.drawingName >>
          title.drawingNumber >> title.drawingType >> title.scale;
      in >> title.year >> title.month >> title.day;
      in >> title.companyName >> title.officeName;
    });
    return 1;
  });
}

// ---- attribute entry ----

int WriteEntryRecord(CArchive& ar, DWORD handle, SxfZCdbFigure& figure) {
  using namespace new_format;
  WriteBlock(ar, kTagEntryHandle, [&](CArchive& block) { block << handle; });
  if (WriteBlock(ar, kTagEntryFigure, [&](CArchive& block) { return figure.NewWrite(block); }) == 0) return 0;
  WriteEnd(ar);
  return 1;
}

int ReadEntryRecord(CArchive& ar, SxfZCdbAttrDB* db, DWORD& handle, std::unique_ptr<SxfZCdbFigure>& figure,
                    bool* inFigure) {
  using namespace new_format;
  bool reading = false;
  try {
    const int ok = ReadRecord(ar, [&](LONG tag, CArchive& block) {
      if (tag == kTagEntryHandle) {
        ReadFields(block, [&](CArchive& in) { in >> handle; });
        return 1;
      }
      if (tag != kTagEntryFigure) return 1;
      std::unique_ptr<SxfZCdbFigure> read(NewFromSlab<SxfZCdbFigure>(block.Slabs()));
      reading = true;
      if (read->NewRead(block, db) == 0) return 0;
      reading = false;
      read->handle = handle;
      figure = std::move(read);
      return 1;
    });
    if (ok == 0) figure.reset();
    return ok;
  } catch (...) {
    figure.reset();
    if (inFigure != nullptr) *inFigure = reading;
    throw;
  }
}

// ---- figure entry ----

int WriteOldFigureEntry(CFile* file, DWORD handle, SxfZCdbFigure& figure) {
  return old_format::WriteInt32(file, static_cast<LONG>(handle)) && figure.Write(file) ? 1 : 0;
}
