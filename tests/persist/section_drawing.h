// Drawings for the section tests: a host drawing whose "SXF" database exposes the protected
// section members, records loaded under chosen handles (as a host loads its own records before
// the attribute section), figure builders and a message-box capture.
#pragma once

#include <string>
#include <vector>

#include "attrdb/attrdb.h"
#include "host/host.h"
#include "model/attr_set_ref.h"
#include "model/figure.h"
#include "model/new_format.h"
#include "platform/platform.h"
#include "support/test_figures.h"

class SectionDB : public SxfZCdbAttrDB {
 public:
  using SxfZCdbAttrDB::_GetRecFigure;
  using SxfZCdbAttrDB::SxfZCdbAttrDB;
  using SxfZCdbAttrDB::WriteAttr;
};

struct HostDrawing {
  CEnvironObj env{"/data"};
  ZCdb db;
  SectionDB* adb;

  HostDrawing() : adb(new SectionDB(env)) { db.RegisterAttrDB("SXF", adb); }

  // Loads rec (a plain record by default) under handle, without notifying.
  template <class Rec = ZCdbTbl>
  Rec* Load(DWORD handle, ZCdbTblBase* parent = nullptr, Rec* rec = new Rec) {
    if (db.LoadRecord(rec, handle, parent) == 0) {
      delete rec;
      return nullptr;
    }
    return rec;
  }
  // The stored figure of handle (not a copy), or null.
  SxfZCdbFigure* Stored(DWORD handle) {
    ZCDB_SXFATTR_MAP* entry = nullptr;
    return adb->_GetRecFigure(handle, entry, 0);
  }
  // 1 when handle has a figure that is bound to a live record.
  int Bound(DWORD handle) {
    SxfZCdbFigure out;
    return adb->GetRecFigure(handle, out);
  }
};

inline std::string Bytes(const CMemFile& file) {
  return std::string(reinterpret_cast<const char*>(file.Data()), static_cast<size_t>(file.GetLength()));
}
inline void Put(CMemFile& file, const std::string& bytes) {
  file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
}

// The record handles of the attribute entries of a tagged section body, in file order.
inline std::vector<DWORD> EntryHandles(CFile& file) {
  std::vector<DWORD> handles;
  CArchive ar(&file, CArchive::load);
  new_format::ReadRecord(ar, [&](LONG tag, CArchive& block) {
    if (tag != 102) return 1;
    return new_format::ReadRecord(block, [&](LONG inner, CArchive& field) {
      if (inner == 1) {
        DWORD handle = 0;
        field >> handle;
        handles.push_back(handle);
      }
      return 1;
    });
  });
  return handles;
}

// Captures what the plug-in shows to the user while it lives.
struct MessageCapture {
  struct Box {
    std::string text;
    UINT type, helpId;
  };
  static std::vector<Box>& Shown() {
    static std::vector<Box> shown;
    return shown;
  }
  AfxMessageBoxHandler previous =
      SetAfxMessageBoxHandler([](const char* text, UINT type, UINT helpId) -> int {
        Shown().push_back({text, type, helpId});
        return IDOK;
      });
  MessageCapture() { Shown().clear(); }
  ~MessageCapture() { SetAfxMessageBoxHandler(previous); }
};
