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
  return *this;
}

TOutStream& TOutStream::operator<<(uint32_t v)
{
  char buf[16];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  m_data.append(buf, r.ptr);
  return *this;
}

TOutStream& TOutStream::operator<<(int64_t v)
{
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  m_data.append(buf, r.ptr);
  return *this;
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
  return *this;
}

namespace {

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

}  // namespace

bool SaveFileAtomic(const std::string& path, std::string_view data, std::string* error)
{
  if (path.empty()) {
    SetError(error, "No file name given");
    return false;
  }
  std::string tmpl = path + ".XXXXXX";
  std::string buf(tmpl);
  const int fd = ::mkstemp(buf.data());
  if (fd < 0) {
    SetError(error, std::string("Cannot create a file in ") + DirectoryOf(path) + ": " + std::strerror(errno));
    return false;
  }
  const std::string tmp = buf;
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

  const char* p = data.data();
  size_t left = data.size();
  bool ok = true;
  int savedErrno = 0;
  while (left > 0) {
    const ssize_t w = ::write(fd, p, left);
    if (w < 0) {
      if (errno == EINTR)
        continue;
      ok = false;
      savedErrno = errno;
      break;
    }
    p += w;
    left -= static_cast<size_t>(w);
  }
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
