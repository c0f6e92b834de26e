#pragma once

#include "TBordure.h"
#include "TData.h"
#include "TFont.h"
#include "TString.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TDataOwner;
class TPolyRectangle;

// A block of text placed at a point: drawn in its own font and in the pen
// colour, turned by the font's escapement, word-wrapped to the width the
// user gave it, justified left, centred or right, with adjustable line
// spacing and an optional frame.
//
// The rectangle's left and top are the anchor; its right and bottom always
// come from the layout. The text is UTF-8 with CR LF line breaks. The width
// the text is wrapped to is the box's width plus wrapExtra, the smallest
// addition that keeps the same lines.
class TDataTexte : public TData
{
public:
  static constexpr int32_t kVersion = 6;
  // Longest text the text dialog takes.
  static constexpr int32_t kMaxTextLength = 4000;
  static constexpr int32_t kMinLineSpacing = 50;
  static constexpr int32_t kMaxLineSpacing = 200;
  // A refit never widens a text beyond this.
  static constexpr int32_t kMaxWrapWidth = 20000;

  // Justification, bits 0-1 of the justification word.
  enum Justification : uint16_t { kLeft = 0, kCentred = 1, kRight = 2, kJustificationBits = 3 };
  // Layout modes: wrap at the current width, one line of natural width, or
  // refit (the narrowest width that keeps the number of lines).
  enum LayoutMode : int32_t { kLayoutWrap = 0, kLayoutOneLine = 1, kLayoutRefit = 2 };

  TDataTexte();
  // At (x, y), 600 units wide; capacity > 0 reserves room for that many
  // bytes of text. The font and colour are the program's default text font
  // and colour.
  TDataTexte(int32_t x, int32_t y, int32_t capacity);

  // Without a client a default text (for readers); with one the user places
  // the anchor and types the text. Null when cancelled or left empty.
  static TStreamable* Create(TDataOwner* client, int32_t argument);

  TInStream& Read(TInStream& is) override;
  TOutStream& Write(TOutStream& os) const override;
  // Field texts answer for the text they are as well.
  bool IsA(int32_t id) const override;
  // Inside the box, turned with the text.
  bool Contains(int32_t x, int32_t y) const override;
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override;
  bool Paint(TPage* page, uint8_t mode) override;
  uint16_t ContextCommand(TDataOwner* client, uint16_t command) override;
  // Applies a dragged frame (a TPolyRectangle): Position moves the box, Size
  // scales the font to it, Frame Text rewraps to it, Angle turns the text.
  bool Notify(uint16_t command, TRect* p) override;
  // Mode 4: the centre, turned with the text. Modes 5 and 11: the bounds of
  // the turned box (mode 5 with the frame around it).
  void GetRect(TRect& out, int32_t mode) const override;
  // Mode 0: the text takes the box and its font is scaled to it. Mode 6:
  // the text takes the box and is wrapped again to its width, font kept.
  void SetRect(const TRect& r, int32_t mode) override;
  TData* Clone(TData* target, int32_t argument) const override;
  bool ShowInfo(TDataOwner* client, const TData* reference, uint16_t flags) override;

  std::string_view GetText() const { return text.View(); }
  // Stores the text and wraps it at the current width.
  void SetText(std::string_view characters);
  bool IsSingleLine() const { return singleLine != 0; }
  void SetSingleLine(bool on) { singleLine = on ? 1 : 0; }
  const TFont& GetFont() const { return font; }
  // Takes the font, keeps the number of lines and refits the width.
  void SetFont(const TFont& newFont);
  // Degrees, counter-clockwise (the escapement in whole degrees).
  int32_t GetAngle() const;
  void SetAngle(int32_t degrees);
  uint16_t GetJustification() const { return justification; }
  // Replaces bits 0-1 only.
  void SetJustification(uint16_t value);
  int32_t GetLineSpacing() const { return lineSpacing; }
  // Takes a spacing of 50 to 200 % and refits; false for any other.
  bool SetLineSpacing(int32_t percent);
  int32_t GetLineCount() const { return lineCount; }
  int32_t GetWrapExtra() const { return wrapExtra; }
  const TBordure& GetBorder() const { return border; }
  void SetBorder(const TBordure& frame) { border = frame; }

  // The height lines are measured in (the font's height in page units) and
  // the distance from one line to the next; both at least 1.
  int32_t LineHeight() const;
  int32_t LineStep() const;
  // Recomputes the box's right and bottom (see LayoutMode).
  void Layout(int32_t mode);

private:
  // A refit starts from the lines the text had at wrapWidth (the old width
  // plus wrapExtra), so it must be taken before the box changes.
  void LayoutFrom(int32_t mode, int32_t wrapWidth);
  int32_t WrapWidth() const;
  void Refit() { LayoutFrom(kLayoutRefit, WrapWidth()); }
  // The box turned with the text and grown by grow units on every side:
  // the frame is drawn around the text, clear of its first and last glyphs.
  TPolyRectangle GrownBox(int32_t grow) const;
  // The commands that drag the text's box as a turned rectangle.
  uint16_t TrackFrame(TDataOwner* client, uint16_t command);
  uint16_t EditText(TDataOwner* client);

  // The lines painting draws, kept from the last wrap: wrapping measures
  // the text many times over. Valid only for the text, font and width it
  // was made for, which painting checks.
  struct WrappedLines
  {
    std::string text;
    TLogFont font;
    int32_t width = 0;
    std::vector<std::string> lines;
  };
  const std::vector<std::string>& LinesToPaint() const;

  TFont font;
  TString text;
  uint16_t singleLine = 0;
  uint16_t lineSpacing = 100;
  int32_t lineCount = 1;
  int32_t wrapExtra = 0;
  uint16_t justification = 0;
  TBordure border;
  mutable std::unique_ptr<WrappedLines> wrapped;
};
