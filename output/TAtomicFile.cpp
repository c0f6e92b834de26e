#include "TAtomicFile.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

TAtomicFile::~TAtomicFile()
{
  Discard();
}

bool TAtomicFile::Open(const std::string& path)
{
  Discard();
  if (path.empty())
    return false;
  std::string temp = path + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0)
    return false;
  // mkstemp makes the file private: keep the mode of the file being
  // replaced, or give a new file the usual one.
  struct stat st;
  if (::stat(path.c_str(), &st) == 0) {
    ::fchmod(fd, st.st_mode & 07777);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }
  m_stream = ::fdopen(fd, "wb");
  if (!m_stream) {
    ::close(fd);
    ::unlink(temp.c_str());
    return false;
  }
  m_target = path;
  m_temp = std::move(temp);
  return true;
}

bool TAtomicFile::Commit()
{
  if (!m_stream)
    return false;
  bool ok = std::fflush(m_stream) == 0 && std::ferror(m_stream) == 0 && ::fsync(::fileno(m_stream)) == 0;
  ok = std::fclose(m_stream) == 0 && ok;
  m_stream = nullptr;
  ok = ok && std::rename(m_temp.c_str(), m_target.c_str()) == 0;
  if (!ok)
    ::unlink(m_temp.c_str());
  m_temp.clear();
  return ok;
}

bool TAtomicFile::Close(bool keep)
{
  if (keep)
    return Commit();
  Discard();
  return false;
}

void TAtomicFile::Discard()
{
  if (!m_stream)
    return;
  std::fclose(m_stream);
  m_stream = nullptr;
  ::unlink(m_temp.c_str());
  m_temp.clear();
}
