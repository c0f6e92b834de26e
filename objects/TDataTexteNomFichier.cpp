#include "TDataTexteNomFichier.h"

#include "ClassTable.h"
#include "Messages.h"
#include "StringTable.h"
#include "TClient.h"

#include <string>

namespace {

constexpr uint32_t kMaskA = 0xC0200807;
constexpr uint32_t kMaskB = 0x10;
// The buffer the view copies the name into.
constexpr int32_t kNameBuffer = 256;

} // namespace

TDataTexteNomFichier::TDataTexteNomFichier() : TDataTexteNomFichier(nullptr, 0, 0) {}

TDataTexteNomFichier::TDataTexteNomFichier(TDataOwner* client, int32_t x, int32_t y)
    : TDataTexteRpt(client, x, y)
{
  classId = kTDataTexteNomFichier;
  SetSingleLine(true);
  SetState(kRefreshOnSave, true);
}

TStreamable* TDataTexteNomFichier::Create(TDataOwner* client, int32_t)
{
  if (!client)
    return new TDataTexteNomFichier;
  return PlaceField(client, [](TDataOwner* view, TPoint p) -> std::unique_ptr<TDataTexteRpt> {
    return std::make_unique<TDataTexteNomFichier>(view, p.x, p.y);
  });
}

TInStream& TDataTexteNomFichier::Read(TInStream& is)
{
  return ReadField(is, kTDataTexteNomFichier, format);
}

TOutStream& TDataTexteNomFichier::Write(TOutStream& os) const
{
  return WriteField(os, kTDataTexteNomFichier, format);
}

bool TDataTexteNomFichier::IsA(int32_t id) const
{
  return id == kTDataTexteNomFichier || TDataTexteRpt::IsA(id);
}

uint32_t TDataTexteNomFichier::Message(uint32_t message, int32_t a, int32_t b, void* p)
{
  switch (message) {
  case MSG_TYPE_NAME:
    return IDS_NAME_FILE_NAME;
  case MSG_MASK_A:
    return kMaskA;
  case MSG_MASK_B:
    return kMaskB;
  case MSG_REFRESH_NO_WINDOW: {
    // Where the document lives, so a title block can carry it; an untitled
    // document has no path yet and the field keeps what it shows.
    char name[kNameBuffer] = {};
    if (!owner || owner->Message(MSG_FILE_PATH_QUERY, kNameBuffer, 0, name) == 0)
      return 0;
    return TakeValue(name);
  }
  default:
    return TDataTexteRpt::Message(message, a, b, p);
  }
}

TData* TDataTexteNomFichier::Clone(TData* target, int32_t argument) const
{
  if (!target)
    target = new TDataTexteNomFichier;
  TDataTexteRpt::Clone(target, argument);
  if (auto* copy = dynamic_cast<TDataTexteNomFichier*>(target))
    copy->format = format;
  return target;
}
