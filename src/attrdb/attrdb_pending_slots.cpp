// Host interface slots whose behaviour is not built yet. Each answers 1, as every notification
// does, and leaves the database unchanged.
#include "attrdb/attrdb.h"

int SxfZCdbAttrDB::OnAddData(int, ZCdbRecBase*, DWORD, ZCdb*) {
  return 1;  // not built yet: copying attributes to copied records, new contour records
}
int SxfZCdbAttrDB::OnChangeData(int, ZCdbRecBase*) {
  return 1;  // not built yet: title string check of a changed record
}
int SxfZCdbAttrDB::OnDelData(int, ZCdb*, ZCdbRecBase*) {
  return 1;  // not built yet: removal of a deleted record's entry
}
int SxfZCdbAttrDB::OnCommit(int, ZCdb*) {
  return 1;  // not built yet: removal of marked entries and the commit pass over all figures
}
int SxfZCdbAttrDB::OnChangePtr(const CMap<DWORD, DWORD, ZCdbRecBase*, ZCdbRecBase*>&) {
  return 1;  // not built yet: following records that get new objects
}
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
