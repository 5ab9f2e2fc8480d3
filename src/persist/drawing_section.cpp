#include "attrdb/attrdb.h"

// Drawing-file and copy-buffer sections. Not built yet: each answers 1 and reads or writes nothing.
int SxfZCdbAttrDB::Read(CFile*, ZCdbBuff*) {
  return 1;  // not built yet: copy-buffer section reader
}
int SxfZCdbAttrDB::Read(int, CFile*, ZCdb*) {
  return 1;  // not built yet: drawing-file section reader
}
int SxfZCdbAttrDB::AfterReadTmp(ZCdb*) {
  return 1;  // not built yet: binding after a temporary read
}
int SxfZCdbAttrDB::Write(CFile*, ZCdbBuff*) {
  return 1;  // not built yet: copy-buffer section writer
}
int SxfZCdbAttrDB::Write(int, CFile*, ZCdb*) {
  return 1;  // not built yet: drawing-file section writer
}
