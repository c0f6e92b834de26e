#pragma once

#include <cstdint>

class QWidget;

// The colour chooser: a colour dialog with OK and Cancel and, when allowNone,
// a "None" button that answers "no colour" (kNoColor, a hollow brush or a
// transparent background). colour (0x00BBGGRR) comes in as the current
// choice and goes out as the chosen one; false when cancelled.
bool ChooseColorDialog(QWidget* owner, uint32_t& colour, bool allowNone);
