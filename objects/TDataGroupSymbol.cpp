#include "TDataGroupSymbol.h"

#include "ClassTable.h"
#include "Messages.h"
#include "TClient.h"
#include "TDataSymbol.h"
#include "TextCompare.h"

#include <memory>

TDataGroupSymbol::TDataGroupSymbol()
{
  classId = kTDataGroupSymbol;
}

TDataGroupSymbol::Visit::Visit(const TDataGroupSymbol* definition)
    : m_definition(definition && !definition->visiting ? definition : nullptr)
{
  if (m_definition)
    m_definition->visiting = true;
}

TDataGroupSymbol::Visit::~Visit()
{
  if (m_definition)
    m_definition->visiting = false;
}

TStreamable* TDataGroupSymbol::Create(TDataOwner* client, int32_t)
{
  auto* definition = new TDataGroupSymbol;
  if (client) {
    definition->SetLayers(client->GetLayers());
    definition->SetOwner(client);
  }
  return definition;
}

TInStream& TDataGroupSymbol::Read(TInStream& is)
{
  int32_t version = 0;
  if (!BeginRecord(is, kTDataGroupSymbol, version))
    return is;
  // A newer writer may put fields of its own on the first line; they go,
  // and the name with them.
  if (version > kVersion)
    EndFirstLine(is, version, kVersion);
  else
    ReadInto(is, symbolName);
  TDataGroup::Read(is);
  // The first definitions kept the handle cross of their members.
  if (version == 0)
    SetChildrenState(kNoReferenceCross, true);
  return is;
}

TOutStream& TDataGroupSymbol::Write(TOutStream& os) const
{
  WriteHeader(os, kTDataGroupSymbol, kVersion);
  os << ' ';
  WriteNested(os, symbolName);
  os << '\t';
  return TDataGroup::Write(os);
}

TData* TDataGroupSymbol::Clone(TData* target, int32_t argument) const
{
  TDataGroupSymbol* definition = target ? dynamic_cast<TDataGroupSymbol*>(target) : new TDataGroupSymbol;
  if (!definition)
    return TDataGroup::Clone(target, argument);
  TDataGroup::Clone(definition, argument);
  definition->symbolName.Assign(symbolName);
  return definition;
}

bool TDataGroupSymbol::NameEquals(std::string_view name) const
{
  return !name.empty() && CompareText(symbolName.View(), name) == 0;
}

int32_t TDataGroupSymbol::CountInstances(std::string_view name) const
{
  int32_t count = 0;
  for (const TData* child : children) {
    if (!child->IsA(kTDataSymbol))
      continue;
    if (name.empty() || static_cast<const TDataSymbol*>(child)->NameEquals(name))
      ++count;
  }
  return count;
}

bool TDataGroupSymbol::Rename(std::string_view oldName, std::string_view newName, StringCapacities* before)
{
  if (newName.empty())
    return false;
  bool renamed = false;
  if (NameEquals(oldName)) {
    if (before)
      before->emplace_back(&symbolName, symbolName.Capacity());
    SetName(newName);
    renamed = true;
  }
  for (TData* child : children) {
    if (child->IsA(kTDataSymbol) && static_cast<TDataSymbol*>(child)->Rename(oldName, newName, before))
      renamed = true;
  }
  return renamed;
}

void TDataGroupSymbol::RefreshInstances()
{
  int32_t instances = 0;
  for (TData* child : children) {
    if (child->IsA(kTDataSymbol)) {
      child->Message(MSG_RESOLVE_SYMBOL, 0, 0, nullptr);
      ++instances;
    }
  }
  if (instances == 0)
    return;
  TRect content;
  UnionOfChildren(content, 0);
  const int32_t dx = left - content.left;
  const int32_t dy = top - content.top;
  content.TRect::Offset(dx, dy);
  TData::SetRect(content, kRectFrame);
  if (dx == 0 && dy == 0)
    return;
  refX += dx;
  refY += dy;
  for (TData* child : children)
    child->Offset(dx, dy);
}

int32_t TDataGroupSymbol::BuildFrom(const TDataGroup& source)
{
  left = 0;
  top = 0;
  right = source.Width();
  bottom = source.Height();
  int32_t copied = 0;
  for (int32_t i = 0; i < source.GetChildCount(); ++i) {
    std::unique_ptr<TData> copy(source.GetChild(i)->Clone(nullptr, 0));
    if (!copy)
      break;
    TRect position;
    copy->GetRect(position, kRectPosition);
    position.left -= source.left;
    position.top -= source.top;
    copy->SetRect(position, kRectPosition);
    copy->SetState(kNoReferenceCross, true);
    if (!AddChild(copy.get()))
      break;
    copy.release();
    ++copied;
  }
  return copied;
}
