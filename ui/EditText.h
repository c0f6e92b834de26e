#pragma once

#include <cstdint>
#include <string>

class TFont;
class TVue;

// The multi-line text dialogue ("KARWI_DialogMultiEdit"): text is put into
// its edit (item 101) shown in the family and style of font (when given),
// at most limit bytes (no limit below 0). On OK the edited text is copied
// back into text, with the line ends the text came with ("\r\n" or "\n"),
// and the answer is true.
bool EditText(TVue* parent, std::string& text, int32_t limit, const std::string& title, const TFont* font);
