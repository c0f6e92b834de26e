#include "ObjectStream.h"

#include "ClassTable.h"
#include "TStreamable.h"
#include "TextCompare.h"

#include <memory>

int32_t PeekClassId(TInStream& is)
{
  if (!is.good())
    return 0;
  return GetClassId(is.PeekWord());
}

int32_t RecordClassOfLine(std::string_view line)
{
  if (line.empty() || line[0] != 'T')
    return 0;
  size_t end = 0;
  while (end < line.size() && !IsStreamSpace(static_cast<unsigned char>(line[end])))
    ++end;
  if (end == line.size())
    return 0; // a class name is always followed by its version
  return GetClassId(line.substr(0, end));
}

int32_t FindNextObject(TInStream& is)
{
  if (!is.good())
    return 0;
  const int64_t start = is.tellg();
  std::string_view line;
  for (;;) {
    const int64_t lineStart = is.tellg();
    is.ReadLineView(line);
    if (!is.good() || (!line.empty() && line[0] == '[')) {
      is.clear();
      is.seekg(start);
      return 0;
    }
    const int32_t id = RecordClassOfLine(line);
    if (id == 0)
      continue;
    is.clear();
    is.seekg(lineStart);
    return id;
  }
}

TStreamable* ReadObject(TInStream& is)
{
  if (is.fail())
    return nullptr;
  const int32_t id = FindNextObject(is);
  if (id == 0)
    return nullptr;
  const int64_t p1 = is.tellg();
  std::unique_ptr<TStreamable> obj(CreateObject(id, nullptr, 0));
  if (!obj)
    return nullptr;
  ReadInto(is, *obj);
  const int64_t p2 = is.tellg();
  if (p2 == p1)
    return nullptr;
  return obj.release();
}

bool WriteSectionTag(TOutStream& os, std::string_view name)
{
  os << "\n[" << name << "]\n";
  return os.good();
}

int FindSectionTag(TInStream& is, std::string_view name)
{
  is.clear();
  is.seekg(0);
  if (!is.good())
    return 0;
  for (const auto& mark : is.SectionMarks()) {
    if (CompareTextNoCase(mark.name, name) == 0) {
      is.seekg(static_cast<int64_t>(mark.next));
      return 1;
    }
  }
  is.clear();
  is.seekg(0);
  return 0;
}
