#pragma once

#include "GString.h"
#include "TArrayPtr.h"
#include "TItemIni.h"

#include <cstdint>
#include <string>
#include <string_view>

// A named section of an ini file: its items in order of first appearance,
// owned by the section. Keys match without regard to case or accents
// (CompareTextNoCase); the stored spelling is the one first met.
class TSectionIni
{
public:
  TSectionIni() = default;
  TSectionIni(const TSectionIni&) = delete;
  TSectionIni& operator=(const TSectionIni&) = delete;
  ~TSectionIni();

  // The name is stored trimmed; false when memory ran out.
  bool SetName(std::string_view name);
  const GString& Name() const { return m_name; }

  int32_t Count() const { return m_items.Count(); }
  TItemIni* ItemAt(int32_t index) const { return m_items.Get(index); }
  // The first item whose key matches, or null.
  TItemIni* FindItem(std::string_view key) const;

  // Replaces the value of the item with that key (the key is trimmed before
  // the lookup), or appends a new item. A null key fails; a null value is
  // an empty one. False also when memory ran out (nothing is added then).
  bool SetString(const char* key, const char* value);
  bool SetInt(const char* key, int32_t number);
  // The value read as a decimal integer (optional sign, leading digits,
  // saturated to the int32 range). False, out untouched, when the key is
  // missing or its value is empty.
  bool GetInt(const char* key, int32_t& out) const;
  // The value cut to size - 1 bytes (never inside a UTF-8 character) and
  // zero-terminated. False, buffer untouched, when the key is missing, the
  // buffer is null or size < 1.
  bool GetString(const char* key, char* buffer, int32_t size) const;
  bool GetString(const char* key, std::string& out) const;
  // Enumeration: the key and value of item index, each cut like GetString;
  // a null buffer is skipped. False for an index out of range or a given
  // buffer with size < 1.
  bool GetAt(int32_t index, char* key, char* value, int32_t keySize, int32_t valueSize) const;

  // Appends a comment line (kept whole as the key, empty value).
  bool AddComment(std::string_view line);
  // One "key = value" line of the file (no "=": the whole line is the key):
  // a key already present takes the new value, else the item is appended.
  bool AddLine(std::string_view line);

private:
  bool Put(std::string_view key, std::string_view value);
  bool Append(std::string_view key, std::string_view value);

  GString m_name;
  TArrayOf<TItemIni> m_items{8, 8};
};
