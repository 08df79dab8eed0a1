#include <gtest/gtest.h>

#include "store/schema.h"

using namespace store;

namespace {

TEST(NameTests, UpperCasedComparisons) {
  EXPECT_TRUE(schema::isRoomNumberField("room NUMBER"));
  EXPECT_FALSE(schema::isRoomNumberField("Room Number "));
  EXPECT_TRUE(schema::isAreaAssignmentField("Area assignment"));
  EXPECT_TRUE(schema::isAssignmentTable("Old assignments 2019"));
  EXPECT_FALSE(schema::isAssignmentTable("Assignment"));
  EXPECT_TRUE(schema::containsMsys("UserMsysCopy"));
  EXPECT_FALSE(schema::beginsWithMsys("UserMsysCopy"));
  EXPECT_TRUE(schema::beginsWithMsys("msysObjects"));
}

}  // namespace
