#include "host/zcdb_attr_db.h"

ZCdbAttrDB::ZCdbAttrDB(const char* name) : name_(name) {}

ZCdbAttrDB::~ZCdbAttrDB() = default;

int ZCdbAttrDB::CanTmpClone() const {
  return 1;
}
int ZCdbAttrDB::ClearData(int) {
  return 1;
}
int ZCdbAttrDB::OnAddData(int, ZCdbRecBase*, DWORD, ZCdb*) {
  return 1;
}
int ZCdbAttrDB::OnChangeData(int, ZCdbRecBase*) {
  return 1;
}
int ZCdbAttrDB::OnDelDataMark(int, ZCdb*, ZCdbRecBase*, int) {
  return 1;
}
int ZCdbAttrDB::OnDelData(int, ZCdb*, ZCdbRecBase*) {
  return 1;
}
int ZCdbAttrDB::OnCommit(int, ZCdb*) {
  return 1;
}
int ZCdbAttrDB::OnVerify(int, ZCdb*, CStringArray&, int) {
  return 1;
}
int ZCdbAttrDB::OnChangePtr(const CMap<DWORD, DWORD, ZCdbRecBase*, ZCdbRecBase*>&) {
  return 1;
}
int ZCdbAttrDB::OnChangeOrder(int, ZCdbRecBase*) {
  return 1;
}
int ZCdbAttrDB::OnChangeSelect(int, ZCdbRecBase*) {
  return 1;
}
int ZCdbAttrDB::OnUndoStart(ZCdb*, int) {
  return 1;
}
int ZCdbAttrDB::OnUndoEnd(ZCdb*, int) {
  return 1;
}
int ZCdbAttrDB::Read(CFile*, ZCdbBuff*) {
  return 1;
}
int ZCdbAttrDB::Read(int, CFile*, ZCdb*) {
  return 1;
}
int ZCdbAttrDB::AfterReadTmp(ZCdb*) {
  return 1;
}
int ZCdbAttrDB::Write(CFile*, ZCdbBuff*) {
  return 1;
}
int ZCdbAttrDB::Write(int, CFile*, ZCdb*) {
  return 1;
}
