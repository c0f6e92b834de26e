#include "ShapeTestSupport.h"

#include "CommandIds.h"
#include "Geometry.h"
#include "TDataTexte.h"
#include "TTextWrap.h"
#include "TextEncoding.h"

#include <string>
#include <vector>

namespace {

using namespace shape_test;

// The width of a text in a font, measured on a page of its own.
int32_t Measured(const TFont& font, std::string_view text)
{
  TPage page;
  page.SelectFont(font);
  int32_t width = 0, height = 0;
  page.GetTextExtent(text, width, height);
  return width;
}

// A new text at (100, 100) made while font is the default text font.
TDataTexte TextIn(const TFont& font, std::string_view characters, int32_t spacing = 100)
{
  const TFont saved = DefaultFont();
  DefaultFont() = font;
  TDataTexte text(100, 100, 0);
  DefaultFont() = saved;
  text.SetText(characters);
  if (spacing != text.GetLineSpacing())
    text.SetLineSpacing(spacing);
  return text;
}

// The same in Arial 20 units high, of natural width.
TDataTexte Text20(std::string_view characters, int32_t spacing = 100)
{
  return TextIn(TFont(20, 0), characters, spacing);
}

} // namespace

TEST(TextWrapTest, BreaksAtBlanksAtLineBreaksAndInsideLongWords)
{
  const TFont font(20, 0);
  TTextWrap wrap(font, "one two three\r\nfour\nfive\r\r\nsix");
  const int32_t wide = wrap.Measure("one two");
  EXPECT_EQ(wrap.Wrap(wide), (std::vector<std::string_view>{"one two", "three", "four", "five", "", "six"}));
  EXPECT_EQ(wrap.Wrap(wide - 1),
            (std::vector<std::string_view>{"one", "two", "three", "four", "five", "", "six"}));
  // A word wider than the width is broken between characters, each line
  // as full as it can be and never empty.
  TTextWrap word(font, "abcdefgh");
  const std::vector<std::string_view> pieces = word.Wrap(word.Measure("abc"));
  EXPECT_EQ(pieces, (std::vector<std::string_view>{"abc", "def", "gh"}));
  EXPECT_EQ(word.LineCount(0), 8);
}

TEST(TextWrapTest, NeverSplitsACharacterAndMeasuresLongLinesWhole)
{
  const TFont font(20, 0);
  const std::string accented = "\xC3\xA9t\xC3\xA9\xE2\x82\xAC\xC3\xA0\xC3\xA7\xC3\xA9"; // été€àçé
  TTextWrap wrap(font, accented);
  for (int32_t width : {0, 5, 12, 20, 30}) {
    std::string joined;
    for (std::string_view line : wrap.Wrap(width)) {
      EXPECT_TRUE(IsValidUtf8(line)) << width;
      EXPECT_FALSE(line.empty());
      joined += line;
    }
    EXPECT_EQ(joined, accented);
  }
  // A line of 300 characters is one line, all of it measured.
  const std::string longLine(300, 'x');
  TTextWrap whole(font, longLine);
  EXPECT_EQ(whole.LineCount(100000), 1);
  EXPECT_EQ(whole.WidestLine(100000), Measured(font, longLine));
  EXPECT_GT(whole.WidestLine(100000), Measured(font, longLine.substr(0, 255)));
}

TEST(TextTest, NewTextTakesTheDefaults)
{
  DefaultsGuard guard;
  DefaultTextColor() = 0x0000FF;
  const TFont saved = DefaultFont();
  DefaultFont() = TFont(30, 0);
  TDataTexte text(10, 20, 0);
  DefaultFont() = saved;
  EXPECT_TRUE(SameRect(Bounds(text), TRect(10, 20, 610, 24)));
  EXPECT_EQ(text.GetFont().Record().height, -30);
  EXPECT_EQ(text.GetPen().GetColor(), 0x0000FFu);
  EXPECT_EQ(text.GetLineCount(), 1);
  EXPECT_EQ(text.GetLineSpacing(), 100);
  EXPECT_FALSE(text.IsSingleLine());
}

TEST(TextTest, OneLineIsAsWideAsItsTextAndAnEighthTallerThanTheFont)
{
  TDataTexte text = Text20("abc");
  EXPECT_EQ(text.Width(), Measured(text.GetFont(), "abc"));
  EXPECT_EQ(text.Height(), 20 + 20 / 8);
  EXPECT_EQ(text.GetLineCount(), 1);
  // An empty text keeps a one-unit box.
  text.SetText("");
  EXPECT_EQ(text.Width(), 1);
  EXPECT_EQ(text.Height(), 20);
}

TEST(TextTest, LinesFollowEachOtherByTheLineSpacing)
{
  TDataTexte broken = Text20("first\r\nsecond\r\nthird", 150);
  EXPECT_EQ(broken.GetLineCount(), 3);
  EXPECT_EQ(broken.Height(), 82);
  EXPECT_EQ(broken.Width(), Measured(broken.GetFont(), "second"));

  // Wrapped by width: the box shrinks to the widest line.
  TDataTexte wrapped = Text20("first second third", 150);
  wrapped.SetRect(TRect(100, 100, 100 + Measured(wrapped.GetFont(), "second") + 3, 110), 6);
  EXPECT_EQ(wrapped.GetLineCount(), 3);
  EXPECT_EQ(wrapped.Height(), 82);
  EXPECT_EQ(wrapped.Width(), Measured(wrapped.GetFont(), "second"));
  EXPECT_EQ(wrapped.GetWrapExtra(), 0);

  // A font one unit high at half spacing still steps one unit a line.
  TDataTexte tiny = TextIn(TFont(1, 0), "a\r\nb\r\nc", 50);
  EXPECT_EQ(tiny.LineStep(), 1);
  EXPECT_EQ(tiny.Height(), 3);
}

TEST(TextTest, FrameTextRewrapsAndSizeScalesTheFont)
{
  TDataTexte text = Text20("one two three four");
  ASSERT_EQ(text.GetLineCount(), 1);
  const TRect narrower(100, 100, 100 + text.Width() / 2, 130);
  text.SetRect(narrower, kRectReframe);
  EXPECT_GT(text.GetLineCount(), 1);
  EXPECT_EQ(text.GetFont().Record().height, -20);
  EXPECT_LE(text.Width(), narrower.Width());

  // Twice the box: twice the font, the same lines.
  TDataTexte sized = TextIn(TFont(20, 8), "one two\r\nthree four");
  const int32_t lines = sized.GetLineCount();
  sized.SetRect(TRect(100, 100, 100 + 2 * sized.Width(), 100 + 2 * sized.Height()), 0);
  EXPECT_EQ(sized.GetFont().Record().height, -40);
  EXPECT_EQ(sized.GetFont().Record().width, 16);
  EXPECT_EQ(sized.GetLineCount(), lines);

  // A font of natural width keeps it when the box keeps its proportions,
  // and is stretched when it does not; sizes never fall below 2.
  TDataTexte natural = Text20("abc");
  natural.SetRect(TRect(100, 100, 100 + 3 * natural.Width(), 100 + 3 * natural.Height()), 0);
  EXPECT_EQ(natural.GetFont().Record().width, 0);
  EXPECT_EQ(natural.GetFont().Record().height, -60);
  natural.SetRect(TRect(100, 100, 100 + 2 * natural.Width(), 100 + natural.Height()), 0);
  EXPECT_GT(natural.GetFont().Record().width, 0);
  EXPECT_EQ(natural.GetFont().Record().height, -60);
  natural.SetRect(TRect(100, 100, 101, 101), kRectFrame);
  EXPECT_EQ(natural.GetFont().Record().height, -2);
}

TEST(TextTest, TurnedTextIsHitOnlyInsideItsTurnedBox)
{
  TDataTexte text = Text20("turned text");
  text.SetAngle(30);
  EXPECT_EQ(text.GetAngle(), 30);
  EXPECT_EQ(text.GetFont().Record().escapement, 300);
  // Along the text's base, a little inside.
  const TPoint inside = RotatePoint({110, 110}, {100, 100}, 30);
  EXPECT_TRUE(text.Contains(inside.x, inside.y));
  // In the unturned box but outside the turned one.
  EXPECT_FALSE(text.Contains(text.right - 2, text.bottom - 2));
  // The drawing bounds hold all four turned corners.
  TRect bounds;
  text.GetRect(bounds, kRectDrawing);
  const TPoint far = RotatePoint({text.right, text.bottom}, {100, 100}, 30);
  EXPECT_TRUE(bounds.Contains(far.x, far.y));
  EXPECT_LT(bounds.top, 100);
  text.SetAngle(370);
  EXPECT_EQ(text.GetAngle(), 10);
}

TEST(TextTest, RecordRoundTripsAndReadsEveryOlderVersion)
{
  TDataTexte text = Text20("line one\r\nline two", 120);
  text.SetJustification(TDataTexte::kRight);
  TBordure frame;
  frame.SetType(1);
  frame.colour1 = 0xFF0000;
  text.SetBorder(frame);
  const std::string written = Written(text);
  EXPECT_EQ(FirstLine(written), "TDataTexte 6 0 2 0 2 120");
  TDataTexte back;
  EXPECT_EQ(LeftUnread(back, written), 0u);
  EXPECT_EQ(Written(back), written);

  // Version 4: no justification and no line spacing, but a frame.
  const std::string body = "\tTFont 0 -20 0 0 0 0 0 0 0 0 0 0 0 0 Arial\n\tTString 1 7 5 hello\n";
  const std::string tail = "\tTData 3 0 8 0\n\tTPen 0 6 1 1 0\n\tTBrush 0 1 0 0\n\tTRect 0 10 10 60 33\n";
  TDataTexte v4;
  EXPECT_EQ(LeftUnread(v4, "TDataTexte 4 0 1 0\n" + body + "\tTBordure 0 1 255 0\n" + tail), 0u);
  EXPECT_EQ(v4.GetJustification(), TDataTexte::kLeft);
  EXPECT_EQ(v4.GetLineSpacing(), 100);
  EXPECT_EQ(v4.GetBorder().GetType(), 1);
  EXPECT_EQ(v4.GetText(), "hello");
  EXPECT_TRUE(SameRect(Bounds(v4), TRect(10, 10, 60, 33)));

  // Version 2 has no wrap width and no frame: it is laid out again.
  TDataTexte v2;
  EXPECT_EQ(LeftUnread(v2, "TDataTexte 2 1 1\n" + body + tail), 0u);
  EXPECT_TRUE(v2.IsSingleLine());
  EXPECT_EQ(v2.Width(), Measured(v2.GetFont(), "hello"));
  EXPECT_EQ(v2.Height(), 22);
  // Version 0 has neither the one-line flag nor the line count.
  TDataTexte v0;
  EXPECT_EQ(LeftUnread(v0, "TDataTexte 0\n" + body + tail), 0u);
  EXPECT_EQ(v0.GetText(), "hello");
  // A newer version's extra fields are passed over.
  TDataTexte v7;
  EXPECT_EQ(LeftUnread(v7, "TDataTexte 7 0 1 0 1 150 99 98\n" + body + "\tTBordure 0 0 0 0\n" + tail), 0u);
  EXPECT_EQ(v7.GetJustification(), TDataTexte::kCentred);
  EXPECT_EQ(v7.GetLineSpacing(), 150);
  EXPECT_EQ(v7.GetText(), "hello");
  // A record of another class is left alone.
  EXPECT_EQ(LeftUnread(v7, "TDataLine 1 0 0 1 1\n" + tail), ("TDataLine 1 0 0 1 1\n" + tail).size());
}

TEST(TextTest, CloneCopiesEverything)
{
  TDataTexte text = Text20("a\r\nb", 180);
  text.SetAngle(45);
  text.SetJustification(TDataTexte::kCentred);
  std::unique_ptr<TData> copy(text.Clone(nullptr, 0));
  ASSERT_TRUE(copy->IsA(kTDataTexte));
  EXPECT_EQ(Written(*copy), Written(text));
}

// ---- commands ----

class TextViewTest : public ShapeViewTest
{
protected:
  DefaultsGuard guard;
  TFont savedFont = DefaultFont();
  void TearDown() override { DefaultFont() = savedFont; }
};

TEST_F(TextViewTest, TextIsPlacedAndTyped)
{
  client.SetLayers(2);
  input.Click(120, 80);
  input.AnswerText(std::string("Hello\nworld"));
  auto text = CreateInteractively<TDataTexte>(kTDataTexte);
  ASSERT_TRUE(text);
  EXPECT_EQ(text->GetText(), "Hello\r\nworld");
  EXPECT_EQ(text->left, 120);
  EXPECT_EQ(text->top, 80);
  EXPECT_EQ(text->GetLayers(), 2);
  EXPECT_EQ(text->GetLineCount(), 2);
  EXPECT_EQ(input.dialogs.back(), "EditText:Text");

  // Cancelled at the position, in the dialog, or left empty: nothing.
  input.Char(VK_ESCAPE_);
  EXPECT_FALSE(CreateInteractively<TData>(kTDataTexte));
  input.Click(120, 80);
  input.AnswerText(std::nullopt);
  EXPECT_FALSE(CreateInteractively<TData>(kTDataTexte));
  input.Click(120, 80);
  input.AnswerText(std::string());
  EXPECT_FALSE(CreateInteractively<TData>(kTDataTexte));
  ExpectViewRestored();
}

TEST_F(TextViewTest, EditTextKeepsTheLimitAndAShortLineStaysOneLine)
{
  TDataTexte text = Text20("old");
  input.AnswerText(std::string(5000, 'a'));
  EXPECT_EQ(text.ContextCommand(&client, CM_OBJ_EDIT_TEXT), CM_OBJ_EDIT_TEXT);
  EXPECT_EQ(text.GetText().size(), 4000u);
  EXPECT_GT(text.GetLineCount(), 1);

  TDataTexte shortText = Text20("old");
  input.AnswerText(std::string("a short line of text"));
  EXPECT_EQ(shortText.ContextCommand(&client, CM_OBJ_EDIT_TEXT), CM_OBJ_EDIT_TEXT);
  EXPECT_EQ(shortText.GetLineCount(), 1);
  EXPECT_EQ(shortText.Width(), Measured(shortText.GetFont(), "a short line of text"));
  input.AnswerText(std::nullopt);
  EXPECT_EQ(shortText.ContextCommand(&client, CM_OBJ_EDIT_TEXT), 0);
  EXPECT_EQ(shortText.GetText(), "a short line of text");
}

TEST_F(TextViewTest, FontSpacingAndJustificationCommands)
{
  TDataTexte text = Text20("one two\r\nthree");
  text.SetAngle(20);
  input.AnswerFont(TFont(40, 0));
  EXPECT_EQ(text.ContextCommand(&client, CM_OBJ_FONT), CM_OBJ_FONT);
  EXPECT_EQ(text.GetFont().Record().height, -40);
  EXPECT_EQ(text.GetAngle(), 20);
  EXPECT_EQ(text.GetLineCount(), 2);
  EXPECT_EQ(text.Height(), 40 + 5 + 40);

  // 250 is out of range: the user is told and asked again.
  input.AnswerIntegers(std::vector<int32_t>{250});
  input.AnswerIntegers(std::vector<int32_t>{150});
  EXPECT_EQ(text.ContextCommand(&client, CM_OBJ_LINE_SPACING), CM_OBJ_LINE_SPACING);
  EXPECT_EQ(text.GetLineSpacing(), 150);
  EXPECT_EQ(text.Height(), 40 + 5 + 60);
  EXPECT_EQ(input.messageBoxes.size(), 1u);
  EXPECT_EQ(input.dialogs.back(), "PromptIntegers:Line Spacing");
  input.AnswerIntegers(std::nullopt);
  EXPECT_EQ(text.ContextCommand(&client, CM_OBJ_LINE_SPACING), 0);
  EXPECT_FALSE(text.SetLineSpacing(49));
  EXPECT_EQ(text.GetLineSpacing(), 150);

  // Only the two justification bits change.
  text.SetJustification(0xF1);
  EXPECT_EQ(text.GetJustification(), 0x01);
  input.AnswerOption(2);
  EXPECT_EQ(text.ContextCommand(&client, CM_OBJ_TEXT_JUSTIFICATION), CM_OBJ_TEXT_JUSTIFICATION);
  EXPECT_EQ(text.GetJustification(), TDataTexte::kRight);
  input.AnswerOption(std::nullopt);
  EXPECT_EQ(text.ContextCommand(&client, CM_OBJ_TEXT_JUSTIFICATION), 0);
}

TEST_F(TextViewTest, DraggedFrameMovesSizesRewrapsAndTurns)
{
  TDataTexte text = Text20("one two three four");
  const int32_t width = text.Width();
  input.Drag(30, 40);
  input.LeftUp();
  EXPECT_EQ(text.ContextCommand(&client, CM_OBJ_POSITION), CM_OBJ_POSITION);
  EXPECT_EQ(text.left, 130);
  EXPECT_EQ(text.top, 140);
  EXPECT_EQ(text.Width(), width);

  input.Drag(-width / 2, 0);
  input.LeftUp();
  EXPECT_EQ(text.ContextCommand(&client, CM_OBJ_FRAME_TEXT), CM_OBJ_FRAME_TEXT);
  EXPECT_GT(text.GetLineCount(), 1);
  EXPECT_EQ(text.GetFont().Record().height, -20);

  const int32_t height = text.Height();
  input.Drag(text.Width(), height);
  input.LeftUp();
  EXPECT_EQ(text.ContextCommand(&client, CM_OBJ_SIZE), CM_OBJ_SIZE);
  EXPECT_EQ(text.GetFont().Record().height, -40);

  input.Drag(0, -300, 3);
  input.LeftUp();
  EXPECT_EQ(text.ContextCommand(&client, CM_OBJ_ANGLE), CM_OBJ_ANGLE);
  EXPECT_EQ(text.GetAngle(), 45);
  input.Drag(50, 50);
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(text.ContextCommand(&client, CM_OBJ_SIZE), 0);
  EXPECT_EQ(text.GetFont().Record().height, -40);
  ExpectViewRestored();
}

TEST_F(TextViewTest, DefaultFontCommandsLeaveTheTextAlone)
{
  TDataTexte text = Text20("abc");
  text.SetAngle(90);
  text.SetColor(0, 0x00FF00);
  EXPECT_EQ(text.ContextCommand(&client, CM_OBJ_DEFAULT_FONT), 0);
  EXPECT_EQ(DefaultFont().Record().height, -20);
  EXPECT_EQ(DefaultFont().Record().escapement, 0);
  EXPECT_NE(DefaultTextColor(), 0x00FF00u);
  EXPECT_EQ(text.ContextCommand(&client, CM_OBJ_DEFAULT_FONT_COLOR), 0);
  EXPECT_EQ(DefaultTextColor(), 0x00FF00u);
  EXPECT_EQ(text.GetAngle(), 90);
}
