#pragma once

#include "TBrush.h"
#include "TFont.h"
#include "TPen.h"

#include <cstdint>
#include <string>

class TStreamable;

// The process-wide attributes every new object starts from. The object
// popup menu's default-setting commands change them, and the defaults file
// keeps them from one run to the next.
TPen& DefaultPen();           // black, 1 unit wide, inside-frame
TBrush& DefaultBrush();       // hollow
TFont& DefaultFont();         // of text objects: Arial, 14 units high
uint32_t& DefaultTextColor(); // black

// Writes the defaults file: the sections "StandardDataPen",
// "StandardDataFont", "StandardDataPage" (page's record, when page is not
// null) and "StandardDataBrush". The file is replaced only when written
// completely; false when it could not be.
bool WriteDefaultsFile(const std::string& path, const TStreamable* page);
// Reads the sections back into the defaults and page (when not null). A
// missing file or section keeps the built-in value; a damaged section keeps
// what was read before the damage. False when the file cannot be read or a
// section is damaged.
bool ReadDefaultsFile(const std::string& path, TStreamable* page);
