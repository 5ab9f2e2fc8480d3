// demo: a host's whole editing session with the plug-in, told step by step.
//
// The demo is a host: it makes a drawing through the plug-in's entry function, adds records the
// way a CAD application does (the host stand-in tells the plug-in about every change), attaches
// attributes through the exported functions, undoes and redoes, copies with targets, deletes and
// commits, saves the attribute section and loads it into a fresh drawing. It goes on editing
// the drawing for a second revision (a title field, a value, a target, a figure added and one
// removed), saves that too and shows what diff finds between the two. It then builds an
// old-layout section (version 0x2000) from the old record writers and reads that back too.
//
// Everything it does is fixed (texts, handles, the environment's folder), so it writes the same
// bytes on every run: its three files are the samples committed under samples/.
#include <sys/stat.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "atomic_output.h"
#include "commands.h"
#include "diff_output.h"
#include "exports/record_functions.h"
#include "exports/version.h"
#include "model/atrf.h"
#include "model/attr_set_ref.h"
#include "model/japanese_texts.h"
#include "persist/old_section_writer.h"
#include "persist/section_format.h"
#include "sample_files.h"
#include "section_diff.h"
#include "section_loader.h"
#include "sjis_display.h"
#include "text_view.h"
#include "title/title_rec_map.h"
#include "tool_error.h"

namespace {

// The folder the drawing's environment resolves image paths against.
constexpr const char kDemoFolder[] = "/srv/drawings";

// The demo's texts are written in UTF-8 here and stored as the Shift-JIS the plug-in keeps.
CString Jp(const char* utf8) {
  std::string sjis;
  if (!EncodeSjis(utf8, sjis))
    throw ToolError(kExitInput, std::string("demo text without Shift-JIS form: ") + utf8);
  return CString(sjis);
}

// A Shift-JIS text for the demo's lines, without quotes.
std::string Show(const CString& text) {
  std::string utf8;
  return DecodeSjis(text.str(), utf8) ? utf8 : "<sjis:" + HexBytes(text.str()) + ">";
}

void Step(int number, const char* title) {
  std::cout << '\n' << number << ". " << title << '\n';
}

void Line(const std::string& text) {
  std::cout << "   " << text << '\n';
}

SxfZCdbATRU Attr(const char* name, const char* type, const char* unit, const char* value) {
  SxfZCdbATRU attr;
  attr.name = Jp(name);
  attr.type = type;
  attr.unit = unit;
  attr.value = Jp(value);
  return attr;
}

void MakeFolders(const std::string& path) {
  std::string partial;
  size_t start = 0;
  while (start <= path.size()) {
    const size_t slash = path.find('/', start);
    partial = path.substr(0, slash == std::string::npos ? path.size() : slash);
    start = slash == std::string::npos ? path.size() + 1 : slash + 1;
    if (partial.empty()) continue;
    if (mkdir(partial.c_str(), 0777) != 0 && errno != EEXIST) {
      throw ToolError(kExitInput, partial + ": cannot create the folder: " + std::strerror(errno));
    }
  }
}

class Demo {
 public:
  explicit Demo(const std::string& folder) : folder_(folder), drawing_(kDemoFolder, true) {}

  void Run() {
    std::cout << "sxfattr demo: a host's editing session with the SXF attribute plug-in " << SxfAttrVersion()
              << '\n';
    OpenDrawing();
    TitleBlock();
    AttributeSets();
    RasterAndContour();
    UndoAndRedo();
    CopyWithTargets();
    DeleteAndCommit();
    const std::string saved = Save();
    LoadFresh(saved);
    const std::string revised = SecondRevision(saved);
    const std::string old = OldLayout();
    Step(12, "Files");
    Line(saved);
    Line(revised);
    Line(old);
  }

 private:
  ZCdb& Db() { return drawing_.Db(); }
  SxfZCdbAttrDB& Adb() { return drawing_.Attr(); }

  ZCdbElm* AddString(const char* utf8, double y) {
    ZCdbElm* rec = new ZCdbElm(new ZString(Jp(utf8), ZPt(10, y)));
    Db().AddRecord(rec);
    return rec;
  }

  // The targets a caller sees (after the consistency pass) and the ones stored.
  std::string Targets(ZCdbRecBase* rec, bool stored) {
    CDWordArrayX handles;
    if (stored) {
      POSITION pos = Adb().GetFirstEntry();
      while (pos != nullptr) {
        DWORD handle = 0;
        const SxfZCdbFigure* fig = nullptr;
        Adb().GetNextEntry(pos, handle, fig);
        if (handle == rec->GetHandle() && fig != nullptr) fig->GetTarget(handles);
      }
    } else {
      SxfZCdbFigure fig;
      if (SXF_GetRecFigure(rec, fig) != 0) fig.GetTarget(handles);
    }
    std::string list;
    for (int i = 0; i < handles.GetCount(); ++i) list += (i == 0 ? "" : ", ") + std::to_string(handles[i]);
    return list.empty() ? "none" : list;
  }

  std::string Width(ZCdbRecBase* rec) {
    SxfZCdbFigure fig;
    if (SXF_GetRecFigure(rec, fig) == 0) return "?";
    const SxfZCdbATRU* width = fig.FindAttrData(Jp("幅員"));
    return width != nullptr ? Show(width->value) : "?";
  }

  void OpenDrawing() {
    Step(1, "Open a drawing");
    Line("The host makes a drawing with an undo manager; the plug-in's entry function gives it its");
    Line("\"SXF\" attribute database (" +
         std::string(Db().GetAttrDB("SXF") == &Adb() ? "registered" : "missing") +
         "). Image paths resolve against " + kDemoFolder + ".");
  }

  void TitleBlock() {
    Step(2, "Title block");
    TitleRecMap recs;
    recs.GetRecArray(SXF_TTL_PROJECT_NAME).Add(AddString("道路改良事業", 280));
    recs.GetRecArray(SXF_TTL_CONSTRUCTION_NAME).Add(AddString("国道12号 舗装工事", 270));
    recs.GetRecArray(SXF_TTL_DRAWING_NAME).Add(AddString("平面図", 260));
    recs.GetRecArray(SXF_TTL_DRAWING_NAME).Add(AddString("その1", 250));
    recs.GetRecArray(SXF_TTL_DRAWING_NUMBER).Add(AddString("3", 240));
    recs.GetRecArray(SXF_TTL_DRAWING_TOTAL).Add(AddString("12", 240));
    scale_ = AddString("1:500", 230);
    recs.GetRecArray(SXF_TTL_SCALE).Add(scale_);
    recs.GetRecArray(SXF_TTL_DATE).Add(AddString("平成17年", 220));
    recs.GetRecArray(SXF_TTL_DATE).Add(AddString("4月1日", 210));
    recs.GetRecArray(SXF_TTL_COMPANY_NAME).Add(AddString("サンプル設計株式会社", 200));

    // Items without an element (the office name, the drawing type) keep what is stored here.
    SxfTitleInfo wanted;
    wanted.drawingType = Jp("設計図");
    wanted.officeName = Jp("東京事務所");
    Adb().SetTitleInfo(wanted, &recs);
    SxfTitleInfo title;
    Adb().GetTitleInfo(title, nullptr);
    Line("Ten string elements become title elements; the title is read back from their texts:");
    Line("project \"" + Show(title.projectName) + "\", construction \"" + Show(title.constructionName) +
         "\"");
    Line("drawing \"" + Show(title.drawingName) + "\" (two lines), number \"" + Show(title.drawingNumber) +
         "\", scale \"" + Show(title.scale) + "\", type \"" + Show(title.drawingType) + "\"");
    char date[32];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", static_cast<int>(title.year),
                  static_cast<int>(title.month), static_cast<int>(title.day));
    Line(std::string("date ") + date + " (from \"平成17年\" + \"4月1日\"), company \"" +
         Show(title.companyName) + "\", office \"" + Show(title.officeName) + "\"");
  }

  void AttributeSets() {
    Step(3, "Attribute sets with targets");
    const SxfZCdbAttrSetDef* roadSet = Adb().AddAttrSetDefData(Jp("道路施設"), "1.0", Jp("設計課"), 1);
    const SxfZCdbAttrSetDef* signSet = Adb().AddAttrSetDefData(Jp("標識"), "2.1", Jp("交通課"), 1);
    signSetId_ = signSet->GetId();

    layer_ = new ZCdbTbl;
    Db().AddRecord(layer_);
    road_ = new ZCdbElm(new ZLine(ZPt(0, 0), ZPt(500, 0)));
    sign_ = new ZCdbElm(new ZText(Jp("止まれ")));
    pole_ = new ZCdbElm(new ZLine(ZPt(120, 5), ZPt(120, 8)));
    Db().AddRecord(road_, layer_);
    Db().AddRecord(sign_, layer_);
    Db().AddRecord(pole_, layer_);

    SxfZCdbFigure sign;
    sign.SetAttrType(SXF_ATTR_ATRF);
    SxfZCdbAttrSetRef* signRef = sign.ATRF_GetAttr()->AddAttrSetRefData(signSet->GetId(), 1);
    signRef->AddAttrData(Attr("種類", "STR", "", "規制"));
    signRef->AddAttrData(Attr("番号", "STR", "", "330"));
    SXF_SetRecFigure(sign_, sign);

    SxfZCdbFigure pole;
    pole.SetName(Jp("支柱"));
    pole.ATRU_SetAttr(Attr("材質", "STR", "", "鋼製"));
    SXF_SetRecFigure(pole_, pole);

    SxfZCdbFigure road;
    road.SetName(Jp("車道中心線"));
    road.SetAttrType(SXF_ATTR_ATRF);
    SxfZCdbAttrSetRef* roadRef = road.ATRF_GetAttr()->AddAttrSetRefData(roadSet->GetId(), 1);
    roadRef->AddAttrData(Attr("幅員", "LEN", "m", "7.5"));
    roadRef->AddAttrData(Attr("路線名", "STR", "", "国道12号"));
    roadRef->AddTarget(sign_->GetHandle(), Jp("標識"));
    roadRef->AddTarget(pole_->GetHandle(), Jp("支柱"));
    SxfZCdbAttrGrp* paving = roadRef->AddAttrGrpData(nullptr);
    paving->SetName(Jp("舗装"));
    paving->AddAttrData(Attr("種別", "STR", "", "アスファルト"));
    SXF_SetRecFigure(road_, road);

    Line("Set definitions \"道路施設\" (id " + std::string(roadSet->GetId()) + ") and \"標識\" (id " +
         signSet->GetId() + ").");
    Line("The road (handle " + std::to_string(road_->GetHandle()) + ") gets set " + roadSet->GetId() +
         " with its width, route and paving, and targets " + Targets(road_, false) + ":");
    Line("the sign (handle " + std::to_string(sign_->GetHandle()) + ", set " + signSet->GetId() +
         ") and the pole (handle " + std::to_string(pole_->GetHandle()) + ", a user attribute).");
    Line("Each of the two is now a target of " + std::to_string(Adb().TargetedCnt(sign_->GetHandle())) +
         " and " + std::to_string(Adb().TargetedCnt(pole_->GetHandle())) + " figure(s).");
  }

  void RasterAndContour() {
    Step(4, "Raster and contour elements");
    ZCdbElm* raster = new ZCdbElm(new ZRaster("images/aerial.tif"));
    Db().AddRecord(raster);
    Adb().SetImageElm(Jp("航空写真"), raster);
    CString name, path;
    Adb().GetImageName(raster->GetHandle(), name, path);
    Line("Raster " + std::to_string(raster->GetHandle()) + " gets image attribute \"" + Show(name) +
         "\" -> " + Show(path));

    ZCdbContour* contour = new ZCdbContour(12.5);
    Db().AddRecord(contour);
    CString zukei, value, unit;
    Adb().GetContour(contour->GetHandle(), zukei, value, unit);
    Line("New contour line " + std::to_string(contour->GetHandle()) +
         " at elevation 12.5 gets its contour attribute " + Show(value) + " " + Show(unit) + " by itself.");
    Adb().SetContour(Jp("等高線A"), "13.25", "m", contour);
    Adb().GetContour(contour->GetHandle(), zukei, value, unit);
    Line("Setting the attribute to 13.25 m moves the line: elevation " + Show(contour->GetHyokoStr()) +
         ", value " + Show(value) + ", name \"" + Show(zukei) + "\".");
  }

  void UndoAndRedo() {
    Step(5, "Edits with undo and redo");
    Db().BeginUndoStep();
    SxfZCdbFigure road;
    SXF_GetRecFigure(road_, road);
    road.FindAttrData(Jp("幅員"))->value = "9.0";
    SXF_SetRecFigure(road_, road);
    Db().EndUndoStep();
    Line("The user widens the road in one undo step: width " + Width(road_) + " m.");
    Db().Undo();
    Line("Undo: width " + Width(road_) + " m.");
    Db().Redo();
    Line("Redo: width " + Width(road_) + " m.");
  }

  void CopyWithTargets() {
    Step(6, "Copy with targets");
    Adb().BeginCopyWithTarget(&Adb());
    roadCopy_ = Db().CopyRecord(road_, layer_);
    signCopy_ = Db().CopyRecord(sign_, layer_);
    Adb().EndCopyWithTarget();
    Line("The road and the sign are copied together: copy " + std::to_string(roadCopy_->GetHandle()) +
         " of the road targets " + Targets(roadCopy_, false) + ",");
    Line("that is the copy " + std::to_string(signCopy_->GetHandle()) +
         " of the sign and the original pole, which was not copied.");
    Line("The pole is now a target of " + std::to_string(Adb().TargetedCnt(pole_->GetHandle())) +
         " figures.");
  }

  void DeleteAndCommit() {
    Step(7, "Deletion and commit");
    Db().MarkDeleted(pole_);
    Line("The pole is deleted (marked): the road shows targets " + Targets(road_, false) +
         ", while its stored figure still holds " + Targets(road_, true) + ".");
    Db().Commit();
    Line("Commit: the pole is gone and so is every reference to it: road " + Targets(road_, true) +
         ", copy " + Targets(roadCopy_, true) + ".");
  }

  // Saves the drawing's attribute section as name in the demo's folder; the path and size.
  std::string SaveAs(const char* name) {
    CMemFile file;
    if (Adb().Write(0, &file, &Db()) == 0)
      throw ToolError(kExitInput, "the plug-in could not save the demo drawing");
    const std::string path = folder_ + "/" + name;
    WriteFileAtomically(path, file.Data(), static_cast<size_t>(file.GetLength()));
    Line("The attribute section, new layout, " + std::to_string(file.GetLength()) + " bytes: " + path);
    return path + " (" + std::to_string(file.GetLength()) + " bytes)";
  }

  std::string Save() {
    Step(8, "Save");
    return SaveAs(kNewLayoutSample);
  }

  void LoadFresh(const std::string& saved) {
    Step(9, "Load into a fresh drawing");
    const std::string path = saved.substr(0, saved.find(" ("));
    const LoadedSection section = LoadSectionFile(path);
    const SectionContent content = section.Content();
    Line("A fresh drawing reads it back: " + std::to_string(content.figures.size()) + " figures, " +
         std::to_string(content.setDefinitions.size()) + " set definitions. As stored:");
    std::cout << '\n';
    WriteTextView(std::cout, content, nullptr);
  }

  std::string SecondRevision(const std::string& first) {
    Step(10, "Second revision");
    // The title follows its elements: a new text of the scale element is the new scale.
    static_cast<ZString*>(scale_->GetZGElm())->SetCString("1:250");
    Db().ChangeRecord(scale_);
    Line("The scale element now reads 1:250.");

    ZCdbElm* guide = new ZCdbElm(new ZText(Jp("駅前")));
    Db().AddRecord(guide, layer_);
    SxfZCdbFigure guideFig;
    guideFig.SetName(Jp("案内標識"));
    guideFig.SetAttrType(SXF_ATTR_ATRF);
    SxfZCdbAttrSetRef* guideRef = guideFig.ATRF_GetAttr()->AddAttrSetRefData(signSetId_, 1);
    guideRef->AddAttrData(Attr("種類", "STR", "", "案内"));
    guideRef->AddAttrData(Attr("番号", "STR", "", "108"));
    SXF_SetRecFigure(guide, guideFig);
    Line("A guide sign (handle " + std::to_string(guide->GetHandle()) + ") is added in set " +
         signSetId_.str() + ".");

    SxfZCdbFigure road;
    SXF_GetRecFigure(road_, road);
    road.FindAttrData(Jp("幅員"))->value = "10.5";
    road.ChangeTarget(sign_->GetHandle(), guide->GetHandle());
    road.FindAttrData(kJpTarget)->zukeiName = Jp("案内標識");
    SXF_SetRecFigure(road_, road);
    Line("The road is widened to " + Width(road_) +
         " m and now targets the guide sign: " + Targets(road_, false) + ".");

    Db().MarkDeleted(signCopy_);
    Db().Commit();
    Line("The copy " + std::to_string(signCopy_->GetHandle()) +
         " of the sign is deleted and committed: the road copy " + std::to_string(roadCopy_->GetHandle()) +
         " loses its target (targets: " + Targets(roadCopy_, true) + ").");
    const std::string saved = SaveAs(kRevisionSample);

    const LoadedSection before = LoadSectionFile(first.substr(0, first.find(" (")));
    const LoadedSection after = LoadSectionFile(saved.substr(0, saved.find(" (")));
    const SectionContent a = before.Content();
    const SectionContent b = after.Content();
    Line("What changed, as sxfattr diff shows it:");
    std::cout << '\n';
    WriteDiffText(std::cout, DiffSections(a, b), a, b);
    return saved;
  }

  std::string OldLayout() {
    Step(11, "Old layout");
    SxfTitleInfo title;
    title.projectName = Jp("旧道路改良事業");
    title.constructionName = Jp("県道5号 改築工事");
    title.drawingName = Jp("縦断図");
    title.drawingNumber = "7$$9";
    title.drawingType = Jp("設計図");
    title.scale = "1:1000";
    title.year = 2004;
    title.month = 3;
    title.day = 31;
    title.companyName = Jp("サンプル設計株式会社");
    title.officeName = Jp("大阪事務所");

    SxfZCdbAttrSetDef roadSet;
    roadSet.name = Jp("道路施設");
    roadSet.version = "1.0";
    roadSet.designer = Jp("設計課");
    roadSet.id = "1";
    SxfZCdbAttrSetDef signSet;
    signSet.name = Jp("標識");
    signSet.version = "2.1";
    signSet.designer = Jp("交通課");
    signSet.id = "2";

    SxfZCdbFigure road;
    road.SetName(Jp("車道中心線"));
    road.SetAttrType(SXF_ATTR_ATRF);
    SxfZCdbAttrSetRef* roadRef = road.ATRF_GetAttr()->AddAttrSetRefData("1", 1);
    roadRef->AddAttrData(Attr("幅員", "LEN", "m", "6.0"));
    roadRef->AddTarget(2, Jp("標識"));
    SxfZCdbFigure sign;
    sign.SetAttrType(SXF_ATTR_ATRF);
    sign.ATRF_GetAttr()->AddAttrSetRefData("2", 1)->AddAttrData(Attr("種類", "STR", "", "警戒"));
    SxfZCdbFigure wall;
    wall.ATRU_SetAttr(Attr("材質", "STR", "", "コンクリート"));
    SxfZCdbFigure contour;
    contour.SetContour(Jp("等高線B"), "8.0000", "m");

    CMemFile file;
    WriteOldSection(&file, kSectionVersionWithSetDefs, title, {roadSet, signSet},
                    {{1, &road, {}}, {2, &sign, {}}, {3, &wall, {}}, {4, &contour, {}}});
    char version[16];
    std::snprintf(version, sizeof version, "0x%X", static_cast<unsigned>(kSectionVersionWithSetDefs));

    const std::string path = folder_ + "/" + kOldLayoutSample;
    WriteFileAtomically(path, file.Data(), static_cast<size_t>(file.GetLength()));
    Line(std::string("A version ") + version + " section built from the old record writers, " +
         std::to_string(file.GetLength()) + " bytes: " + path);
    const LoadedSection section = LoadSectionFile(path);
    Line("Read back through the plug-in; convert would write it in the new layout. As stored:");
    std::cout << '\n';
    WriteTextView(std::cout, section.Content(), nullptr);
    return path + " (" + std::to_string(file.GetLength()) + " bytes)";
  }

  std::string folder_;
  HostDrawing drawing_;
  ZCdbTbl* layer_ = nullptr;
  ZCdbElm* road_ = nullptr;
  ZCdbElm* sign_ = nullptr;
  ZCdbElm* pole_ = nullptr;
  ZCdbElm* scale_ = nullptr;
  CString signSetId_;
  ZCdbRecBase* roadCopy_ = nullptr;
  ZCdbRecBase* signCopy_ = nullptr;
};

}  // namespace

void AddDemoCommand(CLI::App& app) {
  auto folder = std::make_shared<std::string>("sxfattr-demo");
  CLI::App* cmd = app.add_subcommand(
      "demo", "Run the plug-in through a host's editing session, save the section into DIR and read it back");
  cmd->add_option("DIR", *folder, "Where the demo writes its three section files (default: sxfattr-demo)");
  cmd->callback([folder] {
    MakeFolders(*folder);
    Demo demo(*folder);
    demo.Run();
  });
}
