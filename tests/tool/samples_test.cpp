// The committed samples are what the demo writes, and the dump views agree with each other.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "tool/tool_runner.h"

using Json = nlohmann::ordered_json;

namespace {

const char kNewSample[] = "demo_new_layout.sxfattr";

}  // namespace

class SamplesTest : public ToolTest {};

TEST_F(SamplesTest, DemoWritesTheCommittedSamplesAgain) {
  const ToolResult r = RunTool({"demo", Path("out/demo")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  for (const char* name : {kNewSample, "demo_new_layout_rev2.sxfattr", "demo_old_layout.sxfattr"}) {
    const std::string written = ReadBytes(Path(std::string("out/demo/") + name));
    ASSERT_FALSE(written.empty()) << name;
    EXPECT_EQ(written, ReadBytes(SamplePath(name))) << name << " differs from the committed sample";
  }
}

TEST_F(SamplesTest, DumpViewsAgreeWithTheDocument) {
  const std::string sample = SamplePath(kNewSample);
  const ToolResult text = RunTool({"dump", sample});
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_EQ(RunTool({"dump"}).out, text.out) << "dump without FILE shows the first sample";
  EXPECT_NE(text.out.find("target -> handle 18 memo \"標識\""), std::string::npos);

  const Json doc = Json::parse(RunTool({"dump", "--json", sample}).out);
  const ToolResult one = RunTool({"dump", "--json", "--handle", "0x11", sample});
  ASSERT_EQ(one.status, 0) << one.err;
  const Json& figures = doc["figures"];
  auto figure17 =
      std::find_if(figures.begin(), figures.end(), [](const Json& f) { return f["handle"] == 17; });
  ASSERT_NE(figure17, figures.end());
  EXPECT_EQ(Json::parse(one.out), *figure17);

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
