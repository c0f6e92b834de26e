#include "TItemIni.h"

namespace {

bool AssignTrimmed(GString& target, std::string_view text)
{
  if (!target.Assign(text))
    return false;
  target.Trim();
  return true;
}

} // namespace

bool TItemIni::Set(std::string_view key, std::string_view value)
{
  return AssignTrimmed(m_key, key) && AssignTrimmed(m_value, value);
}

bool TItemIni::SetValue(std::string_view value)
{
  return AssignTrimmed(m_value, value);
}
