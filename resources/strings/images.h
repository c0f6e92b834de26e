#pragma once

#include <cstdint>

enum : uint32_t {
  IDS_IMAGES_FIRST_ = 45000,
};
