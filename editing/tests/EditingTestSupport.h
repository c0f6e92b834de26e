#pragma once

// What the tests of the editing commands share.

#include "DocumentTestSupport.h"

#include "TDataCercle.h"
#include "TDataGroupSymbol.h"
#include "TDataRectangle.h"

#include <memory>
#include <string>

// The tip the toolbar shows for command while client is the active view.
inline std::string TipOf(TaClientPage& client, uint16_t command)
{
  char text[100] = {};
  client.Message(MSG_TOOLTIP_TEXT, command, sizeof text, text);
  return text;
}

// A symbol definition called name: a 60 x 40 frame with a circle in it.
inline std::unique_ptr<TDataGroupSymbol> LampDefinition(const std::string& name)
{
  auto definition = std::make_unique<TDataGroupSymbol>();
  definition->SetName(name);
  definition->AddChild(new TDataRectangle(TRect(0, 0, 60, 40)));
  definition->AddChild(new TDataCercle(30, 20, 15));
  definition->SetRect(TRect(0, 0, 60, 40), kRectFrame);
  return definition;
}
