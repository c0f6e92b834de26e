#pragma once

#include <cstdio>
#include <string>

// A file written through a stream and put in place only when complete.
//
// Open creates a temporary file beside the target; the encoder writes into
// Stream(); Close(true) flushes it to disk and renames it over the target.
// Any other end (Close(false), a failed flush or rename, destruction while
// open) removes the temporary file, so a failed write leaves no partial
// file and an existing target intact.
class TAtomicFile
{
public:
  TAtomicFile() = default;
  ~TAtomicFile();
  TAtomicFile(const TAtomicFile&) = delete;
  TAtomicFile& operator=(const TAtomicFile&) = delete;

  // Discards a file still open, then starts a new one for path. False when
  // no file can be created beside path (missing or read-only folder).
  bool Open(const std::string& path);
  bool IsOpen() const { return m_stream != nullptr; }
  FILE* Stream() const { return m_stream; }
  // Puts the file in place when keep, otherwise removes it; true when every
  // byte reached the disk and the target was replaced.
  bool Close(bool keep);

private:
  bool Commit();
  void Discard();

  std::string m_target;
  std::string m_temp;
  FILE* m_stream = nullptr;
};
