#pragma once

#include "GUndoObj.h"

#include <cstdint>
#include <memory>
#include <vector>

// A document's history: a bounded array of steps with a cursor. Steps up to
// the cursor can be undone, the newest first; the steps above it, up to the
// first empty slot, can be redone. A new step discards the redo branch, and
// when the array is full the oldest step is forgotten.
class GModuleUndo
{
public:
  static constexpr int32_t kDocumentCapacity = 40;

  // A capacity below 1 makes an inert history that takes no step.
  explicit GModuleUndo(int32_t capacity = kDocumentCapacity);

  // Takes the step; answers how many steps can now be undone, 0 (and the
  // step is destroyed) when there is no step or no room at all.
  int32_t Push(std::unique_ptr<GUndoObj> record);
  // The step undo would take, or null; TakeUndo moves the cursor down past
  // it. The history keeps owning it: redo takes it next.
  GUndoObj* PeekUndo() const;
  GUndoObj* TakeUndo();
  // The step redo would take, or null; TakeRedo moves the cursor up to it.
  GUndoObj* PeekRedo() const;
  GUndoObj* TakeRedo();
  // Destroys every step (and so what they hold out of the document).
  void Clear();

  int32_t GetCursor() const { return cursor; }
  int32_t GetCapacity() const { return static_cast<int32_t>(records.size()); }

private:
  std::vector<std::unique_ptr<GUndoObj>> records;
  int32_t cursor = -1;
};
