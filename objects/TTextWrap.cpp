#include "TTextWrap.h"

#include "TFont.h"
#include "TextEncoding.h"

#include <algorithm>

namespace {

constexpr std::string_view kBlanks = " \t";

} // namespace

TTextWrap::TTextWrap(const TFont& font, std::string_view text) : m_text(text)
{
  m_measure.SelectFont(font);
}

int32_t TTextWrap::Measure(std::string_view piece)
{
  int32_t width = 0, height = 0;
  m_measure.GetTextExtent(piece, width, height);
  return width;
}

const std::vector<std::string_view>& TTextWrap::Wrap(int32_t width)
{
  if (m_wrapped && width == m_wrappedWidth)
    return m_lines;
  m_lines.clear();
  const std::string_view all(m_text);
  size_t start = 0;
  while (true) {
    const size_t stop = all.find_first_of("\r\n", start);
    if (stop == std::string_view::npos) {
      WrapParagraph(all.substr(start), width);
      break;
    }
    WrapParagraph(all.substr(start, stop - start), width);
    start = stop + 1;
    if (all[stop] == '\r' && start < all.size() && all[start] == '\n')
      ++start;
  }
  m_wrappedWidth = width;
  m_wrapped = true;
  return m_lines;
}

int32_t TTextWrap::WidestLine(int32_t width)
{
  int32_t widest = 0;
  for (std::string_view line : Wrap(width))
    widest = std::max(widest, Measure(line));
  return widest;
}

void TTextWrap::WrapParagraph(std::string_view paragraph, int32_t width)
{
  if (paragraph.find_first_not_of(kBlanks) == std::string_view::npos) {
    m_lines.push_back(paragraph.substr(0, 0));
    return;
  }
  auto isBlank = [](char c) { return kBlanks.find(c) != std::string_view::npos; };
  std::string_view rest = paragraph;
  while (!rest.empty()) {
    const size_t fits = FittingPrefix(rest, width);
    // The line ends after the last word that fits whole; without one, the
    // first word is cut where it stops fitting.
    size_t end = fits;
    while (end > 0 && !(!isBlank(rest[end - 1]) && (end == rest.size() || isBlank(rest[end]))))
      --end;
    if (end == 0)
      end = fits;
    m_lines.push_back(rest.substr(0, end));
    const size_t next = rest.find_first_not_of(kBlanks, end);
    if (next == std::string_view::npos)
      break;
    rest = rest.substr(next);
  }
}

size_t TTextWrap::FittingPrefix(std::string_view piece, int32_t width)
{
  // The byte end of each of the first characters, found as they are needed.
  std::vector<size_t> ends;
  auto endOf = [&](size_t count) {
    while (ends.size() < count && (ends.empty() ? 0 : ends.back()) < piece.size()) {
      size_t at = ends.empty() ? 0 : ends.back();
      DecodeUtf8(piece, at);
      ends.push_back(at);
    }
    return ends[std::min(count, ends.size()) - 1];
  };
  // A longer start is never narrower: gallop to a start that is too wide,
  // then halve the gap. The first character always stays.
  size_t good = 1;
  size_t bad = 0;
  for (size_t probe = 2; bad == 0; probe *= 2) {
    const size_t end = endOf(probe);
    if (Measure(piece.substr(0, end)) > width) {
      bad = probe;
    } else {
      good = probe;
      if (end == piece.size())
        return end;
    }
  }
  while (bad - good > 1) {
    const size_t middle = good + (bad - good) / 2;
    if (Measure(piece.substr(0, endOf(middle))) > width)
      bad = middle;
    else
      good = middle;
  }
  return endOf(good);
}
