#include "DocumentTestSupport.h"

#include "CommandIds.h"
#include "ObjectFactories.h"
#include "ObjectStream.h"
#include "TDataGroupSymbol.h"
#include "TDataLine.h"
#include "TDataRectangle.h"
#include "TDataSymbol.h"
#include "TInStream.h"
#include "TOutStream.h"
#include "TSymbolLibrary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A definition called name, w x h, holding a rectangle of its size and
// instances of the names in uses.
TDataGroupSymbol* Definition(TSymbolLibrary* library, const std::string& name, int32_t w, int32_t h,
                             const std::vector<std::string>& uses = {})
{
  auto* definition = new TDataGroupSymbol;
  definition->SetName(name);
  definition->AddChild(new TDataRectangle(0, 0, w, h));
  int32_t x = 5;
  for (const std::string& used : uses) {
    definition->AddChild(new TDataSymbol(library, x, 5, used));
    x += 10;
  }
  definition->SetRect(TRect(0, 0, w, h), kRectFrame);
  return definition;
}

std::string Written(const TStreamable& object)
{
  TOutStream os;
  object.Write(os);
  return os.Data();
}

::testing::AssertionResult SameRectAs(const TRect& actual, const TRect& expected)
{
  if (actual.left == expected.left && actual.top == expected.top && actual.right == expected.right &&
      actual.bottom == expected.bottom)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "(" << actual.left << ", " << actual.top << ", " << actual.right << ", " << actual.bottom << ")";
}

std::vector<std::string> Names(const TClientModuleSym& module)
{
  std::vector<std::string> names;
  for (int32_t i = 0; i < module.GetDefinitionCount(); ++i)
    names.emplace_back(module.GetDefinition(i)->GetName());
  return names;
}

std::string Section(const TClientModuleSym& module)
{
  TOutStream os;
  module.WriteSymbolSection(os);
  return os.Data();
}

class SymbolLibraryTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    RegisterObjectFactories();
    input.Attach(&client);
  }

  TClientModuleSym& Module() { return client.GetSymbolModule(); }
  TDataSymbol* Place(const std::string& name, int32_t x, int32_t y)
  {
    auto* symbol = new TDataSymbol(&Module(), x, y, name);
    client.AddObject(symbol, false);
    return symbol;
  }

  TempDir dir;
  TaClientPage client{1};
  TScriptedInput input;
};

} // namespace

TEST_F(SymbolLibraryTest, TheViewHandsOutItsLibraryAndTheLibraryTakesOnlyNamedUniqueDefinitions)
{
  EXPECT_EQ(SymbolLibraryOf(&client), &Module());
  EXPECT_FALSE(Module().AddDefinition(nullptr));
  TDataGroupSymbol unnamed;
  EXPECT_FALSE(Module().AddDefinition(&unnamed));

  auto* door = Definition(nullptr, "Door", 40, 20, {"Knob"});
  auto* member = new RecordingObject(0, 0, 5, 5);
  door->AddChild(member);
  ASSERT_TRUE(Module().AddDefinition(door));
  // The definition joins the document: its owner is the view, its
  // instances reach the library and its members hear they were added.
  EXPECT_EQ(door->GetOwner(), &client);
  EXPECT_EQ(static_cast<TDataSymbol*>(door->GetChild(1))->GetLibrary(), &Module());
  EXPECT_EQ(member->received.back(), MSG_REFRESH_NO_WINDOW);

  TDataGroupSymbol same;
  same.SetName("Dóor");
  EXPECT_FALSE(Module().AddDefinition(&same));
  EXPECT_EQ(Module().FindDefinition("Door"), door);
  EXPECT_EQ(Module().FindDefinition("Doör"), door);
  EXPECT_EQ(Module().FindDefinition("door"), nullptr);
  EXPECT_EQ(Module().FindDefinition(""), nullptr);
}

TEST_F(SymbolLibraryTest, TheNameIsAskedUntilItIsNewOrTheUserCancels)
{
  ASSERT_TRUE(Module().AddDefinition(Definition(nullptr, "Door", 40, 20)));

  // Empty, then taken, then accepted (without its surrounding blanks).
  input.AnswerText(std::string("   "));
  input.AnswerMessageBox(IDOK_);
  input.AnswerText(std::string("Door"));
  input.AnswerText(std::string(" Gate "));
  std::string name;
  ASSERT_TRUE(Module().AskSymbolName(name));
  EXPECT_EQ(name, "Gate");
  EXPECT_EQ(input.dialogs, (std::vector<std::string>{"AskText:Symbol", "MessageBox:Symbol", "AskText:Symbol",
                                                     "MessageBox:Symbol", "AskText:Symbol"}));
  ASSERT_EQ(input.messageBoxes.size(), 2u);
  EXPECT_EQ(input.messageBoxes[0].text, "You must name the symbol");
  EXPECT_EQ(input.messageBoxes[0].flags, uint32_t{MB_OKCANCEL_ | MB_ICONEXCLAMATION_});
  EXPECT_EQ(input.messageBoxes[1].text, "This name is already taken\ngive a different one");
  EXPECT_EQ(input.messageBoxes[1].flags, uint32_t{MB_OK_ | MB_ICONEXCLAMATION_});

  // Cancel on the empty-name warning, and on the prompt itself.
  input.AnswerText(std::string());
  input.AnswerMessageBox(IDCANCEL_);
  EXPECT_FALSE(Module().AskSymbolName(name));
  EXPECT_FALSE(Module().AskSymbolName(name));
  EXPECT_EQ(name, "Gate");

  // Names longer than the field are cut to it.
  input.AnswerText(std::string(60, 'x'));
  ASSERT_TRUE(Module().AskSymbolName(name));
  EXPECT_EQ(name, std::string(TClientModuleSym::kNameLength, 'x'));
}

TEST_F(SymbolLibraryTest, ChoosingOffersEveryNameInLibraryOrder)
{
  // An empty library shows no empty list: it says how to make a symbol.
  EXPECT_EQ(Module().ChooseDefinition(), nullptr);
  EXPECT_EQ(input.dialogs, std::vector<std::string>{"MessageBox:Symbol"});

  ASSERT_TRUE(Module().AddDefinition(Definition(nullptr, "Door", 40, 20)));
  ASSERT_TRUE(Module().AddDefinition(Definition(nullptr, "Gate", 60, 20)));
  input.AnswerOption(1);
  EXPECT_EQ(Module().ChooseDefinition(), Module().GetDefinition(1));
  EXPECT_EQ(input.dialogs.back(), "ChooseOption:Symbol Name");
  EXPECT_EQ(Module().ChooseDefinition(), nullptr);
}

TEST_F(SymbolLibraryTest, UpdatingPutsEveryDefinitionAfterTheOnesItUses)
{
  TClientModuleSym& module = Module();
  ASSERT_TRUE(module.AddDefinition(Definition(&module, "Garden", 200, 200, {"House", "Tree"})));
  ASSERT_TRUE(module.AddDefinition(Definition(&module, "House", 100, 80, {"Window", "Door"})));
  ASSERT_TRUE(module.AddDefinition(Definition(&module, "Tree", 20, 40)));
  ASSERT_TRUE(module.AddDefinition(Definition(&module, "Door", 20, 30)));
  ASSERT_TRUE(module.AddDefinition(Definition(&module, "Window", 20, 20)));
  module.UpdateInstances("Door");
  EXPECT_EQ(Names(module), (std::vector<std::string>{"Door", "Window", "House", "Tree", "Garden"}));
  // An order that is already right stays as it is.
  module.UpdateInstances("Door");
  EXPECT_EQ(Names(module), (std::vector<std::string>{"Door", "Window", "House", "Tree", "Garden"}));

  // Definitions that show each other end the walk instead of looping.
  ASSERT_TRUE(module.AddDefinition(Definition(&module, "Ping", 10, 10, {"Pong"})));
  ASSERT_TRUE(module.AddDefinition(Definition(&module, "Pong", 10, 10, {"Ping", "Tree"})));
  ASSERT_TRUE(module.AddDefinition(Definition(&module, "Loop", 10, 10, {"Loop"})));
  module.UpdateInstances("Ping");
  EXPECT_EQ(Names(module),
            (std::vector<std::string>{"Door", "Window", "House", "Tree", "Garden", "Pong", "Ping", "Loop"}));
}

TEST_F(SymbolLibraryTest, UpdatingResolvesTheViewsInstancesAndRepaintsThem)
{
  auto* window = Definition(&Module(), "Window", 20, 20);
  ASSERT_TRUE(Module().AddDefinition(window));
  TDataSymbol* placed = Place("Window", 100, 100);
  EXPECT_TRUE(SameRectAs(*placed, TRect(100, 100, 120, 120)));

  window->SetRect(TRect(0, 0, 30, 20), kRectFrame);
  window->SetReference(10, 10);
  input.invalidated.clear();
  Module().UpdateInstances("Window");
  EXPECT_TRUE(SameRectAs(*placed, TRect(90, 90, 120, 110)));
  EXPECT_EQ(input.invalidated.size(), 2u);
}

TEST_F(SymbolLibraryTest, RenamingReachesTheViewAndNestedDefinitions)
{
  TClientModuleSym& module = Module();
  ASSERT_TRUE(module.AddDefinition(Definition(&module, "Door", 20, 30)));
  ASSERT_TRUE(module.AddDefinition(Definition(&module, "House", 100, 80, {"Door", "Door"})));
  ASSERT_TRUE(module.AddDefinition(Definition(&module, "Gate", 20, 30)));
  TDataSymbol* placed = Place("Door", 10, 10);

  EXPECT_FALSE(module.RenameEverywhere("Door", ""));
  EXPECT_FALSE(module.RenameEverywhere("Door", "Gate"));
  EXPECT_FALSE(client.IsModified());

  ASSERT_TRUE(module.RenameEverywhere("Door", "Portal"));
  EXPECT_EQ(module.FindDefinition("Door"), nullptr);
  ASSERT_NE(module.FindDefinition("Portal"), nullptr);
  EXPECT_EQ(module.FindDefinition("House")->CountInstances("Portal"), 2);
  EXPECT_EQ(placed->GetName(), "Portal");
  EXPECT_EQ(placed->FindDefinition(), module.FindDefinition("Portal"));
  EXPECT_TRUE(client.IsModified());
}

TEST_F(SymbolLibraryTest, TheSectionRoundTripsAndLeavesOutUnsavedDefinitions)
{
  TClientModuleSym& module = Module();
  ASSERT_TRUE(module.AddDefinition(Definition(&module, "House", 100, 80, {"Door"})));
  ASSERT_TRUE(module.AddDefinition(Definition(&module, "Door", 20, 30)));
  auto* scratch = Definition(&module, "Scratch", 5, 5);
  scratch->SetState(TData::kNotSaved, true);
  ASSERT_TRUE(module.AddDefinition(scratch));
  module.UpdateInstances("Door");

  const std::string text = Section(module);
  EXPECT_EQ(text.substr(0, 28), "\n[VEKT Symboles]\n0 2\nTDataGr");
  EXPECT_LT(text.find("4 Door"), text.find("5 House"));
  EXPECT_EQ(text.find("Scratch"), std::string::npos);

  TaClientPage other;
  TInStream is(text);
  EXPECT_EQ(other.GetSymbolModule().ReadSymbolSection(is), 2);
  EXPECT_EQ(Section(other.GetSymbolModule()), text);

  // Without a section nothing is read.
  TInStream none("\n[VEKT TData]\n0\n");
  EXPECT_EQ(other.GetSymbolModule().ReadSymbolSection(none), 0);
}

TEST_F(SymbolLibraryTest, ReadingDropsUnusableDefinitionsAndStopsAtOtherRecords)
{
  TClientModuleSym& module = Module();
  ASSERT_TRUE(module.AddDefinition(Definition(&module, "Door", 20, 30)));
  ASSERT_TRUE(module.AddDefinition(Definition(&module, "Gate", 20, 30)));
  const std::string door = Written(*module.GetDefinition(0));
  const std::string gate = Written(*module.GetDefinition(1));
  TDataGroupSymbol unnamed;
  const std::string line = Written(TDataLine(0, 0, 5, 5));

  // A nameless and a repeated definition go; the one after them is read.
  const std::string text = "\n[VEKT Symboles]\n0 5\n" + door + Written(unnamed) + door + gate + line + gate;
  TaClientPage other;
  TInStream is(text);
  EXPECT_EQ(other.GetSymbolModule().ReadSymbolSection(is), 2);
  EXPECT_EQ(Names(other.GetSymbolModule()), (std::vector<std::string>{"Door", "Gate"}));

  // The count bounds the section.
  TaClientPage third;
  TInStream counted("\n[VEKT Symboles]\n0 1\n" + door + gate);
  EXPECT_EQ(third.GetSymbolModule().ReadSymbolSection(counted), 1);
}

TEST_F(SymbolLibraryTest, ADocumentWithSymbolsSavesLoadsAndSavesTheSame)
{
  TClientModuleSym& module = Module();
  ASSERT_TRUE(module.AddDefinition(Definition(&module, "House", 100, 80, {"Door"})));
  ASSERT_TRUE(module.AddDefinition(Definition(&module, "Door", 20, 30)));
  module.UpdateInstances("Door");
  Place("House", 100, 100);
  Place("Door", 300, 100);
  Place("Missing", 400, 100)->SetRect(TRect(400, 100, 450, 130), kRectFrame);
  client.AddObject(new TDataLine(10, 10, 200, 20), false);

  const std::string path = dir.File("symbols.vk1");
  input.AnswerSaveFile(path);
  ASSERT_EQ(SaveDocument(client, false, false), kDocumentDone);
  const std::string first = ReadWholeFile(path);
  EXPECT_NE(first.find("\n[VEKT Symboles]\n0 2\nTDataGroupSymbol 1 \tTString 1 7 4 Door\n"),
            std::string::npos);

  TaClientPage other;
  ASSERT_EQ(LoadDocument(other, path.c_str()), 1);
  EXPECT_EQ(Names(other.GetSymbolModule()), (std::vector<std::string>{"Door", "House"}));
  ASSERT_EQ(other.ObjectCount(), 4);
  auto* house = dynamic_cast<TDataSymbol*>(other.ObjectAtIndex(0));
  ASSERT_NE(house, nullptr);
  EXPECT_EQ(house->FindDefinition(), other.GetSymbolModule().FindDefinition("House"));
  ASSERT_EQ(SaveDocument(other, false, false), kDocumentDone);
  EXPECT_EQ(ReadWholeFile(path), first);

  // Closing the document empties its library.
  ASSERT_EQ(CloseDocument(other), kDocumentDone);
  EXPECT_EQ(other.GetSymbolModule().GetDefinitionCount(), 0);
}
