#include "ObjectFactories.h"

#include "ClassTable.h"

// Each object kind contributes one line: SetClassFactory(id, &Class::Create),
// where Create(client, argument) builds a default object without a client
// and runs the interactive creation with one.
void RegisterObjectFactories()
{
}
