#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "attrdb/attrdb.h"
#include "host/host.h"

namespace {

struct Strings {
  std::vector<std::unique_ptr<ZCdbElm>> owned;
  ZCdbElm* At(double y) {
    owned.push_back(std::make_unique<ZCdbElm>(new ZString("t", ZPt(0, y))));
    return owned.back().get();
  }
};

std::vector<ZCdbRecBase*> Ordered(std::vector<ZCdbRecBase*> in) {
  CArray<ZCdbRecBase*, ZCdbRecBase*> recs;
  for (ZCdbRecBase* r : in) recs.Add(r);
  SxfZCdbAttrDB::SetTitleOrder(recs);
  return std::vector<ZCdbRecBase*>(recs.GetData(), recs.GetData() + recs.GetSize());
}

TEST(TitleOrder, StringElementsRunFromTopToBottomAndOthersAreDropped) {
  Strings s;
  ZCdbElm* y10 = s.At(10);
  ZCdbElm* y30 = s.At(30);
  ZCdbElm* y20 = s.At(20);
  ZCdbElm line(new ZLine(ZPt(0, 50), ZPt(1, 50)));
  ZCdbElm text(new ZText("t"));
  ZCdbTbl table;
  EXPECT_EQ((std::vector<ZCdbRecBase*>{y30, y20, y10}),
            Ordered({y10, &line, y30, nullptr, &text, y20, &table}));
  EXPECT_EQ((std::vector<ZCdbRecBase*>{y10}), Ordered({&line, y10}));
  EXPECT_TRUE(Ordered({&line, nullptr}).empty());

  // Heights compare as unsigned numbers: -5 and -7 are 0xFFFFFFFB and 0xFFFFFFF9, above every
  // positive height.
  ZCdbElm* below = s.At(-5);
  ZCdbElm* lower = s.At(-7);
  EXPECT_EQ((std::vector<ZCdbRecBase*>{below, lower, y20, y10}), Ordered({y10, below, y20, lower}));
}

}  // namespace
