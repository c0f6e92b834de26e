#pragma once

#include "TArrayStrings.h"
#include "TClientModule.h"

#include <cstdint>

class TInStream;
class TOutStream;
class TPage;

// The eight layers of a page view: their names, and the visible, active and
// protected masks (kept by the page and the view), the layers dialog and the
// "VEKT Layers" section of the document.
class TClientModuleLayer : public TClientModule
{
public:
  static constexpr int32_t kLayerCount = 8;
  static constexpr int32_t kNameLength = 31; // bytes
  static constexpr int32_t kSectionVersion = 2;

  explicit TClientModuleLayer(TClient* client);

  // 32727: the layers dialog.
  int32_t Command(uint16_t command, TData* object, int32_t parameter) override;

  uint16_t GetVisible() const;
  void SetVisible(uint16_t mask);
  uint16_t GetActive() const;
  void SetActive(uint16_t mask);
  uint16_t GetProtected() const;
  void SetProtected(uint16_t mask);
  // Null for an index outside 0..7.
  const char* GetName(int32_t index) const;
  // Keeps at most kNameLength bytes without splitting a character; false for
  // an index outside 0..7.
  bool SetName(int32_t index, const char* text);

  // The layers dialog; true when the user confirmed (and the settings were
  // applied).
  bool EditLayers();

  // Writes the tag and the section; Read finds the section itself and
  // applies the defaults when it is missing.
  void Write(TOutStream& os) const;
  void Read(TInStream& is);

private:
  TPage* Page() const;

  TArrayStrings names;
};
