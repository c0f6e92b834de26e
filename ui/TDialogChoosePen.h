#pragma once

#include "TDialog.h"

class TEdl;
class TPen;
class TRadio;

// The line style dialogue ("KARWI_ChoosePen", "Line Style") on one pen:
// its style among five radio buttons and, for the solid line, its width in
// the user units of the client page (logical units without one).
//
// The first button stands for the solid line and always stores the
// inside-frame style; the others store dash, dot, dash-dot and
// dash-dot-dot with a width of 0 (such lines are drawn at the thinnest
// width). A solid width must lie in 0..1000 logical units, else "Pen width
// is too wide" keeps the dialogue open with the focus on the width.
class TDialogChoosePen : public TDialog
{
public:
  static constexpr int32_t kMaxWidth = 1000;
  static constexpr uint16_t kStyleGroup = 32585;
  static constexpr uint16_t kWidthField = 32563;

  // pen and client are not owned; client may be null.
  TDialogChoosePen(TVue* parent, TPen& pen, TClient* client);

  // Fills the dialogue from the pen and runs it; on OK stores the choice
  // into the pen and answers 1, else 0 (cancelled, or no dialogue).
  int32_t ChoosePen();

protected:
  bool Command(uint16_t command, uint16_t code) override;
  bool Validate() override;

private:
  void Fill();
  void EnableWidth();
  bool SolidChosen() const;
  // The typed width in logical units; false when it is not a number.
  bool ReadWidth(int32_t& width) const;

  TPen& m_pen;
  TClient* m_client;
  TRadio* m_style = nullptr; // owned by the dialogue
  TEdl* m_width = nullptr;
};

// Builds the line style dialogue for pen with the units of client (may be
// null), runs it and destroys it: 1 when the pen was changed.
int32_t ChoosePen(TPen& pen, TClient* client, TVue* parent = nullptr);
