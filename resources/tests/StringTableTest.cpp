#include "StringTable.h"

#include <gtest/gtest.h>

TEST(StringTable, LooksUpTextsByIdAndFormats)
{
  EXPECT_STREQ(LoadStr(IDS_LANGUAGE), "en_US");
  EXPECT_STREQ(LoadStr(IDS_INFO_TWO_POINTS), "X1= %s  Y1= %s  X2= %s  Y2= %s");
  EXPECT_EQ(FormatStr(IDS_INFO_RECT, "1", "2", "3", "4"), "X= 1  Y= 2  L= 3  H= 4");
}

TEST(StringTable, UnknownIdGivesEmptyText)
{
  EXPECT_FALSE(HasString(39999));
  EXPECT_STREQ(LoadStr(39999), "");
}

TEST(StringTable, EveryIdIsUnique)
{
  EXPECT_TRUE(DuplicateStringIds().empty());
}
