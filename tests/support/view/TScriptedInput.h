#pragma once

#include "TFont.h"
#include "TPen.h"
#include "TRect.h"
#include "TUserInput.h"

#include <QImage>

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

class TClient;

// A user played from a script, for tests: the messages a modal procedure
// waits for come from a queue, every dialog takes its answer from a queue of
// its own kind, and everything the program shows or asks is recorded.
//
// Positions given in page coordinates are turned into window pixels through
// the client's page mapping when the message is handed out, so a script
// stays right after the page scrolled. An empty message queue makes
// PumpMessage answer false (the application is quitting), which ends every
// modal procedure, so a test never hangs; a dialog asked without a queued
// answer is cancelled. Both are recorded.
//
// The overlay is an image of the window size on which the exclusive-or
// outlines are really drawn, so a test can check it is blank again.
class TScriptedInput : public TUserInput
{
public:
  static constexpr int32_t kDefaultWidth = 800;
  static constexpr int32_t kDefaultHeight = 1000;
  // PumpMessage hands out at most this many messages (a guard against a
  // procedure that keeps posting to itself).
  static constexpr int32_t kMaxMessages = 100000;

  explicit TScriptedInput(int32_t width = kDefaultWidth, int32_t height = kDefaultHeight);
  ~TScriptedInput() override;

  // Makes this the client's input and sizes the client's view to the window.
  void Attach(TClient* client);
  TClient* Client() const { return m_client; }

  // ---- script: messages (page coordinates unless the name says Device) ----
  void MoveTo(int32_t x, int32_t y, uint32_t modifiers = 0);
  void MoveToDevice(int32_t x, int32_t y, uint32_t modifiers = 0);
  // A left press and release at (x, y), after moving there.
  void Click(int32_t x, int32_t y, uint32_t modifiers = 0);
  void ClickDevice(int32_t x, int32_t y, uint32_t modifiers = 0);
  void RightClick(int32_t x, int32_t y, uint32_t modifiers = 0);
  void DoubleClick(int32_t x, int32_t y, uint32_t modifiers = 0);
  void LeftDown(uint32_t modifiers = 0);
  void LeftUp(uint32_t modifiers = 0);
  void RightUp(uint32_t modifiers = 0);
  // Moves the pointer by (dx, dy) page units in steps pointer moves.
  void Drag(int32_t dx, int32_t dy, int32_t steps = 1, uint32_t modifiers = 0);
  void DragDevice(int32_t dx, int32_t dy, int32_t steps = 1, uint32_t modifiers = 0);
  // A key press (WM_KEYDOWN_ with a VK_* code) or a character (WM_CHAR_).
  void Key(uint32_t key, uint32_t modifiers = 0);
  void Char(uint32_t character, uint32_t modifiers = 0);
  // Any message, as is.
  void QueueMessage(uint32_t message, uint32_t param1 = 0, uintptr_t param2 = 0);
  int32_t PendingMessages() const { return static_cast<int32_t>(m_script.size()); }
  // Hands every posted message to its view, as the main loop would.
  int32_t DispatchPosted();

  // ---- script: dialog answers (std::nullopt: the user cancels) ----
  void AnswerMessageBox(int32_t result) { m_messageBoxAnswers.push_back(result); }
  void AnswerValues(std::optional<std::vector<double>> values) { m_values.push_back(std::move(values)); }
  void AnswerIntegers(std::optional<std::vector<int32_t>> values) { m_integers.push_back(std::move(values)); }
  // Answers EditText and AskText alike.
  void AnswerText(std::optional<std::string> text) { m_texts.push_back(std::move(text)); }
  void AnswerOption(std::optional<int32_t> index) { m_options.push_back(index); }
  void AnswerColor(std::optional<uint32_t> colour) { m_colours.push_back(colour); }
  void AnswerFont(std::optional<TFont> font) { m_fonts.push_back(std::move(font)); }
  void AnswerPen(std::optional<TPen> pen) { m_pens.push_back(std::move(pen)); }
  void AnswerLayers(std::optional<LayerSettings> settings) { m_layers.push_back(std::move(settings)); }
  void AnswerObjectLayers(std::optional<uint16_t> mask) { m_objectLayers.push_back(mask); }
  void AnswerUnits(std::optional<UnitsSettings> settings) { m_units.push_back(std::move(settings)); }
  void AnswerGridSnap(std::optional<GridSnapSettings> settings) { m_gridSnap.push_back(std::move(settings)); }
  void AnswerOpenFile(std::optional<std::string> path) { m_openFiles.push_back(std::move(path)); }
  void AnswerSaveFile(std::optional<std::string> path) { m_saveFiles.push_back(std::move(path)); }
  // 0 chooses nothing.
  void AnswerMenu(uint16_t command) { m_menuAnswers.push_back(command); }
  // The printer ChoosePrinter hands out (not owned), with the settings the
  // dialog leaves (as shown when none are given); a null device cancels.
  // output names the file the device writes, removed when the job is
  // aborted, as a front end does.
  void AnswerPrinter(QPagedPaintDevice* device, std::optional<PrintSettings> settings = std::nullopt,
                     std::string output = std::string())
  {
    m_printers.push_back({device, std::move(settings), std::move(output)});
  }
  // PrintCancelled answers true when asked for the n-th time (from 1).
  void CancelPrintingAt(int32_t n) { m_cancelAt.push_back(n); }
  // WorkCancelled answers true when asked for the n-th time (from 1).
  void CancelWorkAt(int32_t n) { m_cancelWorkAt = n; }

  // ---- simulated window ----
  void SetClientSize(int32_t width, int32_t height);
  void SetPointer(int32_t x, int32_t y)
  {
    m_pointerX = x;
    m_pointerY = y;
  }
  void SetHasStatusBar(bool has) { m_hasStatusBar = has; }

  // ---- what happened ----
  struct MessageBoxRecord
  {
    std::string text, title;
    uint32_t flags = 0;
  };
  struct PostedRecord
  {
    TVue* view = nullptr;
    uint32_t message = 0;
    uint32_t param1 = 0;
    uintptr_t param2 = 0;
  };
  struct MenuRecord
  {
    std::string title;
    std::vector<MenuItem> items;
  };
  std::vector<MessageBoxRecord> messageBoxes;
  std::vector<std::string> statusTexts;
  // One entry per dialog asked: its kind ("AskValues", "ChooseColor", ...)
  // and, where it has one, a colon and its title.
  std::vector<std::string> dialogs;
  // The path each file dialog was opened with (where it starts).
  std::vector<std::string> fileDialogStarts;
  // The help the last page size prompt was given.
  PaperSizeHelp paperHelp;
  // The dialogs asked with no answer queued (and therefore cancelled).
  std::vector<std::string> unanswered;
  std::vector<std::vector<ValueField>> valueFields; // as each AskValues was shown
  std::vector<MenuRecord> menus;
  struct PrinterRecord
  {
    int32_t mode = 0;
    PrintSettings shown;
  };
  std::vector<PrinterRecord> printers;           // each ChoosePrinter, with the settings it was given
  std::vector<bool> progressShown;               // each ShowPrintProgress
  int32_t cancelChecks = 0;                      // how often PrintCancelled was asked
  std::vector<std::string> workShown;            // each ShowWork: "+title" or "-title"
  int32_t workPolls = 0;                         // how often WorkCancelled was asked
  std::vector<bool> endedJobs;                   // each EndPrintJob: true when aborted
  std::vector<PostedRecord> posted;              // every message posted, in order
  std::vector<std::vector<int32_t>> invalidated; // device rectangles; empty: the whole window
  int32_t overlayChanges = 0;
  int32_t updates = 0;
  int32_t scrolls = 0;
  int32_t pointerPlacements = 0;
  bool ranOut = false; // PumpMessage found the script empty
  // Each picture viewer shown: the object's frame as the viewer got it.
  std::vector<TRect> viewers;
  // What IsOnRemovableMedia answers.
  bool removableMedia = false;

  int32_t Cursor() const { return m_cursor; }
  bool Captured() const { return m_captured; }
  bool PointerShown() const { return m_pointerShown; }
  int32_t PointerX() const { return m_pointerX; }
  int32_t PointerY() const { return m_pointerY; }
  const std::string& LastStatus() const;
  const QImage& Overlay() const { return m_overlay; }
  // True when the overlay holds nothing drawn.
  bool OverlayBlank() const;

  // ---- TUserInput ----
  void ShowPictureViewer(TData& object) override;
  bool IsOnRemovableMedia(const std::string&) override { return removableMedia; }
  bool PumpMessage(TVue* view) override;
  void GetClientSize(TVue* view, int32_t& width, int32_t& height) override;
  void GetPointerPos(TVue* view, int32_t& x, int32_t& y) override;
  void SetPointerPos(TVue* view, int32_t x, int32_t y) override;
  void ShowPointer(TVue* view, bool show) override;
  void CaptureMouse(TVue* view, bool capture) override;
  int32_t SetCursor(TVue* view, int32_t cursorId) override;
  void Invalidate(TVue* view, const int32_t* ltrb) override;
  void Update(TVue* view) override;
  QPaintDevice* OverlayDevice(TVue* view) override;
  void OverlayChanged(TVue* view, const int32_t* ltrb) override;
  void ScrollChanged(TVue* view, int32_t deviceDx, int32_t deviceDy) override;
  void PostMessage(TVue* view, uint32_t message, uint32_t param1, uintptr_t param2) override;
  bool SetStatusText(TVue* view, const std::string& text) override;
  int32_t MessageBox(const std::string& text, const std::string& title, uint32_t flags) override;
  bool AskValues(const std::string& title, std::vector<ValueField>& fields) override;
  bool PromptIntegers(const std::string& title, std::vector<IntegerField>& fields) override;
  // Keeps the presets and help it was given, then answers as PromptIntegers.
  bool PromptPaperSize(const std::string& title, std::vector<IntegerField>& fields,
                       const PaperSizeHelp& help) override;
  bool EditText(const std::string& title, std::string& text, int32_t limit, const TFont* font) override;
  bool AskText(const std::string& title, const std::string& prompt, std::string& text,
               int32_t limit) override;
  bool ChooseOption(const std::string& title, const std::string& groupLabel,
                    const std::vector<std::string>& options, int32_t& index) override;
  bool ChooseColor(uint32_t& colour, bool allowNone) override;
  bool ChooseFont(TFont& font) override;
  bool ChoosePen(TPen& pen, TClient* client) override;
  bool EditLayers(LayerSettings& settings) override;
  bool EditObjectLayers(uint16_t& mask) override;
  bool EditUnits(UnitsSettings& settings) override;
  bool EditGridSnap(GridSnapSettings& settings) override;
  bool ChooseOpenFile(std::string& path, const std::string& filter) override;
  bool ChooseSaveFile(std::string& path, const std::string& filter, const std::string& defaultExt) override;
  uint16_t PopupMenu(const std::string& title, const std::vector<MenuItem>& items) override;
  QPagedPaintDevice* ChoosePrinter(int32_t mode, PrintSettings& settings) override;
  void ShowPrintProgress(const std::string& title, bool show) override;
  bool PrintCancelled() override;
  void ShowWork(const std::string& title, bool show) override;
  bool WorkCancelled() override;
  bool EndPrintJob(bool abort) override;

private:
  // A scripted message; positions are resolved when it is handed out.
  struct Step
  {
    enum class Where { kNone, kPage, kDevice, kPageDelta, kDeviceDelta };
    uint32_t message = 0;
    Where where = Where::kNone;
    int32_t x = 0, y = 0;
    uint32_t param1 = 0;
    uintptr_t param2 = 0;
  };

  void Push(uint32_t message, Step::Where where, int32_t x, int32_t y, uintptr_t param2);
  void PushDrag(Step::Where where, int32_t dx, int32_t dy, int32_t steps, uint32_t modifiers);
  // The message and its parameters, with the pointer following mouse messages.
  void Resolve(Step& step);
  // Takes the next answer of a queue into answer; false when it is a
  // cancel. Records the dialog and, when no answer is queued, that it was
  // cancelled for want of one.
  template <class T> bool Take(std::deque<std::optional<T>>& queue, const std::string& dialog, T& answer);
  // A text answer, cut to limit bytes like the edit would.
  bool TakeText(const std::string& dialog, std::string& text, int32_t limit);
  void ResetOverlay();

  TClient* m_client = nullptr;
  int32_t m_width;
  int32_t m_height;
  int32_t m_pointerX = 0;
  int32_t m_pointerY = 0;
  bool m_pointerShown = true;
  bool m_captured = false;
  int32_t m_cursor = 0;
  bool m_hasStatusBar = true;
  int32_t m_delivered = 0;
  QImage m_overlay;

  struct PrinterAnswer
  {
    QPagedPaintDevice* device = nullptr;
    std::optional<PrintSettings> settings;
    std::string output;
  };
  std::deque<PrinterAnswer> m_printers;
  std::string m_printOutput;
  std::vector<int32_t> m_cancelAt;
  int32_t m_cancelWorkAt = 0;

  std::deque<Step> m_script;
  std::deque<PostedRecord> m_postedQueue;

  std::deque<int32_t> m_messageBoxAnswers;
  std::deque<std::optional<std::vector<double>>> m_values;
  std::deque<std::optional<std::vector<int32_t>>> m_integers;
  std::deque<std::optional<std::string>> m_texts;
  std::deque<std::optional<int32_t>> m_options;
  std::deque<std::optional<uint32_t>> m_colours;
  std::deque<std::optional<TFont>> m_fonts;
  std::deque<std::optional<TPen>> m_pens;
  std::deque<std::optional<LayerSettings>> m_layers;
  std::deque<std::optional<uint16_t>> m_objectLayers;
  std::deque<std::optional<UnitsSettings>> m_units;
  std::deque<std::optional<GridSnapSettings>> m_gridSnap;
  std::deque<std::optional<std::string>> m_openFiles;
  std::deque<std::optional<std::string>> m_saveFiles;
  std::deque<uint16_t> m_menuAnswers;
};
