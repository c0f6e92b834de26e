#pragma once

#include "TDataPolygone.h"

#include <cstdint>

class TDataOwner;

// An open chain through a list of vertices: the polygon without its closing
// edge and its fill. It is hit only near its edges.
class TDataPolyLine : public TDataPolygone
{
public:
  static constexpr int32_t kVersion = 1;

  TDataPolyLine();
  TDataPolyLine(const TPoint* points, uint16_t count);

  // Without a client an empty polyline (for readers); with one the user
  // clicks the vertices one after another and ends with ENTER. Null when
  // cancelled.
  static TStreamable* Create(TDataOwner* client, int32_t argument);

  TInStream& Read(TInStream& is) override;
  TOutStream& Write(TOutStream& os) const override;
  bool IsA(int32_t id) const override;
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override;
  TData* Clone(TData* target, int32_t argument) const override;
};
