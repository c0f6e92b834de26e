#include "TOutStream.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(OutStream, ASinkTakesTheBufferBlockByBlock)
{
  TOutStream os;
  std::vector<std::string> blocks;
  os.SetSink(
      [&](std::string_view block) {
        blocks.emplace_back(block);
        return true;
      },
      8);
  os << "TRect " << int32_t{0} << ' ' << int32_t{-12} << ' ' << 0.25 << '\n';
  os << std::string(20, 'x');
  EXPECT_LT(os.Data().size(), 8u) << "handed over once a block is full";
  ASSERT_TRUE(os.Flush());
  EXPECT_TRUE(os.Data().empty());
  std::string all;
  for (const std::string& block : blocks)
    all += block;
  EXPECT_EQ(all, "TRect 0 -12 0.25\n" + std::string(20, 'x'));

  TOutStream failing;
  failing.SetSink([](std::string_view) { return false; }, 4);
  failing << "longer than a block";
  EXPECT_FALSE(failing.good());
  EXPECT_FALSE(failing.Flush());
}

TEST(OutStream, AStreamedSaveWritesEveryByteOrLeavesTheOldFile)
{
  TempDir dir;
  const std::string path = dir.File("large.txt");
  // Several blocks' worth, with a last block cut short.
  const auto write = [](TOutStream& os) {
    for (int32_t i = 0; i < 300000; ++i)
      os << i << '\n';
    return os.good();
  };
  std::string expected;
  for (int32_t i = 0; i < 300000; ++i)
    expected += std::to_string(i) + '\n';
  std::string error;
  ASSERT_TRUE(SaveFileAtomic(path, write, &error)) << error;
  EXPECT_EQ(ReadWholeFile(path), expected);

  // A writer that gives up halfway replaces nothing and says so.
  const auto broken = [](TOutStream& os) {
    os << std::string(3 << 20, 'y');
    return false;
  };
  EXPECT_FALSE(SaveFileAtomic(path, broken, &error));
  EXPECT_NE(error.find(path), std::string::npos);
  EXPECT_EQ(ReadWholeFile(path), expected);

  EXPECT_FALSE(SaveFileAtomic(dir.File("missing/x.txt"), write, &error));
  EXPECT_NE(error.find("Cannot create"), std::string::npos);
}
