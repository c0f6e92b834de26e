#include "TEdit.h"

#include "ClassTable.h"
#include "TClient.h"
#include "TStatic.h"
#include "TextEncoding.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTextCursor>

TEdit::TEdit(TDialog* dialog, int32_t id, const std::string& label, int32_t limit)
    : TEdBase(dialog, id, label), m_limit(limit)
{
  classId = kTEdit;
  auto* edit = new QPlainTextEdit(DialogWindow());
  edit->setTabChangesFocus(true);
  QObject::connect(edit, &QPlainTextEdit::textChanged, [this] {
    KeepWithinLimit();
    NotifyDialog(kChanged);
  });
  SetWidget(edit);
  if (GetLabel())
    static_cast<QLabel*>(GetLabel()->Widget())->setBuddy(edit);
}

bool TEdit::IsA(int32_t id) const
{
  return id == kTEdit || TControl::IsA(id);
}

void TEdit::SetText(const std::string& text)
{
  if (auto* edit = static_cast<QPlainTextEdit*>(Widget()))
    edit->setPlainText(Shown(Stored(text)));
}

std::string TEdit::GetText() const
{
  const auto* edit = static_cast<const QPlainTextEdit*>(Widget());
  return edit ? Stored(edit->toPlainText().toStdString()) : std::string();
}

std::string TEdit::Stored(const std::string& text) const
{
  std::string stored;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
      continue;
    if (text[i] == '\n')
      stored += m_lineEnd;
    else
      stored += text[i];
  }
  if (m_limit < 0 || stored.size() <= static_cast<size_t>(m_limit))
    return stored;
  stored = CutText(stored, static_cast<size_t>(m_limit));
  // A line end is kept whole or not at all.
  if (!stored.empty() && stored.back() == '\r')
    stored.pop_back();
  return stored;
}

QString TEdit::Shown(const std::string& stored) const
{
  std::string shown;
  for (size_t i = 0; i < stored.size(); ++i) {
    if (stored[i] == '\r' && i + 1 < stored.size() && stored[i + 1] == '\n')
      continue;
    shown += stored[i];
  }
  return QString::fromStdString(shown);
}

void TEdit::SetFont(const QFont& font)
{
  if (QWidget* edit = Widget())
    edit->setFont(font);
}

void TEdit::SetLimit(int32_t limit)
{
  m_limit = limit;
  KeepWithinLimit();
}

void TEdit::KeepWithinLimit()
{
  auto* edit = static_cast<QPlainTextEdit*>(Widget());
  if (!edit || m_limit < 0)
    return;
  const QString kept = Shown(GetText());
  if (kept == edit->toPlainText())
    return;
  // What does not fit is dropped at once, as a limited edit refuses it.
  const QSignalBlocker blocker(edit);
  edit->setPlainText(kept);
  edit->moveCursor(QTextCursor::End);
}
