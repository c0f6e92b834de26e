#include "ViewTestSupport.h"

#include "CommandIds.h"

#include <vector>

namespace {

class TrackTest : public ViewTest
{
protected:
  // What every modal procedure must leave as it found it.
  void ExpectRestored(bool busy = false)
  {
    EXPECT_EQ(client.IsBusy(), busy);
    EXPECT_FALSE(input.Captured());
    EXPECT_TRUE(input.PointerShown());
    EXPECT_EQ(input.Cursor(), 0);
    EXPECT_TRUE(input.OverlayBlank());
    EXPECT_EQ(client.GetPage()->GetDragMode(), 0);
    EXPECT_EQ(input.LastStatus(), "");
  }

  TestObject object{100, 100, 200, 150};
};

TEST_F(TrackTest, OutlineIsDrawnAndErasedOnTheOverlay)
{
  client.ToggleOutline(&object);
  EXPECT_FALSE(input.OverlayBlank());
  EXPECT_EQ(object.GetState() & TData::kSelected, TData::kSelected);
  client.ToggleOutline(&object);
  EXPECT_TRUE(input.OverlayBlank());
  EXPECT_EQ(object.GetState() & TData::kSelected, 0);
}

TEST_F(TrackTest, MoveFollowsThePointerMovements)
{
  input.SetPointer(400, 400);
  input.Drag(30, 20, 3);
  input.Drag(-5, 0);
  input.LeftUp();
  EXPECT_EQ(client.TrackObject(&object, CM_OBJ_POSITION, nullptr), TClient::kTrackReleased);
  EXPECT_EQ(object.left, 125);
  EXPECT_EQ(object.top, 120);
  EXPECT_EQ(object.Width(), 100);
  // Every step showed the position and size.
  EXPECT_EQ(input.statusTexts[0], "X= 100  Y= 100  L= 100  H= 50");
  EXPECT_EQ(input.statusTexts[4], "X= 125  Y= 120  L= 100  H= 50");
  ExpectRestored();
}

TEST_F(TrackTest, StepsThatWouldLeaveThePageAreDropped)
{
  object.Assign(TRect(700, 100, 800, 150));
  input.Drag(10, 0);
  input.Drag(-30, 0);
  input.Char(VK_RETURN_);
  EXPECT_EQ(client.TrackObject(&object, CM_OBJ_POSITION, nullptr), TClient::kTrackEnter);
  EXPECT_EQ(object.left, 670);
  ExpectRestored();
}

TEST_F(TrackTest, SizingCarriesWhatTheSnapStepCutsOff)
{
  // Sizing always goes in whole snap steps (10 here).
  input.Drag(25, 15);
  input.Drag(5, 5);
  input.Drag(4, 0);
  input.Key(VK_DELETE_);
  EXPECT_EQ(client.TrackObject(&object, CM_TRACK_SIZE_2, nullptr), TClient::kTrackDelete);
  EXPECT_EQ(object.right, 230);
  EXPECT_EQ(object.bottom, 170);
  ExpectRestored();
}

TEST_F(TrackTest, MovingWithSnapOnStartsOnTheGrid)
{
  client.SetSnapOn(true);
  object.Assign(TRect(103, 107, 203, 157));
  input.Drag(4, 4);
  input.Drag(4, 4);
  input.Drag(4, 4);
  input.LeftUp();
  EXPECT_EQ(client.TrackObject(&object, CM_OBJ_POSITION, nullptr), TClient::kTrackReleased);
  EXPECT_EQ(object.left, 110);
  EXPECT_EQ(object.top, 120);
  ExpectRestored();
}

TEST_F(TrackTest, TurningSteersADirectionVector)
{
  input.Drag(0, -300, 4);
  input.Char(VK_RETURN_);
  EXPECT_EQ(client.TrackObject(&object, CM_OBJ_START_ANGLE, nullptr), TClient::kTrackEnter);
  EXPECT_EQ(object.angle, 45);
  EXPECT_EQ(object.angleCommand, CM_OBJ_START_ANGLE);
  ExpectRestored();

  // A typed angle.
  input.Char(VK_SPACE_);
  input.AnswerValues(std::vector<double>{-90});
  EXPECT_EQ(client.TrackObject(&object, CM_OBJ_ANGLE, nullptr), TClient::kTrackTyped);
  EXPECT_EQ(object.angle, 270);
  EXPECT_EQ(input.valueFields.back()[0].value, 45);
  ExpectRestored();
}

TEST_F(TrackTest, EscapeRightButtonAndAnEmptyScriptCancel)
{
  client.SetFlags(TClient::kBusy, true);
  input.Drag(10, 10);
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(client.TrackObject(&object, CM_OBJ_POSITION, nullptr), TClient::kTrackCancelled);
  ExpectRestored(true);
  client.SetFlags(TClient::kBusy, false);

  input.RightClick(300, 300);
  EXPECT_EQ(client.TrackObject(&object, CM_OBJ_SIZE, nullptr), TClient::kTrackCancelled);
  ExpectRestored();

  EXPECT_EQ(client.TrackObject(&object, CM_OBJ_SIZE, nullptr), TClient::kTrackCancelled);
  EXPECT_TRUE(input.ranOut);
  ExpectRestored();

  EXPECT_EQ(client.TrackObject(&object, CM_OBJ_COLOR, nullptr), TClient::kTrackCancelled);
}

TEST_F(TrackTest, TypedMovesAreCheckedAgainstThePage)
{
  input.Char(VK_SPACE_);
  input.AnswerValues(std::vector<double>{1000, 0});
  EXPECT_EQ(client.TrackObject(&object, CM_OBJ_POSITION, nullptr), TClient::kTrackCancelled);
  EXPECT_EQ(object.left, 100);
  ASSERT_EQ(input.messageBoxes.size(), 1u);
  EXPECT_EQ(input.messageBoxes[0].text, "This move is too big,\nobject would be out of page");
  EXPECT_EQ(input.messageBoxes[0].flags, MB_OK_ | MB_ICONSTOP_);
  EXPECT_EQ(input.dialogs.front(), "AskValues:Moving");
  ExpectRestored();

  input.Char(VK_SPACE_);
  input.AnswerValues(std::vector<double>{0, 900});
  EXPECT_EQ(client.TrackObject(&object, CM_OBJ_SIZE, nullptr), TClient::kTrackCancelled);
  EXPECT_EQ(input.messageBoxes.back().text, "This size is too big,\nobject would overflow page");
  EXPECT_EQ(object.bottom, 150);

  // The typed values are the total wanted, what was dragged counts.
  input.Drag(20, 0);
  input.Char(VK_SPACE_);
  input.AnswerValues(std::vector<double>{50, 60});
  EXPECT_EQ(client.TrackObject(&object, CM_OBJ_POSITION, nullptr), TClient::kTrackTyped);
  EXPECT_EQ(input.valueFields.back()[0].value, 20);
  EXPECT_EQ(object.left, 150);
  EXPECT_EQ(object.top, 160);

  // A cancelled values dialog goes back to dragging.
  input.Char(VK_SPACE_);
  input.AnswerValues(std::nullopt);
  input.Drag(10, 0);
  input.LeftUp();
  EXPECT_EQ(client.TrackObject(&object, CM_OBJ_POSITION, nullptr), TClient::kTrackReleased);
  EXPECT_EQ(object.left, 160);
  ExpectRestored();
}

TEST_F(TrackTest, NavigationKeysScrollWhileTheOutlineFollows)
{
  input.SetClientSize(800, 500);
  input.Key(VK_NEXT_);
  input.Drag(0, 10);
  input.LeftUp();
  EXPECT_EQ(client.TrackObject(&object, CM_OBJ_POSITION, nullptr), TClient::kTrackReleased);
  EXPECT_EQ(client.GetPage()->GetScrollY(), 500);
  EXPECT_EQ(object.top, 110);
  EXPECT_GE(input.updates, 1);
  ExpectRestored();
}

TEST_F(TrackTest, GetPointIgnoresClicksOutsideThePage)
{
  input.SetClientSize(1000, 1200);
  input.ClickDevice(900, 100);
  input.Click(54, 66);
  int32_t x = 0, y = 0;
  client.SetSnapOn(true);
  EXPECT_EQ(client.GetPoint(x, y, "Click", true, TClient::kCursorCross, 0), TClient::kPointGiven);
  EXPECT_EQ(x, 50);
  EXPECT_EQ(y, 70);
  EXPECT_EQ(TClient::LastClick(), (TPoint{50, 70}));
  EXPECT_EQ(input.statusTexts.front(), "Click");
  // Moving snapped the pointer to the grid and showed it.
  EXPECT_GE(input.pointerPlacements, 1);
  EXPECT_EQ(input.statusTexts[input.statusTexts.size() - 2], "Click   X = 50   Y = 70");
  ExpectRestored();
}

TEST_F(TrackTest, GetPointAnswersKeysByTheAcceptFlags)
{
  int32_t x = 0, y = 0;
  input.Char(VK_SPACE_);
  input.Char(VK_RETURN_);
  input.Char(VK_SPACE_);
  EXPECT_EQ(client.GetPoint(x, y, nullptr, false, -1, TClient::kAcceptEnter), TClient::kPointEnter);
  EXPECT_EQ(client.GetPoint(x, y, nullptr, false, -1, TClient::kAcceptSpace), TClient::kPointSpace);
  input.RightClick(10, 10);
  EXPECT_EQ(client.GetPoint(x, y, nullptr, false, -1, 0), TClient::kPointCancelled);
  ExpectRestored();

  // Without a status bar the prompt comes as a question.
  input.SetHasStatusBar(false);
  input.AnswerMessageBox(IDCANCEL_);
  EXPECT_EQ(client.GetPoint(x, y, "Where?", false, -1, 0), TClient::kPointCancelled);
  EXPECT_EQ(input.messageBoxes.back().text, "Where?");
  EXPECT_FALSE(client.IsBusy());
}

TEST_F(TrackTest, TypedPositionsAreRelativeToTheOrigin)
{
  client.SetOrigin(100, 200);
  input.Char(VK_SPACE_);
  input.AnswerValues(std::vector<double>{10, 20});
  int32_t x = 0, y = 0;
  EXPECT_EQ(client.GetPosition(x, y), TClient::kPointGiven);
  EXPECT_EQ(x, 110);
  EXPECT_EQ(y, 220);
  EXPECT_EQ(input.statusTexts.front(), "Position object or <ESC> to cancel...");
  EXPECT_EQ(input.dialogs.back(), "AskValues:Position");
}

TEST_F(TrackTest, GetRectangleSizesATenByTenStart)
{
  input.Click(100, 100);
  input.Drag(40, 30);
  input.LeftUp();
  TRect r;
  EXPECT_EQ(client.GetRectangle(r, "Corner", 0), 1);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 100);
  EXPECT_EQ(r.right, 150);
  EXPECT_EQ(r.bottom, 140);
  ExpectRestored();

  input.Click(100, 100);
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(client.GetRectangle(r, "Corner", 0), 0);
  input.Char(VK_SPACE_);
  EXPECT_EQ(client.GetRectangle(r, "Corner", TClient::kAcceptSpace), TClient::kPointSpace);
}

TEST_F(TrackTest, PressDragAndReleaseDrawsWhatClickMoveAndClickDraw)
{
  input.Click(100, 100);
  input.Drag(40, 30);
  input.LeftUp();
  TRect clicked;
  ASSERT_EQ(client.GetRectangle(clicked, "Corner", 0), 1);

  input.MoveTo(100, 100);
  input.LeftDown();
  input.Drag(40, 30);
  input.LeftUp();
  TRect dragged;
  ASSERT_EQ(client.GetRectangle(dragged, "Corner", 0), 1);
  EXPECT_EQ((std::vector<int32_t>{dragged.left, dragged.top, dragged.right, dragged.bottom}),
            (std::vector<int32_t>{clicked.left, clicked.top, clicked.right, clicked.bottom}));
  ExpectRestored();

  // A jiggle shorter than the drag distance is still a click: the second
  // corner is asked for.
  input.MoveTo(200, 200);
  input.LeftDown();
  input.DragDevice(2, 1);
  input.LeftUp();
  input.Drag(40, 30);
  input.LeftUp();
  TRect jiggled;
  ASSERT_EQ(client.GetRectangle(jiggled, "Corner", 0), 1);
  EXPECT_NEAR(jiggled.left, 200, 3); // where released, as a click
  EXPECT_EQ(jiggled.Width(), clicked.Width());

  // A drag that answered a point and was not followed up is forgotten.
  input.MoveTo(100, 100);
  input.LeftDown();
  input.Drag(40, 30);
  input.LeftUp();
  int32_t x = 0, y = 0;
  ASSERT_EQ(client.GetPosition(x, y), TClient::kPointGiven);
  EXPECT_EQ(x, 100);
  input.Click(300, 300);
  input.Drag(40, 30);
  input.LeftUp();
  ASSERT_EQ(client.GetRectangle(dragged, "Corner", 0), 1);
  EXPECT_EQ(dragged.left, 300);
  EXPECT_EQ(dragged.Width(), clicked.Width());
}

TEST_F(TrackTest, TrackRelativeSendsEveryMovement)
{
  input.Drag(5, -3);
  input.Drag(0, 0);
  input.Drag(-2, 0);
  input.Char(VK_RETURN_);
  client.received.clear();
  EXPECT_EQ(client.TrackRelative(&client, 40000), 1);
  int moves = 0;
  for (const auto& r : client.received)
    moves += r.message == 40000;
  EXPECT_EQ(moves, 2);
  input.RightClick(0, 0);
  EXPECT_EQ(client.TrackRelative(&object, 40000), 0);
  ExpectRestored();
}

} // namespace
