#include "TDataTexteRpt.h"

#include "ClassTable.h"
#include "Messages.h"
#include "ObjectCreation.h"
#include "StringTable.h"
#include "TClient.h"
#include "TUserInput.h"

#include <algorithm>

namespace {

constexpr uint32_t kMaskA = 0xC8200807;
constexpr uint32_t kMaskB = 0x10;

} // namespace

TDataTexteRpt::TDataTexteRpt() : TDataTexteRpt(nullptr, 0, 0) {}

TDataTexteRpt::TDataTexteRpt(TDataOwner* client, int32_t x, int32_t y) : TDataTexte(x, y, 0)
{
  classId = kTDataTexteRpt;
  owner = client;
}

TStreamable* TDataTexteRpt::Create(TDataOwner* client, int32_t)
{
  return client ? nullptr : new TDataTexteRpt;
}

TStreamable*
TDataTexteRpt::PlaceField(TDataOwner* client,
                          const std::function<std::unique_ptr<TDataTexteRpt>(TDataOwner*, TPoint)>& build)
{
  if (!client)
    return nullptr;
  std::unique_ptr<TData> made =
      PlaceObject(*client, [&](TPoint p) -> std::unique_ptr<TData> { return build(client, p); });
  if (made)
    made->Message(MSG_REFRESH_NO_WINDOW, 0, 0, nullptr);
  return made.release();
}

TInStream& TDataTexteRpt::Read(TInStream& is)
{
  int32_t version;
  if (!BeginRecord(is, kTDataTexteRpt, version))
    return is;
  EndFirstLine(is, version, kVersion);
  return TDataTexte::Read(is);
}

TOutStream& TDataTexteRpt::Write(TOutStream& os) const
{
  WriteHeader(os, kTDataTexteRpt, kVersion);
  os << '\n' << '\t';
  return TDataTexte::Write(os);
}

TInStream& TDataTexteRpt::ReadField(TInStream& is, int32_t id, uint16_t& format)
{
  int32_t version;
  if (!BeginRecord(is, id, version))
    return is;
  uint16_t stored = format;
  is >> stored;
  if (is.fail())
    return is;
  format = stored;
  EndFirstLine(is, version, kVersion);
  return TDataTexteRpt::Read(is);
}

TOutStream& TDataTexteRpt::WriteField(TOutStream& os, int32_t id, uint16_t format) const
{
  WriteHeader(os, id, kVersion);
  os << ' ' << format << '\n' << '\t';
  return TDataTexteRpt::Write(os);
}

bool TDataTexteRpt::IsA(int32_t id) const
{
  return id == kTDataTexteRpt || TDataTexte::IsA(id);
}

uint32_t TDataTexteRpt::Message(uint32_t message, int32_t a, int32_t b, void* p)
{
  switch (message) {
  case MSG_MASK_A:
    return kMaskA;
  case MSG_MASK_B:
    return kMaskB;
  case MSG_REFRESH:
    return Refresh();
  default:
    return TDataTexte::Message(message, a, b, p);
  }
}

uint32_t TDataTexteRpt::Refresh()
{
  TRect before;
  GetRect(before, kRectDrawing);
  if (Message(MSG_REFRESH_NO_WINDOW, 0, 0, nullptr) == 0)
    return 0;
  if (owner) {
    TRect after;
    GetRect(after, kRectDrawing);
    after.Union(before);
    owner->Invalidate(after);
  }
  return 1;
}

uint16_t TDataTexteRpt::ChooseFormat(TDataOwner* client, uint16_t command, uint32_t titleId,
                                     const std::vector<uint16_t>& codes,
                                     const std::function<std::string(uint16_t)>& sample, uint16_t& format)
{
  TUserInput* input = client ? client->GetInput() : nullptr;
  if (!input || codes.empty())
    return 0;
  std::vector<std::string> options;
  for (uint16_t code : codes)
    options.push_back(sample(code));
  const auto current = std::find(codes.begin(), codes.end(), format);
  int32_t index = current == codes.end() ? 0 : static_cast<int32_t>(current - codes.begin());
  if (!input->ChooseOption(LoadStr(titleId), LoadStr(IDS_FORMAT_GROUP), options, index) || index < 0 ||
      index >= static_cast<int32_t>(codes.size()))
    return 0;
  format = codes[static_cast<size_t>(index)];
  Refresh();
  return command;
}

uint32_t TDataTexteRpt::TakeValue(std::string_view value)
{
  if (value.empty() || value == GetText())
    return 0;
  SetText(value);
  return 1;
}

TData* TDataTexteRpt::Clone(TData* target, int32_t argument) const
{
  if (!target)
    target = new TDataTexteRpt;
  TDataTexte::Clone(target, argument);
  if (auto* copy = dynamic_cast<TDataTexteRpt*>(target))
    copy->owner = owner;
  return target;
}
