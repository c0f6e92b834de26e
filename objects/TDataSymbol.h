#pragma once

#include "TData.h"
#include "TString.h"

#include <cstdint>
#include <string_view>

class TDataGroup;
class TDataGroupSymbol;
class TSymbolLibrary;

// A placed symbol: it names a definition of the document's symbol library
// and shows the definition's members moved to its own position. It is
// placed by its reference point, (left + refX, top + refY); its size is
// always its definition's. An instance whose definition is missing keeps
// its rectangle and shows as a frame with its name.
class TDataSymbol : public TData
{
public:
  static constexpr int32_t kVersion = 1;

  TDataSymbol();
  // An instance whose reference point starts at (x, y) before it looks up
  // its definition.
  TDataSymbol(TSymbolLibrary* library, int32_t x, int32_t y, std::string_view name);

  // The class factory: with a view, lets the user choose a definition and
  // drag the new instance into place; null when cancelled.
  static TStreamable* Create(TDataOwner* client, int32_t argument);

  TInStream& Read(TInStream& is) override;
  TOutStream& Write(TOutStream& os) const override;
  void SetOwner(TDataOwner* client) override;
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override;
  bool Paint(TPage* page, uint8_t mode) override;
  uint16_t ContextCommand(TDataOwner* client, uint16_t command) override;
  void GetRect(TRect& out, int32_t mode) const override;
  void SetRect(const TRect& r, int32_t mode) override;
  uint16_t GetLayers() const override;
  TData* Clone(TData* target, int32_t argument) const override;

  void SetName(std::string_view name) { symbolName.Assign(name); }
  std::string_view GetName() const { return symbolName.View(); }
  // False for an empty name.
  bool NameEquals(std::string_view name) const;
  // Only when the instance is called oldName and newName is not empty;
  // before (may be null) receives the name's string and its capacity.
  bool Rename(std::string_view oldName, std::string_view newName, StringCapacities* before = nullptr);
  // The definition of the instance's name; null without a library or when
  // the library has none.
  TDataGroupSymbol* FindDefinition() const;
  TSymbolLibrary* GetLibrary() const { return library; }
  void GetReference(int32_t& x, int32_t& y) const;
  // Puts the instance back where it stood, with the reference point it had:
  // an undo that takes away the definition it had found again.
  void RestorePlacement(const TRect& frame, int32_t x, int32_t y);
  // Takes the definition's size and reference point, keeping the reference
  // point where it is; nothing changes without a definition.
  void Resolve();
  // Adds copies of the definition's members, placed where the instance
  // shows them, to target; returns how many were added.
  int32_t Explode(TDataGroup* target) const;

private:
  void PaintMissing(TPage* page) const;

  TString symbolName;
  TSymbolLibrary* library = nullptr; // not owned
  int32_t refX = 0;
  int32_t refY = 0;
};
