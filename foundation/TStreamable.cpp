#include "TStreamable.h"

#include "ClassTable.h"
#include "ObjectStream.h"

bool TStreamable::BeginRecord(TInStream& is, int32_t id, int32_t& version)
{
  if (PeekClassId(is) != id)
    return false;
  std::string word;
  is.ReadWord(word);
  version = 0;
  is >> version;
  return true;
}

void TStreamable::EndFirstLine(TInStream& is, int32_t version, int32_t currentVersion)
{
  if (version > currentVersion)
    is.ignore(32000, '\n');
}

void TStreamable::WriteHeader(TOutStream& os, int32_t id, int32_t version)
{
  os << GetClassName(id) << ' ' << version;
}

TOutStream& WriteNested(TOutStream& os, const TStreamable& obj)
{
  os << '\t';
  return WriteFrom(os, obj);
}
