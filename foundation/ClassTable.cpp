#include "ClassTable.h"

#include "TStreamable.h"

#include <string>
#include <unordered_map>

namespace {

struct ClassEntry
{
  const char* name;
  uint32_t commandId;
};

const ClassEntry kClasses[kClassCount] = {
  {"TStreamable", 0}, {"TBouton", 0}, {"TDialog", 0}, {"TEdl", 0}, {"TPop", 0},
  {"TScrollBar", 0}, {"TStatic", 0}, {"TStatus", 0}, {"TWindow", 0}, {"TRadio", 0},
  {"TCheck", 0}, {"TListe", 0}, {"TDataTexte", 32636}, {"TDataGrid", 0}, {"TFont", 0},
  {"TDataRectangle", 32634}, {"TSmallListe", 0}, {"TRect", 0}, {"TData", 0}, {"TString", 0},
  {"TVue", 0}, {"TBordure", 0}, {"TPage", 0}, {"TTableau", 0}, {"TBrush", 0},
  {"TPen", 0}, {"TSmallVue", 0}, {"TPolygone", 0}, {"TPolyRectangle", 32635}, {"TClient", 0},
  {"TGroupBox", 0}, {"TDataLine", 32641}, {"TDataCercle", 32642}, {"TDataImage", 32643}, {"TDataGroup", 0},
  {"TEdit", 0}, {"TDataTexteRpt", 0}, {"TApercu", 0}, {"TDataTexteHeure", 32680}, {"TDataTexteDate", 32681},
  {"TDataTexteChamp", 32682}, {"TDataTextePage", 32679}, {"TImageChamp", 32686}, {"TInfoChamp", 0}, {"TDataSmallRect", 0},
  {"TCmdLine", 0}, {"TDataBezier", 32698}, {"TDataSymbol", 32710}, {"TDataGroupSymbol", 0}, {"TDataPolygone", 32717},
  {"TDataSin", 32735}, {"TSaverWindow", 0}, {"TDataPolyLine", 32750}, {"TDataDim", 32257}, {"TDataFleche", 32264},
  {"TToolbar", 0}, {"TDataBouton", 0}, {"TControl", 0}, {"TTabControl", 0}, {"TDataTexteNomFichier", 32291},
};

TFactory g_factories[kClassCount] = {};

const std::unordered_map<std::string_view, int32_t>& NameIndex()
{
  static const std::unordered_map<std::string_view, int32_t> index = [] {
    std::unordered_map<std::string_view, int32_t> m;
    for (int32_t i = 0; i < kClassCount; ++i)
      m.emplace(kClasses[i].name, i);  // emplace keeps the first of equal names
    return m;
  }();
  return index;
}

}  // namespace

const char* GetClassName(int32_t id)
{
  return id >= 0 && id < kClassCount ? kClasses[id].name : nullptr;
}

int32_t GetClassId(std::string_view name)
{
  const auto& index = NameIndex();
  const auto it = index.find(name);
  return it == index.end() ? 0 : it->second;
}

int32_t GetClassIdByCommand(uint32_t commandId)
{
  if (commandId == 0)
    return 0;
  for (int32_t i = 0; i < kClassCount; ++i)
    if (kClasses[i].commandId == commandId)
      return i;
  return 0;
}

uint32_t GetClassCommand(int32_t id)
{
  return id >= 0 && id < kClassCount ? kClasses[id].commandId : 0;
}

int SetClassFactory(int32_t id, TFactory factory)
{
  if (id < 0 || id >= kClassCount)
    return 0;
  g_factories[id] = factory;
  return 1;
}

TFactory GetClassFactory(int32_t id)
{
  return id >= 0 && id < kClassCount ? g_factories[id] : nullptr;
}

TStreamable* CreateObject(int32_t id, TDataOwner* client, int32_t argument)
{
  const TFactory f = GetClassFactory(id);
  return f ? f(client, argument) : nullptr;
}

TStreamable* CreateObjectByCommand(uint32_t commandId, TDataOwner* client, int32_t argument)
{
  return CreateObject(GetClassIdByCommand(commandId), client, argument);
}
