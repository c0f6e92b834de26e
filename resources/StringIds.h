#pragma once

// String resource ids. Ids that stored documents or other programs never
// see are still fixed here so that every text has exactly one source.
// Each subsystem keeps its ids and texts in strings/<subsystem>.h and .inc;
// ids of our own choosing are taken from the subsystem's range:
//   foundation 40000, document 41000, objects 42000, editing 43000,
//   output 44000, images 45000, ui 46000, app 47000.
#include "strings/app.h"
#include "strings/document.h"
#include "strings/editing.h"
#include "strings/foundation.h"
#include "strings/images.h"
#include "strings/objects.h"
#include "strings/output.h"
#include "strings/ui.h"
