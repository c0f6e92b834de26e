#include "Defaults.h"

#include "ObjectStream.h"
#include "TOutStream.h"

namespace {

constexpr const char* kPenSection = "StandardDataPen";
constexpr const char* kFontSection = "StandardDataFont";
constexpr const char* kPageSection = "StandardDataPage";
constexpr const char* kBrushSection = "StandardDataBrush";

} // namespace

TPen& DefaultPen()
{
  static TPen pen(0, 1, TPen::kInsideFrame);
  return pen;
}

TBrush& DefaultBrush()
{
  static TBrush brush;
  return brush;
}

TFont& DefaultFont()
{
  static TFont font;
  return font;
}

uint32_t& DefaultTextColor()
{
  static uint32_t colour = 0;
  return colour;
}

bool WriteDefaultsFile(const std::string& path, const TStreamable* page)
{
  TOutStream os;
  WriteSectionTag(os, kPenSection);
  WriteFrom(os, DefaultPen()) << '\n';
  WriteSectionTag(os, kFontSection);
  WriteFrom(os, DefaultFont()) << '\n' << DefaultTextColor() << '\n';
  WriteSectionTag(os, kPageSection);
  if (page)
    WriteFrom(os, *page);
  os << '\n';
  WriteSectionTag(os, kBrushSection);
  WriteFrom(os, DefaultBrush()) << '\n';
  return os.good() && SaveFileAtomic(path, os.Data());
}

bool ReadDefaultsFile(const std::string& path, TStreamable* page)
{
  TInStream is;
  if (!is.LoadFile(path))
    return false;
  bool intact = true;
  // Each section is looked up afresh, so damage in one does not hide the
  // others.
  auto readSection = [&](const char* name, auto&& read) {
    is.clear();
    if (!FindSectionTag(is, name))
      return;
    read();
    if (is.fail())
      intact = false;
  };
  readSection(kPenSection, [&] { ReadInto(is, DefaultPen()); });
  readSection(kFontSection, [&] {
    ReadInto(is, DefaultFont());
    uint32_t colour = 0;
    if (is >> colour)
      DefaultTextColor() = colour;
  });
  if (page)
    readSection(kPageSection, [&] { ReadInto(is, *page); });
  readSection(kBrushSection, [&] { ReadInto(is, DefaultBrush()); });
  return intact;
}
