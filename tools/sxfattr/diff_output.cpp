#include "diff_output.h"

#include <cstdlib>
#include <map>
#include <sstream>

#include "json_document.h"
#include "model/japanese_texts.h"
#include "sjis_display.h"
#include "text_view.h"

namespace {

const char* const kNodeNames[] = {"setRef", "group", "attr", "userAttr", "stub", "contour", "image"};

Json ValueToJson(const DiffValue& value) {
  return value.isText ? TextToJson(value.text) : Json(value.number);
}

Json StepToJson(const DiffStep& step) {
  Json j = Json::object();
  j["node"] = kNodeNames[step.node];
  if (step.node == DiffStep::kSetRef || step.node == DiffStep::kGroup || step.node == DiffStep::kAttr) {
    j["name"] = TextToJson(step.name);
    j["index"] = step.index;
  }
  return j;
}

Json ItemToJson(const DiffChange& change) {
  if (change.figure != nullptr) return FigureToJson(*change.figure);
  if (change.setDefinition != nullptr) return SetDefinitionToJson(*change.setDefinition);
  if (change.group != nullptr) return GroupToJson(*change.group);
  if (change.atru != nullptr) return AtruToJson(*change.atru);
  if (change.atrs != nullptr) return AtrsToJson(*change.atrs);
  return nullptr;
}

Json ChangeToJson(const DiffChange& change) {
  static const char* const kKinds[] = {"changed", "added", "removed"};
  static const char* const kWhats[] = {"title", "setDefinition", "figure"};
  Json j = Json::object();
  j["change"] = kKinds[change.kind];
  j["what"] = kWhats[change.what];
  if (change.what == DiffChange::kSetDefinition) j["id"] = TextToJson(change.id);
  if (change.what == DiffChange::kFigure) {
    j["handle"] = change.handle;
    Json path = Json::array();
    for (const DiffStep& step : change.path) path.push_back(StepToJson(step));
    j["path"] = std::move(path);
  }
  switch (change.kind) {
    case DiffChange::kChanged:
      j["field"] = change.field;
      j["old"] = ValueToJson(change.oldValue);
      j["new"] = ValueToJson(change.newValue);
      break;
    case DiffChange::kAdded:
      j["new"] = ItemToJson(change);
      break;
    case DiffChange::kRemoved:
      j["old"] = ItemToJson(change);
      break;
  }
  return j;
}

class TextWriter {
 public:
  TextWriter(std::ostream& out, const SectionContent& a, const SectionContent& b) : out_(out), a_(a), b_(b) {
    // Where both sections name a thing, the second one's name wins: a review reads against the new
    // state.
    for (const SectionContent* content : {&a, &b}) {
      for (const SxfZCdbAttrSetDef& def : content->setDefinitions) {
        setNames_[std::strtoul(def.id, nullptr, 10)] = def.name;
        defNames_[def.id.str()] = def.name;
      }
      for (const FigureRef& ref : content->figures) figureNames_[ref.handle] = ref.figure->name;
    }
  }

  void Write(const DiffChange& change) {
    out_ << Where(change) << ": ";
    switch (change.kind) {
      case DiffChange::kChanged:
        // A target names its record: "changed from handle 13 to handle 19" says it all.
        if (!(change.field == "value" && IsTarget(change))) out_ << Label(change) << ' ';
        out_ << "changed from " << Value(change, change.oldValue) << " to " << Value(change, change.newValue)
             << '\n';
        break;
      case DiffChange::kAdded:
        Item("added", change, b_);
        break;
      case DiffChange::kRemoved:
        Item("removed", change, a_);
        break;
    }
  }

 private:
  std::string Where(const DiffChange& change) const {
    if (change.what == DiffChange::kTitle) return "title";
    if (change.what == DiffChange::kSetDefinition) {
      std::string where = "set definition " + QuotedText(change.id.str());
      const auto name = defNames_.find(change.id.str());
      if (name != defNames_.end()) where += " (" + QuotedText(name->second.str()) + ")";
      return where;
    }
    std::string where = "handle " + std::to_string(change.handle);
    const auto name = figureNames_.find(change.handle);
    if (name != figureNames_.end() && !name->second.IsEmpty()) where += " " + QuotedText(name->second.str());
    for (const DiffStep& step : change.path) where += " > " + Step(step);
    return where;
  }

  std::string Step(const DiffStep& step) const {
    const std::string nth = step.index > 0 ? " #" + std::to_string(step.index + 1) : "";
    switch (step.node) {
      case DiffStep::kSetRef: {
        std::string text = "set " + QuotedText(step.name.str());
        const auto name = setNames_.find(std::strtoul(step.name, nullptr, 10));
        if (name != setNames_.end()) text += " (" + QuotedText(name->second.str()) + ")";
        return text + nth;
      }
      case DiffStep::kGroup:
        return "group " + QuotedText(step.name.str()) + nth;
      case DiffStep::kAttr:
        return (step.name == kJpTarget ? std::string("target") : QuotedText(step.name.str())) + nth;
      case DiffStep::kUserAttr:
        return "user attribute";
      case DiffStep::kStub:
        return "attribute stub";
      case DiffStep::kContour:
        return "contour";
      case DiffStep::kImage:
        return "image";
    }
    return "";
  }

  static bool IsTarget(const DiffChange& change) {
    return !change.path.empty() && change.path.back().node == DiffStep::kAttr &&
           change.path.back().name == kJpTarget;
  }

  static std::string Label(const DiffChange& change) {
    if (change.what == DiffChange::kTitle) {
      static const std::map<std::string, std::string> kLabels = {
          {"projectName", "project name"},     {"constructionName", "construction name"},
          {"contractClass", "contract class"}, {"drawingName", "drawing name"},
          {"drawingNumber", "drawing number"}, {"drawingType", "drawing type"},
          {"companyName", "company name"},     {"officeName", "office name"}};
      const auto label = kLabels.find(change.field);
      return label != kLabels.end() ? label->second : change.field;
    }
    if (change.field == "attrType") return "attribute type";
    if (change.field == "zukeiName") return IsTarget(change) ? "memo" : "figure name";
    return change.field;
  }

  static std::string Value(const DiffChange& change, const DiffValue& value) {
    if (!value.isText) {
      if (change.field == "attrType")
        return std::to_string(value.number) + " (" + AttrTypeText(static_cast<int>(value.number)) + ")";
      return std::to_string(value.number);
    }
    if (change.field == "value" && IsTarget(change)) {
      return IsHandleText(value.text) ? "handle " + value.text.str()
                                      : QuotedText(value.text.str()) + " (not a handle)";
    }
    return QuotedText(value.text.str());
  }

  // An added or removed item: one line, and for figures and groups their content below it.
  void Item(const char* verb, const DiffChange& change, const SectionContent& content) {
    if (change.figure != nullptr) {
      std::ostringstream body;
      WriteFigureText(body, *change.figure, content, 0);
      const std::string text = body.str();
      const size_t firstEnd = text.find('\n');
      out_ << verb << ", " << AttrTypeText(change.figure->figure->GetAttrType()) << '\n'
           << text.substr(firstEnd + 1);
    } else if (change.setDefinition != nullptr) {
      const SxfZCdbAttrSetDef& def = *change.setDefinition;
      out_ << verb << ", version " << QuotedText(def.version.str()) << " designer "
           << QuotedText(def.designer.str()) << '\n';
    } else if (change.group != nullptr) {
      std::ostringstream body;
      WriteGroupText(body, *change.group, 1);
      out_ << verb << (body.str().empty() ? ", empty\n" : "\n") << body.str();
    } else if (change.atru != nullptr) {
      out_ << verb << ' ' << AtruText(*change.atru) << '\n';
    } else if (change.atrs != nullptr) {
      out_ << verb << ' ' << AtrsText(*change.atrs) << '\n';
    }
  }

  std::ostream& out_;
  const SectionContent& a_;
  const SectionContent& b_;
  std::map<unsigned long, CString> setNames_;  // by numeric id, as a set reference names its set
  std::map<std::string, CString> defNames_;    // by id text
  std::map<DWORD, CString> figureNames_;
};

}  // namespace

void WriteDiffJson(std::ostream& out, const std::vector<DiffChange>& changes) {
  for (const DiffChange& change : changes) out << ChangeToJson(change).dump() << '\n';
}

void WriteDiffText(std::ostream& out, const std::vector<DiffChange>& changes, const SectionContent& a,
                   const SectionContent& b) {
  TextWriter writer(out, a, b);
  for (const DiffChange& change : changes) writer.Write(change);
}
