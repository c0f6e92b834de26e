#pragma once

#include <cstdint>

enum : uint32_t {
  IDS_EDITING_FIRST_ = 43000,
};
