#pragma once

#include <QIcon>

#include <cstdint>

// The program's own pictures, drawn as vectors so that they are crisp at
// every screen scale: the toolbar button of a command (an empty icon for a
// command without a picture) and the program's window icon. They share one
// look: outlines that contrast with the desktop's palette (dark on light,
// light on dark), a blue accent, white paper.
QIcon ToolIcon(uint16_t command);
QIcon ProgramIcon();
