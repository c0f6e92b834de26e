#pragma once

#include "TEdBase.h"

#include <QChar>
#include <QString>

#include <cstdint>
#include <optional>
#include <string>

// A one-line edit bound to a kind of value: a type code and a format word
// of the value formatting (ValueFormat.h), a number of decimals, a maximum
// length (1 to 255 characters) and a shown width in characters.
//
// SetValue writes FormatValue of a value into the field (an empty field
// when it cannot be formatted); GetValue reads the field back with
// ParseValue. Typed characters are filtered by the format (see
// FilterTypedChar); Tab and Enter never reach the field, they belong to
// the dialogue.
class TEdl : public TEdBase
{
public:
  static constexpr int32_t kMaxLength = 255;

  TEdl(TDialog* dialog, int32_t id, const std::string& label, uint16_t type, uint16_t format,
       int32_t decimals, int32_t maxLength, int32_t shownWidth, int32_t labelId = -1);

  bool IsA(int32_t id) const override;
  void SetText(const std::string& text) override;
  std::string GetText() const override;

  // value points at a value of the field's type.
  void SetValue(const void* value);
  // The number of bytes stored into value (0: nothing, value untouched).
  int32_t GetValue(void* value) const;
  // True when the field holds a digit (a number can be read from it).
  bool HoldsNumber() const;
  // The format word and decimals of the values shown from now on.
  void SetFormat(uint16_t format, int32_t decimals);

private:
  uint16_t m_type;
  uint16_t m_format;
  int32_t m_decimals;
};

// The character a field of the given type and format word lets in when c
// is typed into a field holding current (the text that stays, a selection
// already taken out): c itself, the decimal separator for a typed "." or
// ",", or nothing when c is refused. Control characters always pass.
//   format code 1, 2 (dates): digits, "/", "-", blank
//   6 (decimal number): digits, "+", "-", and one decimal separator (none
//     for whole-number types)
//   7: hexadecimal digits; 8: "0" and "1"; 9: letters; 10: letters and
//   digits; 11: letters, digits and "_"; 12: digits
//   30, 31 (feet and inches): digits, blank, "'", "\"", "/", "+", "-", "."
//     and ","
//   any other code: every character
std::optional<QChar> FilterTypedChar(uint16_t type, uint16_t format, QChar c, const QString& current);
