#include "export_tables.h"

#include <cstdlib>
#include <map>

#include "json_document.h"
#include "model/atrf.h"
#include "model/attr_grp.h"
#include "model/attr_set_ref.h"
#include "model/japanese_texts.h"
#include "progress.h"
#include "sjis_display.h"
#include "text_view.h"

namespace {

TableCell Label(const std::string& text) {
  TableCell cell;
  cell.text = text;
  return cell;
}

TableCell Number(long long number) {
  TableCell cell;
  cell.isNumber = true;
  cell.number = number;
  return cell;
}

class AttributeRows {
 public:
  AttributeRows(const SectionContent& content, TextEncoding encoding, TableWriter& writer)
      : encoding_(encoding), writer_(writer) {
    for (const SxfZCdbAttrSetDef& def : content.setDefinitions)
      setNames_[std::strtoul(def.id, nullptr, 10)] = def.name;
  }

  void Figure(const FigureRef& ref) {
    const SxfZCdbFigure& fig = *ref.figure;
    handle_ = ref.handle;
    figureName_ = Text(fig.name);
    switch (fig.GetAttrType()) {
      case SXF_ATTR_ATRF:
        if (const SxfZCdbATRF* atrf = fig.ATRF_GetAttr()) {
          for (int i = 0; i < atrf->GetAttrSetRefCnt(); ++i) {
            const SxfZCdbAttrSetRef* setRef = atrf->GetAttrSetRefData(i);
            if (setRef == nullptr) continue;
            const auto name = setNames_.find(std::strtoul(setRef->GetRefId(), nullptr, 10));
            SetRef set{Text(setRef->GetName()), name != setNames_.end() ? Text(name->second) : ""};
            Group(*setRef, set, "");
          }
        }
        break;
      case SXF_ATTR_ATRU:
        if (const SxfZCdbATRU* atru = fig.ATRU_GetAttr()) Atru(AttrTypeText(SXF_ATTR_ATRU), {}, "", *atru);
        break;
      case SXF_ATTR_ATRS:
        if (const SxfZCdbATRS* atrs = fig.ATRS_GetAttr()) {
          std::vector<TableCell> row = Start(AttrTypeText(SXF_ATTR_ATRS), {}, "", *atrs);
          row.resize(13);
          writer_.AddRow(row);
        }
        break;
      default:
        break;
    }
    if (fig.contour != nullptr) Atru("contour", {}, "", *fig.contour);
    if (fig.image != nullptr) Atru("image", {}, "", *fig.image);
  }

 private:
  struct SetRef {
    std::string id;
    std::string name;
  };

  std::string Text(const CString& text) const { return CellText(text, encoding_); }

  void Group(const SxfZCdbAttrGrp& group, const SetRef& set, const std::string& path) {
    for (int i = 0; i < group.GetAttrCnt(); ++i)
      Atru(AttrTypeText(SXF_ATTR_ATRF), set, path, *group.GetAttrData(i));
    for (int i = 0; i < group.GetAttrGrpCnt(); ++i) {
      const SxfZCdbAttrGrp* sub = group.GetAttrGrpData(i);
      if (sub == nullptr) continue;
      const std::string name = Text(sub->GetName());
      Group(*sub, set, path.empty() ? name : path + "/" + name);
    }
  }

  // The columns up to the unit.
  std::vector<TableCell> Start(const std::string& attrType, const SetRef& set, const std::string& path,
                               const SxfZCdbATRS& atrs) const {
    std::vector<TableCell> row;
    row.reserve(13);
    row.push_back(Number(handle_));
    row.push_back(Label(figureName_));
    row.push_back(Label(attrType));
    row.push_back(Label(set.id));
    row.push_back(Label(set.name));
    row.push_back(Label(path));
    row.push_back(Label(Text(atrs.name)));
    row.push_back(Label(Text(atrs.type)));
    row.push_back(Label(Text(atrs.unit)));
    return row;
  }

  void Atru(const std::string& attrType, const SetRef& set, const std::string& path,
            const SxfZCdbATRU& atru) {
    std::vector<TableCell> row = Start(attrType, set, path, atru);
    row.push_back(Number(atru.kind));
    row.push_back(Label(Text(atru.value)));
    row.push_back(Label(Text(atru.zukeiName)));
    if (atru.name == kJpTarget && IsHandleText(atru.value)) {
      row.push_back(Number(std::strtoll(atru.value, nullptr, 10)));
    } else {
      row.push_back(TableCell());
    }
    writer_.AddRow(row);
  }

  TextEncoding encoding_;
  TableWriter& writer_;
  std::map<unsigned long, CString> setNames_;  // by numeric id, as a set reference names its set
  DWORD handle_ = 0;
  std::string figureName_;
};

}  // namespace

std::string CellText(const CString& text, TextEncoding encoding) {
  std::string utf8;
  if (!DecodeSjis(text.str(), utf8)) return TextToJson(text).dump();
  return encoding == TextEncoding::kUtf8 ? utf8 : text.str();
}

void WriteExportTables(const SectionContent& content, TextEncoding encoding, TableWriter& writer,
                       Progress* progress) {
  auto text = [&](const CString& value) { return Label(CellText(value, encoding)); };

  writer.BeginTable("Title", {"field", "value"});
  const SxfTitleInfo& title = content.title;
  const std::pair<const char*, TableCell> fields[] = {
      {"projectName", text(title.projectName)},
      {"constructionName", text(title.constructionName)},
      {"contractClass", text(title.contractClass)},
      {"drawingName", text(title.drawingName)},
      {"drawingNumber", text(title.drawingNumber)},
      {"drawingType", text(title.drawingType)},
      {"scale", text(title.scale)},
      {"year", Number(title.year)},
      {"month", Number(title.month)},
      {"day", Number(title.day)},
      {"companyName", text(title.companyName)},
      {"officeName", text(title.officeName)},
  };
  for (const auto& [field, value] : fields) writer.AddRow({Label(field), value});
  writer.EndTable();

  writer.BeginTable("Set definitions", {"id", "name", "version", "designer"});
  for (const SxfZCdbAttrSetDef& def : content.setDefinitions)
    writer.AddRow({text(def.id), text(def.name), text(def.version), text(def.designer)});
  writer.EndTable();

  writer.BeginTable("Attributes",
                    {"handle", "figure name", "attribute type", "set id", "set name", "group path",
                     "attribute name", "type", "unit", "kind", "value", "zukeiName", "target handle"});
  AttributeRows rows(content, encoding, writer);
  for (size_t i = 0; i < content.figures.size(); ++i) {
    rows.Figure(content.figures[i]);
    if (progress != nullptr) progress->Update(i + 1);
  }
  writer.EndTable();
}
