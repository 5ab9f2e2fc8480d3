#include "persist/section_title.h"

#include "model/new_format.h"
#include "model/old_format.h"
#include "model/record_tags.h"

int ReadOldTitleRecord(CFile* file, SxfTitleInfo& title) {
  using namespace old_format;
  // The project name is stored twice; the second text replaces the first unless it is empty.
  return ReadString(file, title.projectName) && ReadString(file, title.projectName) &&
                 ReadString(file, title.constructionName) && ReadString(file, title.contractClass) &&
                 ReadString(file, title.drawingName) && ReadString(file, title.drawingNumber) &&
                 ReadString(file, title.drawingType) && ReadString(file, title.scale) &&
                 ReadInt32(file, title.year) && ReadInt32(file, title.month) && ReadInt32(file, title.day) &&
                 ReadString(file, title.companyName) && ReadString(file, title.officeName)
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
