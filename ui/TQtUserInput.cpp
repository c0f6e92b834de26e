#include "TQtUserInput.h"

#include "TApercu.h"

#include "ColorDialog.h"
#include "EditText.h"
#include "Geometry.h"
#include "MessageBox.h"
#include "Messages.h"
#include "StringTable.h"
#include "TClient.h"
#include "TDialogChoosePen.h"
#include "TDialogIntegers.h"
#include "TDialogLayers.h"
#include "TDialogObjectLayer.h"
#include "TDialogOption.h"
#include "TDialogSnap.h"
#include "TDialogUnites.h"
#include "TDialogValues.h"
#include "TEdl.h"
#include "TFont.h"
#include "TPop.h"
#include "TPrintJob.h"
#include "TStatic.h"
#include "TTabWindow.h"
#include "TVueWidget.h"
#include "TextEncoding.h"
#include "ValueFormat.h"
#include "ViewRegistry.h"

#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPrinter>
#include <QScreen>
#include <QStorageInfo>
#include <QStringList>
#include <QStyleHints>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPointsPerInch = 72.0;
constexpr int32_t kTextField = 100;
constexpr int32_t kTextFieldWidth = 30;
// Work shorter than this shows no box.
constexpr qint64 kWorkBoxDelayMs = 500;

// Set once a message loop found the application quitting; every later wait
// gives up at once.
bool& QuittingFlag()
{
  static bool quitting = false;
  return quitting;
}

bool Quitting()
{
  return QuittingFlag() || QCoreApplication::closingDown();
}

TVueWidget* WidgetOf(const TVue* view)
{
  return dynamic_cast<TVueWidget*>(ViewWidget(view));
}

QRect RectOf(const int32_t* ltrb)
{
  return QRect(QPoint(ltrb[0], ltrb[1]), QPoint(ltrb[2] - 1, ltrb[3] - 1)).normalized();
}

// A mouse grab of a running procedure would keep the dialog from being
// used; it is let go while the dialog is open and taken back afterwards.
class GrabPause
{
public:
  GrabPause() : m_grabber(QWidget::mouseGrabber())
  {
    if (m_grabber)
      m_grabber->releaseMouse();
  }
  ~GrabPause()
  {
    if (m_grabber && m_grabber->isVisible())
      m_grabber->grabMouse();
  }
  GrabPause(const GrabPause&) = delete;
  GrabPause& operator=(const GrabPause&) = delete;

private:
  QPointer<QWidget> m_grabber;
};

} // namespace

// ---- fonts ----

double FontPoints(const TFont& font, int32_t unitsPerInch)
{
  const int32_t height = font.Record().height == 0 ? -TFont::kDefaultHeight : font.Record().height;
  // The em height: a cell height (positive) is measured as the handle does.
  const double em = height < 0 ? -static_cast<double>(height) : font.GetHandle().pixelSize();
  return em * kPointsPerInch / (unitsPerInch > 0 ? unitsPerInch : 100);
}

void SetFontFromQt(TFont& font, const QFont& chosen, int32_t unitsPerInch)
{
  const double units = unitsPerInch > 0 ? unitsPerInch : 100;
  TLogFont record = font.Record();
  const double oldEm = FontPoints(font, unitsPerInch) * units / kPointsPerInch;
  const int32_t em = std::max(1, RoundHalfAway(chosen.pointSizeF() * units / kPointsPerInch));
  record.height = -em;
  // A set width keeps its proportion to the height.
  if (record.width != 0 && oldEm > 0)
    record.width = std::max(1, RoundHalfAway(record.width * em / oldEm));
  record.weight = chosen.weight();
  record.italic = chosen.italic() ? 1 : 0;
  record.underline = chosen.underline() ? 1 : 0;
  record.strikeOut = chosen.strikeOut() ? 1 : 0;
  record.SetFaceName(chosen.family().toStdString());
  font.SetRecord(record);
}

QString FileDialogFilter(const std::string& filter)
{
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& label = parts[i];
    const QString& pattern = parts[i + 1];
    // Qt reads the patterns from the parentheses of the label.
    filters << (label.contains(QLatin1Char('(')) ? label
                                                 : label + QLatin1String(" (") + pattern + QLatin1Char(')'));
  }
  if (filters.isEmpty() && !parts.isEmpty())
    filters << parts.front();
  return filters.join(QLatin1String(";;"));
}

// ---- the input ----

TQtUserInput::TQtUserInput(TVue* owner, TClient* unitsClient) : m_owner(owner), m_unitsClient(unitsClient) {}

TQtUserInput::~TQtUserInput() = default;

QWidget* TQtUserInput::DialogOwner() const
{
  QWidget* window = ViewWindow(m_owner);
  return window ? window : QApplication::activeWindow();
}

int32_t TQtUserInput::UnitsPerInch() const
{
  const TPage* page = m_unitsClient ? m_unitsClient->GetPage() : nullptr;
  return page ? page->GetUnitsPerInch() : 100;
}

bool TQtUserInput::PumpMessage(TVue* view)
{
  QPointer<TVueWidget> widget = WidgetOf(view);
  if (!widget || Quitting())
    return false;
  // Input waits in the widget's queue while this procedure looks for it.
  widget->BeginModal();
  while (widget && !widget->HasMessage()) {
    TVueWidget::Waiter waiter;
    TVueWidget::Waiter* outer = widget->SetWaiter(&waiter);
    waiter.loop.exec();
    if (widget)
      widget->SetWaiter(outer);
    else if (outer)
      outer->loop.quit(); // an outer wait on the same widget ends too
    // The loop ended without a message: the application is quitting (or
    // the widget went away, which the loop condition sees).
    if (widget && !waiter.arrived) {
      QuittingFlag() = true;
      widget->EndModal();
      return false;
    }
  }
  if (!widget)
    return false;
  widget->DeliverMessage();
  if (widget)
    widget->EndModal();
  return true;
}

void TQtUserInput::GetClientSize(TVue* view, int32_t& width, int32_t& height)
{
  const TVueWidget* widget = WidgetOf(view);
  const QSize size = widget ? widget->ClientSize() : QSize();
  width = size.width();
  height = size.height();
}

void TQtUserInput::GetPointerPos(TVue* view, int32_t& x, int32_t& y)
{
  const TVueWidget* widget = WidgetOf(view);
  const QPoint p = widget ? widget->PointerPosition() : QPoint();
  x = p.x();
  y = p.y();
}

void TQtUserInput::SetPointerPos(TVue* view, int32_t x, int32_t y)
{
  if (TVueWidget* widget = WidgetOf(view))
    widget->PlacePointer(QPoint(x, y));
}

void TQtUserInput::ShowPointer(TVue* view, bool show)
{
  if (TVueWidget* widget = WidgetOf(view))
    widget->ShowPointer(show);
}

void TQtUserInput::CaptureMouse(TVue* view, bool capture)
{
  TVueWidget* widget = WidgetOf(view);
  if (!widget)
    return;
  // Capturing marks a running procedure: input waits in the widget's queue
  // until the procedure asks for it.
  if (capture) {
    widget->BeginModal();
    if (widget->isVisible()) {
      widget->grabMouse();
      widget->setFocus(Qt::OtherFocusReason);
    }
  } else {
    if (QWidget::mouseGrabber() == widget)
      widget->releaseMouse();
    widget->EndModal();
  }
}

int32_t TQtUserInput::SetCursor(TVue* view, int32_t cursorId)
{
  TVueWidget* widget = WidgetOf(view);
  return widget ? widget->SetViewCursor(cursorId) : 0;
}

void TQtUserInput::Invalidate(TVue* view, const int32_t* ltrb)
{
  TVueWidget* widget = WidgetOf(view);
  if (!widget)
    return;
  if (ltrb) {
    const QRect area = RectOf(ltrb);
    widget->InvalidateArea(&area);
  } else {
    widget->InvalidateArea(nullptr);
  }
}

void TQtUserInput::Update(TVue* view)
{
  if (TVueWidget* widget = WidgetOf(view))
    widget->repaint();
}

QPaintDevice* TQtUserInput::OverlayDevice(TVue* view)
{
  TVueWidget* widget = WidgetOf(view);
  return widget ? widget->OverlayDevice() : nullptr;
}

void TQtUserInput::OverlayChanged(TVue* view, const int32_t* ltrb)
{
  TVueWidget* widget = WidgetOf(view);
  if (widget && ltrb)
    widget->OverlayChanged(RectOf(ltrb));
}

void TQtUserInput::ScrollChanged(TVue* view, int32_t deviceDx, int32_t deviceDy)
{
  if (TVueWidget* widget = WidgetOf(view))
    widget->ScrollChanged(deviceDx, deviceDy);
}

void TQtUserInput::PostMessage(TVue* view, uint32_t message, uint32_t param1, uintptr_t param2)
{
  // A view without a window has nowhere to receive it.
  if (TVueWidget* widget = WidgetOf(view))
    widget->PostMessage(message, param1, param2);
}

int32_t TQtUserInput::DragDistance() const
{
  return QGuiApplication::styleHints() ? QGuiApplication::styleHints()->startDragDistance()
                                       : kDefaultDragDistance;
}

bool TQtUserInput::SetStatusText(TVue* view, const std::string& text)
{
  TVue* parent = view ? view->GetParent() : nullptr;
  // A document in a hidden tab (a field refresh, a readout still pending)
  // must not write over what the shown one says.
  if (auto* frame = dynamic_cast<TTabWindow*>(parent); frame && frame->ActiveView() != view)
    return true;
  return parent && parent->WndProc(MSG_SET_STATUS, 0, reinterpret_cast<uintptr_t>(text.c_str())) != 0;
}

// ---- dialogs ----

int32_t TQtUserInput::MessageBox(const std::string& text, const std::string& title, uint32_t flags)
{
  GrabPause pause;
  return ::MessageBox(DialogOwner(), title, text, flags);
}

bool TQtUserInput::AskValues(const std::string& title, std::vector<ValueField>& fields)
{
  GrabPause pause;
  TDialogValues dialog(m_owner, title, fields);
  return dialog.Run(fields);
}

bool TQtUserInput::PromptIntegers(const std::string& title, std::vector<IntegerField>& fields)
{
  GrabPause pause;
  TDialogIntegers dialog(m_owner, title, fields);
  return dialog.Run(fields);
}

bool TQtUserInput::PromptPaperSize(const std::string& title, std::vector<IntegerField>& fields,
                                   const PaperSizeHelp& help)
{
  GrabPause pause;
  TDialogIntegers dialog(m_owner, title, fields, help);
  return dialog.Run(fields);
}

bool TQtUserInput::EditText(const std::string& title, std::string& text, int32_t limit, const TFont* font)
{
  GrabPause pause;
  return ::EditText(m_owner, text, limit, title, font);
}

bool TQtUserInput::AskText(const std::string& title, const std::string& prompt, std::string& text,
                           int32_t limit)
{
  GrabPause pause;
  // The field holds at most limit bytes, and never more than a line field can.
  const int32_t length = limit > 0 ? std::min(limit, TEdl::kMaxLength) : TEdl::kMaxLength;
  TDialog dialog(m_owner, title);
  auto* field = new TEdl(&dialog, kTextField, prompt, static_cast<uint16_t>(kTypeString | length), 0, 0,
                         length, std::min(length, kTextFieldWidth));
  field->SetText(CutText(text, static_cast<size_t>(length)));
  auto* row = new QHBoxLayout;
  row->addWidget(field->GetLabel()->Widget());
  row->addWidget(field->Widget(), 1);
  dialog.Body()->addLayout(row);
  dialog.AddOkCancel(LoadStr(IDS_BUTTON_OK), LoadStr(IDS_BUTTON_CANCEL));
  if (dialog.RunModal() != IDOK_)
    return false;
  text = CutText(field->GetText(), static_cast<size_t>(length));
  return true;
}

bool TQtUserInput::ChooseOption(const std::string& title, const std::string& groupLabel,
                                const std::vector<std::string>& options, int32_t& index)
{
  GrabPause pause;
  TDialogOption dialog(m_owner, title, groupLabel, options, index);
  return dialog.Run(index);
}

bool TQtUserInput::ChooseColor(uint32_t& colour, bool allowNone)
{
  GrabPause pause;
  return ChooseColorDialog(DialogOwner(), colour, allowNone);
}

bool TQtUserInput::ChooseFont(TFont& font)
{
  GrabPause pause;
  const int32_t unitsPerInch = UnitsPerInch();
  QFont initial = font.GetHandle();
  initial.setPointSizeF(FontPoints(font, unitsPerInch));
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, initial, DialogOwner(), LoadStr(IDS_FONT_TITLE));
  if (!ok)
    return false;
  SetFontFromQt(font, chosen, unitsPerInch);
  return true;
}

bool TQtUserInput::ChoosePen(TPen& pen, TClient* client)
{
  GrabPause pause;
  return ::ChoosePen(pen, client, m_owner) == 1;
}

bool TQtUserInput::EditLayers(LayerSettings& settings)
{
  GrabPause pause;
  TDialogLayers dialog(m_owner, settings);
  return dialog.Run(settings);
}

bool TQtUserInput::EditObjectLayers(uint16_t& mask)
{
  GrabPause pause;
  TDialogObjectLayer dialog(m_owner, mask);
  return dialog.Run(mask);
}

bool TQtUserInput::EditUnits(UnitsSettings& settings)
{
  GrabPause pause;
  TDialogUnites dialog(m_owner, settings);
  return dialog.Run(settings);
}

bool TQtUserInput::EditGridSnap(GridSnapSettings& settings)
{
  GrabPause pause;
  TDialogSnap dialog(m_owner, settings);
  return dialog.Run(settings);
}

bool TQtUserInput::ChooseOpenFile(std::string& path, const std::string& filter)
{
  GrabPause pause;
  const QString chosen = QFileDialog::getOpenFileName(DialogOwner(), LoadStr(IDS_OPEN_FILE_TITLE),
                                                      QString::fromStdString(path), FileDialogFilter(filter));
  if (chosen.isEmpty())
    return false;
  path = chosen.toStdString();
  return true;
}

bool TQtUserInput::ChooseSaveFile(std::string& path, const std::string& filter, const std::string& defaultExt)
{
  GrabPause pause;
  QFileDialog dialog(DialogOwner(), LoadStr(IDS_SAVE_FILE_TITLE), QString::fromStdString(path),
                     FileDialogFilter(filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QString::fromStdString(defaultExt));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return false;
  path = dialog.selectedFiles().front().toStdString();
  return true;
}

uint16_t TQtUserInput::PopupMenu(const std::string& title, const std::vector<MenuItem>& items)
{
  GrabPause pause;
  TPop menu;
  menu.Build(title, items);
  return menu.Track(QCursor::pos());
}

QPagedPaintDevice* TQtUserInput::ChoosePrinter(int32_t mode, PrintSettings& settings)
{
  GrabPause pause;
  return TPrintJob::Current().Choose(DialogOwner(), mode, settings);
}

void TQtUserInput::ShowPrintProgress(const std::string& title, bool show)
{
  TPrintJob::Current().ShowProgress(DialogOwner(), title, show);
}

bool TQtUserInput::PrintCancelled()
{
  return TPrintJob::Current().Cancelled();
}

void TQtUserInput::ShowPictureViewer(TData& object)
{
  const TPage* page = m_unitsClient ? m_unitsClient->GetPage() : nullptr;
  TApercu viewer(object, page ? *page : TPage(), DialogOwner());
  QScreen* screen = DialogOwner() ? DialogOwner()->screen() : QGuiApplication::primaryScreen();
  if (screen)
    viewer.setGeometry(screen->geometry());
  viewer.exec();
}

bool TQtUserInput::IsOnRemovableMedia(const std::string& path)
{
  const QStorageInfo storage(QString::fromStdString(path));
  const QString device = QString::fromLocal8Bit(storage.device());
  if (!storage.isValid() || !device.startsWith(QLatin1String("/dev/")))
    return false;
  // A partition's flag is the flag of the disk it lies on, one folder up.
  const QString block = QLatin1String("/sys/class/block/") + device.mid(5);
  for (const QString& flag : {block + QLatin1String("/removable"), block + QLatin1String("/../removable")}) {
    QFile file(flag);
    if (file.open(QIODevice::ReadOnly))
      return file.read(1) == "1";
  }
  return false;
}

void TQtUserInput::ShowWork(const std::string& title, bool show)
{
  if (show) {
    m_workTitle = title;
    m_workClock.start();
    return;
  }
  if (m_workBox)
    m_workBox->Close();
  m_workBox.reset();
  m_workClock.invalidate();
}

bool TQtUserInput::WorkCancelled()
{
  if (!m_workClock.isValid())
    return false;
  // Short work passes without a box flashing by.
  if (!m_workBox) {
    if (m_workClock.elapsed() < kWorkBoxDelayMs)
      return false;
    m_workBox = std::make_unique<TYieldBox>(DialogOwner(), QString::fromStdString(m_workTitle));
    m_workBox->Show();
  }
  return m_workBox->Yield() == TYieldBox::kCancelPressed;
}

QDialog* TQtUserInput::WorkBox() const
{
  return m_workBox.get();
}

bool TQtUserInput::EndPrintJob(bool abort)
{
  return TPrintJob::Current().End(abort);
}
