#pragma once

#include <cstdint>

enum : uint32_t {
  IDS_OUTPUT_FIRST_ = 44000,
};
