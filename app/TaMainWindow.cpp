#include "TaMainWindow.h"

#include "CommandIds.h"
#include "MessageBox.h"
#include "Messages.h"
#include "PageSettingsCommands.h"
#include "ProgramInfo.h"
#include "StringTable.h"
#include "TClientModuleData.h"
#include "TClientWidget.h"
#include "TGifWriter.h"
#include "TPreferences.h"
#include "TStatus.h"
#include "TTabControl.h"
#include "TToolbar.h"
#include "TVueWidget.h"
#include "TaClientPage.h"
#include "TextEncoding.h"
#include "ToolIcons.h"

#include <QAction>
#include <QClipboard>
#include <QDesktopServices>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTabBar>
#include <QTextBrowser>
#include <QToolBar>

#include <bit>
#include <utility>

namespace {

// The longest document title the window title shows, in bytes.
constexpr size_t kMaxTitle = 100;

struct Entry
{
  uint16_t command; // 0: a separator
  uint32_t text;
};

// The accelerator table: keys that send a command wherever the keyboard is
// in the window. The menus show them beside their entries.
struct Accelerator
{
  uint16_t command;
  QKeyCombination keys;
};
const Accelerator kAccelerators[] = {
    {CM_PASTE, Qt::CTRL | Qt::Key_V},
    {CM_COPY, Qt::CTRL | Qt::Key_C},
    {CM_CUT, Qt::CTRL | Qt::Key_X},
    {CM_UNDO, Qt::CTRL | Qt::Key_Z},
    {CM_REDO, Qt::CTRL | Qt::Key_Y},
    {CM_HELP_INDEX, Qt::Key_F1},
    {CM_DELETE, Qt::Key_Delete},
    // The keys every desktop program answers, beside the ones above.
    {CM_NEW, Qt::CTRL | Qt::Key_N},
    {CM_OPEN, Qt::CTRL | Qt::Key_O},
    {CM_SAVE, Qt::CTRL | Qt::Key_S},
    {CM_CLOSE, Qt::CTRL | Qt::Key_W},
    {CM_QUIT, Qt::CTRL | Qt::Key_Q},
    {CM_PRINT, Qt::CTRL | Qt::Key_P},
    {CM_REDO, Qt::CTRL | Qt::SHIFT | Qt::Key_Z},
};

// The entry's text with its key shown beside it, unless the text already
// names one.
std::string WithKeys(uint16_t command, std::string text)
{
  if (text.find('\t') != std::string::npos)
    return text;
  for (const Accelerator& accelerator : kAccelerators) {
    if (accelerator.command == command)
      return text + '\t' + QKeySequence(accelerator.keys).toString(QKeySequence::NativeText).toStdString();
  }
  return text;
}

// The toolbar: the buttons of the full one in order (0: a separator) and
// each button's own tip. The short toolbar keeps the first two.
struct Button
{
  uint16_t command;
  uint32_t tip;
};
const Button kButtons[] = {
    {CM_NEW, IDS_TIP_NEW},
    {CM_OPEN, IDS_TIP_OPEN},
    {CM_CLOSE, IDS_TIP_CLOSE},
    {CM_SAVE, IDS_TIP_SAVE},
    {CM_SAVE_ALL, IDS_TIP_SAVE_ALL},
    {0, 0},
    {CM_MOVE, IDS_TIP_MOVE},
    {CM_COPY_PASTE, IDS_TIP_COPY_PASTE},
    {CM_DELETE, IDS_TIP_DELETE},
    {0, 0},
    {CM_UNDO, IDS_TIP_UNDO},
    {CM_REDO, IDS_TIP_REDO},
    {0, 0},
    {CM_NEW_TEXT, IDS_MAIN_NEW_TEXT},
    {CM_NEW_LINE, IDS_MAIN_NEW_LINE},
    {CM_NEW_POLYLINE, IDS_MAIN_NEW_POLYLINE},
    {CM_NEW_RECTANGLE, IDS_MAIN_NEW_RECTANGLE},
    {CM_NEW_ROUNDRECT, IDS_MAIN_NEW_ROUNDRECT},
    {CM_NEW_CIRCLE, IDS_MAIN_NEW_CIRCLE},
    {CM_NEW_IMAGE, IDS_MAIN_NEW_IMAGE},
    {CM_NEW_BEZIER, IDS_MAIN_NEW_BEZIER},
    {CM_NEW_POLYGON, IDS_MAIN_NEW_POLYGON},
    {CM_NEW_SINUSOID, IDS_MAIN_NEW_SINUSOID},
    {CM_NEW_SYMBOL, IDS_MAIN_NEW_SYMBOL},
    {CM_NEW_DIMENSION, IDS_MAIN_NEW_DIMENSION},
    {CM_NEW_ARROW, IDS_MAIN_NEW_ARROW},
    {CM_NEW_TIME, IDS_MAIN_NEW_TIME},
    {CM_NEW_DATE, IDS_MAIN_NEW_DATE},
    {CM_NEW_FILENAME, IDS_MAIN_NEW_FILENAME},
};
constexpr int kShortToolbar = 2;

const Entry kNewObjectEntries[] = {
    {CM_NEW_TEXT, IDS_MAIN_NEW_TEXT},           {CM_NEW_LINE, IDS_MAIN_NEW_LINE},
    {CM_NEW_POLYLINE, IDS_MAIN_NEW_POLYLINE},   {CM_NEW_RECTANGLE, IDS_MAIN_NEW_RECTANGLE},
    {CM_NEW_ROUNDRECT, IDS_MAIN_NEW_ROUNDRECT}, {CM_NEW_CIRCLE, IDS_MAIN_NEW_CIRCLE},
    {CM_NEW_IMAGE, IDS_MAIN_NEW_IMAGE},         {CM_NEW_BEZIER, IDS_MAIN_NEW_BEZIER},
    {CM_NEW_POLYGON, IDS_MAIN_NEW_POLYGON},     {CM_NEW_SINUSOID, IDS_MAIN_NEW_SINUSOID},
    {CM_NEW_SYMBOL, IDS_MAIN_NEW_SYMBOL},       {CM_NEW_DIMENSION, IDS_MAIN_NEW_DIMENSION},
    {CM_NEW_ARROW, IDS_MAIN_NEW_ARROW},         {CM_NEW_TIME, IDS_MAIN_NEW_TIME},
    {CM_NEW_DATE, IDS_MAIN_NEW_DATE},           {CM_NEW_FILENAME, IDS_MAIN_NEW_FILENAME},
};
const Entry kObjectEntries[] = {
    {CM_MODIFY, IDS_MAIN_MODIFY}, {CM_MOVE, IDS_MAIN_MOVE},
    {CM_COPY, IDS_MAIN_COPY},     {CM_CUT, IDS_MAIN_CUT},
    {CM_PASTE, IDS_MAIN_PASTE},   {CM_COPY_PASTE, IDS_MAIN_COPY_PASTE},
    {CM_DELETE, IDS_MAIN_DELETE}, {CM_BRING_TO_TOP, IDS_MAIN_BRING_TO_TOP},
};
const Entry kSymbolEntries[] = {
    {CM_SYMBOL_NEW, IDS_MAIN_SYMBOL_NEW},
    {CM_SYMBOL_RENAME, IDS_MAIN_SYMBOL_RENAME},
    {CM_SYMBOL_DELETE, IDS_MAIN_SYMBOL_DELETE},
    {CM_SYMBOL_IMPORT, IDS_MAIN_SYMBOL_IMPORT},
};
const Entry kPageEntries[] = {
    {CM_GRID_SNAP, IDS_MAIN_GRID_SNAP},   {CM_UNITS, IDS_MAIN_UNITS},   {CM_LAYERS, IDS_MAIN_LAYERS},
    {CM_PAGE_COLOR, IDS_MAIN_PAGE_COLOR}, {CM_REDRAW, IDS_MAIN_REDRAW},
};
const Entry kZoomEntries[] = {
    {CM_ZOOM, IDS_MAIN_ZOOM_ASK},
    {CM_ZOOM_25, IDS_MAIN_ZOOM_25},
    {CM_ZOOM_50, IDS_MAIN_ZOOM_50},
    {CM_ZOOM_100, IDS_MAIN_ZOOM_100},
    {CM_ZOOM_200, IDS_MAIN_ZOOM_200},
    {CM_ZOOM_400, IDS_MAIN_ZOOM_400},
    {CM_ZOOM_FIT_PAGE, IDS_MAIN_ZOOM_FIT_PAGE},
    {CM_ZOOM_FIT_WIDTH, IDS_MAIN_ZOOM_FIT_WIDTH},
};
const Entry kDefaultEntries[] = {
    {CM_DEFAULT_LINE_COLOR, IDS_MAIN_DEFAULT_LINE_COLOR},
    {CM_DEFAULT_BACK_COLOR, IDS_MAIN_DEFAULT_BACK_COLOR},
    {CM_DEFAULT_TEXT_COLOR, IDS_MAIN_DEFAULT_TEXT_COLOR},
    {CM_DEFAULT_LINE_TYPE, IDS_MAIN_DEFAULT_LINE_TYPE},
    {CM_DEFAULT_FONT, IDS_MAIN_DEFAULT_FONT},
    {CM_DEFAULT_PAGE, IDS_MAIN_DEFAULT_PAGE},
};
const Entry kSupportEntries[] = {
    {CM_WEB_SITE, IDS_MAIN_WEB_SITE},
    {CM_ONLINE_HELP, IDS_MAIN_ONLINE_HELP},
    {CM_ONLINE_SUPPORT, IDS_MAIN_ONLINE_SUPPORT},
    {CM_SEND_MAIL, IDS_MAIN_SEND_MAIL},
};

// An entry's text as a menu shows it: "&" stands for itself.
QString Literal(const std::string& text)
{
  return QString::fromStdString(text).replace(QLatin1Char('&'), QLatin1String("&&"));
}

// Entries of commands that have a toolbar picture show it too.
void ShowPictures(const QList<QAction*>& actions)
{
  for (QAction* action : actions) {
    if (QMenu* sub = action->menu())
      ShowPictures(sub->actions());
    else if (action->data().isValid())
      action->setIcon(ToolIcon(static_cast<uint16_t>(action->data().toUInt())));
  }
}

QAction* FindAction(const QList<QAction*>& actions, uint16_t command)
{
  for (QAction* action : actions) {
    if (QMenu* sub = action->menu()) {
      if (QAction* found = FindAction(sub->actions(), command))
        return found;
    } else if (!action->isSeparator() && action->data().isValid() && action->data().toUInt() == command) {
      return action;
    }
  }
  return nullptr;
}

// The local files a drag carries (none when it carries anything else).
QStringList DroppedFiles(const QMimeData* data)
{
  QStringList files;
  if (!data || !data->hasUrls())
    return files;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile())
      files.push_back(url.toLocalFile());
  }
  return files;
}

} // namespace

// Files dropped anywhere on the window open as documents, each in a tab.
class TaMainWindow::DropOpener : public QObject
{
public:
  explicit DropOpener(TaMainWindow& window) : m_window(window) {}

protected:
  bool eventFilter(QObject* watched, QEvent* event) override
  {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDropEvent*>(event);
      if (DroppedFiles(drag->mimeData()).isEmpty())
        return false;
      drag->acceptProposedAction();
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const QStringList files = DroppedFiles(drop->mimeData());
      if (files.isEmpty())
        return false;
      drop->acceptProposedAction();
      // After the drop has ended: opening may ask questions in dialogs.
      QMetaObject::invokeMethod(
          watched,
          [this, files] {
            for (const QString& file : files)
              m_window.OpenDocumentFile(file.toStdString());
          },
          Qt::QueuedConnection);
      return true;
    }
    default:
      return QObject::eventFilter(watched, event);
    }
  }

private:
  TaMainWindow& m_window;
};

TaMainWindow::TaMainWindow(TPreferences& preferences)
    : TTabWindow(preferences.Window().x, preferences.Window().y, preferences.Window().width,
                 preferences.Window().height, LoadStr(IDS_PROGRAM_NAME), nullptr),
      m_preferences(preferences), m_input(this, nullptr),
      m_openUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); })
{
  SetViewFlags(GetViewFlags() | kQuitOnDestroy);
  Widget()->setWindowIcon(ProgramIcon());
  BuildMenus();
  BuildToolBar();
  BuildAccelerators();
  CreateStatusBar();
  RefreshMenus();
  RefreshTitle();
  Tabs().OnCloseRequested([this](int32_t index) {
    if (auto* view = static_cast<TaClientPage*>(Tabs().ViewAt(index)))
      CloseDocumentIn(*view);
  });
  QTabBar* bar = Tabs().Widget();
  bar->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(bar, &QWidget::customContextMenuRequested, bar, [this, bar](const QPoint& at) {
    const int index = bar->tabAt(at);
    if (index < 0)
      return;
    if (std::unique_ptr<QMenu> menu = TabMenu(index))
      menu->exec(bar->mapToGlobal(at));
  });
  // Edits mark a document modified without telling the window: the marks
  // are looked at a few times a second.
  m_modifiedWatch.setInterval(250);
  QObject::connect(&m_modifiedWatch, &QTimer::timeout, [this] { RefreshModifiedMarks(); });
  m_modifiedWatch.start();
  m_dropOpener = std::make_unique<DropOpener>(*this);
  Widget()->setAcceptDrops(true);
  Widget()->installEventFilter(m_dropOpener.get());
}

TaMainWindow::~TaMainWindow()
{
  while (!m_documents.empty())
    DiscardDocument(m_documents.back().view.get());
  delete m_manualWindow.data();
  if (Widget())
    Widget()->removeEventFilter(m_dropOpener.get());
}

// ---- menus, toolbar, keys ----

QMenu* TaMainWindow::AddMenu(MenuSet& set, uint32_t title)
{
  auto* menu = new QMenu(QString::fromUtf8(LoadStr(title)), Widget());
  MenuBar()->addMenu(menu);
  set.menus.push_back(menu);
  return menu;
}

QMenu* TaMainWindow::SubMenu(QMenu* menu, uint32_t title)
{
  return menu->addMenu(QString::fromUtf8(LoadStr(title)));
}

void TaMainWindow::BuildFileMenu(MenuSet& set, bool withDocument)
{
  QMenu* file = AddMenu(set, IDS_MAIN_FILE);
  AddCommand(file, CM_NEW, WithKeys(CM_NEW, LoadStr(IDS_MAIN_NEW)), {});
  AddCommand(file, CM_OPEN, WithKeys(CM_OPEN, LoadStr(IDS_MAIN_OPEN)), {});
  if (withDocument) {
    AddCommand(file, CM_CLOSE, WithKeys(CM_CLOSE, LoadStr(IDS_MAIN_CLOSE)), {});
    AddCommand(file, CM_SAVE, WithKeys(CM_SAVE, LoadStr(IDS_MAIN_SAVE)), {});
    AddCommand(file, CM_SAVE_ALL, LoadStr(IDS_MAIN_SAVE_ALL), {});
    AddCommand(file, CM_SAVE_AS, LoadStr(IDS_MAIN_SAVE_AS), {});
  }
  file->addSeparator();
  QMenu* recent = SubMenu(file, IDS_MAIN_RECENT_FILES);
  for (size_t i = 0; i < set.recent.size(); ++i)
    set.recent[i] = AddCommand(recent, static_cast<uint16_t>(CM_RECENT_FIRST + i), std::string(), {});
  recent->addSeparator();
  set.erase = AddCommand(recent, CM_RECENT_ERASE, LoadStr(IDS_MAIN_RECENT_ERASE), {});
  if (withDocument) {
    QMenu* exports = SubMenu(file, IDS_MAIN_EXPORT);
    AddCommand(exports, CM_EXPORT_WMF, LoadStr(IDS_MAIN_EXPORT_WMF), {});
    AddCommand(exports, CM_EXPORT_JPG, LoadStr(IDS_MAIN_EXPORT_JPG), {});
    // Offered when the GIF codec is built in.
    if (TGifWriter::IsAvailable())
      AddCommand(exports, CM_EXPORT_GIF, LoadStr(IDS_MAIN_EXPORT_GIF), {});
    AddCommand(exports, CM_EXPORT_PNG, LoadStr(IDS_MAIN_EXPORT_PNG), {});
    exports->addSeparator();
    AddCommand(exports, CM_EXPORT_PDF, LoadStr(IDS_MAIN_EXPORT_PDF), {});
    AddCommand(exports, CM_EXPORT_SVG, LoadStr(IDS_MAIN_EXPORT_SVG), {});
  }
  file->addSeparator();
  AddCommand(file, CM_QUIT, WithKeys(CM_QUIT, LoadStr(IDS_MAIN_QUIT)), {});
}

void TaMainWindow::BuildHelpMenu(MenuSet& set)
{
  QMenu* help = AddMenu(set, IDS_MAIN_HELP);
  AddCommand(help, CM_HELP, LoadStr(IDS_MAIN_HELP_HELP), {});
  AddCommand(help, CM_HELP_INDEX, LoadStr(IDS_MAIN_HELP_INDEX), {});
  QMenu* support = SubMenu(help, IDS_MAIN_SUPPORT);
  for (const Entry& entry : kSupportEntries)
    AddCommand(support, entry.command, LoadStr(entry.text), {});
  help->addSeparator();
  AddCommand(help, CM_ABOUT, LoadStr(IDS_MAIN_ABOUT), {});
}

void TaMainWindow::BuildMenus()
{
  auto add = [this](QMenu* menu, const auto& entries) {
    for (const Entry& entry : entries)
      AddCommand(menu, entry.command, LoadStr(entry.text), {});
  };

  BuildFileMenu(m_withDocument, true);
  QMenu* print = AddMenu(m_withDocument, IDS_MAIN_PRINT);
  AddCommand(print, CM_PRINT, WithKeys(CM_PRINT, LoadStr(IDS_MAIN_PRINT_PRINT)), {});
  AddCommand(print, CM_PRINT_ZOOM, LoadStr(IDS_MAIN_PRINT_ZOOM), {});
  QMenu* objects = AddMenu(m_withDocument, IDS_MAIN_OBJECTS);
  add(SubMenu(objects, IDS_MAIN_NEW_OBJECT), kNewObjectEntries);
  objects->addSeparator();
  add(objects, kObjectEntries);
  add(AddMenu(m_withDocument, IDS_MAIN_SYMBOLS), kSymbolEntries);
  QMenu* page = AddMenu(m_withDocument, IDS_MAIN_PAGE);
  QMenu* size = SubMenu(page, IDS_MAIN_PAGE_SIZE);
  AddCommand(size, CM_PRINT_FROM_PRINTER, LoadStr(IDS_MAIN_FROM_PRINTER), {});
  AddCommand(size, CM_PAGE_PIXELS, LoadStr(IDS_MAIN_PIXELS), {});
  add(page, kPageEntries);
  QMenu* zoom = AddMenu(m_withDocument, IDS_MAIN_ZOOM);
  add(zoom, kZoomEntries);
  zoom->insertSeparator(zoom->actions().at(1));
  QMenu* preferences = AddMenu(m_withDocument, IDS_MAIN_PREFERENCES);
  m_repeatAction = AddCommand(preferences, CM_REPEAT_ADD, LoadStr(IDS_MAIN_REPEAT_ADD), {});
  m_repeatAction->setCheckable(true);
  preferences->addSeparator();
  add(preferences, kDefaultEntries);
  BuildHelpMenu(m_withDocument);

  BuildFileMenu(m_withoutDocument, false);
  BuildHelpMenu(m_withoutDocument);
  ShowPictures(MenuBar()->actions());
}

void TaMainWindow::BuildToolBar()
{
  TToolbar* toolbar = CreateToolBar();
  for (const Button& button : kButtons) {
    if (button.command == 0)
      toolbar->AddSeparator();
    else
      toolbar->AddButton(button.command, ToolIcon(button.command), LoadStr(button.tip));
  }
}

void TaMainWindow::BuildAccelerators()
{
  for (const Accelerator& accelerator : kAccelerators) {
    auto* action = new QAction(Widget());
    action->setShortcut(QKeySequence(accelerator.keys));
    action->setShortcutContext(Qt::WindowShortcut);
    Widget()->addAction(action);
    const uint16_t command = accelerator.command;
    QObject::connect(
        action, &QAction::triggered, Widget(), [this, command] { WndProc(WM_COMMAND_, command, 0); },
        Qt::QueuedConnection);
  }
  // Ctrl+Tab and Ctrl+Shift+Tab walk the tabs, round at either end.
  for (const auto& [keys, step] :
       {std::pair{QKeySequence::NextChild, 1}, std::pair{QKeySequence::PreviousChild, -1}}) {
    auto* action = new QAction(Widget());
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    Widget()->addAction(action);
    QObject::connect(action, &QAction::triggered, Widget(), [this, step = step] {
      QTabBar* bar = Tabs().Widget();
      if (bar->count() > 1)
        bar->setCurrentIndex((bar->currentIndex() + step + bar->count()) % bar->count());
    });
  }
}

void TaMainWindow::RefreshMenus()
{
  const bool withDocument = ActiveDocument() != nullptr;
  if (!m_menusBuilt || withDocument != m_documentMenusShown) {
    for (QMenu* menu : m_withDocument.menus)
      menu->menuAction()->setVisible(withDocument);
    for (QMenu* menu : m_withoutDocument.menus)
      menu->menuAction()->setVisible(!withDocument);
    if (TToolbar* toolbar = GetToolBar(); toolbar && toolbar->Widget()) {
      const QList<QAction*> buttons = toolbar->Widget()->actions();
      for (qsizetype i = kShortToolbar; i < buttons.size(); ++i)
        buttons[i]->setVisible(withDocument);
    }
    m_documentMenusShown = withDocument;
    m_menusBuilt = true;
  }
  m_repeatAction->setChecked(TClientModuleData::RepeatAddObject());
  RefreshRecentFiles();
}

void TaMainWindow::RefreshRecentFiles()
{
  const TRecentFiles& files = m_preferences.RecentFiles();
  for (MenuSet* set : {&m_withDocument, &m_withoutDocument}) {
    for (int32_t i = 0; i < TRecentFiles::kCount; ++i) {
      QAction* entry = set->recent[static_cast<size_t>(i)];
      const std::string& path = files.At(i);
      // "&n path": the number is the entry's key.
      entry->setText(QString::fromStdString(FormatStr(IDS_MAIN_RECENT_ENTRY, i + 1, "")) + Literal(path));
      entry->setVisible(!path.empty());
      entry->setEnabled(!path.empty());
    }
    set->erase->setEnabled(!files.IsEmpty());
  }
}

QAction* TaMainWindow::MenuAction(uint16_t command) const
{
  const MenuSet& set = m_documentMenusShown ? m_withDocument : m_withoutDocument;
  for (QMenu* menu : set.menus) {
    if (QAction* found = FindAction(menu->actions(), command))
      return found;
  }
  return nullptr;
}

std::string TaMainWindow::ShownTitle(const TaClientPage& view)
{
  // Unsaved changes are marked as every desktop program marks them.
  return view.IsModified() ? view.GetTitle() + " *" : view.GetTitle();
}

void TaMainWindow::RefreshTitle()
{
  std::string title = LoadStr(IDS_PROGRAM_NAME);
  title += " ";
  if (const TaClientPage* view = ActiveDocument())
    title += FormatStr(IDS_TITLE_DOCUMENT, CutText(ShownTitle(*view), kMaxTitle).c_str());
  SetTitle(title);
  m_shownModified.clear();
  for (const Document& document : m_documents) {
    SetTabTitle(document.view.get(), ShownTitle(*document.view));
    m_shownModified.push_back(document.view->IsModified());
  }
}

void TaMainWindow::RefreshModifiedMarks()
{
  bool changed = m_shownModified.size() != m_documents.size();
  for (size_t i = 0; i < m_documents.size() && !changed; ++i)
    changed = m_shownModified[i] != m_documents[i].view->IsModified();
  if (changed)
    RefreshTitle();
  RefreshState();
}

void TaMainWindow::RefreshState()
{
  TStatus* status = GetStatusBar();
  if (!status)
    return;
  const TaClientPage* view = ActiveDocument();
  if (!view || !view->GetPage()) {
    status->SetState(std::string());
    return;
  }
  // What the drawing depends on but nothing else shows: new objects go on
  // the active layer, and points keep to the snap.
  const TClientModuleLayer& layerModule = view->GetLayerModule();
  const int active = std::countr_zero(static_cast<unsigned>(layerModule.GetActive() | 0x100));
  const char* layer = active < 8 ? layerModule.GetName(active) : nullptr;
  // The units dialog's names, without the spaces that line them up there.
  const std::string unit =
      QString::fromUtf8(LoadStr(IDS_UNIT_0002_INCH + UnitIndexOf(view->GetPage()->GetUnitsPerInch())))
          .simplified()
          .toStdString();
  auto onOff = [](bool on) { return LoadStr(on ? IDS_STATUS_ON : IDS_STATUS_OFF); };
  status->SetState(FormatStr(IDS_STATUS_STATE, view->GetZoom(), layer ? layer : "", onOff(view->IsSnapOn()),
                             onOff(view->IsGridShown()), unit.c_str()));
}

std::unique_ptr<QMenu> TaMainWindow::TabMenu(int32_t index)
{
  auto* view = static_cast<TaClientPage*>(Tabs().ViewAt(index));
  if (!view)
    return nullptr;
  auto menu = std::make_unique<QMenu>();
  // Each entry finds its document again when chosen: the tabs may have
  // changed meanwhile.
  auto live = [this, view]() { return Tabs().IndexOf(view) >= 0 ? view : nullptr; };
  QObject::connect(menu->addAction(QString::fromUtf8(LoadStr(IDS_TAB_CLOSE))), &QAction::triggered,
                   menu.get(), [this, live] {
                     if (TaClientPage* document = live())
                       CloseDocumentIn(*document);
                   });
  QAction* others = menu->addAction(QString::fromUtf8(LoadStr(IDS_TAB_CLOSE_OTHERS)));
  others->setEnabled(DocumentCount() > 1);
  QObject::connect(others, &QAction::triggered, menu.get(), [this, live] {
    TaClientPage* kept = live();
    if (!kept)
      return;
    // From the last tab down; a cancelled save question stops the rest.
    for (int32_t i = DocumentCount() - 1; i >= 0; --i) {
      TaClientPage* document = DocumentAt(i);
      if (document != kept && !CloseDocumentIn(*document))
        break;
    }
    SelectView(kept);
  });
  QObject::connect(menu->addAction(QString::fromUtf8(LoadStr(IDS_TAB_SAVE))), &QAction::triggered, menu.get(),
                   [this, live] {
                     if (TaClientPage* document = live()) {
                       SelectView(document);
                       SaveActiveDocument(false);
                     }
                   });
  QAction* copyPath = menu->addAction(QString::fromUtf8(LoadStr(IDS_TAB_COPY_PATH)));
  copyPath->setEnabled(!view->GetFilePath().empty());
  QObject::connect(copyPath, &QAction::triggered, menu.get(), [path = view->GetFilePath()] {
    QGuiApplication::clipboard()->setText(QString::fromStdString(path));
  });
  return menu;
}

void TaMainWindow::TabChanged(TVue* view)
{
  TTabWindow::TabChanged(view);
  RefreshMenus();
  RefreshTitle();
  // The status text belonged to the document left behind (a readout in its
  // unit, its prompt): show the new one's prompt, and its readout when the
  // pointer is over its paper.
  if (TStatus* status = GetStatusBar()) {
    TaClientPage* active = ActiveDocument();
    status->SetText(active ? active->GetPrompt() : std::string());
    if (active)
      active->WndProc(MSG_REFRESH_READOUT, 0, 0);
  }
  RefreshState();
}

// ---- commands ----

uint32_t TaMainWindow::Message(uint32_t message, int32_t a, int32_t b, void* p)
{
  if (message >= CM_RECENT_FIRST && message <= CM_RECENT_LAST) {
    // Copied: opening the file reorders the list.
    const std::string path = m_preferences.RecentFiles().At(static_cast<int32_t>(message - CM_RECENT_FIRST));
    return !path.empty() && OpenDocumentFile(path) ? 1 : 0;
  }
  switch (message) {
  case CM_NEW:
    return NewDocument() ? 1 : 0;
  case CM_OPEN:
    return OpenDocumentFile(std::string()) ? 1 : 0;
  case CM_CLOSE:
    return CloseActiveDocument() ? 1 : 0;
  case CM_SAVE:
    return static_cast<uint32_t>(SaveActiveDocument(false));
  case CM_SAVE_AS:
    return static_cast<uint32_t>(SaveActiveDocument(true));
  case CM_SAVE_ALL:
    return static_cast<uint32_t>(SaveAllDocuments());
  case CM_RECENT_ERASE:
    m_preferences.RecentFiles().Clear();
    RefreshMenus();
    return 1;
  case MSG_DOC_LOADED:
  case MSG_DOC_SAVED_AS:
    DocumentNamed(p ? static_cast<const char*>(p) : "");
    return 1;
  case CM_REPEAT_ADD:
    TClientModuleData::RepeatAddObject() = !TClientModuleData::RepeatAddObject();
    RefreshMenus();
    return 1;
  case CM_ABOUT:
    ShowAbout();
    return 1;
  case CM_HELP:
  case CM_HELP_INDEX:
    OpenHelp(message == CM_HELP_INDEX);
    return 1;
  case CM_WEB_SITE:
    OpenAddress(IDS_SUPPORT_WEB_SITE, false);
    return 1;
  case CM_SEND_MAIL:
    OpenAddress(IDS_SUPPORT_MAIL, true);
    return 1;
  case CM_ONLINE_HELP:
    OpenAddress(IDS_SUPPORT_ONLINE_HELP, false);
    return 1;
  case CM_ONLINE_SUPPORT:
    OpenAddress(IDS_SUPPORT_ONLINE_SUPPORT, false);
    return 1;
  case CM_QUIT:
    Widget()->close();
    return 1;
  case CM_PRINT_FROM_PRINTER: {
    TaClientPage* view = ActiveDocument();
    const uint32_t result = view ? view->Message(message, a, b, p) : 0;
    if (result != 0) {
      RefreshTitle();
      RefreshMenus();
    }
    return result;
  }
  default:
    if (TaClientPage* view = ActiveDocument())
      return view->Message(message, a, b, p);
    return TTabWindow::Message(message, a, b, p);
  }
}

uint32_t TaMainWindow::WndProc(uint32_t message, uint32_t param1, uintptr_t param2)
{
  if (message == MSG_DOC_LOADED || message == MSG_DOC_SAVED_AS) {
    lastMessage = message;
    // The notice carries the view; it may have gone since it was posted.
    const TaClientPage* view = FindDocument(reinterpret_cast<const TVue*>(param2));
    if (!view)
      return 0;
    const std::string path = view->GetFilePath();
    return Message(message, 0, 0, const_cast<char*>(path.c_str()));
  }
  return TTabWindow::WndProc(message, param1, param2);
}

void TaMainWindow::DocumentNamed(const std::string& path)
{
  m_preferences.RecentFiles().Add(path);
  RefreshMenus();
  RefreshTitle();
}

// ---- help ----

void TaMainWindow::ShowAbout()
{
  MessageBox(Widget(), LoadStr(IDS_ABOUT_TITLE), AboutText(), MB_OK_ | MB_ICONINFORMATION_);
}

void TaMainWindow::OpenHelp(bool index)
{
  const std::string manual = ManualPath();
  QUrl url = QUrl::fromLocalFile(QString::fromStdString(manual));
  if (index)
    url.setFragment(QStringLiteral("commands"));
  if (manual.empty()) {
    MessageBox(Widget(), LoadStr(IDS_PROGRAM_NAME), FormatStr(IDS_HELP_FAILED, "docs/index.html"),
               MB_OK_ | MB_ICONSTOP_);
    return;
  }
  if (m_openUrl(url))
    return;
  // No browser here (a bare desktop, a kiosk): the manual is plain HTML
  // with pictures, which a window of our own shows well enough.
  if (!m_manualWindow) {
    m_manualWindow = new QTextBrowser;
    m_manualWindow->setAttribute(Qt::WA_DeleteOnClose);
    m_manualWindow->setOpenExternalLinks(true);
    m_manualWindow->resize(860, 720);
  }
  m_manualWindow->setSource(url);
  m_manualWindow->setWindowTitle(m_manualWindow->documentTitle().isEmpty()
                                     ? QString::fromUtf8(LoadStr(IDS_PROGRAM_NAME))
                                     : m_manualWindow->documentTitle());
  m_manualWindow->show();
  m_manualWindow->raise();
  m_manualWindow->activateWindow();
}

void TaMainWindow::OpenAddress(uint32_t address, bool mail)
{
  const QString text = QString::fromUtf8(LoadStr(address));
  const QUrl url(mail ? QStringLiteral("mailto:") + text : text);
  if (!m_openUrl(url))
    MessageBox(Widget(), LoadStr(IDS_PROGRAM_NAME), FormatStr(IDS_ADDRESS_FAILED, text.toStdString().c_str()),
               MB_OK_ | MB_ICONSTOP_);
}
