#pragma once

#include "TUserInput.h"
#include "WorkMonitor.h"

#include <string>

// Long work under way (an export, opening a large document): the box with
// the title and a Cancel button that the user interface shows once the
// work has lasted half a second, and the monitor the loops deep inside ask.
class LongWork
{
public:
  LongWork(TUserInput& input, std::string title)
      : m_input(input), m_title(std::move(title)), m_monitor([&input] { return input.WorkCancelled(); })
  {
    m_input.ShowWork(m_title, true);
  }
  ~LongWork() { m_input.ShowWork(m_title, false); }
  LongWork(const LongWork&) = delete;
  LongWork& operator=(const LongWork&) = delete;

  bool Cancelled() const { return WorkMonitor::Cancelled(); }

private:
  TUserInput& m_input;
  std::string m_title;
  WorkMonitor m_monitor;
};
