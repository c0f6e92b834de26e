#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <system_error>

// A file written in full or not at all.
//
// Open creates a temporary file beside the target (same folder, so the
// final rename never crosses file systems), with the permissions the target
// has or a new file would get. Whatever is written goes to Stream(), or
// through Write. Close(true) flushes every byte to the disk and renames the
// temporary file over the target; any other end (Close(false), a failed
// write, flush or rename, destruction while open) removes the temporary
// file. So a failed write leaves no partial file and the old target intact.
//
// This is the only place in the program that knows how a file is replaced
// atomically on each platform: documents, ini files, defaults and every
// export go through it.
class TAtomicFile
{
public:
  TAtomicFile() = default;
  ~TAtomicFile();
  TAtomicFile(const TAtomicFile&) = delete;
  TAtomicFile& operator=(const TAtomicFile&) = delete;

  // Discards a file still open, then starts a new one for path. A symbolic
  // link is followed: the file it names is replaced and the link stays.
  // False, with Error saying why, when no file can be created beside the
  // target (missing or read-only folder) and when the target must not be
  // replaced: a folder, a device or a pipe, or a read-only file.
  bool Open(const std::string& path);
  bool IsOpen() const { return m_stream != nullptr; }
  // The stream for encoders that write to a FILE (libpng, libjpeg).
  FILE* Stream() const { return m_stream; }
  // Writes every byte of data; false (and the file marked failed) otherwise.
  bool Write(std::string_view data);
  // Puts the file in place when keep and nothing failed, otherwise removes
  // it; true when every byte reached the disk and the target was replaced.
  bool Close(bool keep);
  // The reason of the last failure, for the user ("Cannot write /a/b: No
  // space left on device").
  const std::string& Error() const { return m_error; }

private:
  bool Commit();
  void Discard();
  void Fail(const std::string& what, int error);
  void Fail(const std::string& what, const std::error_code& error);

  std::string m_target;
  std::string m_temp;
  FILE* m_stream = nullptr;
  int m_writeError = 0; // the system error of a failed Write, 0 while all went well
  std::string m_error;
};

// Whether the existing file at path is one a save must not replace because
// it is marked read-only (false for a file that does not exist).
bool IsReadOnlyFile(const std::string& path);

// The whole of data as the file at path, through TAtomicFile: on failure the
// old file stays intact, the temporary file is removed and error receives a
// readable reason.
bool SaveFileAtomic(const std::string& path, std::string_view data, std::string* error = nullptr);
