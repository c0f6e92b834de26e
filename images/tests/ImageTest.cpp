#include "CommandIds.h"
#include "ImageFactories.h"
#include "Messages.h"
#include "RenderTestSupport.h"
#include "StringTable.h"
#include "TImage.h"
#include "TImageBuffer.h"
#include "TImageCache.h"
#include "TInStream.h"
#include "TOutStream.h"
#include "TestSupport.h"
#include "ViewTestSupport.h"

#include <QImage>

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

// A picture file written by Qt's own encoder: a red left half and a blue
// right half, the top-left pixel white.
std::string MakePicture(const TempDir& dir, const std::string& name, int width = 40, int height = 20)
{
  QImage picture(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      picture.setPixel(x, y, x < width / 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
  picture.setPixel(0, 0, qRgb(255, 255, 255));
  const std::string path = dir.File(name);
  EXPECT_TRUE(picture.save(QString::fromStdString(path)));
  return path;
}

// A rectangle as "left top right bottom", for readable comparisons.
std::string Box(const TRect& r)
{
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
         std::to_string(r.bottom);
}

std::string Stored(const TImage& image)
{
  TOutStream os;
  image.Write(os);
  return os.Data();
}

// An image held by a static made before the first picture was read, as the
// program's copy buffer is: it lets go of its picture only when the program
// exits.
std::unique_ptr<TImage>& LateImage()
{
  static std::unique_ptr<TImage> image;
  return image;
}
const bool kLateImageHolderMade = (LateImage(), true);

class ImageTest : public ViewTest
{
protected:
  void SetUp() override
  {
    ViewTest::SetUp();
    RegisterImageFactories();
  }
  void TearDown() override { EXPECT_EQ(TImageCache::Instance().Size(), cacheBefore); }

  TempDir dir;
  size_t cacheBefore = TImageCache::Instance().Size();
};

TEST_F(ImageTest, RecordsKeepThePathAndSourceAndOlderOrNewerVersionsRead)
{
  TImage image(10, 20, 100, 50);
  image.SetFileName("/pictures/missing photo.png");
  image.SetFlags(TImage::kTransparent | 1);
  image.SetSource(3, 4, 5, 6); // no picture: nothing to clamp against
  const std::string record = Stored(image);
  EXPECT_EQ(record.rfind("TDataImage 1 9 3 4 5 6\n\t", 0), 0u) << record;

  TInStream is(record);
  TImage back;
  back.Read(is);
  EXPECT_FALSE(is.fail());
  EXPECT_EQ(back.GetFileName(), "/pictures/missing photo.png");
  EXPECT_EQ(back.GetFlags(), image.GetFlags());
  EXPECT_EQ(Box(back.GetSource()), "3 4 8 10");
  EXPECT_EQ(Box(back), "10 20 110 70");
  EXPECT_EQ(Stored(back), record);

  // Version 0 has no source; a newer version's extra fields on the first
  // line are passed over.
  std::string older = record;
  older.replace(0, std::string("TDataImage 1 9 3 4 5 6").size(), "TDataImage 0 9");
  TInStream is0(older);
  TImage zero;
  zero.Read(is0);
  EXPECT_EQ(Box(zero.GetSource()), "0 0 0 0");
  EXPECT_EQ(zero.GetFileName(), image.GetFileName());
  std::string newer = record;
  newer.replace(0, std::string("TDataImage 1 9 3 4 5 6").size(), "TDataImage 2 9 3 4 5 6 77 what");
  TInStream is2(newer);
  TImage two;
  two.Read(is2);
  EXPECT_FALSE(is2.fail());
  EXPECT_EQ(Box(two.GetSource()), "3 4 8 10");
  EXPECT_EQ(two.GetFileName(), image.GetFileName());
}

TEST_F(ImageTest, TwoImagesOfOneFileShareOneBufferUntilTheLastLetsGo)
{
  const std::string path = MakePicture(dir, "halves.png");
  auto first = std::make_unique<TImage>(0, 0, 80, 10);
  ASSERT_TRUE(first->Load(path)) << first->LastErrorText();
  EXPECT_EQ(first->GetImageWidth(), 40);
  EXPECT_EQ(first->GetImageHeight(), 20);
  // Proportional at creation: the frame's height follows the picture.
  EXPECT_EQ(first->Height(), 40);
  EXPECT_EQ(Box(first->GetSource()), "0 0 40 20");

  auto second = std::make_unique<TImage>(0, 0, 40, 20);
  ASSERT_TRUE(second->Load(path));
  EXPECT_EQ(second->GetBuffer(), first->GetBuffer());
  EXPECT_EQ(first->GetBuffer()->RefCount(), 2);
  EXPECT_EQ(TImageCache::Instance().Size(), cacheBefore + 1);

  // A copy shares it too; a copy kept only for the source rectangle does not.
  std::unique_ptr<TData> copy(first->Clone(nullptr, 0));
  std::unique_ptr<TData> sourceOnly(first->Clone(nullptr, 1));
  EXPECT_EQ(static_cast<TImage*>(copy.get())->GetBuffer(), first->GetBuffer());
  EXPECT_FALSE(static_cast<TImage*>(sourceOnly.get())->HasPicture());
  EXPECT_EQ(first->GetBuffer()->RefCount(), 3);
  copy.reset();

  // Taken out of the document, one lets go; the other keeps the picture.
  first->Message(MSG_LEFT_DOCUMENT, 0, 0, nullptr);
  EXPECT_FALSE(first->HasPicture());
  ASSERT_TRUE(second->HasPicture());
  EXPECT_EQ(second->GetBuffer()->RefCount(), 1);
  EXPECT_EQ(first->GetFileName(), path);
  first->Message(MSG_BACK_IN_DOCUMENT, 0, 0, nullptr);
  EXPECT_EQ(first->GetBuffer(), second->GetBuffer());
  second.reset();
  first.reset();
  EXPECT_EQ(TImageCache::Instance().Size(), cacheBefore);
}

TEST_F(ImageTest, AMissingFileKeepsItsPathSaysWhyAndIsFoundNextToTheDocument)
{
  TImage image(0, 0, 60, 30);
  const std::string gone = dir.File("elsewhere/photo.png");
  EXPECT_FALSE(image.Load(gone));
  EXPECT_FALSE(image.HasPicture());
  EXPECT_EQ(image.GetFileName(), gone);
  EXPECT_EQ(image.LastErrorText(), "Original file not found");
  EXPECT_NE(Stored(image).find(gone), std::string::npos);
  // The placeholder: the frame and three question marks, no picture.
  const QImage drawn = Render(100, 60, [&](TPage& page) { image.Paint(&page, TData::kPaintOutput); });
  int dark = 0;
  for (int y = 2; y < 28; ++y)
    for (int x = 2; x < 58; ++x)
      dark += qGray(drawn.pixel(x, y)) < 128;
  EXPECT_GT(dark, 10);

  // Moved with its document, the picture lies beside it.
  MakePicture(dir, "photo.png");
  struct PathOwner : TestClient
  {
    std::string document;
    uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override
    {
      if (message == MSG_FILE_PATH_QUERY && p && a > 0) {
        std::snprintf(static_cast<char*>(p), size_t(a), "%s", document.c_str());
        return 1;
      }
      return TestClient::Message(message, a, b, p);
    }
  } view;
  view.document = dir.File("drawing.vk1");
  image.SetOwner(&view);
  EXPECT_TRUE(image.Load(gone));
  EXPECT_EQ(image.GetFileName(), gone) << "the stored path stays as the user gave it";
  EXPECT_EQ(image.GetImageWidth(), 40);
  // A relative path is taken from the document's folder, and found there
  // is no error.
  TImage relative(0, 0, 60, 30);
  relative.SetOwner(&view);
  EXPECT_TRUE(relative.Load("photo.png"));
  EXPECT_EQ(relative.GetBuffer(), image.GetBuffer());
  EXPECT_EQ(relative.LastErrorText(), "");
  EXPECT_EQ(relative.GetFileName(), "photo.png");
  relative.SetOwner(nullptr);
  image.SetOwner(nullptr);
}

TEST_F(ImageTest, OnlyRegularFilesAreRead)
{
  // A pipe would block the reader until someone writes to it.
  const std::string pipe = dir.File("waiting.png");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  TImage image(0, 0, 10, 10);
  EXPECT_FALSE(image.Load(pipe));
  EXPECT_FALSE(image.Load("/dev/zero.png"));
  EXPECT_FALSE(image.Load(dir.Path()));
  EXPECT_EQ(image.LastErrorText(), "Original file not found");
}

TEST_F(ImageTest, TheSourceMovesAlongOneAxisAndStaysInsideThePicture)
{
  TImage image(0, 0, 40, 20);
  ASSERT_TRUE(image.Load(MakePicture(dir, "p.png")));
  image.SetSizingMode(TImage::kStretched);
  image.SetSource(0, 0, 10, 5);
  EXPECT_EQ(Box(image.GetSource()), "0 0 10 5");
  // Diagonal: the larger component wins; a tie goes to the vertical one.
  EXPECT_TRUE(image.MoveSource(CM_OBJ_POSITION_IN_IMAGE, 7, 3));
  EXPECT_EQ(Box(image.GetSource()), "7 0 17 5");
  EXPECT_TRUE(image.MoveSource(CM_OBJ_POSITION_IN_IMAGE, 4, 4));
  EXPECT_EQ(Box(image.GetSource()), "7 4 17 9");
  EXPECT_TRUE(image.MoveSource(CM_OBJ_POSITION_IN_IMAGE, 1000, 0));
  EXPECT_EQ(Box(image.GetSource()), "30 4 40 9");
  EXPECT_FALSE(image.MoveSource(CM_OBJ_POSITION_IN_IMAGE, 5, 0)) << "already at the right edge";
  EXPECT_TRUE(image.MoveSource(CM_OBJ_SIZE_IN_IMAGE, 0, -100));
  EXPECT_EQ(Box(image.GetSource()), "30 4 40 5");
  // A source of width 0 reaches the right edge, height 0 the bottom.
  image.SetSource(10, 5, 0, 0);
  EXPECT_EQ(Box(image.GetSource()), "10 5 40 20");
}

TEST_F(ImageTest, SizingModesAndTransparencyDrawWhatTheyPromise)
{
  TImage image(10, 10, 80, 40);
  ASSERT_TRUE(image.Load(MakePicture(dir, "p.png")));
  const auto draw = [&image] {
    return Render(120, 80, [&](TPage& page) {
      page.SelectBrush(Solid(palette::kGreen));
      page.FillRect(0, 0, 119, 79);
      page.RestoreDefaults();
      image.Paint(&page, TData::kPaintOutput);
    });
  };
  // Proportional: the 2:1 picture fills the 80 x 40 frame.
  QImage drawn = draw();
  EXPECT_EQ(drawn.pixel(20, 30), qRgb(255, 0, 0));
  EXPECT_EQ(drawn.pixel(80, 30), qRgb(0, 0, 255));
  EXPECT_EQ(drawn.pixel(100, 30), qRgb(0, 160, 0)) << "nothing outside the frame";

  // Natural size: one pixel to one unit from the top-left corner.
  image.SetSizingMode(TImage::kNatural);
  drawn = draw();
  EXPECT_EQ(drawn.pixel(25, 20), qRgb(255, 0, 0));
  EXPECT_EQ(drawn.pixel(45, 20), qRgb(0, 0, 255));
  EXPECT_EQ(drawn.pixel(55, 20), qRgb(0, 160, 0));
  EXPECT_EQ(drawn.pixel(10, 10), qRgb(255, 255, 255));

  // Transparent: the white pixel lets the green below show.
  image.SetFlags(static_cast<uint16_t>(image.GetFlags() | TImage::kTransparent));
  drawn = draw();
  EXPECT_EQ(drawn.pixel(10, 10), qRgb(0, 160, 0));
  EXPECT_EQ(drawn.pixel(25, 20), qRgb(255, 0, 0));
  EXPECT_EQ(image.Message(MSG_MASK_B, 0, 0, nullptr), 0x140010u | 0x1800u);

  // Mode 3 draws no picture at all.
  image.SetSizingMode(TImage::kNoPicture);
  drawn = draw();
  EXPECT_EQ(drawn.pixel(25, 20), qRgb(0, 160, 0));
}

TEST_F(ImageTest, FittingKeepsTheAspectAndNeverEnlarges)
{
  TImage image(0, 0, 10, 10);
  ASSERT_TRUE(image.Load(MakePicture(dir, "p.png", 400, 100)));
  image.SetRect(TRect(0, 0, 200, 200), kRectFit);
  EXPECT_EQ(Box(image), "0 75 200 125");
  image.SetRect(TRect(0, 0, 1000, 1000), kRectFit);
  EXPECT_EQ(Box(image), "300 450 700 550");
}

TEST_F(ImageTest, TheInformationBoxTellsFileSizeColoursAndMemory)
{
  TImage image(0, 0, 40, 20);
  ASSERT_TRUE(image.Load(MakePicture(dir, "p.bmp")));
  const std::string text = image.InfoText();
  EXPECT_NE(text.find("File: " + dir.File("p.bmp")), std::string::npos) << text;
  EXPECT_NE(text.find("Width: 40\nHeight: 20\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Memory: " + std::to_string(image.GetBuffer()->MemorySize()) + " bytes"),
            std::string::npos);
  TImage none;
  EXPECT_NE(none.InfoText().find("File: None"), std::string::npos);
  EXPECT_EQ(none.Message(MSG_TYPE_NAME, 0, 0, nullptr), static_cast<uint32_t>(IDS_NAME_IMAGE));
}

TEST_F(ImageTest, DoubleClickShowsTheWholePictureInTheViewer)
{
  TImage image(0, 0, 40, 20);
  image.Message(WM_LBUTTONDBLCLK_, 0, 0, &client);
  EXPECT_TRUE(input.viewers.empty()) << "no picture, nothing to show";
  ASSERT_TRUE(image.Load(MakePicture(dir, "p.png")));
  image.SetSource(5, 5, 10, 10);
  EXPECT_EQ(image.Message(WM_LBUTTONDBLCLK_, 0, 0, &client), 1u);
  ASSERT_EQ(input.viewers.size(), 1u);
  EXPECT_EQ(image.GetBuffer()->RefCount(), 1) << "the viewer's copy is gone with the viewer";
}

TEST(ImageLifetime, AnImageHeldUntilTheProgramEndsLetsGoOfItsPictureSafely)
{
  ASSERT_TRUE(kLateImageHolderMade);
  TempDir dir;
  LateImage() = std::make_unique<TImage>(0, 0, 10, 10);
  ASSERT_TRUE(LateImage()->Load(MakePicture(dir, "late.png")));
  // Checked when the program ends, under the sanitizers: the cache must
  // still be there when the image lets go.
}

} // namespace
