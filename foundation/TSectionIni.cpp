#include "TSectionIni.h"

#include "TextBuffer.h"
#include "TextCompare.h"

#include <charconv>
#include <cstring>
#include <new>

TSectionIni::~TSectionIni()
{
  for (TItemIni* item : m_items)
    delete item;
}

bool TSectionIni::SetName(std::string_view name)
{
  if (!m_name.Assign(name))
    return false;
  m_name.Trim();
  return true;
}

TItemIni* TSectionIni::FindItem(std::string_view key) const
{
  for (TItemIni* item : m_items)
    if (CompareTextNoCase(item->Key().View(), key) == 0)
      return item;
  return nullptr;
}

bool TSectionIni::Append(std::string_view key, std::string_view value)
{
  TItemIni* item = new (std::nothrow) TItemIni;
  if (!item)
    return false;
  if (!item->Set(key, value) || !m_items.Append(item)) {
    delete item;
    return false;
  }
  return true;
}

bool TSectionIni::Put(std::string_view key, std::string_view value)
{
  GString trimmed;
  if (!trimmed.Assign(key))
    return false;
  trimmed.Trim();
  if (TItemIni* item = FindItem(trimmed.View()))
    return item->SetValue(value);
  return Append(trimmed.View(), value);
}

bool TSectionIni::SetString(const char* key, const char* value)
{
  if (!key)
    return false;
  return Put(key, value ? std::string_view(value) : std::string_view());
}

bool TSectionIni::SetInt(const char* key, int32_t number)
{
  char text[16];
  const auto r = std::to_chars(text, text + sizeof text - 1, number);
  *r.ptr = '\0';
  return SetString(key, text);
}

bool TSectionIni::GetInt(const char* key, int32_t& out) const
{
  const TItemIni* item = key ? FindItem(key) : nullptr;
  if (!item || item->Value().Length() == 0)
    return false;
  out = static_cast<int32_t>(ReadDecimalClamped(item->Value().View(), INT32_MIN, INT32_MAX));
  return true;
}

bool TSectionIni::GetString(const char* key, char* buffer, int32_t size) const
{
  if (!key || !buffer || size < 1)
    return false;
  const TItemIni* item = FindItem(key);
  if (!item)
    return false;
  CopyTextCut(item->Value().View(), buffer, static_cast<size_t>(size));
  return true;
}

bool TSectionIni::GetString(const char* key, std::string& out) const
{
  const TItemIni* item = key ? FindItem(key) : nullptr;
  if (!item)
    return false;
  out = item->Value().Str();
  return true;
}

bool TSectionIni::GetAt(int32_t index, char* key, char* value, int32_t keySize, int32_t valueSize) const
{
  const TItemIni* item = ItemAt(index);
  if (!item || (key && keySize < 1) || (value && valueSize < 1))
    return false;
  if (key)
    CopyTextCut(item->Key().View(), key, static_cast<size_t>(keySize));
  if (value)
    CopyTextCut(item->Value().View(), value, static_cast<size_t>(valueSize));
  return true;
}

bool TSectionIni::AddComment(std::string_view line)
{
  return Append(line, {});
}

bool TSectionIni::AddLine(std::string_view line)
{
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos)
    return Put(line, {});
  return Put(line.substr(0, eq), line.substr(eq + 1));
}
