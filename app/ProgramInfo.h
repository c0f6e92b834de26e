#pragma once

#include <string>

// What the program tells about itself: its version (the project's), the
// text of the About box and where its manual lies.
std::string ProgramVersion();
std::string AboutText();
// The manual's first page: beside the executable ("docs/index.html"), then
// in the source tree the program was built from; empty when neither exists.
std::string ManualPath();
