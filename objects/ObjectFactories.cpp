#include "ObjectFactories.h"

#include "ClassTable.h"
#include "TDataBezier.h"
#include "TDataCercle.h"
#include "TDataDim.h"
#include "TDataFleche.h"
#include "TDataGroup.h"
#include "TDataGroupSymbol.h"
#include "TDataLine.h"
#include "TDataPolyLine.h"
#include "TDataPolygone.h"
#include "TDataRectangle.h"
#include "TDataSin.h"
#include "TDataSymbol.h"
#include "TDataTexte.h"
#include "TDataTexteDate.h"
#include "TDataTexteHeure.h"
#include "TDataTexteNomFichier.h"
#include "TDataTexteRpt.h"
#include "TPolyRectangle.h"

// Each object kind contributes one line: SetClassFactory(id, &Class::Create),
// where Create(client, argument) builds a default object without a client
// and runs the interactive creation with one.
void RegisterObjectFactories()
{
  SetClassFactory(kTDataLine, &TDataLine::Create);
  SetClassFactory(kTDataFleche, &TDataFleche::Create);
  SetClassFactory(kTDataRectangle, &TDataRectangle::Create);
  SetClassFactory(kTPolyRectangle, &TPolyRectangle::Create);
  SetClassFactory(kTDataCercle, &TDataCercle::Create);
  SetClassFactory(kTDataPolygone, &TDataPolygone::Create);
  SetClassFactory(kTDataPolyLine, &TDataPolyLine::Create);
  SetClassFactory(kTDataBezier, &TDataBezier::Create);
  SetClassFactory(kTDataSin, &TDataSin::Create);
  SetClassFactory(kTDataGroup, &TDataGroup::Create);
  SetClassFactory(kTDataSymbol, &TDataSymbol::Create);
  SetClassFactory(kTDataGroupSymbol, &TDataGroupSymbol::Create);
  SetClassFactory(kTDataTexte, &TDataTexte::Create);
  SetClassFactory(kTDataTexteRpt, &TDataTexteRpt::Create);
  SetClassFactory(kTDataTexteDate, &TDataTexteDate::Create);
  SetClassFactory(kTDataTexteHeure, &TDataTexteHeure::Create);
  SetClassFactory(kTDataTexteNomFichier, &TDataTexteNomFichier::Create);
  SetClassFactory(kTDataDim, &TDataDim::Create);
}
