#include "TImage.h"

#include "ClassTable.h"
#include "Colors.h"
#include "CommandIds.h"
#include "Geometry.h"
#include "ImageReaders.h"
#include "Messages.h"
#include "ObjectCreation.h"
#include "ObjectPaint.h"
#include "StringTable.h"
#include "TAtomicFile.h"
#include "TClient.h"
#include "TClipboard.h"
#include "TImageBuffer.h"
#include "TImageCache.h"
#include "TMetaFilePlayer.h"
#include "TPage.h"
#include "TString.h"
#include "TUserInput.h"
#include "WaitCursor.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace {

constexpr uint32_t kMaskA = 0x54000003;
constexpr uint32_t kMaskBMetafile = 0x100010;
constexpr uint32_t kMaskBOpaque = 0x120010;
constexpr uint32_t kMaskBTransparent = 0x140010;
constexpr uint32_t kMaskBSource = 0x1800;
// Where the placeholder text starts inside the frame.
constexpr int32_t kPlaceholderInset = 4;
constexpr int32_t kPathBuffer = 4096;

// The folder of the document view shows; empty for a document never saved
// or without a view.
std::string DocumentFolder(TDataOwner* view)
{
  char document[kPathBuffer] = {};
  if (!view || view->Message(MSG_FILE_PATH_QUERY, kPathBuffer, 0, document) == 0)
    return {};
  return QFileInfo(QString::fromUtf8(document)).absolutePath().toStdString();
}

// The bare name of a stored path, whichever separator the system that wrote
// it used.
std::string BareName(const std::string& path)
{
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

TImage::TImage()
{
  classId = kTDataImage;
  pen = TPen(MakeColor(255, 255, 255), 1, TPen::kSolid);
  brush.SetStyle(TBrush::kSolid);
  brush.SetColor(MakeColor(255, 255, 255));
}

TImage::TImage(int32_t x, int32_t y, int32_t width, int32_t height) : TImage()
{
  Assign(TRect(x, y, SaturateInt32(int64_t{x} + width), SaturateInt32(int64_t{y} + height)));
}

TImage::~TImage()
{
  ReleaseBuffer();
}

bool TImage::IsMetafile() const
{
  return buffer && buffer->IsMetafile();
}

void TImage::SetSource(int32_t x, int32_t y, int32_t w, int32_t h)
{
  srcX = x;
  srcY = y;
  srcW = w;
  srcH = h;
  Normalize(true);
}

// ---- the picture ----

bool TImage::TakeBuffer(TImageBuffer* shared)
{
  if (!shared)
    return false;
  buffer = shared;
  imageWidth = shared->Width();
  imageHeight = shared->Height();
  bitsPerPixel = shared->BitsPerPixel();
  return true;
}

void TImage::ReleaseBuffer()
{
  if (!buffer)
    return;
  TImageCache::Instance().Release(buffer);
  buffer = nullptr;
  if (imageFlags & kResetSourceOnRelease)
    srcX = srcY = srcW = srcH = 0;
}

bool TImage::Load(const std::string& path)
{
  ReleaseBuffer();
  if (path.empty())
    return false;
  fileName = path;
  // A relative path is relative to the document, wherever the program was
  // started from.
  const std::string folder = DocumentFolder(owner);
  std::string found = path;
  if (!folder.empty() && QFileInfo(QString::fromStdString(path)).isRelative())
    found = folder + "/" + path;
  if (!IsPictureFile(found)) {
    lastError = kStringError | IDS_ORIGINAL_NOT_FOUND;
    // A document moved with its pictures finds them next to itself.
    if (folder.empty())
      return false;
    found = folder + "/" + BareName(path);
    if (!IsPictureFile(found))
      return false;
  }
  const PictureKind kind = KindOfPath(found);
  if (kind == PictureKind::kUnknown)
    return false;
  TImageCache& cache = TImageCache::Instance();
  if (!TakeBuffer(cache.Share(found))) {
    ImageReadResult read = ReadPictureFile(found, kind);
    if (!read.buffer) {
      lastError = kStringError | static_cast<int32_t>(read.error & 0xFFFF);
      return false;
    }
    TakeBuffer(cache.Adopt(std::move(read.buffer)));
  }
  Normalize(true);
  return true;
}

void TImage::Normalize(bool heightFollows)
{
  if (imageWidth <= 0 || imageHeight <= 0)
    return;
  srcX = std::clamp(srcX, 0, imageWidth - 1);
  srcY = std::clamp(srcY, 0, imageHeight - 1);
  srcW = srcW > 0 ? std::clamp(srcW, 1, imageWidth - srcX) : imageWidth - srcX;
  srcH = srcH > 0 ? std::clamp(srcH, 1, imageHeight - srcY) : imageHeight - srcY;
  if (GetSizingMode() != kProportional || (imageFlags & kKeepFrame))
    return;
  if (heightFollows)
    bottom = SaturateInt32(int64_t{top} + MulDivRound(Width(), srcH, srcW));
  else
    right = SaturateInt32(int64_t{left} + MulDivRound(Height(), srcW, srcH));
}

bool TImage::SetSizingMode(int32_t mode)
{
  if (mode < kNatural || mode > kNoPicture)
    return false;
  imageFlags = static_cast<uint16_t>((imageFlags & ~kSizingMask) | mode);
  Normalize(true);
  return true;
}

void TImage::ResetSource()
{
  srcX = srcY = srcW = srcH = 0;
  Normalize(true);
}

bool TImage::MoveSource(uint32_t which, int32_t dx, int32_t dy)
{
  if (!buffer || imageWidth <= 0 || imageHeight <= 0)
    return false;
  // Only the dominant axis counts; a tie goes to the vertical one.
  if (std::abs(int64_t{dx}) <= std::abs(int64_t{dy}))
    dx = 0;
  else
    dy = 0;
  const int32_t before[4] = {srcX, srcY, srcW, srcH};
  if (which == CM_OBJ_POSITION_IN_IMAGE) {
    srcX = std::clamp(SaturateInt32(int64_t{srcX} + dx), 0, std::max(0, imageWidth - srcW));
    srcY = std::clamp(SaturateInt32(int64_t{srcY} + dy), 0, std::max(0, imageHeight - srcH));
  } else {
    srcW = std::clamp(SaturateInt32(int64_t{srcW} + dx), 1, std::max(1, imageWidth - srcX));
    srcH = std::clamp(SaturateInt32(int64_t{srcH} + dy), 1, std::max(1, imageHeight - srcY));
  }
  const bool changed = before[0] != srcX || before[1] != srcY || before[2] != srcW || before[3] != srcH;
  if (changed)
    Normalize(dy != 0);
  return changed;
}

// ---- stored record ----

TInStream& TImage::Read(TInStream& is)
{
  int32_t version = 0;
  if (!BeginRecord(is, kTDataImage, version))
    return is;
  uint16_t flags = imageFlags;
  is >> flags;
  if (is)
    imageFlags = flags;
  if (version >= 1) {
    int32_t x = 0, y = 0, w = 0, h = 0;
    is >> x >> y >> w >> h;
    if (is) {
      srcX = x;
      srcY = y;
      srcW = w;
      srcH = h;
    }
  }
  EndFirstLine(is, version, kVersion);
  TString name;
  ReadInto(is, name);
  fileName = name.Str();
  TData::Read(is);
  return is;
}

TOutStream& TImage::Write(TOutStream& os) const
{
  WriteHeader(os, kTDataImage, kVersion);
  os << ' ' << imageFlags << ' ' << srcX << ' ' << srcY << ' ' << srcW << ' ' << srcH << '\n';
  WriteNested(os, TString(fileName));
  os << '\t';
  return TData::Write(os);
}

// ---- geometry ----

bool TImage::Resize(int32_t dx, int32_t dy)
{
  const TPoint centre = Center();
  const bool resized = TData::Resize(dx, dy);
  Normalize(std::abs(int64_t{dx}) > std::abs(int64_t{dy}));
  if (imageFlags & kViewerCopy) {
    // In the viewer the picture grows and shrinks about its centre.
    const TPoint now = Center();
    Offset(SaturatedDifference(centre.x, now.x), SaturatedDifference(centre.y, now.y));
  }
  return resized;
}

void TImage::GetRect(TRect& out, int32_t mode) const
{
  if (mode != kRectDrawing) {
    TData::GetRect(out, mode);
    return;
  }
  out = StrokeBounds(*this);
  if (IsMetafile() && imageWidth > 0 && imageHeight > 0) {
    // What a metafile draws may spill over its frame.
    const int32_t mx = 1 + Width() / imageWidth;
    const int32_t my = 1 + Height() / imageHeight;
    out = TRect(SaturatedDifference(out.left, mx), SaturatedDifference(out.top, my),
                SaturateInt32(int64_t{out.right} + mx), SaturateInt32(int64_t{out.bottom} + my));
  }
  if (imageFlags & kViewerCopy)
    out = TRect(SaturatedDifference(out.left, 2), SaturatedDifference(out.top, 2),
                SaturateInt32(int64_t{out.right} + 2), SaturateInt32(int64_t{out.bottom} + 2));
}

void TImage::SetRect(const TRect& r, int32_t mode)
{
  if (mode != kRectFit) {
    TData::SetRect(r, mode);
    return;
  }
  ResetSource();
  if (imageWidth <= 0 || imageHeight <= 0)
    return;
  double scale = 1.0;
  if (imageWidth > r.Width())
    scale = std::min(scale, double(r.Width()) / imageWidth);
  if (imageHeight > r.Height())
    scale = std::min(scale, double(r.Height()) / imageHeight);
  const int32_t w = RoundHalfAway(imageWidth * scale);
  const int32_t h = RoundHalfAway(imageHeight * scale);
  const int32_t x = SaturateInt32(int64_t{r.left} + (int64_t{r.Width()} - w) / 2);
  const int32_t y = SaturateInt32(int64_t{r.top} + (int64_t{r.Height()} - h) / 2);
  Assign(TRect(x, y, SaturateInt32(int64_t{x} + w), SaturateInt32(int64_t{y} + h)));
}

// ---- painting ----

bool TImage::Paint(TPage* page, uint8_t mode)
{
  if (mode & kPaintViewer) {
    if (!page || !IsOnPage(page))
      return false;
  } else if (!BeginPaint(*this, page, mode)) {
    return false;
  }
  if (mode & (kPaintScreen | kPaintOutput | kPaintViewer))
    PaintPicture(page, mode);
  if (WantsHighlight(*this, mode)) {
    BeginHighlight(page);
    page->Rectangle(*this);
    EndHighlight(page);
  }
  return true;
}

void TImage::PaintPicture(TPage* page, uint8_t mode)
{
  if (!buffer) {
    page->SelectPen(pen);
    page->SelectBrush(brush);
    page->Rectangle(*this);
    page->RestoreDefaults();
    TRect before;
    const bool hadClip = page->GetClipRect(before);
    TRect clip = *this;
    if (hadClip)
      clip = TRect(std::max(clip.left, before.left), std::max(clip.top, before.top),
                   std::min(clip.right, before.right), std::min(clip.bottom, before.bottom));
    page->SetClipRect(&clip);
    page->SetBkMode(1);
    page->TextOut(SaturateInt32(int64_t{left} + kPlaceholderInset),
                  SaturateInt32(int64_t{top} + kPlaceholderInset), kPlaceholder);
    page->SetClipRect(hadClip ? &before : nullptr);
    page->RestoreDefaults();
    return;
  }
  const int32_t sizing = GetSizingMode();
  if (mode == kPaintViewer) {
    // The whole picture, stretched into the frame, with a frame round it.
    if (buffer->IsMetafile())
      PlayMetafile(*page, *buffer, *this, imageWidth, imageHeight, buffer->MetaLeft(), buffer->MetaTop());
    else
      page->DrawImage(*this, buffer->Picture(false));
    page->SelectPen(pen);
    TBrush hollow;
    hollow.SetStyle(TBrush::kHollow);
    page->SelectBrush(hollow);
    page->Rectangle(TRect(left - 2, top - 2, right + 2, bottom + 2));
    page->RestoreDefaults();
    return;
  }
  if (sizing == kNoPicture || srcW <= 0 || srcH <= 0)
    return;
  TRect dest = *this;
  int32_t w = srcW, h = srcH;
  if (sizing == kNatural) {
    // One picture pixel to one unit, from the top-left corner.
    w = std::min(srcW, Width());
    h = std::min(srcH, Height());
    dest = TRect(left, top, SaturateInt32(int64_t{left} + w), SaturateInt32(int64_t{top} + h));
  } else if (sizing == kProportional && (imageFlags & kKeepFrame)) {
    const int32_t fitted = MulDivRound(Width(), srcH, srcW);
    if (fitted > Height())
      dest.right = SaturateInt32(int64_t{left} + MulDivRound(Height(), srcW, srcH));
    else
      dest.bottom = SaturateInt32(int64_t{top} + fitted);
  }
  if (dest.IsEmpty())
    return;
  if (buffer->IsMetafile()) {
    PlayMetafile(*page, *buffer, dest, w, h, buffer->MetaLeft() + srcX, buffer->MetaTop() + srcY);
    return;
  }
  const TRect source(srcX, srcY, srcX + w, srcY + h);
  page->DrawImage(dest, buffer->Picture((imageFlags & kTransparent) != 0), &source);
}

// ---- messages and commands ----

uint32_t TImage::Message(uint32_t message, int32_t a, int32_t b, void* p)
{
  switch (message) {
  case MSG_TYPE_NAME:
    return IDS_NAME_IMAGE;
  case MSG_MASK_A:
    return kMaskA;
  case MSG_MASK_B: {
    if (IsMetafile())
      return kMaskBMetafile;
    uint32_t mask = (imageFlags & kTransparent) ? kMaskBTransparent : kMaskBOpaque;
    if (buffer)
      mask |= kMaskBSource;
    return mask;
  }
  case WM_LBUTTONDBLCLK_: {
    if (imageFlags & kViewerCopy)
      return 0;
    TDataOwner* view = static_cast<TClient*>(p); // the view passes itself
    TUserInput* input = view ? view->GetInput() : owner ? owner->GetInput() : nullptr;
    if (!input || !buffer)
      return 0;
    std::unique_ptr<TImage> copy(static_cast<TImage*>(Clone(nullptr, 0)));
    copy->SetState(kSelected, false);
    copy->SetSizingMode(kProportional);
    copy->imageFlags |= kViewerCopy;
    copy->pen = TPen(MakeColor(255, 255, 255), 1, TPen::kSolid);
    input->ShowPictureViewer(*copy);
    return 1;
  }
  case MSG_REFRESH_NO_WINDOW:
  case MSG_REFRESH:
    // Load if needed: after a document is read the pictures are fetched.
    if (buffer || fileName.empty())
      return 0;
    return Load(fileName) ? 1 : 0;
  case CM_OBJ_POSITION_IN_IMAGE:
  case CM_OBJ_SIZE_IN_IMAGE: {
    TRect before;
    GetRect(before, kRectDrawing);
    if (!MoveSource(message, a, b))
      return 0;
    if (TDataOwner* view = static_cast<TClient*>(p)) {
      TRect after;
      GetRect(after, kRectDrawing);
      view->Invalidate(before);
      view->Invalidate(after);
      view->UpdateWindow();
    }
    return 1;
  }
  case MSG_LEFT_DOCUMENT:
    ReleaseBuffer();
    return 1;
  case MSG_BACK_IN_DOCUMENT:
    return buffer || fileName.empty() ? 0 : Load(fileName) ? 1 : 0;
  case MSG_IMAGE_IS_METAFILE:
    return IsMetafile() ? 1 : 0;
  default:
    return TData::Message(message, a, b, p);
  }
}

uint16_t TImage::ContextCommand(TDataOwner* client, uint16_t command)
{
  command = ChooseCommand(client, command);
  if (command == 0)
    return 0;
  TUserInput* input = client ? client->GetInput() : nullptr;
  switch (command) {
  case CM_OBJ_CHANGE_FILE:
    if (!ChangeFile(client))
      return 0;
    break;
  case CM_OBJ_INFORMATIONS:
    ShowInformations(client);
    return command;
  case CM_OBJ_SIZING_MODE: {
    if (!input)
      return 0;
    int32_t choice = std::min(GetSizingMode(), static_cast<int32_t>(kProportional));
    const std::vector<std::string> options = {LoadStr(IDS_IMAGE_SIZING_NATURAL),
                                              LoadStr(IDS_IMAGE_SIZING_STRETCHED),
                                              LoadStr(IDS_IMAGE_SIZING_PROPORTIONAL)};
    if (!input->ChooseOption(LoadStr(IDS_IMAGE_SIZING_TITLE), LoadStr(IDS_IMAGE_SIZING_TITLE), options,
                             choice))
      return 0;
    SetSizingMode(choice);
    break;
  }
  case CM_OBJ_POSITION_IN_IMAGE:
  case CM_OBJ_SIZE_IN_IMAGE: {
    if (!client || !buffer || IsMetafile())
      return 0;
    // Kept to put everything back when the user gives up.
    const int32_t before[4] = {srcX, srcY, srcW, srcH};
    const TRect frame = *this;
    TClient* view = client->Client();
    if (!view || view->TrackRelative(this, command) == 0) {
      TRect drawn;
      GetRect(drawn, kRectDrawing);
      srcX = before[0];
      srcY = before[1];
      srcW = before[2];
      srcH = before[3];
      Assign(frame);
      client->Invalidate(drawn);
      client->UpdateWindow();
      return 0;
    }
    break;
  }
  case CM_OBJ_TRANSPARENT:
    imageFlags |= kTransparent;
    break;
  case CM_OBJ_OPAQUE:
    imageFlags &= static_cast<uint16_t>(~kTransparent);
    break;
  default:
    return TData::ContextCommand(client, command);
  }
  Notify(command, nullptr);
  return command;
}

TData* TImage::Clone(TData* target, int32_t argument) const
{
  if (!target)
    target = new TImage;
  TData::Clone(target, argument);
  auto* copy = dynamic_cast<TImage*>(target);
  if (!copy || copy == this)
    return target;
  copy->ReleaseBuffer();
  copy->imageFlags = imageFlags;
  copy->fileName = fileName;
  copy->imageWidth = imageWidth;
  copy->imageHeight = imageHeight;
  copy->bitsPerPixel = bitsPerPixel;
  copy->srcX = srcX;
  copy->srcY = srcY;
  copy->srcW = srcW;
  copy->srcH = srcH;
  copy->lastError = lastError;
  // The copy shows the same pixels: one more reference to the one buffer.
  // A copy kept only to put the source back (argument 1) needs no picture.
  if (buffer && (argument != 1 || fileName.empty()) && buffer->AddRef())
    copy->buffer = buffer;
  return target;
}

// ---- the information box ----

std::string TImage::LastErrorText() const
{
  if (lastError == 0)
    return {};
  if (lastError & kStringError)
    return LoadStr(static_cast<uint32_t>(lastError & 0xFFFF));
  return std::strerror(lastError);
}

std::string TImage::InfoText() const
{
  const char* colours = "???";
  if (IsMetafile())
    colours = "16 M";
  else if (bitsPerPixel == 1)
    colours = "2";
  else if (bitsPerPixel == 4)
    colours = "16";
  else if (bitsPerPixel == 8)
    colours = "256";
  else if (bitsPerPixel == 16)
    colours = "65536";
  else if (bitsPerPixel == 24 || bitsPerPixel == 32)
    colours = "16 M";
  const long memory = buffer ? static_cast<long>(buffer->MemorySize()) : 0L;
  const std::string file = fileName.empty() ? LoadStr(IDS_IMAGE_NO_FILE) : fileName;
  std::string error = LastErrorText();
  if (error.size() > 99)
    error.resize(99);
  return FormatStr(IDS_IMAGE_INFO, file.c_str(), imageWidth, imageHeight, colours, memory, error.c_str());
}

void TImage::ShowInformations(TDataOwner* client) const
{
  if (TUserInput* input = client ? client->GetInput() : nullptr)
    input->MessageBox(InfoText(), LoadStr(IDS_INFORMATIONS_TITLE), MB_OK_ | MB_ICONINFORMATION_);
}

// ---- choosing the picture ----

namespace {

// Copies a picture from a removable drive to where the user says; false
// when the user gave up or the copy failed (said so).
bool CopyFromRemovable(TUserInput& input, std::string& path)
{
  const int32_t answer = input.MessageBox(LoadStr(IDS_IMAGE_REMOVABLE), LoadStr(IDS_IMAGE_REMOVABLE_TITLE),
                                          MB_YESNOCANCEL_ | MB_ICONEXCLAMATION_);
  if (answer == IDNO_)
    return true;
  if (answer != IDYES_)
    return false;
  std::string target = BareName(path);
  const QString suffix = QFileInfo(QString::fromStdString(path)).suffix();
  if (!input.ChooseSaveFile(target, std::string(LoadStr(IDS_IMAGE_FILTER)) + "|*." + suffix.toStdString(),
                            suffix.toStdString()))
    return false;
  QFile source(QString::fromStdString(path));
  std::string error;
  const bool copied = source.open(QIODevice::ReadOnly) && [&] {
    const QByteArray bytes = source.readAll();
    return source.error() == QFileDevice::NoError &&
           SaveFileAtomic(target, std::string_view(bytes.constData(), size_t(bytes.size())), &error);
  }();
  if (!copied) {
    input.MessageBox(LoadStr(IDS_IMAGE_COPY_ERROR), LoadStr(IDS_IMAGE_NEW_TITLE), MB_OK_ | MB_ICONSTOP_);
    return false;
  }
  path = target;
  return true;
}

} // namespace

bool TImage::ChangeFile(TDataOwner* client)
{
  TUserInput* input = client ? client->GetInput() : nullptr;
  if (!input)
    return false;
  std::string path;
  const int32_t offered = TClipboard::AskClipboardImage(*input, path);
  if (offered == IDCANCEL_)
    return false;
  if (offered != TClipboard::kMadeFile) {
    path = fileName;
    // A new picture is looked for where the document lives.
    if (const std::string folder = DocumentFolder(client); path.empty() && !folder.empty())
      path = folder + "/";
    if (!input->ChooseOpenFile(path, std::string(LoadStr(IDS_IMAGE_FILTER)) + "|" +
                                         LoadStr(IDS_IMAGE_FILTER_PATTERN)))
      return false;
    if (input->IsOnRemovableMedia(path) && !CopyFromRemovable(*input, path))
      return false;
  }
  bool loaded;
  {
    std::optional<WaitCursor> wait;
    if (TClient* view = client->Client())
      wait.emplace(*view);
    lastError = 0;
    // Another picture is shown whole: the part chosen in the old one means
    // nothing in it.
    srcX = srcY = srcW = srcH = 0;
    loaded = Load(path);
  }
  if (!loaded) {
    std::string why = LastErrorText();
    if (why.empty())
      why = LoadStr(IDS_IMAGE_NOT_THIS_KIND);
    input->MessageBox(FormatStr(IDS_IMAGE_LOAD_FAILED, path.c_str(), why.c_str()),
                      LoadStr(IDS_IMAGE_NEW_TITLE), MB_OK_ | MB_ICONSTOP_);
  }
  return loaded;
}

TStreamable* TImage::Create(TDataOwner* client, int32_t)
{
  if (!client)
    return new TImage;
  std::unique_ptr<TData> made = PlaceAndSize(
      *client, [](TPoint p) -> std::unique_ptr<TData> { return std::make_unique<TImage>(p.x, p.y, 0, 0); });
  auto* image = static_cast<TImage*>(made.get());
  if (!image || !image->ChangeFile(client))
    return nullptr;
  if (image->Width() <= 1 || image->Height() <= 1) {
    // A click without a drag: the picture at its own size, as far as the
    // page has room for it from there.
    const TPage* page = client->GetPage();
    const int32_t roomX = page ? std::max(1, page->GetPaperWidth() - image->left) : image->imageWidth;
    const int32_t roomY = page ? std::max(1, page->GetPaperHeight() - image->top) : image->imageHeight;
    const TRect room(image->left, image->top, SaturateInt32(int64_t{image->left} + roomX),
                     SaturateInt32(int64_t{image->top} + roomY));
    image->SetRect(room, kRectFit);
    image->Offset(SaturatedDifference(room.left, image->left), SaturatedDifference(room.top, image->top));
  }
  return made.release();
}
