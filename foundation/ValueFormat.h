#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The generic conversion of typed values to text and back, used
// by the value fields of dialogs and by the length texts of the page.
// Numbers are written and read independently of the C locale.

// Type codes: the high byte is the type, the low byte a length where the
// type needs one. Codes 0x0000, 0x0C00, 0x1300 and 0x1400 are strings of at
// most (low byte) bytes, 0x1200 of at most (low byte x 10) bytes; 0x0100,
// 0x0200 and 0x0300 one character; 0x0F00 is a bit index like 0x0D00.
inline constexpr uint16_t kTypeString = 0x0000;
inline constexpr uint16_t kTypeChar = 0x0100;
inline constexpr uint16_t kTypeInt16 = 0x0400;
inline constexpr uint16_t kTypeUInt16 = 0x0500;
inline constexpr uint16_t kTypeInt32 = 0x0600;
inline constexpr uint16_t kTypeUInt32 = 0x0700;
inline constexpr uint16_t kTypeFloat = 0x0800;
inline constexpr uint16_t kTypeDouble = 0x0900;
inline constexpr uint16_t kTypeLongDouble = 0x0A00;
inline constexpr uint16_t kTypeDate = 0x0B00;     // int32 day number; the format code is a date code
inline constexpr uint16_t kTypeBitIndex = 0x0D00; // uint16 bit index 0 to 15
inline constexpr uint16_t kTypeBitMask = 0x0E00;  // uint16 mask
inline constexpr uint16_t kTypeTime = 0x1000;     // int32 seconds since midnight
inline constexpr uint16_t kTypeLongString = 0x1200;

// Format word: the low byte is the format code (dates: a date code of
// DateTime.h; times: 20 for hours and minutes only; numbers: 30 feet and
// inches, 31 inches, anything else decimal), plus these bits.
inline constexpr uint16_t kFormatEmptyIfZero = 0x100;
inline constexpr uint16_t kFormatPlusSign = 0x200;
inline constexpr uint16_t kFormatFeetInches = 30;
inline constexpr uint16_t kFormatInches = 31;

// Precision word: the low byte is the number of decimals, the high byte the
// minimum field width (0 = none).
constexpr uint16_t MakePrecision(int decimals, int width = 0)
{
  return static_cast<uint16_t>((decimals & 0xFF) | ((width & 0xFF) << 8));
}

// The process-wide decimal separator of formatted numbers, "," by default.
// Only "," and "." are accepted; false leaves it unchanged.
char DecimalSeparator();
bool SetDecimalSeparator(char separator);

// Writes the text of the value at value (of the given type code) into out,
// keeping at most size - 1 bytes (never splitting a UTF-8 character), and
// returns the text's length. Unknown type codes, a null value or a size
// below 1 give 0 (with an empty text when out can hold one). The value is
// read with memcpy, so it need not be aligned.
int32_t FormatValue(const void* value, char* out, uint16_t type, uint16_t format, uint16_t precision,
                    int32_t size);
// The same text without a size limit (the feet-and-inches padding still
// stops at 255 characters); empty for an unknown type code.
std::string FormatValue(const void* value, uint16_t type, uint16_t format, uint16_t precision);

// Reads text as a value of the given type into out and returns the number of
// bytes stored: 1, 2, 4, sizeof(float/double/long double), or the string's
// length plus 1 (out must hold the type's limit plus 1 bytes). Unknown type
// codes and a null out give 0 and store nothing. Integers out of the type's
// range saturate; floating values out of range become infinite or zero.
// Dates that the format's own reading cannot read are tried with the
// generic reading; a text that is no date stores 0.
int32_t ParseValue(void* out, std::string_view text, uint16_t type, uint16_t format);
int32_t ParseValue(void* out, const char* text, uint16_t type, uint16_t format);
