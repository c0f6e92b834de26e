#pragma once

#include <cstdint>
#include <string_view>

class TDataOwner;
class TStreamable;

// Creates an object: with a null client a default object (used by readers),
// with a client the interactive creation of that kind (null when cancelled).
using TFactory = TStreamable* (*)(TDataOwner* client, int32_t argument);

// Class ids are fixed: code tests membership with IsA on these numbers.
// Rows without a class in this program keep their place so the numbering
// never moves.
enum ClassId : int32_t {
  kTStreamable = 0,
  kTBouton = 1,
  kTDialog = 2,
  kTEdl = 3,
  kTPop = 4,
  kTScrollBar = 5,
  kTStatic = 6,
  kTStatus = 7,
  kTWindow = 8,
  kTRadio = 9,
  kTCheck = 10,
  kTListe = 11,
  kTDataTexte = 12,
  kTDataGrid = 13,
  kTFont = 14,
  kTDataRectangle = 15,
  kTSmallListe = 16,
  kTRect = 17,
  kTData = 18,
  kTString = 19,
  kTVue = 20,
  kTBordure = 21,
  kTPage = 22,
  kTTableau = 23,
  kTBrush = 24,
  kTPen = 25,
  kTSmallVue = 26,
  kTPolygone = 27,
  kTPolyRectangle = 28,
  kTClient = 29,
  kTGroupBox = 30,
  kTDataLine = 31,
  kTDataCercle = 32,
  kTDataImage = 33,
  kTDataGroup = 34,
  kTEdit = 35,
  kTDataTexteRpt = 36,
  kTApercu = 37,
  kTDataTexteHeure = 38,
  kTDataTexteDate = 39,
  kTDataTexteChamp = 40,
  kTDataTextePage = 41,
  kTImageChamp = 42,
  kTInfoChamp = 43,
  kTDataSmallRect = 44,
  kTCmdLine = 45,
  kTDataBezier = 46,
  kTDataSymbol = 47,
  kTDataGroupSymbol = 48,
  kTDataPolygone = 49,
  kTDataSin = 50,
  kTSaverWindow = 51,
  kTDataPolyLine = 52,
  kTDataDim = 53,
  kTDataFleche = 54,
  kTToolbar = 55,
  kTDataBouton = 56,
  kTControl = 57,
  kTTabControl = 58,
  kTDataTexteNomFichier = 59,
  kClassCount = 60
};

// Null for an id outside 0..59.
const char* GetClassName(int32_t id);
// The first entry whose name matches exactly, or 0 (so "TStreamable" is
// never recognised as a record).
int32_t GetClassId(std::string_view name);
// The first entry created by that command, 0 when none or for command 0.
int32_t GetClassIdByCommand(uint32_t commandId);
uint32_t GetClassCommand(int32_t id);
int SetClassFactory(int32_t id, TFactory factory);
TFactory GetClassFactory(int32_t id);
TStreamable* CreateObject(int32_t id, TDataOwner* client, int32_t argument);
TStreamable* CreateObjectByCommand(uint32_t commandId, TDataOwner* client, int32_t argument);
