#include "SheetExport.h"
#include "PageBinding.h"
#include "PageSettingsCommands.h"
#include "TClientModuleLayer.h"
#include "TSvgDevice.h"

#include "Colors.h"
#include "Messages.h"
#include "StringTable.h"
#include "TBrush.h"
#include "TClient.h"
#include "TMetaFile.h"
#include "TOutStream.h"
#include "TPageMem.h"
#include "WorkMonitor.h"

#include <QBuffer>
#include <QPageSize>
#include <QPdfWriter>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
// Device pixels per inch of a PDF page: fine enough that the rounding of
// the page mapping is invisible at any print size.
constexpr int kPdfResolution = 1200;

enum class SheetFormat { kUnknown, kPng, kJpeg, kGif, kPdf, kSvg, kWmf };

SheetFormat FormatOf(const std::string& path)
{
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".png")
    return SheetFormat::kPng;
  if (extension == ".jpg" || extension == ".jpeg")
    return SheetFormat::kJpeg;
  if (extension == ".gif")
    return SheetFormat::kGif;
  if (extension == ".pdf")
    return SheetFormat::kPdf;
  if (extension == ".svg")
    return SheetFormat::kSvg;
  if (extension == ".wmf")
    return SheetFormat::kWmf;
  return SheetFormat::kUnknown;
}

bool Fail(std::string* error, std::string reason)
{
  if (error)
    *error = std::move(reason);
  return false;
}

// The objects are walked once, on this thread, into a recording of the
// page; the recording is then drawn in bands on every core.
bool RenderSheetOnCores(TClient& client, TPageMem& image)
{
  bool complete = true;
  image.PaintOnCores([&](TPage& page) { complete = RenderSheet(client, page); });
  return complete;
}

bool ExportRaster(TClient& client, const std::string& path, SheetFormat format, int32_t zoom, int32_t quality,
                  std::string* error, bool& complete)
{
  const TPage& page = *client.GetPage();
  TPageMem image(page.GetPaperWidth(), page.GetPaperHeight(), zoom);
  if (!image.HasBitmap())
    return Fail(error, FormatStr(IDS_EXPORT_NO_IMAGE, zoom));
  complete = RenderSheetOnCores(client, image);
  if (WorkMonitor::Cancelled())
    return Fail(error, LoadStr(IDS_EXPORT_CANCELLED));
  // The file's own reason when it has one, else what the failing call of
  // the encoder left in errno.
  errno = 0;
  std::string reason;
  bool written = false;
  if (format == SheetFormat::kPng)
    written = image.ExportPng(path, -1, &reason);
  else if (format == SheetFormat::kGif)
    written = image.ExportGif(path, &reason);
  else
    written = image.ExportJpeg(path, std::clamp(quality, 0, 100), &reason);
  if (written)
    return true;
  if (!reason.empty())
    return Fail(error, reason);
  const int code = errno;
  return Fail(error, code != 0 ? FormatStr(IDS_EXPORT_WRITE_FAILED_REASON, path.c_str(), std::strerror(code))
                               : FormatStr(IDS_EXPORT_WRITE_FAILED, path.c_str()));
}

// Renders the sheet onto a vector device whose pixels are `resolution` per
// inch, so that the paper comes out at its physical size.
bool RenderVector(TClient& client, QPaintDevice& device, int resolution, bool& complete)
{
  TPage sheet;
  sheet.CopyPaperSettings(*client.GetPage());
  sheet.SetUseResolution(1);
  sheet.SetPixelsPerInch(resolution, resolution);
  if (!BindPage(sheet, &device, TPage::kCreated))
    return false;
  complete = RenderSheet(client, sheet);
  sheet.Release();
  return true;
}

bool ExportVector(TClient& client, const std::string& path, SheetFormat format, std::string* error,
                  bool& complete)
{
  const TPage& page = *client.GetPage();
  const int32_t width = page.GetPaperWidth();
  const int32_t height = page.GetPaperHeight();
  const double unitsPerInch = page.GetUnitsPerInch();
  if (width < 1 || height < 1)
    return Fail(error, FormatStr(IDS_EXPORT_NO_IMAGE, 100));
  const std::string title = std::filesystem::path(path).stem().string();

  // The file is made in memory and written in one piece.
  std::string svg;
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  bool painted = false;
  if (format == SheetFormat::kPdf) {
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("Vekta"));
    writer.setTitle(QString::fromStdString(title));
    writer.setResolution(kPdfResolution);
    const QSizeF points(width / unitsPerInch * 72.0, height / unitsPerInch * 72.0);
    writer.setPageSize(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    painted = RenderVector(client, writer, kPdfResolution, complete);
  } else {
    painted = RenderSvgSheet(client, title, svg, complete);
  }
  buffer.close();
  if (!painted)
    return Fail(error, FormatStr(IDS_EXPORT_PAINT_FAILED, path.c_str()));
  if (WorkMonitor::Cancelled())
    return Fail(error, LoadStr(IDS_EXPORT_CANCELLED));
  const std::string_view bytes =
      format == SheetFormat::kPdf
          ? std::string_view(buffer.data().constData(), static_cast<size_t>(buffer.data().size()))
          : std::string_view(svg);
  std::string reason;
  if (!SaveFileAtomic(path, bytes, &reason))
    return Fail(error, reason);
  return true;
}

} // namespace

// The SVG file: written by a device of its own that keeps the drawing's
// objects, groups, symbols and layers, so that an editor opens it as the
// drawing rather than as a heap of shapes.
bool RenderSvgSheet(TClient& client, const std::string& title, std::string& svg, bool& complete)
{
  const TPage& page = *client.GetPage();
  // The millimetre units keep millimetres in the file's paper size.
  const bool metric = UnitIndexOf(page.GetUnitsPerInch()) >= 3;
  auto device = std::make_unique<TSvgDevice>(page.GetPaperWidth(), page.GetPaperHeight(),
                                             page.GetUnitsPerInch(), metric);
  TSvgDevice* svgDevice = device.get();
  svgDevice->SetTitle(title);
  // Dashes and hatches look as they do on screen at 100 %, where a pixel is
  // a logical unit unless the page follows the screen's resolution.
  svgDevice->SetPixelUnits(page.GetUseResolution() ? page.GetUnitsPerInch() / 96.0 : 1.0);
  // Hidden layers go into the file too, hidden, so nothing is lost to
  // whoever opens it.
  const uint16_t visible = page.GetVisibleLayers();
  TClientModuleLayer* layers = nullptr;
  client.Message(MSG_LAYER_DATA, 0, 0, &layers);
  for (int i = 0; i < TClientModuleLayer::kLayerCount; ++i)
    svgDevice->SetLayer(i, layers && layers->GetName(i) ? layers->GetName(i) : "", (visible >> i) & 1);

  TPage sheet;
  sheet.CopyPaperSettings(page);
  if (!sheet.BindBackend(std::move(device), TPage::kCreated))
    return false;
  complete = RenderSheet(client, sheet, 0xFF);
  svg = svgDevice->Finish();
  sheet.Release();
  return true;
}

bool IsSheetExportType(const std::string& path)
{
  return FormatOf(path) != SheetFormat::kUnknown;
}

bool RenderSheet(TClient& client, TPage& target, uint16_t layers)
{
  const TPage& page = *client.GetPage();
  target.SetVisibleLayers(layers != 0 ? layers : page.GetVisibleLayers());
  const uint32_t background = client.GetColor(1);
  TBrush brush;
  brush.SetStyle(TBrush::kSolid);
  brush.SetColor(background == kNoColor ? kWhite : background);
  target.FillRect(0, 0, page.GetPaperWidth(), page.GetPaperHeight(), &brush);
  // Nothing beyond the paper is shown: objects there are not drawn at all,
  // and those reaching into it draw only what falls on it.
  const TRect paper(0, 0, page.GetPaperWidth(), page.GetPaperHeight());
  TRect kept;
  const bool hadClip = target.GetClipRect(kept);
  target.SetClipRect(&paper);
  client.PaintObjects(&target, TData::kPaintOutput);
  target.SetClipRect(hadClip ? &kept : nullptr);
  return !target.NestedPaintLimited();
}

bool WriteMetafile(TClient& client, const std::string& path, int32_t width, int32_t height,
                   std::string* error, std::string* warning)
{
  const TPage& page = *client.GetPage();
  TMetaFile metafile(path, width, height);
  if (!metafile.HasDevice())
    return Fail(error, FormatStr(IDS_EXPORT_NO_TEMP_FILE, path.c_str()));
  metafile.SetUnitsPerInch(page.GetUnitsPerInch());
  metafile.SetVisibleLayers(page.GetVisibleLayers());
  client.PaintObjects(&metafile, TData::kPaintOutput);
  // Given up: the recording goes with the metafile page, unwritten.
  if (WorkMonitor::Cancelled())
    return Fail(error, LoadStr(IDS_EXPORT_CANCELLED));
  const bool complete = !metafile.NestedPaintLimited();
  if (!metafile.Close(true))
    return Fail(error, metafile.Error().empty() ? FormatStr(IDS_EXPORT_WRITE_FAILED, path.c_str())
                                                : metafile.Error());
  if (!complete && warning)
    *warning = FormatStr(IDS_EXPORT_PARTIAL, path.c_str());
  return true;
}

bool ExportSheet(TClient& client, const std::string& path, int32_t zoom, int32_t quality, std::string* error,
                 std::string* warning)
{
  const SheetFormat format = FormatOf(path);
  bool complete = true;
  bool written = false;
  switch (format) {
  case SheetFormat::kPng:
  case SheetFormat::kJpeg:
  case SheetFormat::kGif:
    written = ExportRaster(client, path, format, zoom, quality, error, complete);
    break;
  case SheetFormat::kPdf:
  case SheetFormat::kSvg:
    written = ExportVector(client, path, format, error, complete);
    break;
  case SheetFormat::kWmf:
    return WriteMetafile(client, path, client.GetPage()->GetPaperWidth(), client.GetPage()->GetPaperHeight(),
                         error, warning);
  case SheetFormat::kUnknown:
    return Fail(error,
                FormatStr(IDS_EXPORT_UNKNOWN_TYPE, std::filesystem::path(path).extension().string().c_str()));
  }
  if (written && !complete && warning)
    *warning = FormatStr(IDS_EXPORT_PARTIAL, path.c_str());
  return written;
}
