#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Helpers for texts copied into fixed-size buffers and for numbers read
// from the start of a text.

// The longest prefix of text of at most max bytes that does not end inside
// a UTF-8 character (texts that are not valid UTF-8 are cut at max).
size_t Utf8CutLength(std::string_view text, size_t max);
// Copies text into buffer cut to size - 1 bytes as above and terminates it;
// returns the bytes copied. Nothing is written when buffer is null or size
// is 0.
size_t CopyTextCut(std::string_view text, char* buffer, size_t size);

// The decimal integer at the start of text: blanks, an optional sign, then
// digits up to the first other character. The value saturates instead of
// overflowing (at +-2^62). Returns false, value 0, when no digit was read.
bool ReadDecimal(std::string_view text, int64_t& value);
// ReadDecimal clamped to [min, max]; 0 when no digit was read.
int64_t ReadDecimalClamped(std::string_view text, int64_t min, int64_t max);
