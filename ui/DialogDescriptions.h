#pragma once

#include <string_view>

class TDialog;

// The dialogue descriptions of the program's resources. Each one builds
// the controls of a dialogue, with the control ids the dialogue's code
// looks them up by, lays them out and sets the title:
//   "KARWI_DIALOGLAYERS"    the layers: "Active" radios 101-108 (group 100),
//                           names 201-208, "Visible" checks 301-308 (group
//                           300), "Protected" checks 401-408 (group 400)
//   "KARWI_DIALOG1LAYER"    the layers of an object: checks 101-108 (group 100)
//   "KARWI_DIALOGUNITES"    units: "On Paper" 101-106 (group 100), "To
//                           scale:" 200, "Decimals:" 300, size line 400,
//                           "Format" 501-503 (group 500), label 600
//   "KARWI_DIALOGSNAP"      grid and snap: "Grid" 102 with X 103 and Y 105
//                           (group 101), "Snap" 108 with X 109 and Y 111
//                           (group 107)
//   "KARWI_CHOOSEPEN"       line style: styles 100-104 (group 32585), width
//                           32563 with its label 900
//   "KARWI_DIALOGMULTIEDIT" a multi-line edit 101
// and OK (1) and Cancel (2) at the bottom of each.
using DialogDescription = void (*)(TDialog& dialog);

// The description of resource, matched without regard to case; null when
// there is none.
DialogDescription FindDialogDescription(std::string_view resource);
