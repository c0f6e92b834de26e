#pragma once

#include "TPageDevice.h"

#include <QFont>

#include <array>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

// A drawing surface that records what is drawn as Windows metafile records
// into a file: pens, brushes and fonts are created, selected and deleted as
// they change, every primitive becomes its record, and the mapping is the
// anisotropic one whose window is the page. Coordinates are logical units
// divided by scale (so a page larger than the format's 16-bit coordinates
// still fits), each kept within the 16-bit range.
class TMetaFileDevice : public TPageDevice
{
public:
  // Records into stream (written from its current position; not owned).
  TMetaFileDevice(FILE* stream, int32_t scale);
  ~TMetaFileDevice() override;
  TMetaFileDevice(const TMetaFileDevice&) = delete;
  TMetaFileDevice& operator=(const TMetaFileDevice&) = delete;

  // Ends the recording: the end record, then the metafile header written
  // over the space kept for it. False when any write failed.
  bool Finish();

  void SetMapping(int32_t windowOrgX, int32_t windowOrgY, int32_t windowExtX, int32_t windowExtY,
                  int32_t viewportExtX, int32_t viewportExtY) override;
  void SetClip(const int32_t* ltrb) override;

  void SelectPen(const TPen& pen) override;
  void SelectBrush(const TBrush& brush) override;
  void SelectFont(const TFont& font) override;
  void SelectDefaults() override;
  void SetTextColor(uint32_t colour) override;
  void SetBkColor(uint32_t colour) override;
  void SetBkMode(int32_t mode) override;
  void SetTextAlign(uint32_t align) override;
  void SetROP2(int32_t rop) override;

  void Rectangle(int32_t l, int32_t t, int32_t r, int32_t b) override;
  void RoundRect(int32_t l, int32_t t, int32_t r, int32_t b, int32_t cornerW, int32_t cornerH) override;
  void Ellipse(int32_t l, int32_t t, int32_t r, int32_t b) override;
  void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
  void Polygon(const TPoint* points, int32_t count) override;
  void Polyline(const TPoint* points, int32_t count) override;
  void Pie(int32_t l, int32_t t, int32_t r, int32_t b, TPoint start, TPoint end) override;
  void Chord(int32_t l, int32_t t, int32_t r, int32_t b, TPoint start, TPoint end) override;
  void Arc(int32_t l, int32_t t, int32_t r, int32_t b, TPoint start, TPoint end) override;
  void FillRect(int32_t l, int32_t t, int32_t r, int32_t b, const TBrush* brush) override;
  bool SetPixel(int32_t x, int32_t y, uint32_t colour) override;
  void TextOut(int32_t x, int32_t y, std::string_view utf8, const int32_t* clipLtrb,
               uint32_t options) override;
  void GetTextExtent(std::string_view utf8, int32_t& width, int32_t& height) override;
  void DrawEdge(int32_t l, int32_t t, int32_t r, int32_t b) override;
  void DrawImage(int32_t l, int32_t t, int32_t r, int32_t b, const QImage& image,
                 const int32_t* source) override;

  // The most objects alive at once, for the header.
  uint16_t ObjectSlots() const { return static_cast<uint16_t>(m_slots.size()); }

private:
  // One graphics object's creation record (function and parameters), which
  // also tells two objects apart.
  struct ObjectRecord
  {
    uint16_t function = 0;
    std::vector<uint8_t> params;
    bool operator==(const ObjectRecord&) const = default;
  };
  enum Kind { kPen, kBrush, kFont, kKinds };
  struct Selected
  {
    std::optional<uint16_t> index;
    ObjectRecord record;
  };
  struct Attributes
  {
    uint32_t textColour = 0;
    uint32_t bkColour = 0xFFFFFF;
    int32_t bkMode = 2;
    uint32_t textAlign = 0;
    int32_t rop = 13;
    bool operator==(const Attributes&) const = default;
  };
  // What a primitive needs in force before its record.
  enum Needs : unsigned { kNeedPen = 1, kNeedBrush = 2, kNeedFont = 4 };

  int16_t X(int32_t v) const;
  int16_t Len(int32_t v) const;
  void Record(uint16_t function, const std::vector<uint8_t>& params);
  void Words(std::vector<uint8_t>& params, std::initializer_list<int32_t> coordinates) const;
  void PointWords(std::vector<uint8_t>& params, const TPoint* points, int32_t count) const;
  // Brings the file's selections and attributes to what was asked for.
  void Realize(unsigned needs);
  void RealizeObject(Kind kind);
  void RealizeAttributes();
  uint16_t Create(const ObjectRecord& object);
  void Delete(uint16_t index);
  void Box(uint16_t function, int32_t l, int32_t t, int32_t r, int32_t b);
  void ArcRecord(uint16_t function, int32_t l, int32_t t, int32_t r, int32_t b, TPoint start, TPoint end);
  void PatBlt(int32_t l, int32_t t, int32_t r, int32_t b);
  void FillWithColour(const std::vector<std::array<int32_t, 4>>& boxes, uint32_t colour);

  FILE* m_stream;
  int32_t m_scale;
  bool m_ok = true;
  uint32_t m_words = 0;
  uint32_t m_largest = 0;
  // Object table: which slots are taken.
  std::vector<bool> m_slots;
  // Selections and attributes are recorded only when a primitive needs
  // them, so a pen chosen and replaced before anything is drawn costs
  // nothing. m_file is what the file has in force; while a clip holds,
  // m_saved is what its saved state will bring back.
  ObjectRecord m_want[kKinds];
  Selected m_file[kKinds];
  Selected m_saved[kKinds];
  Attributes m_wantAttributes;
  Attributes m_fileAttributes;
  Attributes m_savedAttributes;
  // Objects the saved state still names: deleted once it is back.
  std::vector<uint16_t> m_pendingDelete;
  bool m_clipped = false;
  int32_t m_window[4] = {0, 0, 1, 1};
  QFont m_font;
};
