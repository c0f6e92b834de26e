#pragma once

#include "TInStream.h"
#include "TStreamable.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <thread>
#include <vector>

// Reads the records of a document's object list from a line where one
// begins, on a thread of its own, while the caller reads the records before
// that line: a large document is read on two cores. What it gives is what
// reading on from that line would give, so the caller takes it only when
// its own reading comes to exactly that line (a damaged record may read
// past it, or the line may lie inside a text).
class TailReader
{
public:
  // Where in data a second reader may begin, for an object list that runs
  // from from to end: the start of a line that begins a record, near the
  // middle; npos when the list is too short to be worth sharing.
  static size_t SplitPoint(std::string_view data, size_t from, size_t end);
  // Object lists shorter than this many bytes are read on one thread.
  static constexpr size_t kMinimumBytes = size_t{4} << 20;

  // data must outlive the reader.
  TailReader(std::string_view data, size_t start);
  // Asks the thread to stop after the record it is reading and waits.
  ~TailReader();
  TailReader(const TailReader&) = delete;
  TailReader& operator=(const TailReader&) = delete;

  size_t Start() const { return m_start; }
  // Waits until everything is read, asking giveUp now and then; false when
  // it answered true (the thread is then stopped).
  bool Wait(const std::function<bool()>& giveUp);

  // After Wait: the records read, in order, then whether the list ended
  // cleanly (rather than at a record that could not be read), and the
  // stream as it was left.
  std::vector<std::unique_ptr<TStreamable>>& Objects() { return m_objects; }
  bool Intact() const { return m_intact; }
  void LeaveAsRead(TInStream& is) const;

private:
  void Run();

  std::string_view m_data;
  size_t m_start;
  std::vector<std::unique_ptr<TStreamable>> m_objects;
  bool m_intact = false;
  int64_t m_end = 0;
  int m_state = 0;
  std::atomic<bool> m_stop{false};
  std::atomic<bool> m_done{false};
  std::thread m_thread;
};
