// New, Open, Close, Save, Save as, Save All and the recent files, chosen
// from the File menu of the main window.

#include "MainWindowTestSupport.h"

#include "CommandIds.h"
#include "DocumentFile.h"
#include "Startup.h"

#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>

#include <filesystem>

namespace {

// A saved document at path holding nothing.
void WriteEmptyDocument(const std::string& path)
{
  TaClientPage page;
  page.SetFilePath(path);
  ASSERT_EQ(SaveDocument(page, false, false), kDocumentDone);
}

// The recent-files entries the File menu shows, as their texts.
std::vector<std::string> RecentEntries(TaMainWindow& window)
{
  std::vector<std::string> shown;
  for (uint16_t command = CM_RECENT_FIRST; command <= CM_RECENT_LAST; ++command) {
    QAction* entry = window.MenuAction(command);
    if (entry && entry->isVisible() && entry->isEnabled())
      shown.push_back(entry->text().toStdString());
  }
  return shown;
}

TEST_F(MainWindowTest, NewDocumentsAreNumberedAndNamedInTheTitle)
{
  EXPECT_EQ(Title(), "Vekta ");
  EXPECT_FALSE(window->ShowsDocumentMenus());
  Choose(CM_NEW);
  Choose(CM_NEW);
  ASSERT_EQ(window->DocumentCount(), 2);
  EXPECT_EQ(Title(), "Vekta [Untitled 2] ");
  EXPECT_EQ(window->Tabs().ViewAt(0), window->DocumentAt(0));
  EXPECT_TRUE(window->ShowsDocumentMenus());
  // Closing an unchanged document asks nothing.
  Choose(CM_CLOSE);
  EXPECT_EQ(window->DocumentCount(), 1);
  EXPECT_EQ(Title(), "Vekta [Untitled 1] ");
  Choose(CM_CLOSE);
  EXPECT_EQ(window->DocumentCount(), 0);
  EXPECT_EQ(Title(), "Vekta ");
  EXPECT_FALSE(window->ShowsDocumentMenus());
}

TEST_F(MainWindowTest, SaveOnAnUntitledDocumentAsksForAName)
{
  Choose(CM_NEW);
  TaClientPage* view = window->ActiveDocument();
  view->SetModified(true);

  bool shown = false;
  QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
  ModalScript cancel;
  cancel.Then(AnswerFileDialog("", &shown, &mode));
  Choose(CM_SAVE);
  ASSERT_TRUE(cancel.Done());
  EXPECT_TRUE(shown);
  EXPECT_EQ(mode, QFileDialog::AcceptSave);
  EXPECT_TRUE(view->GetFilePath().empty());
  EXPECT_TRUE(view->IsModified());

  const std::string path = folder.File("plan.vk1");
  ModalScript save;
  save.Then(AnswerFileDialog(path));
  Choose(CM_SAVE);
  ASSERT_TRUE(save.Done());
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_FALSE(view->IsModified());
  EXPECT_EQ(Title(), "Vekta [plan.vk1] ");
  EXPECT_EQ(window->Tabs().Widget()->tabText(0).toStdString(), "plan.vk1");
  EXPECT_EQ(preferences->RecentFiles().At(0), path);
  // A titled document is saved without a question.
  view->SetModified(true);
  Choose(CM_SAVE);
  EXPECT_FALSE(view->IsModified());
}

TEST_F(MainWindowTest, SaveAllStopsAtTheFirstCancel)
{
  Choose(CM_NEW);
  Choose(CM_NEW);
  Choose(CM_NEW);
  for (int32_t i = 0; i < 3; ++i)
    window->DocumentAt(i)->SetModified(true);
  const std::string first = folder.File("first.vk1");
  bool thirdAsked = false;
  ModalScript script;
  script.Then(AnswerFileDialog(first)).Then(AnswerFileDialog("")).Then(AnswerFileDialog("", &thirdAsked));
  Choose(CM_SAVE_ALL);
  EXPECT_FALSE(thirdAsked);
  EXPECT_EQ(window->DocumentAt(0)->GetFilePath(), first);
  EXPECT_FALSE(window->DocumentAt(0)->IsModified());
  EXPECT_TRUE(window->DocumentAt(1)->GetFilePath().empty());
  EXPECT_TRUE(window->DocumentAt(1)->IsModified());
  EXPECT_TRUE(window->DocumentAt(2)->IsModified());
  // The document that was active is active again.
  EXPECT_EQ(window->ActiveDocument(), window->DocumentAt(2));
}

TEST_F(MainWindowTest, OpeningFindsTheExtensionAndAnOpenFileOnlySwitchesTabs)
{
  const std::string house = folder.File("house.vk1");
  const std::string shed = folder.File("shed.vk1");
  WriteEmptyDocument(house);
  WriteEmptyDocument(shed);

  EXPECT_TRUE(window->OpenDocumentFile(folder.File("house")));
  EXPECT_EQ(window->ActiveDocument()->GetFilePath(), house);
  EXPECT_EQ(Title(), "Vekta [house.vk1] ");
  ModalScript script;
  script.Then(AnswerFileDialog(shed));
  Choose(CM_OPEN);
  ASSERT_TRUE(script.Done());
  ASSERT_EQ(window->DocumentCount(), 2);

  EXPECT_TRUE(window->OpenDocumentFile(house));
  EXPECT_EQ(window->DocumentCount(), 2);
  EXPECT_EQ(window->ActiveDocument(), window->DocumentAt(0));
  // A name that is no file opens nothing and says nothing.
  EXPECT_FALSE(window->OpenDocumentFile(folder.File("garage")));
  EXPECT_EQ(window->DocumentCount(), 2);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(MainWindowTest, DroppedFilesOpenInTabsAndOtherDropsAreRefused)
{
  const std::string house = folder.File("house.vk1");
  const std::string shed = folder.File("shed.vk1");
  WriteEmptyDocument(house);
  WriteEmptyDocument(shed);
  QWidget* target = window->Widget();
  const QPoint at = target->rect().center();

  QMimeData text;
  text.setText("house.vk1");
  QDragEnterEvent refused(at, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &refused);
  EXPECT_FALSE(refused.isAccepted());

  QMimeData files;
  files.setUrls({QUrl::fromLocalFile(QString::fromStdString(house)),
                 QUrl::fromLocalFile(QString::fromStdString(shed))});
  QDragEnterEvent enter(at, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(at, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  QApplication::processEvents();
  ASSERT_EQ(window->DocumentCount(), 2);
  EXPECT_EQ(window->DocumentAt(0)->GetFilePath(), house);
  EXPECT_EQ(window->DocumentAt(1)->GetFilePath(), shed);
}

TEST_F(MainWindowTest, ATabsMenuClosesTheOthersSavesAndCopiesThePath)
{
  const std::string house = folder.File("house.vk1");
  WriteEmptyDocument(house);
  Choose(CM_NEW);
  ASSERT_TRUE(window->OpenDocumentFile(house));
  Choose(CM_NEW);
  ASSERT_EQ(window->DocumentCount(), 3);
  TaClientPage* saved = window->DocumentAt(1);
  auto entries = [](QMenu& menu) {
    std::vector<std::string> texts;
    for (const QAction* action : menu.actions())
      texts.push_back(action->text().toStdString() + (action->isEnabled() ? "" : " (off)"));
    return texts;
  };
  auto trigger = [](QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions()) {
      if (action->text() == text)
        action->trigger();
    }
  };
  std::unique_ptr<QMenu> untitled = window->TabMenu(0);
  ASSERT_NE(untitled, nullptr);
  EXPECT_EQ(entries(*untitled),
            (std::vector<std::string>{"Close", "Close Others", "Save", "Copy Path (off)"}));

  std::unique_ptr<QMenu> menu = window->TabMenu(1);
  trigger(*menu, "Copy Path");
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), house);
  saved->SetModified(true);
  trigger(*menu, "Save");
  EXPECT_FALSE(saved->IsModified());
  trigger(*menu, "Close Others");
  ASSERT_EQ(window->DocumentCount(), 1);
  EXPECT_EQ(window->DocumentAt(0), saved);
  EXPECT_EQ(entries(*window->TabMenu(0))[1], "Close Others (off)");
  EXPECT_EQ(window->TabMenu(1), nullptr);
}

TEST(CommandLine, EveryArgumentThatIsNoOptionNamesADocument)
{
  const std::vector<std::string> documents =
      DocumentArguments({"vekta", "a.vk1", "--style=fusion", "/tmp/b.vk1", "-x"});
  ASSERT_EQ(documents.size(), 2u);
  EXPECT_EQ(documents[0], QDir::current().absoluteFilePath("a.vk1").toStdString());
  EXPECT_EQ(documents[1], "/tmp/b.vk1");
  EXPECT_TRUE(DocumentArguments({"vekta"}).empty());
}

TEST_F(MainWindowTest, RecentFilesListTheOpenedDocumentsAndReopenThem)
{
  EXPECT_TRUE(RecentEntries(*window).empty());
  EXPECT_FALSE(window->MenuAction(CM_RECENT_ERASE)->isEnabled());

  const std::string house = folder.File("house & garden.vk1");
  const std::string shed = folder.File("shed.vk1");
  WriteEmptyDocument(house);
  WriteEmptyDocument(shed);
  window->OpenDocumentFile(house);
  window->OpenDocumentFile(shed);
  Run();
  EXPECT_EQ(RecentEntries(*window),
            (std::vector<std::string>{"&1 " + shed, "&2 " + folder.File("house && garden.vk1")}));
  EXPECT_TRUE(window->MenuAction(CM_RECENT_ERASE)->isEnabled());

  // Choosing an entry of a file that is open brings its tab forward.
  Choose(CM_RECENT_FIRST + 1);
  EXPECT_EQ(window->ActiveDocument()->GetFilePath(), house);
  // The list is shown by the short menus as well.
  Choose(CM_CLOSE);
  Choose(CM_CLOSE);
  ASSERT_FALSE(window->ShowsDocumentMenus());
  EXPECT_EQ(RecentEntries(*window).size(), 2u);
  Choose(CM_RECENT_FIRST);
  EXPECT_EQ(window->ActiveDocument()->GetFilePath(), shed);

  Choose(CM_RECENT_ERASE);
  EXPECT_TRUE(RecentEntries(*window).empty());
  EXPECT_FALSE(window->MenuAction(CM_RECENT_ERASE)->isEnabled());
}

} // namespace
