#include "Defaults.h"
#include "ObjectStream.h"
#include "TRect.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace {

std::string Record(const TStreamable& obj)
{
  TOutStream os;
  WriteFrom(os, obj);
  return os.Data();
}

// The defaults are process-wide: every test leaves them as it found them.
class DefaultsFile : public ::testing::Test
{
protected:
  void SetUp() override
  {
    m_pen = DefaultPen();
    m_brush = DefaultBrush();
    m_font = DefaultFont();
    m_textColor = DefaultTextColor();
  }
  void TearDown() override { Restore(); }
  void Restore()
  {
    DefaultPen() = m_pen;
    DefaultBrush() = m_brush;
    DefaultFont() = m_font;
    DefaultTextColor() = m_textColor;
  }

  TempDir m_dir;

private:
  TPen m_pen;
  TBrush m_brush;
  TFont m_font;
  uint32_t m_textColor = 0;
};

} // namespace

TEST(Defaults, BuiltInValues)
{
  EXPECT_EQ(Record(DefaultPen()), "TPen 0 6 1 1 0\n");
  EXPECT_EQ(Record(DefaultBrush()), "TBrush 0 1 0 0\n");
  EXPECT_EQ(Record(DefaultFont()), Record(TFont()));
  EXPECT_EQ(DefaultTextColor(), 0u);
}

TEST_F(DefaultsFile, RoundTripWithPage)
{
  DefaultPen().SetColor(255);
  DefaultBrush().SetStyle(TBrush::kSolid);
  DefaultFont().SetRecord(TFont(30, 0).Record());
  DefaultTextColor() = 0x123456;
  // The page record is whatever the page writes; a rectangle stands in.
  const TRect page(0, 0, 800, 1000);
  const std::string path = m_dir.File("vekta.prf");
  ASSERT_TRUE(WriteDefaultsFile(path, &page));
  EXPECT_EQ(ReadWholeFile(path),
            "\n[StandardDataPen]\nTPen 0 6 1 1 255\n\n"
            "\n[StandardDataFont]\nTFont 0 -30 0 0 0 0 0 0 0 0 0 0 0 0 Arial\n\n1193046\n"
            "\n[StandardDataPage]\nTRect 0 0 0 800 1000\n\n"
            "\n[StandardDataBrush]\nTBrush 0 0 0 0\n\n");

  Restore();
  TRect pageBack;
  ASSERT_TRUE(ReadDefaultsFile(path, &pageBack));
  EXPECT_EQ(DefaultPen().GetColor(), 255u);
  EXPECT_EQ(DefaultBrush().GetStyle(), TBrush::kSolid);
  EXPECT_EQ(DefaultFont().Record().height, -30);
  EXPECT_EQ(DefaultTextColor(), 0x123456u);
  EXPECT_EQ(pageBack.bottom, 1000);

  EXPECT_FALSE(WriteDefaultsFile(m_dir.File("missing/vekta.prf"), &page)) << "a folder that does not exist";
}

TEST_F(DefaultsFile, MissingOrDamagedSectionsKeepDefaults)
{
  const std::string path = m_dir.File("vekta.prf");
  EXPECT_FALSE(ReadDefaultsFile(path, nullptr)) << "no file";
  EXPECT_EQ(DefaultPen().GetStyle(), TPen::kInsideFrame);

  // The sections in another order, the pen missing, the font damaged after
  // its height: what came before the damage is kept, and the sections after
  // it are still found.
  WriteWholeFile(path, "\n[StandardDataBrush]\nTBrush 0 2 255 4\n\n"
                       "\n[StandardDataFont]\nTFont 0 -22 0 0 zz\n\n7\n"
                       "\n[StandardDataPage]\nTRect 0 1 2 3 4\n");
  TRect page(9, 9, 9, 9);
  EXPECT_FALSE(ReadDefaultsFile(path, &page)) << "the damaged section is reported";
  EXPECT_EQ(Record(DefaultPen()), "TPen 0 6 1 1 0\n");
  EXPECT_EQ(DefaultFont().Record().height, -22);
  EXPECT_EQ(DefaultFont().Record().FaceName(), "Arial");
  EXPECT_EQ(DefaultTextColor(), 0u);
  EXPECT_EQ(page.right, 3);
  EXPECT_EQ(DefaultBrush().GetHatch(), TBrush::kCross);
}
