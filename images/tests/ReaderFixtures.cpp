#include "ReaderFixtures.h"

#include <QString>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

std::vector<uint8_t> FixtureBytes(const std::string& name)
{
  std::ifstream in(std::string(VEKTA_TEST_DATA) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

QImage FixturePixels(const std::string& name)
{
  const std::string ppm =
      std::string(VEKTA_TEST_DATA) + "/" + name.substr(0, name.find_last_of('.')) + ".ppm";
  return QImage(QString::fromStdString(ppm), "PPM");
}

ImageReadResult ReadAs(PictureKind kind, const std::vector<uint8_t>& bytes)
{
  const uint8_t* data = bytes.data();
  switch (kind) {
  case PictureKind::kBmp:
    return ReadBmp(data, bytes.size());
  case PictureKind::kPcx:
    return ReadPcx(data, bytes.size());
  case PictureKind::kJpeg:
    return ReadJpeg(data, bytes.size());
  case PictureKind::kPng:
    return ReadPng(data, bytes.size());
  case PictureKind::kGif:
    return ReadGif(data, bytes.size());
  case PictureKind::kWmf:
    return ReadWmf(data, bytes.size());
  case PictureKind::kUnknown:
    break;
  }
  return {};
}

std::vector<Fixture> AllFixtures()
{
  std::vector<Fixture> fixtures;
  for (const auto& entry : std::filesystem::directory_iterator(VEKTA_TEST_DATA)) {
    const std::string name = entry.path().filename().string();
    const PictureKind kind = KindOfPath(name);
    // The two sources the others were made from are not fixtures.
    if (kind != PictureKind::kUnknown && name != "src.png" && name != "flat.png")
      fixtures.push_back({name, kind});
  }
  std::sort(fixtures.begin(), fixtures.end(),
            [](const Fixture& a, const Fixture& b) { return a.name < b.name; });
  return fixtures;
}
