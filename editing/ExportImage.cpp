#include "ExportImage.h"

#include "ClassTable.h"
#include "CommandIds.h"
#include "LongWork.h"
#include "Messages.h"
#include "SheetExport.h"
#include "StringTable.h"
#include "TPage.h"
#include "TUserInput.h"
#include "TaClientPage.h"
#include "WaitCursor.h"

#include <algorithm>
#include <filesystem>
#include <optional>

namespace {

constexpr int32_t kMaxZoom = 100;
constexpr uint32_t kExportPaperSize = 1;
constexpr uint32_t kExportAskName = 2;
constexpr uint32_t kExportNoWaitCursor = 4;
constexpr int32_t kMinZoom = 10;

struct ImageType
{
  const char* extension; // without the dot, the dialog's default
  uint32_t filter;
  bool vector = false; // at the paper's physical size: no zoom to ask
};

bool TypeOf(uint16_t command, ImageType& type)
{
  switch (command) {
  case CM_EXPORT_PNG:
    type = {"png", IDS_EXPORT_PNG_FILTER};
    return true;
  case CM_EXPORT_JPG:
    type = {"jpg", IDS_EXPORT_JPG_FILTER};
    return true;
  case CM_EXPORT_GIF:
    type = {"gif", IDS_EXPORT_GIF_FILTER};
    return true;
  case CM_EXPORT_PDF:
    type = {"pdf", IDS_EXPORT_PDF_FILTER, true};
    return true;
  case CM_EXPORT_SVG:
    type = {"svg", IDS_EXPORT_SVG_FILTER, true};
    return true;
  default:
    return false;
  }
}

// The document's path with the image extension; an untitled document
// proposes its title.
std::string ProposedName(const TaClientPage& view, const char* extension)
{
  std::filesystem::path name = view.GetFilePath().empty() ? view.GetTitle() : view.GetFilePath();
  name.replace_extension(extension);
  return name.string();
}

} // namespace

int32_t& ExportJpegQuality()
{
  static int32_t quality = kDefaultJpegQuality;
  return quality;
}

bool ExportZoomRange(int32_t width, int32_t height, int32_t& lower, int32_t& upper)
{
  if (std::max(width, height) < 1 || std::min(width, height) <= 0)
    return false;
  upper = kMaxZoom;
  lower = std::clamp(kMaxZoom / std::min(width, height), kMinZoom, kMaxZoom);
  return true;
}

int32_t ExportImage(TaClientPage& view, uint16_t command)
{
  TUserInput* input = view.GetInput();
  const TPage* page = view.GetPage();
  ImageType type;
  if (!input || !page || !TypeOf(command, type))
    return 0;
  if (view.ObjectCount() == 0 && input->MessageBox(LoadStr(IDS_EXPORT_EMPTY_PAGE), LoadStr(IDS_EXPORT_TITLE),
                                                   MB_YESNO_ | MB_ICONQUESTION_) != IDYES_)
    return 0;

  std::string path = ProposedName(view, type.extension);
  if (!input->ChooseSaveFile(path, LoadStr(type.filter), type.extension) || path.empty())
    return 0;

  int32_t lower = 0, upper = 0;
  if (!ExportZoomRange(page->GetPaperWidth(), page->GetPaperHeight(), lower, upper))
    return 0;
  int32_t zoom = 100;
  if (!type.vector) {
    zoom = std::clamp(view.GetExportScale(), lower, upper);
    if (AskInteger(*input, zoom, lower, upper, LoadStr(IDS_ZOOM_TITLE), LoadStr(IDS_ZOOM_LABEL)) == 0)
      return 0;
    view.SetExportScale(zoom);
  }

  if (command == CM_EXPORT_JPG) {
    int32_t quality = ExportJpegQuality();
    if (AskInteger(*input, quality, 0, 100, LoadStr(IDS_EXPORT_QUALITY_TITLE),
                   LoadStr(IDS_EXPORT_QUALITY_LABEL)) == 0)
      return 0;
    ExportJpegQuality() = quality;
  }

  std::string error, warning;
  bool written = false;
  bool cancelled = false;
  {
    WaitCursor wait(view);
    LongWork work(*input, LoadStr(IDS_EXPORT_WORKING));
    written = ExportSheet(view, path, zoom, ExportJpegQuality(), &error, &warning);
    cancelled = work.Cancelled();
  }
  // Given up by the user, who knows: nothing was written, nothing to say.
  if (cancelled)
    return 0;
  if (!written) {
    input->MessageBox(FormatStr(IDS_EXPORT_FAILED, error.c_str()), LoadStr(IDS_EXPORT_TITLE),
                      MB_OK_ | MB_ICONSTOP_);
    return 0;
  }
  if (!warning.empty())
    input->MessageBox(warning, LoadStr(IDS_EXPORT_TITLE), MB_OK_ | MB_ICONEXCLAMATION_);
  return 1;
}

std::string ProposedWmfName(const TaClientPage& view)
{
  return ProposedName(view, "wmf");
}

int32_t ExportWmf(TaClientPage& view, std::string fileName, uint32_t flags)
{
  TUserInput* input = view.GetInput();
  const TPage* page = view.GetPage();
  if (!input || !page)
    return 0;
  for (int32_t i = 0; i < view.ObjectCount(); ++i) {
    TData* object = view.ObjectAtIndex(i);
    if (object->ClassId() == kTDataImage && object->Message(MSG_IMAGE_IS_METAFILE, 0, 0, nullptr) != 0) {
      if (input->MessageBox(LoadStr(IDS_EXPORT_WMF_IMAGES), LoadStr(IDS_EXPORT_WMF_TITLE),
                            MB_OKCANCEL_ | MB_ICONEXCLAMATION_) != IDOK_)
        return 0;
      break;
    }
  }
  if ((flags & kExportAskName) != 0 || fileName.empty()) {
    if (!input->ChooseSaveFile(fileName, LoadStr(IDS_EXPORT_WMF_FILTER), "wmf") || fileName.empty())
      return 0;
  }
  int32_t width = page->GetPaperWidth();
  int32_t height = page->GetPaperHeight();
  if ((flags & kExportPaperSize) == 0) {
    // From the page's origin to the farthest right and bottom edge drawn.
    width = height = 0;
    for (int32_t i = 0; i < view.ObjectCount(); ++i) {
      TRect bounds;
      view.ObjectAtIndex(i)->GetRect(bounds, kRectDrawing);
      width = std::max(width, bounds.right);
      height = std::max(height, bounds.bottom);
    }
  }
  std::string error, warning;
  bool written = false;
  bool cancelled = false;
  {
    std::optional<WaitCursor> wait;
    if ((flags & kExportNoWaitCursor) == 0)
      wait.emplace(view);
    LongWork work(*input, LoadStr(IDS_EXPORT_WORKING));
    written = WriteMetafile(view, fileName, width, height, &error, &warning);
    cancelled = work.Cancelled();
  }
  if (cancelled)
    return 0;
  if (!written) {
    input->MessageBox(FormatStr(IDS_EXPORT_FAILED, error.c_str()), LoadStr(IDS_EXPORT_WMF_TITLE),
                      MB_OK_ | MB_ICONSTOP_);
    return 0;
  }
  if (!warning.empty())
    input->MessageBox(warning, LoadStr(IDS_EXPORT_WMF_TITLE), MB_OK_ | MB_ICONEXCLAMATION_);
  return 1;
}
