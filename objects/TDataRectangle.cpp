#include "TDataRectangle.h"

#include "ClassTable.h"
#include "CommandIds.h"
#include "Geometry.h"
#include "Messages.h"
#include "ObjectCreation.h"
#include "ObjectPaint.h"
#include "StringTable.h"
#include "TClient.h"
#include "TPage.h"

namespace {

constexpr uint32_t kMaskA = 0x40800407;
constexpr uint32_t kMaskB = 0x210;

} // namespace

TDataRectangle::TDataRectangle()
{
  classId = kTDataRectangle;
}

TDataRectangle::TDataRectangle(int32_t x, int32_t y, int32_t width, int32_t height)
    : TDataRectangle(TRect(x, y, SaturateInt32(int64_t{x} + width), SaturateInt32(int64_t{y} + height)))
{
}

TDataRectangle::TDataRectangle(const TRect& r)
{
  classId = kTDataRectangle;
  Assign(r);
}

TStreamable* TDataRectangle::Create(TDataOwner* client, int32_t)
{
  if (!client)
    return new TDataRectangle;
  return ReleaseIfNotEmpty(PlaceAndSize(*client, [](TPoint p) -> std::unique_ptr<TData> {
    return std::make_unique<TDataRectangle>(p.x, p.y, 0, 0);
  }));
}

void TDataRectangle::SetCorners(int32_t width, int32_t height)
{
  cornerWidth = width;
  cornerHeight = height;
}

TInStream& TDataRectangle::Read(TInStream& is)
{
  int32_t version;
  if (!BeginRecord(is, kTDataRectangle, version))
    return is;
  if (version >= 1) {
    int32_t w = cornerWidth, h = cornerHeight;
    is >> w >> h;
    if (is)
      SetCorners(w, h);
  }
  EndFirstLine(is, version, kVersion);
  // The first records kept the pen and the brush apart from the common part.
  if (version < 2) {
    ReadInto(is, pen);
    ReadInto(is, brush);
  }
  TData::Read(is);
  return is;
}

TOutStream& TDataRectangle::Write(TOutStream& os) const
{
  WriteHeader(os, kTDataRectangle, kVersion);
  os << ' ' << cornerWidth << ' ' << cornerHeight << '\n' << '\t';
  return TData::Write(os);
}

uint32_t TDataRectangle::Message(uint32_t message, int32_t a, int32_t b, void* p)
{
  switch (message) {
  case MSG_TYPE_NAME:
    return IDS_NAME_ROUNDED_RECTANGLE;
  case MSG_MASK_A:
    return kMaskA;
  case MSG_MASK_B:
    return kMaskB;
  default:
    return TData::Message(message, a, b, p);
  }
}

bool TDataRectangle::Paint(TPage* page, uint8_t mode)
{
  if (!BeginPaint(*this, page, mode))
    return false;
  auto draw = [this, page] {
    if (cornerWidth != 0 || cornerHeight != 0)
      page->RoundRect(*this, cornerWidth, cornerHeight);
    else
      page->Rectangle(*this);
  };
  if (WantsBody(mode)) {
    page->SelectPen(pen);
    page->SelectBrush(brush);
    draw();
    page->RestoreDefaults();
  }
  if (WantsHighlight(*this, mode)) {
    BeginHighlight(page);
    draw();
    EndHighlight(page);
  }
  return true;
}

uint16_t TDataRectangle::ContextCommand(TDataOwner* client, uint16_t command)
{
  command = ChooseCommand(client, command);
  if (command == 0)
    return 0;
  if (command == CM_OBJ_CORNERS_SIZE) {
    int32_t width = cornerWidth, height = cornerHeight;
    if (!client || !client->AskPoint(LoadStr(IDS_CORNERS_SIZE_TITLE), width, height))
      return 0;
    SetCorners(width, height);
    Notify(command, nullptr);
    return command;
  }
  return TData::ContextCommand(client, command);
}

void TDataRectangle::GetRect(TRect& out, int32_t mode) const
{
  if (mode == kRectDrawing) {
    out = StrokeBounds(*this);
    return;
  }
  TData::GetRect(out, mode);
}

TData* TDataRectangle::Clone(TData* target, int32_t argument) const
{
  if (!target)
    target = new TDataRectangle;
  TData::Clone(target, argument);
  if (auto* rectangle = dynamic_cast<TDataRectangle*>(target))
    rectangle->SetCorners(cornerWidth, cornerHeight);
  return target;
}
