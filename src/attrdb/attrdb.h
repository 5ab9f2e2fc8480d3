// SxfZCdbAttrDB: the "SXF" attribute database of one drawing.
//
// The host creates one per drawing (ZCdbAttrDBEntry), registers it under "SXF" and deletes it
// through the virtual destructor. The database owns, per record handle, one ZCDB_SXFATTR_MAP
// entry and through it the record's SxfZCdbFigure; it also owns its set definitions, which are
// only delete-marked while it lives. Host records are held by pointer and never owned.
//
// What a caller may rely on:
// - SetRecFigure / SXF_SetRecFigure store a copy; the caller keeps its figure.
// - GetRecFigure copies out a figure that has passed CommitData: it never references a record
//   that is delete-marked, has no entry or is no longer counted as a target. The stored figure
//   keeps such references until the next commit.
// - Entries with the delete mark or the parked bit are invisible to GetRecFigure.
// - The targeted count of a handle saturates at 0xFFFF and then stays there (it never spills
//   into the mark bits, and a handle that many figures reference stays a live target).
// - While the host's undo manager records a step, every change that displaces a figure or a
//   record pointer hands an SxfUndoRec to the step; the displaced object lives in it until the
//   host releases the item (SxfUndoFunc, mode 3). Outside a step displaced figures are freed at
//   once.
//
// Cost: every lookup by handle is O(1) expected at any map size; passes over all entries
// (IsUseAttrSetDef, RemoveAttrSetDef with force, Clear) are linear in the entry count.
#pragma once

#include "host/zcdb_attr_db.h"
#include "host/zcdb_undo.h"
#include "platform/platform.h"
#include "platform/visibility.h"
#include "title/title_id.h"
#include "title/title_info.h"

class CDWordArrayX;
class CEnvironObj;
class CSxfAttrList;
class SxfZCdbFigure;
class SxfZCdbATRS;
class SxfZCdbAttrSetDef;
class TitleRecMap;
class SetDefNameIndex;
struct NewFileAttrData;

// The entry of one record handle in the handle map.
struct ZCDB_SXFATTR_MAP {
  // Bits 0-15: targeted count (see SxfZCdbAttrDB::kTargetedMask); bit 16: delete mark;
  // bit 17: parked by undo or redo. Other bits are 0.
  DWORD flags;
  ZCdbRecBase* rec;       // the host record of this handle, or null; not owned
  SxfZCdbFigure* figure;  // the record's attributes, or null; owned by the entry
};

class SXF_API SxfZCdbAttrDB : public ZCdbAttrDB {
 public:
  // What an undo record changed. The values travel with the host's undo steps.
  enum SXF_UNDO_CODE {
    SXF_UNDO_ADD = 1,     // an entry was created; data holds the figure while undone
    SXF_UNDO_DEL = 2,     // a figure was deleted; data holds it while the deletion stands
    SXF_UNDO_CHANGE = 3,  // a figure was replaced; data holds the one not in the entry
    SXF_UNDO_TITLE = 4,   // the title info changed; data holds the state not in force
    SXF_UNDO_RECPTR = 5,  // an entry got a new record object; data holds the other (not owned)
  };

  // Entry flag bits.
  static constexpr DWORD kTargetedMask = 0xFFFF;
  static constexpr DWORD kDeleteMark = 0x10000;
  static constexpr DWORD kParked = 0x20000;
  static constexpr DWORD kPending = kDeleteMark | kParked;

  explicit SxfZCdbAttrDB(const CEnvironObj& env);
  ~SxfZCdbAttrDB() override;
  SxfZCdbAttrDB(const SxfZCdbAttrDB&) = delete;
  SxfZCdbAttrDB& operator=(const SxfZCdbAttrDB&) = delete;

  // ---- host interface (virtual, in the base class's slot order) ----
  int CanTmpClone() const override;
  int ClearData(int mode) override;
  int OnAddData(int mode, ZCdbRecBase* rec, DWORD srcHandle, ZCdb* srcDb) override;
  int OnChangeData(int mode, ZCdbRecBase* rec) override;
  int OnDelDataMark(int mode, ZCdb* db, ZCdbRecBase* rec, int mark) override;
  int OnDelData(int mode, ZCdb* db, ZCdbRecBase* rec) override;
  int OnCommit(int mode, ZCdb* db) override;
  int OnVerify(int mode, ZCdb* db, CStringArray& messages, int) override;
  int OnChangePtr(const CMap<DWORD, DWORD, ZCdbRecBase*, ZCdbRecBase*>& changes) override;
  int OnChangeOrder(int, ZCdbRecBase*) override;
  int OnChangeSelect(int, ZCdbRecBase*) override;
  int OnUndoStart(ZCdb*, int) override;
  int OnUndoEnd(ZCdb*, int) override;
  int Read(CFile* file, ZCdbBuff* buff) override;
  int Read(int mode, CFile* file, ZCdb* db) override;
  int AfterReadTmp(ZCdb* db) override;
  int Write(CFile* file, ZCdbBuff* buff) override;
  int Write(int mode, CFile* file, ZCdb* db) override;

  int WriteText() const;

  void SetFileVersion(const char* version);
  CString GetFileVersion() const;
  const CSxfAttrList* AttrList() const;

  // ---- record attachment ----
  // Attaches a copy of fig (with its targets) to rec. Returns rec's handle, or 0xFFFFFFFF when
  // rec has no handle.
  DWORD SetRecFigure(ZCdbRecBase* rec, const SxfZCdbFigure& fig);
  // Copies the figure of handle into out after the consistency pass; 0 when the handle has no
  // visible figure (out unchanged) or when its record is gone (out filled, result 0).
  int GetRecFigure(DWORD handle, SxfZCdbFigure& out);
  // Removes the figure of handle; the entry, its record and its targeted count stay. Always 1.
  int DelRecFigure(DWORD handle);
  // The host record of a handle with an entry, found in the record tree when not yet bound.
  ZCdbRecBase* GetZCdbRec(DWORD handle);

  // ---- target reference index ----
  int IsTarget(DWORD handle) const;
  int TargetedCnt(DWORD handle) const;
  int IsTargetOnly(DWORD handle) const;

  // ---- attribute set definition registry ----
  int GetAttrSetDefCnt(CDWordArrayX* ids) const;
  SxfZCdbAttrSetDef* GetDefAttrSetDefData();
  SxfZCdbAttrSetDef* FindAttrSetDefData(unsigned int id) const;
  SxfZCdbAttrSetDef* FindAttrSetDefData(const char* name, const char* version, const char* designer) const;
  SxfZCdbAttrSetDef* AddAttrSetDefData(const char* name, const char* version, const char* designer,
                                       int returnExisting);
  SxfZCdbAttrSetDef* AddAttrSetDefData(const SxfZCdbAttrSetDef& def);
  int IsUseAttrSetDef(unsigned int id);
  int RemoveAttrSetDef(unsigned int id, int force);
  int ReActiveAttrSetDef(unsigned int id);

  // While a scope lives, searches by name (FindAttrSetDefData, and the adding operations, which
  // search first) use an index instead of walking the registry, so adding n definitions costs
  // O(n) rather than O(n^2); the answers are the same. The caller promises not to change the
  // name, version or designer of a registered definition meanwhile: the index would not see it.
  // The section readers hold one for the whole read; a host adding many definitions at once may
  // too. Scopes do not nest: an inner one ends the outer one's index, and searches walk again.
  class SXF_API SetDefIndexScope {
   public:
    explicit SetDefIndexScope(SxfZCdbAttrDB& db);
    ~SetDefIndexScope();
    SetDefIndexScope(const SetDefIndexScope&) = delete;
    SetDefIndexScope& operator=(const SetDefIndexScope&) = delete;

   private:
    SxfZCdbAttrDB& db_;
  };

  // Defaults of the set definition made by GetDefAttrSetDefData, shared by every database of the
  // process: "Default", "1.0", "Default" until changed.
  static const char* GetDefAttrSetName();
  static const char* GetDefAttrVersion();
  static const char* GetDefAttrDesigned();
  static void SetDefAttrSetName(const char* name);
  static void SetDefAttrVersion(const char* version);
  static void SetDefAttrDesigned(const char* designer);

  // ---- undo and redo (called back through SxfUndoFunc) ----
  void OnUndo(SXF_UNDO_CODE code, ZCdbRecBase* rec, SxfZCdbFigure** slot);
  void OnRedo(SXF_UNDO_CODE code, ZCdbRecBase* rec, SxfZCdbFigure** slot);
  void OnUndoInf(SxfTitleInfo& info);
  void OnRedoInf(SxfTitleInfo& info);
  void OnUndoChgRec(ZCdbRecBase* rec, ZCdbRecBase** slot);
  void OnRedoChgRec(ZCdbRecBase* rec, ZCdbRecBase** slot);
  // Removes a delete-marked entry with its figure; 1 when it did, else 0.
  int RemoveUndoRec(DWORD handle);

  // ---- image and contour attributes of host records ----
  int SetImageElm(const char* name, ZCdbRecBase* rec);
  int GetImageName(DWORD handle, CString& zukeiName, CString& value);
  int SetContour(const char* zukeiName, const char* value, const char* unit, ZCdbRecBase* rec);
  int GetContour(DWORD handle, CString& zukeiName, CString& value, CString& unit);
  int SetContourElm(const char* zukeiName, const char* value, ZCdbRecBase* rec);
  int GetContourElm(DWORD handle, CString& zukeiName, CString& value);

  // ---- title elements and title info ----
  // Reads the title block from the drawing's title elements into the stored title info and
  // copies it into info; with recs, also lists each item's elements in line order. Returns 1.
  int GetTitleInfo(SxfTitleInfo& info, TitleRecMap* recs);
  // Makes info the stored title info (undoable) and, with recs, exactly those records the title
  // elements, numbered by position. Returns 1.
  int SetTitleInfo(const SxfTitleInfo& info, TitleRecMap* recs);
  // Keeps only the string elements of recs, sorted by descending y of their first point.
  static void SetTitleOrder(CArray<ZCdbRecBase*, ZCdbRecBase*>& recs);
  // 1 when rec is an element record whose figure is a title attribute stub.
  int IsTitleElm(ZCdbRecBase* rec) const;

  // ---- host change notifications ----
  // 1 when fig's attributes are worth copying to a copy of its record.
  static int ShouldAttrCopy(SxfZCdbFigure* fig);

  // ---- copying with targets ----
  void BeginCopyWithTarget(SxfZCdbAttrDB* src);
  void EndCopyWithTarget();

  // ---- drawing-file and copy-buffer sections ----
  // Drops attribute-file figures that hold no set reference after SXF data was read.
  void OnSxfReadEnd();
  // Reads the copy-buffer section in its old handle-prefixed form (handle, old figure record,
  // ..., 0xFFFFFFFF), replacing the database's content, and binds it to buff's records.
  int ReadOldBuff(CFile* file, ZCdbBuff* buff);

  // ---- read-only view of what is stored (for tools that show a section as it was read) ----
  // Walks the handle map in map order: GetFirstEntry starts (null for an empty map),
  // GetNextEntry gives an entry's handle and stored figure (null for an entry without one) and
  // moves pos on (null after the last). Nothing is committed, bound or refreshed on the way.
  POSITION GetFirstEntry() const;
  void GetNextEntry(POSITION& pos, DWORD& handle, const SxfZCdbFigure*& fig) const;
  // The stored title info as it stands; unlike GetTitleInfo it reads no title element.
  const SxfTitleInfo& GetStoredTitleInfo() const;

  // ---- title items (defined in title/) ----
  static int GetTitleIdNum();
  static int TitleIdToIndex(SXF_TTL_ID id);
  static SXF_TTL_ID GetTitleId(int index);
  static CString GetTitleIdName(int index);
  static SXF_TTL_ID SrchTitleId(const char* name);

  // ---- special attributes (defined in special/) ----
  static int IsDefAttrAndStrType(const char* name);

 protected:
  // The section reads (persist/section_read.cpp) fill the maps and the title info directly.
  friend class SectionReader;

  // Deletes every set definition, every entry and its figure. Title info, file version,
  // attribute list and copy state stay.
  void Clear();
  // The stub of an entry that counts as a title element now: bound to a record that is still in
  // the drawing, hidden neither by a delete mark nor by undo, and holding a figure of type 3.
  // Null otherwise. (Whether the stub names a title item is SrchTitleId's to say.)
  static SxfZCdbATRS* LiveTitleStub(const ZCDB_SXFATTR_MAP* entry);
  // Attaches a copy of fig to rec; returns the stored copy, or null when rec has no handle.
  // withTargets 0 drops the copy's target references.
  SxfZCdbFigure* _SetRecFigure(ZCdbRecBase* rec, const SxfZCdbFigure& fig, int withTargets);
  // The stored figure of handle (not a copy) and its entry; null when there is none, or when
  // skipPending is set and the entry is delete-marked or parked.
  SxfZCdbFigure* _GetRecFigure(DWORD handle, ZCDB_SXFATTR_MAP*& entry, int skipPending);
  // Consistency pass on fig, which belongs to rec: refreshes a contour value from the record's
  // elevation and drops references to handles that are no longer live targets. 0 when rec is
  // null or removed.
  int CommitData(ZCdbRecBase* rec, SxfZCdbFigure& fig);

  int AppendTargetEntry(SxfZCdbFigure* fig);
  // AppendTargetEntry of each of count figures in turn, a run of kTargetPrefetchRun at a time with
  // the run's targets brought in first (PrefetchTargets).
  void AppendTargetEntries(SxfZCdbFigure* const* figures, size_t count);
  int RemoveTargetEntry(SxfZCdbFigure* fig);
  // Brings the handle-map entries that the targets of figures (null ones skipped) name toward the
  // cache, all at once, so that counting or checking those targets right after does not wait
  // for the memory one lookup at a time. A hint: nothing changes. Callers pass a few dozen figures
  // at a time (kTargetPrefetchRun).
  void PrefetchTargets(SxfZCdbFigure* const* figures, size_t count) const;
  static constexpr size_t kTargetPrefetchRun = 64;
  int _TargetIsOk(DWORD handle);

  // ---- title elements (title/) ----
  void SubMap(TitleRecMap& current, TitleRecMap& wanted);
  int RecalcTitleIndex(TitleRecMap& recs);
  void ReActivateTitleElm(ZCdbRecBase* rec);
  void CheckTitleString(ZCdbRecBase* rec);

  // ---- drawing-file and copy-buffer sections (persist/) ----
  int NewRead(int mode, CFile* file, ZCdb* db, DWORD version);
  int NewWrite(int mode, CFile* file, ZCdb* db);
  int NewReadAttr(CArchive& ar, NewFileAttrData& data);
  int NewWriteAttr(CArchive& ar, NewFileAttrData& data);
  int WriteAttr(CFile* file, ZCdbRecBase* rec, int chained, int mode);
  int BindHandle(ZCdbRecBase* rec);
  int BindZCDb(ZCdb* db);
  int BindZCdbBuff(ZCdbBuff* buff);

  // Handle map: record handle -> entry (773 buckets). Owns the entries and their figures.
  CMap<DWORD, DWORD, ZCDB_SXFATTR_MAP*, ZCDB_SXFATTR_MAP*> m_attrMap;
  SxfTitleInfo m_titleInfo;
  int m_titleIndexStale;
  CSxfAttrList* m_attrList;  // owned
  CString m_fileVersion;
  // Set definition id -> definition (7 buckets). Owns the definitions.
  CMap<unsigned int, unsigned int, SxfZCdbAttrSetDef*, SxfZCdbAttrSetDef*> m_setDefMap;
  // Source handle -> new handle while a copy with targets runs; null otherwise. Owned.
  CMap<DWORD, DWORD, DWORD, DWORD>* m_copyMap;
  DWORD m_copyFirstHandle;
  DWORD m_copyLastHandle;
  SxfZCdbAttrDB* m_copySource;   // not owned
  const CEnvironObj* m_environ;  // not owned

 private:
  // True while the host's undo manager records a step.
  bool IsUndoRecording() const;
  // Hands a new undo record {code, this, data} for rec to the step being recorded.
  void RegisterUndo(SXF_UNDO_CODE code, ZCdbRecBase* rec, void* data);
  // Brings the title line names up to date before a title element's figure is handed out.
  void RefreshTitleIndexFor(ZCdbRecBase* rec);
  ZCDB_SXFATTR_MAP* FindEntry(DWORD handle) const;
  // Gives the copy rec the attributes of record srcHandle of source (and rebuilds the attribute
  // parent blocks above it in rec's drawing).
  void CopyAttributesOf(ZCdbRecBase* rec, DWORD srcHandle, ZCdb* sourceDb, SxfZCdbAttrDB* source);
  // Deletes the entry of handle with its figure and takes the handle out of the map.
  void RemoveEntry(DWORD handle, ZCDB_SXFATTR_MAP* entry);
  // Undo and redo of an addition or a deletion: the figure of *slot moves into the entry, or the
  // entry's figure moves into *slot. What the move replaces is uncounted (when it counted) and
  // deleted.
  void MoveIntoEntry(ZCDB_SXFATTR_MAP* entry, SxfZCdbFigure** slot);
  void MoveOutOfEntry(ZCDB_SXFATTR_MAP* entry, SxfZCdbFigure** slot);

  // The definitions by name while a SetDefIndexScope lives, null otherwise. Owned by the scope.
  SetDefNameIndex* m_setDefIndex = nullptr;

  // No set definition id below this is free. Definitions are only ever added (Clear empties the
  // registry and resets it to 1), so the lowest free id only grows and each search for it starts
  // here instead of at 1.
  unsigned int m_setDefFreeFrom = 1;
};

// An undo item handed to the host's undo step. Allocated by the registering operation, freed by
// SxfUndoFunc when the host releases the item. It owns data for codes 1 to 4; for code 5 data
// is a host record and is never deleted.
struct SxfUndoRec {
  SxfZCdbAttrDB::SXF_UNDO_CODE code;
  SxfZCdbAttrDB* database;
  union {
    SxfZCdbFigure* figure;  // codes 1, 2, 3
    SxfTitleInfo* title;    // code 4
    ZCdbRecBase* rec;       // code 5
    void* ptr;
  } data;
};

// The "SXF" attribute database of db (looked up as db->GetAttrDB("SXF")), or null when db is
// null, has none, or holds a database of another kind under that name.
SXF_API SxfZCdbAttrDB* SXF_GetAttrDB(ZCdb* db);

// The callback of every undo item of the database: mode 1 undo, 2 redo, 3 release.
SXF_EXTERN_C void SxfUndoFunc(UNDOFUNC_MODE mode, ZCdbRecBase* rec, void* data);
