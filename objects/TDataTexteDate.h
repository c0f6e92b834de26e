#pragma once

#include "TDataTexteRpt.h"

#include <cstdint>

class TDataOwner;

// A field text showing the current date in one of the date formats of
// DateTime.h. It is renewed before printing.
class TDataTexteDate : public TDataTexteRpt
{
public:
  static constexpr int32_t kVersion = 0;
  static constexpr uint16_t kDefaultFormat = 2;

  TDataTexteDate();
  TDataTexteDate(TDataOwner* owner, int32_t x, int32_t y);

  // Without a client a default field (for readers); with one the user
  // places it and it shows today's date.
  static TStreamable* Create(TDataOwner* client, int32_t argument);

  TInStream& Read(TInStream& is) override;
  TOutStream& Write(TOutStream& os) const override;
  bool IsA(int32_t id) const override;
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override;
  // "Format" chooses among the date formats, each shown with today's date.
  uint16_t ContextCommand(TDataOwner* client, uint16_t command) override;
  TData* Clone(TData* target, int32_t argument) const override;

  uint16_t GetFormat() const { return format; }
  void SetFormat(uint16_t code) { format = code; }

private:
  uint16_t format = kDefaultFormat;
};
