#include "OrderedWrite.h"

#include "TOutStream.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

// Items in a run: large enough that handing a run over costs nothing
// beside writing it, small enough that two waiting runs are a few hundred
// kilobytes.
constexpr size_t kItemsPerRun = 2048;
// Lists shorter than this many runs are written on the calling thread.
constexpr size_t kMinimumRuns = 4;

// A run the helper wrote, waiting for its turn.
struct Slot
{
  TOutStream out;
  bool full = false;
};

} // namespace

void WriteInOrder(TOutStream& os, size_t count, const std::function<void(TOutStream&, size_t)>& write)
{
  const size_t runs = (count + kItemsPerRun - 1) / kItemsPerRun;
  const auto writeRun = [&](TOutStream& out, size_t run) {
    const size_t end = std::min(count, (run + 1) * kItemsPerRun);
    for (size_t i = run * kItemsPerRun; i < end && out.good(); ++i)
      write(out, i);
  };
  const auto writeAll = [&]() {
    for (size_t run = 0; run < runs && os.good(); ++run)
      writeRun(os, run);
  };
  if (runs < kMinimumRuns) {
    writeAll();
    return;
  }

  // The helper writes the odd runs, in turn into each slot.
  std::array<Slot, 2> slots;
  std::mutex mutex;
  std::condition_variable changed;
  bool stop = false;
  std::exception_ptr failure;
  const auto helpOut = [&]() {
    for (size_t run = 1, turn = 0; run < runs; run += 2, ++turn) {
      Slot& slot = slots[turn % 2];
      {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return !slot.full || stop; });
        if (stop)
          return;
      }
      // A run that threw is handed over all the same, with what it threw.
      std::exception_ptr thrown;
      try {
        slot.out.Clear();
        writeRun(slot.out, run);
      } catch (...) {
        thrown = std::current_exception();
      }
      {
        std::lock_guard lock(mutex);
        failure = thrown;
        slot.full = true;
      }
      changed.notify_all();
      if (thrown)
        return;
    }
  };
  std::thread helper;
  try {
    helper = std::thread(helpOut);
  } catch (const std::system_error&) {
    writeAll(); // no thread to be had: everything on this one
    return;
  }
  // The helper is stopped and waited for however this thread leaves.
  struct Joiner
  {
    std::thread& thread;
    std::mutex& mutex;
    std::condition_variable& changed;
    bool& stop;
    ~Joiner()
    {
      {
        std::lock_guard lock(mutex);
        stop = true;
      }
      changed.notify_all();
      thread.join();
    }
  } joiner{helper, mutex, changed, stop};

  for (size_t run = 0, turn = 0; run < runs && os.good(); ++run) {
    if (run % 2 == 0) {
      writeRun(os, run);
      continue;
    }
    Slot& slot = slots[turn++ % 2];
    {
      std::unique_lock lock(mutex);
      changed.wait(lock, [&] { return slot.full; });
      if (failure)
        std::rethrow_exception(failure);
    }
    os.write(slot.out.Data().data(), slot.out.Data().size());
    if (!slot.out.good())
      os.setbad();
    {
      std::lock_guard lock(mutex);
      slot.full = false;
    }
    changed.notify_all();
  }
}
