#include "ValueFormat.h"

#include "DateTime.h"
#include "TextBuffer.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

std::atomic<char> g_separator{','};

constexpr size_t kPadLimit = 255;

template <class T> T Load(const void* p)
{
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

template <class T> int32_t Store(void* p, T v)
{
  std::memcpy(p, &v, sizeof v);
  return static_cast<int32_t>(sizeof v);
}

bool IsStringType(uint16_t type)
{
  switch (type >> 8) {
  case 0x00:
  case 0x0C:
  case 0x12:
  case 0x13:
  case 0x14:
    return true;
  default:
    return false;
  }
}

size_t StringLimit(uint16_t type)
{
  const size_t low = type & 0xFF;
  return (type >> 8) == 0x12 ? low * 10 : low;
}

// "%.*f" of v, exactly, in any locale.
template <class F> std::string FixedText(F v, int decimals)
{
  std::string buf(64 + static_cast<size_t>(decimals), '\0');
  for (;;) {
    const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::fixed, decimals);
    if (r.ec == std::errc()) {
      buf.resize(static_cast<size_t>(r.ptr - buf.data()));
      return buf;
    }
    buf.resize(buf.size() * 2); // only huge magnitudes need more room
  }
}

// The feet-and-inches form of a length in inches. The whole numbers are
// kept in long double and printed as such, so huge values cannot overflow.
std::string FeetInchesText(long double value, bool inchesOnly, bool plus, size_t width, size_t limit)
{
  std::string s;
  if (value < 0)
    s = "-";
  else if (plus)
    s = "+";
  if (!std::isfinite(value))
    return s + (std::isnan(value) ? "nan" : "inf");
  const long double a = std::fabs(value);
  const long double whole = std::floor(a);
  int num = static_cast<int>((a - whole) * 64);
  int den = 64;
  while (num != 0 && num % 2 == 0) {
    num /= 2;
    den /= 2;
  }
  const long double inches = inchesOnly ? whole : std::fmod(whole, 12.0L);
  const long double feet = inchesOnly ? 0.0L : (whole - inches) / 12;
  const bool fraction = num != 0;
  if (feet != 0) {
    s += FixedText(feet, 0) + "'";
    if (inches != 0 || fraction)
      s += "-";
  }
  if (inches != 0) {
    s += FixedText(inches, 0);
    s += fraction ? " " : "\"";
  }
  if (fraction)
    s += std::to_string(num) + "/" + std::to_string(den) + "\"";
  if (feet == 0 && inches == 0 && !fraction)
    s += "0\"";
  const size_t target = std::min(width, std::min(limit, kPadLimit));
  if (s.size() < target)
    s.append(target - s.size(), ' ');
  return s;
}

template <class F> std::string NumberText(F v, uint16_t format, uint16_t precision, size_t limit)
{
  const int code = format & 0xFF;
  const bool plus = (format & kFormatPlusSign) != 0;
  const size_t width = precision >> 8;
  if ((format & kFormatEmptyIfZero) && v == 0)
    return {};
  if (code == kFormatFeetInches || code == kFormatInches)
    return FeetInchesText(static_cast<long double>(v), code == kFormatInches, plus, width, limit);
  std::string s = FixedText(v, precision & 0xFF);
  if (plus && s[0] != '-')
    s.insert(s.begin(), '+');
  if (s.size() < width)
    s.insert(s.begin(), width - s.size(), ' ');
  const size_t dot = s.find('.');
  if (dot != std::string::npos)
    s[dot] = DecimalSeparator();
  return s;
}

template <class I> std::string IntegerText(I v, uint16_t format)
{
  if ((format & kFormatEmptyIfZero) && v == 0)
    return {};
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

// The text of a value; false for an unknown type code. limit caps the
// feet-and-inches padding.
bool ValueText(const void* value, uint16_t type, uint16_t format, uint16_t precision, size_t limit,
               std::string& out)
{
  out.clear();
  if (IsStringType(type)) {
    const char* p = static_cast<const char*>(value);
    out.assign(p, strnlen(p, StringLimit(type)));
    return true;
  }
  switch (type >> 8) {
  case 0x01:
  case 0x02:
  case 0x03: {
    const char c = Load<char>(value);
    if (c != '\0')
      out.assign(1, c);
    return true;
  }
  case 0x04:
    out = IntegerText(Load<int16_t>(value), format);
    return true;
  case 0x05:
    out = IntegerText(Load<uint16_t>(value), format);
    return true;
  case 0x06:
    out = IntegerText(Load<int32_t>(value), format);
    return true;
  case 0x07:
    out = IntegerText(Load<uint32_t>(value), format);
    return true;
  case 0x08:
    out = NumberText(Load<float>(value), format, precision, limit);
    return true;
  case 0x09:
    out = NumberText(Load<double>(value), format, precision, limit);
    return true;
  case 0x0A:
    out = NumberText(Load<long double>(value), format, precision, limit);
    return true;
  case 0x0B:
    DateToText(Load<int32_t>(value), out, format & 0xFF);
    return true;
  case 0x0D:
  case 0x0F: {
    uint16_t index = Load<uint16_t>(value);
    if (index > 15)
      index = 0;
    out.assign(index, '0');
    out.push_back('1');
    return true;
  }
  case 0x0E:
    for (uint16_t mask = Load<uint16_t>(value); mask != 0; mask >>= 1)
      out.push_back(mask & 1 ? '1' : '0');
    return true;
  case 0x10:
    out = TimeToText(Load<int32_t>(value), format & 0xFF);
    return true;
  default:
    return false;
  }
}

size_t SkipBlanks(std::string_view s, size_t i)
{
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
    ++i;
  return i;
}

// A decimal number at the start of text (blanks and a sign allowed, "," or
// "." as the decimal point); 0 when there is none. Out-of-range values
// become infinite or zero, as strtod gives them.
template <class F> F ReadFloat(std::string_view text)
{
  std::string s(text.substr(SkipBlanks(text, 0)));
  const size_t comma = s.find(',');
  if (comma != std::string::npos)
    s[comma] = '.';
  size_t start = 0;
  if (!s.empty() && s[0] == '+' && (s.size() < 2 || s[1] != '-'))
    start = 1;
  F v = 0;
  const char* first = s.data() + start;
  const auto r = std::from_chars(first, s.data() + s.size(), v, std::chars_format::general);
  if (r.ec == std::errc())
    return v;
  if (r.ec != std::errc::result_out_of_range)
    return 0;
  // Overflow or underflow: with an exponent its sign tells which (the
  // decimal reading takes at most 31 characters, too few for the mantissa to
  // outweigh an exponent that large); without one, only a number below 1
  // can underflow.
  const std::string_view matched(first, static_cast<size_t>(r.ptr - first));
  const std::string_view digits = matched.substr(matched[0] == '-' ? 1 : 0);
  const size_t e = digits.find_first_of("eE");
  const bool tiny = e != std::string_view::npos
                        ? e + 1 < digits.size() && digits[e + 1] == '-'
                        : digits.substr(0, digits.find('.')).find_first_not_of('0') == std::string_view::npos;
  const F magnitude = tiny ? F(0) : std::numeric_limits<F>::infinity();
  return matched[0] == '-' ? -magnitude : magnitude;
}

// The feet-and-inches form read back: an optional sign, then numbers each
// followed by "'" (feet), "/" and a denominator (a fraction of an inch) or
// nothing or '"' (inches); blanks and "-" separate them.
long double ReadFeetInches(std::string_view s)
{
  size_t i = SkipBlanks(s, 0);
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-'))
    negative = s[i++] == '-';
  auto number = [&](long double& x) {
    const size_t start = i;
    while (i < s.size() && ((s[i] >= '0' && s[i] <= '9') || s[i] == '.' || s[i] == ','))
      ++i;
    x = ReadFloat<long double>(s.substr(start, i - start));
    return i > start;
  };
  long double total = 0;
  for (;;) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '-'))
      ++i;
    long double x = 0;
    if (!number(x))
      break;
    i = SkipBlanks(s, i);
    if (i < s.size() && s[i] == '\'') {
      total += x * 12;
      ++i;
      continue;
    }
    if (i < s.size() && s[i] == '/') {
      i = SkipBlanks(s, i + 1);
      long double d = 0;
      if (number(d) && d != 0)
        total += x / d;
      i = SkipBlanks(s, i);
    } else {
      total += x;
    }
    if (i < s.size() && s[i] == '"')
      ++i;
  }
  return negative ? -total : total;
}

template <class F> int32_t StoreNumber(void* out, std::string_view text, uint16_t format)
{
  const int code = format & 0xFF;
  if (code == kFormatFeetInches || code == kFormatInches) {
    const long double v = ReadFeetInches(text);
    const long double max = std::numeric_limits<F>::max();
    // Out of the type's range becomes infinite instead of undefined.
    const F stored = v > max ? std::numeric_limits<F>::infinity()
                             : (v < -max ? -std::numeric_limits<F>::infinity() : static_cast<F>(v));
    return Store(out, stored);
  }
  return Store(out, ReadFloat<F>(text.substr(0, 31)));
}

template <class I> int32_t StoreInteger(void* out, std::string_view text)
{
  return Store(out, static_cast<I>(ReadDecimalClamped(text, std::numeric_limits<I>::min(),
                                                      std::numeric_limits<I>::max())));
}

// The leading "0"/"1" digits of text (at most 16).
std::string_view BitDigits(std::string_view text)
{
  const size_t start = SkipBlanks(text, 0);
  size_t end = start;
  while (end < text.size() && end - start < 16 && (text[end] == '0' || text[end] == '1'))
    ++end;
  return text.substr(start, end - start);
}

} // namespace

char DecimalSeparator()
{
  return g_separator.load(std::memory_order_relaxed);
}

bool SetDecimalSeparator(char separator)
{
  if (separator != ',' && separator != '.')
    return false;
  g_separator.store(separator, std::memory_order_relaxed);
  return true;
}

int32_t FormatValue(const void* value, char* out, uint16_t type, uint16_t format, uint16_t precision,
                    int32_t size)
{
  if (!out || size < 1)
    return 0;
  std::string text;
  if (!value || !ValueText(value, type, format, precision, static_cast<size_t>(size) - 1, text)) {
    out[0] = '\0';
    return 0;
  }
  return static_cast<int32_t>(CopyTextCut(text, out, static_cast<size_t>(size)));
}

std::string FormatValue(const void* value, uint16_t type, uint16_t format, uint16_t precision)
{
  std::string text;
  if (value)
    ValueText(value, type, format, precision, kPadLimit, text);
  return text;
}

int32_t ParseValue(void* out, std::string_view text, uint16_t type, uint16_t format)
{
  if (!out)
    return 0;
  text = text.substr(0, text.find('\0'));
  if (IsStringType(type)) {
    const size_t n = Utf8CutLength(text, StringLimit(type));
    char* p = static_cast<char*>(out);
    if (n > 0)
      std::memcpy(p, text.data(), n);
    p[n] = '\0';
    return static_cast<int32_t>(n + 1);
  }
  switch (type >> 8) {
  case 0x01:
  case 0x02:
  case 0x03:
    return Store(out, text.empty() ? '\0' : text[0]);
  case 0x04:
    return StoreInteger<int16_t>(out, text);
  case 0x05:
    return StoreInteger<uint16_t>(out, text);
  case 0x06:
    return StoreInteger<int32_t>(out, text);
  case 0x07:
    return StoreInteger<uint32_t>(out, text);
  case 0x08:
    return StoreNumber<float>(out, text, format);
  case 0x09:
    return StoreNumber<double>(out, text, format);
  case 0x0A:
    return StoreNumber<long double>(out, text, format);
  case 0x0B: {
    int32_t date = TextToDate(text, format & 0xFF);
    if (date == 0)
      date = TextToDateGeneric(text);
    return Store(out, date);
  }
  case 0x0D:
  case 0x0F: {
    const size_t one = BitDigits(text).find('1');
    return Store(out, static_cast<uint16_t>(one == std::string_view::npos ? 0 : one));
  }
  case 0x0E: {
    const std::string_view digits = BitDigits(text);
    uint16_t mask = 0;
    for (size_t i = 0; i < digits.size(); ++i)
      if (digits[i] == '1')
        mask = static_cast<uint16_t>(mask | (1u << i));
    return Store(out, mask);
  }
  case 0x10:
    return Store(out, TextToTime(text));
  default:
    return 0;
  }
}

int32_t ParseValue(void* out, const char* text, uint16_t type, uint16_t format)
{
  return ParseValue(out, text ? std::string_view(text) : std::string_view(), type, format);
}
