#include "TClientModuleData.h"

#include "ClassTable.h"
#include "CommandIds.h"
#include "TClient.h"
#include "TData.h"

#include <memory>

TClientModuleData::TClientModuleData(TClient* owner) : TClientModule(owner) {}

bool TClientModuleData::IsCreationCommand(uint16_t command)
{
  // The class table names the command that creates each drawing object
  // (the tools of the Objects menu and toolbar, and the field texts without
  // a menu entry); every other command creates nothing.
  return GetClassIdByCommand(command) != 0;
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
