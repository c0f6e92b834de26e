#pragma once

#include "GString.h"
#include "TStreamable.h"

#include <cstdint>
#include <utility>
#include <vector>

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

// Strings with the capacity each had before its text changed. The capacity
// is stored with the text, and a buffer only grows: giving a string its
// old text back gives back its old bytes only with its old capacity.
using StringCapacities = std::vector<std::pair<GString*, uint32_t>>;
// Puts every string back to the capacity it had, where its text fits.
void RestoreCapacities(const StringCapacities& capacities);
