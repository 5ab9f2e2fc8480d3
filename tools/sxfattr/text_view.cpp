#include "text_view.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "model/atrf.h"
#include "model/atru.h"
#include "model/attr_grp.h"
#include "model/attr_set_ref.h"
#include "model/japanese_texts.h"
#include "progress.h"
#include "sjis_display.h"

namespace {

std::string Pad(int depth) {
  return std::string(static_cast<size_t>(depth) * 2, ' ');
}

std::string Date(const SxfTitleInfo& title) {
  if (title.year == 0) return "none";
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", static_cast<int>(title.year),
                static_cast<int>(title.month), static_cast<int>(title.day));
  return text;
}

std::string SetName(const CString& refId, const SectionContent& content) {
  const unsigned long id = std::strtoul(refId, nullptr, 10);
  for (const SxfZCdbAttrSetDef& def : content.setDefinitions) {
    if (std::strtoul(def.id, nullptr, 10) == id) return " (" + QuotedText(def.name.str()) + ")";
  }
  return " (no such set definition)";
}

void Title(std::ostream& out, const SxfTitleInfo& title) {
  out << "title\n";
  const std::pair<const char*, const CString*> texts[] = {
      {"project name      ", &title.projectName},   {"construction name ", &title.constructionName},
      {"contract class    ", &title.contractClass}, {"drawing name      ", &title.drawingName},
      {"drawing number    ", &title.drawingNumber}, {"drawing type      ", &title.drawingType},
      {"scale             ", &title.scale},
  };
  for (const auto& [label, text] : texts) out << "  " << label << ' ' << QuotedText(text->str()) << '\n';
  out << "  date               " << Date(title) << '\n';
  out << "  company name       " << QuotedText(title.companyName.str()) << '\n';
  out << "  office name        " << QuotedText(title.officeName.str()) << '\n';
}

}  // namespace

std::string AttrTypeText(int type) {
  switch (type) {
    case SXF_ATTR_NONE:
      return "no attribute";
    case SXF_ATTR_ATRF:
      return "attribute-file record";
    case SXF_ATTR_ATRU:
      return "user attribute";
    case SXF_ATTR_ATRS:
      return "attribute stub";
    default:
      return "attribute type " + std::to_string(type);
  }
}

std::string AtrsText(const SxfZCdbATRS& atrs) {
  std::string line = QuotedText(atrs.name.str());
  if (!atrs.type.IsEmpty()) line += " " + QuotedText(atrs.type.str());
  if (!atrs.unit.IsEmpty()) line += " in " + QuotedText(atrs.unit.str());
  return line;
}

std::string AtruText(const SxfZCdbATRU& atru) {
  std::string line;
  if (atru.name == kJpTarget) {
    line = IsHandleText(atru.value) ? "target -> handle " + atru.value.str()
                                    : "target -> " + QuotedText(atru.value.str()) + " (not a handle)";
    if (!atru.zukeiName.IsEmpty()) line += " memo " + QuotedText(atru.zukeiName.str());
    return line;
  }
  line = AtrsText(atru) + " = " + QuotedText(atru.value.str());
  if (atru.kind != kDefaultAttrKind) line += " (kind " + std::to_string(atru.kind) + ")";
  if (!atru.zukeiName.IsEmpty()) line += " figure " + QuotedText(atru.zukeiName.str());
  return line;
}

void WriteGroupText(std::ostream& out, const SxfZCdbAttrGrp& group, int depth) {
  for (int i = 0; i < group.GetAttrCnt(); ++i) out << Pad(depth) << AtruText(*group.GetAttrData(i)) << '\n';
  for (int i = 0; i < group.GetAttrGrpCnt(); ++i) {
    const SxfZCdbAttrGrp* sub = group.GetAttrGrpData(i);
    if (sub == nullptr) continue;
    out << Pad(depth) << "group " << QuotedText(sub->GetName()) << '\n';
    WriteGroupText(out, *sub, depth + 1);
  }
}

void WriteFigureText(std::ostream& out, const FigureRef& ref, const SectionContent& content, int depth) {
  const SxfZCdbFigure& fig = *ref.figure;
  const std::string inner = Pad(depth + 1);
  out << Pad(depth) << "handle " << ref.handle;
  if (!fig.name.IsEmpty()) out << " name " << QuotedText(fig.name.str());
  out << ": " << AttrTypeText(fig.GetAttrType()) << '\n';
  switch (fig.GetAttrType()) {
    case SXF_ATTR_ATRF:
      if (const SxfZCdbATRF* atrf = fig.ATRF_GetAttr()) {
        for (int i = 0; i < atrf->GetAttrSetRefCnt(); ++i) {
          const SxfZCdbAttrSetRef* setRef = atrf->GetAttrSetRefData(i);
          if (setRef == nullptr) continue;
          out << inner << "set reference " << QuotedText(setRef->GetRefId())
              << SetName(setRef->GetRefId(), content) << '\n';
          WriteGroupText(out, *setRef, depth + 2);
        }
      }
      break;
    case SXF_ATTR_ATRU:
      if (const SxfZCdbATRU* atru = fig.ATRU_GetAttr()) out << inner << AtruText(*atru) << '\n';
      break;
    case SXF_ATTR_ATRS:
      if (const SxfZCdbATRS* atrs = fig.ATRS_GetAttr()) out << inner << AtrsText(*atrs) << '\n';
      break;
    default:
      break;
  }
  if (fig.contour != nullptr) out << inner << "contour " << AtruText(*fig.contour) << '\n';
  if (fig.image != nullptr) out << inner << "image " << AtruText(*fig.image) << '\n';
}

namespace {

// The section version, the title, the set definitions and the number of figures.
void WriteHead(std::ostream& out, const SectionContent& content, size_t figures) {
  char version[16];
  std::snprintf(version, sizeof version, "0x%X", static_cast<unsigned>(content.version));
  out << "section version " << version << " (" << (IsOldLayout(content.version) ? "old" : "new")
      << " layout)\n";
  Title(out, content.title);
  out << "set definitions: " << content.setDefinitions.size() << '\n';
  for (const SxfZCdbAttrSetDef& def : content.setDefinitions) {
    out << "  id " << QuotedText(def.id.str()) << ' ' << QuotedText(def.name.str()) << " version "
        << QuotedText(def.version.str()) << " designer " << QuotedText(def.designer.str()) << '\n';
  }
  out << "figures: " << figures << '\n';
}

}  // namespace

void WriteSummaryText(std::ostream& out, const SectionContent& content, const FigureTallies& figures) {
  WriteHead(out, content, figures.size());
  const FigureCounts counts = CountFigures(figures);
  for (const auto& [type, count] : counts.byType) out << "  " << AttrTypeText(type) << ": " << count << '\n';
  out << "  with contour: " << counts.withContour << '\n';
  out << "  with image: " << counts.withImage << '\n';
}

void WriteTextView(std::ostream& out, const SectionContent& content, Progress* progress) {
  WriteHead(out, content, content.figures.size());
  for (size_t i = 0; i < content.figures.size(); ++i) {
    WriteFigureText(out, content.figures[i], content, 1);
    if (progress != nullptr) progress->Update(i + 1);
  }
}
