#include "TYieldBox.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

TYieldBox::TYieldBox(QWidget* owner, const QString& title) : QDialog(owner)
{
  setWindowTitle(title);
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(title + QStringLiteral("..."), this));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::rejected, this, &TYieldBox::reject);
}

void TYieldBox::Show()
{
  m_result = kRunning;
  QWidget* owner = parentWidget();
  if (owner && owner->isEnabled()) {
    owner->setEnabled(false);
    m_disabled = owner;
  }
  // The owner's children are disabled with it; the box is a window of its
  // own and stays usable.
  setEnabled(true);
  show();
  raise();
  m_shown = true;
  QCoreApplication::processEvents();
}

int TYieldBox::Yield()
{
  if (m_result == kRunning)
    QCoreApplication::processEvents();
  return m_result;
}

bool TYieldBox::Close()
{
  if (m_disabled)
    m_disabled->setEnabled(true);
  m_disabled = nullptr;
  hide();
  return std::exchange(m_shown, false);
}

void TYieldBox::reject()
{
  // Cancel and Escape: the printing loop asks whether to stop.
  m_result = kCancelPressed;
}
