// Pictures in a document: made with the Image tool, shared between objects,
// deleted and brought back, taken from the system clipboard, stored and
// read back with their document.

#include "DocumentTestSupport.h"

#include "CommandIds.h"
#include "ImageFactories.h"
#include "ObjectFactories.h"
#include "StringTable.h"
#include "TClientModuleData.h"
#include "TImage.h"
#include "TImageBuffer.h"
#include "TImageCache.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

class ImageEditingTest : public DocumentTest
{
protected:
  void SetUp() override
  {
    DocumentTest::SetUp();
    RegisterObjectFactories();
    RegisterImageFactories();
    QGuiApplication::clipboard()->clear();
  }
  void TearDown() override
  {
    QGuiApplication::clipboard()->clear();
    TClientModuleData::ClearCopyBuffer();
    DocumentTest::TearDown();
  }
  // A 40 x 20 picture, red on the left, blue on the right.
  std::string Picture(const std::string& name, QRgb left = qRgb(255, 0, 0))
  {
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(qRgb(0, 0, 255));
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x)
        picture.setPixel(x, y, left);
    const std::string path = dir.File(name);
    EXPECT_TRUE(picture.save(QString::fromStdString(path)));
    return path;
  }
  TImage* ImageAt(int32_t index) const { return dynamic_cast<TImage*>(client.ObjectAtIndex(index)); }
  TImage* AddImage(const std::string& path, int32_t x, int32_t y)
  {
    auto* image = new TImage(x, y, 40, 20);
    client.AddObject(image, false);
    EXPECT_TRUE(image->Load(path));
    return image;
  }

  TempDir dir;
};

TEST_F(ImageEditingTest, TheToolPlacesThePictureChosenAndUndoTakesItAway)
{
  const std::string path = Picture("halves.png");
  input.Click(100, 100);
  input.Drag(80, 10, 2);
  input.LeftUp();
  input.AnswerOpenFile(path);
  EXPECT_EQ(client.Message(CM_NEW_IMAGE, 0, 0, nullptr), 1u);
  ASSERT_EQ(client.ObjectCount(), 1);
  TImage* image = ImageAt(0);
  ASSERT_NE(image, nullptr);
  ASSERT_TRUE(image->HasPicture());
  EXPECT_EQ(image->left, 100);
  EXPECT_EQ(image->top, 100);
  // Proportional from the start: the dragged width decides, the height follows.
  EXPECT_EQ(image->Height() * 2, image->Width());
  EXPECT_TRUE(input.messageBoxes.empty()) << "an empty clipboard offers nothing";
  EXPECT_EQ(input.fileDialogStarts.at(0), "") << "an untitled document has no folder yet";
  EXPECT_EQ(client.Message(CM_UNDO, 0, 0, nullptr), 1u);
  EXPECT_EQ(client.ObjectCount(), 0);

  // A click without a drag shows the picture at its own size.
  input.Click(300, 300);
  input.LeftUp();
  input.AnswerOpenFile(path);
  EXPECT_EQ(client.Message(CM_NEW_IMAGE, 0, 0, nullptr), 1u);
  ASSERT_EQ(client.ObjectCount(), 1);
  EXPECT_EQ(ImageAt(0)->Width(), 40);
  EXPECT_EQ(ImageAt(0)->Height(), 20);

  // Once the document has a folder, the dialog starts there.
  client.SetFilePath(dir.File("plan.vk1"));
  // Cancelling the file dialog leaves nothing behind.
  input.Click(500, 500);
  input.LeftUp();
  input.AnswerOpenFile(std::nullopt);
  EXPECT_EQ(client.Message(CM_NEW_IMAGE, 0, 0, nullptr), 0u);
  EXPECT_EQ(client.ObjectCount(), 1);
  EXPECT_EQ(input.fileDialogStarts.back(), dir.Path() + "/");
}

TEST_F(ImageEditingTest, DeletingOneOfTwoKeepsTheOthersPictureAndUndoBringsItBack)
{
  const size_t cached = TImageCache::Instance().Size();
  const std::string path = Picture("shared.png");
  TImage* first = AddImage(path, 0, 0);
  TImage* second = AddImage(path, 200, 200);
  ASSERT_EQ(first->GetBuffer(), second->GetBuffer());
  EXPECT_EQ(TImageCache::Instance().Size(), cached + 1);

  input.Char(VK_SPACE_);
  input.Click(10, 5);
  ASSERT_EQ(client.Message(CM_DELETE, 0, 0, nullptr), 1u);
  ASSERT_EQ(client.ObjectCount(), 1);
  ASSERT_TRUE(second->HasPicture());
  EXPECT_EQ(second->GetBuffer()->RefCount(), 1) << "the deleted image let go of the pixels";

  ASSERT_EQ(client.Message(CM_UNDO, 0, 0, nullptr), 1u);
  ASSERT_EQ(client.ObjectCount(), 2);
  TImage* back = ImageAt(0) == second ? ImageAt(1) : ImageAt(0);
  ASSERT_TRUE(back->HasPicture());
  EXPECT_EQ(back->GetBuffer(), second->GetBuffer());
  EXPECT_EQ(TImageCache::Instance().Size(), cached + 1);
}

TEST_F(ImageEditingTest, APictureOnTheClipboardIsOfferedSavedAndShown)
{
  TImage* image = AddImage(Picture("before.png"), 0, 0);
  image->SetSource(10, 5, 20, 10);
  QImage copied(30, 10, QImage::Format_RGB32);
  copied.fill(qRgb(0, 200, 0));
  QGuiApplication::clipboard()->setImage(copied);

  const std::string saved = dir.File("from clipboard.png");
  input.AnswerMessageBox(IDYES_);
  input.AnswerSaveFile(saved);
  input.AnswerMessageBox(IDYES_);
  EXPECT_EQ(image->ContextCommand(&client, CM_OBJ_CHANGE_FILE), CM_OBJ_CHANGE_FILE);
  ASSERT_EQ(input.messageBoxes.size(), 2u);
  EXPECT_EQ(input.messageBoxes[0].text, LoadStr(IDS_CLIPBOARD_PNG_AVAILABLE));
  EXPECT_EQ(input.messageBoxes[0].title, "Clipboard Image");
  EXPECT_EQ(input.messageBoxes[1].text, "Do you want to empty the Clipboard ?");
  EXPECT_EQ(image->GetFileName(), saved);
  ASSERT_TRUE(image->HasPicture());
  EXPECT_EQ(image->GetImageWidth(), 30);
  EXPECT_EQ(image->GetImageHeight(), 10);
  EXPECT_EQ(image->GetSource().left, 0) << "the new picture is shown whole";
  EXPECT_EQ(image->GetSource().right, 30);
  EXPECT_EQ(image->GetSource().bottom, 10);
  const QMimeData* left = QGuiApplication::clipboard()->mimeData();
  EXPECT_TRUE(!left || !left->hasImage()) << "emptied on Yes";

  // Text alone is no picture: straight to the file dialog.
  QGuiApplication::clipboard()->setText("words");
  input.messageBoxes.clear();
  input.AnswerOpenFile(std::nullopt);
  EXPECT_EQ(image->ContextCommand(&client, CM_OBJ_CHANGE_FILE), 0);
  EXPECT_TRUE(input.messageBoxes.empty());
  EXPECT_EQ(image->GetFileName(), saved) << "cancelled: the picture stays";
}

TEST_F(ImageEditingTest, AMetafileIsOfferedBeforeABitmapAndNoStillAsksAboutEmptying)
{
  TImage* image = AddImage(Picture("before.png"), 0, 0);
  auto* data = new QMimeData;
  QImage copied(8, 8, QImage::Format_RGB32);
  copied.fill(Qt::white);
  data->setImageData(copied);
  data->setData("image/x-wmf", QByteArray("\x01\x00\x09\x00\x00\x03", 6));
  QGuiApplication::clipboard()->setMimeData(data);

  input.AnswerMessageBox(IDNO_);
  input.AnswerMessageBox(IDNO_);
  input.AnswerOpenFile(std::nullopt);
  EXPECT_EQ(image->ContextCommand(&client, CM_OBJ_CHANGE_FILE), 0);
  ASSERT_EQ(input.messageBoxes.size(), 2u);
  EXPECT_EQ(input.messageBoxes[0].text, LoadStr(IDS_CLIPBOARD_WMF_AVAILABLE));
  EXPECT_EQ(input.messageBoxes[1].text, LoadStr(IDS_CLIPBOARD_EMPTY_QUESTION));
  EXPECT_EQ(input.fileDialogStarts.size(), 1u) << "No goes on to the open dialog";
  EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasImage()) << "kept on No";
}

TEST_F(ImageEditingTest, APictureOnARemovableDriveIsCopiedFirstWhenTheUserSaysSo)
{
  TImage* image = AddImage(Picture("before.png"), 0, 0);
  const std::string stick = Picture("on the stick.png", qRgb(0, 255, 0));
  input.removableMedia = true;

  // Yes: copied where the user says, and the copy is shown.
  const std::string copy = dir.File("kept on disk.png");
  input.AnswerOpenFile(stick);
  input.AnswerMessageBox(IDYES_);
  input.AnswerSaveFile(copy);
  EXPECT_EQ(image->ContextCommand(&client, CM_OBJ_CHANGE_FILE), CM_OBJ_CHANGE_FILE);
  ASSERT_EQ(input.messageBoxes.size(), 1u);
  EXPECT_EQ(input.messageBoxes[0].title, "File Source");
  EXPECT_EQ(image->GetFileName(), copy);
  EXPECT_EQ(ReadWholeFile(copy), ReadWholeFile(stick));

  // No keeps the drive's path; Cancel changes nothing.
  input.AnswerOpenFile(stick);
  input.AnswerMessageBox(IDNO_);
  EXPECT_EQ(image->ContextCommand(&client, CM_OBJ_CHANGE_FILE), CM_OBJ_CHANGE_FILE);
  EXPECT_EQ(image->GetFileName(), stick);
  input.AnswerOpenFile(copy);
  input.AnswerMessageBox(IDCANCEL_);
  EXPECT_EQ(image->ContextCommand(&client, CM_OBJ_CHANGE_FILE), 0);
  EXPECT_EQ(image->GetFileName(), stick);
}

TEST_F(ImageEditingTest, APictureThatCannotBeReadIsRefusedWithTheReason)
{
  TImage* image = AddImage(Picture("good.png"), 0, 0);
  const std::string good = ReadWholeFile(dir.File("good.png"));
  const std::string cut = dir.File("cut.png");
  WriteWholeFile(cut, good.substr(0, good.size() / 2));
  input.AnswerOpenFile(cut);
  EXPECT_EQ(image->ContextCommand(&client, CM_OBJ_CHANGE_FILE), 0);
  EXPECT_FALSE(image->HasPicture());
  EXPECT_EQ(image->GetFileName(), cut) << "the path is kept, as for a missing file";
  ASSERT_EQ(input.messageBoxes.size(), 1u);
  EXPECT_NE(input.messageBoxes[0].text.find(cut), std::string::npos);
  EXPECT_FALSE(image->LastErrorText().empty());
  EXPECT_NE(input.messageBoxes[0].text.find(image->LastErrorText()), std::string::npos);
  EXPECT_NE(image->InfoText().find("Last error: " + image->LastErrorText()), std::string::npos);
}

TEST_F(ImageEditingTest, ADocumentReadBackShowsItsPicturesAgain)
{
  const std::string path = Picture("kept.png");
  TImage* image = AddImage(path, 10, 10);
  image->SetSource(5, 0, 10, 20);
  const std::string document = dir.File("with picture.vk1");
  client.SetFilePath(document);
  ASSERT_EQ(SaveDocument(client, false, false), 1);

  TaClientPage other;
  ASSERT_EQ(LoadDocument(other, document.c_str()), 1);
  ASSERT_EQ(other.ObjectCount(), 1);
  auto* read = dynamic_cast<TImage*>(other.ObjectAtIndex(0));
  ASSERT_NE(read, nullptr);
  ASSERT_TRUE(read->HasPicture()) << read->LastErrorText();
  EXPECT_EQ(read->GetBuffer(), image->GetBuffer()) << "the file is read once";
  EXPECT_EQ(read->GetSource().left, 5);
  EXPECT_EQ(read->GetSource().right, 15);
}

} // namespace
