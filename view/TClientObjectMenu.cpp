// The popup menu of an object, built from the capability masks it reports.

#include "TClient.h"

#include "ClassTable.h"
#include "CommandIds.h"
#include "Messages.h"
#include "StringTable.h"
#include "TUserInput.h"

#include <vector>

namespace {

struct MenuEntry
{
  bool secondMask; // the bit belongs to mask B (Message 32664)
  uint32_t bit;
  uint16_t command;
  uint32_t text;
};

// The property entries in the order the menu shows them.
constexpr MenuEntry kPropertyEntries[] = {
    {false, 0x1, CM_OBJ_POSITION, IDS_MENU_POSITION},
    {false, 0x2, CM_OBJ_SIZE, IDS_MENU_SIZE},
    {false, 0x40000000, CM_OBJ_CENTER, IDS_MENU_CENTER},
    {false, 0x4, CM_OBJ_COLOR, IDS_MENU_COLOR},
    {false, 0x400, CM_OBJ_LINE_TYPE, IDS_MENU_LINE_TYPE},
    {false, 0x80, CM_OBJ_LINE_WIDTH, IDS_MENU_LINE_WIDTH},
    {false, 0x80000, CM_OBJ_TITLE_COLOR, IDS_MENU_TITLE_COLOR},
    {false, 0x100000, CM_OBJ_BORDER_COLOR, IDS_MENU_BORDER_COLOR},
    {false, 0x1000000, CM_OBJ_SELECTION_COLOR, IDS_MENU_SELECTION_COLOR},
    {false, 0x800000, CM_OBJ_BACK_COLOR, IDS_MENU_BACK_COLOR},
    {false, 0x8, CM_OBJ_SHOW_TITLE, IDS_MENU_SHOW_TITLE},
    {false, 0x10, CM_OBJ_HIDE_TITLE, IDS_MENU_HIDE_TITLE},
    {false, 0x20, CM_OBJ_MODIFY_TITLE, IDS_MENU_MODIFY_TITLE},
    {false, 0x40, CM_OBJ_EDIT_TEXT, IDS_MENU_EDIT_TEXT},
    {false, 0x400000, CM_OBJ_BACK_TYPE, IDS_MENU_BACK_TYPE},
    {false, 0x100, CM_OBJ_MODIFY_ITEMS, IDS_MENU_MODIFY_ITEMS},
    {false, 0x200, CM_OBJ_DECIMALS, IDS_MENU_DECIMALS},
    {false, 0x800, CM_OBJ_FONT, IDS_MENU_FONT},
    {false, 0x40000, CM_OBJ_TITLE_FONT, IDS_MENU_TITLE_FONT},
    {false, 0x1000, CM_OBJ_LENGTH_SHOWN, IDS_MENU_LENGTH_SHOWN},
    {false, 0x8000, CM_OBJ_MAX_LENGTH, IDS_MENU_MAX_LENGTH},
    {false, 0x2000, CM_OBJ_FORMAT, IDS_MENU_FORMAT},
    {false, 0x4000, CM_OBJ_MODE, IDS_MENU_MODE},
    {false, 0x10000, CM_OBJ_COLUMN_WIDTH, IDS_MENU_COLUMN_WIDTH},
    {false, 0x20000, CM_OBJ_COLUMN_POSITION, IDS_MENU_COLUMN_POSITION},
    {false, 0x200000, CM_OBJ_ANGLE, IDS_MENU_ANGLE},
    {false, 0x4000000, CM_OBJ_SIZING_MODE, IDS_MENU_SIZING_MODE},
    {false, 0x8000000, CM_OBJ_FRAME_TEXT, IDS_MENU_FRAME_TEXT},
    {false, 0x10000000, CM_OBJ_INFORMATIONS, IDS_MENU_INFORMATIONS},
    {false, 0x20000000, CM_OBJ_FILE, IDS_MENU_FILE},
    {false, 0x2000000, CM_OBJ_OTHER, IDS_MENU_OTHER},
    {false, 0x80000000, CM_OBJ_BORDER, IDS_MENU_BORDER},
    {true, 0x1, CM_OBJ_GROUP_NUMBER, IDS_MENU_GROUP_NUMBER},
    {true, 0x2, CM_OBJ_TEXT_JUSTIFICATION, IDS_MENU_TEXT_JUSTIFICATION},
    {true, 0x4, CM_OBJ_HIDE_IMAGE, IDS_MENU_HIDE_IMAGE},
    {true, 0x8, CM_OBJ_SHOW_IMAGE, IDS_MENU_SHOW_IMAGE},
    {true, 0x10, CM_OBJ_LAYER, IDS_MENU_LAYER},
    {true, 0x20, CM_OBJ_CURVE_SHAPE, IDS_MENU_CURVE_SHAPE},
    {true, 0x40, CM_OBJ_HIDE_IF_ZERO, IDS_MENU_HIDE_IF_ZERO},
    {true, 0x80, CM_OBJ_SHOW_IF_ZERO, IDS_MENU_SHOW_IF_ZERO},
    {true, 0x100, CM_OBJ_EXPLODE, IDS_MENU_EXPLODE},
    {true, 0x200, CM_OBJ_CORNERS_SIZE, IDS_MENU_CORNERS_SIZE},
    {true, 0x400, CM_OBJ_REFERENCE_POINT, IDS_MENU_REFERENCE_POINT},
    {true, 0x800, CM_OBJ_POSITION_IN_IMAGE, IDS_MENU_POSITION_IN_IMAGE},
    {true, 0x1000, CM_OBJ_SIZE_IN_IMAGE, IDS_MENU_SIZE_IN_IMAGE},
    {true, 0x2000, CM_OBJ_CYCLES, IDS_MENU_CYCLES},
    {true, 0x4000, CM_OBJ_START_POSITION, IDS_MENU_START_POSITION},
    {true, 0x8000, CM_OBJ_ISO, IDS_MENU_ISO},
    {true, 0x10000, CM_OBJ_NOT_ISO, IDS_MENU_NOT_ISO},
    {true, 0x20000, CM_OBJ_TRANSPARENT, IDS_MENU_TRANSPARENT},
    {true, 0x40000, CM_OBJ_OPAQUE, IDS_MENU_OPAQUE},
    {true, 0x80000, CM_OBJ_ADD_DELETE_POINTS, IDS_MENU_ADD_DELETE_POINTS},
    {true, 0x100000, CM_OBJ_CHANGE_FILE, IDS_MENU_CHANGE_FILE},
    {true, 0x200000, CM_OBJ_TEXT_COLOR, IDS_MENU_TEXT_COLOR},
    {true, 0x400000, CM_OBJ_EXCHANGE_ENDS, IDS_MENU_EXCHANGE_ENDS},
    {true, 0x800000, CM_OBJ_REDUCE_COLORS, IDS_MENU_REDUCE_COLORS},
    {true, 0x1000000, CM_OBJ_START_ANGLE, IDS_MENU_START_ANGLE},
    {true, 0x2000000, CM_OBJ_END_ANGLE, IDS_MENU_END_ANGLE},
    {true, 0x4000000, CM_OBJ_LINE_SPACING, IDS_MENU_LINE_SPACING},
};

constexpr uint32_t kBitColor = 0x4;
constexpr uint32_t kBitLineType = 0x400;
constexpr uint32_t kBitFont = 0x800;
constexpr uint32_t kBitBackColor = 0x800000;

TUserInput::MenuItem Item(uint16_t command, uint32_t text)
{
  return {command, LoadStr(text), false, true};
}

TUserInput::MenuItem Separator()
{
  return {};
}

} // namespace

uint16_t TClient::RunObjectMenu(TData* object)
{
  if (!object || !input)
    return 0;
  const uint32_t maskA = object->Message(MSG_MASK_A, 0, 0, nullptr) & ~Message(MSG_MENU_VETO_A, 0, 0, object);
  const uint32_t maskB = object->Message(MSG_MASK_B, 0, 0, nullptr) & ~Message(MSG_MENU_VETO_B, 0, 0, object);
  if (maskA == 0 && maskB == 0)
    return 0;
  const uint32_t typeName = object->Message(MSG_TYPE_NAME, 0, 0, nullptr);

  std::vector<TUserInput::MenuItem> items;
  for (const MenuEntry& entry : kPropertyEntries) {
    if ((entry.secondMask ? maskB : maskA) & entry.bit) {
      items.push_back(Item(entry.command, entry.text));
    }
  }

  const bool window = object->IsA(kTVue);
  const bool modifiable = !object->TestState(TData::kUnmodifiable);
  const bool copyable = !object->TestState(TData::kUncopyable);
  const bool deletable = !object->TestState(TData::kUndeletable);
  if (!window && (modifiable || copyable || deletable)) {
    items.push_back(Separator());
    if (modifiable)
      items.push_back(Item(CM_OBJ_BRING_TO_TOP, IDS_MENU_BRING_TO_TOP));
    if (copyable)
      items.push_back(Item(CM_OBJ_COPY_PASTE, IDS_MENU_COPY_PASTE));
    if (deletable)
      items.push_back(Item(CM_OBJ_DELETE, IDS_MENU_DELETE));
  }

  if (!window && typeName != 0 && (maskA & (kBitColor | kBitLineType | kBitFont | kBitBackColor))) {
    items.push_back(Separator());
    const bool colour = maskA & kBitColor;
    const bool lineType = maskA & kBitLineType;
    const bool font = maskA & kBitFont;
    if (colour)
      items.push_back(Item(CM_OBJ_DEFAULT_COLOR, IDS_MENU_DEFAULT_COLOR));
    if (lineType)
      items.push_back(Item(CM_OBJ_DEFAULT_LINE_TYPE, IDS_MENU_DEFAULT_LINE_TYPE));
    if (lineType && colour)
      items.push_back(Item(CM_OBJ_DEFAULT_LINE_TYPE_COLOR, IDS_MENU_DEFAULT_LINE_TYPE_COLOR));
    if (maskA & kBitBackColor)
      items.push_back(Item(CM_OBJ_DEFAULT_BACK_COLOR, IDS_MENU_DEFAULT_BACK_COLOR));
    if (font)
      items.push_back(Item(CM_OBJ_DEFAULT_FONT, IDS_MENU_DEFAULT_FONT));
    if (colour)
      items.push_back(Item(CM_OBJ_DEFAULT_TEXT_COLOR, IDS_MENU_DEFAULT_TEXT_COLOR));
    if (font && colour)
      items.push_back(Item(CM_OBJ_DEFAULT_FONT_COLOR, IDS_MENU_DEFAULT_FONT_COLOR));
  }

  // The type name heads the menu as a disabled entry (the front end draws it
  // with a separator under it).
  return input->PopupMenu(typeName != 0 ? LoadStr(typeName) : "", items);
}
