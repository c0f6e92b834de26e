#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include <string>

// A temporary folder removed with its content at the end of the scope.
class TempDir
{
public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return m_path; }
  std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
  std::string m_path;
};

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& data);

// Compares two images pixel by pixel. Channels may differ by at most
// channelTolerance; at most maxBadPixels may exceed it. On failure the
// message says where and how they differ.
struct ImageDiff
{
  bool same = false;
  std::string message;
};
ImageDiff CompareImages(const QImage& actual, const QImage& expected, int channelTolerance = 8,
                        int maxBadPixels = 0);

// Compares an image with the reviewed reference PNG at path. With the
// environment variable VEKTA_UPDATE_GOLDEN=1 the reference is (re)written
// instead, which is how references are regenerated on purpose.
::testing::AssertionResult MatchesGolden(const QImage& actual, const std::string& path,
                                         int channelTolerance = 8, int maxBadPixels = 0);
