#include "TDataTexteDate.h"

#include "ClassTable.h"
#include "CommandIds.h"
#include "DateTime.h"
#include "Messages.h"
#include "StringTable.h"
#include "TClient.h"
#include "TextEncoding.h"

#include <string>
#include <vector>

namespace {

constexpr uint32_t kMaskA = 0xC0202807;
constexpr uint32_t kMaskB = 0x10;
// Longest date text kept.
constexpr size_t kMaxValue = 80;

// The formats offered; 27 writes what 26 writes and is left out.
const std::vector<uint16_t> kFormats = {
    kDateYyMmDd,   kDateYyyyMmDd, kDateShortMonth, kDateLong,       kDateLongWithDay,       kDateDdMmYy,
    kDateDdMmYyyy, kDateMmDdYy,   kDateMmDdYyyy,   kDateMonthFirst, kDateMonthFirstWithDay, kDateMail};

std::string TodayIn(uint16_t format)
{
  std::string text;
  TodayToText(text, format);
  return CutText(text, kMaxValue);
}

} // namespace

TDataTexteDate::TDataTexteDate() : TDataTexteDate(nullptr, 0, 0) {}

TDataTexteDate::TDataTexteDate(TDataOwner* client, int32_t x, int32_t y) : TDataTexteRpt(client, x, y)
{
  classId = kTDataTexteDate;
  SetSingleLine(true);
  SetState(kRefreshOnPrint, true);
}

TStreamable* TDataTexteDate::Create(TDataOwner* client, int32_t)
{
  if (!client)
    return new TDataTexteDate;
  return PlaceField(client, [](TDataOwner* view, TPoint p) -> std::unique_ptr<TDataTexteRpt> {
    return std::make_unique<TDataTexteDate>(view, p.x, p.y);
  });
}

TInStream& TDataTexteDate::Read(TInStream& is)
{
  return ReadField(is, kTDataTexteDate, format);
}

TOutStream& TDataTexteDate::Write(TOutStream& os) const
{
  return WriteField(os, kTDataTexteDate, format);
}

bool TDataTexteDate::IsA(int32_t id) const
{
  return id == kTDataTexteDate || TDataTexteRpt::IsA(id);
}

uint32_t TDataTexteDate::Message(uint32_t message, int32_t a, int32_t b, void* p)
{
  switch (message) {
  case MSG_TYPE_NAME:
    return IDS_NAME_CURRENT_DATE;
  case MSG_MASK_A:
    return kMaskA;
  case MSG_MASK_B:
    return kMaskB;
  case MSG_REFRESH_NO_WINDOW:
    return TakeValue(TodayIn(format));
  default:
    return TDataTexteRpt::Message(message, a, b, p);
  }
}

uint16_t TDataTexteDate::ContextCommand(TDataOwner* client, uint16_t command)
{
  command = ChooseCommand(client, command);
  if (command == 0)
    return 0;
  if (command == CM_OBJ_FORMAT)
    return ChooseFormat(client, command, IDS_DATE_FORMAT_TITLE, kFormats, TodayIn, format);
  return TDataTexteRpt::ContextCommand(client, command);
}

TData* TDataTexteDate::Clone(TData* target, int32_t argument) const
{
  if (!target)
    target = new TDataTexteDate;
  TDataTexteRpt::Clone(target, argument);
  if (auto* copy = dynamic_cast<TDataTexteDate*>(target))
    copy->format = format;
  return target;
}
