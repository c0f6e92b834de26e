#pragma once

#include "TInStream.h"
#include "TOutStream.h"

#include <cstdint>

// Root of every stored class. A record starts with the class name and the
// class's record version; a derived class writes its own fields first and
// then its base's record nested on the next line.
class TStreamable
{
public:
  TStreamable() = default;
  TStreamable(const TStreamable&) = default;
  TStreamable& operator=(const TStreamable&) = default;
  virtual ~TStreamable() = default;

  virtual TInStream& Read(TInStream& is) { return is; }
  virtual TOutStream& Write(TOutStream& os) const { return os; }
  // True for the object's own class id (when nonzero); derived classes also
  // answer for the bases they stand in for.
  virtual bool IsA(int32_t id) const { return id != 0 && id == classId; }

  int32_t ClassId() const { return classId; }

protected:
  int32_t classId = 0;
  int32_t viewWord = 0; // scratch word of the view classes; never stored

  // Record framing helpers for Read/Write implementations.
  //
  // BeginRecord checks that the next record is of class id, consumes its
  // name and version and returns true; otherwise it consumes nothing.
  static bool BeginRecord(TInStream& is, int32_t id, int32_t& version);
  // Called at the end of a record's first line: a newer writer may have
  // appended fields there, so the rest of that line is skipped.
  static void EndFirstLine(TInStream& is, int32_t version, int32_t currentVersion);
  // Writes the class name of id, a blank and the version (no trailing blank).
  static void WriteHeader(TOutStream& os, int32_t id, int32_t version);
};

// Reads or writes a nested record through the object's own (most derived)
// operations.
inline TInStream& ReadInto(TInStream& is, TStreamable& obj)
{
  return obj.Read(is);
}
inline TOutStream& WriteFrom(TOutStream& os, const TStreamable& obj)
{
  return obj.Write(os);
}
// Writes a tab and then the nested record.
TOutStream& WriteNested(TOutStream& os, const TStreamable& obj);
