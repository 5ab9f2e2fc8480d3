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

// Indexes no call may pass raise the invalid-argument exception, as MFC's arrays do.
TEST(CArrayIndex, OutOfRangeRaisesInvalidArgument) {
  CDWordArray a;
  a.Add(1);
  EXPECT_THROW(a.GetAt(-1), CInvalidArgException);
  EXPECT_THROW(a[1], CInvalidArgException);
  EXPECT_THROW(a.SetAt(2, 0), CInvalidArgException);
  EXPECT_THROW(a.RemoveAt(0, 2), CInvalidArgException);
  EXPECT_THROW(a.InsertAt(-1, 0), CInvalidArgException);
  EXPECT_THROW(a.SetAtGrow(-1, 0), CInvalidArgException);
  EXPECT_EQ(a.GetSize(), 1);
  EXPECT_EQ(a[0], 1u);
}

}  // namespace
