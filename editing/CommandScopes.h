#pragma once

#include "TClient.h"
#include "THeldObject.h"

#include <cstdint>
#include <unordered_set>

// A command runs with the view's busy flag set, and leaves it as it was.
class BusyScope
{
public:
  explicit BusyScope(TClient& view) : m_view(view), m_was(view.IsBusy())
  {
    m_view.SetFlags(TClient::kBusy, true);
  }
  ~BusyScope() { m_view.SetFlags(TClient::kBusy, m_was); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

private:
  TClient& m_view;
  bool m_was;
};

// The addresses of the view's objects, to look objects up by address.
std::unordered_set<const TData*> ObjectsOfView(const TClient& view);

// Every object of object (a carrier: each of its children) hears message.
void Tell(TData* object, uint32_t message);

// Whether object (a carrier: every child) is in the view. Objects are found
// by address and never followed: a step may name objects long gone
// (something outside the history removed them). Only a carrier shell the
// caller owns is read.
bool InView(const TClient& view, TData* object, bool carrier);
