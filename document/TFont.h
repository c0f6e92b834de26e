#pragma once

#include "ClassTable.h"
#include "TStreamable.h"

#include <QFont>

#include <cstdint>
#include <string_view>

// The stored description of a font. Heights and widths are in the page's
// logical units: a negative height is the character (em) height, a positive
// one the cell height (ascent + descent), 0 a default. Angles are in tenths
// of a degree, counter-clockwise. Weights run from 100 (thin) to 900
// (black), 0 meaning normal.
struct TLogFont
{
  static constexpr size_t kFaceNameSize = 32; // bytes, terminating zero included

  int32_t height = 0;
  int32_t width = 0;
  int32_t escapement = 0;
  int32_t orientation = 0;
  int32_t weight = 0;
  uint8_t italic = 0;
  uint8_t underline = 0;
  uint8_t strikeOut = 0;
  uint8_t charSet = 0;
  uint8_t outPrecision = 0;
  uint8_t clipPrecision = 0;
  uint8_t quality = 0;
  uint8_t pitchAndFamily = 0;
  char faceName[kFaceNameSize] = {};

  std::string_view FaceName() const;
  // Stores UTF-8 text, cut to at most 31 bytes without splitting a character.
  void SetFaceName(std::string_view utf8);
  // Every field equal, the face names compared up to their end.
  bool operator==(const TLogFont& other) const;
};

// A logical font. The matching QFont is made on first use and kept until the
// description changes.
class TFont : public TStreamable
{
public:
  static constexpr int32_t kVersion = 0;
  // Height used when a font asks for the default height (0).
  static constexpr int32_t kDefaultHeight = 14;

  // Arial, 14 units high.
  TFont();
  // Arial with a character height of size and an average width of width.
  TFont(int32_t size, int32_t width);
  explicit TFont(const TLogFont& record);

  TInStream& Read(TInStream& is) override;
  TOutStream& Write(TOutStream& os) const override;

  const TLogFont& Record() const { return m_record; }
  void SetRecord(const TLogFont& record);
  void Assign(const TFont& other) { *this = other; }
  // The escapement (text direction) in degrees, counter-clockwise.
  double EscapementDegrees() const { return m_record.escapement / 10.0; }

  // The QFont with its pixel size in logical units; the drawing surface
  // scales the painter from logical units to the device. Measuring a cell
  // height needs a QGuiApplication; without one the height is used as given.
  const QFont& GetHandle() const;

private:
  TLogFont m_record;
  mutable QFont m_handle;
  mutable bool m_dirty = true;
};
