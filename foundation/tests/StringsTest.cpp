#include "GString.h"
#include "TArrayPtr.h"
#include "TArrayStrings.h"
#include "TextCompare.h"
#include "TextEncoding.h"

#include <gtest/gtest.h>

TEST(GString, CapacityRulesAndEditing)
{
  GString s;
  EXPECT_EQ(s.Capacity(), 0u);
  EXPECT_EQ(s.Length(), 0u);
  EXPECT_EQ(s.Find('a'), 65535u);
  ASSERT_TRUE(s.Reserve(3));
  EXPECT_EQ(s.Capacity(), 7u);

  GString t("hello world", 4);
  EXPECT_EQ(t.Capacity(), 11u);
  EXPECT_EQ(t.Find('o'), 4u);
  EXPECT_EQ(t.Find('o', 5), 7u);
  EXPECT_EQ(t.Find('o', 11), 65535u);
  char out[32];
  EXPECT_EQ(t.Substring(out, 6, 100), 5u);
  EXPECT_STREQ(out, "world");
  EXPECT_EQ(t.Left(out, 4), 3u);
  EXPECT_STREQ(out, "hel");
  t.Reserve(8);
  EXPECT_STREQ(t.Text(), "hello wo") << "shrinking cuts the text";

  GString blanks("   \t ");
  EXPECT_EQ(blanks.Trim(), 0u);
  GString padded("  ab c \n");
  EXPECT_EQ(padded.Trim(), 4u);
  EXPECT_STREQ(padded.Text(), "ab c");

  GString kept("abcdefghij");
  const uint32_t cap = kept.Capacity();
  kept.Assign("");
  EXPECT_EQ(kept.Length(), 0u);
  EXPECT_EQ(kept.Capacity(), cap) << "emptying keeps the buffer";
}

TEST(TextCompare, FoldsCaseAndAccentsInBothEncodings)
{
  EXPECT_EQ(CompareTextNoCase("VEKT TData", "vekt tdata"), 0);
  EXPECT_EQ(CompareTextNoCase("VEKT TData", "V\xc3\x89KT TD\xc3\xa0ta"), 0) << "UTF-8";
  EXPECT_EQ(CompareTextNoCase("VEKT TData", "V\xc9KT TD\xe0ta"), 0) << "Windows-1252";
  EXPECT_EQ(CompareTextNoCase("caf\x82", "CAFE"), 0) << "old PC code page";
  EXPECT_EQ(CompareText("\xc3\xa9t\xc3\xa9", "ete"), 0) << "accents ignored";
  EXPECT_NE(CompareText("Ete", "ete"), 0) << "case kept";
  EXPECT_EQ(CompareText("VEKT TData", "VEKT TData-Version"), -1) << "prefixes differ";
  EXPECT_EQ(CompareText("b", "a"), 1);
  EXPECT_EQ(CompareText(static_cast<const char*>(nullptr), ""), -1);
  EXPECT_EQ(CompareText(static_cast<const char*>(nullptr), nullptr), 0);
  GString g("Pr\xc3\xa9\x66\xc3\xa9rences");
  EXPECT_TRUE(g.EqualsNoCase("PREFERENCES"));
  EXPECT_FALSE(g.Equals("PREFERENCES"));
}

TEST(TextEncoding, Utf8AndWindows1252)
{
  EXPECT_TRUE(IsValidUtf8("plain"));
  EXPECT_TRUE(IsValidUtf8("\xc3\xa9"));
  EXPECT_FALSE(IsValidUtf8("\xe9t\xe9"));
  EXPECT_FALSE(IsValidUtf8("\xc0\x80")) << "overlong";
  EXPECT_EQ(ToUtf8("\x80 \xe9"), "\xe2\x82\xac \xc3\xa9");
  EXPECT_EQ(Utf8Length("a\xc3\xa9z"), 3u);
  EXPECT_EQ(Utf8PrefixBytes("a\xc3\xa9z", 2), 3u);
}

TEST(TArrayPtr, InsertRemoveAndGrowth)
{
  int a = 1, b = 2, c = 3, d = 4;
  TArrayPtr arr(2, 2);
  EXPECT_TRUE(arr.Append(&a));
  EXPECT_TRUE(arr.InsertAt(&b, -5));
  EXPECT_EQ(arr.Get(0), &b);
  EXPECT_TRUE(arr.InsertAt(&c, arr.Count()));
  EXPECT_EQ(arr.Get(2), &c);
  EXPECT_EQ(arr.Capacity(), 4);
  EXPECT_EQ(arr.IndexOf(&d), -1);
  EXPECT_EQ(arr.Get(3), nullptr);
  EXPECT_EQ(arr.Get(-1), nullptr);
  arr.Remove(&b);
  EXPECT_EQ(arr.Count(), 2);
  EXPECT_EQ(arr.Get(0), &a);
  EXPECT_EQ(arr.Items()[2], nullptr) << "the freed slot is zeroed";

  TArrayPtr fixed(1, 0);
  EXPECT_TRUE(fixed.Append(&a));
  EXPECT_FALSE(fixed.Append(&b)) << "an array that never grows refuses once full";
  EXPECT_EQ(fixed.Count(), 1);

  TArrayPtr sorted(4, 4);
  sorted.Append(&c);
  sorted.Append(&a);
  sorted.Append(&b);
  sorted.Sort([](const void* x, const void* y) {
    return **static_cast<int* const*>(x) - **static_cast<int* const*>(y);
  });
  EXPECT_EQ(sorted.Get(0), &a);
  EXPECT_EQ(sorted.Get(2), &c);
}

TEST(TArrayStrings, FixedSizeBuffers)
{
  TArrayStrings names(8, 31);
  EXPECT_EQ(names.Count(), 8);
  EXPECT_STREQ(names.GetString(7), "");
  EXPECT_TRUE(names.SetString(0, "a name that is far longer than thirty-one characters"));
  EXPECT_EQ(std::string(names.GetString(0)).size(), 31u);
  EXPECT_FALSE(names.SetString(8, "x"));
  EXPECT_FALSE(names.SetString(0, nullptr));
  EXPECT_TRUE(names.SetString(1, "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9"
                                 "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9"));
  EXPECT_EQ(std::string(names.GetString(1)).size(), 30u) << "never splits a character";
}
