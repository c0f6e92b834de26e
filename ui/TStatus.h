#pragma once

#include "TVue.h"

#include <QPointer>

#include <string>

class QWidget;

// The status bar: a sunken one-line view showing one text of at most 150
// bytes (a longer text is cut, never in the middle of a character). While a
// mouse button is held on it, it shows the memory the program uses instead
// (where the system tells it) and puts the text back on release.
class TStatus : public TVue
{
public:
  static constexpr size_t kMaxText = 150;

  explicit TStatus(QWidget* parentWidget = nullptr);
  ~TStatus() override;
  TStatus(const TStatus&) = delete;
  TStatus& operator=(const TStatus&) = delete;

  bool IsA(int32_t id) const override;
  void SetText(const std::string& text);
  const std::string& GetText() const { return m_text; }
  // The lasting state shown at the right (zoom, layer, snap...).
  void SetState(const std::string& text);
  const std::string& GetState() const { return m_state; }
  QWidget* Widget() const { return m_widget.data(); }

  // The memory figures shown while a button is held; empty when the system
  // does not tell.
  static std::string MemoryText();

private:
  std::string m_text;
  std::string m_state;
  QPointer<QWidget> m_widget;
};
