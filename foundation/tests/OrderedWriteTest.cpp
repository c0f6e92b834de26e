#include "OrderedWrite.h"
#include "TOutStream.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Items of different lengths, so that a run put in the wrong place or
// twice shows.
void WriteItem(TOutStream& out, size_t i)
{
  out << static_cast<uint32_t>(i) << ':' << std::string(i % 7, 'x') << '\n';
}

} // namespace

TEST(OrderedWrite, ComesOutAsWritingEachItemInTurn)
{
  for (size_t count : {size_t{0}, size_t{1}, size_t{2048}, size_t{8191}, size_t{8192}, size_t{20001}}) {
    TOutStream expected;
    for (size_t i = 0; i < count; ++i)
      WriteItem(expected, i);
    TOutStream os;
    std::string streamed;
    os.SetSink(
        [&streamed](std::string_view block) {
          streamed.append(block);
          return true;
        },
        1000);
    std::atomic<size_t> calls{0};
    WriteInOrder(os, count, [&calls](TOutStream& out, size_t i) {
      ++calls;
      WriteItem(out, i);
    });
    ASSERT_TRUE(os.Flush());
    EXPECT_EQ(calls.load(), count);
    EXPECT_TRUE(streamed == expected.Data()) << count << " items";
  }
}

TEST(OrderedWrite, StopsWhenTheStreamFailsOrAnItemThrows)
{
  // A sink that fails after the first block: the writing stops soon after
  // rather than making the whole list, and the stream stays bad.
  constexpr size_t kCount = 200000;
  TOutStream os;
  os.SetSink([](std::string_view) { return false; }, 4096);
  std::atomic<size_t> calls{0};
  WriteInOrder(os, kCount, [&calls](TOutStream& out, size_t i) {
    ++calls;
    WriteItem(out, i);
  });
  EXPECT_FALSE(os.good());
  EXPECT_LT(calls.load(), kCount / 4);

  // A failure while writing an item reaches the caller, whichever thread
  // wrote it, and no thread is left behind.
  for (size_t throwing : {size_t{10}, size_t{2048 + 10}, size_t{3 * 2048 + 10}}) {
    TOutStream out;
    EXPECT_THROW(WriteInOrder(out, 10000,
                              [throwing](TOutStream& stream, size_t i) {
                                if (i == throwing)
                                  throw std::runtime_error("no room");
                                WriteItem(stream, i);
                              }),
                 std::runtime_error)
        << "item " << throwing;
  }
}
