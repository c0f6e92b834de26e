#pragma once

#include "TDataOwner.h"
#include "TVue.h"

#include <cstdint>

// Shows the wait cursor on a view while it lives, and the cursor the view
// had before once it goes.
class WaitCursor
{
public:
  explicit WaitCursor(TVue& view) : m_view(view), m_previous(view.SetCursor(TDataOwner::kCursorWait)) {}
  ~WaitCursor() { m_view.SetCursor(m_previous); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

private:
  TVue& m_view;
  int32_t m_previous;
};
