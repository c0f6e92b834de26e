#pragma once

#include "TClientModule.h"

#include <cstdint>

// The data module of a document view: the commands that act on the
// drawing objects of its document. So far it creates them.
class TClientModuleData : public TClientModule
{
public:
  static constexpr int32_t kModuleId = 1;

  explicit TClientModuleData(TClient* client);

  // The creation commands (one per creatable class of the class table);
  // answers the number of objects made, 0 for an unknown command or when
  // nothing was made.
  int32_t Command(uint16_t command, TData* object, int32_t parameter) override;

  static bool IsCreationCommand(uint16_t command);

  // Program-wide "Repeat Add Object": when on, a creation command keeps
  // creating objects of its kind until the user cancels one.
  static bool& RepeatAddObject();

private:
  // Runs the factory registered for command with the view, adds what it
  // made and marks the document modified, again and again while "Repeat
  // Add Object" is on; refused while the view is busy.
  int32_t NewObject(uint16_t command, int32_t parameter);
};
