#include "TaClientPage.h"

#include "ClassTable.h"
#include "CommandIds.h"
#include "DefaultCommands.h"
#include "ExportImage.h"
#include "FieldRefresh.h"
#include "Messages.h"
#include "PageSettingsCommands.h"
#include "StringTable.h"
#include "TextEncoding.h"

#include <cstring>
#include <memory>

namespace {

// The type name a creation tool makes ("Line", "Text"...), asked of a
// default object of its class; empty when the class cannot be made yet.
std::string ToolTypeName(uint16_t command)
{
  const int32_t classId = GetClassIdByCommand(command);
  if (classId == 0 || !GetClassFactory(classId))
    return {};
  std::unique_ptr<TStreamable> made(CreateObject(classId, nullptr, 0));
  if (!made || !made->IsA(kTData))
    return {};
  const uint32_t name = static_cast<TData*>(made.get())->Message(MSG_TYPE_NAME, 0, 0, nullptr);
  return name != 0 ? LoadStr(name) : std::string();
}

// The tip of a toolbar button while this document is active; undo and redo
// name the step they would take.
std::string ToolTip(uint16_t command, const GModuleUndo& history)
{
  switch (command) {
  case CM_UNDO: {
    const GUndoObj* step = history.PeekUndo();
    return LoadStr(IDS_UNDO_TIP + static_cast<uint32_t>(step ? step->GetKind() : 0));
  }
  case CM_REDO: {
    const GUndoObj* step = history.PeekRedo();
    return LoadStr(IDS_REDO_TIP + static_cast<uint32_t>(step ? step->GetKind() : 0));
  }
  case CM_NEW:
    return LoadStr(IDS_TIP_NEW);
  case CM_OPEN:
    return LoadStr(IDS_TIP_OPEN);
  case CM_CLOSE:
    return LoadStr(IDS_TIP_CLOSE);
  case CM_SAVE:
    return LoadStr(IDS_TIP_SAVE);
  case CM_SAVE_ALL:
    return LoadStr(IDS_TIP_SAVE_ALL);
  case CM_MOVE:
    return LoadStr(IDS_TIP_MOVE);
  case CM_COPY_PASTE:
    return LoadStr(IDS_TIP_COPY_PASTE);
  case CM_DELETE:
    return LoadStr(IDS_TIP_DELETE);
  default:
    return TClientModuleData::IsCreationCommand(command) ? ToolTypeName(command) : std::string();
  }
}

} // namespace

bool TaClientPage::RunCommand(uint32_t message, int32_t a, int32_t b, void* p, uint32_t& result)
{
  const auto command = static_cast<uint16_t>(message);
  if (command != message)
    return false;
  if (TClientModuleData::IsCreationCommand(command)) {
    result = static_cast<uint32_t>(dataModule.Command(command, static_cast<TData*>(p), 0));
    return true;
  }
  if (IsDefaultAttributeCommand(command)) {
    result = DefaultAttributeCommand(*this, command) ? 1 : 0;
    return true;
  }
  switch (message) {
  case CM_MODIFY:
  case CM_MOVE:
  case CM_COPY:
  case CM_CUT:
  case CM_PASTE:
  case CM_COPY_PASTE:
  case CM_DELETE:
  case CM_BRING_TO_TOP:
    result = static_cast<uint32_t>(dataModule.Command(command, static_cast<TData*>(p), 0));
    return true;
  case CM_SYMBOL_NEW:
  case CM_SYMBOL_RENAME:
  case CM_SYMBOL_DELETE:
  case CM_SYMBOL_IMPORT:
    result = static_cast<uint32_t>(symbolModule.Command(command, nullptr, 0));
    return true;
  case CM_PRINT:
  case CM_PRINT_HIDDEN_1:
  case CM_PRINT_HIDDEN_2:
  case CM_PRINT_FROM_PRINTER:
  case CM_PRINT_ZOOM:
    result = static_cast<uint32_t>(printModule.Command(command, nullptr, 0));
    return true;
  case CM_UNDO:
    result = static_cast<uint32_t>(Undo());
    return true;
  case CM_REDO:
    result = static_cast<uint32_t>(Redo());
    return true;
  case MSG_TOOLTIP_TEXT: {
    const std::string tip = ToolTip(static_cast<uint16_t>(a), history);
    if (tip.empty() || !p || b < 1)
      return false;
    const std::string cut = CutText(tip, static_cast<size_t>(b - 1));
    std::memcpy(p, cut.c_str(), cut.size() + 1);
    result = 1;
    return true;
  }
  case CM_UNITS:
    result = 0;
    if (UnitsCommand(*this)) {
      // Dimension labels and field texts show lengths in the new units.
      SetModified(true);
      RefreshObjects(*this, 0);
      result = 1;
    }
    return true;
  case CM_GRID_SNAP:
    result = GridSnapCommand(*this) ? 1 : 0;
    return true;
  case CM_PAGE_PIXELS:
    result = PageSizeCommand(*this) ? 1 : 0;
    return true;
  case CM_ZOOM:
    result = ZoomCommand(*this) ? 1 : 0;
    return true;
  case CM_EXPORT_PNG:
  case CM_EXPORT_JPG:
  case CM_EXPORT_GIF:
  case CM_EXPORT_PDF:
  case CM_EXPORT_SVG:
    result = static_cast<uint32_t>(ExportImage(*this, command));
    return true;
  case CM_EXPORT_WMF:
    // Nothing to record on an empty page.
    result = ObjectCount() > 0 ? static_cast<uint32_t>(ExportWmf(*this, ProposedWmfName(*this), 3)) : 0;
    return true;
  default:
    return false;
  }
}
