#include "TScriptedInput.h"

#include "Colors.h"
#include "Messages.h"
#include "StringTable.h"
#include "TClient.h"
#include "TData.h"
#include "TPage.h"
#include "TextEncoding.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

const QRgb kBlank = qRgb(255, 255, 255);

bool IsMouseMessage(uint32_t message)
{
  return message >= WM_MOUSEMOVE_ && message <= WM_RBUTTONUP_;
}

std::string Named(const char* kind, const std::string& title)
{
  return title.empty() ? std::string(kind) : std::string(kind) + ":" + title;
}

} // namespace

TScriptedInput::TScriptedInput(int32_t width, int32_t height) : m_width(width), m_height(height)
{
  ResetOverlay();
}

TScriptedInput::~TScriptedInput()
{
  if (m_client && m_client->GetInput() == this)
    m_client->SetInput(nullptr);
}

void TScriptedInput::Attach(TClient* client)
{
  m_client = client;
  if (client) {
    client->SetInput(this);
    client->RecomputeView();
  }
}

void TScriptedInput::SetClientSize(int32_t width, int32_t height)
{
  m_width = width;
  m_height = height;
  ResetOverlay();
  if (m_client)
    m_client->RecomputeView();
}

void TScriptedInput::ResetOverlay()
{
  m_overlay = QImage(std::max(m_width, 1), std::max(m_height, 1), QImage::Format_RGB32);
  m_overlay.fill(kBlank);
}

// ---- script ----

void TScriptedInput::Push(uint32_t message, Step::Where where, int32_t x, int32_t y, uintptr_t param2)
{
  Step step;
  step.message = message;
  step.where = where;
  step.x = x;
  step.y = y;
  step.param2 = param2;
  m_script.push_back(step);
}

void TScriptedInput::MoveTo(int32_t x, int32_t y, uint32_t modifiers)
{
  Push(WM_MOUSEMOVE_, Step::Where::kPage, x, y, modifiers);
}

void TScriptedInput::MoveToDevice(int32_t x, int32_t y, uint32_t modifiers)
{
  Push(WM_MOUSEMOVE_, Step::Where::kDevice, x, y, modifiers);
}

void TScriptedInput::Click(int32_t x, int32_t y, uint32_t modifiers)
{
  MoveTo(x, y, modifiers);
  LeftDown(modifiers);
  LeftUp(modifiers);
}

void TScriptedInput::ClickDevice(int32_t x, int32_t y, uint32_t modifiers)
{
  MoveToDevice(x, y, modifiers);
  LeftDown(modifiers);
  LeftUp(modifiers);
}

void TScriptedInput::RightClick(int32_t x, int32_t y, uint32_t modifiers)
{
  MoveTo(x, y, modifiers);
  Push(WM_RBUTTONDOWN_, Step::Where::kPageDelta, 0, 0, modifiers);
  RightUp(modifiers);
}

void TScriptedInput::DoubleClick(int32_t x, int32_t y, uint32_t modifiers)
{
  Click(x, y, modifiers);
  Push(WM_LBUTTONDBLCLK_, Step::Where::kPageDelta, 0, 0, modifiers);
  LeftUp(modifiers);
}

void TScriptedInput::LeftDown(uint32_t modifiers)
{
  Push(WM_LBUTTONDOWN_, Step::Where::kPageDelta, 0, 0, modifiers);
}

void TScriptedInput::LeftUp(uint32_t modifiers)
{
  Push(WM_LBUTTONUP_, Step::Where::kPageDelta, 0, 0, modifiers);
}

void TScriptedInput::RightUp(uint32_t modifiers)
{
  Push(WM_RBUTTONUP_, Step::Where::kPageDelta, 0, 0, modifiers);
}

void TScriptedInput::PushDrag(Step::Where where, int32_t dx, int32_t dy, int32_t steps, uint32_t modifiers)
{
  steps = std::max(steps, 1);
  int32_t doneX = 0, doneY = 0;
  for (int32_t i = 1; i <= steps; ++i) {
    const int32_t x = static_cast<int32_t>(int64_t{dx} * i / steps);
    const int32_t y = static_cast<int32_t>(int64_t{dy} * i / steps);
    Push(WM_MOUSEMOVE_, where, x - doneX, y - doneY, modifiers);
    doneX = x;
    doneY = y;
  }
}

void TScriptedInput::Drag(int32_t dx, int32_t dy, int32_t steps, uint32_t modifiers)
{
  PushDrag(Step::Where::kPageDelta, dx, dy, steps, modifiers);
}

void TScriptedInput::DragDevice(int32_t dx, int32_t dy, int32_t steps, uint32_t modifiers)
{
  PushDrag(Step::Where::kDeviceDelta, dx, dy, steps, modifiers);
}

void TScriptedInput::Key(uint32_t key, uint32_t modifiers)
{
  QueueMessage(WM_KEYDOWN_, key, modifiers);
}

void TScriptedInput::Char(uint32_t character, uint32_t modifiers)
{
  QueueMessage(WM_CHAR_, character, modifiers);
}

void TScriptedInput::QueueMessage(uint32_t message, uint32_t param1, uintptr_t param2)
{
  Step step;
  step.message = message;
  step.param1 = param1;
  step.param2 = param2;
  m_script.push_back(step);
}

void TScriptedInput::Resolve(Step& step)
{
  if (step.where == Step::Where::kNone)
    return;
  const TPage* page = m_client ? m_client->GetPage() : nullptr;
  int32_t x = m_pointerX, y = m_pointerY;
  switch (step.where) {
  case Step::Where::kDevice:
    x = step.x;
    y = step.y;
    break;
  case Step::Where::kDeviceDelta:
    x += step.x;
    y += step.y;
    break;
  case Step::Where::kPage:
    if (page) {
      page->PageToDevice(step.x, step.y, x, y);
    } else {
      x = step.x;
      y = step.y;
    }
    break;
  case Step::Where::kPageDelta:
    if (step.x != 0 || step.y != 0) {
      if (page) {
        int32_t px, py;
        page->DeviceToPage(x, y, px, py);
        page->PageToDevice(px + step.x, py + step.y, x, y);
      } else {
        x += step.x;
        y += step.y;
      }
    }
    break;
  case Step::Where::kNone:
    break;
  }
  m_pointerX = x;
  m_pointerY = y;
  step.param1 = MakePointParam(x, y);
}

int32_t TScriptedInput::DispatchPosted()
{
  int32_t count = 0;
  while (!m_postedQueue.empty() && m_delivered < kMaxMessages) {
    const PostedRecord record = m_postedQueue.front();
    m_postedQueue.pop_front();
    ++m_delivered;
    ++count;
    record.view->WndProc(record.message, record.param1, record.param2);
  }
  return count;
}

// ---- TUserInput: messages ----

bool TScriptedInput::PumpMessage(TVue* view)
{
  if (!view || m_delivered >= kMaxMessages) {
    ranOut = true;
    return false;
  }
  // Posted messages come first, as they do on the platform.
  const auto next = std::find_if(m_postedQueue.begin(), m_postedQueue.end(),
                                 [view](const PostedRecord& r) { return r.view == view; });
  if (next != m_postedQueue.end()) {
    const PostedRecord record = *next;
    m_postedQueue.erase(next);
    ++m_delivered;
    view->WndProc(record.message, record.param1, record.param2);
    return true;
  }
  if (m_script.empty()) {
    ranOut = true;
    return false;
  }
  Step step = m_script.front();
  m_script.pop_front();
  if (IsMouseMessage(step.message))
    Resolve(step);
  ++m_delivered;
  view->WndProc(step.message, step.param1, step.param2);
  return true;
}

// ---- TUserInput: window services ----

void TScriptedInput::GetClientSize(TVue*, int32_t& width, int32_t& height)
{
  width = m_width;
  height = m_height;
}

void TScriptedInput::GetPointerPos(TVue*, int32_t& x, int32_t& y)
{
  x = m_pointerX;
  y = m_pointerY;
}

void TScriptedInput::SetPointerPos(TVue*, int32_t x, int32_t y)
{
  m_pointerX = x;
  m_pointerY = y;
  ++pointerPlacements;
}

void TScriptedInput::ShowPointer(TVue*, bool show)
{
  m_pointerShown = show;
}

void TScriptedInput::CaptureMouse(TVue*, bool capture)
{
  m_captured = capture;
}

int32_t TScriptedInput::SetCursor(TVue*, int32_t cursorId)
{
  return std::exchange(m_cursor, cursorId);
}

void TScriptedInput::Invalidate(TVue*, const int32_t* ltrb)
{
  invalidated.push_back(ltrb ? std::vector<int32_t>(ltrb, ltrb + 4) : std::vector<int32_t>());
}

void TScriptedInput::Update(TVue*)
{
  ++updates;
}

QPaintDevice* TScriptedInput::OverlayDevice(TVue*)
{
  return &m_overlay;
}

void TScriptedInput::OverlayChanged(TVue*, const int32_t*)
{
  ++overlayChanges;
}

void TScriptedInput::ScrollChanged(TVue*, int32_t, int32_t)
{
  ++scrolls;
}

void TScriptedInput::PostMessage(TVue* view, uint32_t message, uint32_t param1, uintptr_t param2)
{
  const PostedRecord record{view, message, param1, param2};
  posted.push_back(record);
  if (view)
    m_postedQueue.push_back(record);
}

bool TScriptedInput::SetStatusText(TVue*, const std::string& text)
{
  if (!m_hasStatusBar)
    return false;
  statusTexts.push_back(text);
  return true;
}

const std::string& TScriptedInput::LastStatus() const
{
  static const std::string none;
  return statusTexts.empty() ? none : statusTexts.back();
}

bool TScriptedInput::OverlayBlank() const
{
  for (int y = 0; y < m_overlay.height(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(m_overlay.constScanLine(y));
    for (int x = 0; x < m_overlay.width(); ++x) {
      if ((line[x] & 0xFFFFFF) != (kBlank & 0xFFFFFF))
        return false;
    }
  }
  return true;
}

// ---- TUserInput: dialogs ----

template <class T>
bool TScriptedInput::Take(std::deque<std::optional<T>>& queue, const std::string& dialog, T& answer)
{
  dialogs.push_back(dialog);
  if (queue.empty()) {
    unanswered.push_back(dialog);
    return false;
  }
  const bool given = queue.front().has_value();
  if (given)
    answer = std::move(*queue.front());
  queue.pop_front();
  return given;
}

int32_t TScriptedInput::MessageBox(const std::string& text, const std::string& title, uint32_t flags)
{
  messageBoxes.push_back({text, title, flags});
  dialogs.push_back(Named("MessageBox", title));
  if (!m_messageBoxAnswers.empty()) {
    const int32_t answer = m_messageBoxAnswers.front();
    m_messageBoxAnswers.pop_front();
    return answer;
  }
  // Closing a box without answering: the only button of an OK box, else
  // the way out the buttons offer.
  switch (flags & 0xF) {
  case MB_OK_:
    return IDOK_;
  case MB_YESNO_:
    unanswered.push_back(Named("MessageBox", title));
    return IDNO_;
  default:
    unanswered.push_back(Named("MessageBox", title));
    return IDCANCEL_;
  }
}

bool TScriptedInput::AskValues(const std::string& title, std::vector<ValueField>& fields)
{
  valueFields.push_back(fields);
  std::vector<double> values;
  if (!Take(m_values, Named("AskValues", title), values))
    return false;
  for (size_t i = 0; i < fields.size() && i < values.size(); ++i)
    fields[i].value = values[i];
  return true;
}

bool TScriptedInput::PromptIntegers(const std::string& title, std::vector<IntegerField>& fields)
{
  std::vector<int32_t> values;
  if (!Take(m_integers, Named("PromptIntegers", title), values))
    return false;
  for (size_t i = 0; i < fields.size() && i < values.size(); ++i)
    fields[i].value = values[i];
  return true;
}

bool TScriptedInput::TakeText(const std::string& dialog, std::string& text, int32_t limit)
{
  std::string answer;
  if (!Take(m_texts, dialog, answer))
    return false;
  // The edit accepts no more than limit bytes.
  text = limit >= 0 ? CutText(std::move(answer), static_cast<size_t>(limit)) : std::move(answer);
  return true;
}

bool TScriptedInput::EditText(const std::string& title, std::string& text, int32_t limit, const TFont*)
{
  return TakeText(Named("EditText", title), text, limit);
}

bool TScriptedInput::AskText(const std::string& title, const std::string&, std::string& text, int32_t limit)
{
  return TakeText(Named("AskText", title), text, limit);
}

bool TScriptedInput::ChooseOption(const std::string& title, const std::string&,
                                  const std::vector<std::string>& options, int32_t& index)
{
  int32_t answer = 0;
  if (!Take(m_options, Named("ChooseOption", title), answer) || answer < 0 ||
      answer >= static_cast<int32_t>(options.size()))
    return false;
  index = answer;
  return true;
}

bool TScriptedInput::ChooseColor(uint32_t& colour, bool allowNone)
{
  uint32_t answer = 0;
  // "None" is only an answer where the dialog offers it.
  if (!Take(m_colours, allowNone ? "ChooseColor:none" : "ChooseColor", answer) ||
      (answer == kNoColor && !allowNone))
    return false;
  colour = answer;
  return true;
}

bool TScriptedInput::ChooseFont(TFont& font)
{
  return Take(m_fonts, "ChooseFont", font);
}

bool TScriptedInput::ChoosePen(TPen& pen, TClient*)
{
  return Take(m_pens, "ChoosePen", pen);
}

bool TScriptedInput::EditLayers(LayerSettings& settings)
{
  // Like the dialog, refused settings show their message and the dialog
  // stays open for the next answer.
  for (;;) {
    LayerSettings answer;
    if (!Take(m_layers, "EditLayers", answer))
      return false;
    const uint32_t refusal = CheckLayerSettings(answer.active, answer.visible, answer.protectedMask);
    if (refusal == 0) {
      settings = answer;
      return true;
    }
    messageBoxes.push_back({LoadStr(refusal), "", MB_OK_ | MB_ICONSTOP_});
  }
}

bool TScriptedInput::EditObjectLayers(uint16_t& mask)
{
  for (;;) {
    uint16_t answer = 0;
    if (!Take(m_objectLayers, "EditObjectLayers", answer))
      return false;
    if ((answer & 0xFF) != 0) {
      mask = answer;
      return true;
    }
    messageBoxes.push_back({LoadStr(IDS_LAYER_OBJECT_NONE), "", MB_OK_ | MB_ICONSTOP_});
  }
}

bool TScriptedInput::EditUnits(UnitsSettings& settings)
{
  return Take(m_units, "EditUnits", settings);
}

bool TScriptedInput::EditGridSnap(GridSnapSettings& settings)
{
  return Take(m_gridSnap, "EditGridSnap", settings);
}

bool TScriptedInput::PromptPaperSize(const std::string& title, std::vector<IntegerField>& fields,
                                     const PaperSizeHelp& help)
{
  paperHelp = help;
  return PromptIntegers(title, fields);
}

bool TScriptedInput::ChooseOpenFile(std::string& path, const std::string&)
{
  fileDialogStarts.push_back(path);
  return Take(m_openFiles, "ChooseOpenFile", path);
}

bool TScriptedInput::ChooseSaveFile(std::string& path, const std::string&, const std::string&)
{
  fileDialogStarts.push_back(path);
  return Take(m_saveFiles, "ChooseSaveFile", path);
}

uint16_t TScriptedInput::PopupMenu(const std::string& title, const std::vector<MenuItem>& items)
{
  menus.push_back({title, items});
  dialogs.push_back(Named("PopupMenu", title));
  if (m_menuAnswers.empty()) {
    unanswered.push_back(Named("PopupMenu", title));
    return 0;
  }
  const uint16_t command = m_menuAnswers.front();
  m_menuAnswers.pop_front();
  // Only an enabled entry of this menu can be chosen.
  const bool offered = std::any_of(items.begin(), items.end(), [command](const MenuItem& item) {
    return item.command == command && item.enabled;
  });
  return command != 0 && offered ? command : 0;
}

QPagedPaintDevice* TScriptedInput::ChoosePrinter(int32_t mode, PrintSettings& settings)
{
  printers.push_back({mode, settings});
  dialogs.push_back("ChoosePrinter");
  if (m_printers.empty()) {
    unanswered.push_back("ChoosePrinter");
    return nullptr;
  }
  PrinterAnswer answer = std::move(m_printers.front());
  m_printers.pop_front();
  if (answer.settings)
    settings = *answer.settings;
  m_printOutput = answer.output;
  return answer.device;
}

void TScriptedInput::ShowPrintProgress(const std::string&, bool show)
{
  progressShown.push_back(show);
}

bool TScriptedInput::PrintCancelled()
{
  ++cancelChecks;
  return std::find(m_cancelAt.begin(), m_cancelAt.end(), cancelChecks) != m_cancelAt.end();
}

void TScriptedInput::ShowWork(const std::string& title, bool show)
{
  workShown.push_back((show ? "+" : "-") + title);
}

bool TScriptedInput::WorkCancelled()
{
  return ++workPolls == m_cancelWorkAt;
}

bool TScriptedInput::EndPrintJob(bool abort)
{
  endedJobs.push_back(abort);
  if (abort && !m_printOutput.empty())
    std::remove(m_printOutput.c_str());
  m_printOutput.clear();
  return true;
}

void TScriptedInput::ShowPictureViewer(TData& object)
{
  viewers.push_back(object);
}
