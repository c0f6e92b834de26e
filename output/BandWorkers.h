#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// The threads that draw bands of pictures besides the thread that asks:
// one fewer than the machine has cores, made on first use and kept for the
// life of the process, so the fonts and glyph outlines each of them keeps
// serve every picture after the first.
class BandWorkers
{
public:
  static BandWorkers& Instance();
  // One thread of its own for pictures drawn while the window goes on
  // answering: a job posted there calls PaintInBands, drawing bands itself
  // with the threads of Instance. Kept for the life of the process too.
  static BandWorkers& Lead();

  // Threads there are to help (0 on a single core).
  int Count() const { return static_cast<int>(m_threads.size()); }
  // Hands job to the next free thread and returns at once; the caller
  // waits for what job signals.
  void Post(std::function<void()> job);

private:
  explicit BandWorkers(int count);
  void Work();

  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::deque<std::function<void()>> m_jobs;
  std::vector<std::thread> m_threads;
};
