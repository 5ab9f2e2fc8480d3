// The committed samples are what the demo writes, and their dumps show what the demo's editing
// session left in the drawing.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tool/tool_runner.h"

using Json = nlohmann::ordered_json;

namespace {

const char kNewSample[] = "demo_new_layout.sxfattr";
const char kOldSample[] = "demo_old_layout.sxfattr";

Json DumpJson(const std::string& path) {
  const ToolResult r = RunTool({"dump", "--json", path});
  EXPECT_EQ(r.status, 0) << r.err;
  return Json::parse(r.out);
}

const Json& FigureOf(const Json& doc, unsigned handle) {
  for (const Json& fig : doc["figures"]) {
    if (fig["handle"] == handle) return fig;
  }
  ADD_FAILURE() << "no figure of handle " << handle;
  static const Json none;
  return none;
}

// The handles of the target attributes of a figure's first set reference, in order.
std::vector<std::string> TargetsOf(const Json& fig) {
  std::vector<std::string> targets;
  for (const Json& attr : fig["attr"]["setRefs"][0]["attrs"]) {
    if (attr["name"] == "ターゲット") targets.push_back(attr["value"]);
  }
  return targets;
}

const Json* AttrNamed(const Json& group, const std::string& name) {
  for (const Json& attr : group["attrs"]) {
    if (attr["name"] == name) return &attr;
  }
  return nullptr;
}

}  // namespace

class SamplesTest : public ToolTest {};

TEST_F(SamplesTest, DemoWritesTheCommittedSamplesAgain) {
  const ToolResult r = RunTool({"demo", Path("out/demo")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  for (const char* name : {kNewSample, kOldSample}) {
    const std::string written = ReadBytes(Path(std::string("out/demo/") + name));
    ASSERT_FALSE(written.empty()) << name;
    EXPECT_EQ(written, ReadBytes(SamplePath(name))) << name << " differs from the committed sample";
  }
  for (const char* step :
       {"3. Attribute sets with targets", "5. Edits with undo and redo", "6. Copy with targets",
        "7. Deletion and commit", "9. Load into a fresh drawing", "10. Old layout"}) {
    EXPECT_NE(r.out.find(step), std::string::npos) << step;
  }
}

TEST_F(SamplesTest, NewLayoutSampleHoldsWhatTheEditingSessionLeft) {
  const Json doc = DumpJson(SamplePath(kNewSample));
  EXPECT_EQ(doc["section"], Json::parse(R"({"version": 12288, "layout": "new"})"));

  // The title as read from the title elements when the drawing was saved; the office name and
  // drawing type had no element and kept the stored values.
  const Json& title = doc["title"];
  EXPECT_EQ(title["projectName"], "道路改良事業");
  EXPECT_EQ(title["drawingName"], "平面図$$その1");
  EXPECT_EQ(title["drawingNumber"], "3$$12");
  EXPECT_EQ(title["drawingType"], "設計図");
  EXPECT_EQ(title["officeName"], "東京事務所");
  EXPECT_EQ(title["year"], 2005);
  EXPECT_EQ(title["month"], 4);
  EXPECT_EQ(title["day"], 1);
  EXPECT_EQ(doc["setDefinitions"], Json::parse(R"([
      {"id": "1", "name": "道路施設", "version": "1.0", "designer": "設計課"},
      {"id": "2", "name": "標識", "version": "2.1", "designer": "交通課"}])"));

  // Ten title elements, the road, the sign, raster, contour and the two copies; the layer has no
  // figure and the deleted pole is gone after the commit.
  std::vector<unsigned> handles;
  for (const Json& fig : doc["figures"]) handles.push_back(fig["handle"]);
  EXPECT_EQ(handles, (std::vector<unsigned>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13, 15, 16, 17, 18}));
  EXPECT_EQ(FigureOf(doc, 3)["attr"]["name"], "表題_図面名1");
  EXPECT_EQ(FigureOf(doc, 9)["attr"]["name"], "表題_年月日2");

  // The redone width stays, the reference to the deleted pole went at the commit, and the copy
  // of the road references the copy of the sign.
  const Json& road = FigureOf(doc, 12);
  EXPECT_EQ(road["name"], "車道中心線");
  const Json* width = AttrNamed(road["attr"]["setRefs"][0], "幅員");
  ASSERT_NE(width, nullptr);
  EXPECT_EQ((*width)["value"], "9.0");
  EXPECT_EQ(TargetsOf(road), (std::vector<std::string>{"13"}));
  EXPECT_EQ(TargetsOf(FigureOf(doc, 17)), (std::vector<std::string>{"18"}));
  EXPECT_EQ(road["attr"]["setRefs"][0]["groups"][0]["name"], "舗装");

  const Json& raster = FigureOf(doc, 15);
  EXPECT_EQ(raster["attrType"], 0);
  EXPECT_EQ(raster["image"]["value"], "/srv/drawings/images/aerial.tif");
  EXPECT_EQ(raster["image"]["zukeiName"], "航空写真");
  const Json& contour = FigureOf(doc, 16);
  EXPECT_EQ(contour["contour"]["value"], "13.25");
  EXPECT_EQ(contour["contour"]["unit"], "m");
  EXPECT_EQ(contour["contour"]["zukeiName"], "等高線A");
}

TEST_F(SamplesTest, OldLayoutSampleReadsAsBuilt) {
  const Json doc = DumpJson(SamplePath(kOldSample));
  EXPECT_EQ(doc["section"], Json::parse(R"({"version": 8192, "layout": "old"})"));
  // The second, empty copy of the project name keeps the first.
  EXPECT_EQ(doc["title"]["projectName"], "旧道路改良事業");
  EXPECT_EQ(doc["title"]["drawingNumber"], "7$$9");
  EXPECT_EQ(doc["title"]["year"], 2004);
  EXPECT_EQ(doc["setDefinitions"].size(), 2u);
  ASSERT_EQ(doc["figures"].size(), 4u);
  EXPECT_EQ(TargetsOf(FigureOf(doc, 1)), (std::vector<std::string>{"2"}));
  EXPECT_EQ(FigureOf(doc, 3)["attr"]["value"], "コンクリート");
  EXPECT_EQ(FigureOf(doc, 4)["contour"]["value"], "8.0000");
}

TEST_F(SamplesTest, DumpViewsAgreeWithTheDocument) {
  const std::string sample = SamplePath(kNewSample);
  const ToolResult text = RunTool({"dump", sample});
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_EQ(RunTool({"dump"}).out, text.out) << "dump without FILE shows the first sample";
  EXPECT_NE(text.out.find("target -> handle 18 memo \"標識\""), std::string::npos);

  const Json doc = DumpJson(sample);
  const ToolResult one = RunTool({"dump", "--json", "--handle", "0x11", sample});
  ASSERT_EQ(one.status, 0) << one.err;
  EXPECT_EQ(Json::parse(one.out), FigureOf(doc, 17));

  const ToolResult summary = RunTool({"dump", "--json", "--summary", sample});
  ASSERT_EQ(summary.status, 0) << summary.err;
  const Json counts = Json::parse(summary.out);
  EXPECT_FALSE(counts.contains("figures"));
  EXPECT_EQ(counts["figureCount"], 16);
  EXPECT_EQ(counts["figuresByAttrType"], Json::parse(R"([{"attrType": 0, "count": 2},
      {"attrType": 1, "count": 4}, {"attrType": 3, "count": 10}])"));
  EXPECT_EQ(counts["figuresWithContour"], 1);
  EXPECT_EQ(counts["figuresWithImage"], 1);
}
