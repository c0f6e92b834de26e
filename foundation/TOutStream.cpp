#include "TOutStream.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TOutStream& TOutStream::operator<<(int32_t v)
{
  char buf[16];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  m_data.append(buf, r.ptr);
  return Spill();
}

TOutStream& TOutStream::operator<<(uint32_t v)
{
  char buf[16];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  m_data.append(buf, r.ptr);
  return Spill();
}

TOutStream& TOutStream::operator<<(int64_t v)
{
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  m_data.append(buf, r.ptr);
  return Spill();
}

TOutStream& TOutStream::operator<<(double v)
{
  // The default floating-point insertion: six significant digits, the
  // shorter of fixed and exponent notation ("%g"), always with a "." --
  // to_chars ignores the C locale, which a French desktop would otherwise
  // turn into "0,01" in saved documents.
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6);
  m_data.append(buf, r.ptr);
  return Spill();
}

void TOutStream::SetSink(Sink sink, size_t blockSize)
{
  m_sink = std::move(sink);
  m_blockSize = blockSize;
}

bool TOutStream::Flush()
{
  if (m_sink && !m_data.empty()) {
    if (!m_bad && !m_sink(m_data))
      m_bad = true;
    m_data.clear();
  }
  return good();
}

namespace {

// Blocks a streamed save writes at a time.
constexpr size_t kSaveBlock = size_t{1} << 20;

std::string DirectoryOf(const std::string& path)
{
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos)
    return ".";
  if (slash == 0)
    return "/";
  return path.substr(0, slash);
}

void SetError(std::string* error, const std::string& text)
{
  if (error)
    *error = text;
}

// Creates the temporary file beside path, with the mode the file will have;
// -1 (and the reason in error) when it cannot be made.
int CreateTemporary(const std::string& path, std::string& tmp, std::string* error)
{
  if (path.empty()) {
    SetError(error, "No file name given");
    return -1;
  }
  tmp = path + ".XXXXXX";
  const int fd = ::mkstemp(tmp.data());
  if (fd < 0) {
    SetError(error, std::string("Cannot create a file in ") + DirectoryOf(path) + ": " + std::strerror(errno));
    return -1;
  }
  // mkstemp creates the file with mode 0600: keep the mode of the file being
  // replaced, or give a new file the usual mode.
  struct stat st;
  if (::stat(path.c_str(), &st) == 0) {
    ::fchmod(fd, st.st_mode & 07777);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }
  return fd;
}

// Writes every byte; false with the system's error number otherwise.
bool WriteAll(int fd, std::string_view data, int& savedErrno)
{
  const char* p = data.data();
  size_t left = data.size();
  while (left > 0) {
    const ssize_t w = ::write(fd, p, left);
    if (w < 0) {
      if (errno == EINTR)
        continue;
      savedErrno = errno;
      return false;
    }
    p += w;
    left -= static_cast<size_t>(w);
  }
  return true;
}

// Flushes, closes and puts the temporary file in place when everything was
// written (ok); otherwise removes it and reports why.
bool Finish(int fd, bool ok, int savedErrno, const std::string& tmp, const std::string& path, std::string* error)
{
  if (ok && ::fsync(fd) != 0) {
    ok = false;
    savedErrno = errno;
  }
  if (::close(fd) != 0 && ok) {
    ok = false;
    savedErrno = errno;
  }
  if (ok && ::rename(tmp.c_str(), path.c_str()) != 0) {
    ok = false;
    savedErrno = errno;
  }
  if (!ok) {
    ::unlink(tmp.c_str());
    SetError(error, std::string("Cannot write ") + path + ": " + std::strerror(savedErrno));
    return false;
  }
  return true;
}

}  // namespace

bool SaveFileAtomic(const std::string& path, std::string_view data, std::string* error)
{
  std::string tmp;
  const int fd = CreateTemporary(path, tmp, error);
  if (fd < 0)
    return false;
  int savedErrno = 0;
  const bool ok = WriteAll(fd, data, savedErrno);
  return Finish(fd, ok, savedErrno, tmp, path, error);
}

bool SaveFileAtomic(const std::string& path, const std::function<bool(TOutStream&)>& write, std::string* error)
{
  std::string tmp;
  const int fd = CreateTemporary(path, tmp, error);
  if (fd < 0)
    return false;
  int savedErrno = 0;
  TOutStream os;
  os.SetSink([fd, &savedErrno](std::string_view block) { return WriteAll(fd, block, savedErrno); }, kSaveBlock);
  const bool produced = write(os);
  const bool ok = os.Flush() && produced;
  // A writer that gave up leaves no error number of the system.
  return Finish(fd, ok, savedErrno != 0 ? savedErrno : EIO, tmp, path, error);
}
