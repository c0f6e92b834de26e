#include "TDataTexte.h"

#include "BordureDraw.h"
#include "ClassTable.h"
#include "CommandIds.h"
#include "Defaults.h"
#include "Geometry.h"
#include "Messages.h"
#include "ObjectCreation.h"
#include "ObjectPaint.h"
#include "StringTable.h"
#include "TClient.h"
#include "TPage.h"
#include "TPageDevice.h"
#include "TPolyRectangle.h"
#include "TTextWrap.h"
#include "TUserInput.h"
#include "TextEncoding.h"
#include "TextMetrics.h"

#include <QFontMetricsF>
#include <QGuiApplication>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kMaskA = 0x48200847;
constexpr uint32_t kMaskBOneLine = 0x12;
constexpr uint32_t kMaskBWrapped = 0x4000012;
// A new text's box: its width is the first wrap width.
constexpr int32_t kNewWidth = 600;
constexpr int32_t kNewHeight = 4;
// Edit Text lays a short text without line breaks out on one line of its
// natural width.
constexpr size_t kShortText = 101;
// The angle readout is added only to a text shorter than this.
constexpr size_t kAngleInfoRoom = 125;
// Font sizes never scale below this.
constexpr int32_t kMinFontSize = 2;

// Line breaks as the text is stored: CR LF, whatever the dialog gave.
std::string WithCrLf(std::string_view in)
{
  std::string out;
  out.reserve(in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i] == '\r' || in[i] == '\n') {
      out += "\r\n";
      if (in[i] == '\r' && i + 1 < in.size() && in[i + 1] == '\n')
        ++i;
    } else {
      out += in[i];
    }
  }
  return out;
}

// At most limit bytes, never splitting a character or a CR LF pair.
std::string CutToLimit(std::string text, size_t limit)
{
  text = CutText(std::move(text), limit);
  if (!text.empty() && text.back() == '\r')
    text.pop_back();
  return text;
}

// A font size (height or width, negative or positive) scaled by
// wanted / old, keeping its sign and never below kMinFontSize.
int32_t ScaleFontSize(int32_t size, int32_t wanted, int32_t old)
{
  const int64_t magnitude = std::llabs(int64_t{size}) * wanted / old;
  const int32_t scaled = SaturateInt32(std::max<int64_t>(magnitude, kMinFontSize));
  return size < 0 ? -scaled : scaled;
}

// The average character width a font of width 0 gets from its face.
int32_t NaturalWidth(const TFont& font)
{
  if (!qGuiApp)
    return 0;
  return RoundHalfAway(QFontMetricsF(TextFont(font)).averageCharWidth());
}

} // namespace

TDataTexte::TDataTexte() : TDataTexte(0, 0, 0) {}

TDataTexte::TDataTexte(int32_t x, int32_t y, int32_t capacity) : font(DefaultFont())
{
  classId = kTDataTexte;
  Assign(TRect(x, y, SaturateInt32(int64_t{x} + kNewWidth), SaturateInt32(int64_t{y} + kNewHeight)));
  pen.SetColor(DefaultTextColor());
  if (capacity > 0)
    text.Reserve(static_cast<uint32_t>(capacity));
}

TStreamable* TDataTexte::Create(TDataOwner* client, int32_t)
{
  if (!client)
    return new TDataTexte;
  std::unique_ptr<TData> made = PlaceObject(
      *client, [](TPoint p) -> std::unique_ptr<TData> { return std::make_unique<TDataTexte>(p.x, p.y, 0); });
  auto* created = static_cast<TDataTexte*>(made.get());
  if (!created || created->ContextCommand(client, CM_OBJ_EDIT_TEXT) == 0 || created->GetText().empty())
    return nullptr;
  return made.release();
}

// ---- record ----

TInStream& TDataTexte::Read(TInStream& is)
{
  int32_t version;
  if (!BeginRecord(is, kTDataTexte, version))
    return is;
  uint16_t storedSingleLine = singleLine;
  int32_t storedLineCount = lineCount;
  int32_t storedWrapExtra = wrapExtra;
  uint16_t storedJustification = justification;
  uint16_t storedLineSpacing = lineSpacing;
  if (version >= 1)
    is >> storedSingleLine >> storedLineCount;
  if (version >= 3)
    is >> storedWrapExtra;
  if (version >= 5)
    is >> storedJustification;
  if (version >= 6)
    is >> storedLineSpacing;
  if (is.fail())
    return is;
  singleLine = storedSingleLine;
  lineCount = storedLineCount;
  wrapExtra = storedWrapExtra;
  justification = storedJustification;
  lineSpacing = storedLineSpacing;
  EndFirstLine(is, version, kVersion);
  ReadInto(is, font);
  ReadInto(is, text);
  if (version >= 4)
    ReadInto(is, border);
  TData::Read(is);
  // Older records kept no wrap width: their box is laid out again.
  if (version < 3)
    Layout(kLayoutWrap);
  return is;
}

TOutStream& TDataTexte::Write(TOutStream& os) const
{
  WriteHeader(os, kTDataTexte, kVersion);
  os << ' ' << singleLine << ' ' << lineCount << ' ' << wrapExtra << ' ' << justification << ' '
     << lineSpacing << '\n';
  WriteNested(os, font);
  WriteNested(os, text);
  WriteNested(os, border);
  os << '\t';
  return TData::Write(os);
}

bool TDataTexte::IsA(int32_t id) const
{
  return id == kTDataTexte || TData::IsA(id);
}

// ---- geometry ----

int32_t TDataTexte::GetAngle() const
{
  return font.Record().escapement / 10;
}

void TDataTexte::SetAngle(int32_t degrees)
{
  TLogFont record = font.Record();
  record.escapement = (degrees % 360) * 10;
  font.SetRecord(record);
}

bool TDataTexte::Contains(int32_t x, int32_t y) const
{
  TPoint p{x, y};
  const int32_t angle = GetAngle();
  if (angle != 0) {
    if (!MayTurnInto(p, {left, top}, left, top, right, bottom))
      return false;
    p = RotatePoint(p, {left, top}, -angle);
  }
  return TRect::Contains(p.x, p.y);
}

void TDataTexte::GetRect(TRect& out, int32_t mode) const
{
  switch (mode) {
  case kRectCenter: {
    const TPoint c = RotatePoint(Center(), {left, top}, GetAngle());
    out.left = out.right = c.x;
    out.top = out.bottom = c.y;
    break;
  }
  case kRectDrawing:
  case kRectSelection:
    GrownBox(mode == kRectDrawing ? border.GetThickness() : 0).GetRect(out, mode);
    break;
  default:
    TData::GetRect(out, mode);
    break;
  }
}

void TDataTexte::SetRect(const TRect& r, int32_t mode)
{
  switch (mode) {
  case kRectFrame: {
    const int32_t oldWidth = std::max(Width(), 1);
    const int32_t oldHeight = std::max(Height(), 1);
    const int32_t from = WrapWidth();
    TLogFont record = font.Record();
    if (record.height == 0)
      record.height = -TFont::kDefaultHeight;
    // A font of natural width stays so while the box keeps its proportions;
    // otherwise it needs a width of its own to be stretched.
    if (record.width == 0 && int64_t{r.Width()} * oldHeight != int64_t{r.Height()} * oldWidth)
      record.width = NaturalWidth(font);
    if (record.width != 0)
      record.width = ScaleFontSize(record.width, r.Width(), oldWidth);
    record.height = ScaleFontSize(record.height, r.Height(), oldHeight);
    font.SetRecord(record);
    Assign(r);
    LayoutFrom(kLayoutRefit, from);
    break;
  }
  case kRectCenter: {
    // The centre is where the turned text shows it.
    TRect centre;
    GetRect(centre, kRectCenter);
    Offset(SaturateInt32(int64_t{r.left} - centre.left), SaturateInt32(int64_t{r.top} - centre.top));
    break;
  }
  case kRectReframe:
    Assign(r);
    Layout(kLayoutWrap);
    break;
  default:
    TData::SetRect(r, mode);
    break;
  }
}

// ---- layout ----

int32_t TDataTexte::LineHeight() const
{
  const int32_t height = font.Record().height;
  if (height == 0)
    return TFont::kDefaultHeight;
  return std::max(SaturateInt32(std::llabs(int64_t{height})), 1);
}

int32_t TDataTexte::LineStep() const
{
  // At least one unit, so that even a one-unit font with a small spacing
  // puts its lines one under the other.
  return std::max(SaturateInt32(int64_t{lineSpacing} * LineHeight() / 100), 1);
}

TPolyRectangle TDataTexte::GrownBox(int32_t grow) const
{
  const TPoint corner = RotatePoint({SaturateInt32(int64_t{left} - grow), SaturateInt32(int64_t{top} - grow)},
                                    {left, top}, GetAngle());
  const TRect box(corner.x, corner.y, SaturateInt32(int64_t{corner.x} + Width() + 2 * int64_t{grow}),
                  SaturateInt32(int64_t{corner.y} + Height() + 2 * int64_t{grow}));
  return TPolyRectangle(box, GetAngle());
}

int32_t TDataTexte::WrapWidth() const
{
  return SaturateInt32(int64_t{Width()} + wrapExtra);
}

void TDataTexte::Layout(int32_t mode)
{
  LayoutFrom(mode, WrapWidth());
}

void TDataTexte::LayoutFrom(int32_t mode, int32_t wrapWidth)
{
  const int32_t h = LineHeight();
  if (mode == kLayoutRefit)
    wrapExtra = 0;
  if (text.Length() == 0) {
    right = SaturateInt32(int64_t{left} + 1);
    bottom = SaturateInt32(int64_t{top} + h);
    return;
  }
  TTextWrap wrap(font, text.View());
  int32_t lines = 1;
  int32_t widest = 0;
  if (singleLine == 0 && mode != kLayoutOneLine) {
    int32_t width = Width();
    int32_t engineWidth = wrapWidth;
    if (mode == kLayoutRefit) {
      width = 1;
      // The narrowest width that keeps the text within its number of lines
      // (a wider wrap never gives more lines).
      if (wrap.LineCount(engineWidth) > lineCount) {
        int32_t low = width + 1, high = kMaxWrapWidth;
        while (low < high) {
          const int32_t middle = low + (high - low) / 2;
          if (wrap.LineCount(middle) > lineCount)
            low = middle + 1;
          else
            high = middle;
        }
        width = low;
        engineWidth = width;
      }
    }
    // The box is at least as wide as the widest line; a line wider than the
    // wrap width (one character that fits nowhere) widens it and the text is
    // wrapped again.
    while (true) {
      lines = wrap.LineCount(engineWidth);
      const int32_t measured = wrap.WidestLine(engineWidth);
      widest = std::max(widest, measured);
      if (widest <= width)
        break;
      width = widest;
      engineWidth = SaturateInt32(int64_t{width} + wrapExtra);
    }
    if (widest < width) {
      // The box shrinks to the widest line; wrapExtra is what the wrap
      // width needs above it to keep the same lines.
      const int32_t kept = lines;
      wrapExtra = 0;
      while (widest + wrapExtra < width && wrap.LineCount(widest + wrapExtra) != kept)
        ++wrapExtra;
    }
  } else {
    widest = wrap.Measure(text.View());
  }
  right = SaturateInt32(int64_t{left} + widest);
  int64_t height = int64_t{h} + h / 8;
  if (lines > 1)
    height += int64_t{lines - 1} * LineStep();
  bottom = SaturateInt32(int64_t{top} + height);
  lineCount = lines;
}

void TDataTexte::SetText(std::string_view characters)
{
  text.Assign(characters);
  Layout(kLayoutWrap);
}

void TDataTexte::SetFont(const TFont& newFont)
{
  const int32_t from = WrapWidth();
  // The angle belongs to the text, not to the font chosen for it.
  TLogFont record = newFont.Record();
  record.escapement = font.Record().escapement;
  record.orientation = font.Record().orientation;
  font.SetRecord(record);
  LayoutFrom(kLayoutRefit, from);
}

void TDataTexte::SetJustification(uint16_t value)
{
  justification = static_cast<uint16_t>((justification & ~kJustificationBits) | (value & kJustificationBits));
}

bool TDataTexte::SetLineSpacing(int32_t percent)
{
  if (percent < kMinLineSpacing || percent > kMaxLineSpacing)
    return false;
  lineSpacing = static_cast<uint16_t>(percent);
  Refit();
  return true;
}

// ---- messages and drawing ----

uint32_t TDataTexte::Message(uint32_t message, int32_t a, int32_t b, void* p)
{
  switch (message) {
  case MSG_TYPE_NAME:
    return IDS_NAME_TEXT;
  case MSG_MASK_A:
    return kMaskA;
  case MSG_MASK_B:
    return singleLine ? kMaskBOneLine : kMaskBWrapped;
  case MSG_DEFAULT_FONT_BROADCAST:
    if (!p)
      return 0;
    SetFont(*static_cast<const TFont*>(p));
    return 1;
  default:
    return TData::Message(message, a, b, p);
  }
}

bool TDataTexte::Paint(TPage* page, uint8_t mode)
{
  if (!BeginPaint(*this, page, mode))
    return false;
  const int32_t angle = GetAngle();
  if (WantsBody(mode) && text.Length() != 0) {
    page->SelectFont(font);
    page->SetTextColor(pen.GetColor());
    int32_t x = left;
    uint32_t align = TA_LEFT_;
    switch (justification & kJustificationBits) {
    case kCentred:
      x = SaturateInt32((int64_t{left} + right) / 2);
      align = TA_CENTER_;
      break;
    case kRight:
      x = SaturateInt32(int64_t{right} - 1);
      align = TA_RIGHT_;
      break;
    default:
      break;
    }
    if (align != TA_LEFT_)
      page->SetTextAlign(align);
    auto drawLine = [&](int64_t y, std::string_view line) {
      TPoint at{x, SaturateInt32(y)};
      if (angle != 0)
        at = RotatePoint(at, {left, top}, angle);
      page->TextOut(at.x, at.y, line);
    };
    if (singleLine == 0 && lineCount != 1) {
      const std::vector<std::string>& lines = LinesToPaint();
      const int64_t step = LineStep();
      for (size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].empty())
          drawLine(top + static_cast<int64_t>(i) * step, lines[i]);
      }
    } else {
      drawLine(top, text.View());
    }
    if (align != TA_LEFT_)
      page->SetTextAlign(TA_LEFT_);
    if (const int32_t thickness = border.GetThickness(); thickness != 0)
      DrawBordure(border, page, GrownBox(thickness));
    page->RestoreDefaults();
  }
  if (WantsHighlight(*this, mode)) {
    TPolyRectangle outline = GrownBox(0);
    outline.SetLayers(GetLayers());
    outline.Paint(page, kPaintToggleOutline);
  }
  return true;
}

const std::vector<std::string>& TDataTexte::LinesToPaint() const
{
  const int32_t width = WrapWidth();
  if (!wrapped || wrapped->width != width || wrapped->text != text.View() ||
      !(wrapped->font == font.Record())) {
    auto made = std::make_unique<WrappedLines>();
    made->text = text.View();
    made->font = font.Record();
    made->width = width;
    TTextWrap wrap(font, made->text);
    for (std::string_view line : wrap.Wrap(width))
      made->lines.emplace_back(line);
    wrapped = std::move(made);
  }
  return wrapped->lines;
}

// ---- commands ----

uint16_t TDataTexte::ContextCommand(TDataOwner* client, uint16_t command)
{
  command = ChooseCommand(client, command);
  if (command == 0)
    return 0;
  TUserInput* input = client ? client->GetInput() : nullptr;
  switch (command) {
  case CM_OBJ_EDIT_TEXT:
    return EditText(client);
  case CM_OBJ_FONT: {
    TFont chosen = font;
    if (!input || !input->ChooseFont(chosen))
      return 0;
    SetFont(chosen);
    return command;
  }
  case CM_OBJ_LINE_SPACING: {
    int32_t value = lineSpacing;
    if (!input || AskInteger(*input, value, kMinLineSpacing, kMaxLineSpacing, LoadStr(IDS_LINE_SPACING_TITLE),
                             LoadStr(IDS_LINE_SPACING_LABEL)) == 0)
      return 0;
    SetLineSpacing(value);
    return command;
  }
  case CM_OBJ_TEXT_JUSTIFICATION: {
    const std::vector<std::string> options = {LoadStr(IDS_JUSTIFY_LEFT), LoadStr(IDS_JUSTIFY_CENTER),
                                              LoadStr(IDS_JUSTIFY_RIGHT)};
    int32_t index = justification & kJustificationBits;
    if (index >= static_cast<int32_t>(options.size()))
      index = kLeft;
    if (!input ||
        !input->ChooseOption(LoadStr(IDS_JUSTIFICATION_TITLE), LoadStr(IDS_JUSTIFICATION_GROUP), options,
                             index) ||
        index < 0 || index >= static_cast<int32_t>(options.size()))
      return 0;
    SetJustification(static_cast<uint16_t>(index));
    return command;
  }
  case CM_OBJ_POSITION:
  case CM_OBJ_SIZE:
  case CM_OBJ_FRAME_TEXT:
  case CM_OBJ_ANGLE:
    return TrackFrame(client, command);
  case CM_OBJ_DEFAULT_FONT_COLOR:
    DefaultTextColor() = pen.GetColor();
    [[fallthrough]];
  case CM_OBJ_DEFAULT_FONT: {
    TLogFont record = font.Record();
    record.escapement = 0;
    record.orientation = 0;
    DefaultFont() = TFont(record);
    return 0;
  }
  default:
    return TData::ContextCommand(client, command);
  }
}

uint16_t TDataTexte::EditText(TDataOwner* client)
{
  TUserInput* input = client ? client->GetInput() : nullptr;
  if (!input)
    return 0;
  // The dialog shows the text's face at a readable size, not turned.
  TLogFont shown = font.Record();
  const TLogFont standard = TFont().Record();
  shown.height = standard.height;
  shown.width = standard.width;
  shown.escapement = 0;
  shown.orientation = 0;
  const TFont dialogFont(shown);
  // A longer text from a file is offered whole, so confirming the dialog
  // never cuts it.
  const size_t limit = std::max<size_t>(kMaxTextLength, text.Length());
  std::string edited = text.Str();
  if (!input->EditText(LoadStr(IDS_TEXT_TITLE), edited, static_cast<int32_t>(limit), &dialogFont))
    return 0;
  edited = CutToLimit(WithCrLf(edited), limit);
  text.Assign(edited);
  const bool shortLine = Utf8Length(edited) < kShortText && edited.find('\n') == std::string::npos;
  Layout(lineCount == 1 && shortLine ? kLayoutOneLine : kLayoutWrap);
  return CM_OBJ_EDIT_TEXT;
}

uint16_t TDataTexte::TrackFrame(TDataOwner* client, uint16_t command)
{
  if (!client)
    return 0;
  TPolyRectangle frame(TRect(left, top, right, bottom), GetAngle());
  frame.SetLayers(GetLayers());
  // Framing drags the box like sizing; only what is done with it differs.
  const uint16_t mode = command == CM_OBJ_FRAME_TEXT ? uint16_t{CM_OBJ_SIZE} : command;
  if (client->TrackObject(&frame, mode, this) == TDataOwner::kTrackCancelled)
    return 0;
  Notify(command, &frame);
  return command;
}

bool TDataTexte::Notify(uint16_t command, TRect* p)
{
  if (const auto* frame = dynamic_cast<const TPolyRectangle*>(p)) {
    const TRect& box = frame->GetFrame();
    switch (command) {
    case CM_OBJ_POSITION:
      Offset(SaturateInt32(int64_t{box.left} - left), SaturateInt32(int64_t{box.top} - top));
      return true;
    case CM_OBJ_SIZE:
      SetRect(box, kRectFrame);
      return true;
    case CM_OBJ_FRAME_TEXT:
      SetRect(box, kRectReframe);
      return true;
    case CM_OBJ_ANGLE:
      SetAngle(frame->GetAngle());
      return true;
    default:
      break;
    }
  }
  return TData::Notify(command, p);
}

TData* TDataTexte::Clone(TData* target, int32_t argument) const
{
  if (!target)
    target = new TDataTexte;
  TData::Clone(target, argument);
  if (auto* copy = dynamic_cast<TDataTexte*>(target)) {
    copy->font = font;
    copy->text = text;
    copy->border = border;
    copy->singleLine = singleLine;
    copy->lineCount = lineCount;
    copy->wrapExtra = wrapExtra;
    copy->justification = justification;
    copy->lineSpacing = lineSpacing;
  }
  return target;
}

bool TDataTexte::ShowInfo(TDataOwner* client, const TData* reference, uint16_t)
{
  std::string info;
  if (!RectInfoText(client, reference, kRectPosition, info))
    return false;
  if (info.size() < kAngleInfoRoom)
    info += FormatStr(IDS_INFO_ANGLE, static_cast<double>(GetAngle()));
  client->SetStatusText(info);
  return true;
}
