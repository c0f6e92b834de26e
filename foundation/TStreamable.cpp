#include "TStreamable.h"

#include "ClassTable.h"
#include "ObjectStream.h"

bool TStreamable::BeginRecord(TInStream& is, int32_t id, int32_t& version)
{
  // The expected name is compared directly: every nested record of every
  // object passes here, and looking the word up among all class names
  // costs more than the comparison.
  const char* name = GetClassName(id);
  if (!name || id == 0 || !is.good() || is.PeekWord() != name)
    return false;
  is.SkipWord();
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
