// Every failure ends with its exit status and one line on standard error that says where and
// what, and no failure leaves an output file behind or touches an existing one.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "tool/tool_runner.h"

using Json = nlohmann::ordered_json;

namespace {

const std::string kExisting = "an existing output file";

}  // namespace

class ErrorsTest : public ToolTest {
 protected:
  // Runs args, expects status and one line on standard error naming file and holding every
  // part of wanted; checks that the output at out was not created or changed.
  void ExpectFailure(const std::vector<std::string>& args, int status, const std::string& file,
                     const std::vector<std::string>& wanted, const std::string& out = "") {
    if (!out.empty()) WriteBytes(out, kExisting);
    const ToolResult r = RunTool(args);
    EXPECT_EQ(r.status, status) << r.err;
    EXPECT_EQ(r.ErrLines(), 1) << r.err;
    EXPECT_EQ(r.err.rfind("sxfattr: ", 0), 0u) << r.err;
    if (!file.empty()) {
      EXPECT_NE(r.err.find(file), std::string::npos) << r.err;
    }
    for (const std::string& part : wanted)
      EXPECT_NE(r.err.find(part), std::string::npos) << part << " in " << r.err;
    if (!out.empty()) {
      EXPECT_EQ(ReadBytes(out), kExisting) << "the existing output was touched";
      // Nothing else in the folder: no temporary file was left beside the output.
      for (const std::string& name : Files()) EXPECT_EQ(name.find(".tmp-"), std::string::npos) << name;
    }
  }
};

TEST_F(ErrorsTest, MissingInput) {
  const std::string missing = Path("no-such-file");
  ExpectFailure({"dump", missing}, 1, missing, {"No such file"});
  ExpectFailure({"import", missing, Path("out")}, 1, missing, {}, Path("out"));
  ExpectFailure({"convert", missing, Path("fresh")}, 1, missing, {});
  EXPECT_FALSE(std::filesystem::exists(Path("fresh")));
}

TEST_F(ErrorsTest, DamagedSectionsNameTheByteWhereTheyFail) {
  // The seventh entry's block claims 5 bytes: its attribute entry then breaks off inside.
  std::string bytes = ReadBytes(SamplePath("demo_new_layout.sxfattr"));
  const std::vector<size_t> entries = EntryOffsets(bytes);
  ASSERT_GT(entries.size(), 7u);
  const uint32_t five = 5;
  std::memcpy(&bytes[entries[6] + 4], &five, 4);
  WriteBytes(Path("damaged"), bytes);
  ExpectFailure({"convert", Path("damaged"), Path("out")}, 1, Path("damaged"),
                {"at byte " + std::to_string(entries[6]) + ": ", "102"}, Path("out"));

  // Bytes after the end of the section.
  WriteBytes(Path("long"), ReadBytes(SamplePath("demo_new_layout.sxfattr")) + "xyz");
  ExpectFailure({"dump", Path("long")}, 1, Path("long"),
                {"at byte " + std::to_string(bytes.size()), "3 bytes follow the end of the section"});

  // A version the reader does not know.
  bytes = ReadBytes(SamplePath("demo_new_layout.sxfattr"));
  bytes.replace(0, 4, std::string("\x00\x28\x00\x00", 4));
  WriteBytes(Path("v2800"), bytes);
  ExpectFailure({"convert", Path("v2800"), Path("out")}, 1, Path("v2800"), {"at byte 0: ", "0x2800"},
                Path("out"));
}

TEST_F(ErrorsTest, DocumentsThatDoNotFitTheSchema) {
  const ToolResult dumped = RunTool({"dump", "--json", SamplePath("demo_new_layout.sxfattr")});
  ASSERT_EQ(dumped.status, 0);
  const Json good = Json::parse(dumped.out);
  const std::string doc = Path("doc.json");
  // Each case: where to change the dumped document, the new value (null: remove the member),
  // and what the message must hold.
  const struct {
    const char* at;
    Json value;
    std::vector<std::string> wanted;
  } cases[] = {
      {"/figures/10/attr/setRefs/0/groups/0/attrs/0/zukeiName",
       nullptr,
       {"figures[10].attr.setRefs[0].groups[0].attrs[0]: ", "missing member \"zukeiName\""}},
      {"/figures/0/colour", "red", {"figures[0]: unknown member \"colour\""}},
      {"/figures/0/attrType", "3", {"figures[0].attrType: expected an integer"}},
      {"/figures/1/name", "😀", {"figures[1].name: ", "Shift-JIS"}},
      {"/figures/2/handle", 12, {"handle 12 is listed twice", "figures[10]"}},
      {"/setDefinitions/1/id", "01", {"setDefinitions[1]: ", "setDefinitions[0]"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.at);
    Json bad = good;
    const Json::json_pointer at(c.at);
    if (c.value.is_null())
      bad[at.parent_pointer()].erase(at.back());
    else
      bad[at] = c.value;
    WriteBytes(doc, bad.dump());
    ExpectFailure({"import", doc, Path("out")}, 1, doc, c.wanted, Path("out"));
  }

  WriteBytes(doc, dumped.out.substr(0, 100));
  ExpectFailure({"import", doc, Path("out")}, 1, doc, {"at byte ", "not valid JSON"}, Path("out"));
}

TEST_F(ErrorsTest, UsageErrors) {
  ExpectFailure({}, 2, "", {"--help"});
  ExpectFailure({"convert", SamplePath("demo_new_layout.sxfattr")}, 2, "", {"OUT"});
  ExpectFailure({"dump", "--handle", "12x", SamplePath("demo_new_layout.sxfattr")}, 2, "", {"12x"});
  ExpectFailure({"dump", "--handle", "99", SamplePath("demo_new_layout.sxfattr")}, 1, "", {"handle 99"});

  const ToolResult help = RunTool({"import", "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("Usage"), std::string::npos);
}

TEST_F(ErrorsTest, SuccessReplacesAnExistingOutput) {
  WriteBytes(Path("out"), kExisting);
  const ToolResult r = RunTool({"convert", SamplePath("demo_old_layout.sxfattr"), Path("out")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Files(), std::vector<std::string>{"out"});
  EXPECT_EQ(ReadBytes(Path("out")).substr(0, 4), std::string("\x00\x30\x00\x00", 4));
}
