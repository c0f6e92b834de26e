#pragma once

#include <cstdint>

class TClient;
class TData;

// Base of the modules a page view carries out its commands with (data,
// symbols, layers, printing, undo). A module belongs to one view.
class TClientModule
{
public:
  explicit TClientModule(TClient* view) : client(view) {}
  virtual ~TClientModule() = default;
  TClientModule(const TClientModule&) = delete;
  TClientModule& operator=(const TClientModule&) = delete;

  // Runs command on object (null when it came from a menu); 0 when the
  // module does not know the command or nothing was done.
  virtual int32_t Command(uint16_t command, TData* object, int32_t parameter);

  TClient* GetClient() const { return client; }

protected:
  TClient* client; // not owned
};
