#pragma once

#include "TEdBase.h"

#include <QFont>

// A multi-line text edit holding at most a given number of bytes of UTF-8
// text, counted as the text is stored: with its line ends ("\n" or
// "\r\n"). It takes Enter itself (a new line); Shift+Enter still confirms
// the dialogue.
class TEdit : public TEdBase
{
public:
  // limit: the most bytes the text may hold (no limit when below 0).
  TEdit(TDialog* dialog, int32_t id, const std::string& label, int32_t limit);

  bool IsA(int32_t id) const override;
  bool WantsReturn() const override { return true; }
  // The text as stored, its lines ending with the edit's line end ("\r\n"
  // and "\n" are both read).
  void SetText(const std::string& text) override;
  std::string GetText() const override;
  void SetLineEnd(const std::string& lineEnd) { m_lineEnd = lineEnd; }
  void SetFont(const QFont& font);
  // Below 0: no limit. A longer text is cut at once.
  void SetLimit(int32_t limit);

private:
  // The text with the edit's line ends, cut to the limit; and back.
  std::string Stored(const std::string& text) const;
  QString Shown(const std::string& stored) const;
  void KeepWithinLimit();

  int32_t m_limit;
  std::string m_lineEnd = "\n";
};
