#pragma once

#include <QIcon>

#include <cstdint>

// The program's own pictures, SVG drawings in the program's resources
// (app/icons/, and the program's icon from packaging/) rendered at every
// screen scale: the toolbar button of a command (an empty icon for a
// command without a picture) and the program's window icon. They share one
// look: outlines that contrast with the desktop's palette (dark on light,
// light on dark, recoloured as they are loaded), a blue accent, white paper.
QIcon ToolIcon(uint16_t command);
QIcon ProgramIcon();
