// Old-format figure record.
//
//   figure record := byte version (2)  string name  byte type
//                    attribute                      (type 1 ATRF, 2 ATRU, 3 ATRS record)
//                    int32 n  target record * n     (version 1 only)
//                    int32 hasContour  [ATRU record]  int32 hasImage  [ATRU record]  (version 2)
//
// Version 0 ends after the attribute. Version 1 carries legacy target definitions, which reading
// turns into set references holding target attributes. The record handle is stored by the
// containing section, not here.
#include <memory>

#include "model/attr_set_def.h"
#include "model/figure.h"
#include "model/old_format.h"
#include "model/record_tags.h"
#include "model/set_def_registry.h"
#include "model/target.h"
#include "model/value_records.h"

using namespace old_format;

namespace {

int WriteOptionalAtru(CFile* file, const SxfZCdbATRU* atru) {
  if (!WriteInt32(file, atru ? 1 : 0)) return 0;
  return atru ? WriteATRU(file, *atru) : 1;
}

int ReadOptionalAtru(CFile* file, SxfZCdbATRU*& slot) {
  LONG present;
  if (!ReadInt32(file, present)) return 0;
  if (!present) return 1;
  SxfZCdbATRU* atru = ReadATRU(file);
  if (!atru) return 0;
  delete slot;
  slot = atru;
  return 1;
}

}  // namespace

int SxfZCdbFigure::Write(CFile* file) {
  const BYTE type = StoredType();
  if (!WriteByte(file, kFigureRecordVersion) || !WriteString(file, name) || !WriteByte(file, type)) return 0;
  switch (type) {
    case SXF_ATTR_ATRF:
      if (!attr.ATRF()->Write(file)) return 0;
      break;
    case SXF_ATTR_ATRU:
      if (!WriteATRU(file, *attr.ATRU())) return 0;
      break;
    case SXF_ATTR_ATRS:
      if (!WriteATRS(file, *attr.ATRS())) return 0;
      break;
    default:
      break;
  }
  return WriteOptionalAtru(file, contour) && WriteOptionalAtru(file, image) ? 1 : 0;
}

int ReadOldFigureRecord(CFile* file, SxfZCdbFigure& fig, SetDefRegistry* registry) {
  CString& name = fig.name;
  BYTE& attrType = fig.attrType;
  SxfZCdbFigureAttr& attr = fig.attr;
  BYTE version;
  if (!ReadByte(file, version) || version > kFigureRecordVersion) return 0;
  if (!ReadString(file, name) || !ReadByte(file, attrType)) return 0;
  switch (attrType) {
    case SXF_ATTR_ATRS: {
      SxfZCdbATRS* stub = new SxfZCdbATRS;
      attr.Reset(stub);
      if (!ReadATRS(file, *stub)) return 0;
      break;
    }
    case SXF_ATTR_ATRU: {
      SxfZCdbATRU* atru = ReadATRU(file);
      attr.Reset(atru);
      if (!atru) return 0;
      break;
    }
    case SXF_ATTR_ATRF: {
      SxfZCdbATRF* atrf = new SxfZCdbATRF;
      attr.Reset(atrf);
      if (!ReadOldAtrfRecord(file, *atrf, registry)) return 0;
      break;
    }
    default:
      break;  // no attribute block; the code stays as read
  }

  if (version == kFigureVersionWithTargets) {
    LONG count;
    if (!ReadInt32(file, count)) return 0;
    for (LONG i = 0; i < count; ++i) {
      SxfZCdbTarget target;
      if (!target.Read(file)) return 0;
      const SxfZCdbAttrSetDef* def =
          registry ? registry->Register(target.GetName(), target.GetVersion(), target.GetDesigner())
                   : nullptr;
      SxfZCdbATRF* atrf = attrType == SXF_ATTR_ATRF ? attr.ATRF() : nullptr;
      if (!def || !atrf) continue;  // the targets have nowhere to go
      SxfZCdbAttrSetRef* ref = atrf->AddAttrSetRefData(def->GetId(), 1);
      for (int k = 0; k < target.GetCnt(); ++k) {
        const RecTargetData& rec = target.GetData(k);
        ref->AddTarget(rec.handle, rec.memo);
      }
    }
  }

  if (version == kFigureRecordVersion) {
    if (!ReadOptionalAtru(file, fig.contour) || !ReadOptionalAtru(file, fig.image)) return 0;
  }
  return 1;
}
