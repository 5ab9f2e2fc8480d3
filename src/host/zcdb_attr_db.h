// ZCdbAttrDB: the base class of an attribute database, a plug-in object that keeps data of its
// own for the records of one ZCdb.
//
// The host registers it under a name (ZCdb::RegisterAttrDB), owns it from then on and deletes it
// through the virtual destructor. While registered, the derived class reaches the owning ZCdb
// and its undo manager (null when the ZCdb has none). The host calls the virtual operations
// below as its records change (the order of calls is documented in zcdb.h) and when it reads and
// writes its files; their order is part of the interface between host and plug-in and never
// changes. The base bodies do nothing and return 1.
#pragma once

#include "platform/carray.h"
#include "platform/cfile.h"
#include "platform/cmap.h"
#include "platform/cstring.h"
#include "platform/visibility.h"

class ZCdb;
class ZCdbBuff;
class ZCdbRecBase;
class ZCdbUndo;

class SXF_HOST_API ZCdbAttrDB {
 public:
  explicit ZCdbAttrDB(const char* name);
  virtual ~ZCdbAttrDB();
  ZCdbAttrDB(const ZCdbAttrDB&) = delete;
  ZCdbAttrDB& operator=(const ZCdbAttrDB&) = delete;

  virtual int CanTmpClone() const;
  virtual int ClearData(int mode);
  // A record was added: srcHandle and srcDb name the record it was copied from (0xFFFFFFFF and
  // null for a new record).
  virtual int OnAddData(int mode, ZCdbRecBase* rec, DWORD srcHandle, ZCdb* srcDb);
  virtual int OnChangeData(int mode, ZCdbRecBase* rec);
  // The record was delete-marked (mark non-zero) or unmarked (mark 0).
  virtual int OnDelDataMark(int mode, ZCdb* db, ZCdbRecBase* rec, int mark);
  virtual int OnDelData(int mode, ZCdb* db, ZCdbRecBase* rec);
  virtual int OnCommit(int mode, ZCdb* db);
  virtual int OnVerify(int mode, ZCdb* db, CStringArray& messages, int flags);
  // Records got new objects: handle to the new object, null for a record that is gone.
  virtual int OnChangePtr(const CMap<DWORD, DWORD, ZCdbRecBase*, ZCdbRecBase*>& changes);
  virtual int OnChangeOrder(int mode, ZCdbRecBase* rec);
  virtual int OnChangeSelect(int mode, ZCdbRecBase* rec);
  virtual int OnUndoStart(ZCdb* db, int mode);
  virtual int OnUndoEnd(ZCdb* db, int mode);
  // Copy-buffer section.
  virtual int Read(CFile* file, ZCdbBuff* buff);
  // Drawing-file section.
  virtual int Read(int mode, CFile* file, ZCdb* db);
  virtual int AfterReadTmp(ZCdb* db);
  virtual int Write(CFile* file, ZCdbBuff* buff);
  virtual int Write(int mode, CFile* file, ZCdb* db);

  const CString& GetName() const { return name_; }
  // The ZCdb that registered this database, or null while it is not registered.
  ZCdb* GetZCdb() const { return m_pZCdb; }
  // That ZCdb's undo manager, or null.
  ZCdbUndo* GetUndo() const { return m_pUndo; }

 protected:
  ZCdb* m_pZCdb = nullptr;
  ZCdbUndo* m_pUndo = nullptr;

 private:
  friend class ZCdb;
  CString name_;
};

class CEnvironObj;

// The plug-in's entry function, exported under the plain name "ZCdbAttrDBEntry": creates a new
// attribute database for one drawing; the host registers and owns the result.
typedef ZCdbAttrDB* (*ZCdbAttrDBEntryFunc)(CEnvironObj* env);
