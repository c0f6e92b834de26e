#pragma once

#include "GString.h"

#include <string_view>

// One line of an ini section: a key and its value, both kept trimmed of
// blanks. A comment line inside a section is an item whose key is the whole
// line (starting with ";") and whose value is empty.
class TItemIni
{
public:
  TItemIni() = default;
  TItemIni(const TItemIni&) = delete;
  TItemIni& operator=(const TItemIni&) = delete;

  // Stores both texts trimmed; false when memory ran out (the item is then
  // unusable and should be dropped).
  bool Set(std::string_view key, std::string_view value);
  bool SetValue(std::string_view value);

  const GString& Key() const { return m_key; }
  const GString& Value() const { return m_value; }
  bool IsComment() const { return m_key.Text()[0] == ';'; }

private:
  GString m_key;
  GString m_value;
};
