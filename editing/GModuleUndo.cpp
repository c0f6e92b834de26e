#include "GModuleUndo.h"

#include <algorithm>

GModuleUndo::GModuleUndo(int32_t capacity) : records(static_cast<size_t>(std::max(capacity, 0))) {}

int32_t GModuleUndo::Push(std::unique_ptr<GUndoObj> record)
{
  if (!record || records.empty())
    return 0;
  const auto capacity = static_cast<int32_t>(records.size());
  // A new change discards the redo branch.
  for (int32_t i = cursor + 1; i < capacity && records[static_cast<size_t>(i)]; ++i)
    records[static_cast<size_t>(i)].reset();
  // Full: the oldest step is forgotten.
  if (cursor == capacity - 1) {
    records.front().reset();
    std::rotate(records.begin(), records.begin() + 1, records.end());
    --cursor;
  }
  ++cursor;
  records[static_cast<size_t>(cursor)] = std::move(record);
  return cursor + 1;
}

GUndoObj* GModuleUndo::PeekUndo() const
{
  return cursor >= 0 ? records[static_cast<size_t>(cursor)].get() : nullptr;
}

GUndoObj* GModuleUndo::TakeUndo()
{
  GUndoObj* record = PeekUndo();
  if (record)
    --cursor;
  return record;
}

GUndoObj* GModuleUndo::PeekRedo() const
{
  const size_t next = static_cast<size_t>(cursor + 1);
  return next < records.size() ? records[next].get() : nullptr;
}

GUndoObj* GModuleUndo::TakeRedo()
{
  GUndoObj* record = PeekRedo();
  if (record)
    ++cursor;
  return record;
}

void GModuleUndo::Clear()
{
  for (auto& record : records)
    record.reset();
  cursor = -1;
}
