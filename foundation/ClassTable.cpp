#include "ClassTable.h"

#include "CommandIds.h"

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
    {"TStreamable", 0},
    {"TBouton", 0},
    {"TDialog", 0},
    {"TEdl", 0},
    {"TPop", 0},
    {"TScrollBar", 0},
    {"TStatic", 0},
    {"TStatus", 0},
    {"TWindow", 0},
    {"TRadio", 0},
    {"TCheck", 0},
    {"TListe", 0},
    {"TDataTexte", CM_NEW_TEXT},
    {"TDataGrid", 0},
    {"TFont", 0},
    {"TDataRectangle", CM_NEW_ROUNDRECT},
    {"TSmallListe", 0},
    {"TRect", 0},
    {"TData", 0},
    {"TString", 0},
    {"TVue", 0},
    {"TBordure", 0},
    {"TPage", 0},
    {"TTableau", 0},
    {"TBrush", 0},
    {"TPen", 0},
    {"TSmallVue", 0},
    {"TPolygone", 0},
    {"TPolyRectangle", CM_NEW_RECTANGLE},
    {"TClient", 0},
    {"TGroupBox", 0},
    {"TDataLine", CM_NEW_LINE},
    {"TDataCercle", CM_NEW_CIRCLE},
    {"TDataImage", CM_NEW_IMAGE},
    {"TDataGroup", 0},
    {"TEdit", 0},
    {"TDataTexteRpt", 0},
    {"TApercu", 0},
    {"TDataTexteHeure", CM_NEW_TIME},
    {"TDataTexteDate", CM_NEW_DATE},
    {"TDataTexteChamp", CM_NEW_FIELD_TEXT},
    {"TDataTextePage", CM_NEW_PAGE_NUMBER},
    {"TImageChamp", CM_NEW_IMAGE_FIELD},
    {"TInfoChamp", 0},
    {"TDataSmallRect", 0},
    {"TCmdLine", 0},
    {"TDataBezier", CM_NEW_BEZIER},
    {"TDataSymbol", CM_NEW_SYMBOL},
    {"TDataGroupSymbol", 0},
    {"TDataPolygone", CM_NEW_POLYGON},
    {"TDataSin", CM_NEW_SINUSOID},
    {"TSaverWindow", 0},
    {"TDataPolyLine", CM_NEW_POLYLINE},
    {"TDataDim", CM_NEW_DIMENSION},
    {"TDataFleche", CM_NEW_ARROW},
    {"TToolbar", 0},
    {"TDataBouton", 0},
    {"TControl", 0},
    {"TTabControl", 0},
    {"TDataTexteNomFichier", CM_NEW_FILENAME},
};

TFactory g_factories[kClassCount] = {};

const std::unordered_map<std::string_view, int32_t>& NameIndex()
{
  static const std::unordered_map<std::string_view, int32_t> index = [] {
    std::unordered_map<std::string_view, int32_t> m;
    for (int32_t i = 0; i < kClassCount; ++i)
      m.emplace(kClasses[i].name, i); // emplace keeps the first of equal names
    return m;
  }();
  return index;
}

} // namespace

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
