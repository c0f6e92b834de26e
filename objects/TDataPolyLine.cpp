#include "TDataPolyLine.h"

#include "ClassTable.h"
#include "Messages.h"
#include "StringTable.h"

#include <memory>

namespace {

constexpr uint32_t kMaskA = 0x40000407;

} // namespace

TDataPolyLine::TDataPolyLine()
{
  classId = kTDataPolyLine;
}

TDataPolyLine::TDataPolyLine(const TPoint* points, uint16_t count) : TDataPolygone(points, count)
{
  classId = kTDataPolyLine;
}

TStreamable* TDataPolyLine::Create(TDataOwner* client, int32_t)
{
  auto polyline = std::make_unique<TDataPolyLine>();
  return client ? EnterNew(client, std::move(polyline)) : polyline.release();
}

TInStream& TDataPolyLine::Read(TInStream& is)
{
  int32_t version;
  if (!BeginRecord(is, kTDataPolyLine, version))
    return is;
  EndFirstLine(is, version, kVersion);
  return TDataPolygone::Read(is);
}

TOutStream& TDataPolyLine::Write(TOutStream& os) const
{
  WriteHeader(os, kTDataPolyLine, kVersion);
  os << "\n\t";
  return TDataPolygone::Write(os);
}

bool TDataPolyLine::IsA(int32_t id) const
{
  return id == kTDataPolyLine || TDataPolygone::IsA(id);
}

uint32_t TDataPolyLine::Message(uint32_t message, int32_t a, int32_t b, void* p)
{
  switch (message) {
  case MSG_TYPE_NAME:
    return IDS_NAME_POLYLINE;
  case MSG_MASK_A:
    return kMaskA;
  default:
    return TDataPolygone::Message(message, a, b, p);
  }
}

TData* TDataPolyLine::Clone(TData* target, int32_t argument) const
{
  return TDataPolygone::Clone(target ? target : new TDataPolyLine, argument);
}
