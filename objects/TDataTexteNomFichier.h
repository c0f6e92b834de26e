#pragma once

#include "TDataTexteRpt.h"

#include <cstdint>

class TDataOwner;

// A field text showing the name of the document's file, as its view
// names it (the file name with its extension, or the name of an untitled
// document). It is renewed before the document is saved.
class TDataTexteNomFichier : public TDataTexteRpt
{
public:
  static constexpr int32_t kVersion = 0;

  TDataTexteNomFichier();
  TDataTexteNomFichier(TDataOwner* owner, int32_t x, int32_t y);

  // Without a client a default field (for readers); with one the user
  // places it and it shows the document's name.
  static TStreamable* Create(TDataOwner* client, int32_t argument);

  TInStream& Read(TInStream& is) override;
  TOutStream& Write(TOutStream& os) const override;
  bool IsA(int32_t id) const override;
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override;
  TData* Clone(TData* target, int32_t argument) const override;

private:
  // Stored with the field; it selects nothing yet.
  uint16_t format = 0;
};
