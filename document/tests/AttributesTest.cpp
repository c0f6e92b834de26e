#include "Colors.h"
#include "ObjectStream.h"
#include "TBordure.h"
#include "TBrush.h"
#include "TFont.h"
#include "TPen.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

template <class T> std::string Record(const T& obj)
{
  TOutStream os;
  WriteFrom(os, obj);
  return os.Data();
}

bool HasLiberationFonts()
{
  return QFontDatabase::families().contains(QStringLiteral("Liberation Sans"));
}

} // namespace

TEST(Colors, ConvertBothWays)
{
  const uint32_t orange = MakeColor(255, 128, 0);
  EXPECT_EQ(orange, 0x000080FFu) << "red in the low byte";
  EXPECT_EQ(ToQColor(orange), QColor(255, 128, 0));
  EXPECT_EQ(FromQColor(QColor(255, 128, 0)), orange);
  EXPECT_EQ(ToQColor(kNoColor).alpha(), 0);
  EXPECT_EQ(FromQColor(Qt::transparent), kNoColor);
  EXPECT_EQ(FromQColor(QColor()), kNoColor);
}

TEST(TPen, SetterRulesAndRecord)
{
  TPen pen(MakeColor(0, 0, 255), 5, TPen::kDash);
  EXPECT_EQ(Record(pen), "TPen 0 1 5 5 16711680\n");
  pen.SetStyle(9);
  EXPECT_EQ(pen.GetStyle(), TPen::kSolid);
  pen.SetWidth(-3);
  EXPECT_EQ(Record(pen), "TPen 0 0 0 0 16711680\n") << "negative widths are stored as 0";
  EXPECT_EQ(pen.GetWidth(), 1) << "width 0 draws one pixel";

  TPen back;
  TInStream is("TPen 0 4 7 7 255\n");
  ReadInto(is, back);
  EXPECT_EQ(back.GetStyle(), TPen::kDashDotDot);
  EXPECT_EQ(back.GetWidth(), 7);
  EXPECT_EQ(back.GetColor(), 255u);

  TInStream damaged("TPen 0 12 -4 -4 255\n");
  ReadInto(damaged, back);
  EXPECT_EQ(Record(back), "TPen 0 0 0 0 255\n") << "stored values obey the setter rules";

  TInStream newer("TPen 3 2 1 1 0 extra\n\tTBrush 0 0 255 0\n");
  ReadInto(newer, back);
  TBrush nested;
  ReadInto(newer, nested);
  EXPECT_EQ(back.GetStyle(), TPen::kDot);
  EXPECT_EQ(nested.GetColor(), 255u) << "the line after a newer record is still read";
}

TEST(TPen, HandleMatchesFieldsAndIsCachedUntilAChange)
{
  TPen pen(MakeColor(255, 0, 0), 0, TPen::kSolid);
  QPen held = pen.GetHandle();
  EXPECT_TRUE(held.isCosmetic());
  EXPECT_EQ(held.capStyle(), Qt::FlatCap);
  EXPECT_EQ(held.color(), QColor(255, 0, 0));
  pen.GetHandle();
  pen.SetColor(MakeColor(255, 0, 0)); // unchanged value
  pen.GetHandle();
  EXPECT_FALSE(held.isDetached()) << "still shares data with the cached QPen";

  pen.SetWidth(4);
  pen.SetStyle(TPen::kDashDot);
  const QPen& wide = pen.GetHandle();
  EXPECT_TRUE(held.isDetached()) << "a change made a new QPen";
  EXPECT_FALSE(wide.isCosmetic());
  EXPECT_EQ(wide.width(), 4);
  EXPECT_EQ(wide.style(), Qt::DashDotLine);
  EXPECT_EQ(wide.capStyle(), Qt::RoundCap);
  EXPECT_EQ(wide.joinStyle(), Qt::RoundJoin);

  pen.SetStyle(TPen::kNull);
  EXPECT_EQ(pen.GetHandle().style(), Qt::NoPen);
  pen.SetStyle(TPen::kInsideFrame);
  EXPECT_EQ(pen.GetHandle().style(), Qt::SolidLine);

  TPen copy;
  copy.Assign(pen);
  EXPECT_EQ(copy.GetHandle(), pen.GetHandle());
}

TEST(TBrush, ColourStyleAndHatch)
{
  TBrush brush;
  EXPECT_EQ(Record(brush), "TBrush 0 1 0 0\n");
  brush.SetColor(MakeColor(1, 2, 3));
  EXPECT_EQ(brush.GetColor(), kNoColor) << "hollow whatever its colour";
  EXPECT_EQ(brush.GetHandle().style(), Qt::NoBrush);

  QBrush held = brush.GetHandle();
  brush.SetStyle(TBrush::kHollow);
  brush.GetHandle();
  EXPECT_FALSE(held.isDetached()) << "unchanged values keep the cached QBrush";

  brush.SetStyle(TBrush::kHatched);
  const Qt::BrushStyle expected[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
                                     Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
  for (int32_t hatch = 0; hatch < 6; ++hatch) {
    brush.SetHatch(hatch);
    EXPECT_EQ(brush.GetHandle().style(), expected[hatch]) << "hatch " << hatch;
    TBrush back;
    back.FromHandle(brush.GetHandle());
    EXPECT_EQ(back.GetHatch(), hatch);
    EXPECT_EQ(back.GetStyle(), TBrush::kHatched);
  }
  EXPECT_TRUE(held.isDetached());
  EXPECT_EQ(brush.GetHandle().color(), QColor(1, 2, 3));
  brush.SetStyle(3);
  EXPECT_EQ(brush.GetHandle().style(), Qt::SolidPattern) << "other styles fill solid";

  brush.SetHatch(-1);
  EXPECT_EQ(Record(brush), "TBrush 0 3 197121 4294967295\n") << "the hatch is written unsigned";
  TBrush back;
  TInStream is(Record(brush));
  ReadInto(is, back);
  EXPECT_EQ(back.GetHatch(), -1);
  EXPECT_EQ(back.GetColor(), MakeColor(1, 2, 3));
}

TEST(TFont, DefaultsAndRecordRoundTrip)
{
  EXPECT_EQ(Record(TFont()), "TFont 0 -14 0 0 0 0 0 0 0 0 0 0 0 0 Arial\n");
  EXPECT_EQ(TFont(20, 8).Record().height, -20);

  TLogFont lf;
  lf.height = 30;
  lf.escapement = 450;
  lf.weight = 700;
  lf.italic = 1;
  lf.charSet = 255;
  lf.pitchAndFamily = 0x22;
  lf.SetFaceName("Times New Roman");
  const TFont font(lf);
  EXPECT_DOUBLE_EQ(font.EscapementDegrees(), 45.0);
  TInStream is(Record(font) + "TPen 0 0 1 1 0\n");
  TFont back;
  ReadInto(is, back);
  EXPECT_EQ(Record(back), Record(font));
  EXPECT_EQ(back.Record().FaceName(), "Times New Roman") << "blanks in the name survive";
  EXPECT_EQ(PeekClassId(is), kTPen);
}

TEST(TFont, FaceNameLineRules)
{
  TFont font;
  TInStream crlf("TFont 0 -10 0 0 0 400 0 0 0 0 0 0 0 0 Courier New\r\n");
  ReadInto(crlf, font);
  EXPECT_EQ(font.Record().FaceName(), "Courier New") << "a carriage return ends the name";

  // An empty name leaves the line feed right after the last number; the
  // next record must not be taken for the name.
  TInStream empty("TFont 0 -10 0 0 0 400 0 0 0 0 0 0 0 0\nTPen 0 0 1 1 0\n");
  ReadInto(empty, font);
  EXPECT_EQ(font.Record().FaceName(), "");
  EXPECT_EQ(PeekClassId(empty), kTPen);

  // The record has no version check: a newer one's extra words end up in
  // the name, but the following line is still the next record.
  TInStream newer("TFont 7 -10 0 0 0 400 0 0 0 0 0 0 0 0 Arial 99 more\nTPen 0 0 1 1 0\n");
  ReadInto(newer, font);
  EXPECT_EQ(font.Record().FaceName(), "Arial 99 more");
  EXPECT_EQ(PeekClassId(newer), kTPen);

  TInStream latin1("TFont 0 -10 0 0 0 400 0 0 0 0 0 0 0 0 Caf\xe9 Sans\n");
  ReadInto(latin1, font);
  EXPECT_EQ(font.Record().FaceName(), "Caf\xc3\xa9 Sans") << "Windows-1252 names are converted";

  // 30 ASCII bytes and then a two-byte character: 32 bytes do not fit, and
  // the character is not split.
  TLogFont lf;
  lf.SetFaceName(std::string(30, 'a') + "\xc3\xa9z");
  EXPECT_EQ(lf.FaceName(), std::string(30, 'a'));
  lf.SetFaceName(std::string(29, 'a') + "\xc3\xa9zz");
  EXPECT_EQ(lf.FaceName(), std::string(29, 'a') + "\xc3\xa9");
  lf.SetFaceName("Two\nLines");
  EXPECT_EQ(lf.FaceName(), "Two") << "a line break cannot enter the record";
  std::memcpy(lf.faceName, "Bad\r\nName", 10);
  EXPECT_EQ(TFont(lf).Record().FaceName(), "Bad") << "also when the name was filled in directly";

  TInStream bad("TFont 0 -10 0 0 0 400 0 300 0 0 0 0 0 0 Arial\n");
  ReadInto(bad, font);
  EXPECT_TRUE(bad.fail()) << "a byte value above 255 is malformed";
}

TEST(TFont, HandleUsesLogicalUnits)
{
  TLogFont lf;
  lf.height = -40;
  lf.weight = 700;
  lf.underline = 1;
  lf.strikeOut = 1;
  lf.SetFaceName("Arial");
  TFont font(lf);
  QFont held = font.GetHandle();
  EXPECT_EQ(held.pixelSize(), 40);
  EXPECT_EQ(held.weight(), QFont::Bold);
  EXPECT_FALSE(held.italic());
  EXPECT_TRUE(held.underline());
  EXPECT_TRUE(held.strikeOut());
  EXPECT_TRUE(font.GetHandle().isCopyOf(held)) << "cached until the record changes";

  lf.height = 0;
  lf.weight = 0;
  font.SetRecord(lf);
  EXPECT_FALSE(font.GetHandle().isCopyOf(held));
  EXPECT_EQ(font.GetHandle().pixelSize(), TFont::kDefaultHeight);
  EXPECT_EQ(font.GetHandle().weight(), QFont::Normal);

  // A positive height is the cell height, ascent plus descent.
  lf.height = 400;
  font.SetRecord(lf);
  const QFontMetricsF metrics(font.GetHandle());
  EXPECT_NEAR(metrics.ascent() + metrics.descent(), 400.0, 4.0);
  EXPECT_LT(font.GetHandle().pixelSize(), 400);
}

TEST(TFont, WindowsFacesResolveToMetricCompatibleFaces)
{
  if (!HasLiberationFonts())
    GTEST_SKIP() << "the Liberation fonts are not installed";
  const std::pair<const char*, const char*> faces[] = {{"Arial", "Liberation Sans"},
                                                       {"Times New Roman", "Liberation Serif"},
                                                       {"Courier New", "Liberation Mono"}};
  for (const auto& [face, expected] : faces) {
    TLogFont lf;
    lf.height = -20;
    lf.SetFaceName(face);
    EXPECT_EQ(QFontInfo(TFont(lf).GetHandle()).family(), QString::fromLatin1(expected)) << face;
  }
}

TEST(TBordure, TypeSetsThicknessAndRecord)
{
  TBordure frame;
  const int32_t thickness[] = {0, 1, 1, 2, 3, 4, 1, 3, TBordure::kSizingFrameWidth, 3, 3, 1, 2, 2, 2, 3, 4};
  for (int32_t type = 0; type <= TBordure::kMaxType; ++type) {
    frame.SetType(type);
    EXPECT_EQ(frame.GetThickness(), thickness[type]) << "type " << type;
  }
  frame.SetType(-1);
  EXPECT_EQ(frame.GetType(), 0);

  frame.SetType(13);
  frame.colour1 = 255;
  frame.colour2 = kNoColor;
  TBordure back;
  TInStream is(Record(frame));
  ReadInto(is, back);
  EXPECT_EQ(Record(back), "TBordure 0 13 255 4294967295\n");
  EXPECT_EQ(back.GetThickness(), 2);

  TInStream unknown("TBordure 0 20 1 2\n");
  ReadInto(unknown, back);
  EXPECT_EQ(back.GetType(), 0);
  EXPECT_EQ(back.GetThickness(), 0);
  EXPECT_EQ(back.colour2, 2u);
}
