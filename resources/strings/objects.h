#pragma once

#include <cstdint>

enum : uint32_t {
  IDS_OBJECTS_FIRST_ = 42000,
};
