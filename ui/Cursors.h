#pragma once

#include <QCursor>

#include <cstdint>
#include <string_view>

// The cursors of the program's resources, drawn here: "KARWI_CurseurMain"
// (picking objects by click), "KARWI_CurseurSelect" (the first corner of a
// rectangle) and "KARWI_CurseurZero" (the document view's own cursor).
// Names are matched without regard to case; an unknown name gives the arrow.
QCursor ResourceCursor(std::string_view name);

// The cursor of a TUserInput cursor id (1 arrow, 2 cross, 3 pick,
// 4 rectangle, 5 wait); the arrow for 0 and unknown ids.
QCursor ViewCursor(int32_t cursorId);
