#include <gtest/gtest.h>

#include "host/zcdb_elm.h"
#include "host/zcdb_rec.h"
#include "host/zgelm.h"
#include "support/sjis_text.h"
#include "title/title_strings.h"

namespace {

TEST(TitleText, OnlyStringFiguresOfElementRecordsShowATitleText) {
  const std::string text = Sjis("平成17年4月1日");
  ZCdbElm kind8(new ZString(text.c_str(), ZPt(10, 20)), 8);
  ZCdbElm kind9(new ZString("12", ZPt(0, 0)), 9);
  EXPECT_EQ(SXF_GetTitleText(&kind8).str(), text);
  EXPECT_EQ(SXF_GetTitleText(&kind9), "12");

  // A text figure carries a text too, but it is not a title element's kind of figure.
  ZCdbElm textFigure(new ZText("not a title"), 8);
  ZCdbElm line(new ZLine(ZPt(0, 0), ZPt(1, 1)), 8);
  ZCdbElm empty(nullptr, 8);
  ZCdbTbl table;
  for (ZCdbRecBase* rec : {static_cast<ZCdbRecBase*>(&textFigure), static_cast<ZCdbRecBase*>(&line),
                           static_cast<ZCdbRecBase*>(&empty), static_cast<ZCdbRecBase*>(&table)}) {
    EXPECT_TRUE(SXF_GetTitleText(rec).IsEmpty()) << static_cast<int>(rec->GetRecKind());
  }
}

}  // namespace
