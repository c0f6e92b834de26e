#pragma once

#include "TClient.h"
#include "TDataGroup.h"

#include <memory>

// A selection carrier for the length of one command: it gathers objects of
// the view without owning them, so only its shell goes when it does.
struct ShellOnly
{
  void operator()(TDataGroup* carrier) const
  {
    if (carrier) {
      carrier->RemoveAllChildren();
      delete carrier;
    }
  }
};
using Carrier = std::unique_ptr<TDataGroup, ShellOnly>;

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

// Every object of object (a carrier: each of its children) hears message.
void Tell(TData* object, uint32_t message);
