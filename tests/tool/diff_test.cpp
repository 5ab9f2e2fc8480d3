// diff reports each change by meaning, at the place where it is, and exits 3; two sections that
// mean the same (a file and its own conversion) give nothing and exit 0.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "tool/tool_runner.h"

using Json = nlohmann::ordered_json;

namespace {

Json Attr(const char* name, const char* value, const char* zukeiName = "") {
  return Json{{"name", name}, {"type", "STR"},  {"unit", ""},
              {"kind", 10},   {"value", value}, {"zukeiName", zukeiName}};
}

Json Target(const char* handle, const char* memo) {
  return Json{{"name", "ターゲット"}, {"type", "INN"},   {"unit", ""},
              {"kind", 10},           {"value", handle}, {"zukeiName", memo}};
}

Json Group(const char* name, Json attrs, Json groups = Json::array()) {
  return Json{{"name", name}, {"attrs", std::move(attrs)}, {"groups", std::move(groups)}};
}

Json Figure(unsigned handle, const char* name, int attrType, Json attr) {
  return Json{{"handle", handle},        {"name", name},       {"attrType", attrType},
              {"attr", std::move(attr)}, {"contour", nullptr}, {"image", nullptr}};
}

// The first drawing: a road with two targets and two groups of the same name, a pole with a user
// attribute and a contour, the sign and the lamp the road targets.
Json FirstDocument() {
  Json doc = Json::parse(R"({"format": "sxfattr-dump", "formatVersion": 1,
    "title": {"projectName": "道路改良事業", "constructionName": "", "contractClass": "", "drawingName": "平面図",
              "drawingNumber": "3$$12", "drawingType": "", "scale": "1:500", "year": 2005, "month": 4, "day": 1,
              "companyName": "", "officeName": "東京事務所"},
    "setDefinitions": [{"id": "1", "name": "道路施設", "version": "1.0", "designer": "設計課"},
                       {"id": "2", "name": "標識", "version": "2.1", "designer": "交通課"},
                       {"id": "4", "name": "照明", "version": "1.0", "designer": "電気課"}],
    "figures": []})");
  Json road = Group("1",
                    Json::array({Attr("幅員", "7.5"), Attr("路線名", "国道12号"), Target("5", "標識"),
                                 Target("6", "照明")}),
                    Json::array({Group("舗装", Json::array({Attr("種別", "アスファルト")})),
                                 Group("舗装", Json::array({Attr("種別", "コンクリート")}))}));
  doc["figures"].push_back(Figure(3, "道", 1, Json{{"setRefs", Json::array({road})}}));
  Json pole = Figure(4, "", 2, Attr("材質", "鋼製"));
  pole["contour"] = Json{{"name", "等高線"}, {"type", "LEN"},    {"unit", "m"},
                         {"kind", 10},       {"value", "13.25"}, {"zukeiName", "等高線A"}};
  doc["figures"].push_back(pole);
  doc["figures"].push_back(
      Figure(5, "", 1, Json{{"setRefs", Json::array({Group("2", Json::array({Attr("種類", "規制")}))})}}));
  doc["figures"].push_back(Figure(6, "x", 0, nullptr));
  return doc;
}

std::vector<Json> JsonLines(const std::string& out) {
  std::vector<Json> lines;
  std::istringstream in(out);
  std::string line;
  while (std::getline(in, line)) lines.push_back(Json::parse(line));
  return lines;
}

bool HasLine(const std::string& out, const std::string& line) {
  return ("\n" + out).find("\n" + line + "\n") != std::string::npos;
}

}  // namespace

class DiffTest : public ToolTest {
 protected:
  std::string Import(const Json& doc, const std::string& name) {
    WriteBytes(Path(name + ".json"), doc.dump());
    const ToolResult r = RunTool({"import", Path(name + ".json"), Path(name)});
    EXPECT_EQ(r.status, 0) << r.err;
    return Path(name);
  }
};

// Every kind of change in one pair of sections, each reported once at its place: an attribute
// inserted among others is one addition, the second target and the second group of a name are
// told apart by their index, a changed attribute type removes the old attribute and adds the new.
TEST_F(DiffTest, ReportsEachKnownEditWhereItIs) {
  const Json first = FirstDocument();
  Json second = first;
  second["title"]["year"] = 2006;
  second["title"]["officeName"] = Json{{"sjis", "8140ff"}};
  second["setDefinitions"][1]["designer"] = "道路課";
  second["setDefinitions"].erase(2);
  second["setDefinitions"].push_back(
      Json{{"id", "3"}, {"name", "案内"}, {"version", "1.0"}, {"designer", "d"}});
  Json& road = second["figures"][0]["attr"]["setRefs"][0];
  road["attrs"].insert(road["attrs"].begin() + 1, Attr("車線数", "2"));
  road["attrs"][4]["value"] = "7";
  road["groups"][1]["attrs"][0]["value"] = "ブロック";
  Json& pole = second["figures"][1];
  pole["attrType"] = 3;
  pole["attr"] = Json{{"name", "材質"}, {"type", "STR"}, {"unit", ""}};
  pole["contour"]["value"] = "14.0";
  pole["image"] = Attr("画像", "a.tif", "写真");
  second["figures"][3]["name"] = "y";
  second["figures"].erase(2);
  second["figures"].push_back(Figure(7, "灯", 2, Attr("種類", "LED")));

  const std::string a = Import(first, "a");
  const std::string b = Import(second, "b");
  const ToolResult r = RunTool({"diff", "--json", a, b});
  EXPECT_EQ(r.status, 3) << r.err;
  EXPECT_EQ(r.err, "sxfattr: " + a + " and " + b + " differ: 16 changes\n");

  const Json expected = Json::parse(R"([
    {"change": "changed", "what": "title", "field": "year", "old": 2005, "new": 2006},
    {"change": "changed", "what": "title", "field": "officeName", "old": "東京事務所", "new": {"sjis": "8140ff"}},
    {"change": "changed", "what": "setDefinition", "id": "2", "field": "designer", "old": "交通課", "new": "道路課"},
    {"change": "removed", "what": "setDefinition", "id": "4",
     "old": {"id": "4", "name": "照明", "version": "1.0", "designer": "電気課"}},
    {"change": "added", "what": "setDefinition", "id": "3",
     "new": {"id": "3", "name": "案内", "version": "1.0", "designer": "d"}},
    {"change": "changed", "what": "figure", "handle": 3, "path": [{"node": "setRef", "name": "1", "index": 0},
     {"node": "attr", "name": "ターゲット", "index": 1}], "field": "value", "old": "6", "new": "7"},
    {"change": "added", "what": "figure", "handle": 3, "path": [{"node": "setRef", "name": "1", "index": 0},
     {"node": "attr", "name": "車線数", "index": 0}],
     "new": {"name": "車線数", "type": "STR", "unit": "", "kind": 10, "value": "2", "zukeiName": ""}},
    {"change": "changed", "what": "figure", "handle": 3, "path": [{"node": "setRef", "name": "1", "index": 0},
     {"node": "group", "name": "舗装", "index": 1}, {"node": "attr", "name": "種別", "index": 0}],
     "field": "value", "old": "コンクリート", "new": "ブロック"},
    {"change": "changed", "what": "figure", "handle": 4, "path": [], "field": "attrType", "old": 2, "new": 3},
    {"change": "removed", "what": "figure", "handle": 4, "path": [{"node": "userAttr"}],
     "old": {"name": "材質", "type": "STR", "unit": "", "kind": 10, "value": "鋼製", "zukeiName": ""}},
    {"change": "added", "what": "figure", "handle": 4, "path": [{"node": "stub"}],
     "new": {"name": "材質", "type": "STR", "unit": ""}},
    {"change": "changed", "what": "figure", "handle": 4, "path": [{"node": "contour"}], "field": "value",
     "old": "13.25", "new": "14.0"},
    {"change": "added", "what": "figure", "handle": 4, "path": [{"node": "image"}],
     "new": {"name": "画像", "type": "STR", "unit": "", "kind": 10, "value": "a.tif", "zukeiName": "写真"}},
    {"change": "removed", "what": "figure", "handle": 5, "path": [], "old": null},
    {"change": "changed", "what": "figure", "handle": 6, "path": [], "field": "name", "old": "x", "new": "y"},
    {"change": "added", "what": "figure", "handle": 7, "path": [], "new": null}])");
  const std::vector<Json> got = JsonLines(r.out);
  ASSERT_EQ(got.size(), expected.size()) << r.out;
  for (size_t i = 0; i < expected.size(); ++i) {
    Json want = expected[i];
    if (i == 13) want["old"] = first["figures"][2];  // whole figures, as the documents hold them
    if (i == 15) want["new"] = second["figures"][3];
    EXPECT_EQ(got[i], want) << "change " << i;
  }

  // The text form names the same places as a reader would.
  const ToolResult text = RunTool({"diff", a, b});
  EXPECT_EQ(text.status, 3);
  for (const char* line : {
           "title: office name changed from \"東京事務所\" to <sjis:8140ff>",
           "set definition \"4\" (\"照明\"): removed, version \"1.0\" designer \"電気課\"",
           "handle 3 \"道\" > set \"1\" (\"道路施設\") > target #2: changed from handle 6 to handle 7",
           "handle 3 \"道\" > set \"1\" (\"道路施設\") > \"車線数\": added \"車線数\" \"STR\" = \"2\"",
           "handle 3 \"道\" > set \"1\" (\"道路施設\") > group \"舗装\" #2 > \"種別\": value changed from "
           "\"コンクリート\" to \"ブロック\"",
           "handle 4: attribute type changed from 2 (user attribute) to 3 (attribute stub)",
           "handle 5: removed, attribute-file record",
           "handle 7 \"灯\": added, user attribute",
       }) {
    EXPECT_TRUE(HasLine(text.out, line)) << line << "\nin\n" << text.out;
  }
}

TEST_F(DiffTest, TheDemoRevisionsDifferByTheirEdits) {
  const ToolResult r =
      RunTool({"diff", SamplePath("demo_new_layout.sxfattr"), SamplePath("demo_new_layout_rev2.sxfattr")});
  EXPECT_EQ(r.status, 3) << r.err;
  EXPECT_EQ(
      r.out,
      "title: scale changed from \"1:500\" to \"1:250\"\n"
      "handle 12 \"車道中心線\" > set \"1\" (\"道路施設\") > \"幅員\": value changed from \"9.0\" to "
      "\"10.5\"\n"
      "handle 12 \"車道中心線\" > set \"1\" (\"道路施設\") > target: changed from handle 13 to handle 19\n"
      "handle 12 \"車道中心線\" > set \"1\" (\"道路施設\") > target: memo changed from \"標識\" to "
      "\"案内標識\"\n"
      "handle 17 \"車道中心線\" > set \"1\" (\"道路施設\") > target: removed target -> handle 18 memo "
      "\"標識\"\n"
      "handle 18: removed, attribute-file record\n"
      "  set reference \"2\" (\"標識\")\n"
      "    \"種類\" \"STR\" = \"規制\"\n"
      "    \"番号\" \"STR\" = \"330\"\n"
      "handle 19 \"案内標識\": added, attribute-file record\n"
      "  set reference \"2\" (\"標識\")\n"
      "    \"種類\" \"STR\" = \"案内\"\n"
      "    \"番号\" \"STR\" = \"108\"\n");
}

// Conversion writes the other layout and other bytes, but the same attributes.
TEST_F(DiffTest, AFileAndItsConversionAreTheSame) {
  for (const char* sample :
       {"demo_new_layout.sxfattr", "demo_old_layout.sxfattr", "demo_new_layout_rev2.sxfattr"}) {
    SCOPED_TRACE(sample);
    const std::string in = SamplePath(sample);
    ASSERT_EQ(RunTool({"convert", in, Path("converted")}).status, 0);
    for (const std::vector<std::string>& args : {std::vector<std::string>{"diff", in, Path("converted")},
                                                 {"diff", "--json", Path("converted"), in}}) {
      const ToolResult r = RunTool(args);
      EXPECT_EQ(r.status, 0) << r.out << r.err;
      EXPECT_EQ(r.out, "");
      EXPECT_EQ(r.ErrLines(), 1) << r.err;
    }
  }

  const ToolResult missing = RunTool({"diff", SamplePath("demo_new_layout.sxfattr"), Path("none")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.ErrLines(), 1) << missing.err;
  EXPECT_NE(missing.err.find(Path("none") + ": cannot read"), std::string::npos) << missing.err;
  EXPECT_EQ(RunTool({"diff", SamplePath("demo_new_layout.sxfattr")}).status, 2);
}
