#include "TUndoData.h"

#include "TClient.h"

#include <utility>

namespace {

// What leaves the document goes from "new" to "old" and is owned from now
// on; what joins it goes the other way.
void LeaveDocument(THeldObject& current, THeldObject& old)
{
  current.LeaveDocument();
  old = std::move(current);
}

void JoinDocument(THeldObject& old, THeldObject& current)
{
  old.EnterDocument();
  current = std::move(old);
}

} // namespace

void TUndoData::NewLeftDocument()
{
  LeaveDocument(current, old);
}

void TUndoData::OldJoinedDocument()
{
  JoinDocument(old, current);
}

void TUndoData::New2LeftDocument()
{
  LeaveDocument(current2, old2);
}

void TUndoData::Old2JoinedDocument()
{
  JoinDocument(old2, current2);
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
