#include "BandWorkers.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int kMaxWorkers = 15;

} // namespace

BandWorkers& BandWorkers::Instance()
{
  // Never destroyed: at exit its threads wait for work that never comes,
  // and what they keep goes with the process instead of being torn down
  // after the fonts it refers to.
  static BandWorkers* workers =
      new BandWorkers(std::clamp(static_cast<int>(std::thread::hardware_concurrency()) - 1, 0, kMaxWorkers));
  return *workers;
}

BandWorkers& BandWorkers::Lead()
{
  static BandWorkers* lead = new BandWorkers(1);
  return *lead;
}

BandWorkers::BandWorkers(int count)
{
  for (int i = 0; i < count; ++i)
    m_threads.emplace_back([this] { Work(); });
}

void BandWorkers::Post(std::function<void()> job)
{
  {
    std::lock_guard lock(m_mutex);
    m_jobs.push_back(std::move(job));
  }
  m_wake.notify_one();
}

void BandWorkers::Work()
{
  while (true) {
    std::function<void()> job;
    {
      std::unique_lock lock(m_mutex);
      m_wake.wait(lock, [this] { return !m_jobs.empty(); });
      job = std::move(m_jobs.front());
      m_jobs.pop_front();
    }
    job();
  }
}
