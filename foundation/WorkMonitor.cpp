#include "WorkMonitor.h"

#include <utility>

namespace {

thread_local WorkMonitor* t_current = nullptr;

} // namespace

WorkMonitor::WorkMonitor(std::function<bool()> check) : m_check(std::move(check)), m_outer(t_current)
{
  t_current = this;
}

WorkMonitor::~WorkMonitor()
{
  t_current = m_outer;
}

bool WorkMonitor::Poll()
{
  WorkMonitor* monitor = t_current;
  if (!monitor)
    return false;
  if (!monitor->m_cancelled && monitor->m_check)
    monitor->m_cancelled = monitor->m_check();
  return monitor->m_cancelled;
}

bool WorkMonitor::Cancelled()
{
  return t_current && t_current->m_cancelled;
}
