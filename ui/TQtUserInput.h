#pragma once

#include "TUserInput.h"
#include "TYieldBox.h"

#include <QElapsedTimer>
#include <QPointer>

#include <memory>

class QWidget;
class TVueWidget;

// The user-input seam on Qt widgets.
//
// Messages: PumpMessage waits in a nested QEventLoop until the widget of the
// view has queued a message (its widget queues input while the view holds
// the mouse, that is while a modal procedure runs) and hands exactly one to
// the view's WndProc. It answers false once the application is quitting or
// the widget went away, and from then on at once.
//
// Window services act on the widget bound to the view (ViewRegistry.h);
// for a view without a widget they do nothing. The status text goes to the
// status bar of the view's parent window (message 32701).
//
// Dialogs are owned by the owner view's window (the active window when the
// input has no owner); while one is open a mouse grab of a running
// procedure is suspended so the dialog can be used. Font sizes are
// converted between page units and points with the units of the page of
// the units client (100 units per inch without one).
class TQtUserInput : public TUserInput
{
public:
  explicit TQtUserInput(TVue* owner = nullptr, TClient* unitsClient = nullptr);
  ~TQtUserInput() override;
  TQtUserInput(const TQtUserInput&) = delete;
  TQtUserInput& operator=(const TQtUserInput&) = delete;

  // ---- TUserInput ----
  bool PumpMessage(TVue* view) override;
  void GetClientSize(TVue* view, int32_t& width, int32_t& height) override;
  void GetPointerPos(TVue* view, int32_t& x, int32_t& y) override;
  int32_t DragDistance() const override;
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
  bool EndPrintJob(bool abort) override;
  void ShowWork(const std::string& title, bool show) override;
  void ShowPictureViewer(TData& object) override;
  // From the kernel's "removable" flag of the disk that holds the file
  // (USB sticks, card readers, optical drives).
  bool IsOnRemovableMedia(const std::string& path) override;
  bool WorkCancelled() override;
  // The box of the work under way once it shows (null before).
  QDialog* WorkBox() const;

private:
  QWidget* DialogOwner() const;
  int32_t UnitsPerInch() const;

  TVue* m_owner;          // not owned; may be null
  TClient* m_unitsClient; // not owned; may be null
  // Long work: its title, how long it has lasted, and its box once shown.
  std::string m_workTitle;
  QElapsedTimer m_workClock;
  std::unique_ptr<TYieldBox> m_workBox;
};

// A filter of the form "label|pattern|label|pattern" as Qt's file dialogs
// take it ("label (pattern);;label (pattern)").
QString FileDialogFilter(const std::string& filter);

// Font sizes: the em height of a font record in page units as points, and
// back (negative: an em height, as the font records store it).
double FontPoints(const TFont& font, int32_t unitsPerInch);
void SetFontFromQt(TFont& font, const QFont& chosen, int32_t unitsPerInch);
