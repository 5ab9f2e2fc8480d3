// check: what a user should fix in a section, one finding per line on standard output, each
// starting with the file name so that the lines read like a compiler's.
//
// The section must read (else exit 1 as everywhere). The findings come from two looks at it:
// the section walk (persist/section_scan.h) sees what the plug-in's reader drops or replaces
// without failing, and the content as read shows what the plug-in keeps but cannot use.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "host/zcdb_rec.h"
#include "model/atrf.h"
#include "model/attr_grp.h"
#include "model/attr_set_ref.h"
#include "model/japanese_texts.h"
#include "persist/section_scan.h"
#include "section_loader.h"
#include "sjis_display.h"
#include "title/title_date.h"
#include "tool_error.h"

namespace {

class Findings {
 public:
  void Add(const std::string& text) { lines_.push_back(text); }
  // A text that does not decode is shown by its bytes, which a user can look up.
  void CheckText(const CString& text, const std::string& where) {
    std::string utf8;
    if (!DecodeSjis(text.str(), utf8))
      Add(where + " is not valid Shift-JIS (bytes " + HexBytes(text.str()) + ")");
  }
  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

std::string At(uint64_t offset) {
  return "at byte " + std::to_string(offset) + ": ";
}

void CheckAtrs(Findings& findings, const SxfZCdbATRS& atrs, const std::string& where) {
  findings.CheckText(atrs.name, where + ".name");
  findings.CheckText(atrs.type, where + ".type");
  findings.CheckText(atrs.unit, where + ".unit");
}

void CheckAtru(Findings& findings, const SxfZCdbATRU& atru, const std::string& where) {
  CheckAtrs(findings, atru, where);
  findings.CheckText(atru.value, where + ".value");
  findings.CheckText(atru.zukeiName, where + ".zukeiName");
  if (atru.name == kJpTarget && !IsHandleText(atru.value)) {
    findings.Add(where + " is a target attribute whose handle " + QuotedText(atru.value.str()) +
                 " is not a number");
  }
}

void CheckGroup(Findings& findings, const SxfZCdbAttrGrp& group, const std::string& where) {
  findings.CheckText(group.GetName(), where + ".name");
  for (int i = 0; i < group.GetAttrCnt(); ++i) {
    CheckAtru(findings, *group.GetAttrData(i), where + ".attrs[" + std::to_string(i) + "]");
  }
  for (int i = 0; i < group.GetAttrGrpCnt(); ++i) {
    if (const SxfZCdbAttrGrp* sub = group.GetAttrGrpData(i)) {
      CheckGroup(findings, *sub, where + ".groups[" + std::to_string(i) + "]");
    }
  }
}

// The type byte and the attribute block of a figure record are stored apart. When they disagree
// the plug-in goes by the block, while the document and every caller go by the type, so what is
// shown and what is saved differ.
void CheckAttrClass(Findings& findings, const SxfZCdbFigure& fig, const std::string& where) {
  static const char* const kClassNames[] = {"none", "attribute-file", "user attribute", "attribute stub"};
  const int type = fig.GetAttrType();
  const int held = fig.attr.GetClass();
  if (type > SXF_ATTR_ATRS) {
    findings.Add(where + "unknown attribute type " + std::to_string(type));
  } else if (held == SxfZCdbFigureAttr::kNone && type != SXF_ATTR_NONE) {
    findings.Add(where + "attribute type " + std::to_string(type) + " without its attribute block");
  }
  if (held != SxfZCdbFigureAttr::kNone && held != type) {
    findings.Add(where + "attribute type " + std::to_string(type) + " holds a block of another type (" +
                 kClassNames[held] + ")");
  }
}

void CheckFigure(Findings& findings, const FigureRef& ref, const SxfZCdbAttrDB& adb) {
  const SxfZCdbFigure& fig = *ref.figure;
  const std::string where = "handle " + std::to_string(ref.handle) + ": ";
  findings.CheckText(fig.name, where + "name");
  CheckAttrClass(findings, fig, where);
  if (fig.GetAttrType() == SXF_ATTR_ATRF) {
    if (const SxfZCdbATRF* atrf = fig.ATRF_GetAttr()) {
      if (atrf->GetAttrSetRefCnt() == 0)
        findings.Add(where + "attribute-file figure without any set reference");
      for (int i = 0; i < atrf->GetAttrSetRefCnt(); ++i) {
        const SxfZCdbAttrSetRef* setRef = atrf->GetAttrSetRefData(i);
        if (setRef == nullptr) continue;
        const std::string path = where + "attr.setRefs[" + std::to_string(i) + "]";
        // The plug-in reads a reference id as atol does.
        const SxfZCdbAttrSetDef* def =
            adb.FindAttrSetDefData(static_cast<unsigned int>(std::atol(setRef->GetRefId())));
        if (def == nullptr || def->IsDelete() != 0) {
          findings.Add(path + " names set definition " + QuotedText(setRef->GetRefId()) +
                       ", which the section does not store");
        }
        CheckGroup(findings, *setRef, path);
      }
    }
  } else if (fig.GetAttrType() == SXF_ATTR_ATRU) {
    if (const SxfZCdbATRU* atru = fig.ATRU_GetAttr()) CheckAtru(findings, *atru, where + "attr");
  } else if (fig.GetAttrType() == SXF_ATTR_ATRS) {
    if (const SxfZCdbATRS* atrs = fig.ATRS_GetAttr()) CheckAtrs(findings, *atrs, where + "attr");
  }
  if (fig.contour != nullptr) CheckAtru(findings, *fig.contour, where + "contour");
  if (fig.image != nullptr) CheckAtru(findings, *fig.image, where + "image");
}

void CheckTitle(Findings& findings, const SxfTitleInfo& title) {
  const std::pair<const char*, const CString*> texts[] = {
      {"projectName", &title.projectName},
      {"constructionName", &title.constructionName},
      {"contractClass", &title.contractClass},
      {"drawingName", &title.drawingName},
      {"drawingNumber", &title.drawingNumber},
      {"drawingType", &title.drawingType},
      {"scale", &title.scale},
      {"companyName", &title.companyName},
      {"officeName", &title.officeName},
  };
  for (const auto& [name, text] : texts) findings.CheckText(*text, std::string("title.") + name);
  if (title.year != 0) {
    // The date as the title shows it must read back as a date.
    const CString text = SXF_MakeTitleDate(title);
    int year = 0, month = 0, day = 0;
    if (SXF_ParseTitleDate(text, year, month, day) != 1 || year != title.year || month != title.month ||
        day != title.day) {
      char date[48];
      std::snprintf(date, sizeof date, "%04d-%02d-%02d", static_cast<int>(title.year),
                    static_cast<int>(title.month), static_cast<int>(title.day));
      findings.Add(std::string("title: the date ") + date + " does not read back as a title date");
    }
  }
}

void CheckScan(Findings& findings, const SectionScan& scan) {
  if (!scan.ok) {
    findings.Add(At(scan.failOffset) + scan.failWhat);
    return;
  }
  for (const ScannedSetDef& def : scan.setDefs) {
    if (!def.accepted) {
      findings.Add(
          At(def.offset) + "set definition " + QuotedText(def.id.str()) +
          " clashes with an earlier one (same id, or same name, version and designer) and is dropped");
    }
  }
  std::map<DWORD, uint64_t> firstOffset;
  for (const ScannedFigure& entry : scan.figures) {
    if (entry.handle == ZCDB_NO_HANDLE) {
      findings.Add(At(entry.offset) + "figure record without a record handle: no record can carry it");
      continue;
    }
    if (!entry.hasFigure) {
      findings.Add(At(entry.offset) + "attribute entry of handle " + std::to_string(entry.handle) +
                   " holds no figure record and is dropped");
      continue;
    }
    const auto first = firstOffset.emplace(entry.handle, entry.offset);
    if (!first.second) {
      findings.Add(At(entry.offset) + "handle " + std::to_string(entry.handle) +
                   " already has a figure record at byte " + std::to_string(first.first->second) +
                   "; the reader keeps only one of them");
    }
  }
}

void RunCheck(const std::string& path) {
  const std::vector<BYTE> bytes = ReadFileBytes(path);
  const LoadedSection section = LoadSection(path, bytes);
  HostDrawing scratch;
  const SectionScan scan = ScanSection(bytes.data(), bytes.size(), scratch.Attr());
  const SectionContent content = section.Content();

  Findings findings;
  CheckScan(findings, scan);
  CheckTitle(findings, content.title);
  for (const SxfZCdbAttrSetDef& def : content.setDefinitions) {
    const std::string where = "setDefinitions[id " + def.id.str() + "].";
    findings.CheckText(def.id, where + "id");
    findings.CheckText(def.name, where + "name");
    findings.CheckText(def.version, where + "version");
    findings.CheckText(def.designer, where + "designer");
  }
  for (const FigureRef& ref : content.figures) CheckFigure(findings, ref, section.drawing->Attr());

  for (const std::string& line : findings.Lines()) std::cout << path << ": " << line << '\n';
  FinishOutput();
  const size_t count = findings.Lines().size();
  if (count > 0) {
    throw ToolError(kExitProblems, path + ": " + std::to_string(count) +
                                       (count == 1 ? " problem" : " problems") + " to fix");
  }
  std::cerr << "sxfattr: " << path << ": no problems in " << content.figures.size() << " figures\n";
}

}  // namespace

void AddCheckCommand(CLI::App& app) {
  auto path = std::make_shared<std::string>();
  CLI::App* cmd = app.add_subcommand(
      "check",
      "List what to fix in a section: dangling set references, bad targets, dates, texts, dropped records");
  cmd->add_option("FILE", *path, "The section file")->required();
  cmd->callback([path] { RunCheck(*path); });
}
