// New-format figure record.
//
//   figure record := tag 1 { string name, byte type }
//                    [tag 100 { ATRF record }] [tag 101 { ATRU record }] [tag 102 { ATRS record }]
//                    [tag 103 { ATRU record of the contour }] [tag 104 { ATRU record of the image }]
//                    int32 0
//
// The writer stores the type byte StoredType gives and the attribute block of that type. The
// reader takes the type byte as read and each block by its tag, without
// comparing the two: the figure's attribute holder knows the class it got either way.
#include "model/figure.h"
#include "model/new_format.h"
#include "model/record_tags.h"
#include "model/value_records.h"

using namespace new_format;

int SxfZCdbFigure::NewWrite(CArchive& ar) {
  const BYTE type = StoredType();
  WriteBlock(ar, kTagFields, [&](CArchive& block) { block << name << type; });
  int ok = 1;
  switch (type) {
    case SXF_ATTR_ATRF:
      ok = WriteBlock(ar, kTagFigureAtrf, [&](CArchive& block) { return attr.ATRF()->NewWrite(block); });
      break;
    case SXF_ATTR_ATRU:
      ok = WriteBlock(ar, kTagFigureAtru, [&](CArchive& block) { return NewWriteATRU(block, *attr.ATRU()); });
      break;
    case SXF_ATTR_ATRS:
      ok = WriteBlock(ar, kTagFigureAtrs, [&](CArchive& block) { return NewWriteATRS(block, *attr.ATRS()); });
      break;
    default:
      break;
  }
  if (!ok) return 0;
  if (contour &&
      !WriteBlock(ar, kTagFigureContour, [&](CArchive& block) { return NewWriteATRU(block, *contour); })) {
    return 0;
  }
  if (image &&
      !WriteBlock(ar, kTagFigureImage, [&](CArchive& block) { return NewWriteATRU(block, *image); })) {
    return 0;
  }
  WriteEnd(ar);
  return 1;
}

int SxfZCdbFigure::NewRead(CArchive& ar, SxfZCdbAttrDB* db) {
  return ReadRecord(ar, [&](LONG tag, CArchive& block) {
    switch (tag) {
      case kTagFields:
        ReadFields(block, [&](CArchive& in) { in >> name >> attrType; });
        return 1;
      case kTagFigureAtrf: {
        SxfZCdbATRF* atrf = NewFromSlab<SxfZCdbATRF>(block.Slabs());
        attr.Reset(atrf);
        return atrf->NewRead(block, db);
      }
      case kTagFigureAtru: {
        SxfZCdbATRU* atru = NewReadATRU(block);
        attr.Reset(atru);
        return atru ? 1 : 0;
      }
      case kTagFigureAtrs: {
        SxfZCdbATRS* stub = NewFromSlab<SxfZCdbATRS>(block.Slabs());
        attr.Reset(stub);
        return NewReadATRS(block, *stub);
      }
      case kTagFigureContour:
      case kTagFigureImage: {
        SxfZCdbATRU*& slot = tag == kTagFigureContour ? contour : image;
        SxfZCdbATRU* atru = NewReadATRU(block);
        delete slot;
        slot = atru;
        return atru ? 1 : 0;
      }
      default:
        return 1;
    }
  });
}
