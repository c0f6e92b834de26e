#include "DocumentTestSupport.h"

#include "CommandIds.h"
#include "ImageFactories.h"
#include "StringTable.h"
#include "TailReader.h"

#include <sys/stat.h>

namespace {

const std::string kThree =
    ObjectRecord(10, 10, 20, 20) + ObjectRecord(30, 30, 40, 40) + ObjectRecord(50, 50, 60, 60);

} // namespace

TEST_F(DocumentTest, WritesTheSectionsLeavesOutUnsavedObjectsAndRepeatsItself)
{
  TPage& page = *client.GetPage();
  page.SetPaperSize(800, 1000);
  page.SetUnitFactor(0.01f);
  page.SetDecimals(2);
  client.SetSnapOn(true);
  Add(10, 10, 20, 20);
  Add(0, 0, 5, 5)->SetState(TData::kNotSaved, true);
  RecordingObject* field = Add(30, 30, 40, 40);
  field->SetState(TData::kRefreshOnSave, true);
  const std::string path = dir.File("doc.vk1");
  client.SetModified(true);
  input.AnswerSaveFile(path);
  ASSERT_EQ(SaveDocument(client, false, false), kDocumentDone);
  std::string expected = Document(2, ObjectRecord(10, 10, 20, 20) + ObjectRecord(30, 30, 40, 40));
  expected.replace(expected.rfind("TData 3 0"), 9, "TData 3 64");
  EXPECT_EQ(ReadWholeFile(path), expected);
  EXPECT_FALSE(client.IsModified());
  EXPECT_EQ(client.GetTitle(), "doc.vk1");
  // Field texts are refreshed first; without a window by the other message.
  EXPECT_EQ(field->received.back(), MSG_REFRESH);
  client.SetInput(nullptr);
  ASSERT_EQ(SaveDocument(client, false, false), kDocumentDone);
  EXPECT_EQ(field->received.back(), MSG_REFRESH_NO_WINDOW);
  EXPECT_EQ(ReadWholeFile(path), expected);
}

TEST_F(DocumentTest, ReadsRecordsPastTheStoredCountAndSkipsUnknownOnes)
{
  // Count 2 with three records, an unknown record and stray text between
  // them, and the sections in another order.
  const std::string records = ObjectRecord(10, 10, 20, 20) + "TFutureThing 4 1 2 3\n\tTRect 0 1 2 3 4\n" +
                              ObjectRecord(30, 30, 40, 40) + "what is this\n" + ObjectRecord(50, 50, 60, 60);
  const std::string path =
      File("count.vk1", "\n[VEKT TData]\n2\n" + records + DocumentHead() + "\n[VEKT X]\n1\n");
  LoadReport report;
  ASSERT_EQ(LoadDocument(client, path.c_str(), &report), 1);
  EXPECT_EQ(client.ObjectCount(), 3);
  EXPECT_FALSE(report.damaged);
  EXPECT_FALSE(client.IsModified());
  EXPECT_TRUE(input.messageBoxes.empty());
  EXPECT_EQ(client.ObjectAtIndex(2)->left, 50);
  EXPECT_EQ(client.GetPage()->GetPaperWidth(), 800);
}

TEST_F(DocumentTest, AnObjectMarkedInTheFileAsNotTheDocumentsIsStillFreedWithIt)
{
  // 256 is the run-time mark of an object the list does not own; from a
  // file it would leak the object (the sanitized run catches that).
  std::string record = ObjectRecord(10, 10, 20, 20);
  record.replace(record.find("TData 3 0"), 9, "TData 3 256");
  ASSERT_EQ(LoadDocument(client, File("marked.vk1", Document(1, record)).c_str()), 1);
  ASSERT_EQ(client.ObjectCount(), 1);
  EXPECT_FALSE(client.ObjectAtIndex(0)->TestState(TData::kNotOwned));
}

TEST_F(DocumentTest, FileVersionDecidesWhatIsAsked)
{
  const std::string v1 = File("v1.vk1", Document(3, kThree, ""));
  const std::string v8 = File("v8.vk1", Document(3, kThree, "0 8"));
  const std::string none = File("none.vk1", DocumentHead());

  // Version 1 loads without a word.
  ASSERT_EQ(LoadDocument(client, v1.c_str()), 1);
  EXPECT_TRUE(input.messageBoxes.empty());

  // A newer file: No leaves the open document as it was; Yes loads it.
  client.SetModified(true);
  input.AnswerMessageBox(IDNO_);
  EXPECT_EQ(LoadDocument(client, v8.c_str()), 0);
  ASSERT_EQ(input.messageBoxes.size(), 1u);
  EXPECT_EQ(input.messageBoxes[0].text, LoadStr(IDS_OPEN_NEWER_VERSION));
  EXPECT_EQ(input.messageBoxes[0].flags, MB_YESNO_ | MB_ICONSTOP_ | MB_DEFBUTTON2_);
  EXPECT_EQ(client.GetFilePath(), v1);
  EXPECT_TRUE(client.IsModified());
  client.SetModified(false);
  input.AnswerMessageBox(IDYES_);
  EXPECT_EQ(LoadDocument(client, v8.c_str()), 1);
  EXPECT_EQ(client.GetFilePath(), v8);

  // Not a document at all.
  input.AnswerMessageBox(IDNO_);
  EXPECT_EQ(LoadDocument(client, none.c_str()), 0);
  EXPECT_EQ(input.messageBoxes.back().text, LoadStr(IDS_OPEN_NOT_RECOGNIZED));
  EXPECT_EQ(client.GetFilePath(), v8);
}

TEST_F(DocumentTest, ReloadingTheOpenFileAsksFirst)
{
  const std::string path = File("open.vk1", Document(3, kThree));
  ASSERT_EQ(LoadDocument(client, path.c_str()), 1);
  Add(1, 1, 2, 2);
  client.SetModified(true);

  input.AnswerMessageBox(IDNO_);
  EXPECT_EQ(LoadDocument(client, (dir.Path() + "/./open.vk1").c_str()), 1);
  EXPECT_EQ(input.messageBoxes.back().text, LoadStr(IDS_OPEN_ALREADY_EDITED));
  EXPECT_EQ(client.ObjectCount(), 4);
  EXPECT_TRUE(client.IsModified());

  // Yes: read again, without offering to save the changes.
  input.AnswerMessageBox(IDYES_);
  EXPECT_EQ(LoadDocument(client, path.c_str()), 1);
  EXPECT_EQ(input.messageBoxes.size(), 2u);
  EXPECT_EQ(client.ObjectCount(), 3);
  EXPECT_FALSE(client.IsModified());
}

TEST_F(DocumentTest, TheOpenDialogStartsInTheFolderOfTheDocument)
{
  input.AnswerOpenFile(std::nullopt);
  EXPECT_EQ(LoadDocument(client, nullptr), 0);
  const std::string path = File("here.vk1", Document(3, kThree));
  ASSERT_EQ(LoadDocument(client, path.c_str()), 1);
  input.AnswerOpenFile(std::nullopt);
  EXPECT_EQ(LoadDocument(client, nullptr), 0);
  // Import Symbols looks there too.
  client.Message(CM_SYMBOL_IMPORT, 0, 0, nullptr);
  EXPECT_EQ(input.fileDialogStarts, (std::vector<std::string>{"", dir.Path() + "/", dir.Path() + "/"}));
  EXPECT_EQ(client.ObjectCount(), 3);
}

TEST_F(DocumentTest, UnreadableFileIsRefusedAndTheDocumentStays)
{
  Add(1, 1, 2, 2);
  client.SetFilePath("/some/where.vk1");
  client.SetModified(true);
  for (const std::string& path : {dir.File("missing.vk1"), dir.Path()}) {
    LoadReport report;
    EXPECT_EQ(LoadDocument(client, path.c_str(), &report), 0);
    EXPECT_EQ(report.outcome, LoadReport::Outcome::kUnreadable);
    EXPECT_NE(input.messageBoxes.back().text.find(path), std::string::npos);
  }
  EXPECT_EQ(client.ObjectCount(), 1);
  EXPECT_EQ(client.GetFilePath(), "/some/where.vk1");
  EXPECT_TRUE(client.IsModified());
}

TEST_F(DocumentTest, WindowsTextReadsAsUtf8AndReadOnlyFilesGetANotice)
{
  std::string head = DocumentHead();
  head.replace(head.find("\n1\n2\n"), 5, "\nCl\xE9s\n2\n");
  const std::string path = File("latin.vk1", head + "\n[VEKT TData]\n0\n");
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  ASSERT_EQ(LoadDocument(client, path.c_str()), 1);
  EXPECT_STREQ(client.GetLayerModule().GetName(0), "Cl\xC3\xA9s");
  ASSERT_EQ(input.messageBoxes.size(), 1u);
  EXPECT_EQ(input.messageBoxes[0].text, LoadStr(IDS_OPEN_READ_ONLY));
}

TEST_F(DocumentTest, LoadAndSaveAsTellTheMainWindow)
{
  std::vector<std::pair<uint32_t, std::string>> notices;
  client.SetDocumentNotice(
      [&](uint32_t message, const std::string& path) { notices.emplace_back(message, path); });
  TaClientPage mainWindow;
  client.SetParent(&mainWindow);
  const std::string path = File("n.vk1", Document(3, kThree));
  ASSERT_EQ(LoadDocument(client, path.c_str()), 1);
  input.AnswerSaveFile(dir.File("m.vk1"));
  ASSERT_EQ(SaveDocument(client, false, true), kDocumentDone);
  ASSERT_EQ(SaveDocument(client, false, false), kDocumentDone); // same name: nothing to tell

  using Notice = std::pair<uint32_t, std::string>;
  EXPECT_EQ(notices, (std::vector<Notice>{{MSG_DOC_LOADED, path}, {MSG_DOC_SAVED_AS, dir.File("m.vk1")}}));
  ASSERT_FALSE(input.posted.empty());
  EXPECT_EQ(input.posted.back().view, &mainWindow);
  EXPECT_EQ(input.posted.back().message, uint32_t{MSG_DOC_SAVED_AS});
  EXPECT_EQ(input.posted.back().param2, reinterpret_cast<uintptr_t>(static_cast<TVue*>(&client)));
}

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
  ASSERT_EQ(input.messageBoxes.size(), 2u);
  EXPECT_EQ(input.messageBoxes[0].text, LoadStr(IDS_SAVE_OPEN_ERROR_RETRY));
  EXPECT_EQ(input.messageBoxes[0].flags, MB_YESNO_ | MB_ICONSTOP_);
  EXPECT_FALSE(error.empty());
  EXPECT_NE(input.messageBoxes[1].text.find(error), std::string::npos);
  EXPECT_TRUE(client.IsModified());
  EXPECT_EQ(client.GetFilePath(), path);
  EXPECT_EQ(ReadWholeFile(path), before);

  // The retry to a good name saves there.
  input.AnswerSaveFile(blocked);
  input.AnswerMessageBox(IDYES_);
  input.AnswerSaveFile(dir.File("rescue.vk1"));
  EXPECT_EQ(SaveDocument(client, false, true), kDocumentDone);
  EXPECT_EQ(client.GetFilePath(), dir.File("rescue.vk1"));
  EXPECT_FALSE(client.IsModified());
}

TEST_F(DocumentTest, CloseKeepsChangesThatCouldNotBeSaved)
{
  Add(1, 1, 2, 2);
  client.SetModified(true);
  // Yes to saving, then the save dialog is cancelled.
  input.AnswerMessageBox(IDYES_);
  EXPECT_EQ(CloseDocument(client), kDocumentCancelled);
  EXPECT_EQ(input.messageBoxes[0].text, "Save changes in Untitled (3) ?");
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
}

TEST_F(DocumentTest, DamagedFileReportsWhatWasReadAndIsNotSavedOver)
{
  // The second record has a broken number; the third is never reached.
  std::string broken = ObjectRecord(30, 30, 40, 40);
  broken.replace(0, 9, "TData 3 x");
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
  input.AnswerMessageBox(IDNO_);
  input.AnswerSaveFile(dir.File("copy.vk1"));
  EXPECT_EQ(SaveDocument(client, false, false), kDocumentDone);
  EXPECT_EQ(ReadWholeFile(path), data);

  // Loaded again, Yes replaces the damaged file.
  ASSERT_EQ(LoadDocument(client, path.c_str()), 1);
  input.AnswerMessageBox(IDYES_);
  EXPECT_EQ(SaveDocument(client, false, false), kDocumentDone);
  EXPECT_NE(ReadWholeFile(path), data);

  // A record of a class the program cannot read ends the list the same way.
  const std::string other =
      File("reader.vk1", Document(2, ObjectRecord(1, 1, 2, 2) + "TSaverWindow 1 2\n" + kThree));
  ASSERT_EQ(LoadDocument(client, other.c_str(), &report), 1);
  EXPECT_TRUE(report.damaged);
  EXPECT_EQ(report.objectsRead, 1);
}

TEST_F(DocumentTest, OpeningALargeFileShowsTheWorkAndCanBeGivenUp)
{
  std::string records;
  for (int i = 0; i < 1000; ++i)
    records += ObjectRecord(i % 500, 10, i % 500 + 5, 15);
  const std::string path = File("large.vk1", Document(1000, records));

  // Given up at the second question: the view is left empty and untitled,
  // and nothing is said about it.
  input.CancelWorkAt(2);
  LoadReport report;
  EXPECT_EQ(LoadDocument(client, path.c_str(), &report), 0);
  EXPECT_EQ(report.outcome, LoadReport::Outcome::kCancelled);
  EXPECT_EQ(input.workShown, (std::vector<std::string>{"+Opening", "-Opening"}));
  EXPECT_EQ(input.workPolls, 2);
  EXPECT_EQ(client.ObjectCount(), 0);
  EXPECT_TRUE(client.GetFilePath().empty());
  EXPECT_FALSE(client.IsModified());
  EXPECT_TRUE(input.messageBoxes.empty());

  // Not given up: asked every 256 objects, and everything is read.
  input.CancelWorkAt(0);
  input.workPolls = 0;
  ASSERT_EQ(LoadDocument(client, path.c_str(), &report), 1);
  EXPECT_EQ(report.outcome, LoadReport::Outcome::kLoaded);
  EXPECT_EQ(input.workPolls, 1000 / 256);
  EXPECT_EQ(client.ObjectCount(), 1000);
  EXPECT_EQ(client.GetFilePath(), path);
}

TEST_F(DocumentTest, ALongListIsReadOnTwoThreadsAsOneThreadReadsIt)
{
  // Long enough to be shared: the second half is read on another thread
  // from a record's first line near the middle.
  RegisterImageFactories();
  const std::string record = ObjectRecord(10, 10, 20, 20);
  const int32_t half = static_cast<int32_t>(TailReader::kMinimumBytes / record.size() / 2 + 1000);
  std::string first, second;
  for (int32_t i = 0; i < half; ++i) {
    first += ObjectRecord(i, 10, i + 10, 20);
    second += ObjectRecord(half + i, 10, half + i + 10, 20);
  }
  const std::string head = DocumentHead() + "\n[VEKT TData]\n0\n";
  ASSERT_NE(TailReader::SplitPoint(head + first + second, head.size(), (head + first + second).size()),
            std::string::npos);
  {
    LoadReport report;
    ASSERT_EQ(LoadDocument(client, File("whole.vk1", head + first + second).c_str(), &report), 1);
    ASSERT_EQ(client.ObjectCount(), 2 * half);
    EXPECT_FALSE(report.damaged);
    for (int32_t i = 0; i < 2 * half; i += 997)
      ASSERT_EQ(client.ObjectAtIndex(i)->left, i) << "in the order of the file";
  }
  {
    // A record broken past the middle ends the list there, as it would on
    // one thread: what came before it is kept, and the file is damaged.
    std::string broken = second;
    const size_t at = broken.find(ObjectRecord(half + 700, 10, half + 710, 20));
    broken.replace(at, record.size(), "TData 3 0 8 0\n\tTPen 0 x\n");
    LoadReport report;
    ASSERT_EQ(LoadDocument(client, File("broken.vk1", head + first + broken).c_str(), &report), 1);
    EXPECT_EQ(client.ObjectCount(), half + 700);
    EXPECT_TRUE(report.damaged);
  }
  {
    // A picture whose stored name, right across the middle, holds lines
    // that look like records: one thread reads them as the name, so the
    // second thread's reading from one of them is not taken.
    std::string name = "x";
    while (name.size() < 60000)
      name += "\n" + ObjectRecord(1, 2, 3, 4);
    const std::string picture = "TDataImage 1 0 0 0 0 0\n\tTString 1 " + std::to_string(name.size()) + " " +
                                std::to_string(name.size()) + " " + name + "\n\t" + ObjectRecord(5, 5, 9, 9);
    const std::string text = head + first + picture + second;
    const size_t split = TailReader::SplitPoint(text, head.size(), text.size());
    const size_t pictureAt = (head + first).size();
    ASSERT_GT(split, pictureAt);
    ASSERT_LT(split, pictureAt + picture.size()) << "the middle falls in the picture's name";
    LoadReport report;
    client.SetModified(false); // the damaged document is not to be saved
    ASSERT_EQ(LoadDocument(client, File("picture.vk1", text).c_str(), &report), 1);
    ASSERT_EQ(client.ObjectCount(), 2 * half + 1);
    EXPECT_EQ(client.ObjectAtIndex(half)->left, 5);
    EXPECT_EQ(client.ObjectAtIndex(half + 1)->left, half);
    EXPECT_FALSE(report.damaged);
  }
}
