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
  bool secondMask;  // the bit belongs to mask B (Message 32664)
  uint32_t bit;
  uint16_t command;
  uint32_t text;
};

// The property entries in the order the menu shows them.
constexpr MenuEntry kPropertyEntries[] = {
  {false, 0x1, 32558, IDS_MENU_POSITION},
  {false, 0x2, 32560, IDS_MENU_SIZE},
  {false, 0x40000000, 32651, IDS_MENU_CENTER},
  {false, 0x4, 32566, IDS_MENU_COLOR},
  {false, 0x400, 32564, IDS_MENU_LINE_TYPE},
  {false, 0x80, 32563, IDS_MENU_LINE_WIDTH},
  {false, 0x80000, 32590, IDS_MENU_TITLE_COLOR},
  {false, 0x100000, 32591, IDS_MENU_BORDER_COLOR},
  {false, 0x1000000, 32640, IDS_MENU_SELECTION_COLOR},
  {false, 0x800000, 32602, IDS_MENU_BACK_COLOR},
  {false, 0x8, 32555, IDS_MENU_SHOW_TITLE},
  {false, 0x10, 32556, IDS_MENU_HIDE_TITLE},
  {false, 0x20, 32559, IDS_MENU_MODIFY_TITLE},
  {false, 0x40, 32562, IDS_MENU_EDIT_TEXT},
  {false, 0x400000, 32601, IDS_MENU_BACK_TYPE},
  {false, 0x100, 32557, IDS_MENU_MODIFY_ITEMS},
  {false, 0x200, 32561, IDS_MENU_DECIMALS},
  {false, 0x800, 32528, IDS_MENU_FONT},
  {false, 0x40000, 32589, IDS_MENU_TITLE_FONT},
  {false, 0x1000, 32574, IDS_MENU_LENGTH_SHOWN},
  {false, 0x8000, 32582, IDS_MENU_MAX_LENGTH},
  {false, 0x2000, 32575, IDS_MENU_FORMAT},
  {false, 0x4000, 32576, IDS_MENU_MODE},
  {false, 0x10000, 32587, IDS_MENU_COLUMN_WIDTH},
  {false, 0x20000, 32588, IDS_MENU_COLUMN_POSITION},
  {false, 0x200000, 32599, IDS_MENU_ANGLE},
  {false, 0x4000000, 32644, IDS_MENU_SIZING_MODE},
  {false, 0x8000000, 32694, IDS_MENU_FRAME_TEXT},
  {false, 0x10000000, 32578, IDS_MENU_INFORMATIONS},
  {false, 0x20000000, 32516, IDS_MENU_FILE},
  {false, 0x2000000, 32646, IDS_MENU_OTHER},
  {false, 0x80000000, 32596, IDS_MENU_BORDER},
  {true, 0x1, 32665, IDS_MENU_GROUP_NUMBER},
  {true, 0x2, 32666, IDS_MENU_TEXT_JUSTIFICATION},
  {true, 0x4, 32671, IDS_MENU_HIDE_IMAGE},
  {true, 0x8, 32672, IDS_MENU_SHOW_IMAGE},
  {true, 0x10, 32700, IDS_MENU_LAYER},
  {true, 0x20, 32699, IDS_MENU_CURVE_SHAPE},
  {true, 0x40, 32702, IDS_MENU_HIDE_IF_ZERO},
  {true, 0x80, 32703, IDS_MENU_SHOW_IF_ZERO},
  {true, 0x100, 32715, IDS_MENU_EXPLODE},
  {true, 0x200, 32719, IDS_MENU_CORNERS_SIZE},
  {true, 0x400, 32728, IDS_MENU_REFERENCE_POINT},
  {true, 0x800, 32731, IDS_MENU_POSITION_IN_IMAGE},
  {true, 0x1000, 32732, IDS_MENU_SIZE_IN_IMAGE},
  {true, 0x2000, 32734, IDS_MENU_CYCLES},
  {true, 0x4000, 32736, IDS_MENU_START_POSITION},
  {true, 0x8000, 32738, IDS_MENU_ISO},
  {true, 0x10000, 32739, IDS_MENU_NOT_ISO},
  {true, 0x20000, 32748, IDS_MENU_TRANSPARENT},
  {true, 0x40000, 32749, IDS_MENU_OPAQUE},
  {true, 0x80000, 32729, IDS_MENU_ADD_DELETE_POINTS},
  {true, 0x100000, 32256, IDS_MENU_CHANGE_FILE},
  {true, 0x200000, 32258, IDS_MENU_TEXT_COLOR},
  {true, 0x400000, 32263, IDS_MENU_EXCHANGE_ENDS},
  {true, 0x800000, 32271, IDS_MENU_REDUCE_COLORS},
  {true, 0x1000000, 32277, IDS_MENU_START_ANGLE},
  {true, 0x2000000, 32278, IDS_MENU_END_ANGLE},
  {true, 0x4000000, 32307, IDS_MENU_LINE_SPACING},
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

}  // namespace

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
    if ((entry.secondMask ? maskB : maskA) & entry.bit)
      items.push_back(Item(entry.command, entry.text));
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
