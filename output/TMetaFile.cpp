#include "TMetaFile.h"

#include "Geometry.h"
#include "TAtomicFile.h"
#include "TMetaFileDevice.h"
#include "TempFiles.h"
#include "WmfFormat.h"

#include <algorithm>
#include <vector>

namespace {

// Metafile coordinates are 16-bit: a larger page is recorded in units of
// several logical units.
int32_t ScaleFor(int32_t width, int32_t height)
{
  const int64_t largest = std::max<int64_t>({width, height, 1});
  return static_cast<int32_t>((largest + 32766) / 32767);
}

} // namespace

TMetaFile::TMetaFile(const std::string& path, int32_t width, int32_t height)
    : fileName(path), m_scale(ScaleFor(width, height))
{
  SetPaperSize(width, height);
  SetViewSize(width, height);
  SetScroll(0, 0);
  tempName = MakeTempName();
  if (tempName.empty())
    return;
  m_temp.reset(std::fopen(tempName.c_str(), "w+b"));
  if (!m_temp) {
    RemoveTempFile(tempName);
    return;
  }
  auto device = std::make_unique<TMetaFileDevice>(m_temp.get(), m_scale);
  m_recorder = device.get();
  BindBackend(std::move(device), kMetafile);
}

TMetaFile::~TMetaFile()
{
  Release();
  m_temp.reset();
  if (!tempName.empty())
    RemoveTempFile(tempName);
}

bool TMetaFile::Close(bool placeable)
{
  if (!m_recorder)
    return false;
  bool ok = m_recorder->Finish();
  Release();
  m_recorder = nullptr;

  TAtomicFile out;
  ok = ok && out.Open(fileName);
  if (ok && placeable) {
    const int32_t inch = std::max(1, MulDivRound(GetUnitsPerInch(), 1, m_scale));
    auto side = [this](int32_t v) {
      return static_cast<int16_t>(std::clamp(MulDivRound(v, 1, m_scale), 0, 32767));
    };
    const std::vector<uint8_t> header = wmf::PlaceableHeader(
        0, 0, side(GetPaperWidth()), side(GetPaperHeight()), static_cast<uint16_t>(std::min(inch, 65535)));
    ok = out.Write(std::string_view(reinterpret_cast<const char*>(header.data()), header.size()));
  }
  if (ok) {
    // The recording follows as it was made.
    ok = std::fseek(m_temp.get(), 0, SEEK_SET) == 0;
    std::vector<char> block(1 << 16);
    while (ok) {
      const size_t got = std::fread(block.data(), 1, block.size(), m_temp.get());
      if (got == 0) {
        ok = !std::ferror(m_temp.get());
        break;
      }
      ok = out.Write(std::string_view(block.data(), got));
    }
  }
  ok = out.Close(ok) && ok;
  m_error = out.Error();
  m_temp.reset();
  RemoveTempFile(tempName);
  tempName.clear();
  return ok;
}
