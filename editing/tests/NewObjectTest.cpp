// Creating objects from the Objects menu through the document view, with
// "Repeat Add Object" off and on.

#include "DocumentTestSupport.h"

#include "CommandIds.h"
#include "ObjectFactories.h"
#include "TClientModuleData.h"
#include "TDataLine.h"

namespace {

class NewObjectTest : public DocumentTest
{
protected:
  void SetUp() override
  {
    DocumentTest::SetUp();
    RegisterObjectFactories();
  }
  void TearDown() override
  {
    TClientModuleData::RepeatAddObject() = false;
    DocumentTest::TearDown();
  }
  // One line placed at (x, y) and dragged by (dx, dy).
  void ScriptLine(int32_t x, int32_t y, int32_t dx, int32_t dy)
  {
    input.Click(x, y);
    input.Drag(dx, dy, 2);
    input.LeftUp();
  }
  const TDataLine* LineAt(int32_t index) const
  {
    return dynamic_cast<const TDataLine*>(client.ObjectAtIndex(index));
  }
};

TEST_F(NewObjectTest, ACreatedObjectJoinsTheDocumentWhichIsThenModified)
{
  ScriptLine(100, 100, 50, 30);
  EXPECT_EQ(client.Message(CM_NEW_LINE, 0, 0, nullptr), 1u);
  ASSERT_EQ(client.ObjectCount(), 1);
  ASSERT_NE(LineAt(0), nullptr);
  EXPECT_EQ(LineAt(0)->GetEnd(), (TPoint{150, 130}));
  EXPECT_TRUE(client.IsModified());
  EXPECT_FALSE(client.IsBusy());
  // Without repeating, the command ends after one object.
  EXPECT_FALSE(input.ranOut);
}

TEST_F(NewObjectTest, RepeatKeepsCreatingUntilACreationIsCancelled)
{
  TClientModuleData::RepeatAddObject() = true;
  ScriptLine(100, 100, 50, 0);
  ScriptLine(100, 200, 0, 50);
  ScriptLine(300, 300, 20, 20);
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(client.Message(CM_NEW_LINE, 0, 0, nullptr), 3u);
  ASSERT_EQ(client.ObjectCount(), 3);
  EXPECT_EQ(LineAt(1)->GetStart(), (TPoint{100, 200}));
  EXPECT_EQ(LineAt(2)->GetEnd(), (TPoint{320, 320}));
  EXPECT_EQ(input.PendingMessages(), 0);
  EXPECT_TRUE(client.IsModified());
}

TEST_F(NewObjectTest, NothingStartsWhileACommandRunsOrForAToolWithoutAClass)
{
  client.SetFlags(TClient::kBusy, true);
  ScriptLine(100, 100, 50, 30);
  const int32_t scripted = input.PendingMessages();
  EXPECT_EQ(client.Message(CM_NEW_LINE, 0, 0, nullptr), 0u);
  EXPECT_EQ(input.PendingMessages(), scripted);
  client.SetFlags(TClient::kBusy, false);

  // A tool whose class has no factory asks nothing and makes nothing.
  EXPECT_EQ(client.Message(CM_NEW_IMAGE_FIELD, 0, 0, nullptr), 0u);
  EXPECT_EQ(input.PendingMessages(), scripted);
  EXPECT_EQ(client.ObjectCount(), 0);
  EXPECT_FALSE(client.IsModified());
  EXPECT_EQ(client.GetDataModule().Command(CM_MODIFY, nullptr, 0), 0);
}

} // namespace
