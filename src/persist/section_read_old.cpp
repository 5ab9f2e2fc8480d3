// The reader of the drawing-file section: the version decides the layout; the old layouts are
// read here, the tagged one in section_read_new.cpp.
#include <memory>
#include <vector>

#include "attrdb/attrdb.h"
#include "model/attr_set_def.h"
#include "model/figure.h"
#include "model/japanese_texts.h"
#include "model/old_format.h"
#include "persist/section_format.h"
#include "persist/section_title.h"

namespace {

// Tells the user that figure records were rejected, so some attributes may sit on the wrong
// figures or be missing.
void ShowRejectedFiguresWarning() {
  CString text = kJpWarningLine1;
  text += "\n";
  text += kJpWarningLine2;
  AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION, 0);
}

}  // namespace

int SxfZCdbAttrDB::Read(int mode, CFile* file, ZCdb* db) {
  using namespace old_format;
  SetDefIndexScope byName(*this);
  LONG rawVersion = 0;
  if (ReadInt32(file, rawVersion) == 0) return 0;
  const DWORD version = static_cast<DWORD>(rawVersion);
  if (version >= kSectionVersionTagged) return NewRead(mode, file, db, version);
  if (version > kSectionVersionWithSetDefs) return 0;

  if (ReadOldTitleRecord(file, m_titleInfo) == 0) return 0;
  // The title just read stays: it belongs to the drawing being loaded.
  if (mode == 0) Clear();
  if (version == kSectionVersionWithSetDefs) {
    LONG count = 0;
    if (ReadInt32(file, count) == 0) return 0;
    for (LONG i = 0; i < count; ++i) {
      SxfZCdbAttrSetDef def;
      if (def.Read(file) == 0) return 0;
      // A definition that clashes with one already registered is dropped.
      AddAttrSetDefData(def);
    }
  }

  std::vector<SxfZCdbFigure*> loaded;  // figures whose targets count once the read succeeds
  if (mode == 0) loaded.reserve(kReadListReserve);
  bool rejected = false;
  int result = 0;
  for (;;) {
    LONG rawHandle = 0;
    if (ReadInt32(file, rawHandle) == 0) break;  // no end marker
    const DWORD handle = static_cast<DWORD>(rawHandle);
    if (handle == kOldEntriesEnd) {
      result = 1;
      break;
    }
    std::unique_ptr<SxfZCdbFigure> figure(new SxfZCdbFigure);
    const int read = figure->Read(file, this);
    // The first figure stored under a handle wins, also over one held before the read.
    if (read != 0 && FindEntry(handle) == nullptr) {
      figure->SetHandle(handle);
      m_attrMap.SetAt(handle, new ZCDB_SXFATTR_MAP{0, nullptr, figure.get()});
      if (mode == 0) loaded.push_back(figure.get());
      figure.release();
      continue;
    }
    rejected = true;
    if (read == 0) break;
  }
  if (rejected) ShowRejectedFiguresWarning();
  if (mode == 0 && result != 0) {
    for (SxfZCdbFigure* figure : loaded) AppendTargetEntry(figure);
    result = BindZCDb(db);
  }
  return result;
}
