#pragma once

#include "TPage.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TFont;

// The word wrapping of text objects: splits a text into the lines that fit
// a width in page units, measured with the text's font at its page-unit
// size. Layout and drawing both go through it, so a text is drawn exactly
// in the lines its box was computed for.
//
// Lines end at every line break (CR LF, or a lone LF or CR), and otherwise
// after the last word that still fits; the blanks at a soft break belong to
// neither line. A word wider than the width is broken between characters,
// never inside a UTF-8 sequence, and a line holds at least one character
// even when that alone is wider. Lines are measured whole, whatever their
// length.
class TTextWrap
{
public:
  TTextWrap(const TFont& font, std::string_view text);

  // Width of a piece of text in page units.
  int32_t Measure(std::string_view piece);
  // The lines at the given width, as views into the engine's own copy of
  // the text (valid while the engine lives and until the next Wrap). An
  // empty text has one empty line.
  const std::vector<std::string_view>& Wrap(int32_t width);
  int32_t LineCount(int32_t width) { return static_cast<int32_t>(Wrap(width).size()); }
  // The widest of the lines at that width.
  int32_t WidestLine(int32_t width);

private:
  void WrapParagraph(std::string_view paragraph, int32_t width);
  // Bytes of the longest start of piece (at least one character) that fits
  // the width.
  size_t FittingPrefix(std::string_view piece, int32_t width);

  std::string m_text;
  // Measures unbound: the page keeps the font selected for measuring.
  TPage m_measure;
  std::vector<std::string_view> m_lines;
  int32_t m_wrappedWidth = 0;
  bool m_wrapped = false;
};
