#pragma once

#include "GUndoObj.h"
#include "THeldObject.h"
#include "TRect.h"
#include "TString.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class TClient;
class TData;

// A step of the data or symbol module. It does not describe the change; it
// holds the objects themselves: what left the document (old, owned, with a
// carrier's children), what entered it (new, in the document), and where
// the order matters a snapshot of the whole drawing order. Undo and redo
// move these objects between the document and the record, so an object
// keeps its identity and the record always owns exactly what is out of the
// document.
class TUndoData : public GUndoObj
{
public:
  explicit TUndoData(int32_t moduleId) : GUndoObj(moduleId) {}

  TData* GetOld() const { return old.Get(); }
  TData* GetOld2() const { return old2.Get(); }
  TData* GetNew() const { return current.Get(); }
  TData* GetNew2() const { return current2.Get(); }
  // Whether new gathers objects of the view in a carrier.
  bool NewIsCarrier() const { return current.IsCarrier(); }
  // Out of the document: owned by the record from now on.
  void SetOld(std::unique_ptr<TData> object) { old = THeldObject::OutOfDocument(std::move(object)); }
  void SetOld2(std::unique_ptr<TData> object) { old2 = THeldObject::OutOfDocument(std::move(object)); }
  // In the document (a carrier's shell is the record's).
  void SetNew(TData* object) { current = THeldObject::InDocument(object); }
  void SetNew2(TData* object) { current2 = THeldObject::InDocument(object); }

  // new left the document: it becomes old, and the record owns it.
  void NewLeftDocument();
  // old joined the document: it becomes new, and the view owns it.
  void OldJoinedDocument();
  // Both at once (an explode and its undo): old joins, new leaves, and they
  // exchange places.
  void Exchange();
  // The same for the second objects (a symbol definition between the
  // library and the step).
  void New2LeftDocument();
  void Old2JoinedDocument();

  // A renaming's names, before and after.
  void SetNames(std::string before, std::string after)
  {
    nameBefore = std::move(before);
    nameAfter = std::move(after);
  }
  const std::string& GetNameBefore() const { return nameBefore; }
  const std::string& GetNameAfter() const { return nameAfter; }
  // Where an object stood, with its reference point.
  struct Placement
  {
    TData* object;
    TRect frame;
    int32_t refX;
    int32_t refY;
  };
  // Instances without a definition, and the definitions that hold such
  // instances, as they stood before the step: a step may give them a
  // definition, which they lose again when it is undone.
  void SetOrphans(std::vector<Placement> places) { orphans = std::move(places); }
  const std::vector<Placement>& Orphans() const { return orphans; }
  // The renamed strings with their capacities before the renaming.
  void SetCapacities(StringCapacities before) { capacities = std::move(before); }
  const StringCapacities& Capacities() const { return capacities; }

  // The drawing order when the snapshot was taken, bottom first; it holds
  // the objects without owning them.
  const std::vector<TData*>& Snapshot() const { return snapshot; }
  // Takes the view's drawing order; false when the view has no objects.
  bool SnapshotOrder(const TClient& view);
  void ClearSnapshot() { snapshot.clear(); }
  // The symbol library's order when the step was taken, so that undoing it
  // puts back definitions where they stood, not at the end.
  void SetLibraryOrder(std::vector<TData*> order) { libraryOrder = std::move(order); }
  const std::vector<TData*>& LibraryOrder() const { return libraryOrder; }

private:
  THeldObject old, old2, current, current2;
  std::vector<TData*> snapshot;
  std::vector<TData*> libraryOrder;
  std::string nameBefore, nameAfter;
  StringCapacities capacities;
  std::vector<Placement> orphans;
};
