#include "TDataSymbol.h"

#include "ClassTable.h"
#include "CommandIds.h"
#include "Geometry.h"
#include "Messages.h"
#include "ObjectPaint.h"
#include "StringTable.h"
#include "TClient.h"
#include "TDataGroupSymbol.h"
#include "TPage.h"
#include "TSymbolLibrary.h"
#include "TextCompare.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>

namespace {

// "Position" and "Center".
constexpr uint32_t kSymbolMaskA = 0x40000001;
// "Explode" and "Reference Point", offered only with a definition.
constexpr uint32_t kSymbolMaskB = 0x500;
// Where the name of a missing definition is written, from the top-left corner.
constexpr int32_t kNameInset = 4;

// Shifts the page origin for as long as it lives, so that a definition's
// members, stored relative to (0, 0), draw where the instance is.
class OriginShift
{
public:
  OriginShift(TPage* page, int32_t dx, int32_t dy) : m_page(page)
  {
    m_page->GetOrigin(m_x, m_y);
    m_page->SetOrigin(SaturateInt32(int64_t{m_x} + dx), SaturateInt32(int64_t{m_y} + dy));
  }
  ~OriginShift() { m_page->SetOrigin(m_x, m_y); }
  OriginShift(const OriginShift&) = delete;
  OriginShift& operator=(const OriginShift&) = delete;

private:
  TPage* m_page;
  int32_t m_x = 0;
  int32_t m_y = 0;
};

// Lifts the page's visible area for as long as it lives, so that nothing
// is left out for lying off the page.
class Unculled
{
public:
  explicit Unculled(TPage* page) : m_page(page)
  {
    m_hadClip = m_page->GetClipRect(m_clip);
    const TRect everything(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
    m_page->SetClipRect(&everything);
  }
  ~Unculled() { m_page->SetClipRect(m_hadClip ? &m_clip : nullptr); }
  Unculled(const Unculled&) = delete;
  Unculled& operator=(const Unculled&) = delete;

private:
  TPage* m_page;
  TRect m_clip;
  bool m_hadClip = false;
};

} // namespace

TDataSymbol::TDataSymbol()
{
  classId = kTDataSymbol;
}

TDataSymbol::TDataSymbol(TSymbolLibrary* symbols, int32_t x, int32_t y, std::string_view name)
    : symbolName(name), library(symbols)
{
  classId = kTDataSymbol;
  TRect::Assign(TRect(x, y, SaturateInt32(int64_t{x} + 1), SaturateInt32(int64_t{y} + 1)));
  Resolve();
}

TStreamable* TDataSymbol::Create(TDataOwner* client, int32_t)
{
  if (!client)
    return new TDataSymbol;
  TSymbolLibrary* library = SymbolLibraryOf(client);
  if (!library)
    return nullptr;
  const TDataGroupSymbol* definition = library->ChooseDefinition();
  if (!definition)
    return nullptr;
  auto symbol = std::make_unique<TDataSymbol>(library, 0, 0, definition->GetName());
  symbol->SetLayers(client->GetLayers());
  int32_t x = 0, y = 0;
  TClient* view = client->Client();
  if (view ? view->PointerInWindow(x, y) : client->PointerPosition(x, y))
    symbol->SetRect(TRect(x, y, 0, 0), kRectPosition);
  if (symbol->ContextCommand(client, CM_OBJ_POSITION) == 0)
    return nullptr;
  return symbol.release();
}

TInStream& TDataSymbol::Read(TInStream& is)
{
  int32_t version = 0;
  if (!BeginRecord(is, kTDataSymbol, version))
    return is;
  if (version >= 1) {
    int32_t x = refX, y = refY;
    is >> x >> y;
    if (is) {
      refX = x;
      refY = y;
    }
  }
  EndFirstLine(is, version, kVersion);
  ReadInto(is, symbolName);
  TData::Read(is);
  Resolve();
  return is;
}

TOutStream& TDataSymbol::Write(TOutStream& os) const
{
  WriteHeader(os, kTDataSymbol, kVersion);
  os << ' ' << refX << ' ' << refY << '\n';
  WriteNested(os, symbolName);
  os << '\t';
  return TData::Write(os);
}

void TDataSymbol::SetOwner(TDataOwner* client)
{
  TData::SetOwner(client);
  library = SymbolLibraryOf(client);
}

uint32_t TDataSymbol::Message(uint32_t message, int32_t a, int32_t b, void* p)
{
  switch (message) {
  case MSG_TYPE_NAME:
    return IDS_NAME_SYMBOL;
  case MSG_MASK_A:
    return kSymbolMaskA;
  case MSG_MASK_B:
    return FindDefinition() ? kSymbolMaskB : 0;
  case MSG_RESOLVE_SYMBOL:
    Resolve();
    return 1;
  case MSG_EXPLODE:
    return static_cast<uint32_t>(Explode(static_cast<TDataGroup*>(p)));
  default:
    return TData::Message(message, a, b, p);
  }
}

bool TDataSymbol::Paint(TPage* page, uint8_t mode)
{
  if (!library || !BeginPaint(*this, page, mode))
    return false;
  if (WantsBody(mode) || (mode & kPaintToggleOutline)) {
    const TDataGroupSymbol* definition = FindDefinition();
    const TDataGroupSymbol::Visit visit(definition);
    if (visit.Entered()) {
      const TPageDevice::SymbolUse use = page->BeginSymbol(symbolName.View(), left, top);
      if (use != TPageDevice::SymbolUse::kPlaced) {
        // A shared definition holds every member, wherever this instance is.
        std::optional<Unculled> unculled;
        if (use == TPageDevice::SymbolUse::kDefine)
          unculled.emplace(page);
        OriginShift shift(page, left, top);
        for (int32_t i = 0; i < definition->GetChildCount() && page->SpendNestedPaint(); ++i) {
          TData* member = definition->GetChild(i);
          page->PaintObject(*member, mode);
          // Members are shared by every instance: a selection outline toggled
          // here must not stay on them and show up in other instances.
          member->SetState(kSelected, false);
        }
      }
      if (use != TPageDevice::SymbolUse::kDrawMembers)
        page->EndSymbol();
    } else if (WantsBody(mode)) {
      PaintMissing(page);
    }
  }
  if (WantsHighlight(*this, mode)) {
    page->SetROP2(R2_XORPEN_);
    DrawReferenceCross(page, SaturateInt32(int64_t{left} + refX), SaturateInt32(int64_t{top} + refY));
    page->SetROP2(R2_COPYPEN_);
  }
  return true;
}

void TDataSymbol::PaintMissing(TPage* page) const
{
  page->RestoreDefaults();
  page->SelectPen(pen);
  page->SelectBrush(brush);
  page->Rectangle(*this);
  page->SetBkMode(TRANSPARENT_);
  page->SetTextColor(pen.GetColor());
  const int32_t x = SaturateInt32(int64_t{left} + kNameInset);
  const int32_t y = SaturateInt32(int64_t{top} + kNameInset);
  if (symbolName.Length() > 0)
    page->TextOut(x, y, symbolName.View());
  else
    page->ExtTextOut(x, y, LoadStr(IDS_SYMBOL_NO_NAME), this, ETO_CLIPPED_);
  page->SetBkMode(OPAQUE_);
  page->RestoreDefaults();
}

uint16_t TDataSymbol::ContextCommand(TDataOwner* client, uint16_t command)
{
  if (!client)
    return 0;
  command = ChooseCommand(client, command);
  switch (command) {
  case 0:
    return 0;
  case CM_OBJ_EXPLODE:
    // The editing engine explodes the instance through MSG_EXPLODE, so that
    // it can record the change.
    return command;
  case CM_OBJ_REFERENCE_POINT:
    if (library)
      library->Command(command, this, 0);
    return 0;
  default:
    return TData::ContextCommand(client, command);
  }
}

void TDataSymbol::GetRect(TRect& out, int32_t mode) const
{
  if (mode == kRectPosition) {
    out.left = SaturateInt32(int64_t{left} + refX);
    out.top = SaturateInt32(int64_t{top} + refY);
    out.right = Width();
    out.bottom = Height();
  } else {
    TData::GetRect(out, mode);
  }
}

void TDataSymbol::SetRect(const TRect& r, int32_t mode)
{
  if (mode == kRectPosition)
    Offset(SaturateInt32(int64_t{r.left} - left - refX), SaturateInt32(int64_t{r.top} - top - refY));
  else
    TData::SetRect(r, mode);
}

namespace {

// The layers of each definition met while one instance's layers are
// gathered: a definition shown many times below (each level placing the
// one under it twice, say) is walked once, not once per appearance.
class LayerMemo
{
public:
  LayerMemo() : m_owns(active == nullptr)
  {
    if (m_owns)
      active = &m_known;
  }
  ~LayerMemo()
  {
    if (m_owns)
      active = nullptr;
  }
  LayerMemo(const LayerMemo&) = delete;
  LayerMemo& operator=(const LayerMemo&) = delete;

  static bool Find(const TDataGroupSymbol* definition, uint16_t& layers)
  {
    if (!active)
      return false;
    const auto found = active->find(definition);
    if (found == active->end())
      return false;
    layers = found->second;
    return true;
  }
  static void Store(const TDataGroupSymbol* definition, uint16_t layers)
  {
    if (active)
      (*active)[definition] = layers;
  }

private:
  static thread_local std::unordered_map<const TDataGroupSymbol*, uint16_t>* active;
  std::unordered_map<const TDataGroupSymbol*, uint16_t> m_known;
  bool m_owns;
};

thread_local std::unordered_map<const TDataGroupSymbol*, uint16_t>* LayerMemo::active = nullptr;

} // namespace

uint16_t TDataSymbol::GetLayers() const
{
  const TDataGroupSymbol* definition = FindDefinition();
  uint16_t mask = 0;
  if (definition && LayerMemo::Find(definition, mask))
    return mask;
  const LayerMemo memo;
  const TDataGroupSymbol::Visit visit(definition);
  if (!visit.Entered())
    return owner ? owner->GetLayers() : 0;
  mask = definition->GetLayers();
  LayerMemo::Store(definition, mask);
  return mask;
}

TData* TDataSymbol::Clone(TData* target, int32_t argument) const
{
  TDataSymbol* symbol = nullptr;
  if (target) {
    symbol = dynamic_cast<TDataSymbol*>(target);
    if (!symbol)
      return TData::Clone(target, argument);
  } else {
    TRect position;
    GetRect(position, kRectPosition);
    symbol = new TDataSymbol(library, position.left, position.top, symbolName.View());
  }
  TData::Clone(symbol, argument);
  symbol->refX = refX;
  symbol->refY = refY;
  symbol->symbolName.Assign(symbolName);
  return symbol;
}

bool TDataSymbol::NameEquals(std::string_view name) const
{
  return !name.empty() && CompareText(symbolName.View(), name) == 0;
}

bool TDataSymbol::Rename(std::string_view oldName, std::string_view newName, StringCapacities* before)
{
  if (newName.empty() || !NameEquals(oldName))
    return false;
  if (before)
    before->emplace_back(&symbolName, symbolName.Capacity());
  SetName(newName);
  return true;
}

TDataGroupSymbol* TDataSymbol::FindDefinition() const
{
  return library ? library->FindDefinition(symbolName.View()) : nullptr;
}

void TDataSymbol::GetReference(int32_t& x, int32_t& y) const
{
  x = refX;
  y = refY;
}

void TDataSymbol::RestorePlacement(const TRect& frame, int32_t x, int32_t y)
{
  Assign(frame);
  refX = x;
  refY = y;
}

void TDataSymbol::Resolve()
{
  const TDataGroupSymbol* definition = FindDefinition();
  if (!definition)
    return;
  TRect::Offset(refX, refY);
  right = SaturateInt32(int64_t{left} + definition->Width());
  bottom = SaturateInt32(int64_t{top} + definition->Height());
  definition->GetReference(refX, refY);
  TRect::Offset(-refX, -refY);
}

int32_t TDataSymbol::Explode(TDataGroup* target) const
{
  const TDataGroupSymbol* definition = FindDefinition();
  if (!target || !definition)
    return 0;
  int32_t added = 0;
  for (int32_t i = 0; i < definition->GetChildCount(); ++i) {
    std::unique_ptr<TData> piece(definition->GetChild(i)->Clone(nullptr, 0));
    if (!piece)
      break;
    TRect position;
    piece->GetRect(position, kRectPosition);
    position.left = SaturateInt32(int64_t{position.left} + left);
    position.top = SaturateInt32(int64_t{position.top} + top);
    piece->SetRect(position, kRectPosition);
    piece->SetState(kNoReferenceCross, false);
    if (!target->AddChild(piece.get()))
      break;
    piece.release();
    ++added;
  }
  return added;
}
