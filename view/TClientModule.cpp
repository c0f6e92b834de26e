#include "TClientModule.h"

int32_t TClientModule::Command(uint16_t, TData*, int32_t)
{
  return 0;
}
