#pragma once

// Metafiles made by hand for the player's tests: records of 16-bit words,
// the metafile header in front, placed into a picture buffer.

#include "TImageBuffer.h"
#include "WmfFormat.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

class WmfBuilder
{
public:
  explicit WmfBuilder(uint16_t objects = 8) : m_objects(objects) {}

  // A record with the given parameter words.
  WmfBuilder& Add(uint16_t function, std::initializer_list<int32_t> words)
  {
    std::vector<uint8_t> params;
    for (const int32_t w : words)
      wmf::PutWord(params, static_cast<uint16_t>(w));
    return AddBytes(function, params);
  }
  // A record with the given parameter bytes (padded to whole words).
  WmfBuilder& AddBytes(uint16_t function, std::vector<uint8_t> params)
  {
    if (params.size() % 2 != 0)
      params.push_back(0);
    wmf::PutDword(m_body, static_cast<uint32_t>(3 + params.size() / 2));
    wmf::PutWord(m_body, function);
    m_body.insert(m_body.end(), params.begin(), params.end());
    return *this;
  }
  // Raw bytes after the records so far (for sizes that lie).
  WmfBuilder& Raw(const std::vector<uint8_t>& bytes)
  {
    m_body.insert(m_body.end(), bytes.begin(), bytes.end());
    return *this;
  }
  WmfBuilder& End() { return Add(wmf::kEof, {}); }

  // The metafile header and the records.
  std::vector<uint8_t> Records() const
  {
    std::vector<uint8_t> out;
    wmf::PutWord(out, 1);
    wmf::PutWord(out, 9);
    wmf::PutWord(out, 0x0300);
    wmf::PutDword(out, static_cast<uint32_t>((wmf::kHeaderSize + m_body.size()) / 2));
    wmf::PutWord(out, m_objects);
    wmf::PutDword(out, 0);
    wmf::PutWord(out, 0);
    out.insert(out.end(), m_body.begin(), m_body.end());
    return out;
  }

  // A picture spanning (0, 0)-(width, height) metafile units.
  bool Into(TImageBuffer& picture, int16_t width, int16_t height) const
  {
    const std::vector<uint8_t> header = wmf::PlaceableHeader(0, 0, width, height, 100);
    return picture.SetMetafile(header.data(), Records());
  }

private:
  uint16_t m_objects;
  std::vector<uint8_t> m_body;
};
