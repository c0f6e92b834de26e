#include "ObjectFactories.h"

#include "ClassTable.h"
#include "TDataCercle.h"
#include "TDataFleche.h"
#include "TDataGroup.h"
#include "TDataGroupSymbol.h"
#include "TDataLine.h"
#include "TDataRectangle.h"
#include "TDataSymbol.h"
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
  SetClassFactory(kTDataGroup, &TDataGroup::Create);
  SetClassFactory(kTDataSymbol, &TDataSymbol::Create);
  SetClassFactory(kTDataGroupSymbol, &TDataGroupSymbol::Create);
}
