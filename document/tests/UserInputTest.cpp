#include "Messages.h"
#include "TFont.h"
#include "TPen.h"
#include "TUserInput.h"

#include <gtest/gtest.h>

namespace {

// A front end that gives the window services and no dialog at all.
class WindowOnlyInput : public TUserInput
{
public:
  bool PumpMessage(TVue*) override { return false; }
  void GetClientSize(TVue*, int32_t& width, int32_t& height) override { width = height = 0; }
  void GetPointerPos(TVue*, int32_t& x, int32_t& y) override { x = y = 0; }
  void SetPointerPos(TVue*, int32_t, int32_t) override {}
  void ShowPointer(TVue*, bool) override {}
  void CaptureMouse(TVue*, bool) override {}
  int32_t SetCursor(TVue*, int32_t) override { return 0; }
  void Invalidate(TVue*, const int32_t*) override {}
  void Update(TVue*) override {}
  QPaintDevice* OverlayDevice(TVue*) override { return nullptr; }
  void OverlayChanged(TVue*, const int32_t*) override {}
  void ScrollChanged(TVue*, int32_t, int32_t) override {}
  void PostMessage(TVue*, uint32_t, uint32_t, uintptr_t) override {}
  bool SetStatusText(TVue*, const std::string&) override { return false; }
};

} // namespace

TEST(UserInput, DialogsAFrontEndDoesNotGiveAreCancelledAndChangeNothing)
{
  WindowOnlyInput input;
  EXPECT_EQ(input.MessageBox("Delete ?", "Vekta", MB_YESNO_), IDCANCEL_);
  int32_t value = 7;
  EXPECT_EQ(AskInteger(input, value, 1, 10, "Zoom", "Zoom:"), 0);
  EXPECT_EQ(value, 7);
  uint32_t colour = 0x123456;
  EXPECT_FALSE(input.ChooseColor(colour, true));
  EXPECT_EQ(colour, 0x123456u);
  std::string text = "kept";
  EXPECT_FALSE(input.AskText("Name", "Name:", text, 39));
  EXPECT_EQ(text, "kept");
  TPen pen;
  EXPECT_FALSE(input.ChoosePen(pen, nullptr));
  std::string path = "a.vk1";
  EXPECT_FALSE(input.ChooseSaveFile(path, "Vekta Files (*.vk1)|*.vk1", "vk1"));
  EXPECT_EQ(path, "a.vk1");
  EXPECT_EQ(input.PopupMenu("Text", {{32558, "Position"}}), 0);
}
