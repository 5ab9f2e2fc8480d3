// recover keeps exactly what a damaged section still holds whole: the figures of the entries that
// read, and no others, each as it was.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <nlohmann/json.hpp>

#include "tool/tool_runner.h"

using Json = nlohmann::ordered_json;

namespace {

// The figures of a section as `dump --json` shows them, by handle.
std::map<unsigned, Json> FiguresOf(const std::string& path) {
  const ToolResult r = RunTool({"dump", "--json", path});
  EXPECT_EQ(r.status, 0) << r.err;
  const Json doc = Json::parse(r.out);
  std::map<unsigned, Json> figures;
  for (const Json& fig : doc["figures"]) figures[fig["handle"].get<unsigned>()] = fig;
  return figures;
}

// The record handle of the attribute entry at offset (its handle block comes first).
unsigned HandleAt(const std::string& section, size_t offset) {
  uint32_t handle = 0;
  std::memcpy(&handle, section.data() + offset + 8 + 8, 4);
  return handle;
}

class RecoverTest : public ToolTest {
 protected:
  void SetUp() override {
    ToolTest::SetUp();
    sample = ReadBytes(SamplePath("demo_new_layout.sxfattr"));
    all = FiguresOf(SamplePath("demo_new_layout.sxfattr"));
    entries = EntryOffsets(sample);
    ASSERT_GT(entries.size(), 6u);
  }
  // Recovers bytes; expects status and that the output holds exactly the figures of keep, each
  // as the sample holds it.
  ToolResult Recover(const std::string& bytes, int status, const std::vector<unsigned>& keep) {
    WriteBytes(Path("in"), bytes);
    const ToolResult r = RunTool({"recover", Path("in"), Path("out")});
    EXPECT_EQ(r.status, status) << r.err;
    std::map<unsigned, Json> expected;
    for (unsigned handle : keep) expected[handle] = all.at(handle);
    EXPECT_EQ(FiguresOf(Path("out")), expected);
    return r;
  }
  std::vector<unsigned> HandlesBefore(size_t entry) const {
    std::vector<unsigned> handles;
    for (size_t i = 0; i < entry; ++i) {
      if (sample[entries[i]] == 102) handles.push_back(HandleAt(sample, entries[i]));
    }
    return handles;
  }

  std::string sample;
  std::map<unsigned, Json> all;
  std::vector<size_t> entries;
};

TEST_F(RecoverTest, AnIntactSectionComesOutAsConvertWritesIt) {
  WriteBytes(Path("in"), sample);
  ASSERT_EQ(RunTool({"recover", Path("in"), Path("out")}).status, 0);
  ASSERT_EQ(RunTool({"convert", Path("in"), Path("converted")}).status, 0);
  EXPECT_EQ(ReadBytes(Path("out")), ReadBytes(Path("converted")));
}

TEST_F(RecoverTest, ACutSectionKeepsTheEntriesBeforeTheCut) {
  for (size_t entry : {entries.size() - 1, entries.size() / 2}) {
    SCOPED_TRACE(entry);
    // Cut inside the entry: its block runs past the end, and nothing after it can be read.
    const ToolResult r = Recover(sample.substr(0, entries[entry] + 12), 3, HandlesBefore(entry));
    EXPECT_NE(r.out.find("at byte " + std::to_string(entries[entry]) + ": the entry of tag 102 is cut short"),
              std::string::npos)
        << r.out;
  }
}

TEST_F(RecoverTest, ADamagedEntryIsSteppedOverByItsLength) {
  // The figure block inside one entry claims more than the entry holds: that entry goes, every
  // other one stays, the title too.
  const size_t entry = entries.size() / 2;
  ASSERT_EQ(sample[entries[entry]], 102);
  std::string damaged = sample;
  const size_t figureBlockLength = entries[entry] + 8 + 12 + 4;  // after the handle block, the tag
  const uint32_t huge = 0x7FFFFFF0;
  std::memcpy(&damaged[figureBlockLength], &huge, 4);
  std::vector<unsigned> keep;
  for (const auto& [handle, fig] : all) {
    if (handle != HandleAt(sample, entries[entry])) keep.push_back(handle);
  }
  const ToolResult r = Recover(damaged, 3, keep);
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out;
  EXPECT_NE(r.out.find("at byte " + std::to_string(entries[entry]) +
                       ": entry of tag 102 does not read: it ends "
                       "early; the entry is dropped"),
            std::string::npos)
      << r.out;
  auto title = [](const std::string& path) {
    return Json::parse(RunTool({"dump", "--json", path}).out)["title"];
  };
  EXPECT_EQ(title(Path("out")), title(SamplePath("demo_new_layout.sxfattr")));
}

TEST_F(RecoverTest, OldLayoutStopsAtItsFirstDamagedRecordAndNothingReadableIsAnError) {
  const std::string old = ReadBytes(SamplePath("demo_old_layout.sxfattr"));
  const std::map<unsigned, Json> oldFigures = FiguresOf(SamplePath("demo_old_layout.sxfattr"));
  // The last figure record, cut: the three before it stay.
  WriteBytes(Path("in"), old.substr(0, old.size() - 20));
  const ToolResult r = RunTool({"recover", Path("in"), Path("out")});
  EXPECT_EQ(r.status, 3) << r.err;
  std::map<unsigned, Json> expected = oldFigures;
  expected.erase(std::prev(expected.end()));
  EXPECT_EQ(FiguresOf(Path("out")), expected);

  for (const std::string& unreadable :
       {std::string("\1\2"), std::string("\0\x28\0\0", 4), old.substr(0, 30)}) {
    WriteBytes(Path("in"), unreadable);
    WriteBytes(Path("out"), "kept");
    const ToolResult bad = RunTool({"recover", Path("in"), Path("out")});
    EXPECT_EQ(bad.status, 1) << bad.err;
    EXPECT_EQ(bad.ErrLines(), 1) << bad.err;
    EXPECT_EQ(ReadBytes(Path("out")), "kept");
  }
}

}  // namespace
