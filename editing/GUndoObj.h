#pragma once

#include <cstdint>

// One step of a document's history. The view hands a step back to the
// module that made it (its module id) to be undone or redone; what the
// step holds is the module's own business.
class GUndoObj
{
public:
  // Module ids.
  enum Module : int32_t { kDataModule = 1, kSymbolModule = 2 };
  // Kinds, each with its own tips (string 200 + kind, 250 + kind).
  enum Kind : int32_t {
    kNone = 0,
    kNewObject = 1,
    kDeleteObject = 2,
    kModifyObject = 3,
    kBringToTop = 4,
    kPaste = 5,
    kCut = 6,
    kExplode = 7,
    kNewSymbol = 8,
    kRenameSymbol = 9,
    kImportSymbols = 10,
    kDeleteSymbol = 11,
    kSymbolReferencePoint = 12,
  };

  explicit GUndoObj(int32_t moduleId) : module(moduleId) {}
  virtual ~GUndoObj() = default;
  GUndoObj(const GUndoObj&) = delete;
  GUndoObj& operator=(const GUndoObj&) = delete;

  int32_t GetModule() const { return module; }
  int32_t GetKind() const { return kind; }
  void SetKind(int32_t k) { kind = k; }

private:
  int32_t module;
  int32_t kind = kNone;
};
