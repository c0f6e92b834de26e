#pragma once

#include "GModuleUndo.h"
#include "TClient.h"
#include "TClientModuleData.h"
#include "TClientModuleLayer.h"
#include "TClientModulePrn.h"
#include "TClientModuleSym.h"

#include <cstdint>
#include <functional>
#include <string>

// The document view: one open document. Besides the page view it holds the
// document's identity (file path and title, or the number of an untitled
// document), the scale last used for raster exports and the modules that
// carry out the document's commands.
class TaClientPage : public TClient
{
public:
  static constexpr int32_t kDefaultExportScale = 100;

  explicit TaClientPage(int32_t untitledNumber = 0);
  ~TaClientPage() override;

  // Routes the module commands, the page settings, zoom, default-attribute
  // and image export commands, and answers the document queries (title,
  // path, active layer, layer data, symbol library, object-menu vetoes,
  // toolbar tips); everything else goes to the page view.
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override;
  // The object a click at a page point picks (see PickObjectAt).
  TData* ObjectAt(int32_t x, int32_t y) override;

  int32_t GetUntitledNumber() const { return untitledNumber; }
  void SetUntitledNumber(int32_t number) { untitledNumber = number; }
  int32_t GetExportScale() const { return exportScale; }
  void SetExportScale(int32_t percent) { exportScale = percent; }

  // The full path the document is read from and written to; empty for an
  // untitled document.
  const std::string& GetFilePath() const { return filePath; }
  // The file name with its extension (empty for an untitled document).
  const std::string& GetFileName() const { return fileName; }
  // Sets the path and takes the file name from it; an empty path makes the
  // document untitled again.
  void SetFilePath(const std::string& path);
  // The title shown for the document: its file name, or "Untitled" and
  // its number.
  std::string GetTitle() const;

  // Set when the document was read from a damaged file: it holds only what
  // could be read, so the file is not replaced without asking.
  bool IsFromDamagedFile() const { return fromDamagedFile; }
  void SetFromDamagedFile(bool damaged) { fromDamagedFile = damaged; }

  TClientModuleSym& GetSymbolModule() { return symbolModule; }
  const TClientModuleSym& GetSymbolModule() const { return symbolModule; }
  TClientModuleLayer& GetLayerModule() { return layerModule; }
  const TClientModuleLayer& GetLayerModule() const { return layerModule; }
  TClientModuleData& GetDataModule() { return dataModule; }
  TClientModulePrn& GetPrintModule() { return printModule; }
  GModuleUndo& GetHistory() { return history; }
  const GModuleUndo& GetHistory() const { return history; }

  // Undo (Ctrl+Z) and redo (Ctrl+Y): the step is handed to the module that
  // made it. "Nothing to undo" / "Nothing to redo" when there is none; a
  // step that no longer fits the document is used up silently. 1 when the
  // document changed.
  int32_t Undo();
  int32_t Redo();

  // The document was loaded (MSG_DOC_LOADED) or saved under a new name
  // (MSG_DOC_SAVED_AS): the parent window hears of it through a posted
  // message carrying this view (param2), and the hook, when set, is called
  // at once with the path.
  using DocumentNotice = std::function<void(uint32_t message, const std::string& path)>;
  void SetDocumentNotice(DocumentNotice notice) { documentNotice = std::move(notice); }
  void NotifyDocument(uint32_t message);

private:
  // Takes the step undo (or redo) would take and hands it to its module.
  int32_t ApplyStep(bool undo);
  // The commands of the menus that the view carries out itself or through
  // its modules; false for any other message.
  bool RunCommand(uint32_t message, int32_t a, int32_t b, void* p, uint32_t& result);

  int32_t untitledNumber;
  int32_t exportScale = kDefaultExportScale;
  std::string filePath;
  std::string fileName;
  bool fromDamagedFile = false;
  TClientModuleSym symbolModule;
  TClientModuleLayer layerModule;
  // The document's history; the data module records into it.
  GModuleUndo history;
  TClientModuleData dataModule;
  TClientModulePrn printModule{this};
  DocumentNotice documentNotice;
};
