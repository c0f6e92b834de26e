#pragma once

#include <cstdint>

class TaClientPage;

// The Preferences menu's default attributes, chosen in a document view's
// dialogs: the line type (32259), font (32673), text colour (32297), line
// colour (32303), background colour (32304, where "none" makes new objects
// hollow) and page (32292, the document's paper size and units after a
// confirmation). The values are program-wide; the defaults file keeps them
// from one run to the next. Answers true when a default changed; false for
// another command, a cancelled dialog or a view without an input.
bool IsDefaultAttributeCommand(uint16_t command);
bool DefaultAttributeCommand(TaClientPage& view, uint16_t command);
