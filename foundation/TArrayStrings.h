#pragma once

#include "TArrayPtr.h"

#include <cstdint>

// An array of fixed-size, owned character buffers (layer names, for example).
// Each buffer holds maxLength bytes of text plus the terminating zero.
class TArrayStrings : public TArrayPtr
{
public:
  TArrayStrings(int32_t n, int32_t maxLength);
  ~TArrayStrings() override;

  int32_t MaxLength() const { return m_maxLength; }
  const char* GetString(int32_t i) const { return static_cast<const char*>(Get(i)); }
  // Copies at most maxLength bytes (never splitting a UTF-8 character);
  // fails for a missing entry or a null text.
  bool SetString(int32_t i, const char* text);

private:
  char* m_second = nullptr; // released with the array; otherwise unused
  int32_t m_reserved = 0;
  int32_t m_maxLength = 0;
};
