#include "platform/carray.h"

#include <gtest/gtest.h>

namespace {

// Growing moves the elements; an element of the array passed in must be copied first.
TEST(CArrayGrow, ElementOfTheArrayItselfSurvivesGrowth) {
  CStringArray names;
  names.Add("first, long enough to live outside the string object");
  names.SetAtGrow(40, names[0]);
  ASSERT_EQ(names.GetSize(), 41);
  EXPECT_EQ(names[40], names[0]);
  EXPECT_TRUE(names[39].IsEmpty());

  names.InsertAt(60, names[40], 2);
  ASSERT_EQ(names.GetSize(), 62);
  EXPECT_EQ(names[61], names[0]);
  EXPECT_EQ(names[60], names[0]);
  EXPECT_TRUE(names[59].IsEmpty());
}

}  // namespace
