#pragma once

#include "TClientModule.h"

#include <cstdint>
#include <memory>

class GModuleUndo;
class TDataGroup;
class TUndoData;

// The data module of a document view: the commands that act on the drawing
// objects of its document (create, modify, move, delete, copy, cut, paste,
// copy/paste, bring to top) and the undo and redo of what they did.
//
// Every change is recorded in the view's history when it has one; without
// one every command still works and removed objects are destroyed at once.
class TClientModuleData : public TClientModule
{
public:
  static constexpr int32_t kModuleId = 1;

  TClientModuleData(TClient* client, GModuleUndo* history);

  // Runs command on object (null: the user picks first). Answers 1 when
  // done, or the number of objects made for a creation command; 0 for an
  // unknown command or when nothing was done.
  int32_t Command(uint16_t command, TData* object, int32_t parameter) override;

  static bool IsCreationCommand(uint16_t command);

  // Program-wide "Repeat Add Object": when on, a creation command keeps
  // creating objects of its kind until the user cancels one.
  static bool& RepeatAddObject();
  // The program-wide copy buffer: a private copy of what was copied or cut
  // last, shared by every open document. Null before the first copy.
  static const TDataGroup* CopyBuffer();
  static void ClearCopyBuffer();

  // Applies a step of this module backwards or forwards; 0 when it is not
  // this module's or no longer fits the document (it is then skipped).
  int32_t Undo(TUndoData& record);
  int32_t Redo(TUndoData& record);

private:
  struct PickRequest;
  struct Selection;

  int32_t NewObject(uint16_t command, int32_t parameter);
  // mode: 0 shows the object's menu (Modify), CM_OBJ_POSITION moves it.
  int32_t Modify(TData* object, uint16_t mode);
  int32_t Delete(TData* object);
  int32_t BringToTop(TData* object);
  int32_t Copy(TData* object);
  int32_t Cut();
  // At (x, y); (-1, -1): at the pointer; both negative otherwise: where the
  // copied objects were.
  int32_t Paste(int32_t x, int32_t y);

  bool IsReady() const;
  // The user picks into carrier; a refusal by protection shows the
  // request's refusal text.
  bool Pick(TDataGroup& carrier, const PickRequest& request);
  // The given object, or what the user picks (a carrier of one object
  // giving way to that object); false when nothing was picked.
  bool Select(Selection& selection, TData* object, const PickRequest& request);
  // Copies what carrier holds into the copy buffer.
  void FillCopyBuffer(TDataGroup& carrier);
  std::unique_ptr<TUndoData> NewRecord(int32_t kind) const;
  void Record(std::unique_ptr<TUndoData> record);
  void ShowMessage(uint32_t text, uint32_t title, uint32_t flags) const;

  GModuleUndo* history; // the view's; null: nothing is recorded
};
