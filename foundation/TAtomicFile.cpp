#include "TAtomicFile.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <random>
#include <share.h>
#include <sys/stat.h>
#else
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

std::string FolderOf(const std::string& path)
{
  const fs::path parent = fs::path(path).parent_path();
  return parent.empty() ? std::string(".") : parent.string();
}

#ifdef _WIN32

// A new file beside path under a name nobody has; -1 with errno set when
// none can be made.
int CreateBeside(const std::string& path, std::string& temp)
{
  std::random_device seed;
  std::mt19937 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = path + "." + std::to_string(random() % 1000000);
    int fd = -1;
    const std::wstring name = fs::path(temp).wstring();
    if (_wsopen_s(&fd, name.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _SH_DENYRW,
                  _S_IREAD | _S_IWRITE) == 0)
      return fd;
    if (errno != EEXIST)
      return -1;
  }
  errno = EEXIST;
  return -1;
}

FILE* StreamOf(int fd)
{
  return _fdopen(fd, "wb");
}

void CloseDescriptor(int fd)
{
  _close(fd);
}

bool SyncToDisk(FILE* stream)
{
  return _commit(_fileno(stream)) == 0;
}

#else

int CreateBeside(const std::string& path, std::string& temp)
{
  temp = path + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0)
    return -1;
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
  return fd;
}

FILE* StreamOf(int fd)
{
  return ::fdopen(fd, "wb");
}

void CloseDescriptor(int fd)
{
  ::close(fd);
}

bool SyncToDisk(FILE* stream)
{
  return ::fsync(::fileno(stream)) == 0;
}

#endif

void RemoveQuietly(const std::string& path)
{
  std::error_code ignored;
  fs::remove(fs::path(path), ignored);
}

// The file a path names once symbolic links are followed: a link is kept
// and the file it names is replaced, as editors do. A link whose file does
// not exist yet names the file to create. Empty, with error set, for a
// circle of links.
std::string FollowLinks(const std::string& path, std::error_code& error)
{
  constexpr int kMostLinks = 40;
  fs::path current(path);
  for (int hop = 0; hop < kMostLinks; ++hop) {
    if (!fs::is_symlink(fs::symlink_status(current, error)) || error) {
      // A path that does not exist is no error here: it is the new file.
      error.clear();
      return current.string();
    }
    const fs::path target = fs::read_symlink(current, error);
    if (error)
      return {};
    current = target.is_absolute() ? target : current.parent_path() / target;
  }
  error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
  return {};
}

// Why the existing file at path must not be replaced: a folder, a device,
// a pipe (replacing it would put a plain file in its stead), or a file
// marked read-only (even for an administrator, who could write it: the
// mark says its owner means to keep it). Empty when it may be replaced or
// does not exist.
std::string RefusalOf(const std::string& path)
{
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (error || status.type() == fs::file_type::not_found)
    return {};
  if (status.type() != fs::file_type::regular)
    return "not a regular file";
  if (IsReadOnlyFile(path))
    return "the file is read-only";
  return {};
}

// A write beyond the file-size limit raises a signal that ends the process
// without a word; ignored, the write fails instead and takes the ordinary
// way out (the temporary file removed, the reason told).
void IgnoreFileSizeSignal()
{
#ifndef _WIN32
  static const bool ignored = [] {
    std::signal(SIGXFSZ, SIG_IGN);
    return true;
  }();
  (void)ignored;
#endif
}

} // namespace

TAtomicFile::~TAtomicFile()
{
  Discard();
}

void TAtomicFile::Fail(const std::string& what, int error)
{
  m_error = what + ": " + std::strerror(error != 0 ? error : EIO);
}

void TAtomicFile::Fail(const std::string& what, const std::error_code& error)
{
  m_error = what + ": " + error.message();
}

bool TAtomicFile::Open(const std::string& path)
{
  Discard();
  m_error.clear();
  m_writeError = 0;
  if (path.empty()) {
    m_error = "No file name given";
    return false;
  }
  IgnoreFileSizeSignal();
  std::error_code linkError;
  const std::string target = FollowLinks(path, linkError);
  if (target.empty()) {
    Fail("Cannot write " + path, linkError);
    return false;
  }
  const std::string refusal = RefusalOf(target);
  if (!refusal.empty()) {
    m_error = "Cannot write " + path + ": " + refusal;
    return false;
  }
  std::string temp;
  const int fd = CreateBeside(target, temp);
  if (fd < 0) {
    Fail("Cannot create a file in " + FolderOf(target), errno);
    return false;
  }
  m_stream = StreamOf(fd);
  if (!m_stream) {
    Fail("Cannot create a file in " + FolderOf(target), errno);
    CloseDescriptor(fd);
    RemoveQuietly(temp);
    return false;
  }
  m_target = target;
  m_temp = std::move(temp);
  return true;
}

bool TAtomicFile::Write(std::string_view data)
{
  if (!m_stream)
    return false;
  if (m_writeError != 0)
    return false;
  if (!data.empty() && std::fwrite(data.data(), 1, data.size(), m_stream) != data.size()) {
    m_writeError = errno != 0 ? errno : EIO;
    return false;
  }
  return true;
}

bool TAtomicFile::Commit()
{
  if (!m_stream)
    return false;
  int error = m_writeError;
  bool ok = error == 0;
  if (ok && (std::fflush(m_stream) != 0 || std::ferror(m_stream) != 0)) {
    ok = false;
    error = errno;
  }
  if (ok && !SyncToDisk(m_stream)) {
    ok = false;
    error = errno;
  }
  if (std::fclose(m_stream) != 0 && ok) {
    ok = false;
    error = errno;
  }
  m_stream = nullptr;
  std::error_code renamed;
  if (ok) {
    // std::filesystem::rename replaces an existing target on every platform
    // (a plain rename refuses to on Windows).
    fs::rename(fs::path(m_temp), fs::path(m_target), renamed);
    ok = !renamed;
  }
  if (!ok) {
    RemoveQuietly(m_temp);
    if (renamed)
      Fail("Cannot write " + m_target, renamed);
    else
      Fail("Cannot write " + m_target, error);
  }
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
  RemoveQuietly(m_temp);
  m_temp.clear();
}

bool IsReadOnlyFile(const std::string& path)
{
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (error || status.type() != fs::file_type::regular)
    return false;
  if ((status.permissions() & fs::perms::owner_write) == fs::perms::none)
    return true;
#ifndef _WIN32
  return ::access(path.c_str(), W_OK) != 0;
#else
  return false;
#endif
}

bool SaveFileAtomic(const std::string& path, std::string_view data, std::string* error)
{
  TAtomicFile file;
  bool ok = file.Open(path);
  if (ok) {
    file.Write(data); // a failed write makes the close fail and say why
    ok = file.Close(true);
  }
  if (!ok && error)
    *error = file.Error();
  return ok;
}
