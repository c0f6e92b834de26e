#pragma once

#include <cstdint>
#include <string>

class QWidget;

// Every question and warning of the program goes through here: a message
// box over owner (the active window when null) with the caption, the text
// (plain text; "\n" breaks lines) and the buttons, icon and default button
// of flags (MB_* of Messages.h). Answers the button pressed: IDOK_,
// IDCANCEL_, IDYES_ or IDNO_. Escape or the close box answer Cancel, or No
// in a Yes/No box, or OK in an OK box.
int32_t MessageBox(QWidget* owner, const std::string& caption, const std::string& text, uint32_t flags);
