#include "TClipboard.h"

#include "Messages.h"
#include "StringTable.h"
#include "TAtomicFile.h"
#include "TPngWriter.h"
#include "TUserInput.h"
#include "WmfFormat.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <cstring>

namespace {

// The names other programs give a Windows metafile on the clipboard.
const char* const kMetafileTypes[] = {"image/x-wmf", "image/wmf", "application/x-wmf",
                                      "application/x-openoffice-wmf;windows_formatname=\"Image WMF\""};

QClipboard* SystemClipboard()
{
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard()
                                                                      : nullptr;
}

// Rows of a picture for the PNG writer, as red, green, blue.
class ClipboardPng : public TPngWriter
{
public:
  explicit ClipboardPng(QImage image) : m_image(std::move(image)) {}
  bool GetLine(uint8_t* row, uint32_t y, uint32_t width, uint32_t) override
  {
    std::memcpy(row, m_image.constScanLine(static_cast<int>(y)), size_t{width} * 3);
    return true;
  }

private:
  QImage m_image;
};

} // namespace

TClipboard::~TClipboard() = default;

bool TClipboard::Open()
{
  m_open = SystemClipboard() != nullptr;
  return m_open;
}

bool TClipboard::Empty()
{
  if (!m_open)
    return false;
  SystemClipboard()->clear();
  return true;
}

uint32_t TClipboard::Formats() const
{
  const QClipboard* clipboard = m_open ? SystemClipboard() : nullptr;
  const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
  if (!data)
    return 0;
  uint32_t formats = 0;
  if (data->hasText())
    formats |= kText | kUnicodeText;
  if (data->hasImage())
    formats |= kBitmap;
  for (const char* type : kMetafileTypes)
    if (data->hasFormat(QString::fromLatin1(type)))
      formats |= kMetafile;
  return formats;
}

bool TClipboard::SaveBitmap(const std::string& path) const
{
  const QClipboard* clipboard = m_open ? SystemClipboard() : nullptr;
  if (!clipboard)
    return false;
  const QImage image = clipboard->image().convertToFormat(QImage::Format_RGB888);
  if (image.isNull())
    return false;
  ClipboardPng writer(image);
  if (!writer.SetSize(static_cast<uint32_t>(image.width()), static_cast<uint32_t>(image.height()), 24) ||
      !writer.Open(path))
    return false;
  const bool written = writer.Write();
  return writer.Close() && written;
}

std::vector<uint8_t> TClipboard::MetafileBytes() const
{
  const QClipboard* clipboard = m_open ? SystemClipboard() : nullptr;
  const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
  if (!data)
    return {};
  for (const char* type : kMetafileTypes) {
    const QByteArray bytes = data->data(QString::fromLatin1(type));
    if (!bytes.isEmpty())
      return std::vector<uint8_t>(bytes.begin(), bytes.end());
  }
  return {};
}

std::vector<uint8_t> TClipboard::MakePlaceable(const std::vector<uint8_t>& metafile)
{
  if (metafile.size() >= wmf::kPlaceableSize && wmf::GetDword(metafile.data()) == wmf::kPlaceableKey)
    return metafile;
  if (metafile.size() < wmf::kHeaderSize || !wmf::StartsWithMetafileHeader(metafile.data(), metafile.size()))
    return {};
  int16_t width = 0, height = 0;
  size_t at = wmf::kHeaderSize;
  while (at + 6 <= metafile.size()) {
    const uint32_t words = wmf::GetDword(metafile.data() + at);
    const uint16_t function = wmf::GetWord(metafile.data() + at + 4);
    if (words < 3 || words > (metafile.size() - at) / 2 || function == wmf::kEof)
      break;
    if (function == wmf::kSetWindowExt && words >= 5) {
      // The parameters come last first: the height, then the width.
      const auto h = static_cast<int16_t>(wmf::GetWord(metafile.data() + at + 6));
      const auto w = static_cast<int16_t>(wmf::GetWord(metafile.data() + at + 8));
      if (w > 0 && h > 0) {
        width = w;
        height = h;
      }
      break;
    }
    at += size_t{words} * 2;
  }
  if (width == 0 || height == 0)
    width = height = kDefaultMetafileSide;
  std::vector<uint8_t> placeable = wmf::PlaceableHeader(0, 0, width, height, 1000);
  placeable.insert(placeable.end(), metafile.begin(), metafile.end());
  return placeable;
}

bool TClipboard::SaveMetafile(const std::string& path) const
{
  const std::vector<uint8_t> placeable = MakePlaceable(MetafileBytes());
  if (placeable.empty())
    return false;
  return SaveFileAtomic(path,
                        std::string_view(reinterpret_cast<const char*>(placeable.data()), placeable.size()));
}

int32_t TClipboard::AskClipboardImage(TUserInput& input, std::string& path)
{
  TClipboard clipboard;
  if (!clipboard.Open())
    return 0;
  const uint32_t formats = clipboard.Formats();
  if ((formats & (kBitmap | kMetafile)) == 0)
    return 0;
  const bool metafile = (formats & kMetafile) != 0;
  const std::string title = LoadStr(IDS_CLIPBOARD_IMAGE_TITLE);
  const auto askEmpty = [&] {
    if (input.MessageBox(LoadStr(IDS_CLIPBOARD_EMPTY_QUESTION), title, MB_YESNO_ | MB_ICONQUESTION_) ==
        IDYES_)
      clipboard.Empty();
  };
  const int32_t answer =
      input.MessageBox(LoadStr(metafile ? IDS_CLIPBOARD_WMF_AVAILABLE : IDS_CLIPBOARD_PNG_AVAILABLE), title,
                       MB_YESNOCANCEL_ | MB_ICONQUESTION_);
  if (answer != IDYES_) {
    askEmpty();
    return answer;
  }
  std::string chosen;
  if (!input.ChooseSaveFile(
          chosen,
          std::string(LoadStr(metafile ? IDS_CLIPBOARD_WMF_FILTER : IDS_CLIPBOARD_PNG_FILTER)) +
              (metafile ? "|*.wmf" : "|*.png"),
          metafile ? "wmf" : "png"))
    return 0;
  const bool written = metafile ? clipboard.SaveMetafile(chosen) : clipboard.SaveBitmap(chosen);
  if (!written)
    return 0;
  askEmpty();
  path = chosen;
  return kMadeFile;
}
