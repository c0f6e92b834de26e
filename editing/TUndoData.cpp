#include "TUndoData.h"

#include "TClient.h"

#include <utility>

void TUndoData::NewLeftDocument()
{
  current.LeaveDocument();
  old = std::move(current);
}

void TUndoData::OldJoinedDocument()
{
  old.EnterDocument();
  current = std::move(old);
}

void TUndoData::Exchange()
{
  old.EnterDocument();
  current.LeaveDocument();
  std::swap(old, current);
}

bool TUndoData::SnapshotOrder(const TClient& view)
{
  snapshot = view.ObjectOrder();
  return !snapshot.empty();
}
