#pragma once

// The reader tests' pictures in images/tests/data, each with the pixels
// ImageMagick reads from it (name.ppm), and the readers by kind.

#include "ImageReaders.h"

#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

std::vector<uint8_t> FixtureBytes(const std::string& name);
// The expected pixels of a fixture: its .ppm beside it.
QImage FixturePixels(const std::string& name);
ImageReadResult ReadAs(PictureKind kind, const std::vector<uint8_t>& bytes);
// Every picture fixture (not the expected pixels) with its kind.
struct Fixture
{
  std::string name;
  PictureKind kind;
};
std::vector<Fixture> AllFixtures();
