#pragma once

#include "TDialog.h"
#include "TUserInput.h"

// The units dialogue ("KARWI_DIALOGUNITES", "Units"): the size of a logical
// unit on paper, the scale of user units ("To scale:"), the decimals shown
// and the number format. Choosing a unit or a format proposes a scale and
// decimals; the line under the fields shows the paper size those settings
// give, at every change. A scale not above 0 is refused.
class TDialogUnites : public TDialog
{
public:
  static constexpr uint16_t kPaperGroup = 100;
  static constexpr uint16_t kScaleField = 200;
  static constexpr uint16_t kDecimalsField = 300;
  static constexpr uint16_t kSizeLine = 400;
  static constexpr uint16_t kFormatGroup = 500;

  TDialogUnites(TVue* parent, const TUserInput::UnitsSettings& settings);

  // Runs the dialogue; true on OK with the choice read back.
  bool Run(TUserInput::UnitsSettings& settings);

protected:
  bool Command(uint16_t command, uint16_t code) override;
  bool Validate() override;

private:
  int32_t UnitIndex() const;
  uint16_t NumberFormat() const;
  // The typed scale; 1.0 when the field holds no number.
  double Scale() const;
  int32_t Decimals() const;
  void Propose();
  void ShowSizeLine();

  TUserInput::UnitsSettings m_settings;
};

// A scale as the field shows it: up to six decimals, trailing zeros dropped.
std::string ScaleText(double scale);
