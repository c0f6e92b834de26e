#pragma once

#include <cstdint>

enum : uint32_t {
  IDS_APP_FIRST_ = 47000,
};
