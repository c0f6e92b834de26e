#include "TEdl.h"

#include "ClassTable.h"
#include "TStatic.h"
#include "ValueFormat.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <array>
#include <cstring>

namespace {

bool IsTextType(uint16_t type)
{
  switch (type >> 8) {
  case 0x00:
  case 0x0C:
  case 0x12:
  case 0x13:
  case 0x14:
    return true;
  default:
    return false;
  }
}

bool IsWholeNumberType(uint16_t type)
{
  const int kind = type >> 8;
  return kind >= 0x04 && kind <= 0x07;
}

// The line edit of a TEdl: typed characters go through the field's filter.
class EdlLine : public QLineEdit
{
public:
  EdlLine(uint16_t type, uint16_t format, QWidget* parent) : QLineEdit(parent), m_type(type), m_format(format)
  {
  }
  void SetFormat(uint16_t format) { m_format = format; }

protected:
  void keyPressEvent(QKeyEvent* event) override
  {
    const QString typed = event->text();
    if (typed.size() != 1 || typed[0].unicode() < 0x20 || typed[0].unicode() == 0x7F ||
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
      QLineEdit::keyPressEvent(event);
      return;
    }
    QString kept = text();
    if (hasSelectedText())
      kept.remove(selectionStart(), selectedText().size());
    const std::optional<QChar> accepted = FilterTypedChar(m_type, m_format, typed[0], kept);
    if (!accepted)
      return;
    if (*accepted == typed[0]) {
      QLineEdit::keyPressEvent(event);
      return;
    }
    insert(QString(*accepted));
    emit textEdited(text());
  }

private:
  uint16_t m_type;
  uint16_t m_format;
};

} // namespace

std::optional<QChar> FilterTypedChar(uint16_t type, uint16_t format, QChar c, const QString& current)
{
  if (c.unicode() < 0x20 || c.unicode() == 0x7F)
    return c;
  const auto in = [c](const char* set) {
    return c.unicode() < 0x80 && std::strchr(set, static_cast<char>(c.unicode()));
  };
  const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
  const bool letter = c.isLetter();
  const std::optional<QChar> refused;
  switch (format & 0xFF) {
  case 1:
  case 2:
    return digit || in("/- ") ? std::optional<QChar>(c) : refused;
  case 6:
    if (IsTextType(type))
      return c;
    if (digit || in("+-"))
      return c;
    if (in(".,") && !IsWholeNumberType(type) && !current.contains(QLatin1Char('.')) &&
        !current.contains(QLatin1Char(',')))
      return QChar(QLatin1Char(DecimalSeparator()));
    return refused;
  case 7:
    return digit || in("abcdefABCDEF") ? std::optional<QChar>(c) : refused;
  case 8:
    return in("01") ? std::optional<QChar>(c) : refused;
  case 9:
    return letter ? std::optional<QChar>(c) : refused;
  case 10:
    return letter || digit ? std::optional<QChar>(c) : refused;
  case 11:
    return letter || digit || c == QLatin1Char('_') ? std::optional<QChar>(c) : refused;
  case 12:
    return digit ? std::optional<QChar>(c) : refused;
  case kFormatFeetInches:
  case kFormatInches:
    return digit || in(" '\"/+-.,") ? std::optional<QChar>(c) : refused;
  default:
    return c;
  }
}

TEdl::TEdl(TDialog* dialog, int32_t id, const std::string& label, uint16_t type, uint16_t format,
           int32_t decimals, int32_t maxLength, int32_t shownWidth, int32_t labelId)
    : TEdBase(dialog, id, label, labelId), m_type(type), m_format(format), m_decimals(decimals)
{
  classId = kTEdl;
  maxLength = std::clamp(maxLength, 1, kMaxLength);
  shownWidth = std::clamp(shownWidth, 1, maxLength);
  auto* edit = new EdlLine(type, format, DialogWindow());
  // A typed value may run one character past its shown width; a text stops
  // at its maximum length, which is all its value can hold.
  edit->setMaxLength(IsTextType(type) ? maxLength : shownWidth + 1);
  const QFontMetrics metrics(edit->font());
  edit->setMinimumWidth(metrics.horizontalAdvance(QLatin1Char('0')) * shownWidth + 16);
  if (!IsTextType(type))
    edit->setAlignment(Qt::AlignRight);
  QObject::connect(edit, &QLineEdit::textEdited, [this] { NotifyDialog(kChanged); });
  SetWidget(edit);
  if (GetLabel())
    static_cast<QLabel*>(GetLabel()->Widget())->setBuddy(edit);
}

bool TEdl::IsA(int32_t id) const
{
  return id == kTEdl || TControl::IsA(id);
}

void TEdl::SetText(const std::string& text)
{
  if (auto* edit = static_cast<QLineEdit*>(Widget()))
    edit->setText(QString::fromStdString(text));
}

std::string TEdl::GetText() const
{
  const auto* edit = static_cast<const QLineEdit*>(Widget());
  return edit ? edit->text().left(kMaxLength).toStdString() : std::string();
}

void TEdl::SetValue(const void* value)
{
  SetText(FormatValue(value, m_type, m_format, MakePrecision(m_decimals)));
}

int32_t TEdl::GetValue(void* value) const
{
  // Text types need room for their limit and the terminating zero.
  std::array<char, 2600> buffer{};
  const int32_t stored = ParseValue(buffer.data(), GetText(), m_type, m_format);
  if (stored > 0 && value)
    std::memcpy(value, buffer.data(), static_cast<size_t>(stored));
  return stored;
}

bool TEdl::HoldsNumber() const
{
  const std::string text = GetText();
  return std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void TEdl::SetFormat(uint16_t format, int32_t decimals)
{
  m_format = format;
  m_decimals = decimals;
  if (auto* edit = dynamic_cast<EdlLine*>(Widget()))
    edit->SetFormat(format);
}
