// check lists what a user should fix, one line each, and exits 3; a clean section gives 0.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "model/figure.h"
#include "persist/old_section_writer.h"
#include "platform/cfile.h"
#include "tool/tool_runner.h"

using Json = nlohmann::ordered_json;

namespace {

bool HasLine(const std::string& out, const std::string& line) {
  return ("\n" + out).find("\n" + line + "\n") != std::string::npos;
}

}  // namespace

class CheckTest : public ToolTest {};

TEST_F(CheckTest, CleanSamplesPass) {
  for (const char* sample : {"demo_new_layout.sxfattr", "demo_old_layout.sxfattr"}) {
    const ToolResult r = RunTool({"check", SamplePath(sample)});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(r.out, "");
  }
}

TEST_F(CheckTest, ListsWhatToFix) {
  Json doc = Json::parse(RunTool({"dump", "--json", SamplePath("demo_new_layout.sxfattr")}).out);
  // A year the title keeps when it is saved but that no title date can show.
  doc["title"]["year"] = 1902;
  doc["title"]["officeName"] = Json::parse(R"({"sjis": "8140ff"})");
  Json& figures = doc["figures"];
  figures.push_back(Json::parse(R"({"handle": 40, "name": "", "attrType": 1, "attr": {"setRefs": []},
                                    "contour": null, "image": null})"));
  figures.push_back(Json::parse(R"({"handle": 41, "name": "", "attrType": 1, "attr": {"setRefs": [
      {"name": "7", "attrs": [], "groups": [{"name": "g", "groups": [], "attrs": [
        {"name": "ターゲット", "type": "INN", "unit": "", "kind": 10, "value": "12x", "zukeiName": ""},
        {"name": "ターゲット", "type": "INN", "unit": "", "kind": 10, "value": "4294967295", "zukeiName": ""},
        {"name": "ターゲット", "type": "INN", "unit": "", "kind": 10, "value": "4294967296", "zukeiName": ""},
        {"name": "x", "type": "", "unit": "", "kind": 10, "value": {"sjis": "e0"}, "zukeiName": ""}]}]}]},
      "contour": null, "image": null})"));
  WriteBytes(Path("doc.json"), doc.dump());
  ASSERT_EQ(RunTool({"import", Path("doc.json"), Path("bad")}).status, 0);

  const ToolResult r = RunTool({"check", Path("bad")});
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.ErrLines(), 1) << r.err;
  EXPECT_NE(r.err.find("7 problems"), std::string::npos) << r.err;
  const std::string file = Path("bad") + ": ";
  EXPECT_TRUE(HasLine(r.out, file + "title.officeName is not valid Shift-JIS (bytes 8140ff)")) << r.out;
  EXPECT_TRUE(HasLine(r.out, file + "title: the date 1902-04-01 does not read back as a title date"))
      << r.out;
  EXPECT_TRUE(HasLine(r.out, file + "handle 40: attribute-file figure without any set reference")) << r.out;
  EXPECT_TRUE(HasLine(r.out, file +
                                 "handle 41: attr.setRefs[0] names set definition \"7\", which the section "
                                 "does not store"))
      << r.out;
  const std::string target = file + "handle 41: attr.setRefs[0].groups[0].attrs[";
  EXPECT_TRUE(HasLine(r.out, target + "0] is a target attribute whose handle \"12x\" is not a number"))
      << r.out;
  EXPECT_TRUE(
      HasLine(r.out, target + "2] is a target attribute whose handle \"4294967296\" is not a number"));
  EXPECT_TRUE(HasLine(r.out, target + "3].value is not valid Shift-JIS (bytes e0)")) << r.out;
}

TEST_F(CheckTest, RepeatedHandlesInAnOldSection) {
  // An old section storing handle 7 twice: the reader keeps one figure and warns; check says
  // where both records are.
  SxfZCdbFigure first, second;
  first.SetName("first");
  second.SetName("second");
  const auto section = [](const std::vector<OldSectionEntry>& entries) {
    CMemFile file;
    EXPECT_EQ(WriteOldSection(&file, 0x1000, SxfTitleInfo(), {}, entries), 1);
    return std::string(reinterpret_cast<const char*>(file.Data()), file.GetLength());
  };
  // Each entry starts where the end marker (4 bytes) of the section without it would.
  const size_t offsets[] = {section({}).size() - 4, section({{7, &first, ""}}).size() - 4};
  WriteBytes(Path("twice"), section({{7, &first, ""}, {7, &second, ""}}));

  const ToolResult dump = RunTool({"dump", "--json", Path("twice")});
  EXPECT_EQ(dump.status, 0) << dump.err;
  EXPECT_EQ(dump.err, "sxfattr: " + Path("twice") +
                          ": SXF属性が正しい図形に設定されていない可能性があります。 [ SXF-属性確認 ] "
                          "ｺﾏﾝﾄﾞで確認してください。\n")
      << "the plug-in's warning, shown as text";
  EXPECT_EQ(Json::parse(dump.out)["figures"][0]["name"], "first");

  const ToolResult r = RunTool({"check", Path("twice")});
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.out, Path("twice") + ": at byte " + std::to_string(offsets[1]) +
                       ": handle 7 already has a figure record at byte " + std::to_string(offsets[0]) +
                       "; the reader keeps only one of them\n");
}
