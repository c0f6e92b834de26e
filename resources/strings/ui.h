#pragma once

#include <cstdint>

enum : uint32_t {
  IDS_UI_FIRST_ = 46000,
};
