#include "DateTime.h"

#include "TextBuffer.h"
#include "TextCompare.h"
#include "TextEncoding.h"

#include <atomic>
#include <cstdio>
#include <ctime>

namespace {

std::atomic<int32_t> g_language{kLanguageFrench};

const char* const kMonthsFr[12] = {
    "janvier", "f\u00e9vrier", "mars",      "avril",   "mai",      "juin",
    "juillet", "ao\u00fbt",    "septembre", "octobre", "novembre", "d\u00e9cembre",
};
const char* const kMonthsEn[12] = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December",
};
const char* const kDaysFr[7] = {"dimanche", "lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi"};
const char* const kDaysEn[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

bool English()
{
  return g_language.load(std::memory_order_relaxed) == kLanguageEnglish;
}

int64_t FloorDiv(int64_t a, int64_t b)
{
  const int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

bool LocalNow(std::tm& out, time_t* when = nullptr)
{
  const time_t now = std::time(nullptr);
  if (when)
    *when = now;
  return localtime_r(&now, &out) != nullptr;
}

// Sets the clock to the local broken-down time tm (keeping the sub-second
// part of the current time). Fails without the privilege to set the clock.
bool SetClock(std::tm& tm)
{
  tm.tm_isdst = -1;
  const time_t t = std::mktime(&tm);
  if (t == static_cast<time_t>(-1))
    return false;
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  const timespec ts{t, now.tv_nsec};
  return clock_settime(CLOCK_REALTIME, &ts) == 0;
}

std::string Format(const char* format, int a, int b, int c = 0)
{
  char buf[48];
  const int n = std::snprintf(buf, sizeof buf, format, a, b, c);
  return n > 0 ? std::string(buf, static_cast<size_t>(n) < sizeof buf ? n : sizeof buf - 1) : std::string();
}

// The first three letters of a month name, with June and July told apart.
std::string ShortMonthName(int32_t month, const char* const* names)
{
  const std::string_view name = names[month - 1];
  std::string s(name.substr(0, Utf8PrefixBytes(name, 3)));
  if (month == 6)
    s[2] = 'n';
  else if (month == 7)
    s[2] = 'l';
  return s;
}

// --- Reading typed dates ---------------------------------------------------

constexpr int64_t kNumberCap = 999999999;

bool IsDigit(char c)
{
  return c >= '0' && c <= '9';
}

bool IsDateSeparator(char c)
{
  return c == '/' || c == '-' || c == ' ' || c == '\t';
}

class DateReader
{
public:
  explicit DateReader(std::string_view text) : m_s(text) {}

  void SkipSeparators()
  {
    while (m_i < m_s.size() && IsDateSeparator(m_s[m_i]))
      ++m_i;
  }
  void SkipToDigit()
  {
    while (m_i < m_s.size() && !IsDigit(m_s[m_i]))
      ++m_i;
  }
  // A run of digits at the cursor; false when there is none.
  bool Number(int32_t& value, bool* leadingZero = nullptr)
  {
    if (m_i >= m_s.size() || !IsDigit(m_s[m_i]))
      return false;
    if (leadingZero)
      *leadingZero = m_s[m_i] == '0';
    int64_t v = 0;
    for (; m_i < m_s.size() && IsDigit(m_s[m_i]); ++m_i)
      v = v < kNumberCap ? v * 10 + (m_s[m_i] - '0') : kNumberCap;
    value = static_cast<int32_t>(v < kNumberCap ? v : kNumberCap);
    return true;
  }
  bool Field(int32_t& value)
  {
    SkipSeparators();
    return Number(value);
  }
  // A year: one that does not start with the digit 0 goes through ExpandYear.
  bool Year(int32_t& year)
  {
    bool zero = false;
    if (!Number(year, &zero))
      return false;
    if (!zero)
      year = ExpandYear(year);
    return true;
  }
  bool YearField(int32_t& year)
  {
    SkipSeparators();
    return Year(year);
  }
  // The month word from the first letter that can begin one, up to the next
  // separator or digit.
  bool MonthWord(int32_t& month)
  {
    static constexpr std::string_view kStarts = "JFMASONDjfmasond";
    while (m_i < m_s.size() && kStarts.find(m_s[m_i]) == std::string_view::npos)
      ++m_i;
    const size_t start = m_i;
    while (m_i < m_s.size() && !IsDateSeparator(m_s[m_i]) && !IsDigit(m_s[m_i]))
      ++m_i;
    month = ParseMonthWord(m_s.substr(start, m_i - start));
    return month != 0;
  }

private:
  std::string_view m_s;
  size_t m_i = 0;
};

// Codes 3, 4 and 5: day, month word, then the next number as the year.
int32_t ReadDayMonthWordYear(DateReader& r)
{
  int32_t day = 0, month = 0, year = 0;
  if (!r.Field(day) || !r.MonthWord(month))
    return 0;
  r.SkipToDigit();
  if (!r.Year(year))
    return 0;
  return MakeDate(year, month, day);
}

} // namespace

void SetNameLanguage(int32_t language)
{
  g_language.store(language, std::memory_order_relaxed);
}

int32_t NameLanguage()
{
  return g_language.load(std::memory_order_relaxed);
}

bool IsLeapYear(int32_t year)
{
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int32_t DaysInMonth(int32_t year, int32_t month)
{
  static const int32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12)
    return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(int32_t year, int32_t month, int32_t day)
{
  return year >= -9999 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

int32_t MakeDate(int32_t year, int32_t month, int32_t day)
{
  if (!IsValidDate(year, month, day))
    return 0;
  const int64_t y = year, m = month, d = day;
  const int64_t a = (m - 14) / 12; // -1 for January and February, else 0
  const int64_t jd = FloorDiv(1461 * (y + 4800 + a), 4) + (367 * (m - 2 - 12 * a)) / 12 -
                     FloorDiv(3 * FloorDiv(y + 4900 + a, 100), 4) + d - 32075;
  return static_cast<int32_t>(jd);
}

bool SplitDate(int32_t date, int32_t& year, int32_t& month, int32_t& day)
{
  int64_t l = int64_t(date) + 68569;
  const int64_t n = FloorDiv(4 * l, 146097);
  l = l - FloorDiv(146097 * n + 3, 4);
  const int64_t i = FloorDiv(4000 * (l + 1), 1461001);
  l = l - FloorDiv(1461 * i, 4) + 31;
  const int64_t j = FloorDiv(80 * l, 2447);
  day = static_cast<int32_t>(l - FloorDiv(2447 * j, 80));
  l = FloorDiv(j, 11);
  month = static_cast<int32_t>(j + 2 - 12 * l);
  year = static_cast<int32_t>(100 * (n - 49) + i + l);
  return date != 0 && IsValidDate(year, month, day);
}

int32_t DayOfWeek(int32_t date)
{
  const int64_t r = (int64_t(date) + 1) % 7;
  return static_cast<int32_t>(r < 0 ? r + 7 : r);
}

int32_t ExpandYear(int32_t year)
{
  return year >= 0 && year <= 99 ? 1900 + year : year;
}

int32_t ShortYear(int32_t year)
{
  return year >= 0 ? year % 100 : static_cast<int32_t>((-int64_t(year)) % 100);
}

int32_t Today()
{
  std::tm tm{};
  if (!LocalNow(tm))
    return 0;
  return MakeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
}

int32_t Now()
{
  std::tm tm{};
  if (!LocalNow(tm))
    return 0;
  return tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec;
}

bool SetToday(int32_t date)
{
  int32_t y = 0, m = 0, d = 0;
  std::tm tm{};
  if (!SplitDate(date, y, m, d) || !LocalNow(tm))
    return false;
  tm.tm_year = y - 1900;
  tm.tm_mon = m - 1;
  tm.tm_mday = d;
  return SetClock(tm);
}

bool SetNow(int32_t seconds)
{
  std::tm tm{};
  if (seconds < 0 || seconds >= 86400 || !LocalNow(tm))
    return false;
  tm.tm_hour = seconds / 3600;
  tm.tm_min = seconds % 3600 / 60;
  tm.tm_sec = seconds % 60;
  return SetClock(tm);
}

void DateAndTime::AddSeconds(int64_t seconds)
{
  const int64_t total = int64_t(time) + seconds;
  const int64_t days = FloorDiv(total, 86400);
  time = static_cast<int32_t>(total - days * 86400);
  date = static_cast<int32_t>(date + days);
}

bool MonthName(int32_t month, std::string& out)
{
  out.clear();
  if (month < 1 || month > 12)
    return false;
  out = (English() ? kMonthsEn : kMonthsFr)[month - 1];
  return true;
}

bool DayName(int32_t day, std::string& out)
{
  out.clear();
  if (day < 0 || day > 6)
    return false;
  out = (English() ? kDaysEn : kDaysFr)[day];
  return true;
}

int32_t LocalUtcOffset()
{
  std::tm local{}, utc{};
  time_t now = 0;
  if (!LocalNow(local, &now) || !gmtime_r(&now, &utc))
    return 0;
  const int64_t days = int64_t(MakeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday)) -
                       MakeDate(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday);
  return static_cast<int32_t>(days * 86400 + (local.tm_hour - utc.tm_hour) * 3600 +
                              (local.tm_min - utc.tm_min) * 60 + (local.tm_sec - utc.tm_sec));
}

std::string TimeZoneText(int32_t offsetSeconds)
{
  const int64_t a = offsetSeconds < 0 ? -int64_t(offsetSeconds) : offsetSeconds;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%c%02d%02d", offsetSeconds < 0 ? '-' : '+', static_cast<int>(a / 3600),
                static_cast<int>(a % 3600 / 60));
  return buf;
}

std::string TimeZoneText()
{
  return TimeZoneText(LocalUtcOffset());
}

bool DateToText(int32_t date, std::string& out, int32_t code)
{
  out.clear();
  int32_t y = 0, m = 0, d = 0;
  if (!SplitDate(date, y, m, d))
    return false;
  char yyyy[16], mm[8], dd[8];
  std::snprintf(yyyy, sizeof yyyy, "%4.4d", static_cast<int>(y));
  std::snprintf(mm, sizeof mm, "%2.2d", static_cast<int>(m));
  std::snprintf(dd, sizeof dd, "%2.2d", static_cast<int>(d));
  const std::string YYYY = yyyy, MM = mm, DD = dd, D = std::to_string(d);
  const std::string YY = YYYY.substr(YYYY.size() - 2);
  const char* const* months = English() ? kMonthsEn : kMonthsFr;
  const std::string month = months[m - 1];
  const std::string dayName = (English() ? kDaysEn : kDaysFr)[DayOfWeek(date)];
  switch (code) {
  case kDateYyMmDd:
    out = YY + "/" + MM + "/" + DD;
    break;
  case kDateYyyyMmDd:
    out = YYYY + "/" + MM + "/" + DD;
    break;
  case kDateShortMonth:
    out = D + " " + ShortMonthName(m, months) + " " + YYYY;
    break;
  case kDateLong:
    out = D + " " + month + " " + YYYY;
    break;
  case kDateLongWithDay:
    out = dayName + " " + D + " " + month + " " + YYYY;
    break;
  case kDateDdMmYy:
    out = DD + "/" + MM + "/" + YY;
    break;
  case kDateDdMmYyyy:
    out = DD + "/" + MM + "/" + YYYY;
    break;
  case kDateMmDdYy:
    out = MM + "/" + DD + "/" + YY;
    break;
  case kDateMmDdYyyy:
    out = MM + "/" + DD + "/" + YYYY;
    break;
  case kDateMonthFirst:
  case kDateMonthFirst2:
    out = month + " " + D + ", " + YYYY;
    break;
  case kDateMonthFirstWithDay:
    out = dayName + " " + month + " " + D + ", " + YYYY;
    break;
  case kDateMail:
    out = std::string(kDaysEn[DayOfWeek(date)], 3) + ", " + DD + " " + std::string(kMonthsEn[m - 1], 3) +
          " " + YYYY + " " + NowToText() + " " + TimeZoneText();
    break;
  default:
    return false;
  }
  return true;
}

bool TodayToText(std::string& out, int32_t code)
{
  return DateToText(Today(), out, code);
}

int32_t ParseMonthWord(std::string_view text)
{
  struct Key
  {
    std::u32string_view key;
    int32_t month;
  };
  static constexpr Key kKeys[] = {
      {U"ja", 1},   {U"fe", 2}, {U"f\u00e9", 2}, {U"mars", 3}, {U"av", 4},  {U"mai", 5}, {U"juin", 6},
      {U"juil", 7}, {U"ao", 8}, {U"se", 9},      {U"oc", 10},  {U"no", 11}, {U"de", 12}, {U"d\u00e9", 12},
      {U"mr", 3},   {U"ap", 4}, {U"may", 5},     {U"mi", 5},   {U"my", 5},  {U"jn", 6},  {U"jun", 6},
      {U"jul", 7},  {U"jl", 7}, {U"au", 8},      {U"mar", 3},
  };
  const std::string utf8 = ToUtf8(text);
  std::u32string folded;
  for (size_t i = 0; i < utf8.size();)
    folded.push_back(FoldCase(DecodeUtf8(utf8, i)));
  for (const Key& k : kKeys) {
    std::u32string key;
    for (char32_t c : k.key)
      key.push_back(FoldCase(c));
    if (folded.find(key) != std::u32string::npos)
      return k.month;
  }
  return 0;
}

int32_t TextToDate(std::string_view text, int32_t code)
{
  DateReader r(text);
  int32_t a = 0, b = 0, c = 0;
  switch (code) {
  case kDateYyMmDd:
  case kDateYyyyMmDd:
    return r.YearField(a) && r.Field(b) && r.Field(c) ? MakeDate(a, b, c) : 0;
  case kDateDdMmYy:
  case kDateDdMmYyyy:
    return r.Field(a) && r.Field(b) && r.YearField(c) ? MakeDate(c, b, a) : 0;
  case kDateShortMonth:
  case kDateLong:
    return ReadDayMonthWordYear(r);
  case kDateLongWithDay:
    r.SkipToDigit();
    return ReadDayMonthWordYear(r);
  default:
    return TextToDateGeneric(text);
  }
}

int32_t TextToDateGeneric(std::string_view text)
{
  int32_t n[3] = {0, 0, 0};
  int count = 0;
  DateReader r(text);
  while (count < 3) {
    r.SkipToDigit();
    if (!r.Number(n[count]))
      break;
    ++count;
  }
  if (count < 2)
    return 0;
  if (count == 2) {
    const int32_t month = ParseMonthWord(text);
    if (month == 0)
      return 0;
    if (n[0] < 32)
      return MakeDate(ExpandYear(n[1]), month, n[0]);
    if (n[1] < 32)
      return MakeDate(ExpandYear(n[0]), month, n[1]);
    return 0;
  }
  if (n[0] > 31)
    return MakeDate(ExpandYear(n[0]), n[1], n[2]);
  if (n[2] > 31)
    return MakeDate(ExpandYear(n[2]), n[0], n[1]);
  return 0;
}

std::string TimeToText(int32_t seconds, int32_t code)
{
  const int h = seconds / 3600, m = seconds % 3600 / 60, s = seconds % 60;
  return code == kTimeHoursMinutes ? Format("%2d:%02d", h, m) : Format("%2d:%02d:%02d", h, m, s);
}

std::string NowToText()
{
  return TimeToText(Now(), kTimeHoursMinutes);
}

std::string NowToTextSeconds()
{
  return TimeToText(Now(), 0);
}

int32_t TextToTime(std::string_view text)
{
  text = text.substr(0, 31);
  int64_t parts[3] = {0, 0, 0};
  for (int k = 0; k < 3; ++k) {
    const size_t colon = text.find(':');
    // Clamped so that the sum below cannot overflow.
    parts[k] = ReadDecimalClamped(text.substr(0, colon), -1000000000000, 1000000000000);
    if (colon == std::string_view::npos)
      break;
    text.remove_prefix(colon + 1);
  }
  const int64_t total = parts[0] * 3600 + parts[1] * 60 + parts[2];
  return static_cast<int32_t>(total < INT32_MIN ? INT32_MIN : (total > INT32_MAX ? INT32_MAX : total));
}
