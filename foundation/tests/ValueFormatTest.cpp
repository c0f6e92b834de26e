#include "ValueFormat.h"
#include "DateTime.h"
#include "TInStream.h"
#include "TOutStream.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

// Sets the decimal separator for one test and restores it afterwards.
class SeparatorScope
{
public:
  explicit SeparatorScope(char separator) : m_saved(DecimalSeparator()) { SetDecimalSeparator(separator); }
  ~SeparatorScope() { SetDecimalSeparator(m_saved); }

private:
  char m_saved;
};

template <class T> std::string Format(T value, uint16_t type, uint16_t format = 0, uint16_t precision = 0)
{
  return FormatValue(&value, type, format, precision);
}

template <class T> T ParseAs(const char* text, uint16_t type, uint16_t format = 0)
{
  T v{};
  EXPECT_EQ(ParseValue(&v, text, type, format), static_cast<int32_t>(sizeof(T))) << text;
  return v;
}

} // namespace

TEST(FormatValue, DecimalNumbers)
{
  SeparatorScope comma(',');
  EXPECT_EQ(Format(2.5, kTypeDouble, 0, MakePrecision(2)), "2,50");
  EXPECT_EQ(Format(2.5f, kTypeFloat, 6, MakePrecision(2)), "2,50");
  EXPECT_EQ(Format(2.5L, kTypeLongDouble, 0, MakePrecision(3)), "2,500");
  EXPECT_EQ(Format(0.1f, kTypeFloat, 0, MakePrecision(10)), "0,1000000015") << "the float's own value";
  EXPECT_EQ(Format(2.675, kTypeDouble, 0, MakePrecision(2)), "2,67") << "exact, like printf";
  EXPECT_EQ(Format(-3.0, kTypeDouble, 0, MakePrecision(0)), "-3");
  EXPECT_EQ(Format(2.5, kTypeDouble, 0, MakePrecision(2, 8)), "    2,50");
  EXPECT_EQ(Format(2.5, kTypeDouble, kFormatPlusSign, MakePrecision(2)), "+2,50");
  EXPECT_EQ(Format(2.5, kTypeDouble, kFormatPlusSign, MakePrecision(2, 8)), "   +2,50");
  EXPECT_EQ(Format(-2.5, kTypeDouble, kFormatPlusSign, MakePrecision(2, 8)), "   -2,50");
  EXPECT_EQ(Format(0.0, kTypeDouble, kFormatPlusSign, MakePrecision(1)), "+0,0");
  EXPECT_EQ(Format(0.0, kTypeDouble, kFormatEmptyIfZero, MakePrecision(2, 8)), "");
  EXPECT_EQ(Format(0.0f, kTypeFloat, kFormatEmptyIfZero | kFormatFeetInches, 0), "");
  EXPECT_EQ(Format(std::numeric_limits<double>::infinity(), kTypeDouble, 0, MakePrecision(2)), "inf");

  SetDecimalSeparator('.');
  EXPECT_EQ(Format(2.5, kTypeDouble, 0, MakePrecision(2)), "2.50");
  EXPECT_FALSE(SetDecimalSeparator(';'));
  EXPECT_EQ(DecimalSeparator(), '.') << "only , and . are taken";
  EXPECT_TRUE(SetDecimalSeparator(','));
  EXPECT_EQ(DecimalSeparator(), ',');
}

TEST(FormatValue, HugeNumbersFitAnySize)
{
  SeparatorScope dot('.');
  const std::string big = Format(1e300, kTypeDouble, 0, MakePrecision(255, 255));
  EXPECT_EQ(big.size(), 301u + 1u + 255u);
  EXPECT_EQ(big.substr(0, 4), "1000");
  const std::string huge =
      Format(std::numeric_limits<long double>::max(), kTypeLongDouble, 0, MakePrecision(2));
  EXPECT_GT(huge.size(), 4900u);

  char out[16];
  std::memset(out, '#', sizeof out);
  const double v = 1e300;
  EXPECT_EQ(FormatValue(&v, out, kTypeDouble, 0, MakePrecision(255), 8), 7);
  EXPECT_STREQ(out, "1000000");
  EXPECT_EQ(out[8], '#') << "nothing past the size";
}

TEST(FormatValue, FeetAndInches)
{
  EXPECT_EQ(Format(13.5, kTypeDouble, kFormatFeetInches), "1'-1 1/2\"");
  EXPECT_EQ(Format(13.5f, kTypeFloat, kFormatInches), "13 1/2\"");
  EXPECT_EQ(Format(12.0, kTypeDouble, kFormatFeetInches), "1'");
  EXPECT_EQ(Format(6.0, kTypeDouble, kFormatFeetInches), "6\"");
  EXPECT_EQ(Format(0.25, kTypeDouble, kFormatFeetInches), "1/4\"");
  EXPECT_EQ(Format(24.5, kTypeDouble, kFormatFeetInches), "2'-1/2\"");
  EXPECT_EQ(Format(-18.75L, kTypeLongDouble, kFormatFeetInches), "-1'-6 3/4\"");
  EXPECT_EQ(Format(0.0, kTypeDouble, kFormatFeetInches), "0\"");
  EXPECT_EQ(Format(0.01, kTypeDouble, kFormatFeetInches), "0\"") << "below 1/64";
  EXPECT_EQ(Format(1.0 + 63.0 / 64, kTypeDouble, kFormatFeetInches), "1 63/64\"");
  EXPECT_EQ(Format(12.0, kTypeDouble, kFormatFeetInches | kFormatPlusSign), "+1'");
  EXPECT_EQ(Format(6.0, kTypeDouble, kFormatFeetInches, MakePrecision(0, 6)), "6\"    ")
      << "padded on the right";

  char out[8];
  const double six = 6;
  EXPECT_EQ(FormatValue(&six, out, kTypeDouble, kFormatFeetInches, MakePrecision(0, 200), sizeof out), 7);
  EXPECT_STREQ(out, "6\"     ") << "padding stops at the size";
  EXPECT_EQ(Format(6.0, kTypeDouble, kFormatFeetInches, MakePrecision(0, 255)).size(), 255u);

  const std::string big = Format(1e300, kTypeDouble, kFormatFeetInches);
  EXPECT_NE(big.find('\''), std::string::npos) << big;
  EXPECT_NEAR(ParseAs<double>(big.c_str(), kTypeDouble, kFormatFeetInches), 1e300, 1e286);
  EXPECT_EQ(Format(1e30f, kTypeFloat, kFormatInches).size(), 32u);
  EXPECT_EQ(Format(-std::numeric_limits<double>::infinity(), kTypeDouble, kFormatFeetInches), "-inf");
}

TEST(FormatValue, IntegersCharactersAndStrings)
{
  EXPECT_EQ(Format(int16_t(-5), kTypeInt16), "-5");
  EXPECT_EQ(Format(uint16_t(65535), kTypeUInt16), "65535");
  EXPECT_EQ(Format(int32_t(INT32_MIN), kTypeInt32), "-2147483648");
  EXPECT_EQ(Format(uint32_t(4294967295u), kTypeUInt32), "4294967295");
  EXPECT_EQ(Format(int32_t(0), kTypeInt32), "0");
  EXPECT_EQ(Format(int32_t(0), kTypeInt32, kFormatEmptyIfZero), "");
  EXPECT_EQ(Format(int16_t(7), kTypeInt16, kFormatEmptyIfZero), "7");
  EXPECT_EQ(Format('x', kTypeChar), "x");
  EXPECT_EQ(Format('y', 0x0300), "y");
  EXPECT_EQ(Format('\0', kTypeChar), "");

  const char text[] = "abcdefgh";
  EXPECT_EQ(FormatValue(text, kTypeString | 5, 0, 0), "abcde");
  EXPECT_EQ(FormatValue(text, 0x1300 | 20, 0, 0), "abcdefgh");
  EXPECT_EQ(FormatValue(text, kTypeLongString | 1, 0, 0), "abcdefgh") << "limit 10";
  char out[4];
  EXPECT_EQ(FormatValue(text, out, kTypeString | 20, 0, 0, sizeof out), 3);
  EXPECT_STREQ(out, "abc");
  const char accents[] = "\xc3\xa9\xc3\xa9"; // "éé"
  EXPECT_EQ(FormatValue(accents, out, kTypeString | 20, 0, 0, sizeof out), 2);
  EXPECT_STREQ(out, "\xc3\xa9") << "never cut inside a UTF-8 character";
}

TEST(FormatValue, BitsDatesAndTimes)
{
  EXPECT_EQ(Format(uint16_t(11), kTypeBitMask), "1101") << "least significant bit first";
  EXPECT_EQ(Format(uint16_t(0x8000), kTypeBitMask), "0000000000000001");
  EXPECT_EQ(Format(uint16_t(0), kTypeBitMask), "");
  EXPECT_EQ(Format(uint16_t(3), kTypeBitIndex), "0001");
  EXPECT_EQ(Format(uint16_t(0), 0x0F00), "1");
  EXPECT_EQ(Format(uint16_t(16), kTypeBitIndex), "1") << "above 15 counts as 0";
  EXPECT_EQ(Format(uint16_t(15), kTypeBitIndex), "0000000000000001");

  EXPECT_EQ(Format(MakeDate(2003, 6, 15), kTypeDate, kDateDdMmYyyy), "15/06/2003");
  EXPECT_EQ(Format(int32_t(0), kTypeDate, kDateDdMmYyyy), "");
  EXPECT_EQ(Format(MakeDate(2003, 6, 15), kTypeDate, 99), "");
  EXPECT_EQ(Format(int32_t(3661), kTypeTime, kTimeHoursMinutes), " 1:01");
  EXPECT_EQ(Format(int32_t(3661), kTypeTime, 0), " 1:01:01");
}

TEST(FormatValue, BadArguments)
{
  char out[8] = "keep";
  const int32_t v = 5;
  EXPECT_EQ(FormatValue(&v, out, 0x1100, 0, 0, sizeof out), 0) << "unknown type";
  EXPECT_STREQ(out, "");
  EXPECT_EQ(FormatValue(&v, 0x1500, 0, 0), "");
  std::strcpy(out, "keep");
  EXPECT_EQ(FormatValue(&v, out, kTypeInt32, 0, 0, 0), 0);
  EXPECT_EQ(FormatValue(&v, out, kTypeInt32, 0, 0, -3), 0);
  EXPECT_STREQ(out, "keep") << "no room, nothing written";
  EXPECT_EQ(FormatValue(nullptr, out, kTypeInt32, 0, 0, sizeof out), 0);
  EXPECT_EQ(FormatValue(&v, nullptr, kTypeInt32, 0, 0, 8), 0);
  EXPECT_EQ(FormatValue(&v, out, kTypeInt32, 0, 0, 1), 0);
  EXPECT_STREQ(out, "");

  // Values need not be aligned.
  alignas(double) char raw[1 + sizeof(double)];
  const double d = 1.25;
  std::memcpy(raw + 1, &d, sizeof d);
  SeparatorScope dot('.');
  EXPECT_EQ(FormatValue(raw + 1, kTypeDouble, 0, MakePrecision(2)), "1.25");
}

TEST(FormatValue, IndependentOfTheCLocale)
{
  const char* saved = std::setlocale(LC_NUMERIC, nullptr);
  const std::string restore = saved ? saved : "C";
  if (!std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
    GTEST_SKIP() << "no locale with a decimal comma installed";
  SeparatorScope dot('.');
  const std::string s = Format(2.5, kTypeDouble, 0, MakePrecision(2));
  const double back = ParseAs<double>("2.5", kTypeDouble);
  // Document files too: a comma would end the number and shift every field
  // after it.
  TOutStream out;
  out << 0.25 << ' ' << 1.5f << ' ' << 7;
  const std::string written = out.TakeData();
  TInStream in(written);
  double quarter = 0;
  float half = 0;
  int32_t seven = 0;
  in >> quarter >> half >> seven;
  std::setlocale(LC_NUMERIC, restore.c_str());
  EXPECT_EQ(s, "2.50");
  EXPECT_EQ(back, 2.5);
  EXPECT_EQ(written, "0.25 1.5 7");
  EXPECT_EQ(quarter, 0.25);
  EXPECT_EQ(half, 1.5f);
  EXPECT_EQ(seven, 7);
}

TEST(ParseValue, Numbers)
{
  EXPECT_EQ(ParseAs<double>("2,5", kTypeDouble), 2.5);
  EXPECT_EQ(ParseAs<double>("  -3.25xyz", kTypeDouble), -3.25);
  EXPECT_EQ(ParseAs<double>("+1.5", kTypeDouble), 1.5);
  EXPECT_EQ(ParseAs<double>("+-1.5", kTypeDouble), 0.0);
  EXPECT_EQ(ParseAs<double>("abc", kTypeDouble), 0.0);
  EXPECT_EQ(ParseAs<double>("", kTypeDouble), 0.0);
  EXPECT_EQ(ParseAs<float>("0,1", kTypeFloat), 0.1f);
  EXPECT_EQ(ParseAs<long double>("1,25", kTypeLongDouble), 1.25L);
  EXPECT_EQ(ParseAs<double>("1e400", kTypeDouble), std::numeric_limits<double>::infinity());
  EXPECT_EQ(ParseAs<double>("-1e400", kTypeDouble), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(ParseAs<double>("1e-400", kTypeDouble), 0.0);
  EXPECT_EQ(ParseAs<float>("1e39", kTypeFloat), std::numeric_limits<float>::infinity());
  EXPECT_EQ(ParseAs<double>("1234567890123456789012345678901234", kTypeDouble),
            1234567890123456789012345678901.0)
      << "31 characters are read";

  EXPECT_EQ(ParseAs<int16_t>(" -42abc", kTypeInt16), -42);
  EXPECT_EQ(ParseAs<int16_t>("70000", kTypeInt16), 32767);
  EXPECT_EQ(ParseAs<int16_t>("-70000", kTypeInt16), -32768);
  EXPECT_EQ(ParseAs<uint16_t>("65535", kTypeUInt16), 65535);
  EXPECT_EQ(ParseAs<uint16_t>("-1", kTypeUInt16), 0);
  EXPECT_EQ(ParseAs<int32_t>("-2147483648", kTypeInt32), INT32_MIN);
  EXPECT_EQ(ParseAs<int32_t>("99999999999999999999999", kTypeInt32), INT32_MAX);
  EXPECT_EQ(ParseAs<uint32_t>("4294967295", kTypeUInt32), 4294967295u);
  EXPECT_EQ(ParseAs<int32_t>("abc", kTypeInt32), 0);
}

TEST(ParseValue, FeetAndInches)
{
  EXPECT_EQ(ParseAs<double>("1'-1 1/2\"", kTypeDouble, kFormatFeetInches), 13.5);
  EXPECT_EQ(ParseAs<float>("13 1/2\"", kTypeFloat, kFormatInches), 13.5f);
  EXPECT_EQ(ParseAs<double>("-2'", kTypeDouble, kFormatFeetInches), -24.0);
  EXPECT_EQ(ParseAs<double>("1' 6\"", kTypeDouble, kFormatFeetInches), 18.0);
  EXPECT_EQ(ParseAs<double>("3/4", kTypeDouble, kFormatFeetInches), 0.75);
  EXPECT_EQ(ParseAs<double>("2,5\"", kTypeDouble, kFormatFeetInches), 2.5);
  EXPECT_EQ(ParseAs<double>("0\"", kTypeDouble, kFormatFeetInches), 0.0);
  EXPECT_EQ(ParseAs<double>("1/0\"", kTypeDouble, kFormatFeetInches), 0.0);
  EXPECT_EQ(ParseAs<double>("", kTypeDouble, kFormatFeetInches), 0.0);
  EXPECT_EQ(ParseAs<float>("9999999999999999999999999999999/0.00000000000000000000000000001", kTypeFloat,
                           kFormatFeetInches),
            std::numeric_limits<float>::infinity())
      << "beyond the type's range";
  const std::string tiny = "0." + std::string(400, '0') + "1\"";
  const std::string huge = "1" + std::string(400, '0') + "\"";
  EXPECT_EQ(ParseAs<double>(tiny.c_str(), kTypeDouble, kFormatInches), 0.0);
  EXPECT_EQ(ParseAs<double>(huge.c_str(), kTypeDouble, kFormatInches),
            std::numeric_limits<double>::infinity());
  for (int sixtyfourths = -2000; sixtyfourths <= 2000; sixtyfourths += 7) {
    const double v = sixtyfourths / 64.0;
    for (uint16_t format : {kFormatFeetInches, kFormatInches}) {
      const std::string s = Format(v, kTypeDouble, format | kFormatPlusSign, MakePrecision(0, 12));
      ASSERT_EQ(ParseAs<double>(s.c_str(), kTypeDouble, format), v) << s;
    }
  }
}

TEST(ParseValue, OtherTypes)
{
  char s[6];
  EXPECT_EQ(ParseValue(s, "abcdefgh", kTypeString | 5, 0), 6);
  EXPECT_STREQ(s, "abcde");
  EXPECT_EQ(ParseValue(s, "\xc3\xa9\xc3\xa9\xc3\xa9", kTypeString | 5, 0), 5);
  EXPECT_STREQ(s, "\xc3\xa9\xc3\xa9") << "never cut inside a UTF-8 character";
  EXPECT_EQ(ParseValue(s, static_cast<const char*>(nullptr), kTypeString | 5, 0), 1);
  EXPECT_STREQ(s, "");
  char big[11];
  EXPECT_EQ(ParseValue(big, "0123456789abc", kTypeLongString | 1, 0), 11);
  EXPECT_STREQ(big, "0123456789");

  EXPECT_EQ(ParseAs<char>("xyz", kTypeChar), 'x');
  EXPECT_EQ(ParseAs<char>("", kTypeChar), '\0');
  EXPECT_EQ(ParseAs<int32_t>("1:30", kTypeTime), 5400);
  EXPECT_EQ(ParseAs<uint16_t>("1101", kTypeBitMask), 11);
  EXPECT_EQ(ParseAs<uint16_t>("0000000000000001", kTypeBitMask), 0x8000);
  EXPECT_EQ(ParseAs<uint16_t>("00000000000000000001", kTypeBitMask), 0) << "16 digits at most";
  EXPECT_EQ(ParseAs<uint16_t>("0001", kTypeBitIndex), 3);
  EXPECT_EQ(ParseAs<uint16_t>("1", 0x0F00), 0);
  EXPECT_EQ(ParseAs<uint16_t>("", kTypeBitIndex), 0);
  for (uint16_t i = 0; i < 16; ++i)
    EXPECT_EQ(ParseAs<uint16_t>(Format(i, kTypeBitIndex).c_str(), kTypeBitIndex), i);
  for (uint32_t m = 0; m < 65536; m += 251)
    EXPECT_EQ(ParseAs<uint16_t>(Format(uint16_t(m), kTypeBitMask).c_str(), kTypeBitMask), m);

  int32_t untouched = 99;
  EXPECT_EQ(ParseValue(&untouched, "5", 0x1100, 0), 0) << "unknown type";
  EXPECT_EQ(untouched, 99);
  EXPECT_EQ(ParseValue(nullptr, "5", kTypeInt32, 0), 0);
}

TEST(ParseValue, FormattedNumbersReadBack)
{
  for (char separator : {',', '.'}) {
    SeparatorScope scope(separator);
    for (double v : {0.0, 1.5, -2.25, 1234.5678, 1e-3}) {
      const std::string s = Format(v, kTypeDouble, kFormatPlusSign, MakePrecision(4, 12));
      EXPECT_DOUBLE_EQ(ParseAs<double>(s.c_str(), kTypeDouble), std::round(v * 1e4) / 1e4) << s;
    }
  }
}
