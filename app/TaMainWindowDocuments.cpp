// The document commands of the main window: new, open, close, save, save
// as, save all, and closing every document when the program quits.

#include "TaMainWindow.h"

#include "DocumentFile.h"
#include "MessageBox.h"
#include "Messages.h"
#include "StringTable.h"
#include "TClientWidget.h"
#include "TPreferences.h"
#include "TaClientPage.h"

#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace {

bool IsFile(const std::string& path)
{
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

// Paths are the same file when their canonical forms are equal (as the file
// system compares them).
std::string Canonical(const std::string& path)
{
  std::error_code error;
  const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, error);
  return error ? path : canonical.string();
}

} // namespace

TaClientPage* TaMainWindow::DocumentAt(int32_t index) const
{
  return index >= 0 && index < DocumentCount() ? m_documents[static_cast<size_t>(index)].view.get() : nullptr;
}

TaClientPage* TaMainWindow::ActiveDocument() const
{
  return FindDocument(ActiveView());
}

TaClientPage* TaMainWindow::FindDocument(const TVue* view) const
{
  for (const Document& document : m_documents) {
    if (document.view.get() == view)
      return document.view.get();
  }
  return nullptr;
}

TClientWidget* TaMainWindow::WidgetOf(const TaClientPage* view) const
{
  for (const Document& document : m_documents) {
    if (document.view.get() == view)
      return document.widget.data();
  }
  return nullptr;
}

TaClientPage* TaMainWindow::FindDocumentByPath(const std::string& path) const
{
  const std::string wanted = Canonical(path);
  for (const Document& document : m_documents) {
    if (!document.view->GetFilePath().empty() && Canonical(document.view->GetFilePath()) == wanted)
      return document.view.get();
  }
  return nullptr;
}

TaClientPage* TaMainWindow::AddDocument(std::unique_ptr<TaClientPage> view)
{
  TaClientPage* added = view.get();
  auto* widget = new TClientWidget(*added);
  m_documents.push_back({std::move(view), widget});
  if (AddTab(added, added->GetTitle()) < 0) {
    m_documents.pop_back();
    delete widget;
    return nullptr;
  }
  RefreshTitle();
  return added;
}

void TaMainWindow::DiscardDocument(TaClientPage* view)
{
  for (auto it = m_documents.begin(); it != m_documents.end(); ++it) {
    if (it->view.get() != view)
      continue;
    // The tab goes first, then the widget, then the view it shows.
    std::unique_ptr<TaClientPage> owned = std::move(it->view);
    QPointer<TClientWidget> widget = it->widget;
    m_documents.erase(it);
    RemoveTab(owned.get());
    delete widget.data();
    return;
  }
}

TaClientPage* TaMainWindow::NewDocument()
{
  TaClientPage* view = AddDocument(std::make_unique<TaClientPage>(m_untitledCounter));
  if (view)
    ++m_untitledCounter;
  return view;
}

bool TaMainWindow::OpenDocumentFile(const std::string& given)
{
  std::string path = given;
  if (path.empty()) {
    // Start beside the document in front: the file wanted next is most
    // often in the same folder.
    const TaClientPage* active = ActiveDocument();
    path = active ? StartFolder(*active) : std::string();
    if (!m_input.ChooseOpenFile(path, LoadStr(IDS_DOCUMENT_FILTER)))
      return false;
  }
  if (!IsFile(path)) {
    path = std::filesystem::path(path).replace_extension(".vk1").string();
    if (!IsFile(path))
      return false;
  }
  path = QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString();

  if (TaClientPage* open = FindDocumentByPath(path)) {
    if (open != ActiveDocument()) {
      SelectView(open);
      return true;
    }
    if (open->IsBusy())
      return false;
    const bool loaded = LoadDocument(*open, path.c_str()) == 1;
    RefreshTitle();
    return loaded;
  }

  TaClientPage* view = AddDocument(std::make_unique<TaClientPage>(0));
  if (!view)
    return false;
  // A file that could not be loaded leaves its tab as an empty document;
  // one whose opening the user gave up leaves no tab.
  LoadReport report;
  const bool loaded = LoadDocument(*view, path.c_str(), &report) == 1;
  if (!loaded && report.outcome == LoadReport::Outcome::kCancelled)
    DiscardDocument(view);
  RefreshTitle();
  return loaded;
}

bool TaMainWindow::CloseActiveDocument()
{
  TaClientPage* view = ActiveDocument();
  // A running command holds the view: it cannot go before the command ends.
  if (!view || view->IsBusy() || CloseDocument(*view) != kDocumentDone)
    return false;
  DiscardDocument(view);
  return true;
}

bool TaMainWindow::CloseDocumentIn(TaClientPage& view)
{
  // In front, so the user sees which document a save question is about.
  SelectView(&view);
  return CloseActiveDocument();
}

int32_t TaMainWindow::SaveDocumentIn(TaClientPage& view, bool saveAs)
{
  // An untitled document is saved under a name the user chooses.
  const int32_t result = SaveDocument(view, false, saveAs || view.GetFilePath().empty());
  if (result == kDocumentDone)
    RefreshTitle();
  return result;
}

int32_t TaMainWindow::SaveActiveDocument(bool saveAs)
{
  TaClientPage* view = ActiveDocument();
  return view ? SaveDocumentIn(*view, saveAs) : kDocumentNotDone;
}

int32_t TaMainWindow::SaveAllDocuments()
{
  TVue* active = ActiveView();
  int32_t result = kDocumentDone;
  for (int32_t i = 0; i < DocumentCount() && result == kDocumentDone; ++i) {
    TaClientPage* view = DocumentAt(i);
    // The user sees which document a name is asked for.
    if (view->GetFilePath().empty())
      SelectView(view);
    result = SaveDocumentIn(*view, false);
  }
  if (active)
    SelectView(active);
  return result;
}

bool TaMainWindow::CanClose()
{
  for (const Document& document : m_documents) {
    if (document.view->IsBusy())
      return false;
  }
  if (MessageBox(Widget(), LoadStr(IDS_QUIT_TITLE), LoadStr(IDS_QUIT_QUESTION),
                 MB_YESNO_ | MB_ICONQUESTION_) != IDYES_)
    return false;
  if (!Widget()->isMinimized()) {
    const QRect place = Widget()->geometry();
    m_preferences.Window() = {place.x(), place.y(), place.width(), place.height()};
  }
  // Every document is asked before any is closed: a cancel at the last
  // question leaves all of them open.
  for (int32_t i = 0; i < DocumentCount(); ++i) {
    TaClientPage* view = DocumentAt(i);
    SelectView(view);
    if (OfferToSave(*view) != kDocumentDone)
      return false;
  }
  while (TaClientPage* view = DocumentAt(0))
    DiscardDocument(view);
  return true;
}
