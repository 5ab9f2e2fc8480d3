#include "attrdb/attrdb.h"

// Host change notifications. Not built yet: each answers 1 and leaves the database unchanged.
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
