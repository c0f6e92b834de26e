#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QPagedPaintDevice;
class QPaintDevice;
class TClient;
class TData;
class TFont;
class TPen;
class TVue;

// The one seam between the document core and the person using it.
//
// Everything that asks the user something goes through here: the messages a
// modal command waits for (pointer moves, clicks, keys), the window services
// a view needs while it runs (capture, cursor, repaint, the overlay the
// exclusive-or outlines are drawn on, the status bar), and every dialog and
// message box. The Qt front end implements it with widgets and nested event
// loops; tests use TScriptedInput, which plays queued messages and dialog
// answers through the very same code paths.
//
// Dialog operations return false (or 0) when the user cancelled. Values are
// in and out parameters: they arrive preset and carry the answer back.
class TUserInput
{
public:
  virtual ~TUserInput() = default;

  // ---- messages ----
  // Waits until one message for view is available and hands it to the view's
  // WndProc (which records it as the view's last message). Returns false when
  // the application is quitting; modal procedures then give up at once.
  virtual bool PumpMessage(TVue* view) = 0;

  // ---- window services for a view ----
  virtual void GetClientSize(TVue* view, int32_t& width, int32_t& height) = 0;
  // The pointer position in client (device) pixels.
  virtual void GetPointerPos(TVue* view, int32_t& x, int32_t& y) = 0;
  // Places the pointer (snapped positions); may do nothing on platforms
  // that forbid it.
  virtual void SetPointerPos(TVue* view, int32_t x, int32_t y) = 0;
  // How far, in device pixels, the pointer must move with a button down
  // for a press and release to count as a drag rather than a click.
  virtual int32_t DragDistance() const { return kDefaultDragDistance; }
  static constexpr int32_t kDefaultDragDistance = 10;
  virtual void ShowPointer(TVue* view, bool show) = 0;
  virtual void CaptureMouse(TVue* view, bool capture) = 0;
  // Cursor ids: 0 the view's own, 1 arrow, 2 cross (position), 3 pick,
  // 4 rectangle selection, 5 wait.
  virtual int32_t SetCursor(TVue* view, int32_t cursorId) = 0;
  // Device rectangle to repaint from the document (null: the whole window).
  virtual void Invalidate(TVue* view, const int32_t* ltrb) = 0;
  // Repaints what is invalid now.
  virtual void Update(TVue* view) = 0;
  // The exclusive-or overlay over the page image, in device pixels, and the
  // notice that a device rectangle of it changed. Null when the view has no
  // window (nothing is drawn then).
  virtual QPaintDevice* OverlayDevice(TVue* view) = 0;
  virtual void OverlayChanged(TVue* view, const int32_t* ltrb) = 0;
  // The scroll position or range changed; the window shows it. deviceDx and
  // deviceDy tell how far the scroll position moved, in device pixels
  // (positive: towards the right and the bottom of the page; both 0 when
  // only the range changed).
  virtual void ScrollChanged(TVue* view, int32_t deviceDx, int32_t deviceDy) = 0;
  // Posts a message to the view, delivered later through its WndProc.
  virtual void PostMessage(TVue* view, uint32_t message, uint32_t param1, uintptr_t param2) = 0;

  // ---- status bar ----
  // Shows a text in the status bar of the window that holds view; false
  // when there is no status bar to show it.
  virtual bool SetStatusText(TVue* view, const std::string& text) = 0;

  // ---- dialogs ----
  // Every dialog answers "cancelled" (false, 0, IDCANCEL_) unless a front end
  // gives it: a new dialog is added here and given only by the front ends
  // that show it, and a front end without it cancels the command that asks.
  // Returns IDOK_, IDCANCEL_, IDYES_ or IDNO_ (flags: MB_* of Messages.h).
  virtual int32_t MessageBox(const std::string& text, const std::string& title, uint32_t flags);

  struct ValueField
  {
    std::string label; // "X:", "Width", ...
    double value = 0;  // in the units the caller shows
    int32_t decimals = 0;
    uint16_t numberFormat = 6; // 6 decimal, 31 inches, 30 feet and inches
  };
  // A dialog of numeric fields (X/Y values, "Moving", "Origin", angles):
  // true with the typed values on OK.
  virtual bool AskValues(const std::string& title, std::vector<ValueField>& fields);

  struct IntegerField
  {
    std::string label; // the full label, range included ("Zoom:(in %) (10...1000)")
    int32_t value = 0;
  };
  // The integer prompt: one dialog pass, no range check (the caller checks
  // and asks again); true on OK with the entered values.
  virtual bool PromptIntegers(const std::string& title, std::vector<IntegerField>& fields);

  // A named paper size, in the page's units.
  struct PaperPreset
  {
    std::string name;
    int32_t width = 0;
    int32_t height = 0;
  };
  struct PaperSizeHelp
  {
    std::vector<PaperPreset> presets;
    // A length in page units as the user reads it (in the user's unit).
    std::function<std::string(int32_t)> describe;
  };
  // The page size prompt: the two integer fields (width, height) of
  // PromptIntegers, with paper presets that fill them in and each size
  // shown in the user's unit. The base shows the plain prompt.
  virtual bool PromptPaperSize(const std::string& title, std::vector<IntegerField>& fields,
                               const PaperSizeHelp& help);

  // The multi-line text dialog; true on OK with the edited text.
  virtual bool EditText(const std::string& title, std::string& text, int32_t limit, const TFont* font);

  // A one-line text prompt (a name): the prompt labels the field, which
  // takes at most limit bytes; true on OK with the typed text. Front ends
  // without a prompt of their own fall back on the text dialog.
  virtual bool AskText(const std::string& title, const std::string& prompt, std::string& text, int32_t limit);

  // One choice among radio buttons (circle type, justification, formats...);
  // true on OK with the chosen index.
  virtual bool ChooseOption(const std::string& title, const std::string& groupLabel,
                            const std::vector<std::string>& options, int32_t& index);

  // Colour chooser; with allowNone a "none" answer gives 0xFFFFFFFF.
  virtual bool ChooseColor(uint32_t& colour, bool allowNone);
  virtual bool ChooseFont(TFont& font);

  // The line style dialog on pen, widths in the units of client (may be null).
  virtual bool ChoosePen(TPen& pen, TClient* client);

  struct LayerSettings
  {
    uint16_t active = 8;
    uint16_t visible = 0xFFFF;
    uint16_t protectedMask = 0;
    std::string names[8];
  };
  // The layers dialog; the front end checks with CheckLayerSettings before
  // accepting.
  virtual bool EditLayers(LayerSettings& settings);
  // The object layer dialog (eight check boxes); refuses an empty mask.
  virtual bool EditObjectLayers(uint16_t& mask);

  struct UnitsSettings
  {
    int32_t unitIndex = 2; // 0..5, see the units table of the page
    float factor = 0.01f;
    int32_t decimals = 2;
    uint16_t numberFormat = 6;
    int32_t paperWidth = 800, paperHeight = 1000, unitsPerInch = 100; // for the size line
  };
  virtual bool EditUnits(UnitsSettings& settings);

  struct GridSnapSettings
  {
    bool gridShown = false, snapOn = false;
    double gridX = 0, gridY = 0, snapX = 0, snapY = 0; // user units
    int32_t decimals = 2;
    uint16_t numberFormat = 6;
  };
  virtual bool EditGridSnap(GridSnapSettings& settings);

  // File dialogs: filter like "Vekta Files (*.vk1)|*.vk1"; path carries the
  // proposed name in and the chosen one out.
  virtual bool ChooseOpenFile(std::string& path, const std::string& filter);
  virtual bool ChooseSaveFile(std::string& path, const std::string& filter, const std::string& defaultExt);

  struct MenuItem
  {
    uint16_t command = 0; // 0: separator
    std::string text;
    bool checked = false;
    bool enabled = true;
  };
  // A popup menu at the pointer; returns the chosen command or 0. A
  // non-empty title heads the menu as a disabled entry over a separator.
  virtual uint16_t PopupMenu(const std::string& title, const std::vector<MenuItem>& items);

  // ---- printing ----
  // The job as the print dialog shows it and the user leaves it.
  struct PrintSettings
  {
    int32_t rangeKind = 1; // 1 all pages, 2 the selection, 3 pages from..to
    int32_t from = 1, to = 1, min = 1, max = 1;
    int32_t orientation = 1; // 1 portrait, 2 landscape
    int32_t paperCode = 0;   // the platform's paper number (9 is A4), 0 when unknown
  };
  // The printer to print on: mode 0 the current (or default) printer without
  // a dialog, 1 the print dialog, 2 the printer set-up dialog. With no
  // printer installed the dialog offers printing to a PDF file. Null when
  // the user cancelled or there is nothing to print on. The device stays
  // the front end's, valid until EndPrintJob.
  virtual QPagedPaintDevice* ChoosePrinter(int32_t mode, PrintSettings& settings);
  // Long work the user may give up (an export of a huge document): between
  // ShowWork(title, true) and ShowWork(title, false) the work asks
  // WorkCancelled now and then; a box with the title and a Cancel button
  // appears only when the work has lasted half a second. The base shows
  // nothing and never cancels.
  virtual void ShowWork(const std::string& title, bool show);
  virtual bool WorkCancelled();

  // The picture viewer: object (a copy made for it) fills the screen on a
  // black background, drawn with paint mode 32, until a key or a right
  // click closes it. The base shows nothing.
  virtual void ShowPictureViewer(TData& object);
  // Whether path lies on a drive the user may take away (a USB stick, a
  // card, a CD); the base says no.
  virtual bool IsOnRemovableMedia(const std::string& path);

  // The "Printing" progress box, which disables the window while it shows.
  virtual void ShowPrintProgress(const std::string& title, bool show);
  // Lets the program breathe between sheets; true once the user pressed the
  // box's cancel button or Escape (asked again only after a new show).
  virtual bool PrintCancelled();
  // The job is over: with abort, whatever it made is thrown away (a PDF
  // file is not left behind). False when the output could not be finished.
  virtual bool EndPrintJob(bool abort);
};

// The integer prompt: asks for one whole number between min and max under
// the label "text (min...max)", and asks again, after saying so, while the
// answer lies outside the range. 0 when cancelled, 1 when value changed, 2
// when the same value was confirmed.
int32_t AskInteger(TUserInput& input, int32_t& value, int32_t min, int32_t max, const std::string& title,
                   const std::string& text);

// The two-field integer prompt: the labels "text1 (min1...max1)" and
// "text2 (min2...max2)"; it asks again, after saying so, until both answers
// lie in their ranges. 0 when cancelled, 1 when either value changed, 2 when
// both were confirmed unchanged.
int32_t AskTwoIntegers(TUserInput& input, int32_t& value1, int32_t min1, int32_t max1, int32_t& value2,
                       int32_t min2, int32_t max2, const std::string& title, const std::string& text1,
                       const std::string& text2);

// AskTwoIntegers for a paper's width and height, both between min and max,
// through the page size prompt with its presets.
int32_t AskPaperSize(TUserInput& input, int32_t& width, int32_t& height, int32_t min, int32_t max,
                     const std::string& title, const std::string& widthText, const std::string& heightText,
                     const TUserInput::PaperSizeHelp& help);

// The string id of the first failing layer check (the active layer is
// protected and hidden, protected, or hidden), or 0 when the settings can be
// accepted.
uint32_t CheckLayerSettings(uint16_t active, uint16_t visible, uint16_t protectedMask);
