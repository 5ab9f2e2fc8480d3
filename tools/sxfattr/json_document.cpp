#include "json_document.h"

#include <initializer_list>
#include <map>

#include "model/atrf.h"
#include "model/attr_grp.h"
#include "model/attr_set_ref.h"
#include "progress.h"
#include "sjis_display.h"

Json AtrsToJson(const SxfZCdbATRS& atrs) {
  Json j = Json::object();
  j["name"] = TextToJson(atrs.name);
  j["type"] = TextToJson(atrs.type);
  j["unit"] = TextToJson(atrs.unit);
  return j;
}

Json AtruToJson(const SxfZCdbATRU& atru) {
  Json j = AtrsToJson(atru);
  j["kind"] = atru.kind;
  j["value"] = TextToJson(atru.value);
  j["zukeiName"] = TextToJson(atru.zukeiName);
  return j;
}

Json GroupToJson(const SxfZCdbAttrGrp& group) {
  Json j = Json::object();
  j["name"] = TextToJson(group.GetName());
  Json attrs = Json::array();
  for (int i = 0; i < group.GetAttrCnt(); ++i) attrs.push_back(AtruToJson(*group.GetAttrData(i)));
  j["attrs"] = std::move(attrs);
  Json groups = Json::array();
  for (int i = 0; i < group.GetAttrGrpCnt(); ++i) {
    const SxfZCdbAttrGrp* sub = group.GetAttrGrpData(i);
    if (sub != nullptr) groups.push_back(GroupToJson(*sub));
  }
  j["groups"] = std::move(groups);
  return j;
}

Json SetDefinitionToJson(const SxfZCdbAttrSetDef& def) {
  Json j = Json::object();
  j["id"] = TextToJson(def.id);
  j["name"] = TextToJson(def.name);
  j["version"] = TextToJson(def.version);
  j["designer"] = TextToJson(def.designer);
  return j;
}

namespace {

// ---- writing ----

Json OptionalAtru(const SxfZCdbATRU* atru) {
  return atru != nullptr ? AtruToJson(*atru) : Json(nullptr);
}

// The main attribute as the attribute type says it should be; null when the figure holds no
// object of that class (a record read without its block) or the type has no class.
Json MainAttrToJson(const SxfZCdbFigure& fig) {
  switch (fig.GetAttrType()) {
    case SXF_ATTR_ATRF: {
      const SxfZCdbATRF* atrf = fig.ATRF_GetAttr();
      if (atrf == nullptr) return nullptr;
      Json refs = Json::array();
      for (int i = 0; i < atrf->GetAttrSetRefCnt(); ++i) {
        const SxfZCdbAttrSetRef* ref = atrf->GetAttrSetRefData(i);
        if (ref != nullptr) refs.push_back(GroupToJson(*ref));
      }
      Json j = Json::object();
      j["setRefs"] = std::move(refs);
      return j;
    }
    case SXF_ATTR_ATRU:
      return OptionalAtru(fig.ATRU_GetAttr());
    case SXF_ATTR_ATRS: {
      const SxfZCdbATRS* atrs = fig.ATRS_GetAttr();
      return atrs != nullptr ? AtrsToJson(*atrs) : Json(nullptr);
    }
    default:
      return nullptr;
  }
}

Json TitleToJson(const SxfTitleInfo& title) {
  Json j = Json::object();
  j["projectName"] = TextToJson(title.projectName);
  j["constructionName"] = TextToJson(title.constructionName);
  j["contractClass"] = TextToJson(title.contractClass);
  j["drawingName"] = TextToJson(title.drawingName);
  j["drawingNumber"] = TextToJson(title.drawingNumber);
  j["drawingType"] = TextToJson(title.drawingType);
  j["scale"] = TextToJson(title.scale);
  j["year"] = title.year;
  j["month"] = title.month;
  j["day"] = title.day;
  j["companyName"] = TextToJson(title.companyName);
  j["officeName"] = TextToJson(title.officeName);
  return j;
}

Json SetDefinitionsToJson(const std::vector<SxfZCdbAttrSetDef>& defs) {
  Json list = Json::array();
  for (const SxfZCdbAttrSetDef& def : defs) list.push_back(SetDefinitionToJson(def));
  return list;
}

// The members before "figures", shared by the full document and the summary.
Json DocumentHead(const SectionContent& content) {
  Json doc = Json::object();
  doc["format"] = kDocumentFormat;
  doc["formatVersion"] = kDocumentFormatVersion;
  Json section = Json::object();
  section["version"] = content.version;
  section["layout"] = IsOldLayout(content.version) ? "old" : "new";
  doc["section"] = std::move(section);
  doc["title"] = TitleToJson(content.title);
  doc["setDefinitions"] = SetDefinitionsToJson(content.setDefinitions);
  return doc;
}

// A value dumped with indent 2, shifted right so that it sits at the given depth.
std::string DumpAt(const Json& value, int depth) {
  const std::string dumped = value.dump(2);
  const std::string pad(static_cast<size_t>(depth) * 2, ' ');
  std::string out;
  out.reserve(dumped.size() + 64);
  for (char c : dumped) {
    out += c;
    if (c == '\n') out += pad;  // strings never hold a raw line feed: dump escapes it
  }
  return out;
}

// ---- reading ----

std::string Where(const std::string& path) {
  return path.empty() ? "the document" : path;
}

[[noreturn]] void Fail(const std::string& path, const std::string& what) {
  throw JsonSchemaError(Where(path) + ": " + what);
}

std::string MemberPath(const std::string& path, const char* key) {
  return path.empty() ? std::string(key) : path + "." + key;
}

std::string ItemPath(const std::string& path, size_t index) {
  return path + "[" + std::to_string(index) + "]";
}

const char* TypeName(const Json& j) {
  return j.type_name();
}

// Checks that j is an object holding every key of required and nothing beyond required and
// optional.
void ExpectObject(const Json& j, const std::string& path, std::initializer_list<const char*> required,
                  std::initializer_list<const char*> optional = {}) {
  if (!j.is_object()) Fail(path, std::string("expected an object, found ") + TypeName(j));
  for (const char* key : required) {
    if (!j.contains(key)) Fail(path, std::string("missing member \"") + key + "\"");
  }
  for (auto it = j.begin(); it != j.end(); ++it) {
    bool known = false;
    for (const char* key : required) known = known || it.key() == key;
    for (const char* key : optional) known = known || it.key() == key;
    if (!known) Fail(path, "unknown member \"" + it.key() + "\"");
  }
}

const Json& ExpectArray(const Json& j, const std::string& path) {
  if (!j.is_array()) Fail(path, std::string("expected an array, found ") + TypeName(j));
  return j;
}

long long ExpectInteger(const Json& j, const std::string& path, long long min, long long max) {
  long long value = 0;
  if (j.is_number_unsigned()) {
    const auto u = j.get<unsigned long long>();
    if (u > static_cast<unsigned long long>(max))
      Fail(path, "expected an integer from " + std::to_string(min) + " to " + std::to_string(max));
    value = static_cast<long long>(u);
  } else if (j.is_number_integer()) {
    value = j.get<long long>();
  } else {
    Fail(path, std::string("expected an integer, found ") + TypeName(j));
  }
  if (value < min || value > max) {
    Fail(path, "expected an integer from " + std::to_string(min) + " to " + std::to_string(max));
  }
  return value;
}

CString ExpectText(const Json& j, const std::string& path) {
  std::string bytes;
  if (j.is_string()) {
    if (!EncodeSjis(j.get_ref<const std::string&>(), bytes)) {
      Fail(path,
           "text cannot be written in Shift-JIS (code page 932); give its bytes as {\"sjis\": \"<hex>\"}");
    }
  } else if (j.is_object()) {
    ExpectObject(j, path, {"sjis"});
    const Json& hex = j["sjis"];
    if (!hex.is_string() || !ParseHexBytes(hex.get_ref<const std::string&>(), bytes)) {
      Fail(MemberPath(path, "sjis"), "expected the text's bytes as an even number of hex digits");
    }
  } else {
    Fail(path, std::string("expected a text (a string or {\"sjis\": \"<hex>\"}), found ") + TypeName(j));
  }
  return CString(bytes);
}

SxfZCdbATRS ReadAtrs(const Json& j, const std::string& path) {
  ExpectObject(j, path, {"name", "type", "unit"});
  SxfZCdbATRS atrs;
  atrs.name = ExpectText(j["name"], MemberPath(path, "name"));
  atrs.type = ExpectText(j["type"], MemberPath(path, "type"));
  atrs.unit = ExpectText(j["unit"], MemberPath(path, "unit"));
  return atrs;
}

SxfZCdbATRU ReadAtru(const Json& j, const std::string& path) {
  ExpectObject(j, path, {"name", "type", "unit", "kind", "value", "zukeiName"});
  SxfZCdbATRU atru;
  atru.name = ExpectText(j["name"], MemberPath(path, "name"));
  atru.type = ExpectText(j["type"], MemberPath(path, "type"));
  atru.unit = ExpectText(j["unit"], MemberPath(path, "unit"));
  atru.kind = static_cast<LONG>(ExpectInteger(j["kind"], MemberPath(path, "kind"), INT32_MIN, INT32_MAX));
  atru.value = ExpectText(j["value"], MemberPath(path, "value"));
  atru.zukeiName = ExpectText(j["zukeiName"], MemberPath(path, "zukeiName"));
  return atru;
}

SxfZCdbATRU* ReadOptionalAtru(const Json& j, const std::string& path) {
  return j.is_null() ? nullptr : new SxfZCdbATRU(ReadAtru(j, path));
}

// Fills group (a set reference at depth 1) from a GROUP object. The depth limit is the one the
// plug-in's record readers enforce, so every imported tree can be read back.
void ReadGroup(SxfZCdbAttrGrp& group, const Json& j, const std::string& path, int depth) {
  if (depth > kMaxGroupDepth)
    Fail(path, "groups nest deeper than " + std::to_string(kMaxGroupDepth) + " levels");
  ExpectObject(j, path, {"name", "attrs", "groups"});
  group.SetName(ExpectText(j["name"], MemberPath(path, "name")));
  const std::string attrsPath = MemberPath(path, "attrs");
  const Json& attrs = ExpectArray(j["attrs"], attrsPath);
  for (size_t i = 0; i < attrs.size(); ++i) group.AddAttrData(ReadAtru(attrs[i], ItemPath(attrsPath, i)));
  const std::string groupsPath = MemberPath(path, "groups");
  const Json& groups = ExpectArray(j["groups"], groupsPath);
  for (size_t i = 0; i < groups.size(); ++i) {
    ReadGroup(*group.AddAttrGrpData(nullptr), groups[i], ItemPath(groupsPath, i), depth + 1);
  }
}

void ReadMainAttr(SxfZCdbFigure& fig, BYTE type, const Json& j, const std::string& path) {
  if (j.is_null()) {
    // A type without its object, as a record read without its attribute block holds it.
    fig.attrType = type;
    return;
  }
  switch (type) {
    case SXF_ATTR_ATRF: {
      ExpectObject(j, path, {"setRefs"});
      const std::string refsPath = MemberPath(path, "setRefs");
      const Json& refs = ExpectArray(j["setRefs"], refsPath);
      fig.SetAttrType(SXF_ATTR_ATRF);
      SxfZCdbATRF* atrf = fig.ATRF_GetAttr();
      for (size_t i = 0; i < refs.size(); ++i) {
        ReadGroup(*atrf->AddAttrSetRefData("", 0), refs[i], ItemPath(refsPath, i), 1);
      }
      return;
    }
    case SXF_ATTR_ATRU:
      fig.ATRU_SetAttr(ReadAtru(j, path));
      return;
    case SXF_ATTR_ATRS:
      fig.SetAttrType(SXF_ATTR_ATRS);
      fig.ATRS_SetAttr(ReadAtrs(j, path));
      return;
    default:
      Fail(path, "attribute type " + std::to_string(type) + " holds no attribute object: expected null");
  }
}

ImportedFigure ReadFigure(const Json& j, const std::string& path) {
  ExpectObject(j, path, {"handle", "name", "attrType", "attr", "contour", "image"});
  ImportedFigure imported;
  imported.handle = static_cast<DWORD>(ExpectInteger(j["handle"], MemberPath(path, "handle"), 0, 0xFFFFFFFE));
  imported.figure.reset(new SxfZCdbFigure);
  SxfZCdbFigure& fig = *imported.figure;
  fig.name = ExpectText(j["name"], MemberPath(path, "name"));
  const BYTE type = static_cast<BYTE>(ExpectInteger(j["attrType"], MemberPath(path, "attrType"), 0, 255));
  ReadMainAttr(fig, type, j["attr"], MemberPath(path, "attr"));
  fig.contour = ReadOptionalAtru(j["contour"], MemberPath(path, "contour"));
  fig.image = ReadOptionalAtru(j["image"], MemberPath(path, "image"));
  return imported;
}

SxfTitleInfo ReadTitle(const Json& j, const std::string& path) {
  ExpectObject(j, path,
               {"projectName", "constructionName", "contractClass", "drawingName", "drawingNumber",
                "drawingType", "scale", "year", "month", "day", "companyName", "officeName"});
  SxfTitleInfo title;
  auto text = [&](const char* key) { return ExpectText(j[key], MemberPath(path, key)); };
  auto number = [&](const char* key) {
    return static_cast<int32_t>(ExpectInteger(j[key], MemberPath(path, key), INT32_MIN, INT32_MAX));
  };
  title.projectName = text("projectName");
  title.constructionName = text("constructionName");
  title.contractClass = text("contractClass");
  title.drawingName = text("drawingName");
  title.drawingNumber = text("drawingNumber");
  title.drawingType = text("drawingType");
  title.scale = text("scale");
  title.year = number("year");
  title.month = number("month");
  title.day = number("day");
  title.companyName = text("companyName");
  title.officeName = text("officeName");
  return title;
}

SxfZCdbAttrSetDef ReadSetDefinition(const Json& j, const std::string& path) {
  ExpectObject(j, path, {"id", "name", "version", "designer"});
  SxfZCdbAttrSetDef def;
  def.id = ExpectText(j["id"], MemberPath(path, "id"));
  def.name = ExpectText(j["name"], MemberPath(path, "name"));
  def.version = ExpectText(j["version"], MemberPath(path, "version"));
  def.designer = ExpectText(j["designer"], MemberPath(path, "designer"));
  def.deleted = 0;
  return def;
}

}  // namespace

Json TextToJson(const CString& text) {
  std::string utf8;
  if (DecodeSjis(text.str(), utf8)) return utf8;
  Json j = Json::object();
  j["sjis"] = HexBytes(text.str());
  return j;
}

Json FigureToJson(const FigureRef& ref) {
  const SxfZCdbFigure& fig = *ref.figure;
  Json j = Json::object();
  j["handle"] = ref.handle;
  j["name"] = TextToJson(fig.name);
  j["attrType"] = fig.GetAttrType();
  j["attr"] = MainAttrToJson(fig);
  j["contour"] = OptionalAtru(fig.contour);
  j["image"] = OptionalAtru(fig.image);
  return j;
}

void WriteJsonDocument(std::ostream& out, const SectionContent& content, Progress* progress) {
  // The figures are written one at a time: a document tree of a million figures would take
  // gigabytes before the first byte is out.
  const Json head = DocumentHead(content);
  out << "{\n";
  for (auto it = head.begin(); it != head.end(); ++it) {
    out << "  " << Json(it.key()).dump() << ": " << DumpAt(it.value(), 1) << ",\n";
  }
  out << "  \"figures\": [";
  for (size_t i = 0; i < content.figures.size(); ++i) {
    out << (i == 0 ? "\n    " : ",\n    ") << DumpAt(FigureToJson(content.figures[i]), 2);
    if (progress != nullptr) progress->Update(i + 1);
  }
  out << (content.figures.empty() ? "]\n}\n" : "\n  ]\n}\n");
}

Json SummaryToJson(const SectionContent& content, const FigureTallies& figures) {
  Json doc = DocumentHead(content);
  const FigureCounts counts = CountFigures(figures);
  doc["figureCount"] = figures.size();
  Json types = Json::array();
  for (const auto& [type, count] : counts.byType) {
    Json j = Json::object();
    j["attrType"] = type;
    j["count"] = count;
    types.push_back(std::move(j));
  }
  doc["figuresByAttrType"] = std::move(types);
  doc["figuresWithContour"] = counts.withContour;
  doc["figuresWithImage"] = counts.withImage;
  return doc;
}

ImportedSection SectionFromJson(const Json& doc) {
  ExpectObject(doc, "", {"format", "formatVersion", "title", "setDefinitions", "figures"}, {"section"});
  if (!doc["format"].is_string() || doc["format"].get_ref<const std::string&>() != kDocumentFormat) {
    Fail("format", std::string("expected \"") + kDocumentFormat + "\"");
  }
  const long long formatVersion = ExpectInteger(doc["formatVersion"], "formatVersion", 0, INT32_MAX);
  if (formatVersion != kDocumentFormatVersion) {
    Fail("formatVersion", "version " + std::to_string(formatVersion) + " is not known (this tool reads " +
                              std::to_string(kDocumentFormatVersion) + ")");
  }
  // The layout and version a document came from do not matter: import writes the new layout.
  if (doc.contains("section") && !doc["section"].is_object()) Fail("section", "expected an object");

  ImportedSection section;
  section.title = ReadTitle(doc["title"], "title");
  const Json& defs = ExpectArray(doc["setDefinitions"], "setDefinitions");
  for (size_t i = 0; i < defs.size(); ++i) {
    section.setDefinitions.push_back(ReadSetDefinition(defs[i], ItemPath("setDefinitions", i)));
  }
  const Json& figures = ExpectArray(doc["figures"], "figures");
  section.figures.reserve(figures.size());
  for (size_t i = 0; i < figures.size(); ++i)
    section.figures.push_back(ReadFigure(figures[i], ItemPath("figures", i)));
  return section;
}
