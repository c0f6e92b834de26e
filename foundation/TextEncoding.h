#pragma once

#include <string>
#include <string_view>

// Text in memory is UTF-8. Stored texts that are not valid UTF-8 come from
// older files written in the Windows-1252 code page and are converted.
bool IsValidUtf8(std::string_view text);
std::string Cp1252ToUtf8(std::string_view text);
// Returns text unchanged when it is valid UTF-8, else its Windows-1252 reading.
std::string ToUtf8(std::string_view text);
// Unicode code point of a Windows-1252 byte.
char32_t Cp1252ToUnicode(unsigned char c);
// Decodes one code point at text[i], advancing i; invalid bytes give U+FFFD.
char32_t DecodeUtf8(std::string_view text, size_t& i);
void AppendUtf8(std::string& out, char32_t cp);
// Number of code points (invalid bytes count one each).
size_t Utf8Length(std::string_view text);
// Byte length of the first n code points of text.
size_t Utf8PrefixBytes(std::string_view text, size_t n);

// Keeps at most maxBytes bytes of text without splitting a UTF-8
// character.
std::string CutText(std::string text, size_t maxBytes);
