// import and convert write the same section for the same content, and a document survives a trip
// through a section file unchanged.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tool/tool_runner.h"

using Json = nlohmann::ordered_json;

class RoundTripTest : public ToolTest {
 protected:
  std::string Dump(const std::string& path) {
    const ToolResult r = RunTool({"dump", "--json", path});
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out;
  }
  void Run(const std::vector<std::string>& args) {
    const ToolResult r = RunTool(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
  }
};

TEST_F(RoundTripTest, ImportOfADumpWritesWhatConvertWrites) {
  for (const char* sample : {"demo_new_layout.sxfattr", "demo_old_layout.sxfattr"}) {
    SCOPED_TRACE(sample);
    const std::string in = SamplePath(sample);
    WriteBytes(Path("doc.json"), Dump(in));
    Run({"convert", in, Path("converted")});
    Run({"import", Path("doc.json"), Path("imported")});
    const std::string converted = ReadBytes(Path("converted"));
    ASSERT_GT(converted.size(), 4u);
    EXPECT_EQ(converted.substr(0, 4), std::string("\x00\x30\x00\x00", 4)) << "always the new layout";
    EXPECT_EQ(ReadBytes(Path("imported")), converted);

    // The converted file holds the same content; only the section version changes.
    Json before = Json::parse(ReadBytes(Path("doc.json")));
    Json after = Json::parse(Dump(Path("converted")));
    EXPECT_EQ(after["section"]["layout"], "new");
    before.erase("section");
    after.erase("section");
    EXPECT_EQ(after, before);
  }
}

// Texts that are no valid Shift-JIS travel as bytes (also a duplicate character of the code page,
// 0x8790, which decodes but encodes back to other bytes), every attribute type and slot keeps its
// place, extreme numbers survive, and figures listed out of order come
// back sorted.
TEST_F(RoundTripTest, DocumentComesBackFromItsSection) {
  Json doc = Json::parse(R"({
    "format": "sxfattr-dump", "formatVersion": 1,
    "section": {"version": 12288, "layout": "new"},
    "title": {"projectName": "事業", "constructionName": {"sjis": "82a0ff"}, "contractClass": "",
              "drawingName": "A$$B", "drawingNumber": "12$$30", "drawingType": "", "scale": {"sjis": "8790"},
              "year": 2100, "month": 12, "day": 31, "companyName": "ｻﾝﾌﾟﾙ", "officeName": "\u0001tab\there"},
    "setDefinitions": [{"id": "7", "name": "set", "version": "", "designer": {"sjis": "87"}},
                       {"id": "2", "name": "セット", "version": "1", "designer": "d"}],
    "figures": [
      {"handle": 4294967294, "name": "last", "attrType": 3, "attr": {"name": "表題_尺度", "type": "", "unit": ""},
       "contour": null, "image": null},
      {"handle": 0, "name": "", "attrType": 2,
       "attr": {"name": "n", "type": "STR", "unit": "", "kind": -2147483648, "value": "", "zukeiName": "z"},
       "contour": {"name": "等高線", "type": "LEN", "unit": "m", "kind": 10, "value": "1.5", "zukeiName": ""},
       "image": {"name": "画像", "type": "STR", "unit": "", "kind": 2147483647, "value": "a.tif", "zukeiName": "i"}},
      {"handle": 9, "name": {"sjis": "a0e0"}, "attrType": 1, "attr": {"setRefs": [
         {"name": "7", "attrs": [{"name": "ターゲット", "type": "INN", "unit": "", "kind": 10, "value": "0",
                                 "zukeiName": "memo"}], "groups": []},
         {"name": "2", "attrs": [], "groups": []}]},
       "contour": null, "image": null},
      {"handle": 5, "name": "", "attrType": 0, "attr": null, "contour": null, "image": null}
    ]})");
  WriteBytes(Path("in.json"), doc.dump(1));
  Run({"import", Path("in.json"), Path("section")});

  Json expected = doc;
  expected["figures"] =
      Json::array({doc["figures"][1], doc["figures"][3], doc["figures"][2], doc["figures"][0]});
  // Definitions come back in ascending id order.
  expected["setDefinitions"] = Json::array({doc["setDefinitions"][1], doc["setDefinitions"][0]});
  EXPECT_EQ(Json::parse(Dump(Path("section"))), expected);
}
