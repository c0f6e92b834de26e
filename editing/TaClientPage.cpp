#include "TaClientPage.h"

#include "CommandIds.h"
#include "Messages.h"
#include "Picking.h"
#include "StringTable.h"
#include "TUndoData.h"
#include "TUserInput.h"
#include "TextEncoding.h"

#include <cstring>
#include <filesystem>

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
// The path buffer a caller of the path query is assumed to hold when it
// gives no size.
constexpr int32_t kPathBufferSize = 260;

// Copies text into a caller's buffer of size bytes, always terminated and
// never splitting a character; false when there is no room at all.
bool CopyToBuffer(const std::string& text, void* p, int32_t size)
{
  if (!p || size < 1)
    return false;
  const std::string cut = CutText(text, static_cast<size_t>(size - 1));
  std::memcpy(p, cut.c_str(), cut.size() + 1);
  return true;
}

} // namespace

TaClientPage::TaClientPage(int32_t number)
    : untitledNumber(number), symbolModule(this, &history), layerModule(this), dataModule(this, &history)
{
  SetFlags(kReady, true);
  SetFlags(kConfirmDeletions, false);
  SetColor(1, kWhite);
  SetCursor(kCursorOwn);
}

TaClientPage::~TaClientPage()
{
  // The objects may still ask their owner about the document while they
  // go, so they go before the modules and names: first those the history
  // holds out of the document, then those of the document.
  history.Clear();
  ClearObjects();
}

uint32_t TaClientPage::Message(uint32_t message, int32_t a, int32_t b, void* p)
{
  switch (message) {
  case MSG_TITLE_QUERY:
  case MSG_TITLE_QUERY_2:
    CopyToBuffer(GetTitle(), p, a);
    return 1;
  case MSG_FILE_PATH_QUERY:
    if (filePath.empty())
      return 0;
    return CopyToBuffer(filePath, p, a > 0 ? a : kPathBufferSize) ? 1 : 0;
  case MSG_LAYER_ACTIVE_VALUE:
    return layerModule.GetActive();
  case MSG_LAYER_DATA:
    if (!p)
      return 0;
    *static_cast<TClientModuleLayer**>(p) = &layerModule;
    return 1;
  case MSG_SYMBOL_MODULE:
    if (!p)
      return 0;
    *static_cast<TSymbolLibrary**>(p) = &symbolModule;
    return 1;
  case MSG_MENU_VETO_A:
  case MSG_MENU_VETO_B:
    return 0;
  case MSG_PRINT_PAGES:
    // A document is one page.
    if (!p)
      return 0;
    static_cast<int32_t*>(p)[0] = static_cast<int32_t*>(p)[1] = 1;
    return 1;
  case MSG_PRINT_PAGE:
    // Beginning, ending, and showing its one page are all it takes.
    return a <= 1 ? 1 : 0;
  case CM_LAYERS:
    return static_cast<uint32_t>(layerModule.Command(CM_LAYERS, static_cast<TData*>(p), 0));
  default: {
    uint32_t result = 0;
    if (RunCommand(message, a, b, p, result))
      return result;
    return TClient::Message(message, a, b, p);
  }
  }
}

TData* TaClientPage::ObjectAt(int32_t x, int32_t y)
{
  return PickObjectAt(*this, x, y);
}

void TaClientPage::SetFilePath(const std::string& path)
{
  filePath = path;
  fileName = path.empty() ? std::string() : std::filesystem::path(path).filename().string();
}

std::string TaClientPage::GetTitle() const
{
  if (!fileName.empty())
    return fileName;
  return FormatStr(IDS_UNTITLED_TITLE, LoadStr(IDS_UNTITLED), untitledNumber);
}

void TaClientPage::NotifyDocument(uint32_t message)
{
  // A posted message is read later, when the path may have changed or the
  // view may be gone: it carries the view, which the receiver looks up among
  // its views and asks for the path (MSG_FILE_PATH_QUERY).
  PostToParent(message, 0, reinterpret_cast<uintptr_t>(static_cast<TVue*>(this)));
  if (documentNotice)
    documentNotice(message, filePath);
}

int32_t TaClientPage::Undo()
{
  return ApplyStep(true);
}

int32_t TaClientPage::Redo()
{
  return ApplyStep(false);
}

int32_t TaClientPage::ApplyStep(bool undo)
{
  if (IsBusy())
    return 0;
  GUndoObj* step = undo ? history.TakeUndo() : history.TakeRedo();
  if (!step) {
    if (input)
      input->MessageBox(LoadStr(undo ? IDS_NOTHING_TO_UNDO : IDS_NOTHING_TO_REDO), std::string(),
                        MB_OK_ | MB_ICONEXCLAMATION_);
    return 0;
  }
  // The cursor has moved past the step even when it no longer fits.
  auto* record = dynamic_cast<TUndoData*>(step);
  if (!record)
    return 0;
  switch (step->GetModule()) {
  case TClientModuleData::kModuleId:
    return undo ? dataModule.Undo(*record) : dataModule.Redo(*record);
  case TClientModuleSym::kModuleId:
    return undo ? symbolModule.Undo(*record) : symbolModule.Redo(*record);
  default:
    return 0;
  }
}
