#pragma once

#include "TQtUserInput.h"
#include "TRecentFiles.h"
#include "TTabWindow.h"

#include <QPointer>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;
class TClientWidget;
class TPreferences;
class TaClientPage;

// The main window: one tab per open document, the menu bar (the full one
// while a document is open, a short one without), the toolbar (likewise),
// the status bar the documents show their prompts in, the recent files and
// the window title "Vekta [document] ". Commands of the menus, toolbar and
// keys reach Message: the window carries out the document commands (new,
// open, close, save), the recent files, help and the program's own
// preferences, and hands every other command to the active document.
//
// The window owns the documents (views and their widgets); the preferences
// belong to the caller and must outlive the window.
class TaMainWindow : public TTabWindow
{
public:
  explicit TaMainWindow(TPreferences& preferences);
  ~TaMainWindow() override;

  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override;
  // Also takes the notices of documents that were loaded or saved under a
  // new name (posted with the view).
  uint32_t WndProc(uint32_t message, uint32_t param1, uintptr_t param2) override;
  // Asks "Quit Vekta ?", keeps the window's place, then closes every
  // document, stopping at the first the user keeps open. Refused while a
  // document runs a command.
  bool CanClose() override;

  // ---- documents, in tab order ----
  int32_t DocumentCount() const { return static_cast<int32_t>(m_documents.size()); }
  TaClientPage* DocumentAt(int32_t index) const;
  TaClientPage* ActiveDocument() const;
  TClientWidget* WidgetOf(const TaClientPage* view) const;

  // New: an untitled document in a new tab, made active; null when no tab
  // could be made.
  TaClientPage* NewDocument();
  // Open: path (empty: the user chooses it; a missing file is also looked
  // for with the extension ".vk1"). A file already open only brings its tab
  // forward (or, when it is the active one, is offered for reloading);
  // otherwise it opens in a new tab. False when nothing was opened.
  bool OpenDocumentFile(const std::string& path);
  // Close: offers to save the active document, then closes its tab. False
  // when it stays open.
  bool CloseActiveDocument();
  // Save and Save as on the active document: 1 saved, 0 not saved, 2
  // cancelled by the user.
  int32_t SaveActiveDocument(bool saveAs);
  // Save All: every document in tab order, an untitled one in its tab
  // under a name the user chooses; stops at the first that is not saved.
  int32_t SaveAllDocuments();

  // The window title, the tab labels, the menus, the toolbar and the
  // recent files follow the active document and its state.
  void RefreshTitle();
  void RefreshMenus();
  // Brings the unsaved-changes marks of the title and tabs up to date
  // (run a few times a second).
  void RefreshModifiedMarks();
  // The zoom, active layer, snap, grid and unit of the active document at
  // the right of the status bar.
  void RefreshState();

  // Help and the support pages are handed to this (the system's default
  // handler unless replaced); false when nothing could open the address.
  using UrlOpener = std::function<bool(const QUrl& url)>;
  void SetUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }

  // The menu entry and toolbar button of a command in the menus of the
  // moment (null when there is none); for the program's checks.
  QAction* MenuAction(uint16_t command) const;
  // The program's own window on the manual, shown when no browser opened
  // it (null until then and after it is closed).
  QTextBrowser* ManualWindow() const { return m_manualWindow.data(); }
  // The menu of the tab at index (Close, Close Others, Save, Copy Path),
  // shown on a right click on the tab; the caller owns it.
  std::unique_ptr<QMenu> TabMenu(int32_t index);
  bool ShowsDocumentMenus() const { return m_documentMenusShown; }

protected:
  void TabChanged(TVue* view) override;

private:
  struct Document
  {
    std::unique_ptr<TaClientPage> view;
    QPointer<TClientWidget> widget;
  };
  // One menu bar: its menus and its recent-files entries.
  struct MenuSet
  {
    std::vector<QMenu*> menus;
    std::array<QAction*, TRecentFiles::kCount> recent{};
    QAction* erase = nullptr;
  };

  void BuildMenus();
  void BuildFileMenu(MenuSet& set, bool withDocument);
  void BuildHelpMenu(MenuSet& set);
  void BuildToolBar();
  void BuildAccelerators();
  // Greys out the entries and buttons of commands that are not built yet.
  void RefreshRecentFiles();
  QMenu* AddMenu(MenuSet& set, uint32_t title);
  QMenu* SubMenu(QMenu* menu, uint32_t title);

  // Adds a view (with its widget) as the active tab; null when it could not.
  TaClientPage* AddDocument(std::unique_ptr<TaClientPage> view);
  // Takes the tab, the widget and the view away.
  void DiscardDocument(TaClientPage* view);
  TaClientPage* FindDocument(const TVue* view) const;
  TaClientPage* FindDocumentByPath(const std::string& path) const;
  int32_t SaveDocumentIn(TaClientPage& view, bool saveAs);
  // Brings view to the front and closes it as Close does; false when it stays.
  bool CloseDocumentIn(TaClientPage& view);
  void DocumentNamed(const std::string& path);

  void ShowAbout();
  void OpenHelp(bool index);
  void OpenAddress(uint32_t address, bool mail);

  static std::string ShownTitle(const TaClientPage& view);

  TPreferences& m_preferences;
  QTimer m_modifiedWatch;
  std::vector<bool> m_shownModified;
  TQtUserInput m_input;
  std::vector<Document> m_documents;
  int32_t m_untitledCounter = 1;
  MenuSet m_withDocument;
  MenuSet m_withoutDocument;
  QAction* m_repeatAction = nullptr;
  bool m_documentMenusShown = false;
  bool m_menusBuilt = false;
  UrlOpener m_openUrl;
  QPointer<QTextBrowser> m_manualWindow;
  class DropOpener;
  std::unique_ptr<DropOpener> m_dropOpener;
};
