#include "ImageReaders.h"

#include "ReaderSupport.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <new>
#include <vector>

namespace {

// No picture the readers accept comes from a larger file; one that claims
// to is not read at all.
constexpr uint64_t kMaxFileBytes = uint64_t{1} << 30;

struct FileCloser
{
  void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

PictureKind KindOfPath(const std::string& path)
{
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    return PictureKind::kUnknown;
  std::string extension = path.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == "bmp")
    return PictureKind::kBmp;
  if (extension == "pcx")
    return PictureKind::kPcx;
  if (extension == "jpg" || extension == "jpe")
    return PictureKind::kJpeg;
  if (extension == "png")
    return PictureKind::kPng;
  if (extension == "gif")
    return PictureKind::kGif;
  if (extension == "wmf")
    return PictureKind::kWmf;
  return PictureKind::kUnknown;
}

bool IsPictureFile(const std::string& path)
{
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

ImageReadResult ReadPictureFile(const std::string& path, PictureKind kind)
{
  if (kind == PictureKind::kUnknown)
    return readers::Refuse(IDS_IMAGE_NOT_THIS_KIND);
  if (!IsPictureFile(path))
    return readers::Refuse(IDS_IMAGE_CANNOT_READ);
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file || std::fseek(file.get(), 0, SEEK_END) != 0)
    return readers::Refuse(IDS_IMAGE_CANNOT_READ);
  const long length = std::ftell(file.get());
  if (length < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0)
    return readers::Refuse(IDS_IMAGE_CANNOT_READ);
  if (static_cast<uint64_t>(length) > kMaxFileBytes)
    return readers::Refuse(IDS_IMAGE_TOO_LARGE);
  std::vector<uint8_t> bytes;
  try {
    bytes.resize(static_cast<size_t>(length));
  } catch (const std::bad_alloc&) {
    return readers::Refuse(IDS_IMAGE_TOO_LARGE);
  }
  if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
    return readers::Refuse(IDS_IMAGE_CANNOT_READ);
  file.reset();

  const uint8_t* data = bytes.data();
  const size_t size = bytes.size();
  ImageReadResult result;
  switch (kind) {
  case PictureKind::kBmp:
    result = ReadBmp(data, size);
    break;
  case PictureKind::kPcx:
    result = ReadPcx(data, size);
    break;
  case PictureKind::kJpeg:
    result = ReadJpeg(data, size);
    break;
  case PictureKind::kPng:
    result = ReadPng(data, size);
    break;
  case PictureKind::kGif:
    result = ReadGif(data, size);
    break;
  case PictureKind::kWmf:
    result = ReadWmf(data, size);
    break;
  case PictureKind::kUnknown:
    break;
  }
  if (result.buffer)
    result.buffer->SetName(path);
  return result;
}
