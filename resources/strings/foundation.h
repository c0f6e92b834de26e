#pragma once

#include <cstdint>

enum : uint32_t {
  // The user-interface language code; "en_US" selects English names and
  // the "." decimal separator.
  IDS_LANGUAGE = 1,
  IDS_FOUNDATION_FIRST_ = 40000,
};
