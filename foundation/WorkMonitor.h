#pragma once

#include <functional>

// Long work (drawing a whole document for an export) asks now and then
// whether the user gave up, without every function on the way knowing who
// asks: the command that starts the work sets up a monitor for its
// duration, and the loops deep inside poll it. Without a monitor the work
// is never cancelled. One per thread; monitors nest, the innermost answers.
class WorkMonitor
{
public:
  // How many items (objects drawn or read) a loop handles between polls.
  static constexpr unsigned kItemsBetweenPolls = 256;

  // check answers true once the user cancelled; it is called from Poll,
  // which may let the user interface breathe.
  explicit WorkMonitor(std::function<bool()> check);
  ~WorkMonitor();
  WorkMonitor(const WorkMonitor&) = delete;
  WorkMonitor& operator=(const WorkMonitor&) = delete;

  // Asks the innermost monitor; once it said yes, the answer stays yes
  // without asking again.
  static bool Poll();
  // Whether the innermost monitor's work was cancelled, without asking.
  static bool Cancelled();

private:
  std::function<bool()> m_check;
  WorkMonitor* m_outer;
  bool m_cancelled = false;
};
