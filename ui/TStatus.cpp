#include "TStatus.h"

#include "ClassTable.h"
#include "StringTable.h"
#include "TClient.h"
#include "TextEncoding.h"
#include "ViewRegistry.h"

#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>

namespace {

// The sunken strip; a held button shows the memory figures.
class StatusStrip : public QFrame
{
public:
  StatusStrip(TStatus& status, QWidget* parent)
      : QFrame(parent), m_status(status), m_label(new QLabel(this)), m_state(new QLabel(this))
  {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    m_label->setTextFormat(Qt::PlainText);
    m_label->setIndent(4);
    m_state->setTextFormat(Qt::PlainText);
    m_state->setIndent(4);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->addWidget(m_label, 1);
    layout->addWidget(m_state);
    setFixedHeight(m_label->sizeHint().height() + 6);
  }
  void Show(const std::string& text) { m_label->setText(QString::fromStdString(text)); }
  void ShowState(const std::string& text) { m_state->setText(QString::fromStdString(text)); }

protected:
  void mousePressEvent(QMouseEvent*) override
  {
    const std::string memory = TStatus::MemoryText();
    if (!memory.empty())
      Show(memory);
  }
  void mouseReleaseEvent(QMouseEvent*) override { Show(m_status.GetText()); }

private:
  TStatus& m_status;
  QLabel* m_label;
  QLabel* m_state;
};

} // namespace

TStatus::TStatus(QWidget* parentWidget)
{
  classId = kTStatus;
  m_widget = new StatusStrip(*this, parentWidget);
  BindViewWidget(this, m_widget);
}

TStatus::~TStatus()
{
  UnbindView(this);
  delete m_widget.data();
}

bool TStatus::IsA(int32_t id) const
{
  return id == kTStatus || TVue::IsA(id);
}

void TStatus::SetText(const std::string& text)
{
  m_text = CutText(text, kMaxText);
  if (auto* strip = dynamic_cast<StatusStrip*>(m_widget.data()))
    strip->Show(m_text);
}

std::string TStatus::MemoryText()
{
  // The resident size, as the system reports it for this process.
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
    return {};
  // The file reports no size, so it is read whole rather than to its end.
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (!line.startsWith("VmRSS:"))
      continue;
    const QList<QByteArray> parts = line.mid(6).simplified().split(' ');
    bool ok = false;
    const long kilobytes = parts.isEmpty() ? 0 : parts.front().toLong(&ok);
    return ok ? FormatStr(IDS_STATUS_MEMORY, kilobytes) : std::string();
  }
  return {};
}

void TStatus::SetState(const std::string& text)
{
  if (text == m_state)
    return;
  m_state = text;
  if (auto* strip = dynamic_cast<StatusStrip*>(m_widget.data()))
    strip->ShowState(text);
}
