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

void TUndoData::New2LeftDocument()
{
  current2.LeaveDocument();
  old2 = std::move(current2);
}

void TUndoData::Old2JoinedDocument()
{
  old2.EnterDocument();
  current2 = std::move(old2);
}

bool TUndoData::SnapshotOrder(const TClient& view)
{
  snapshot = view.ObjectOrder();
  return !snapshot.empty();
}
