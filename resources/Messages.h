#pragma once

#include <cstdint>

// Window message numbers delivered to TVue::WndProc, and the program's own
// message and query numbers used with Message.
enum WindowMessage : uint32_t {
  WM_DESTROY_ = 2,
  WM_MOVE_ = 3,
  WM_SIZE_ = 5,
  WM_PAINT_ = 15,
  WM_CLOSE_ = 16,
  WM_ERASEBKGND_ = 20,
  WM_SETCURSOR_ = 32,
  WM_NOTIFY_ = 78,
  WM_NCDESTROY_ = 130,
  WM_NCPAINT_ = 133,
  WM_KEYDOWN_ = 256,
  WM_KEYUP_ = 257,
  WM_CHAR_ = 258,
  WM_SYSKEYDOWN_ = 260,
  WM_COMMAND_ = 273,
  WM_TIMER_ = 275,
  WM_HSCROLL_ = 276,
  WM_VSCROLL_ = 277,
  WM_MOUSEMOVE_ = 512,
  WM_LBUTTONDOWN_ = 513,
  WM_LBUTTONUP_ = 514,
  WM_LBUTTONDBLCLK_ = 515,
  WM_RBUTTONDOWN_ = 516,
  WM_RBUTTONUP_ = 517,
  WM_MOUSEWHEEL_ = 522,
  WM_QUIT_ = 18,
};

// Key codes carried by WM_KEYDOWN_ (param1) and characters by WM_CHAR_.
enum VirtualKey : uint32_t {
  VK_BACK_ = 8,
  VK_TAB_ = 9,
  VK_RETURN_ = 13,
  VK_SHIFT_ = 16,
  VK_CONTROL_ = 17,
  VK_ESCAPE_ = 27,
  VK_SPACE_ = 32,
  VK_PRIOR_ = 33,
  VK_NEXT_ = 34,
  VK_END_ = 35,
  VK_HOME_ = 36,
  VK_LEFT_ = 37,
  VK_UP_ = 38,
  VK_RIGHT_ = 39,
  VK_DOWN_ = 40,
  VK_DELETE_ = 46,
  VK_F1_ = 112,
};

// Modifier bits carried by mouse messages in param2 (MK_* meaning).
enum MouseKeys : uint32_t {
  MK_LBUTTON_ = 0x0001,
  MK_RBUTTON_ = 0x0002,
  MK_SHIFT_ = 0x0004,
  MK_CONTROL_ = 0x0008,
};

// Packs client coordinates into a mouse message's param1 (signed 16 bits
// each, as the platform does).
inline uint32_t MakePointParam(int32_t x, int32_t y)
{
  return (static_cast<uint32_t>(static_cast<uint16_t>(static_cast<int16_t>(x)))) |
         (static_cast<uint32_t>(static_cast<uint16_t>(static_cast<int16_t>(y))) << 16);
}
inline int32_t PointParamX(uint32_t p)
{
  return static_cast<int16_t>(p & 0xFFFF);
}
inline int32_t PointParamY(uint32_t p)
{
  return static_cast<int16_t>(p >> 16);
}

// The program's own messages and queries (Message numbers).
enum ProgramMessage : uint32_t {
  MSG_CONTROL_NOTIFY = 32268,
  MSG_TOOLTIP_TEXT = 32269,
  MSG_LAYER_ACTIVE_VALUE = 32270,
  MSG_MENU_VETO_A = 32260,
  MSG_MENU_VETO_B = 32261,
  MSG_DEFAULT_FONT_BROADCAST = 32282,
  MSG_TITLE_QUERY_2 = 32283,
  MSG_MAY_MOVE = 32285,
  MSG_MAY_RESIZE = 32286,
  MSG_FILE_PATH_QUERY = 32288,
  MSG_TYPE_NAME = 32289,
  MSG_TITLE_QUERY = 32305,
  MSG_DOC_LOADED = 32329,
  MSG_DOC_SAVED_AS = 32330,
  MSG_PRIVATE_COLOR = 32637,
  MSG_REFRESH_READOUT = 32638,
  MSG_MASK_A = 32655,
  MSG_CHILD_NOTIFY = 32660,
  MSG_MASK_B = 32664,
  MSG_REFRESH_NO_WINDOW = 32684,
  MSG_REFRESH = 32685,
  MSG_SET_STATUS = 32701,
  MSG_BROADCAST_COMMAND = 32706,
  MSG_SYMBOL_MODULE = 32712,
  MSG_RESOLVE_SYMBOL = 32714, // a symbol instance looks up its definition again
  MSG_EXPLODE = 32715,        // p: the group that receives the pieces
  MSG_GET_ANGLE = 32722,
  MSG_SET_ANGLE = 32723,
  MSG_LAYER_DATA = 32726,
  MSG_TAKE_PEN = 32737,
  MSG_LEFT_DOCUMENT = 32742,    // the object was taken out of its document (deleted, cut, undone)
  MSG_BACK_IN_DOCUMENT = 32743, // the object came back into its document
  MSG_PRINT_PAGES = 32273,      // p: the first and last page number (int32_t[2])
  MSG_PRINT_PAGE = 32662, // page iteration: a 0 begins (b the kind, p the range), a > 0 shows page a, -1 ends
  MSG_IMAGE_IS_METAFILE = 32747, // non-zero from an image whose picture is a metafile
};

// Result codes of the message box.
enum MessageBoxResult : int32_t {
  IDOK_ = 1,
  IDCANCEL_ = 2,
  IDYES_ = 6,
  IDNO_ = 7,
};

// Message box flags (buttons, icons, default button).
enum MessageBoxFlags : uint32_t {
  MB_OK_ = 0x0,
  MB_OKCANCEL_ = 0x1,
  MB_YESNOCANCEL_ = 0x3,
  MB_YESNO_ = 0x4,
  MB_ICONSTOP_ = 0x10,
  MB_ICONQUESTION_ = 0x20,
  MB_ICONEXCLAMATION_ = 0x30,
  MB_ICONINFORMATION_ = 0x40,
  MB_DEFBUTTON2_ = 0x100,
};
