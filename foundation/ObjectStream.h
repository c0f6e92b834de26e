#pragma once

#include "TInStream.h"
#include "TOutStream.h"

#include <cstdint>
#include <string_view>

class TStreamable;

// The class id of the next record, without consuming anything; 0 when the
// next word is not a known class or the stream is not good.
int32_t PeekClassId(TInStream& is);
// Scans line by line to the next line that begins a record of a known
// class. Returns its id with the stream at the start of that line, or 0 with
// the stream where the scan began. A section tag line ends the scan.
int32_t FindNextObject(TInStream& is);
// The class of the record line (without its line feed) begins, as
// FindNextObject finds records: a known class name at the start of the
// line, followed by its version; 0 when it begins none.
int32_t RecordClassOfLine(std::string_view line);
// Creates and reads the next object record; null at the end of a list.
TStreamable* ReadObject(TInStream& is);

// Writes "\n[name]\n".
bool WriteSectionTag(TOutStream& os, std::string_view name);
// Positions the stream on the line after the tag "[name]" (names compared
// without regard to case or accents, first occurrence wins). Returns 0,
// with the stream cleared and at position 0, when there is none.
int FindSectionTag(TInStream& is, std::string_view name);
