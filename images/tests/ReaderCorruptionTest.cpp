// Every fixture cut short at many places and with bytes corrupted at many
// places (the same places on every run) must give either a whole picture
// or a refusal with its reason: never a crash, a read outside the file or
// a half-made buffer. Under AddressSanitizer this is where the readers'
// bounds checks are proved.

#include "ReaderFixtures.h"
#include "StringIds.h"

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr int kCuts = 60;
constexpr int kCorruptions = 300;

::testing::AssertionResult WholeOrRefused(const ImageReadResult& r)
{
  if (!r.buffer) {
    if (r.error < IDS_IMAGE_CANNOT_READ || r.error > IDS_IMAGE_PLAYER_FIRST_)
      return ::testing::AssertionFailure() << "refused without a reason (" << r.error << ")";
    return ::testing::AssertionSuccess();
  }
  const TImageBuffer& b = *r.buffer;
  if (r.error != 0)
    return ::testing::AssertionFailure() << "a picture and a reason";
  if (!b.IsValid() || b.Width() < 1 || b.Height() < 1)
    return ::testing::AssertionFailure() << "an empty picture";
  if (b.IsMetafile())
    return ::testing::AssertionSuccess();
  if (!b.Bits() || b.BitsSize() != size_t{b.RowStride()} * size_t(b.Height()))
    return ::testing::AssertionFailure() << "pixels missing";
  // Every pixel is looked at.
  const QImage& picture = b.Picture(false);
  if (picture.width() != b.Width() || picture.height() != b.Height())
    return ::testing::AssertionFailure() << "the picture cannot be drawn";
  return ::testing::AssertionSuccess();
}

TEST(ReaderCorruption, CutFilesAreWholeOrRefused)
{
  for (const Fixture& fixture : AllFixtures()) {
    const std::vector<uint8_t> bytes = FixtureBytes(fixture.name);
    for (int i = 0; i <= kCuts; ++i) {
      // The headers byte by byte, then evenly through the rest.
      const size_t cut = i < kCuts / 2 ? size_t(i) * 3 : bytes.size() * size_t(i - kCuts / 2) / (kCuts / 2);
      if (cut > bytes.size())
        continue;
      const std::vector<uint8_t> part(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
      ASSERT_TRUE(WholeOrRefused(ReadAs(fixture.kind, part))) << fixture.name << " cut at " << cut;
    }
  }
}

TEST(ReaderCorruption, CorruptedFilesAreWholeOrRefused)
{
  std::mt19937 random(20261207);
  const uint8_t extremes[] = {0x00, 0xFF, 0x7F, 0x80, 0x01, 0xC0};
  for (const Fixture& fixture : AllFixtures()) {
    const std::vector<uint8_t> bytes = FixtureBytes(fixture.name);
    for (int i = 0; i < kCorruptions; ++i) {
      std::vector<uint8_t> damaged = bytes;
      // Mostly in the headers, where one byte changes the most.
      const size_t span = i % 2 == 0 ? std::min<size_t>(bytes.size(), 160) : bytes.size();
      const int changes = 1 + static_cast<int>(random() % 4);
      for (int c = 0; c < changes; ++c) {
        const size_t at = random() % span;
        const uint32_t pick = random();
        damaged[at] =
            pick % 3 == 0 ? extremes[(pick >> 8) % sizeof extremes] : static_cast<uint8_t>(pick >> 16);
      }
      ASSERT_TRUE(WholeOrRefused(ReadAs(fixture.kind, damaged))) << fixture.name << " corruption " << i;
    }
  }
}

TEST(ReaderCorruption, EveryReaderRefusesTheOtherKinds)
{
  const PictureKind kinds[] = {PictureKind::kBmp, PictureKind::kPcx, PictureKind::kJpeg,
                               PictureKind::kPng, PictureKind::kGif, PictureKind::kWmf};
  for (const Fixture& fixture : AllFixtures()) {
    const std::vector<uint8_t> bytes = FixtureBytes(fixture.name);
    for (const PictureKind kind : kinds) {
      const ImageReadResult r = ReadAs(kind, bytes);
      EXPECT_TRUE(WholeOrRefused(r)) << fixture.name;
      if (kind != fixture.kind) {
        EXPECT_FALSE(r.buffer) << fixture.name << " read as another kind";
      }
    }
  }
}

} // namespace
