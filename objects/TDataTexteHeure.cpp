#include "TDataTexteHeure.h"

#include "ClassTable.h"
#include "CommandIds.h"
#include "DateTime.h"
#include "Messages.h"
#include "StringTable.h"
#include "TClient.h"

#include <string>
#include <vector>

namespace {

constexpr uint32_t kMaskA = 0xC0202807;
constexpr uint32_t kMaskB = 0x10;

const std::vector<uint16_t> kFormats = {TDataTexteHeure::kDefaultFormat, TDataTexteHeure::kWithSeconds};

std::string NowIn(uint16_t format)
{
  return format == TDataTexteHeure::kWithSeconds ? NowToTextSeconds() : NowToText();
}

} // namespace

TDataTexteHeure::TDataTexteHeure() : TDataTexteHeure(nullptr, 0, 0) {}

TDataTexteHeure::TDataTexteHeure(TDataOwner* client, int32_t x, int32_t y) : TDataTexteRpt(client, x, y)
{
  classId = kTDataTexteHeure;
  SetSingleLine(true);
  SetState(kRefreshOnPrint, true);
}

TStreamable* TDataTexteHeure::Create(TDataOwner* client, int32_t)
{
  if (!client)
    return new TDataTexteHeure;
  return PlaceField(client, [](TDataOwner* view, TPoint p) -> std::unique_ptr<TDataTexteRpt> {
    return std::make_unique<TDataTexteHeure>(view, p.x, p.y);
  });
}

TInStream& TDataTexteHeure::Read(TInStream& is)
{
  return ReadField(is, kTDataTexteHeure, format);
}

TOutStream& TDataTexteHeure::Write(TOutStream& os) const
{
  return WriteField(os, kTDataTexteHeure, format);
}

bool TDataTexteHeure::IsA(int32_t id) const
{
  return id == kTDataTexteHeure || TDataTexteRpt::IsA(id);
}

uint32_t TDataTexteHeure::Message(uint32_t message, int32_t a, int32_t b, void* p)
{
  switch (message) {
  case MSG_TYPE_NAME:
    return IDS_NAME_CURRENT_TIME;
  case MSG_MASK_A:
    return kMaskA;
  case MSG_MASK_B:
    return kMaskB;
  case MSG_REFRESH_NO_WINDOW:
    return TakeValue(NowIn(format));
  default:
    return TDataTexteRpt::Message(message, a, b, p);
  }
}

uint16_t TDataTexteHeure::ContextCommand(TDataOwner* client, uint16_t command)
{
  command = ChooseCommand(client, command);
  if (command == 0)
    return 0;
  if (command == CM_OBJ_FORMAT)
    return ChooseFormat(client, command, IDS_TIME_FORMAT_TITLE, kFormats, NowIn, format);
  return TDataTexteRpt::ContextCommand(client, command);
}

TData* TDataTexteHeure::Clone(TData* target, int32_t argument) const
{
  if (!target)
    target = new TDataTexteHeure;
  TDataTexteRpt::Clone(target, argument);
  if (auto* copy = dynamic_cast<TDataTexteHeure*>(target))
    copy->format = format;
  return target;
}
