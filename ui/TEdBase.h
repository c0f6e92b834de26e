#pragma once

#include "TControl.h"

#include <string>

class TStatic;

// Base of the edits: a text field with its label, a right-aligned TStatic
// of the same dialogue.
class TEdBase : public TControl
{
public:
  // An empty label makes no label; labelId is the label's own control id.
  TEdBase(TDialog* dialog, int32_t id, const std::string& label, int32_t labelId = -1);

  TStatic* GetLabel() const { return m_label; }
  virtual void SetText(const std::string& text) = 0;
  virtual std::string GetText() const = 0;

private:
  TStatic* m_label = nullptr; // owned by the dialogue
};
