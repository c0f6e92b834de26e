#pragma once

#include <string_view>

// Comparisons for tags, file names and names typed by the user. Both ignore
// accents on Latin letters; the NoCase form ignores letter case as well.
// Texts are UTF-8, or bytes of the Windows ANSI / old PC code pages for
// texts that are not valid UTF-8. A null text is smaller than any other.
// Results: 0 equal, -1 or 1 by the first differing folded character.
int CompareText(const char* a, const char* b);
int CompareTextNoCase(const char* a, const char* b);
int CompareText(std::string_view a, std::string_view b);
int CompareTextNoCase(std::string_view a, std::string_view b);

// The folded form of one character (exposed for searches that fold once).
char32_t FoldAccent(char32_t c);
char32_t FoldCase(char32_t c);
