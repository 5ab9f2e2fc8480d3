#include "host/archive_block.h"

#include "platform/exceptions.h"

CArchive* SaveArchiveBlockBegin(CArchive& ar) {
  ar.BeginInPlaceBlock();
  return &ar;
}

void SaveArchiveBlockEnd(CArchive& ar, CArchive* sub) {
  if (sub != &ar) throw CArchiveException(CArchiveException::genericException);
  ar.EndInPlaceBlock();
}

CArchive* LoadArchiveBlockBegin(CArchive& ar) {
  ar.EnterBlock();
  return &ar;
}

void LoadArchiveBlockEnd(CArchive& ar, CArchive* sub) {
  if (sub != &ar) throw CArchiveException(CArchiveException::genericException);
  ar.LeaveBlock();
}
