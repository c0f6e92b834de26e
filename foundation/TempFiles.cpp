#include "TempFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

constexpr const char* kExtension = ".$$$";
constexpr unsigned long kLastCounter = 99998;

std::string& Folder()
{
  static std::string folder;
  return folder;
}

unsigned long& Counter()
{
  static unsigned long counter = 0;
  return counter;
}

} // namespace

bool SetTempFolder(const std::string& path)
{
  if (path.empty()) {
    Folder().clear();
    return true;
  }
  if (path.size() >= 255)
    return false;
  std::error_code error;
  if (!std::filesystem::is_directory(path, error) && !std::filesystem::create_directories(path, error))
    return false;
  Folder() = path.back() == '/' ? path : path + '/';
  return true;
}

const std::string& TempFolder()
{
  return Folder();
}

std::string MakeTempName()
{
  std::string folder = Folder();
  if (folder.empty()) {
    std::error_code error;
    folder = std::filesystem::current_path(error).string() + '/';
  }
  for (unsigned long tried = 0; tried < kLastCounter; ++tried) {
    unsigned long& counter = Counter();
    counter = counter >= kLastCounter ? 1 : counter + 1;
    const std::string name = folder + 'T' + std::to_string(counter) + kExtension;
    // Created only when no file has the name, in one step, so two
    // processes never share a name.
    const int fd = ::open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
    if (fd >= 0) {
      ::close(fd);
      return name;
    }
    if (errno != EEXIST)
      return std::string();
  }
  return std::string();
}

bool RemoveTempFile(const std::string& path)
{
  const std::string extension = kExtension;
  if (path.size() < extension.size() ||
      path.compare(path.size() - extension.size(), extension.size(), extension) != 0)
    return false;
  return std::remove(path.c_str()) == 0;
}
