#include "DateTime.h"
#include "ValueFormat.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <regex>
#include <string>

namespace {

// Sets the name language for one test and restores it afterwards.
class LanguageScope
{
public:
  explicit LanguageScope(int32_t language) : m_saved(NameLanguage()) { SetNameLanguage(language); }
  ~LanguageScope() { SetNameLanguage(m_saved); }

private:
  int32_t m_saved;
};

// Sets the TZ variable for one test and restores it afterwards.
class TimeZoneScope
{
public:
  explicit TimeZoneScope(const char* tz)
  {
    if (const char* old = std::getenv("TZ"))
      m_saved = old;
    setenv("TZ", tz, 1);
    tzset();
  }
  ~TimeZoneScope()
  {
    if (m_saved)
      setenv("TZ", m_saved->c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }

private:
  std::optional<std::string> m_saved;
};

std::string Text(int32_t date, int32_t code)
{
  std::string s;
  DateToText(date, s, code);
  return s;
}

int32_t Parse(const char* text, int32_t code)
{
  int32_t date = -1;
  EXPECT_EQ(ParseValue(&date, text, kTypeDate, static_cast<uint16_t>(code)), 4);
  return date;
}

} // namespace

TEST(Dates, JulianDayNumbers)
{
  EXPECT_EQ(MakeDate(2000, 1, 1), 2451545);
  EXPECT_EQ(DayOfWeek(2451545), 6) << "a Saturday";
  EXPECT_EQ(MakeDate(1970, 1, 1), 2440588);
  EXPECT_EQ(MakeDate(1582, 10, 15), 2299161);
  EXPECT_EQ(DayOfWeek(MakeDate(2003, 6, 15)), 0) << "a Sunday";
  EXPECT_EQ(DayOfWeek(-1), 0);
  EXPECT_EQ(DayOfWeek(-2), 6) << "before day 0 as well";
  EXPECT_EQ(DayOfWeek(INT32_MAX), static_cast<int32_t>((int64_t(INT32_MAX) + 1) % 7));

  int32_t y = 0, m = 0, d = 0;
  ASSERT_TRUE(SplitDate(2451545, y, m, d));
  EXPECT_EQ(y, 2000);
  EXPECT_EQ(m, 1);
  EXPECT_EQ(d, 1);
  EXPECT_FALSE(SplitDate(0, y, m, d)) << "0 stands for no date";
  EXPECT_EQ(MakeDate(-4713, 11, 24), 0);
  EXPECT_FALSE(SplitDate(INT32_MAX, y, m, d)) << "beyond year 9999";
  EXPECT_FALSE(SplitDate(INT32_MIN, y, m, d));
  EXPECT_FALSE(SplitDate(MakeDate(9999, 12, 31) + 1, y, m, d));
  EXPECT_FALSE(SplitDate(MakeDate(-9999, 1, 1) - 1, y, m, d));
}

TEST(Dates, Validity)
{
  EXPECT_EQ(MakeDate(1900, 2, 29), 0);
  EXPECT_NE(MakeDate(2000, 2, 29), 0);
  EXPECT_EQ(MakeDate(2003, 2, 29), 0);
  EXPECT_NE(MakeDate(2004, 2, 29), 0);
  EXPECT_EQ(MakeDate(2003, 13, 1), 0);
  EXPECT_EQ(MakeDate(2003, 0, 1), 0);
  EXPECT_EQ(MakeDate(2003, 4, 31), 0);
  EXPECT_EQ(MakeDate(2003, 4, 0), 0);
  EXPECT_EQ(MakeDate(10000, 1, 1), 0);
  EXPECT_EQ(MakeDate(-10000, 1, 1), 0);
  EXPECT_EQ(MakeDate(INT32_MAX, INT32_MAX, INT32_MAX), 0);
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_TRUE(IsLeapYear(0));
  EXPECT_TRUE(IsLeapYear(-4));
  EXPECT_EQ(DaysInMonth(2003, 2), 28);
  EXPECT_EQ(DaysInMonth(2004, 2), 29);
  EXPECT_EQ(DaysInMonth(2003, 12), 31);
  EXPECT_EQ(DaysInMonth(2003, 9), 30);
  EXPECT_EQ(DaysInMonth(2003, 13), 0);
}

TEST(Dates, EveryValidDayRoundTripsAndFollowsTheDayBefore)
{
  int32_t previous = MakeDate(-9999, 1, 1) - 1;
  for (int32_t year = -9999; year <= 9999; ++year)
    for (int32_t month = 1; month <= 12; ++month)
      for (int32_t day = 1; day <= DaysInMonth(year, month); ++day) {
        const int32_t jd = MakeDate(year, month, day);
        int32_t y = 0, m = 0, d = 0;
        const bool valid = SplitDate(jd, y, m, d);
        if (jd != previous + 1 || valid != (jd != 0) || y != year || m != month || d != day) {
          FAIL() << year << "-" << month << "-" << day << " gives " << jd << " after " << previous
                 << ", back " << y << "-" << m << "-" << d;
        }
        previous = jd;
      }
}

TEST(Dates, Years)
{
  EXPECT_EQ(ExpandYear(0), 1900);
  EXPECT_EQ(ExpandYear(3), 1903);
  EXPECT_EQ(ExpandYear(99), 1999);
  EXPECT_EQ(ExpandYear(100), 100);
  EXPECT_EQ(ExpandYear(2003), 2003);
  EXPECT_EQ(ExpandYear(-1), -1);
  EXPECT_EQ(ShortYear(2003), 3);
  EXPECT_EQ(ShortYear(1999), 99);
  EXPECT_EQ(ShortYear(-2003), 3);
  EXPECT_EQ(ShortYear(INT32_MIN), 48);
}

TEST(Dates, DateAndTimeCarriesWholeDays)
{
  DateAndTime t{MakeDate(2003, 12, 31), 86000};
  t.AddSeconds(500);
  EXPECT_EQ(t.date, MakeDate(2004, 1, 1));
  EXPECT_EQ(t.time, 100);
  t.AddSeconds(-200);
  EXPECT_EQ(t.date, MakeDate(2003, 12, 31));
  EXPECT_EQ(t.time, 86300);
  t.AddSeconds(-86400 * 2);
  EXPECT_EQ(t.date, MakeDate(2003, 12, 29));
  EXPECT_EQ(t.time, 86300);
}

TEST(Dates, TodayAndNowComeFromTheClock)
{
  EXPECT_GT(Today(), MakeDate(2020, 1, 1));
  const int32_t now = Now();
  EXPECT_GE(now, 0);
  EXPECT_LT(now, 86400);
  EXPECT_TRUE(std::regex_match(NowToText(), std::regex("[ 12][0-9]:[0-5][0-9]")));
  EXPECT_TRUE(std::regex_match(NowToTextSeconds(), std::regex("[ 12][0-9]:[0-5][0-9]:[0-6][0-9]")));
  std::string today;
  EXPECT_TRUE(TodayToText(today, kDateYyyyMmDd));
  EXPECT_EQ(today, Text(Today(), kDateYyyyMmDd));
  // SetToday and SetNow would change the machine's clock: only their
  // argument checks are exercised here.
  EXPECT_FALSE(SetToday(0));
  EXPECT_FALSE(SetToday(INT32_MAX));
  EXPECT_FALSE(SetNow(-1));
  EXPECT_FALSE(SetNow(86400));
}

TEST(Names, BothLanguages)
{
  std::string s;
  {
    LanguageScope french(kLanguageFrench);
    EXPECT_TRUE(MonthName(2, s));
    EXPECT_EQ(s, "f\xc3\xa9vrier");
    EXPECT_TRUE(MonthName(8, s));
    EXPECT_EQ(s, "ao\xc3\xbbt");
    EXPECT_TRUE(MonthName(12, s));
    EXPECT_EQ(s, "d\xc3\xa9"
                 "cembre");
    EXPECT_TRUE(DayName(0, s));
    EXPECT_EQ(s, "dimanche");
    EXPECT_TRUE(DayName(3, s));
    EXPECT_EQ(s, "mercredi");
  }
  {
    LanguageScope english(kLanguageEnglish);
    EXPECT_TRUE(MonthName(1, s));
    EXPECT_EQ(s, "January");
    EXPECT_TRUE(DayName(3, s));
    EXPECT_EQ(s, "Wednesday");
    EXPECT_TRUE(DayName(6, s));
    EXPECT_EQ(s, "Saturday");
    EXPECT_FALSE(MonthName(0, s));
    EXPECT_EQ(s, "");
    EXPECT_FALSE(MonthName(13, s));
    EXPECT_FALSE(DayName(7, s));
    EXPECT_FALSE(DayName(-1, s));
    EXPECT_EQ(s, "");
  }
  LanguageScope other(7);
  EXPECT_TRUE(MonthName(3, s));
  EXPECT_EQ(s, "mars") << "any language other than 1 is French";
}

TEST(DateToText, EveryCodeInFrench)
{
  LanguageScope french(kLanguageFrench);
  const int32_t date = MakeDate(2003, 6, 15);
  EXPECT_EQ(Text(date, 1), "03/06/15");
  EXPECT_EQ(Text(date, 2), "2003/06/15");
  EXPECT_EQ(Text(date, 3), "15 jun 2003");
  EXPECT_EQ(Text(date, 4), "15 juin 2003");
  EXPECT_EQ(Text(date, 5), "dimanche 15 juin 2003");
  EXPECT_EQ(Text(date, 22), "15/06/03");
  EXPECT_EQ(Text(date, 23), "15/06/2003");
  EXPECT_EQ(Text(date, 24), "06/15/03");
  EXPECT_EQ(Text(date, 25), "06/15/2003");
  EXPECT_EQ(Text(date, 26), "juin 15, 2003");
  EXPECT_EQ(Text(date, 27), "juin 15, 2003");
  EXPECT_EQ(Text(date, 28), "dimanche juin 15, 2003");
  EXPECT_EQ(Text(MakeDate(2003, 7, 5), 3), "5 jul 2003");
  EXPECT_EQ(Text(MakeDate(2003, 2, 5), 3), "5 f\xc3\xa9v 2003") << "three letters, not three bytes";
  EXPECT_EQ(Text(MakeDate(2003, 8, 5), 3), "5 ao\xc3\xbb 2003");
  EXPECT_EQ(Text(MakeDate(2003, 12, 5), 3), "5 d\xc3\xa9"
                                            "c 2003");
  EXPECT_EQ(Text(MakeDate(5, 1, 2), 2), "0005/01/02");
  EXPECT_EQ(Text(MakeDate(5, 1, 2), 1), "05/01/02");
}

TEST(DateToText, EnglishAndFailures)
{
  LanguageScope english(kLanguageEnglish);
  EXPECT_EQ(Text(MakeDate(2003, 7, 5), 3), "5 Jul 2003");
  EXPECT_EQ(Text(MakeDate(2003, 6, 5), 3), "5 Jun 2003");
  EXPECT_EQ(Text(MakeDate(2003, 9, 5), 3), "5 Sep 2003");
  EXPECT_EQ(Text(MakeDate(2003, 7, 5), 5), "Saturday 5 July 2003");
  EXPECT_EQ(Text(MakeDate(2003, 12, 24), 28), "Wednesday December 24, 2003");
  std::string s = "stale";
  EXPECT_FALSE(DateToText(MakeDate(2003, 7, 5), s, 6));
  EXPECT_EQ(s, "");
  EXPECT_FALSE(DateToText(MakeDate(2003, 7, 5), s, 0));
  EXPECT_FALSE(DateToText(0, s, 2)) << "0 is no date";
  EXPECT_FALSE(DateToText(INT32_MAX, s, 2));
  EXPECT_EQ(s, "");
}

TEST(DateToText, MailFormatIsEnglishWithTheRealOffset)
{
  LanguageScope french(kLanguageFrench);
  const int32_t date = MakeDate(2003, 6, 15);
  {
    TimeZoneScope tz("EST+5"); // POSIX form: five hours west of UTC, no summer time
    EXPECT_EQ(LocalUtcOffset(), -5 * 3600);
    const std::string s = Text(date, 29);
    EXPECT_TRUE(std::regex_match(s, std::regex("Sun, 15 Jun 2003 [ 12][0-9]:[0-5][0-9] -0500"))) << s;
  }
  {
    TimeZoneScope tz("IST-5:30");
    EXPECT_EQ(LocalUtcOffset(), 5 * 3600 + 30 * 60);
    const std::string s = Text(date, 29);
    EXPECT_EQ(s.substr(s.size() - 6), " +0530") << s;
  }
  {
    TimeZoneScope tz("UTC0");
    const std::string s = Text(MakeDate(2004, 2, 29), 29);
    EXPECT_EQ(s.substr(0, 17), "Sun, 29 Feb 2004 ");
    EXPECT_EQ(s.substr(s.size() - 6), " +0000") << s;
  }
  EXPECT_EQ(TimeZoneText(3600), "+0100");
  EXPECT_EQ(TimeZoneText(-5 * 3600), "-0500");
  EXPECT_EQ(TimeZoneText(-(3 * 3600 + 30 * 60)), "-0330");
  EXPECT_EQ(TimeZoneText(0), "+0000");
  EXPECT_TRUE(std::regex_match(TimeZoneText(), std::regex("[+-][0-9]{4}")));
}

TEST(ParseMonthWord, KeysInBothEncodingsAndCases)
{
  EXPECT_EQ(ParseMonthWord("d\xc3\xa9"
                           "cembre"),
            12)
      << "UTF-8";
  EXPECT_EQ(ParseMonthWord("D\xc3\x89"
                           "CEMBRE"),
            12)
      << "UTF-8 capitals";
  EXPECT_EQ(ParseMonthWord("d\xe9"
                           "cembre"),
            12)
      << "Windows-1252";
  EXPECT_EQ(ParseMonthWord("D\xc9"
                           "C"),
            12)
      << "Windows-1252 capitals";
  EXPECT_EQ(ParseMonthWord("f\xc3\xa9v."), 2);
  EXPECT_EQ(ParseMonthWord("F\xc9V"), 2);
  EXPECT_EQ(ParseMonthWord("FEB"), 2);
  EXPECT_EQ(ParseMonthWord("AO\xc3\x9bT"), 8);
  EXPECT_EQ(ParseMonthWord("ao\xfbt"), 8);
  EXPECT_EQ(ParseMonthWord("Sept"), 9);
  EXPECT_EQ(ParseMonthWord("jn"), 6);
  EXPECT_EQ(ParseMonthWord("Mar"), 3);
  EXPECT_EQ(ParseMonthWord("xyz"), 0);
  EXPECT_EQ(ParseMonthWord(""), 0);
  std::string name;
  for (int32_t language : {kLanguageFrench, kLanguageEnglish}) {
    LanguageScope scope(language);
    for (int32_t m = 1; m <= 12; ++m) {
      MonthName(m, name);
      EXPECT_EQ(ParseMonthWord(name), m) << name;
      std::string s;
      DateToText(MakeDate(2003, m, 1), s, 3);
      EXPECT_EQ(ParseMonthWord(s), m) << s;
    }
  }
}

TEST(TextToDate, FormatReadings)
{
  EXPECT_EQ(TextToDate("2003/12/25", 2), MakeDate(2003, 12, 25));
  EXPECT_EQ(TextToDate("3-12-25", 1), MakeDate(1903, 12, 25));
  EXPECT_EQ(TextToDate("03 12 25", 1), MakeDate(3, 12, 25)) << "a leading 0 keeps the year as written";
  EXPECT_EQ(TextToDate("25/12/2003", 23), MakeDate(2003, 12, 25));
  EXPECT_EQ(TextToDate("25/12/99", 22), MakeDate(1999, 12, 25));
  EXPECT_EQ(TextToDate("12 d\xc3\xa9"
                       "cembre 2003",
                       4),
            MakeDate(2003, 12, 12));
  EXPECT_EQ(TextToDate("12 d\xe9"
                       "cembre 2003",
                       4),
            MakeDate(2003, 12, 12))
      << "Windows-1252";
  EXPECT_EQ(TextToDate("12 dec. 03", 4), MakeDate(3, 12, 12));
  EXPECT_EQ(TextToDate("15 jun 2003", 3), MakeDate(2003, 6, 15));
  EXPECT_EQ(TextToDate("vendredi 12 d\xc3\xa9"
                       "cembre 2003",
                       5),
            MakeDate(2003, 12, 12));
  EXPECT_EQ(TextToDate("Friday 12 December 2003", 5), MakeDate(2003, 12, 12));
  EXPECT_EQ(TextToDate("31/02/2003", 23), 0) << "no such day";
  EXPECT_EQ(TextToDate("12 2003", 4), 0) << "no month word";
  EXPECT_EQ(TextToDate("", 2), 0);
  EXPECT_EQ(TextToDate("99999999999999999999/1/1", 2), 0);
}

TEST(TextToDate, GenericReading)
{
  EXPECT_EQ(TextToDate("12 dec. 03", 24), MakeDate(1903, 12, 12));
  EXPECT_EQ(TextToDateGeneric("December 12, 2003"), MakeDate(2003, 12, 12));
  EXPECT_EQ(TextToDateGeneric("2003 dec 12"), MakeDate(2003, 12, 12));
  EXPECT_EQ(TextToDateGeneric("2003-12-25"), MakeDate(2003, 12, 25));
  EXPECT_EQ(TextToDateGeneric("12/25/2003"), MakeDate(2003, 12, 25)) << "month first when the year is last";
  EXPECT_EQ(TextToDateGeneric("25/12/2003"), 0) << "month first: month 25 is no month";
  EXPECT_EQ(TextToDateGeneric("1/2"), 0) << "two numbers need a month word";
  EXPECT_EQ(TextToDateGeneric("40 mars 50"), 0);
  EXPECT_EQ(TextToDateGeneric("5"), 0);
  EXPECT_EQ(TextToDateGeneric("1 2 3"), 0);
}

TEST(TextToDate, ParseValueFallsBackOnTheGenericReading)
{
  EXPECT_EQ(Parse("12 dec. 03", 24), MakeDate(1903, 12, 12));
  EXPECT_EQ(Parse("12 dec. 03", 4), MakeDate(3, 12, 12));
  EXPECT_EQ(Parse("12/25/2003", 23), MakeDate(2003, 12, 25));
  EXPECT_EQ(Parse("December 12, 2003", 4), MakeDate(2003, 12, 12));
  EXPECT_EQ(Parse("no date", 4), 0);
}

TEST(TextToDate, TextsOfFourDigitYearsReadBack)
{
  for (int32_t language : {kLanguageFrench, kLanguageEnglish}) {
    LanguageScope scope(language);
    for (int32_t date = MakeDate(2003, 1, 1); date <= MakeDate(2003, 12, 31); ++date)
      for (int32_t code : {2, 3, 4, 5, 23, 25, 26, 27, 28}) {
        const std::string s = Text(date, code);
        ASSERT_EQ(Parse(s.c_str(), code), date) << s << " (code " << code << ")";
      }
  }
}

TEST(Times, TextsBothWays)
{
  EXPECT_EQ(TimeToText(3661, kTimeHoursMinutes), " 1:01");
  EXPECT_EQ(TimeToText(3661, 0), " 1:01:01");
  EXPECT_EQ(TimeToText(86399, 1), "23:59:59");
  EXPECT_EQ(TimeToText(0, 20), " 0:00");
  EXPECT_FALSE(TimeToText(INT32_MIN, 0).empty());
  EXPECT_EQ(TextToTime("12:34:56"), 45296);
  EXPECT_EQ(TextToTime(" 1:01"), 3660);
  EXPECT_EQ(TextToTime("7"), 25200);
  EXPECT_EQ(TextToTime(":30"), 1800);
  EXPECT_EQ(TextToTime("1:2:3:4"), 3723);
  EXPECT_EQ(TextToTime(""), 0);
  EXPECT_EQ(TextToTime("x:y"), 0);
  EXPECT_EQ(TextToTime("99999999999999999999:0"), INT32_MAX);
  EXPECT_EQ(TextToTime("-99999999999999999999"), INT32_MIN);
  EXPECT_EQ(TextToTime(std::string(31, ' ') + "1:00"), 0) << "only 31 characters are read";
}
