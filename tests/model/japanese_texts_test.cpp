#include "model/japanese_texts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "support/sjis_text.h"

namespace {

// Each fixed text, spelt as escaped Shift-JIS bytes, must be exactly what its UTF-8 spelling
// converts to; a slip in one escaped byte would make the plug-in miss a name it looks for.
TEST(JapaneseTexts, EscapedBytesMatchTheirSpelling) {
  std::set<std::string> seen;
  for (const JapaneseTextSpelling& text : kJapaneseTextSpellings) {
    SCOPED_TRACE(text.utf8);
    ASSERT_NE(text.bytes, nullptr);
    EXPECT_EQ(std::string(text.bytes), Sjis(text.utf8));
    EXPECT_TRUE(seen.insert(text.bytes).second) << "listed twice";
  }
}

}  // namespace
