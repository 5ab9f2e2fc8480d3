// Entries of the readers of attribute-file records, groups, set references, set definitions and
// attribute values, old and new format. The first input byte picks the reader:
//
//   selector  old format (ReadOldAtrfGroup)        new format (ReadNewAtrfGroup)
//   0         SxfZCdbATRF::Read with a database    SxfZCdbATRF::NewRead
//   1         group Read, merge 0, fresh group     group NewRead, merge 0, fresh group
//   2         group Read, merge 1, into group A    group NewRead, merge 1, into group A
//   3         SxfZCdbAttrSetRef::ReadOld           SxfZCdbAttrSetRef::NewRead
//   4         SxfZCdbAttrSetDef::Read              SxfZCdbAttrSetDef::NewRead
//   5         ReadATRU                             NewReadATRU
//   6         ReadATRS                             NewReadATRS
//
// Besides the round trip of what reads, the entries hold the readers to these promises: a merge
// keeps the group's name and what it held before (also when the read fails); a failed ReadOld
// changes neither the reference nor the database, and a successful one names a definition of the
// database.
#include <cstdlib>
#include <memory>

#include "entries/entry_support.h"
#include "entries/reader_entries.h"
#include "model/atrf.h"
#include "model/atrs.h"
#include "model/atru.h"
#include "model/attr_grp.h"
#include "model/attr_set_def.h"
#include "model/attr_set_ref.h"
#include "model/value_records.h"

namespace {

constexpr unsigned kAtrfGroupReaders = 7;

bool SameAtrf(const SxfZCdbATRF& a, const SxfZCdbATRF& b) {
  return a.IsSame(b) == 1;
}
bool SameGroup(const SxfZCdbAttrGrp& a, const SxfZCdbAttrGrp& b) {
  return a.IsSame(b) == 1;
}
bool SameAtru(const SxfZCdbATRU& a, const SxfZCdbATRU& b) {
  return a.IsSame(b) == 1;
}
bool SameAtrs(const SxfZCdbATRS& a, const SxfZCdbATRS& b) {
  return a.IsSame(b) == 1;
}
// CString == compares every byte; Compare(const char*) would stop at a zero byte that an archive
// string may hold.
bool SameSetDef(const SxfZCdbAttrSetDef& a, const SxfZCdbAttrSetDef& b) {
  return a.name == b.name && a.version == b.version && a.designer == b.designer && a.id == b.id;
}

// The group a merge reads into: named A, holding one attribute.
SxfZCdbATRU MergeBaseAttr() {
  SxfZCdbATRU attr;
  attr.name = "width";
  attr.type = "LEN";
  attr.unit = "m";
  attr.value = "5.50";
  return attr;
}

void MakeMergeBase(SxfZCdbAttrGrp& group) {
  group.SetName("A");
  group.AddAttrData(MergeBaseAttr());
}

std::string MergeKeptBase(const SxfZCdbAttrGrp& group) {
  if (CString(group.GetName()).Compare("A") != 0) return "a merge changed the group's name";
  if (group.GetAttrCnt() < 1 || !group.GetAttrData(0)->IsSame(MergeBaseAttr())) {
    return "a merge lost what the group held";
  }
  return std::string();
}

}  // namespace

ReadResult ReadOldAtrfGroup(const uint8_t* data, size_t size) {
  SelectedInput in;
  if (!SelectReader(data, size, kAtrfGroupReaders, in)) return Outcome(ReadOutcome::kRejected);
  EntryDatabase db;
  InputFile file(in.data, in.size);
  const auto groupRead = [](CFile* f, SxfZCdbAttrGrp& g) { return g.Read(f, 0); };
  const auto groupWrite = [](CFile* f, SxfZCdbAttrGrp& g) { return g.Write(f); };

  switch (in.selector) {
    case 0: {
      SxfZCdbATRF atrf;
      int ok;
      {
        MeteredRun metered(size);
        ok = atrf.Read(file.get(), db.get());
      }
      if (!ok) return Outcome(ReadOutcome::kRejected);
      return ReadWithPromises(CheckOldRoundTrip(
          atrf, [](CFile* f, SxfZCdbATRF& copy) { return copy.Read(f, EntryDatabase().get()); },
          [](CFile* f, SxfZCdbATRF& value) { return value.Write(f); }, SameAtrf));
    }
    case 1:
    case 2: {
      const bool merge = in.selector == 2;
      SxfZCdbAttrGrp group;
      if (merge) MakeMergeBase(group);
      int ok;
      {
        MeteredRun metered(size);
        ok = group.Read(file.get(), merge ? 1 : 0);
      }
      if (merge) {
        std::string kept = MergeKeptBase(group);
        if (!kept.empty()) return Problem(ok ? ReadOutcome::kRead : ReadOutcome::kRejected, kept);
      }
      if (!ok) return Outcome(ReadOutcome::kRejected);
      return ReadWithPromises(CheckOldRoundTrip(group, groupRead, groupWrite, SameGroup));
    }
    case 3: {
      SxfZCdbAttrSetRef ref;
      const int defsBefore = db.get()->GetAttrSetDefCnt(nullptr);
      int ok;
      {
        MeteredRun metered(size);
        ok = ref.ReadOld(file.get(), db.get());
      }
      if (!ok) {
        if (db.get()->GetAttrSetDefCnt(nullptr) != defsBefore) {
          return Problem(ReadOutcome::kRejected, "a failed set record changed the database");
        }
        if (*ref.GetRefId() || ref.GetAttrCnt() || ref.GetAttrGrpCnt()) {
          return Problem(ReadOutcome::kRejected, "a failed set record changed the reference");
        }
        return Outcome(ReadOutcome::kRejected);
      }
      const SxfZCdbAttrSetDef* def =
          db.get()->FindAttrSetDefData(static_cast<unsigned int>(std::atol(ref.GetRefId())));
      if (!def || CString(def->GetId()).Compare(ref.GetRefId()) != 0 || !ref.IsAttrSetRef()) {
        return Problem(ReadOutcome::kRead, "a set record read into a reference that names no definition");
      }
      return ReadWithPromises(CheckOldRoundTrip(
          ref, [](CFile* f, SxfZCdbAttrSetRef& copy) { return copy.Read(f, 0); },
          [](CFile* f, SxfZCdbAttrSetRef& value) { return value.Write(f); }, SameGroup));
    }
    case 4: {
      SxfZCdbAttrSetDef def;
      int ok;
      {
        MeteredRun metered(size);
        ok = def.Read(file.get());
      }
      if (!ok) return Outcome(ReadOutcome::kRejected);
      return ReadWithPromises(CheckOldRoundTrip(
          def, [](CFile* f, SxfZCdbAttrSetDef& copy) { return copy.Read(f); },
          [](CFile* f, SxfZCdbAttrSetDef& value) { return value.Write(f); }, SameSetDef));
    }
    case 5: {
      std::unique_ptr<SxfZCdbATRU> atru;
      {
        MeteredRun metered(size);
        atru.reset(ReadATRU(file.get()));
      }
      if (!atru) return Outcome(ReadOutcome::kRejected);
      return ReadWithPromises(CheckOldRoundTrip(
          *atru,
          [](CFile* f, SxfZCdbATRU& copy) {
            std::unique_ptr<SxfZCdbATRU> back(ReadATRU(f));
            if (back) copy = *back;
            return back ? 1 : 0;
          },
          [](CFile* f, SxfZCdbATRU& value) { return WriteATRU(f, value); }, SameAtru));
    }
    default: {
      SxfZCdbATRS atrs;
      int ok;
      {
        MeteredRun metered(size);
        ok = ReadATRS(file.get(), atrs);
      }
      if (!ok) return Outcome(ReadOutcome::kRejected);
      return ReadWithPromises(CheckOldRoundTrip(
          atrs, [](CFile* f, SxfZCdbATRS& copy) { return ReadATRS(f, copy); },
          [](CFile* f, SxfZCdbATRS& value) { return WriteATRS(f, value); }, SameAtrs));
    }
  }
}

ReadResult ReadNewAtrfGroup(const uint8_t* data, size_t size) {
  SelectedInput in;
  if (!SelectReader(data, size, kAtrfGroupReaders, in)) return Outcome(ReadOutcome::kRejected);
  EntryDatabase db;
  const auto groupRead = [](CArchive& ar, SxfZCdbAttrGrp& g) { return g.NewRead(ar, 0); };
  const auto groupWrite = [](CArchive& ar, SxfZCdbAttrGrp& g) { return g.NewWrite(ar); };
  // Reads the input with reader under the meter; the round trip follows only a clean read.
  const auto read = [&](auto&& reader) {
    MeteredRun metered(size);
    return ReadArchive(in.data, in.size, reader);
  };
  const auto done = [](const ReadResult& r) { return r.outcome != ReadOutcome::kRead || !r.problem.empty(); };

  switch (in.selector) {
    case 0: {
      SxfZCdbATRF atrf;
      ReadResult r = read([&](CArchive& ar) { return atrf.NewRead(ar, db.get()); });
      if (done(r)) return r;
      return ReadWithPromises(CheckNewRoundTrip(
          atrf, [](CArchive& ar, SxfZCdbATRF& copy) { return copy.NewRead(ar, EntryDatabase().get()); },
          [](CArchive& ar, SxfZCdbATRF& value) { return value.NewWrite(ar); }, SameAtrf));
    }
    case 1:
    case 2: {
      const bool merge = in.selector == 2;
      SxfZCdbAttrGrp group;
      if (merge) MakeMergeBase(group);
      ReadResult r = read([&](CArchive& ar) { return group.NewRead(ar, merge ? 1 : 0); });
      if (merge && r.problem.empty()) r.problem = MergeKeptBase(group);
      if (done(r)) return r;
      return ReadWithPromises(CheckNewRoundTrip(group, groupRead, groupWrite, SameGroup));
    }
    case 3: {
      SxfZCdbAttrSetRef ref;
      ReadResult r = read([&](CArchive& ar) { return ref.NewRead(ar, 0); });
      if (done(r)) return r;
      if (!ref.IsAttrSetRef())
        return Problem(ReadOutcome::kRead, "a reference read is no longer a reference");
      return ReadWithPromises(CheckNewRoundTrip(
          ref, [](CArchive& ar, SxfZCdbAttrSetRef& copy) { return copy.NewRead(ar, 0); },
          [](CArchive& ar, SxfZCdbAttrSetRef& value) { return value.NewWrite(ar); }, SameGroup));
    }
    case 4: {
      SxfZCdbAttrSetDef def;
      ReadResult r = read([&](CArchive& ar) { return def.NewRead(ar); });
      if (done(r)) return r;
      return ReadWithPromises(CheckNewRoundTrip(
          def, [](CArchive& ar, SxfZCdbAttrSetDef& copy) { return copy.NewRead(ar); },
          [](CArchive& ar, SxfZCdbAttrSetDef& value) { return value.NewWrite(ar); }, SameSetDef));
    }
    case 5: {
      std::unique_ptr<SxfZCdbATRU> atru;
      ReadResult r = read([&](CArchive& ar) {
        atru.reset(NewReadATRU(ar));
        return atru ? 1 : 0;
      });
      if (done(r)) return r;
      return ReadWithPromises(CheckNewRoundTrip(
          *atru,
          [](CArchive& ar, SxfZCdbATRU& copy) {
            std::unique_ptr<SxfZCdbATRU> back(NewReadATRU(ar));
            if (back) copy = *back;
            return back ? 1 : 0;
          },
          [](CArchive& ar, SxfZCdbATRU& value) { return NewWriteATRU(ar, value); }, SameAtru));
    }
    default: {
      SxfZCdbATRS atrs;
      ReadResult r = read([&](CArchive& ar) { return NewReadATRS(ar, atrs); });
      if (done(r)) return r;
      return ReadWithPromises(CheckNewRoundTrip(
          atrs, [](CArchive& ar, SxfZCdbATRS& copy) { return NewReadATRS(ar, copy); },
          [](CArchive& ar, SxfZCdbATRS& value) { return NewWriteATRS(ar, value); }, SameAtrs));
    }
  }
}
