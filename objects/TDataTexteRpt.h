#pragma once

#include "TDataTexte.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TDataOwner;

// The base of the field texts: a one-line text whose characters the
// program fills in (the date, the time, the document's file name) and
// renews when its view asks it to refresh.
//
// Message 32684 makes a field recompute its value (1 when its text
// changed); 32685 does the same and repaints what changed on its view.
class TDataTexteRpt : public TDataTexte
{
public:
  static constexpr int32_t kVersion = 0;

  TDataTexteRpt();
  // At (x, y) on the page of owner (may be null).
  TDataTexteRpt(TDataOwner* owner, int32_t x, int32_t y);

  // A default field for readers; the base kind is never made by the user.
  static TStreamable* Create(TDataOwner* client, int32_t argument);

  TInStream& Read(TInStream& is) override;
  TOutStream& Write(TOutStream& os) const override;
  bool IsA(int32_t id) const override;
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override;
  // Also keeps the owner: a copy asks the same view for its value.
  TData* Clone(TData* target, int32_t argument) const override;

protected:
  // The creation of every field kind: the user places it, it goes on the
  // view's active layers and shows its value at once.
  static TStreamable*
  PlaceField(TDataOwner* client,
             const std::function<std::unique_ptr<TDataTexteRpt>(TDataOwner*, TPoint)>& build);
  // A concrete field's record: its class name, version 0 and its format
  // word on the first line, then this record nested.
  TInStream& ReadField(TInStream& is, int32_t id, uint16_t& format);
  TOutStream& WriteField(TOutStream& os, int32_t id, uint16_t format) const;
  // The "Format" command: the user picks one of codes, each shown as the
  // field would show it now (sample); the field then refreshes. Reports the
  // command, or 0 when cancelled.
  uint16_t ChooseFormat(TDataOwner* client, uint16_t command, uint32_t titleId,
                        const std::vector<uint16_t>& codes,
                        const std::function<std::string(uint16_t)>& sample, uint16_t& format);
  // Stores a newly computed value; 1 when the text changed. An empty value
  // keeps the text.
  uint32_t TakeValue(std::string_view value);

private:
  // Recomputes the value and repaints the old and the new area when it
  // changed; 1 then.
  uint32_t Refresh();
};
