#include "EditingTestSupport.h"

#include "CommandIds.h"
#include "ObjectFactories.h"
#include "TClientModuleData.h"
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
  // The position (reference point) of the instance placed last.
  TRect LastPlaced()
  {
    auto* placed = dynamic_cast<TDataSymbol*>(client.ObjectAtIndex(client.ObjectCount() - 1));
    TRect at;
    EXPECT_NE(placed, nullptr);
    if (placed)
      placed->GetRect(at, kRectPosition);
    return at;
  }

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

namespace {

// A library with Door (from the fixture) and Lamp, and a page with an
// instance of each, saved and imported back.
class SymbolImportTest : public SymbolCommandsTest
{
protected:
  void SetUp() override
  {
    SymbolCommandsTest::SetUp();
    ASSERT_TRUE(symbols().AddDefinition(LampDefinition("Lamp").release()));
    lamp = new TDataSymbol(&symbols(), 300, 200, "Lamp");
    client.AddObject(lamp, false);
  }
  // The document file as it would be written.
  std::string Saved()
  {
    const std::string path = dir.File("saved.vk1");
    client.SetFilePath(path);
    const bool wasModified = client.IsModified();
    EXPECT_EQ(SaveDocument(client, false, false), kDocumentDone);
    client.SetModified(wasModified);
    return ReadWholeFile(path);
  }
  std::vector<std::string> Names()
  {
    std::vector<std::string> names;
    for (int32_t i = 0; i < symbols().GetDefinitionCount(); ++i)
      names.emplace_back(symbols().GetDefinition(i)->GetName());
    return names;
  }
  std::vector<std::string> Boxes() const
  {
    std::vector<std::string> texts;
    for (const auto& box : input.messageBoxes)
      texts.push_back(box.text);
    return texts;
  }

  TDataSymbol* lamp = nullptr;
};

} // namespace

TEST_F(SymbolImportTest, ImportingAFileIntoItselfReplacesEveryDefinitionAfterOneReplaceAll)
{
  const std::string before = Saved();
  const std::string path = dir.File("saved.vk1");
  TDataGroupSymbol* door = symbols().FindDefinition("Door");

  input.AnswerOpenFile(path);
  input.AnswerMessageBox(IDYES_);
  input.AnswerMessageBox(IDYES_);
  EXPECT_EQ(client.Message(CM_SYMBOL_IMPORT, 0, 0, nullptr), 1u);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"Door:\n\nA symbol with this name exists\nreplace-it ?",
                                               "Replace all symbols ?", "2 symbols imported"}));
  EXPECT_EQ(input.messageBoxes[0].flags, uint32_t{MB_YESNOCANCEL_ | MB_ICONEXCLAMATION_});
  EXPECT_EQ(input.messageBoxes[1].flags, uint32_t{MB_YESNOCANCEL_ | MB_ICONQUESTION_});
  EXPECT_EQ(input.messageBoxes[2].title, "Symbols");
  EXPECT_EQ(Names(), (std::vector<std::string>{"Door", "Lamp"}));
  EXPECT_NE(symbols().FindDefinition("Door"), door) << "replaced by the copy from the file";
  EXPECT_EQ(instance->FindDefinition(), symbols().FindDefinition("Door"));
  EXPECT_TRUE(client.IsModified());
  EXPECT_EQ(Tip(CM_UNDO), "Undo Import symbols <ctrl-z>");
  const std::string imported = Saved();

  EXPECT_EQ(client.Message(CM_UNDO, 0, 0, nullptr), 1u);
  EXPECT_EQ(symbols().FindDefinition("Door"), door) << "the very definition comes back";
  EXPECT_EQ(Saved(), before);
  EXPECT_EQ(client.Message(CM_REDO, 0, 0, nullptr), 1u);
  EXPECT_EQ(Saved(), imported);
}

TEST_F(SymbolImportTest, EachTakenNameCanBeKeptUnderAnotherNameSkippedOrStopTheImport)
{
  const std::string before = Saved();
  const std::string path = File("library.vk1", before);

  // Door: not replaced, kept as "Door 2"; Lamp: not replaced, not kept.
  input.AnswerOpenFile(path);
  input.AnswerMessageBox(IDNO_);
  input.AnswerMessageBox(IDYES_);
  input.AnswerText("Door"); // taken: asked again
  input.AnswerText("Door 2");
  input.AnswerMessageBox(IDNO_);
  input.AnswerMessageBox(IDNO_);
  EXPECT_EQ(client.Message(CM_SYMBOL_IMPORT, 0, 0, nullptr), 1u);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"Door:\n\nA symbol with this name exists\nreplace-it ?",
                                               "Do you want to keep this symbol\nunder a different name ?",
                                               "This name is already taken\ngive a different one",
                                               "Lamp:\n\nA symbol with this name exists\nreplace-it ?",
                                               "Do you want to keep this symbol\nunder a different name ?",
                                               "1 symbol imported"}));
  EXPECT_EQ(Names(), (std::vector<std::string>{"Door", "Lamp", "Door 2"}));
  EXPECT_EQ(client.Message(CM_UNDO, 0, 0, nullptr), 1u);
  EXPECT_EQ(Saved(), before);

  // Cancel at the first question: nothing imported, nothing recorded.
  input.messageBoxes.clear();
  input.AnswerOpenFile(path);
  input.AnswerMessageBox(IDCANCEL_);
  EXPECT_EQ(client.Message(CM_SYMBOL_IMPORT, 0, 0, nullptr), 0u);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"Door:\n\nA symbol with this name exists\nreplace-it ?",
                                               "0 symbol imported"}));
  EXPECT_EQ(Saved(), before);
  EXPECT_EQ(Tip(CM_REDO), "Redo Import symbols <ctrl-z>");
}

TEST_F(SymbolImportTest, AFileWithoutSymbolsImportsNothingAndAnUnreadableOneSaysNothing)
{
  const std::string before = Saved();
  input.AnswerOpenFile(File("plain.vk1", Document(0, "")));
  EXPECT_EQ(client.Message(CM_SYMBOL_IMPORT, 0, 0, nullptr), 0u);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"0 symbol imported"}));
  input.AnswerOpenFile(File("none.vk1", "no section at all"));
  EXPECT_EQ(client.Message(CM_SYMBOL_IMPORT, 0, 0, nullptr), 0u);
  EXPECT_EQ(Boxes().size(), 2u);

  input.messageBoxes.clear();
  input.AnswerOpenFile(dir.File("missing.vk1"));
  EXPECT_EQ(client.Message(CM_SYMBOL_IMPORT, 0, 0, nullptr), 0u);
  input.AnswerOpenFile(std::nullopt);
  EXPECT_EQ(client.Message(CM_SYMBOL_IMPORT, 0, 0, nullptr), 0u);
  EXPECT_TRUE(input.messageBoxes.empty());
  EXPECT_EQ(Saved(), before);
  EXPECT_EQ(Tip(CM_UNDO), "Undo <ctrl-z>");
}

TEST_F(SymbolImportTest, AReferencePointMovesEveryInstanceOfTheDefinitionAndIsUndone)
{
  auto* second = new TDataSymbol(&symbols(), 500, 100, "Door");
  client.AddObject(second, false);
  const std::string before = Saved();

  // Declined: nothing moves.
  input.AnswerMessageBox(IDNO_);
  EXPECT_EQ(instance->ContextCommand(&client, CM_OBJ_REFERENCE_POINT), 0);
  EXPECT_EQ(input.messageBoxes.back().text,
            "All symbols of this name will move\n\nDo you really want this ?");
  EXPECT_EQ(Saved(), before);
  // Agreed, then the click cancelled: nothing moves either.
  input.AnswerMessageBox(IDYES_);
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(instance->ContextCommand(&client, CM_OBJ_REFERENCE_POINT), 0);
  EXPECT_EQ(input.messageBoxes.back().text, "Now, give the reference point");
  EXPECT_EQ(Saved(), before);

  // The Door's new reference point: 20 right and 30 down of its corner.
  // Every instance keeps its reference point where it was, so its drawing
  // moves 20 left and 30 up. Chosen from the instance's menu, as the user
  // does.
  input.AnswerMenu(CM_OBJ_REFERENCE_POINT);
  input.AnswerMessageBox(IDYES_);
  input.Click(instance->left + 20, instance->top + 30);
  EXPECT_EQ(client.GetDataModule().Command(CM_MODIFY, instance, 0), 0) << "the step is the library's";
  int32_t x = 0, y = 0;
  symbols().FindDefinition("Door")->GetReference(x, y);
  EXPECT_EQ(x, 20);
  EXPECT_EQ(y, 30);
  EXPECT_EQ(instance->left, 100 - 20);
  EXPECT_EQ(instance->top, 100 - 30);
  EXPECT_EQ(second->left, 500 - 20);
  EXPECT_EQ(second->top, 100 - 30);
  EXPECT_EQ(lamp->left, 300) << "another symbol stays";
  EXPECT_TRUE(client.IsModified());
  EXPECT_EQ(Tip(CM_UNDO), "Undo Symbol reference point <ctrl-z>");
  const std::string moved = Saved();

  EXPECT_EQ(client.Message(CM_UNDO, 0, 0, nullptr), 1u);
  EXPECT_EQ(Saved(), before);
  EXPECT_EQ(client.Message(CM_REDO, 0, 0, nullptr), 1u);
  EXPECT_EQ(Saved(), moved);
}

TEST_F(SymbolImportTest, UndoingADeletePutsTheDefinitionBackWhereItStood)
{
  const std::string before = Saved();
  input.AnswerOption(0); // Door, the first
  input.AnswerMessageBox(IDYES_);
  EXPECT_EQ(client.Message(CM_SYMBOL_DELETE, 0, 0, nullptr), 1u);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Lamp"}));
  EXPECT_EQ(client.Message(CM_UNDO, 0, 0, nullptr), 1u);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Door", "Lamp"}));
  EXPECT_EQ(Saved(), before);
}

TEST_F(SymbolCommandsTest, AnInstanceIsPlacedByItsReferencePointOnTheSnapOrWhereTyped)
{
  symbols().GetDefinition(0)->SetReference(20, 40); // the middle of the door
  client.SetSnapOn(true);
  input.SetPointer(103, 197);
  input.AnswerOption(0);
  input.Drag(24, 12);
  input.LeftUp();
  EXPECT_EQ(client.Message(CM_NEW_SYMBOL, 0, 0, nullptr), 1u);
  auto* placed = dynamic_cast<TDataSymbol*>(client.ObjectAtIndex(client.ObjectCount() - 1));
  ASSERT_NE(placed, nullptr);
  TRect at;
  placed->GetRect(at, kRectPosition);
  EXPECT_EQ(at.left % 10, 0) << at.left;
  EXPECT_EQ(at.top % 10, 0) << at.top;
  EXPECT_EQ(placed->left, at.left - 20);
  EXPECT_EQ(placed->top, at.top - 40);
  EXPECT_EQ(Tip(CM_UNDO), "Undo New object <ctrl-z>");

  // Typed: the values move the reference point from where it started.
  client.SetSnapOn(false);
  input.SetPointer(300, 300);
  input.AnswerOption(0);
  input.Char(VK_SPACE_);
  input.AnswerValues(std::vector<double>{40, 20});
  EXPECT_EQ(client.Message(CM_NEW_SYMBOL, 0, 0, nullptr), 1u);
  at = LastPlaced();
  EXPECT_EQ(at.left, 340);
  EXPECT_EQ(at.top, 320);
}

TEST_F(SymbolCommandsTest, AnInstanceChosenWithThePointerOverTheToolbarStartsInTheWindow)
{
  // The pointer is above the window, where the toolbar button was.
  input.SetPointer(300, -30);
  input.AnswerOption(0);
  input.LeftUp();
  EXPECT_EQ(client.Message(CM_NEW_SYMBOL, 0, 0, nullptr), 1u);
  const TRect at = LastPlaced();
  int32_t top = 0, left = 0;
  client.GetPage()->DeviceToPage(0, 0, left, top);
  EXPECT_GE(at.top, top);
}

TEST_F(SymbolCommandsTest, WithoutAnySymbolPlacingRenamingAndDeletingSayWhyNothingHappens)
{
  client.GetSymbolModule().Clear();
  for (const uint16_t command : {CM_NEW_SYMBOL, CM_SYMBOL_RENAME, CM_SYMBOL_DELETE})
    EXPECT_EQ(client.Message(command, 0, 0, nullptr), 0u) << command;
  ASSERT_EQ(input.messageBoxes.size(), 3u);
  EXPECT_EQ(input.messageBoxes[0].title, "Symbol");
  EXPECT_NE(input.messageBoxes[0].text.find("Symbols > New Symbol"), std::string::npos);
  // No choice list is shown with nothing in it.
  EXPECT_EQ(input.dialogs, std::vector<std::string>(3, "MessageBox:Symbol"));
}

TEST_F(SymbolCommandsTest, RepeatAddObjectPlacesInstancesUntilTheChoiceIsCancelled)
{
  TClientModuleData::RepeatAddObject() = true;
  for (const int32_t x : {200, 400}) {
    input.SetPointer(x, 500);
    input.AnswerOption(0);
    input.Drag(0, 0);
    input.LeftUp();
  }
  input.AnswerOption(std::nullopt);
  const uint32_t made = client.Message(CM_NEW_SYMBOL, 0, 0, nullptr);
  TClientModuleData::RepeatAddObject() = false;
  EXPECT_EQ(made, 2u);
  EXPECT_EQ(client.ObjectCount(), 3);
}
