#include "TDialog.h"

#include "ClassTable.h"
#include "DialogDescriptions.h"
#include "Messages.h"
#include "TBouton.h"
#include "TControl.h"
#include "ViewRegistry.h"

#include <QApplication>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>

// The dialogue's keyboard rules and its window's close box, for every
// widget of the dialogue while its loop runs.
class TDialog::KeyRules : public QObject
{
public:
  explicit KeyRules(TDialog& dialog) : m_dialog(dialog) {}

protected:
  bool eventFilter(QObject* watched, QEvent* event) override
  {
    if (!watched->isWidgetType())
      return false;
    auto* widget = static_cast<QWidget*>(watched);
    QWidget* window = m_dialog.Widget();
    if (!window || widget->window() != window)
      return false;
    if (event->type() == QEvent::Close && widget == window) {
      // The close box means Cancel.
      event->ignore();
      m_dialog.WndProc(WM_COMMAND_, IDCANCEL_, 0);
      return true;
    }
    if (event->type() != QEvent::KeyPress)
      return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    return m_dialog.HandleKey(widget, key->key(), key->modifiers());
  }

private:
  TDialog& m_dialog;
};

TDialog::TDialog(std::string_view resource, TVue* parentView)
{
  classId = kTDialog;
  SetParent(parentView);
  if (const DialogDescription describe = FindDialogDescription(resource)) {
    MakeWindow(parentView, "");
    describe(*this);
  }
}

TDialog::TDialog(TVue* parentView, const std::string& title)
{
  classId = kTDialog;
  SetParent(parentView);
  MakeWindow(parentView, title);
}

TDialog::~TDialog()
{
  End(IDCANCEL_);
  // The controls first: they let go of their widgets inside the window.
  ClearObjects();
  UnbindView(this);
  delete m_widget.data();
}

void TDialog::MakeWindow(TVue* parentView, const std::string& title)
{
  viewFlags |= kDialogView;
  QWidget* ownerWidget = ViewWindow(parentView);
  if (!ownerWidget)
    ownerWidget = QApplication::activeWindow();
  m_widget = new QWidget(ownerWidget, Qt::Dialog);
  m_widget->setWindowTitle(QString::fromStdString(title));
  m_body = new QVBoxLayout(m_widget);
  m_body->setSizeConstraint(QLayout::SetFixedSize);
  BindViewWidget(this, m_widget);
}

bool TDialog::IsA(int32_t id) const
{
  return id == kTDialog || TClient::IsA(id);
}

uint32_t TDialog::Message(uint32_t message, int32_t a, int32_t b, void* p)
{
  if (message == IDOK_ || message == IDCANCEL_ || Control(static_cast<int32_t>(message))) {
    if (Command(static_cast<uint16_t>(message), static_cast<uint16_t>(a)))
      End(static_cast<int32_t>(message));
    return 1;
  }
  return TClient::Message(message, a, b, p);
}

bool TDialog::Command(uint16_t command, uint16_t code)
{
  if (code != TControl::kClicked)
    return false;
  if (command == IDOK_)
    return Validate();
  return command == IDCANCEL_;
}

void TDialog::SetTitle(const std::string& title)
{
  if (m_widget)
    m_widget->setWindowTitle(QString::fromStdString(title));
}

void TDialog::AddOkCancel(const std::string& okText, const std::string& cancelText)
{
  if (!m_body)
    return;
  auto* ok = new TBouton(this, IDOK_, okText, true);
  auto* cancel = new TBouton(this, IDCANCEL_, cancelText);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(ok->Widget());
  row->addWidget(cancel->Widget());
  m_body->addSpacing(4);
  m_body->addLayout(row);
}

// ---- controls ----

int32_t TDialog::ControlCount() const
{
  return ObjectCount();
}

TControl* TDialog::ControlAt(int32_t index) const
{
  return dynamic_cast<TControl*>(ObjectAtIndex(index));
}

TControl* TDialog::Control(int32_t id) const
{
  for (int32_t i = 0; i < ControlCount(); ++i) {
    TControl* control = ControlAt(i);
    if (control && control->GetId() == id)
      return control;
  }
  return nullptr;
}

void TDialog::FocusControl(int32_t id)
{
  for (int32_t i = 0; i < ControlCount(); ++i) {
    TControl* control = ControlAt(i);
    if (control && control->GetId() == id && control->CanTakeFocus()) {
      control->SetFocus();
      m_focusIndex = i;
      return;
    }
  }
}

// ---- focus ----

std::vector<TDialog::Stop> TDialog::FocusStops() const
{
  std::vector<Stop> stops;
  for (int32_t i = 0; i < ControlCount(); ++i) {
    const TControl* control = ControlAt(i);
    if (!control || !control->CanTakeFocus())
      continue;
    for (int32_t s = 0; s < control->FocusStops(); ++s) {
      const QWidget* widget = control->FocusStop(s);
      if (widget && widget->isEnabled())
        stops.push_back({i, s});
    }
  }
  return stops;
}

int32_t TDialog::CurrentStop(const std::vector<Stop>& stops) const
{
  const QWidget* focused = m_widget ? m_widget->focusWidget() : nullptr;
  if (!focused)
    return -1;
  for (size_t k = 0; k < stops.size(); ++k) {
    const QWidget* stop = ControlAt(stops[k].control)->FocusStop(stops[k].index);
    if (stop == focused || stop->isAncestorOf(focused))
      return static_cast<int32_t>(k);
  }
  // Inside a control but not on one of its stops (a radio button the arrow
  // keys moved to): the control's first stop.
  for (size_t k = 0; k < stops.size(); ++k) {
    const QWidget* widget = ControlAt(stops[k].control)->Widget();
    if (widget && (widget == focused || widget->isAncestorOf(focused)))
      return static_cast<int32_t>(k);
  }
  return -1;
}

void TDialog::MoveFocus(bool forward)
{
  const std::vector<Stop> stops = FocusStops();
  if (stops.empty())
    return;
  const int32_t n = static_cast<int32_t>(stops.size());
  const int32_t current = CurrentStop(stops);
  int32_t next;
  if (current < 0)
    next = forward ? 0 : n - 1;
  else
    next = (current + (forward ? 1 : n - 1)) % n;
  const Stop& stop = stops[static_cast<size_t>(next)];
  ControlAt(stop.control)
      ->FocusStop(stop.index)
      ->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  m_focusIndex = stop.control;
}

int32_t TDialog::DefaultCommand() const
{
  for (int32_t i = 0; i < ControlCount(); ++i) {
    const auto* button = dynamic_cast<const TBouton*>(ControlAt(i));
    if (button && button->CanTakeFocus() && button->IsDefault())
      return button->GetId();
  }
  return 0;
}

bool TDialog::HandleKey(QWidget*, int key, Qt::KeyboardModifiers modifiers)
{
  if (modifiers & (Qt::ControlModifier | Qt::AltModifier))
    return false;
  const bool shift = (modifiers & Qt::ShiftModifier) != 0;
  switch (key) {
  case Qt::Key_Tab:
    MoveFocus(!shift);
    return true;
  case Qt::Key_Backtab:
    MoveFocus(false);
    return true;
  case Qt::Key_Escape:
    WndProc(WM_COMMAND_, IDCANCEL_, 0);
    return true;
  case Qt::Key_Return:
  case Qt::Key_Enter: {
    const std::vector<Stop> stops = FocusStops();
    const int32_t current = CurrentStop(stops);
    // A multi-line edit takes a plain Enter as a new line.
    if (!shift && current >= 0 && ControlAt(stops[static_cast<size_t>(current)].control)->WantsReturn())
      return false;
    if (const int32_t command = DefaultCommand()) {
      WndProc(WM_COMMAND_, static_cast<uint32_t>(command), 0);
      return true;
    }
    if (m_dialogFlags & kEnterIgnored)
      return true;
    const bool onLast = current >= 0 && current == static_cast<int32_t>(stops.size()) - 1;
    if (shift || (onLast && (m_dialogFlags & kEnterOnLastIsOk)))
      WndProc(WM_COMMAND_, IDOK_, 0);
    else
      MoveFocus(true);
    return true;
  }
  default:
    return false;
  }
}

// ---- the modal loop ----

void TDialog::Place()
{
  m_widget->adjustSize();
  const QWidget* ownerWidget = m_widget->parentWidget();
  QRect area;
  if (ownerWidget && !m_centredOnScreen && ownerWidget->isVisible())
    area = ownerWidget->window()->frameGeometry();
  else if (const QScreen* screen = ownerWidget ? ownerWidget->screen() : QGuiApplication::primaryScreen())
    area = screen->availableGeometry();
  if (area.isValid())
    m_widget->move(area.center() - QPoint(m_widget->width() / 2, m_widget->height() / 2));
}

int32_t TDialog::RunModal(int32_t focusIndex)
{
  if (m_running || !m_widget || ControlCount() == 0)
    return 0;
  m_running = true;
  m_result = 0;

  m_widget->setWindowModality(Qt::ApplicationModal);
  Place();
  m_widget->show();
  m_widget->raise();
  m_widget->activateWindow();

  // The focus goes to the asked control, or the next one that can take it.
  const int32_t count = ControlCount();
  int32_t start = focusIndex >= 0 && focusIndex < count ? focusIndex : m_focusIndex;
  for (int32_t k = 0; k < count; ++k) {
    const int32_t i = (start + k) % count;
    TControl* control = ControlAt(i);
    if (control && control->CanTakeFocus()) {
      control->SetFocus();
      m_focusIndex = i;
      break;
    }
  }

  KeyRules rules(*this);
  qApp->installEventFilter(&rules);
  QEventLoop loop;
  m_loop = &loop;
  while (m_running) {
    loop.exec();
    // The loop ended without a command: the application is quitting.
    if (m_running)
      End(IDCANCEL_);
  }
  m_loop = nullptr;
  qApp->removeEventFilter(&rules);

  const std::vector<Stop> stops = FocusStops();
  const int32_t current = CurrentStop(stops);
  if (current >= 0)
    m_focusIndex = stops[static_cast<size_t>(current)].control;
  if (m_widget)
    m_widget->hide();
  return m_result;
}

void TDialog::End(int32_t command)
{
  if (!m_running)
    return;
  m_result = command;
  m_running = false;
  if (m_loop)
    m_loop->quit();
}
