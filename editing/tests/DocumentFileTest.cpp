#include "DocumentTestSupport.h"

#include "StringTable.h"

#include <sys/stat.h>

namespace {

const std::string kThree = ObjectRecord(10, 10, 20, 20) + ObjectRecord(30, 30, 40, 40) + ObjectRecord(50, 50, 60, 60);

// Sets up the view as the documents of these tests are written.
void UseTestPaper(TaClientPage& client)
{
  TPage& page = *client.GetPage();
  page.SetPaperSize(800, 1000);
  page.SetUnitFactor(0.01f);
  page.SetDecimals(2);
  page.SetUnitsPerInch(100);
  client.SetSnapOn(true);
}

}  // namespace

// ---- writing ----

TEST_F(DocumentTest, WritesEverySectionInOrderAndLeavesOutUnsavedObjects)
{
  UseTestPaper(client);
  Add(10, 10, 20, 20);
  Add(0, 0, 5, 5)->SetState(TData::kNotSaved, true);
  Add(30, 30, 40, 40);
  const std::string path = dir.File("doc.vk1");
  client.SetModified(true);
  ASSERT_EQ(SaveDocument(client, false, false), kDocumentCancelled);  // untitled: the dialog was cancelled
  input.AnswerSaveFile(path);
  ASSERT_EQ(SaveDocument(client, false, false), kDocumentDone);
  EXPECT_EQ(ReadWholeFile(path), Document(2, ObjectRecord(10, 10, 20, 20) + ObjectRecord(30, 30, 40, 40)));
  EXPECT_FALSE(client.IsModified());
  EXPECT_EQ(client.GetFilePath(), path);
  EXPECT_EQ(client.GetTitle(), "doc.vk1");

  // Saving again without a change writes the same bytes.
  const std::string first = ReadWholeFile(path);
  ASSERT_EQ(SaveDocument(client, false, false), kDocumentDone);
  EXPECT_EQ(ReadWholeFile(path), first);
}

TEST_F(DocumentTest, EmptyDocumentHasCountZeroAndLoadsEmpty)
{
  UseTestPaper(client);
  const std::string path = dir.File("empty.vk1");
  input.AnswerSaveFile(path);
  ASSERT_EQ(SaveDocument(client, false, true), kDocumentDone);
  EXPECT_EQ(ReadWholeFile(path), Document(0, ""));

  TaClientPage other;
  EXPECT_EQ(LoadDocument(other, path.c_str()), 1);
  EXPECT_EQ(other.ObjectCount(), 0);
  EXPECT_FALSE(other.IsModified());
}

TEST_F(DocumentTest, RefreshesFieldObjectsBeforeWriting)
{
  RecordingObject* field = Add(0, 0, 10, 10);
  field->SetState(TData::kRefreshOnSave, true);
  RecordingObject* plain = Add(0, 0, 10, 10);
  input.AnswerSaveFile(dir.File("a.vk1"));
  ASSERT_EQ(SaveDocument(client, false, false), kDocumentDone);
  EXPECT_EQ(std::count(field->received.begin(), field->received.end(), MSG_REFRESH), 1);
  EXPECT_TRUE(plain->received.empty());

  // Without a window the other refresh message is sent.
  client.SetInput(nullptr);
  ASSERT_EQ(SaveDocument(client, false, false), kDocumentDone);
  EXPECT_EQ(field->received.back(), MSG_REFRESH_NO_WINDOW);
}

// ---- reading ----

TEST_F(DocumentTest, ReadsRecordsPastTheStoredCountAndSkipsUnknownOnes)
{
  // Count 2 with three records, an unknown record and stray text between
  // them, and the sections in another order.
  const std::string records = ObjectRecord(10, 10, 20, 20) + "TFutureThing 4 1 2 3\n\tTRect 0 1 2 3 4\n" +
                              ObjectRecord(30, 30, 40, 40) + "what is this\n" + ObjectRecord(50, 50, 60, 60);
  const std::string path =
    File("count.vk1", "\n[VEKT TData]\n2\n" + records + DocumentHead("0 7") + "\n[VEKT Other]\n1 2\n");
  LoadReport report;
  ASSERT_EQ(LoadDocument(client, path.c_str(), &report), 1);
  EXPECT_EQ(client.ObjectCount(), 3);
  EXPECT_EQ(report.objectsRead, 3);
  EXPECT_FALSE(report.damaged);
  EXPECT_FALSE(client.IsModified());
  EXPECT_TRUE(input.messageBoxes.empty());
  EXPECT_EQ(client.ObjectAtIndex(2)->left, 50);
  EXPECT_EQ(client.ObjectAtIndex(2)->bottom, 60);
  EXPECT_EQ(client.GetPage()->GetPaperWidth(), 800);
  EXPECT_EQ(client.GetTitle(), "count.vk1");
}

TEST_F(DocumentTest, FileVersionDecidesWhatIsAsked)
{
  const std::string v1 = File("v1.vk1", Document(3, kThree, ""));
  const std::string v8 = File("v8.vk1", Document(3, kThree, "0 8"));
  const std::string none = File("none.vk1", DocumentHead());

  TInStream is;
  ASSERT_TRUE(is.LoadFile(v1));
  EXPECT_EQ(GetFileVersion(is), 1);
  ASSERT_TRUE(is.LoadFile(v8));
  EXPECT_EQ(GetFileVersion(is), 8);
  ASSERT_TRUE(is.LoadFile(none));
  EXPECT_EQ(GetFileVersion(is), 0);

  // Version 1 loads without a word.
  ASSERT_EQ(LoadDocument(client, v1.c_str()), 1);
  EXPECT_EQ(client.ObjectCount(), 3);
  EXPECT_TRUE(input.messageBoxes.empty());

  // A newer file: No leaves the open document as it was.
  client.SetModified(true);
  input.AnswerMessageBox(IDNO_);
  LoadReport report;
  EXPECT_EQ(LoadDocument(client, v8.c_str(), &report), 0);
  EXPECT_EQ(report.outcome, LoadReport::Outcome::kRefused);
  ASSERT_EQ(input.messageBoxes.size(), 1u);
  EXPECT_EQ(input.messageBoxes[0].text, LoadStr(IDS_OPEN_NEWER_VERSION));
  EXPECT_EQ(input.messageBoxes[0].flags, MB_YESNO_ | MB_ICONSTOP_ | MB_DEFBUTTON2_);
  EXPECT_EQ(client.GetFilePath(), v1);
  EXPECT_EQ(client.ObjectCount(), 3);
  EXPECT_TRUE(client.IsModified());

  // Yes loads it.
  client.SetModified(false);
  input.AnswerMessageBox(IDYES_);
  EXPECT_EQ(LoadDocument(client, v8.c_str()), 1);
  EXPECT_EQ(client.GetFilePath(), v8);

  // Not a document at all.
  input.messageBoxes.clear();
  input.AnswerMessageBox(IDNO_);
  EXPECT_EQ(LoadDocument(client, none.c_str()), 0);
  ASSERT_EQ(input.messageBoxes.size(), 1u);
  EXPECT_EQ(input.messageBoxes[0].text, LoadStr(IDS_OPEN_NOT_RECOGNIZED));
  EXPECT_EQ(client.GetFilePath(), v8);
}

TEST_F(DocumentTest, ReloadingTheOpenFileAsksFirst)
{
  const std::string path = File("open.vk1", Document(3, kThree));
  ASSERT_EQ(LoadDocument(client, path.c_str()), 1);
  TData* removed = client.ObjectAtIndex(0);
  client.RemoveObject(removed, false);
  delete removed;
  client.SetModified(true);

  // No: the document stays as it is, modified flag included.
  input.AnswerMessageBox(IDNO_);
  LoadReport report;
  EXPECT_EQ(LoadDocument(client, (dir.Path() + "/./open.vk1").c_str(), &report), 1);
  EXPECT_EQ(report.outcome, LoadReport::Outcome::kKeptOpen);
  EXPECT_EQ(input.messageBoxes.back().text, LoadStr(IDS_OPEN_ALREADY_EDITED));
  EXPECT_EQ(client.ObjectCount(), 2);
  EXPECT_TRUE(client.IsModified());

  // Yes: read again from disk, without offering to save the changes.
  input.messageBoxes.clear();
  input.AnswerMessageBox(IDYES_);
  EXPECT_EQ(LoadDocument(client, path.c_str()), 1);
  EXPECT_EQ(input.messageBoxes.size(), 1u);
  EXPECT_EQ(client.ObjectCount(), 3);
  EXPECT_FALSE(client.IsModified());
}

TEST_F(DocumentTest, UnreadableFileIsRefusedAndTheDocumentStays)
{
  Add(1, 1, 2, 2);
  client.SetFilePath("/some/where.vk1");
  client.SetModified(true);
  LoadReport report;
  EXPECT_EQ(LoadDocument(client, dir.File("missing.vk1").c_str(), &report), 0);
  EXPECT_EQ(report.outcome, LoadReport::Outcome::kUnreadable);
  EXPECT_FALSE(report.reason.empty());
  ASSERT_EQ(input.messageBoxes.size(), 1u);
  EXPECT_NE(input.messageBoxes[0].text.find("missing.vk1"), std::string::npos);
  EXPECT_EQ(client.ObjectCount(), 1);
  EXPECT_EQ(client.GetFilePath(), "/some/where.vk1");
  EXPECT_TRUE(client.IsModified());

  // A folder is not a file either.
  EXPECT_EQ(LoadDocument(client, dir.Path().c_str(), &report), 0);
  EXPECT_EQ(report.outcome, LoadReport::Outcome::kUnreadable);
  EXPECT_EQ(client.ObjectCount(), 1);
}

TEST_F(DocumentTest, WindowsTextInAFileReadsAsUtf8)
{
  std::string head = DocumentHead();
  head.replace(head.find("\n1\n2\n"), 5, "\nCl\xE9s\n2\n");
  const std::string path = File("latin.vk1", head + "\n[VEKT TData]\n0\n");
  ASSERT_EQ(LoadDocument(client, path.c_str()), 1);
  EXPECT_STREQ(client.GetLayerModule().GetName(0), "Cl\xC3\xA9s");
}

TEST_F(DocumentTest, ReadOnlyFileLoadsWithANotice)
{
  const std::string path = File("locked.vk1", Document(3, kThree));
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  ASSERT_EQ(LoadDocument(client, path.c_str()), 1);
  ASSERT_EQ(input.messageBoxes.size(), 1u);
  EXPECT_EQ(input.messageBoxes[0].text, LoadStr(IDS_OPEN_READ_ONLY));
  EXPECT_EQ(input.messageBoxes[0].title, LoadStr(IDS_OPEN_DOCUMENT_TITLE));
  EXPECT_EQ(client.ObjectCount(), 3);
}

TEST_F(DocumentTest, LoadAndSaveAsTellTheMainWindow)
{
  std::vector<std::pair<uint32_t, std::string>> notices;
  client.SetDocumentNotice([&](uint32_t message, const std::string& path) { notices.emplace_back(message, path); });
  TaClientPage mainWindow;
  client.SetParent(&mainWindow);
  const std::string path = File("n.vk1", Document(3, kThree));
  ASSERT_EQ(LoadDocument(client, path.c_str()), 1);
  const std::string other = dir.File("m.vk1");
  input.AnswerSaveFile(other);
  ASSERT_EQ(SaveDocument(client, false, true), kDocumentDone);
  // A plain save keeps the name: nothing to tell.
  ASSERT_EQ(SaveDocument(client, false, false), kDocumentDone);

  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(notices[0], std::make_pair(uint32_t{MSG_DOC_LOADED}, path));
  EXPECT_EQ(notices[1], std::make_pair(uint32_t{MSG_DOC_SAVED_AS}, other));
  std::vector<TScriptedInput::PostedRecord> toMain;
  for (const auto& record : input.posted) {
    if (record.view == &mainWindow)
      toMain.push_back(record);
  }
  ASSERT_EQ(toMain.size(), 2u);
  EXPECT_EQ(toMain[0].message, uint32_t{MSG_DOC_LOADED});
  EXPECT_EQ(toMain[1].message, uint32_t{MSG_DOC_SAVED_AS});
  EXPECT_EQ(toMain[1].param2, reinterpret_cast<uintptr_t>(static_cast<TVue*>(&client)));
}

// ---- saving that fails ----

TEST_F(DocumentTest, FailedSaveKeepsTheOldFileAndTellsTheUser)
{
  const std::string path = File("keep.vk1", Document(3, kThree));
  ASSERT_EQ(LoadDocument(client, path.c_str()), 1);
  const std::string before = ReadWholeFile(path);
  Add(70, 70, 80, 80);
  client.SetModified(true);

  // A folder in the way of the file, and a retry into a missing folder.
  const std::string blocked = dir.File("blocked.vk1");
  ASSERT_EQ(::mkdir(blocked.c_str(), 0755), 0);
  input.AnswerSaveFile(blocked);
  input.AnswerMessageBox(IDYES_);
  input.AnswerSaveFile(dir.File("no/such/folder.vk1"));
  std::string error;
  EXPECT_EQ(SaveDocument(client, false, true, &error), kDocumentNotDone);
  EXPECT_FALSE(error.empty());
  ASSERT_EQ(input.messageBoxes.size(), 2u);
  EXPECT_EQ(input.messageBoxes[0].text, LoadStr(IDS_SAVE_OPEN_ERROR_RETRY));
  EXPECT_EQ(input.messageBoxes[0].flags, MB_YESNO_ | MB_ICONSTOP_);
  EXPECT_NE(input.messageBoxes[1].text.find(error), std::string::npos);
  EXPECT_EQ(input.messageBoxes[1].title, LoadStr(IDS_SAVE_DOCUMENT_TITLE));
  EXPECT_TRUE(client.IsModified());
  EXPECT_EQ(client.GetFilePath(), path);
  EXPECT_EQ(ReadWholeFile(path), before);

  // The retry to a good name saves there.
  const std::string rescue = dir.File("rescue.vk1");
  input.AnswerSaveFile(blocked);
  input.AnswerMessageBox(IDYES_);
  input.AnswerSaveFile(rescue);
  EXPECT_EQ(SaveDocument(client, false, true), kDocumentDone);
  EXPECT_EQ(client.GetFilePath(), rescue);
  EXPECT_FALSE(client.IsModified());
  TaClientPage check;
  ASSERT_EQ(LoadDocument(check, rescue.c_str()), 1);
  EXPECT_EQ(check.ObjectCount(), 4);
}

TEST_F(DocumentTest, CloseKeepsChangesThatCouldNotBeSaved)
{
  Add(1, 1, 2, 2);
  client.SetModified(true);
  // Yes to saving, then the save dialog is cancelled.
  input.AnswerMessageBox(IDYES_);
  EXPECT_EQ(CloseDocument(client), kDocumentCancelled);
  EXPECT_EQ(input.messageBoxes[0].text, "Save changes in Untitled (3) ?");
  EXPECT_EQ(input.messageBoxes[0].title, LoadStr(IDS_SAVE_TITLE));
  EXPECT_EQ(client.ObjectCount(), 1);

  // Yes, a name whose folder does not exist, and no retry.
  input.AnswerMessageBox(IDYES_);
  input.AnswerSaveFile(dir.File("gone/x.vk1"));
  input.AnswerMessageBox(IDNO_);
  EXPECT_EQ(CloseDocument(client), kDocumentCancelled);
  EXPECT_EQ(client.ObjectCount(), 1);
  EXPECT_TRUE(client.IsModified());

  // No: the changes go.
  input.AnswerMessageBox(IDNO_);
  EXPECT_EQ(CloseDocument(client), kDocumentDone);
  EXPECT_EQ(client.ObjectCount(), 0);
  EXPECT_FALSE(client.IsModified());
  // Unchanged: nothing is asked.
  input.messageBoxes.clear();
  EXPECT_EQ(CloseDocument(client), kDocumentDone);
  EXPECT_TRUE(input.messageBoxes.empty());
}

// ---- damaged files ----

TEST_F(DocumentTest, DamagedFileReportsWhatWasReadAndIsNotSavedOver)
{
  // The second record has a broken number; the third is never reached.
  std::string broken = ObjectRecord(30, 30, 40, 40);
  broken.replace(broken.find("TData 3 0"), 9, "TData 3 x");
  const std::string data = Document(3, ObjectRecord(10, 10, 20, 20) + broken + ObjectRecord(50, 50, 60, 60));
  const std::string path = File("damaged.vk1", data);
  LoadReport report;
  ASSERT_EQ(LoadDocument(client, path.c_str(), &report), 1);
  EXPECT_TRUE(report.damaged);
  EXPECT_EQ(client.ObjectCount(), 1);
  ASSERT_EQ(input.messageBoxes.size(), 1u);
  EXPECT_EQ(input.messageBoxes[0].text, FormatStr(IDS_OPEN_DAMAGED, 1));
  EXPECT_EQ(input.messageBoxes[0].flags, MB_OK_ | MB_ICONSTOP_);
  EXPECT_TRUE(client.IsModified());

  // Save: Cancel writes nothing; No saves under another name.
  input.AnswerMessageBox(IDCANCEL_);
  EXPECT_EQ(SaveDocument(client, false, false), kDocumentCancelled);
  EXPECT_EQ(input.messageBoxes.back().text, FormatStr(IDS_SAVE_OVER_DAMAGED, "damaged.vk1"));
  const std::string copy = dir.File("copy.vk1");
  input.AnswerMessageBox(IDNO_);
  input.AnswerSaveFile(copy);
  EXPECT_EQ(SaveDocument(client, false, false), kDocumentDone);
  EXPECT_EQ(ReadWholeFile(path), data);
  EXPECT_EQ(client.GetFilePath(), copy);

  // Loaded again, Yes replaces the damaged file.
  ASSERT_EQ(LoadDocument(client, path.c_str()), 1);
  input.AnswerMessageBox(IDYES_);
  EXPECT_EQ(SaveDocument(client, false, false), kDocumentDone);
  EXPECT_NE(ReadWholeFile(path), data);
  EXPECT_FALSE(client.IsFromDamagedFile());
}

TEST_F(DocumentTest, RecordOfAClassWithoutReaderEndsTheListAsDamage)
{
  const std::string records = ObjectRecord(10, 10, 20, 20) + "TSaverWindow 1 2 3\n" + ObjectRecord(30, 30, 40, 40);
  const std::string path = File("noreader.vk1", Document(2, records));
  LoadReport report;
  ASSERT_EQ(LoadDocument(client, path.c_str(), &report), 1);
  EXPECT_TRUE(report.damaged);
  EXPECT_EQ(report.objectsRead, 1);
}
