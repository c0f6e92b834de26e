#include "TUserInput.h"

#include "StringIds.h"

uint32_t CheckLayerSettings(uint16_t active, uint16_t visible, uint16_t protectedMask)
{
  // Each check asks whether every active layer lies in the offending set.
  auto allIn = [active](uint32_t set) { return (active & ~set & 0xFFFFu) == 0; };
  const uint32_t hidden = static_cast<uint16_t>(~visible);
  if (allIn(protectedMask & hidden))
    return IDS_LAYER_ACTIVE_PROTECTED_HIDDEN;
  if (allIn(protectedMask))
    return IDS_LAYER_ACTIVE_PROTECTED;
  if (allIn(hidden))
    return IDS_LAYER_ACTIVE_HIDDEN;
  return 0;
}
