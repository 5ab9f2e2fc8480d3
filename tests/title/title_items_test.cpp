#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "attrdb/attrdb.h"
#include "support/sjis_text.h"
#include "title/title_id.h"

namespace {

SXF_TTL_ID Srch(const std::string& utf8) {
  return SxfZCdbAttrDB::SrchTitleId(Sjis(utf8).c_str());
}

TEST(TitleItems, SrchTitleIdAcceptsOnlyWholeItemNamesAsPrefixComparedByteForByte) {
  // Three items share "表題_図面"; each must be told apart by the rest of its name.
  const std::pair<const char*, SXF_TTL_ID> cases[] = {
      {"表題_図面名", SXF_TTL_DRAWING_NAME},
      {"表題_図面名2", SXF_TTL_DRAWING_NAME},
      {"表題_図面名XYZ", SXF_TTL_DRAWING_NAME},
      {"表題_図面番号3", SXF_TTL_DRAWING_NUMBER},
      {"表題_図面総数", SXF_TTL_DRAWING_TOTAL},
      {"表題_図面種別1", SXF_TTL_DRAWING_TYPE},
      {"表題_図面", SXF_TTL_ID(0)},
      {"図面名", SXF_TTL_ID(0)},
      {"", SXF_TTL_ID(0)},
      {"表題＿図面名", SXF_TTL_ID(0)},  // full-width low line instead of "_"
  };
  for (const auto& [name, id] : cases) EXPECT_EQ(Srch(name), id) << name;

  // 表 is 0x95 0x5C: its second byte is an ASCII backslash, which must be compared as a plain
  // byte, neither skipped nor treated as an escape.
  std::string name = Sjis("表題_尺度");
  ASSERT_EQ(name.substr(0, 2), std::string("\x95\x5C"));
  EXPECT_EQ(SxfZCdbAttrDB::SrchTitleId(name.c_str()), SXF_TTL_SCALE);

  std::string otherTrail = name;
  otherTrail[1] = '/';
  EXPECT_EQ(SxfZCdbAttrDB::SrchTitleId(otherTrail.c_str()), 0);

  std::string otherLead = name;
  otherLead[0] = '\x96';  // another kanji that ends in 0x5C
  EXPECT_EQ(SxfZCdbAttrDB::SrchTitleId(otherLead.c_str()), 0);

  EXPECT_EQ(SxfZCdbAttrDB::SrchTitleId("\x95\x5C"), 0);
  EXPECT_EQ(SxfZCdbAttrDB::SrchTitleId("\\"), 0);
}

}  // namespace
