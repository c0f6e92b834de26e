#include "TClientModuleData.h"

#include "ClassTable.h"
#include "CommandIds.h"
#include "TClient.h"
#include "TData.h"

#include <algorithm>
#include <iterator>
#include <memory>

namespace {

// The commands of the class table that create an object: the tools of the
// Objects menu and toolbar, and the field texts without a menu entry.
constexpr uint16_t kCreationCommands[] = {
    32257, 32264, 32291, 32634, 32635, 32636, 32641, 32642, 32643, 32679,
    32680, 32681, 32682, 32686, 32698, 32710, 32717, 32735, 32750,
};

} // namespace

TClientModuleData::TClientModuleData(TClient* owner) : TClientModule(owner) {}

bool TClientModuleData::IsCreationCommand(uint16_t command)
{
  return std::find(std::begin(kCreationCommands), std::end(kCreationCommands), command) !=
         std::end(kCreationCommands);
}

bool& TClientModuleData::RepeatAddObject()
{
  static bool repeat = false;
  return repeat;
}

int32_t TClientModuleData::Command(uint16_t command, TData*, int32_t parameter)
{
  if (IsCreationCommand(command))
    return NewObject(command, parameter);
  return 0;
}

int32_t TClientModuleData::NewObject(uint16_t command, int32_t parameter)
{
  if (!client || client->IsBusy())
    return 0;
  int32_t made = 0;
  do {
    std::unique_ptr<TStreamable> created(CreateObjectByCommand(command, client, parameter));
    if (!created || !created->IsA(kTData))
      break;
    auto* object = static_cast<TData*>(created.get());
    if (client->AddObject(object, true) == 0)
      break;
    created.release();
    client->SetModified(true);
    ++made;
  } while (RepeatAddObject());
  return made;
}
