#pragma once

#include <cstdint>

class TData;

// What the view needs to see inside a carrier: an object answering
// IsA(kTDataGroup) that holds a set of objects. The view adds, removes and
// looks for the children one by one instead of the carrier itself.
class TDataContainer
{
public:
  virtual ~TDataContainer() = default;

  virtual int32_t ChildCount() const = 0;
  // Null for an index out of range.
  virtual TData* ChildAt(int32_t index) const = 0;
};
