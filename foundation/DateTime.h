#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Dates, times and their texts in French and English.
//
// A date value is the Julian day number of the proleptic Gregorian
// calendar (2000-01-01 is 2451545); 0 stands for no date. Valid dates have
// a year from -9999 to 9999. A time value is the number of seconds since
// midnight. Texts are UTF-8; the accented French names are held as UTF-8.

// Name language: English when 1, French otherwise (the default). Set once
// at start-up; tests restore it.
inline constexpr int32_t kLanguageFrench = 0;
inline constexpr int32_t kLanguageEnglish = 1;
void SetNameLanguage(int32_t language);
int32_t NameLanguage();

// The day number of a valid date, else 0. Division rounds toward minus
// infinity where the textbook formula would divide a negative number, which
// gives the same numbers for every year from -4800 on and keeps MakeDate
// and SplitDate inverse over the whole valid range.
int32_t MakeDate(int32_t year, int32_t month, int32_t day);
// Splits a day number; the result tells whether it is a valid date. Day 0
// (24 November 4714 BC, whose number MakeDate also gives) is no date.
bool SplitDate(int32_t date, int32_t& year, int32_t& month, int32_t& day);
bool IsValidDate(int32_t year, int32_t month, int32_t day);
// 0 for a month outside 1 to 12.
int32_t DaysInMonth(int32_t year, int32_t month);
bool IsLeapYear(int32_t year);
// 0 = Sunday ... 6 = Saturday (also for day numbers before day 0).
int32_t DayOfWeek(int32_t date);
// Years 0 to 99 become 1900 + year; other years are kept.
int32_t ExpandYear(int32_t year);
// The last two digits of the year (of its magnitude for negative years).
int32_t ShortYear(int32_t year);

// The platform's local date and time.
int32_t Today();
int32_t Now();
// Set the platform's clock (local date keeping the time; local time keeping
// the date). They need the privilege to set the clock and return false
// without it, or for an invalid date or a time outside 0 to 86399.
bool SetToday(int32_t date);
bool SetNow(int32_t seconds);

// A date with a time of day; adding seconds carries whole days into the
// date and keeps the time within 0 to 86399.
struct DateAndTime
{
  int32_t date = 0;
  int32_t time = 0;
  void AddSeconds(int64_t seconds);
};

// Names in the current language; empty text and false outside 1 to 12
// (months) and 0 to 6 (days, 0 = Sunday).
bool MonthName(int32_t month, std::string& out);
bool DayName(int32_t day, std::string& out);

// The local time's offset from UTC in seconds (east positive), now.
int32_t LocalUtcOffset();
// An offset as "+hhmm" / "-hhmm" ("+0100", "-0500", "+0530").
std::string TimeZoneText(int32_t offsetSeconds);
// The local offset now, as code 29 of DateToText writes it.
std::string TimeZoneText();

// Date format codes of DateToText and TextToDate.
inline constexpr int32_t kDateYyMmDd = 1;
inline constexpr int32_t kDateYyyyMmDd = 2;
inline constexpr int32_t kDateShortMonth = 3;
inline constexpr int32_t kDateLong = 4;
inline constexpr int32_t kDateLongWithDay = 5;
inline constexpr int32_t kDateDdMmYy = 22;
inline constexpr int32_t kDateDdMmYyyy = 23;
inline constexpr int32_t kDateMmDdYy = 24;
inline constexpr int32_t kDateMmDdYyyy = 25;
inline constexpr int32_t kDateMonthFirst = 26;
inline constexpr int32_t kDateMonthFirst2 = 27;
inline constexpr int32_t kDateMonthFirstWithDay = 28;
inline constexpr int32_t kDateMail = 29;

// The date as text in the given format code (kDate* constants above);
// false, with an empty text, for an invalid date or an unknown code.
bool DateToText(int32_t date, std::string& out, int32_t code);
bool TodayToText(std::string& out, int32_t code);
// The format-specific reading of a typed date; 0 when it gives no valid
// date. Codes without a specific reading use the generic one.
int32_t TextToDate(std::string_view text, int32_t code);
// The reading that ParseValue falls back on: two or three numbers, with a
// month word when there are two. With three numbers and the year last, the
// first two are month then day, in both languages.
int32_t TextToDateGeneric(std::string_view text);
// The month (1 to 12) named anywhere in text, 0 when none; UTF-8 and
// Windows-1252 texts, any letter case.
int32_t ParseMonthWord(std::string_view text);

// Time format code: hours and minutes only; any other code adds seconds.
inline constexpr int32_t kTimeHoursMinutes = 20;
// "%2d:%02d" (code 20) or "%2d:%02d:%02d".
std::string TimeToText(int32_t seconds, int32_t code);
std::string NowToText();
std::string NowToTextSeconds();
// "h:m:s" with missing parts 0 (at most 31 characters are read); the result
// saturates to the int32 range.
int32_t TextToTime(std::string_view text);
