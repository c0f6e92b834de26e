#pragma once

#include "TDataTexteRpt.h"

#include <cstdint>

class TDataOwner;

// A field text showing the current time: hours and minutes, or with
// seconds when its format is kWithSeconds. It is renewed before printing.
class TDataTexteHeure : public TDataTexteRpt
{
public:
  static constexpr int32_t kVersion = 0;
  static constexpr uint16_t kDefaultFormat = 20;
  static constexpr uint16_t kWithSeconds = 21;

  TDataTexteHeure();
  TDataTexteHeure(TDataOwner* owner, int32_t x, int32_t y);

  // Without a client a default field (for readers); with one the user
  // places it and it shows the time.
  static TStreamable* Create(TDataOwner* client, int32_t argument);

  TInStream& Read(TInStream& is) override;
  TOutStream& Write(TOutStream& os) const override;
  bool IsA(int32_t id) const override;
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override;
  // "Format" chooses between the two time layouts, shown with the time.
  uint16_t ContextCommand(TDataOwner* client, uint16_t command) override;
  TData* Clone(TData* target, int32_t argument) const override;

  uint16_t GetFormat() const { return format; }
  void SetFormat(uint16_t code) { format = code; }

private:
  uint16_t format = kDefaultFormat;
};
