#pragma once

#include "GString.h"
#include "TStreamable.h"

// The stored form of a GString: "TString 1 capacity length " followed by
// exactly length raw bytes and a line feed. Texts that are not valid UTF-8
// (older files) are read as Windows-1252.
class TString : public TStreamable, public GString
{
public:
  static constexpr int32_t kVersion = 1;

  TString();
  TString(const char* text, uint32_t size = 0);
  TString(std::string_view text);

  TInStream& Read(TInStream& is) override;
  TOutStream& Write(TOutStream& os) const override;
};
