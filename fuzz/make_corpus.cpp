// make_corpus DIR: writes the seed corpora of the fuzz targets into DIR/<target>/.
//
// Seeds come from the plug-in's own writers, so they follow the records as the writers make
// them; the old versions that no writer produces any more (figure versions 0 and 1, attribute
// set records, legacy typed values, group version 1) are put together from the old-format
// primitives. Targets that cover several readers get one byte in front that picks the reader
// (see the entries under fuzz/entries). The committed samples are seeds of the section targets as
// they stand.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "entries/entry_drawing.h"
#include "host/dword_array_x.h"
#include "model/atrf.h"
#include "model/attr_set_def.h"
#include "model/attr_set_ref.h"
#include "model/figure.h"
#include "model/japanese_texts.h"
#include "model/old_format.h"
#include "model/target.h"
#include "model/value_records.h"
#include "persist/old_section_writer.h"
#include "persist/section_format.h"
#include "platform/platform.h"
#if defined(SXF_CORPUS_JSON)
#include <sstream>

#include "json_document.h"
#endif

namespace fs = std::filesystem;
using namespace old_format;

namespace {

// Selector bytes of the targets that cover several readers.
enum AtrfGroupReader : char {
  kAtrf = 0,
  kGroup = 1,
  kGroupMerge = 2,
  kSetRef = 3,
  kSetDef = 4,
  kAtru = 5,
  kAtrs = 6
};
enum TargetReader : char { kTargetOld = 0, kTargetNew = 1, kTargetOldPreset = 2, kTargetNewPreset = 3 };

// Collects old-format bytes.
class OldBytes {
 public:
  CFile* f() { return &file_; }
  std::string str() const {
    return std::string(reinterpret_cast<const char*>(file_.Data()), static_cast<size_t>(file_.GetLength()));
  }

 private:
  CMemFile file_;
};

template <class Writer>
std::string New(Writer&& writer) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    writer(ar);
    ar.Close();
  }
  return std::string(reinterpret_cast<const char*>(file.Data()), static_cast<size_t>(file.GetLength()));
}

SxfZCdbATRU Attr(const char* name, const char* type, const char* unit, const char* value) {
  SxfZCdbATRU a;
  a.name = name;
  a.type = type;
  a.unit = unit;
  a.value = value;
  return a;
}

// A set reference with values, a nested group and a target attribute.
void FillSetRef(SxfZCdbAttrGrp& ref) {
  ref.AddAttrData(Attr("width", "LEN", "m", "5.50"));
  ref.AddAttrData(Attr(kJpColor, "STR", "", "red"));
  ref.AddTarget(42, "memo");
  SxfZCdbAttrGrp* inner = ref.AddAttrGrpData(nullptr);
  inner->SetName("inner");
  inner->AddAttrData(Attr("depth", "LEN", "mm", "120"));
  inner->AddAttrGrpData(nullptr)->AddAttrData(Attr("leaf", "STR", "", "$$$"));
}

SxfZCdbFigure SetFigure() {
  SxfZCdbFigure fig;
  fig.SetName(kJpContour);
  fig.SetAttrType(SXF_ATTR_ATRF);
  FillSetRef(*fig.ATRF_GetAttr()->AddAttrSetRefData("1", 0));
  fig.ATRF_GetAttr()->AddAttrSetRefData("2", 0)->AddTarget(7, "");
  fig.SetContour("c", "12.5000", "m");
  fig.SetImageName("i", "/img/a.tif");
  return fig;
}

SxfZCdbFigure UserAttrFigure() {
  SxfZCdbFigure fig;
  fig.SetName("single");
  SxfZCdbATRU value = Attr(kJpFileName, "STR", "", "plan.tif");
  value.kind = 3;
  value.zukeiName = "z";
  fig.ATRU_SetAttr(value);
  fig.SetContour("c", "3", "m");
  return fig;
}

SxfZCdbFigure StubFigure() {
  SxfZCdbFigure fig;
  fig.SetAttrType(SXF_ATTR_ATRS);
  SxfZCdbATRS stub;
  stub.name = "label";
  stub.type = "STR";
  fig.ATRS_SetAttr(stub);
  return fig;
}

SxfZCdbFigure ImageOnlyFigure() {
  SxfZCdbFigure fig;
  fig.SetImageName(kJpImage, "photos/site.jpg");
  return fig;
}

SxfZCdbTarget TargetDef(const char* name, DWORD first) {
  SxfZCdbTarget target;
  target.SetName(name);
  target.SetDesigner("X");
  for (DWORD i = 0; i < 3; ++i) {
    RecTargetData rec;
    rec.handle = first + i;
    rec.memo = i == 1 ? "" : "memo";
    target.AddData(rec);
  }
  return target;
}

// Legacy typed ATRU (version 1). form 1 carries a type code and raw number bytes; form 2 a text.
std::string LegacyAtru(BYTE form, BYTE code, const std::string& raw) {
  OldBytes out;
  SxfZCdbATRS def;
  def.name = "legacy";
  def.type = "LEN";
  WriteByte(out.f(), 1);
  WriteByte(out.f(), form);
  WriteATRS(out.f(), def);
  if (form == 1) {
    WriteByte(out.f(), code);
    WriteBytes(out.f(), raw.data(), static_cast<UINT>(raw.size()));
  } else {
    WriteString(out.f(), raw.c_str());
  }
  return out.str();
}

// ATRU record of version 3: no zukeiName.
std::string AtruVersion3() {
  OldBytes out;
  SxfZCdbATRS def;
  def.name = "old";
  WriteByte(out.f(), 3);
  WriteATRS(out.f(), def);
  WriteInt32(out.f(), 10);
  WriteString(out.f(), "v");
  return out.str();
}

// Group record of version 1: attributes only.
std::string GroupVersion1() {
  OldBytes out;
  WriteByte(out.f(), 1);
  WriteString(out.f(), "flat");
  WriteInt32(out.f(), 1);
  WriteATRU(out.f(), Attr("a", "STR", "", "1"));
  return out.str();
}

std::string GroupRecord() {
  SxfZCdbAttrGrp group;
  group.SetName("G");
  FillSetRef(group);
  OldBytes out;
  group.Write(out.f());
  return out.str();
}

// Attribute set records of the oldest files.
std::string AttrSetVersion1() {
  SxfZCdbAttrGrp sub;
  sub.SetName("sub");
  sub.AddAttrData(Attr("s", "STR", "", "x"));
  SxfZCdbAttrGrp trailing;
  trailing.SetName("ignored");
  trailing.AddAttrData(Attr("t", "STR", "", "y"));
  OldBytes out;
  WriteByte(out.f(), 1);
  WriteString(out.f(), "Road");
  WriteString(out.f(), "1.0");
  WriteString(out.f(), "X");
  WriteInt32(out.f(), 1);
  sub.Write(out.f());
  trailing.Write(out.f());
  return out.str();
}

std::string AttrSetVersion0(BYTE version, const char* name) {
  SxfZCdbAttrGrp group;
  group.SetName(name);
  FillSetRef(group);
  OldBytes out;
  WriteByte(out.f(), version);
  WriteString(out.f(), "3.0");
  WriteString(out.f(), "Z");
  group.Write(out.f());
  return out.str();
}

// ATRF of version 2: attribute set records instead of group records.
std::string AtrfVersion2() {
  OldBytes out;
  WriteByte(out.f(), 2);
  WriteInt32(out.f(), 3);
  std::string sets = AttrSetVersion1() + AttrSetVersion0(0, "Canal") + AttrSetVersion0(2, "Road");
  WriteBytes(out.f(), sets.data(), static_cast<UINT>(sets.size()));
  return out.str();
}

// ATRF of version 4 whose references name their sets: one known to the database, one not.
std::string AtrfByName() {
  SxfZCdbATRF atrf;
  FillSetRef(*atrf.AddAttrSetRefData("Road", 0));
  atrf.AddAttrSetRefData(kJpTarget, 0)->AddTarget(9, "x");
  OldBytes out;
  atrf.Write(out.f());
  return out.str();
}

std::string OldFigure(SxfZCdbFigure fig) {
  OldBytes out;
  fig.Write(out.f());
  return out.str();
}

// Figure header of the versions no writer makes: version, name, type.
void FigureHead(OldBytes& out, BYTE version, const char* name, BYTE type) {
  WriteByte(out.f(), version);
  WriteString(out.f(), name);
  WriteByte(out.f(), type);
}

std::string FigureVersion0() {
  OldBytes out;
  FigureHead(out, 0, "v0", SXF_ATTR_ATRU);
  WriteATRU(out.f(), Attr("a", "STR", "", "1"));
  return out.str();
}

std::string FigureVersion1(BYTE type) {
  OldBytes out;
  FigureHead(out, 1, "v1", type);
  if (type == SXF_ATTR_ATRF) {
    SxfZCdbATRF atrf;
    atrf.AddAttrSetRefData("1", 0)->AddAttrData(Attr("w", "LEN", "m", "2"));
    atrf.Write(out.f());
  } else {
    WriteATRU(out.f(), Attr("a", "STR", "", "1"));
  }
  WriteInt32(out.f(), 2);
  TargetDef("Road", 10).Write(out.f());
  TargetDef("Bridge", 20).Write(out.f());
  return out.str();
}

std::string FigureWithOldSets() {
  OldBytes out;
  FigureHead(out, 2, "sets", SXF_ATTR_ATRF);
  std::string atrf = AtrfVersion2();
  WriteBytes(out.f(), atrf.data(), static_cast<UINT>(atrf.size()));
  WriteInt32(out.f(), 0);
  WriteInt32(out.f(), 0);
  return out.str();
}

std::string FigureWithLegacyValue() {
  OldBytes out;
  FigureHead(out, 2, "legacy", SXF_ATTR_ATRU);
  std::string value = LegacyAtru(1, 6, std::string("\0\0\0\0\0\0\x04\x40", 8));  // 2.5
  WriteBytes(out.f(), value.data(), static_cast<UINT>(value.size()));
  WriteInt32(out.f(), 1);
  value = LegacyAtru(2, 0, "12.5");
  WriteBytes(out.f(), value.data(), static_cast<UINT>(value.size()));
  WriteInt32(out.f(), 0);
  return out.str();
}

// A drawing whose records hold figures of every kind: set references with targets on live
// records, a user attribute, a stub, a contour attribute on the contour record, an image
// attribute on the raster, names that are and are not valid Shift-JIS; a title and two set
// definitions.
void FillSectionDrawing(EntryDrawing& d) {
  EntryAttrDB& adb = d.adb();
  adb.AddAttrSetDefData("Road", "1.0", "X", 1);
  adb.AddAttrSetDefData(kJpImage, "2.1", "Y", 1);
  SxfZCdbFigure sets = SetFigure();
  sets.ATRF_GetAttr()->GetAttrSetRefData(1)->AddTarget(kEntryPlainB, "to B");
  sets.ATRF_GetAttr()->GetAttrSetRefData(1)->AddTarget(kEntryChild, "");
  adb.SetRecFigure(d.db().FindRecord(kEntryPlainA), sets);
  adb.SetRecFigure(d.db().FindRecord(kEntryPlainB), UserAttrFigure());
  adb.SetContour("c1", "12.5000", "m", d.db().FindRecord(kEntryContour));
  adb.SetImageElm("photo", d.db().FindRecord(kEntryRaster));
  SxfZCdbFigure named = StubFigure();
  named.SetName("\x82\xa0\xff");  // a lead byte pair, then a byte no code page text has
  adb.SetRecFigure(d.db().FindRecord(kEntryGroup), named);
  adb.SetRecFigure(d.db().FindRecord(kEntryChild), ImageOnlyFigure());
  SxfTitleInfo title;
  title.projectName = kJpContour;
  title.drawingName = "Plan$$Sheet";
  title.drawingNumber = "3$$12";
  title.scale = "1:100";
  title.year = 2004;
  title.month = 12;
  title.day = 24;
  title.officeName = "Office";
  adb.SetTitleInfo(title, nullptr);
}

// The stored figures of a drawing by handle, ascending, copied.
std::vector<std::pair<DWORD, SxfZCdbFigure>> StoredFigures(EntryAttrDB& adb) {
  std::vector<std::pair<DWORD, SxfZCdbFigure>> figures;
  POSITION pos = adb.GetFirstEntry();
  while (pos != nullptr) {
    DWORD handle = 0;
    const SxfZCdbFigure* fig = nullptr;
    adb.GetNextEntry(pos, handle, fig);
    if (fig != nullptr) figures.emplace_back(handle, *fig);
  }
  std::sort(figures.begin(), figures.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  return figures;
}

// The old title of the corpus's drawing sections.
SxfTitleInfo OldTitle() {
  SxfTitleInfo title;
  title.projectName = "Project";
  title.constructionName = "Works";
  title.contractClass = "A";
  title.drawingName = "Plan";
  title.drawingNumber = "3";
  title.drawingType = "Type";
  title.scale = "1:100";
  title.year = 2004;
  title.month = 12;
  title.day = 24;
  title.companyName = "Company";
  title.officeName = "Office";
  return title;
}

// The stored figures of a database as entries of an old section.
std::vector<OldSectionEntry> OldEntries(std::vector<std::pair<DWORD, SxfZCdbFigure>>& figures) {
  std::vector<OldSectionEntry> entries;
  for (auto& [handle, fig] : figures) entries.push_back({handle, &fig, {}});
  return entries;
}

// Old drawing section of the last old version: the drawing's set definitions and figures.
std::string OldSectionWithSetDefs(EntryAttrDB& adb) {
  OldBytes out;
  CDWordArrayX ids;
  adb.GetAttrSetDefCnt(&ids);
  std::vector<SxfZCdbAttrSetDef> defs;
  for (int i = 0; i < ids.GetCount(); ++i) defs.push_back(*adb.FindAttrSetDefData(ids[i]));
  auto figures = StoredFigures(adb);
  WriteOldSection(out.f(), kSectionVersionWithSetDefs, OldTitle(), defs, OldEntries(figures));
  return out.str();
}

// Old drawing section of an earlier version: no set definitions, figure records of the versions
// no writer makes any more, a handle stored twice.
std::string OldSectionOfOldFigures() {
  OldBytes out;
  WriteOldSection(out.f(), kSectionVersionWithoutSetDefs, OldTitle(), {},
                  {{kEntryPlainA, nullptr, FigureVersion1(SXF_ATTR_ATRF)},
                   {kEntryPlainB, nullptr, FigureWithOldSets()},
                   {kEntryChild, nullptr, FigureWithLegacyValue()},
                   {kEntryPlainB, nullptr, FigureVersion0()}});
  return out.str();
}

// The copy buffer's old handle-prefixed form.
std::string OldCopyBuffer(EntryAttrDB& adb) {
  OldBytes out;
  auto figures = StoredFigures(adb);
  WriteOldEntries(out.f(), OldEntries(figures));
  return out.str();
}

std::string FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

#if defined(SXF_CORPUS_JSON)
// The document `dump --json` writes of a drawing's section.
std::string JsonDocument(EntryAttrDB& adb) {
  SectionContent content;
  content.title = adb.GetStoredTitleInfo();
  CDWordArrayX ids;
  adb.GetAttrSetDefCnt(&ids);
  for (int i = 0; i < ids.GetCount(); ++i) content.setDefinitions.push_back(*adb.FindAttrSetDefData(ids[i]));
  const auto figures = StoredFigures(adb);
  for (const auto& [handle, fig] : figures) content.figures.push_back({handle, &fig});
  std::ostringstream out;
  WriteJsonDocument(out, content, nullptr);
  return out.str();
}
#endif

class CorpusWriter {
 public:
  explicit CorpusWriter(fs::path root) : root_(std::move(root)) {}

  void Put(const char* target, const std::string& name, const std::string& bytes) {
    fs::path dir = root_ / target;
    fs::create_directories(dir);
    std::ofstream out(dir / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + (dir / name).string());
    ++count_;
  }
  void Put(const char* target, char selector, const std::string& name, const std::string& bytes) {
    Put(target, name, std::string(1, selector) + bytes);
  }
  int count() const { return count_; }

 private:
  fs::path root_;
  int count_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_corpus DIR\n");
    return 2;
  }
  CorpusWriter corpus(argv[1]);

  const struct {
    const char* name;
    SxfZCdbFigure fig;
  } figures[] = {{"set_refs_contour_image", SetFigure()},
                 {"user_attr_contour", UserAttrFigure()},
                 {"stub", StubFigure()},
                 {"image_only", ImageOnlyFigure()}};
  for (const auto& f : figures) {
    SxfZCdbFigure fig = f.fig;
    corpus.Put("fuzz_old_figure", f.name, OldFigure(fig));
    corpus.Put("fuzz_new_figure", f.name, New([&](CArchive& ar) { fig.NewWrite(ar); }));
  }
  corpus.Put("fuzz_old_figure", "version0_user_attr", FigureVersion0());
  corpus.Put("fuzz_old_figure", "version1_set_refs_target_defs", FigureVersion1(SXF_ATTR_ATRF));
  corpus.Put("fuzz_old_figure", "version1_user_attr_target_defs", FigureVersion1(SXF_ATTR_ATRU));
  corpus.Put("fuzz_old_figure", "old_attr_set_records", FigureWithOldSets());
  corpus.Put("fuzz_old_figure", "legacy_typed_values", FigureWithLegacyValue());

  const char* oldAg = "fuzz_old_atrf_group";
  SxfZCdbFigure setFigure = SetFigure();
  SxfZCdbATRF* atrf = setFigure.ATRF_GetAttr();
  {
    OldBytes out;
    atrf->Write(out.f());
    corpus.Put(oldAg, kAtrf, "atrf", out.str());
  }
  corpus.Put(oldAg, kAtrf, "atrf_names_sets", AtrfByName());
  corpus.Put(oldAg, kAtrf, "atrf_version2_attr_sets", AtrfVersion2());
  corpus.Put(oldAg, kGroup, "group_tree", GroupRecord());
  corpus.Put(oldAg, kGroup, "group_version1", GroupVersion1());
  corpus.Put(oldAg, kGroupMerge, "group_tree_merged", GroupRecord());
  corpus.Put(oldAg, kSetRef, "attr_set_version1", AttrSetVersion1());
  corpus.Put(oldAg, kSetRef, "attr_set_version0", AttrSetVersion0(0, "Canal"));
  SxfZCdbAttrSetDef def;
  def.SetName(kJpImage);
  def.SetVersion("1.0");
  def.SetDesigner("X");
  def.SetId("12");
  {
    OldBytes out;
    def.Write(out.f());
    corpus.Put(oldAg, kSetDef, "set_def", out.str());
  }
  {
    OldBytes out;
    SxfZCdbATRU value = Attr("width", "LEN", "m", "5.50");
    value.zukeiName = "z";
    WriteATRU(out.f(), value);
    corpus.Put(oldAg, kAtru, "atru", out.str());
    corpus.Put(oldAg, kAtrs, "atrs", out.str().substr(1));  // the ATRS record inside it
  }
  corpus.Put(oldAg, kAtru, "atru_version3", AtruVersion3());
  const std::string raw[] = {std::string("\xfe"),
                             std::string("\xfe"),
                             std::string("\x34\x12", 2),
                             std::string("\xfe\xff", 2),
                             std::string("\x78\x56\x34\x12", 4),
                             std::string("\xfe\xff\xff\xff", 4),
                             std::string("\0\0\0\0\0\0\x04\x40", 8)};
  for (BYTE code = 0; code <= 6; ++code) {
    corpus.Put(oldAg, kAtru, "atru_legacy_number" + std::to_string(code), LegacyAtru(1, code, raw[code]));
  }
  corpus.Put(oldAg, kAtru, "atru_legacy_text", LegacyAtru(2, 0, "text"));

  const char* newAg = "fuzz_new_atrf_group";
  corpus.Put(newAg, kAtrf, "atrf", New([&](CArchive& ar) { atrf->NewWrite(ar); }));
  SxfZCdbAttrSetRef* ref = atrf->GetAttrSetRefData(0);
  corpus.Put(newAg, kGroup, "group_tree", New([&](CArchive& ar) { ref->NewWrite(ar); }));
  corpus.Put(newAg, kGroupMerge, "group_tree_merged", New([&](CArchive& ar) { ref->NewWrite(ar); }));
  corpus.Put(newAg, kSetRef, "set_ref", New([&](CArchive& ar) { atrf->GetAttrSetRefData(1)->NewWrite(ar); }));
  corpus.Put(newAg, kSetDef, "set_def", New([&](CArchive& ar) { def.NewWrite(ar); }));
  const SxfZCdbATRU* value = ref->GetAttrData(0);
  corpus.Put(newAg, kAtru, "atru", New([&](CArchive& ar) { NewWriteATRU(ar, *value); }));
  corpus.Put(newAg, kAtrs, "atrs", New([&](CArchive& ar) { NewWriteATRS(ar, *value); }));

  SxfZCdbTarget target = TargetDef(kJpTarget, 100);
  OldBytes oldTarget;
  target.Write(oldTarget.f());
  const std::string newTarget = New([&](CArchive& ar) { target.NewWrite(ar); });
  corpus.Put("fuzz_target_def", kTargetOld, "old_record", oldTarget.str());
  corpus.Put("fuzz_target_def", kTargetNew, "new_record", newTarget);
  corpus.Put("fuzz_target_def", kTargetOldPreset, "old_record_into_preset", oldTarget.str());
  corpus.Put("fuzz_target_def", kTargetNewPreset, "new_record_into_preset", newTarget);

  EntryDrawing drawing;
  FillSectionDrawing(drawing);
  EntryAttrDB& adb = drawing.adb();
  CMemFile newSection;
  if (adb.Write(0, &newSection, &drawing.db()) == 0) throw std::runtime_error("the section writer failed");
  const std::string newBytes(reinterpret_cast<const char*>(newSection.Data()),
                             static_cast<size_t>(newSection.GetLength()));
  const fs::path samples = SXF_SAMPLE_DIR;
  const std::string sampleNew = FileBytes(samples / "demo_new_layout.sxfattr");
  const std::string sampleOld = FileBytes(samples / "demo_old_layout.sxfattr");
  for (char mode : {'\0', '\1'}) {
    const std::string suffix = mode ? "_temporary_read" : "";
    corpus.Put("fuzz_new_section", mode, "every_kind" + suffix, newBytes);
    corpus.Put("fuzz_new_section", mode, "demo_new_layout" + suffix, sampleNew);
    corpus.Put("fuzz_old_section", mode, "version2000_every_kind" + suffix, OldSectionWithSetDefs(adb));
    corpus.Put("fuzz_old_section", mode, "version1000_old_figures" + suffix, OldSectionOfOldFigures());
    corpus.Put("fuzz_old_section", mode, "demo_old_layout" + suffix, sampleOld);
  }
  ZCdbBuff buff = drawing.Buffer();
  CMemFile copyBuffer;
  adb.Write(&copyBuffer, &buff);
  corpus.Put("fuzz_copy_buffer", '\0', "tagged",
             std::string(reinterpret_cast<const char*>(copyBuffer.Data()),
                         static_cast<size_t>(copyBuffer.GetLength())));
  corpus.Put("fuzz_copy_buffer", '\1', "old_form", OldCopyBuffer(adb));
  corpus.Put("fuzz_recover", "every_kind", newBytes);
  corpus.Put("fuzz_recover", "every_kind_cut_short", newBytes.substr(0, newBytes.size() * 2 / 3));
  corpus.Put("fuzz_recover", "demo_new_layout", sampleNew);
  corpus.Put("fuzz_recover", "demo_old_layout", sampleOld);
  corpus.Put("fuzz_recover", "version2000_every_kind", OldSectionWithSetDefs(adb));
#if defined(SXF_CORPUS_JSON)
  corpus.Put("fuzz_import_json", "every_kind", JsonDocument(adb));
  EntryDrawing empty;
  corpus.Put("fuzz_import_json", "empty_section", JsonDocument(empty.adb()));
#endif

  std::printf("make_corpus: %d seeds under %s\n", corpus.count(), argv[1]);
  return 0;
}
