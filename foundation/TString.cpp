#include "TString.h"

#include "ClassTable.h"
#include "TextEncoding.h"

#include <string>

TString::TString()
{
  classId = kTString;
}
TString::TString(const char* text, uint32_t size) : GString(text, size)
{
  classId = kTString;
}
TString::TString(std::string_view text) : GString(text)
{
  classId = kTString;
}

TInStream& TString::Read(TInStream& is)
{
  int32_t version;
  if (!BeginRecord(is, kTString, version))
    return is;
  uint16_t capacity = 0, length = 0;
  is >> capacity;
  if (is.fail())
    return is;
  if (capacity > Capacity())
    Reserve(capacity);
  is >> length;
  if (is.fail())
    return is;
  const uint32_t n = length < Capacity() ? length : Capacity();
  if (n > 0) {
    is.get(); // the blank before the text
    std::string bytes(n, '\0');
    is.read(bytes.data(), n);
    bytes.resize(is.gcount());
    Assign(ToUtf8(bytes));
  } else {
    Assign("");
  }
  if (version > kVersion)
    is.ignore(32000, '\n');
  return is;
}

TOutStream& TString::Write(TOutStream& os) const
{
  const std::string_view text = View();
  // Lengths are stored as 16-bit numbers; longer texts are cut rather than
  // writing a count that does not match the bytes.
  const uint32_t length = text.size() > 65535 ? 65535 : static_cast<uint32_t>(text.size());
  const uint32_t cap = Capacity() > 65535 ? 65535 : Capacity();
  WriteHeader(os, kTString, kVersion);
  os << ' ' << static_cast<uint16_t>(cap < length ? length : cap) << ' ' << static_cast<uint16_t>(length)
     << ' ';
  os.write(text.data(), length);
  os << '\n';
  return os;
}

void RestoreCapacities(const StringCapacities& capacities)
{
  for (const auto& [text, capacity] : capacities) {
    if (text && capacity >= text->Length())
      text->Reserve(capacity);
  }
}
