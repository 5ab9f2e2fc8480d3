// The zip reader that a workbook passes before it may replace an output: a whole workbook reads
// with every part intact, and a file that a full disk or a damaged byte left behind is refused.
#include "zip_check.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <map>
#include <string>

#include "section_loader.h"
#include "tool/tool_runner.h"
#include "workbook_output.h"

namespace {

struct Parts : ZipEntryVisitor {
  std::map<std::string, std::string> parts;
  std::string* current = nullptr;
  int ended = 0;
  void BeginEntry(const std::string& name) override { current = &parts[name]; }
  void EntryData(const char* data, size_t size) override { current->append(data, size); }
  void EndEntry() override { ++ended; }
};

class ZipCheckTest : public ToolTest {};

TEST_F(ZipCheckTest, AcceptsAWholeWorkbookAndRefusesEveryCutAndDamage) {
  const LoadedSection section = LoadSectionFile(SamplePath("demo_new_layout.sxfattr"));
  WriteWorkbookFile(Path("whole.xlsx"), section.Content());
  const std::string whole = ReadBytes(Path("whole.xlsx"));

  Parts read;
  ASSERT_EQ("", ReadZipFile(Path("whole.xlsx"), &read));
  EXPECT_EQ(static_cast<int>(read.parts.size()), read.ended);
  const std::string& attributes = read.parts["xl/worksheets/sheet3.xml"];
  EXPECT_NE(std::string::npos, attributes.find("車道中心線")) << attributes;
  EXPECT_EQ(attributes.size() - std::string("</worksheet>").size(), attributes.rfind("</worksheet>"));

  const std::string cut = Path("cut.xlsx");
  for (size_t k = 0; k < whole.size(); ++k) {
    unlink(cut.c_str());  // rewriting a file in place may make the file system flush it each time
    WriteBytes(cut, whole.substr(0, k));
    ASSERT_NE("", ReadZipFile(cut, nullptr)) << "prefix of " << k << " bytes";
  }
  WriteBytes(cut, whole + "x");
  EXPECT_EQ("no end record", ReadZipFile(cut, nullptr));

  // A byte inside the deflated data of the attributes sheet: the CRC or the stream itself fails.
  const size_t name = whole.find("xl/worksheets/sheet3.xml");
  ASSERT_NE(std::string::npos, name);
  std::string damaged = whole;
  damaged[name + 24 + 40] ^= 0x01;
  WriteBytes(cut, damaged);
  EXPECT_EQ(0u, ReadZipFile(cut, nullptr).find("entry xl/worksheets/sheet3.xml: "))
      << ReadZipFile(cut, nullptr);
}

}  // namespace
