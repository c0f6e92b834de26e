#include "EditingTestSupport.h"

#include "CommandIds.h"
#include "ObjectFactories.h"
#include "TDataGroupSymbol.h"
#include "TDataRectangle.h"
#include "TDataSymbol.h"

#include <cstring>
#include <string>

namespace {

class SymbolCommandsTest : public DocumentTest
{
protected:
  void SetUp() override
  {
    DocumentTest::SetUp();
    RegisterObjectFactories();
    auto* definition = new TDataGroupSymbol;
    definition->SetName("Door");
    definition->AddChild(new TDataRectangle(TRect(0, 0, 40, 80)));
    definition->SetRect(TRect(0, 0, 40, 80), kRectFrame);
    ASSERT_TRUE(symbols().AddDefinition(definition));
    instance = new TDataSymbol(&symbols(), 100, 100, "Door");
    client.AddObject(instance, false);
  }
  TClientModuleSym& symbols() { return client.GetSymbolModule(); }
  std::string Tip(uint16_t command) { return TipOf(client, command); }

  TDataSymbol* instance = nullptr;
};

} // namespace

TEST_F(SymbolCommandsTest, RenameAsksForAnotherNameRenamesTheInstancesAndIsUndone)
{
  input.AnswerOption(0);
  input.AnswerText("Door"); // the present name is taken
  input.AnswerMessageBox(IDOK_);
  input.AnswerText("  Gate ");
  EXPECT_EQ(client.Message(CM_SYMBOL_RENAME, 0, 0, nullptr), 1u);
  ASSERT_EQ(input.messageBoxes.size(), 1u);
  EXPECT_EQ(input.messageBoxes[0].text, "This name is already taken\ngive a different one");
  EXPECT_EQ(symbols().GetDefinition(0)->GetName(), "Gate");
  EXPECT_EQ(instance->GetName(), "Gate");
  EXPECT_TRUE(client.IsModified());
  EXPECT_EQ(Tip(CM_UNDO), "Undo Rename symbol <ctrl-z>");

  EXPECT_EQ(client.Message(CM_UNDO, 0, 0, nullptr), 1u);
  EXPECT_EQ(symbols().GetDefinition(0)->GetName(), "Door");
  EXPECT_EQ(instance->GetName(), "Door");
  EXPECT_EQ(client.Message(CM_REDO, 0, 0, nullptr), 1u);
  EXPECT_EQ(instance->GetName(), "Gate");

  // Cancelled: nothing changes and nothing is recorded.
  input.AnswerOption(0);
  input.AnswerText(std::nullopt);
  EXPECT_EQ(client.Message(CM_SYMBOL_RENAME, 0, 0, nullptr), 0u);
  EXPECT_EQ(Tip(CM_UNDO), "Undo Rename symbol <ctrl-z>");
  EXPECT_EQ(client.Message(CM_UNDO, 0, 0, nullptr), 1u);
  EXPECT_EQ(client.Message(CM_UNDO, 0, 0, nullptr), 0u);
}

TEST_F(SymbolCommandsTest, DeleteLeavesTheInstancesOnThePageAndUndoBringsTheDefinitionBack)
{
  TDataGroupSymbol* definition = symbols().GetDefinition(0);
  input.AnswerOption(0);
  input.AnswerMessageBox(IDNO_);
  EXPECT_EQ(client.Message(CM_SYMBOL_DELETE, 0, 0, nullptr), 0u);
  EXPECT_EQ(symbols().GetDefinitionCount(), 1);
  EXPECT_EQ(input.messageBoxes.back().text, "Delete symbol ?");
  EXPECT_EQ(input.messageBoxes.back().title, "Symbol");
  EXPECT_EQ(input.messageBoxes.back().flags, uint32_t{MB_YESNO_ | MB_ICONEXCLAMATION_});

  input.AnswerOption(0);
  input.AnswerMessageBox(IDYES_);
  EXPECT_EQ(client.Message(CM_SYMBOL_DELETE, 0, 0, nullptr), 1u);
  EXPECT_EQ(symbols().GetDefinitionCount(), 0);
  ASSERT_EQ(client.ObjectCount(), 1);
  EXPECT_EQ(client.ObjectAtIndex(0), instance);
  EXPECT_EQ(instance->FindDefinition(), nullptr);
  EXPECT_EQ(Tip(CM_UNDO), "Undo Delete symbol <ctrl-z>");

  EXPECT_EQ(client.Message(CM_UNDO, 0, 0, nullptr), 1u);
  ASSERT_EQ(symbols().GetDefinitionCount(), 1);
  EXPECT_EQ(symbols().GetDefinition(0), definition) << "the very definition comes back";
  EXPECT_EQ(instance->FindDefinition(), definition);
  EXPECT_EQ(client.Message(CM_REDO, 0, 0, nullptr), 1u);
  EXPECT_EQ(symbols().GetDefinitionCount(), 0);

  // An empty library has nothing to delete.
  EXPECT_EQ(client.Message(CM_SYMBOL_DELETE, 0, 0, nullptr), 0u);
}

TEST_F(SymbolCommandsTest, NewSymbolPutsAnInstanceInThePlaceOfThePickedObjectsAndIsUndone)
{
  auto* a = new TDataRectangle(TRect(300, 300, 340, 330));
  auto* b = new TDataRectangle(TRect(350, 310, 380, 360));
  client.AddObject(a, false);
  client.AddObject(b, false);
  // Surround both: the first corner, then the band (ten units to start with).
  auto surround = [this] {
    input.Click(290, 290);
    input.Drag(100, 80);
    input.LeftUp();
  };
  surround();
  input.AnswerMessageBox(IDNO_);
  EXPECT_EQ(client.Message(CM_SYMBOL_NEW, 0, 0, nullptr), 0u);
  EXPECT_EQ(input.messageBoxes.back().text, "Make symbol with those objects ?");
  EXPECT_EQ(client.ObjectCount(), 3);

  TRect expected;
  a->GetRect(expected, kRectSelection);
  TRect other;
  b->GetRect(other, kRectSelection);
  expected.Union(other);
  surround();
  input.AnswerMessageBox(IDYES_);
  input.AnswerText("Unit");
  EXPECT_EQ(client.Message(CM_SYMBOL_NEW, 0, 0, nullptr), 1u);
  ASSERT_EQ(client.ObjectCount(), 2);
  EXPECT_EQ(client.ObjectAtIndex(0), instance);
  auto* made = dynamic_cast<TDataSymbol*>(client.ObjectAtIndex(1));
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->GetName(), "Unit");
  ASSERT_NE(symbols().FindDefinition("Unit"), nullptr);
  EXPECT_EQ(symbols().FindDefinition("Unit")->GetChildCount(), 2);
  EXPECT_EQ(made->left, expected.left);
  EXPECT_EQ(made->top, expected.top);
  EXPECT_EQ(made->Width(), expected.Width());
  EXPECT_EQ(made->Height(), expected.Height());
  EXPECT_EQ(Tip(CM_UNDO), "Undo New symbol <ctrl-z>");

  EXPECT_EQ(client.Message(CM_UNDO, 0, 0, nullptr), 1u);
  EXPECT_EQ(client.ObjectOrder(), (std::vector<TData*>{instance, a, b}));
  EXPECT_EQ(symbols().FindDefinition("Unit"), nullptr);
  EXPECT_EQ(client.Message(CM_REDO, 0, 0, nullptr), 1u);
  ASSERT_EQ(client.ObjectCount(), 2);
  EXPECT_EQ(client.ObjectAtIndex(1), made) << "the very instance comes back";
  EXPECT_NE(symbols().FindDefinition("Unit"), nullptr);
}
