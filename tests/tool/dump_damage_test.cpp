// `sxfattr dump` over every damaged form of the committed samples: each proper prefix, and each
// byte changed by +1 and by XOR 0xFF. The command's reading and printing run in-process (one
// program run per input would take minutes): a damaged section must either print as text and as
// JSON, or be refused with the documented "<file>: at byte <n>: <what>" line naming a byte inside
// the input. A cut section is never whole, so every prefix is refused. dump --summary, which
// counts the figures without keeping them, must print what the full read counts, or refuse with
// the same line.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "json_document.h"
#include "section_loader.h"
#include "text_view.h"
#include "tool/tool_runner.h"
#include "tool_error.h"

namespace {

struct Tally {
  int printed = 0;
  int refused = 0;
};

// The tallies of figures kept by a full read, in their order.
FigureTallies TalliesOf(const std::vector<FigureRef>& figures) {
  FigureTallies tallies;
  for (const FigureRef& ref : figures) {
    tallies.push_back({ref.handle, FigureTally{ref.figure->GetAttrType(), ref.figure->contour != nullptr,
                                               ref.figure->image != nullptr}});
  }
  return tallies;
}

// What dump --summary prints of bytes, which counts the figures without keeping them, or the
// message it refuses them with.
std::string Summary(const std::string& bytes, std::vector<std::string>* messages) {
  try {
    const SectionTally counted = TallySection("damaged", std::vector<BYTE>(bytes.begin(), bytes.end()));
    std::ostringstream out;
    WriteSummaryText(out, counted.head, counted.figures);
    *messages = counted.messages;
    return out.str();
  } catch (const ToolError& e) {
    return e.what();
  }
}

// Dumps bytes as the dump command does; false with the message checked when the tool refuses.
// The summary, read without keeping figures, must say what the full read says.
bool Dumps(const std::string& bytes, Tally& tally) {
  std::vector<std::string> summaryMessages;
  const std::string summary = Summary(bytes, &summaryMessages);
  try {
    const LoadedSection section = LoadSection("damaged", std::vector<BYTE>(bytes.begin(), bytes.end()));
    const SectionContent content = section.Content();
    std::ostringstream out;
    WriteTextView(out, content, nullptr);
    WriteJsonDocument(out, content, nullptr);
    std::ostringstream summarized;
    WriteSummaryText(summarized, content, TalliesOf(content.figures));
    EXPECT_EQ(summarized.str(), summary);
    EXPECT_EQ(section.messages, summaryMessages);
    ++tally.printed;
    return true;
  } catch (const ToolError& e) {
    EXPECT_EQ(e.what(), summary);
    const std::string message = e.what();
    const std::string prefix = "damaged: at byte ";
    EXPECT_EQ(kExitInput, e.Status()) << message;
    EXPECT_EQ(0u, message.find(prefix)) << message;
    EXPECT_EQ(std::string::npos, message.find('\n')) << message;
    const size_t offset = std::stoul(message.substr(prefix.size()));
    EXPECT_LE(offset, bytes.size()) << message;
    ++tally.refused;
    return false;
  }
}

TEST(DumpDamage, EveryPrefixAndEveryChangedByteOfTheSamples) {
  for (const char* sample : {"demo_new_layout.sxfattr", "demo_old_layout.sxfattr"}) {
    const std::string bytes = ReadBytes(SamplePath(sample));
    ASSERT_FALSE(bytes.empty()) << sample;
    Tally tally;
    EXPECT_TRUE(Dumps(bytes, tally)) << sample;
    for (size_t length = 0; length < bytes.size(); ++length) {
      EXPECT_FALSE(Dumps(bytes.substr(0, length), tally)) << sample << " cut to " << length;
    }
    for (size_t i = 0; i < bytes.size(); ++i) {
      for (const int change : {0, 1}) {
        std::string damaged = bytes;
        damaged[i] = static_cast<char>(change == 0 ? damaged[i] + 1 : damaged[i] ^ 0xFF);
        Dumps(damaged, tally);
      }
    }
    std::printf("[ dump     ] %s: %zu bytes, %d printed, %d refused\n", sample, bytes.size(), tally.printed,
                tally.refused);
  }
}

}  // namespace
