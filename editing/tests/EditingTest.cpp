#include "EditingTestSupport.h"

#include "CommandIds.h"
#include "ObjectFactories.h"
#include "StringTable.h"
#include "TDataCercle.h"
#include "TDataGroupSymbol.h"
#include "TDataRectangle.h"
#include "TDataSymbol.h"
#include "TOutStream.h"
#include "TUndoData.h"

#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

class EditingTest : public DocumentTest
{
protected:
  void SetUp() override
  {
    DocumentTest::SetUp();
    RegisterObjectFactories();
    TClientModuleData::ClearCopyBuffer();
  }
  void TearDown() override
  {
    TClientModuleData::ClearCopyBuffer();
    DocumentTest::TearDown();
  }

  TDataRectangle* Rectangle(int32_t l, int32_t t, int32_t r, int32_t b)
  {
    auto* object = new TDataRectangle(TRect(l, t, r, b));
    client.AddObject(object, false);
    return object;
  }
  // A rectangle surrounded: the first corner clicked, the band dragged to
  // (r, b) (it starts ten units wide and high), released.
  void Surround(int32_t l, int32_t t, int32_t r, int32_t b)
  {
    input.Click(l, t);
    input.Drag(r - l - 10, b - t - 10);
    input.LeftUp();
  }
  std::vector<TData*> Order() const { return client.ObjectOrder(); }
  // The symbol library and the object list as the document file writes
  // them.
  std::string SaveToString() const
  {
    TOutStream os;
    client.GetSymbolModule().WriteSymbolSection(os);
    WriteObjectList(client, os);
    return os.Data();
  }
  std::string Tip(uint16_t command) { return TipOf(client, command); }
  // The prompts shown, without the clearings between them.
  std::vector<std::string> Prompts() const
  {
    std::vector<std::string> shown;
    for (const std::string& text : input.statusTexts)
      if (!text.empty())
        shown.push_back(text);
    return shown;
  }
  std::string LastBox() const
  {
    return input.messageBoxes.empty() ? std::string() : input.messageBoxes.back().text;
  }
};

} // namespace

// ---- picking ----

TEST_F(EditingTest, AClickPicksTheSmallerOfTwoObjectsAndTheLowerOnEqualAreas)
{
  TDataRectangle* large = Rectangle(0, 0, 200, 200);
  TDataRectangle* small = Rectangle(50, 50, 100, 100);
  TDataRectangle* twin = Rectangle(50, 50, 100, 100);
  input.Char(VK_SPACE_); // from rectangle mode to click mode
  input.Click(60, 60);
  EXPECT_EQ(client.Message(CM_DELETE, 0, 0, nullptr), 1u);
  EXPECT_EQ(Order(), (std::vector<TData*>{large, twin})) << "the lower of the two equal ones went";
  EXPECT_EQ(Prompts().at(0), LoadStr(IDS_PICK_DELETE_RECT));
  EXPECT_EQ(Prompts().at(1), LoadStr(IDS_PICK_DELETE_CLICK));
  (void)small;
}

TEST_F(EditingTest, ARectangleTakesWhatItSurroundsEdgesIncludedAndNotWhatItCuts)
{
  TDataCercle* inside = new TDataCercle(100, 100, 20); // selection bounds about (78, 78, 122, 122)
  client.AddObject(inside, false);
  TDataRectangle* touching = Rectangle(150, 150, 200, 200);
  TDataRectangle* cut = Rectangle(190, 50, 260, 120);
  TRect bounds;
  touching->GetRect(bounds, kRectSelection);
  Surround(60, 60, bounds.right, bounds.bottom);
  EXPECT_EQ(client.Message(CM_DELETE, 0, 0, nullptr), 1u);
  EXPECT_EQ(Order(), (std::vector<TData*>{cut}));
}

TEST_F(EditingTest, ProtectedAndHiddenLayersAreNeverPickedNorCountedAsRefused)
{
  TDataRectangle* hidden = Rectangle(10, 10, 60, 60);
  hidden->SetLayers(2);
  TDataRectangle* locked = Rectangle(70, 10, 120, 60);
  locked->SetLayers(4);
  client.GetLayerModule().SetVisible(0xFF & ~2);
  client.GetLayerModule().SetProtected(4);
  Surround(5, 5, 130, 70);
  EXPECT_EQ(client.Message(CM_DELETE, 0, 0, nullptr), 0u);
  EXPECT_EQ(client.ObjectCount(), 2);
  EXPECT_TRUE(input.messageBoxes.empty()) << "nothing was refused: nothing reachable was there";
}

TEST_F(EditingTest, SpacebarSwitchesBothWaysAndEscapeChangesNothing)
{
  Rectangle(0, 0, 50, 50);
  const std::string before = SaveToString();
  input.Char(VK_SPACE_);
  input.Char(VK_SPACE_);
  input.Char(VK_SPACE_);
  input.Char(VK_ESCAPE_);
  EXPECT_EQ(client.Message(CM_MOVE, 0, 0, nullptr), 0u);
  const std::vector<std::string> shown = Prompts();
  ASSERT_GE(shown.size(), 4u);
  const std::vector<std::string> prompts(shown.begin(), shown.begin() + 4);
  EXPECT_EQ(prompts, (std::vector<std::string>{LoadStr(IDS_PICK_MOVE_RECT), LoadStr(IDS_PICK_MOVE_CLICK),
                                               LoadStr(IDS_PICK_MOVE_RECT), LoadStr(IDS_PICK_MOVE_CLICK)}));
  EXPECT_EQ(SaveToString(), before);
  EXPECT_FALSE(client.IsModified());
  EXPECT_FALSE(client.IsBusy());
  EXPECT_EQ(client.GetHistory().PeekUndo(), nullptr);
}

// ---- deleting, copying, pasting ----

TEST_F(EditingTest, DeleteTakesTheDeletableObjectsAndRefusesOnlyWhenAllAreProtected)
{
  TDataRectangle* kept = Rectangle(10, 10, 60, 60);
  kept->SetState(TData::kUndeletable, true);
  Rectangle(70, 10, 120, 60);
  Surround(5, 5, 130, 70);
  EXPECT_EQ(client.Message(CM_DELETE, 0, 0, nullptr), 1u);
  EXPECT_EQ(Order(), (std::vector<TData*>{kept}));
  EXPECT_TRUE(input.messageBoxes.empty());

  Surround(5, 5, 130, 70);
  EXPECT_EQ(client.Message(CM_DELETE, 0, 0, nullptr), 0u);
  ASSERT_EQ(input.messageBoxes.size(), 1u);
  EXPECT_EQ(input.messageBoxes[0].text, "Undeletable object");
  EXPECT_EQ(input.messageBoxes[0].title, "Delete");
  EXPECT_EQ(input.messageBoxes[0].flags, uint32_t{MB_OK_});
}

TEST_F(EditingTest, DeleteAsksFirstWhenDeletionsAreConfirmed)
{
  client.SetFlags(TClient::kConfirmDeletions, true);
  TDataRectangle* object = Rectangle(10, 10, 60, 60);
  client.PostObjectCommand(CM_OBJ_DELETE, object);
  input.AnswerMessageBox(IDNO_);
  input.DispatchPosted();
  EXPECT_EQ(client.ObjectCount(), 1);
  EXPECT_EQ(LastBox(), "Delete this object ?");
  Rectangle(70, 10, 120, 60);
  Surround(5, 5, 130, 70);
  input.AnswerMessageBox(IDYES_);
  EXPECT_EQ(client.Message(CM_DELETE, 0, 0, nullptr), 1u);
  EXPECT_EQ(LastBox(), "Delete all these objects ?");
  EXPECT_EQ(client.ObjectCount(), 0);
}

TEST_F(EditingTest, PasteBeforeAnyCopySaysSo)
{
  EXPECT_EQ(client.Message(CM_PASTE, 0, 0, nullptr), 0u);
  ASSERT_EQ(input.messageBoxes.size(), 1u);
  EXPECT_EQ(input.messageBoxes[0].text, "An object must be copied first");
  EXPECT_EQ(input.messageBoxes[0].title, "Paste");
  EXPECT_EQ(input.messageBoxes[0].flags, uint32_t{MB_OK_ | MB_ICONEXCLAMATION_});
}

TEST_F(EditingTest, ACopyInOneDocumentPastesInAnother)
{
  TDataRectangle* original = Rectangle(10, 10, 60, 40);
  original->SetColor(1, 0x0000FF);
  Surround(0, 0, 100, 100);
  EXPECT_EQ(client.Message(CM_COPY, 0, 0, nullptr), 1u);
  EXPECT_FALSE(client.IsModified()) << "copying changes nothing";

  TaClientPage other(4);
  TScriptedInput otherInput;
  otherInput.Attach(&other);
  otherInput.SetPointer(300, 300);
  otherInput.Drag(20, 10);
  otherInput.LeftUp();
  EXPECT_EQ(other.Message(CM_PASTE, 0, 0, nullptr), 1u);
  ASSERT_EQ(other.ObjectCount(), 1);
  TData* pasted = other.ObjectAtIndex(0);
  EXPECT_NE(pasted, original);
  EXPECT_EQ(pasted->GetColor(1), 0x0000FFu);
  EXPECT_EQ(pasted->Width(), 50);
  EXPECT_EQ(pasted->GetOwner(), &other);
  EXPECT_TRUE(other.IsModified());
  EXPECT_EQ(other.GetHistory().PeekUndo()->GetKind(), GUndoObj::kPaste);
  EXPECT_EQ(client.ObjectCount(), 1);
}

TEST_F(EditingTest, CopyPasteLeavesTheOriginalAndDropsTheCopyWhereTheDragEnds)
{
  TDataRectangle* original = Rectangle(100, 100, 150, 130);
  client.PostObjectCommand(CM_OBJ_COPY_PASTE, original);
  input.Drag(40, 25);
  input.LeftUp();
  input.DispatchPosted();
  ASSERT_EQ(client.ObjectCount(), 2);
  EXPECT_EQ(client.ObjectAtIndex(0), original);
  EXPECT_EQ(original->left, 100);
  const TData* copy = client.ObjectAtIndex(1);
  EXPECT_EQ(copy->left, 140);
  EXPECT_EQ(copy->top, 125);

  // A cancelled drag makes nothing.
  client.PostObjectCommand(CM_OBJ_COPY_PASTE, original);
  input.Char(VK_ESCAPE_);
  input.DispatchPosted();
  EXPECT_EQ(client.ObjectCount(), 2);
}

// ---- undo and redo ----

TEST_F(EditingTest, FortyStepsAreKeptAndTheFortyFirstUndoHasNothingLeft)
{
  TDataRectangle* object = Rectangle(0, 0, 50, 50);
  for (int i = 0; i < 41; ++i) {
    input.Drag(1, 0);
    input.LeftUp();
    ASSERT_EQ(client.GetDataModule().Command(CM_MOVE, object, 0), 1) << i;
  }
  EXPECT_EQ(object->left, 41);
  for (int i = 0; i < 40; ++i)
    ASSERT_EQ(client.Message(CM_UNDO, 0, 0, nullptr), 1u) << i;
  EXPECT_EQ(object->left, 1) << "the first move can no longer be undone";
  EXPECT_TRUE(input.messageBoxes.empty());
  EXPECT_EQ(client.Message(CM_UNDO, 0, 0, nullptr), 0u);
  ASSERT_EQ(input.messageBoxes.size(), 1u);
  EXPECT_EQ(input.messageBoxes[0].text, "Nothing to undo");
  EXPECT_EQ(input.messageBoxes[0].title, "");
  EXPECT_EQ(input.messageBoxes[0].flags, uint32_t{MB_OK_ | MB_ICONEXCLAMATION_});

  // A new change after undos: redo has nothing left.
  EXPECT_EQ(client.Message(CM_REDO, 0, 0, nullptr), 1u);
  client.GetDataModule().Command(CM_BRING_TO_TOP, object, 0);
  EXPECT_EQ(client.Message(CM_REDO, 0, 0, nullptr), 0u);
  EXPECT_EQ(LastBox(), "Nothing to redo");
}

TEST_F(EditingTest, UndoOfADeletePutsTheObjectsBackAtTheirDepth)
{
  TDataRectangle* a = Rectangle(10, 10, 60, 60);
  TDataRectangle* b = Rectangle(70, 10, 120, 60);
  TDataRectangle* c = Rectangle(10, 70, 60, 120);
  TDataRectangle* d = Rectangle(210, 210, 260, 260);
  Surround(5, 5, 130, 130); // a, b and c
  EXPECT_EQ(client.Message(CM_DELETE, 0, 0, nullptr), 1u);
  EXPECT_EQ(Order(), (std::vector<TData*>{d}));
  EXPECT_EQ(client.Message(CM_UNDO, 0, 0, nullptr), 1u);
  EXPECT_EQ(Order(), (std::vector<TData*>{a, b, c, d}));
  EXPECT_EQ(client.Message(CM_REDO, 0, 0, nullptr), 1u);
  EXPECT_EQ(Order(), (std::vector<TData*>{d}));
  EXPECT_EQ(client.Message(CM_UNDO, 0, 0, nullptr), 1u);
  EXPECT_EQ(Order(), (std::vector<TData*>{a, b, c, d}));
}

TEST_F(EditingTest, UndoOfBringToTopIsUsedUpUnchangedOnceTheObjectsDiffer)
{
  TDataRectangle* a = Rectangle(0, 0, 50, 50);
  TDataRectangle* b = Rectangle(60, 0, 110, 50);
  client.GetDataModule().Command(CM_BRING_TO_TOP, a, 0);
  EXPECT_EQ(Order(), (std::vector<TData*>{b, a}));
  EXPECT_EQ(client.Message(CM_UNDO, 0, 0, nullptr), 1u);
  EXPECT_EQ(Order(), (std::vector<TData*>{a, b}));
  EXPECT_EQ(client.Message(CM_REDO, 0, 0, nullptr), 1u);
  EXPECT_EQ(Order(), (std::vector<TData*>{b, a}));

  // An object joined the document outside the history: the step no longer
  // fits, and undo uses it up without a change or a word.
  TDataRectangle* c = Rectangle(0, 60, 50, 110);
  EXPECT_EQ(client.Message(CM_UNDO, 0, 0, nullptr), 0u);
  EXPECT_EQ(Order(), (std::vector<TData*>{b, a, c}));
  EXPECT_TRUE(input.messageBoxes.empty());
  EXPECT_EQ(client.GetHistory().PeekUndo(), nullptr);
}

TEST_F(EditingTest, UndoAndRedoOfAModifyKeepTheVeryObject)
{
  TDataRectangle* object = Rectangle(0, 0, 50, 50);
  // A right click on the object, outside any command, opens its menu.
  input.RightClick(10, 10);
  input.AnswerMenu(CM_OBJ_COLOR);
  input.AnswerColor(0x0000FF);
  while (input.PumpMessage(&client)) {
  }
  ASSERT_EQ(input.menus.size(), 1u);
  EXPECT_EQ(object->GetPen().GetColor(), 0x0000FFu);
  EXPECT_EQ(Tip(CM_UNDO), "Undo Modify object <ctrl-z>");
  EXPECT_EQ(client.Message(CM_UNDO, 0, 0, nullptr), 1u);
  EXPECT_EQ(client.ObjectAtIndex(0), object);
  EXPECT_EQ(object->GetPen().GetColor(), 0u);
  EXPECT_EQ(Tip(CM_REDO), "Redo Modify object <ctrl-z>");
  EXPECT_EQ(client.Message(CM_REDO, 0, 0, nullptr), 1u);
  EXPECT_EQ(client.ObjectAtIndex(0), object);
  EXPECT_EQ(object->GetPen().GetColor(), 0x0000FFu);
}

TEST_F(EditingTest, AnObjectWithoutCapabilitiesOpensNoMenuAndRecordsNothing)
{
  RecordingObject* bare = Add(0, 0, 50, 50); // masks: A 0, B 0x10 (layer)
  bare->SetState(TData::kUndeletable | TData::kUncopyable | TData::kUnmodifiable, false);
  struct Bare : RecordingObject
  {
    Bare() : RecordingObject(100, 0, 150, 50) {}
    uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override
    {
      if (message == MSG_MASK_A || message == MSG_MASK_B)
        return 0;
      return RecordingObject::Message(message, a, b, p);
    }
  };
  auto* none = new Bare;
  client.AddObject(none, false);
  EXPECT_EQ(client.GetDataModule().Command(CM_MODIFY, none, 0), 0);
  EXPECT_TRUE(input.menus.empty());
  EXPECT_EQ(client.GetHistory().PeekUndo(), nullptr);
  EXPECT_FALSE(client.IsModified());
}

TEST_F(EditingTest, TheUndoTipNamesTheNextStepOfEveryKind)
{
  EXPECT_EQ(Tip(CM_UNDO), "Undo <ctrl-z>");
  EXPECT_EQ(Tip(CM_REDO), "Redo <ctrl-y>");
  // New object.
  input.Click(100, 100);
  input.Drag(30, 20);
  input.LeftUp();
  client.Message(CM_NEW_RECTANGLE, 0, 0, nullptr);
  EXPECT_EQ(Tip(CM_UNDO), "Undo New object <ctrl-z>");
  TData* made = client.ObjectAtIndex(0);
  Rectangle(0, 0, 20, 20);
  client.GetDataModule().Command(CM_BRING_TO_TOP, made, 0);
  EXPECT_EQ(Tip(CM_UNDO), "Undo Bring to top <ctrl-z>");
  client.GetDataModule().Command(CM_COPY, made, 0);
  input.Char(VK_RETURN_);
  client.Message(CM_PASTE, 0, 0, nullptr);
  EXPECT_EQ(Tip(CM_UNDO), "Undo Paste <ctrl-z>");
  input.Char(VK_SPACE_);
  input.Click(5, 5);
  client.Message(CM_CUT, 0, 0, nullptr);
  EXPECT_EQ(Tip(CM_UNDO), "Undo Cut <ctrl-z>");
  client.GetDataModule().Command(CM_DELETE, made, 0);
  EXPECT_EQ(Tip(CM_UNDO), "Undo Delete object <ctrl-z>");
  client.Message(CM_UNDO, 0, 0, nullptr);
  EXPECT_EQ(Tip(CM_REDO), "Redo Delete object <ctrl-z>");
  EXPECT_EQ(Tip(CM_UNDO), "Undo Cut <ctrl-z>");
}

TEST_F(EditingTest, AnExplodedSymbolComesBackWholeAtItsDepth)
{
  auto definition = LampDefinition("Lamp");
  ASSERT_TRUE(client.GetSymbolModule().AddDefinition(definition.get()));
  definition.release();
  TDataRectangle* below = Rectangle(0, 0, 20, 20);
  input.SetPointer(200, 200);
  input.AnswerOption(0);
  input.LeftUp();
  ASSERT_EQ(client.Message(CM_NEW_SYMBOL, 0, 0, nullptr), 1u);
  TDataRectangle* above = Rectangle(400, 400, 420, 420);
  TData* instance = client.ObjectAtIndex(1);
  ASSERT_TRUE(instance->IsA(kTDataSymbol));

  input.AnswerMenu(CM_OBJ_EXPLODE);
  EXPECT_EQ(client.GetDataModule().Command(CM_MODIFY, instance, 0), 1);
  ASSERT_EQ(client.ObjectCount(), 4);
  EXPECT_EQ(client.ObjectAtIndex(0), below);
  EXPECT_EQ(client.ObjectAtIndex(1), above);
  EXPECT_FALSE(client.ObjectAtIndex(2)->IsA(kTDataSymbol));
  EXPECT_EQ(Tip(CM_UNDO), "Undo Explode <ctrl-z>");

  EXPECT_EQ(client.Message(CM_UNDO, 0, 0, nullptr), 1u);
  EXPECT_EQ(Order(), (std::vector<TData*>{below, instance, above}));
  EXPECT_EQ(Tip(CM_REDO), "Redo Explode <ctrl-z>");
  EXPECT_EQ(client.Message(CM_REDO, 0, 0, nullptr), 1u);
  ASSERT_EQ(client.ObjectCount(), 4);
  EXPECT_EQ(client.ObjectAtIndex(0), below);
  EXPECT_EQ(client.ObjectAtIndex(1), above);
}

// ---- every command against undo and redo ----

namespace {

// Random editing with random undos and redos, from a fixed seed. Each round
// starts from the document as it is with an empty history and makes at most
// as many steps as the history keeps; then undoing everything must give back
// the very bytes of the round's start, and redoing everything those of its
// end. Run under AddressSanitizer, it also proves that every object is
// owned once: by the document, one step, or the copy buffer.
class RandomEditing : public EditingTest
{
protected:
  void SetUp() override
  {
    EditingTest::SetUp();
    EnsureSymbol();
  }
  // A symbol whose instances the steps place, explode, rename and delete:
  // a frame and a circle in a 60 x 40 box. Made again at the start of a
  // round when a step deleted it for good.
  void EnsureSymbol()
  {
    if (client.GetSymbolModule().GetDefinitionCount() > 0)
      return;
    auto definition = LampDefinition("Lamp " + std::to_string(++m_names));
    ASSERT_TRUE(client.GetSymbolModule().AddDefinition(definition.get()));
    definition.release();
  }
  int32_t Random(int32_t below) { return static_cast<int32_t>(m_random() % static_cast<uint32_t>(below)); }
  TData* AnyObject()
  {
    return client.ObjectCount() ? client.ObjectAtIndex(Random(client.ObjectCount())) : nullptr;
  }
  void Create()
  {
    static constexpr uint16_t kTools[] = {CM_NEW_RECTANGLE, CM_NEW_CIRCLE, CM_NEW_LINE, CM_NEW_ROUNDRECT};
    input.Click(20 + Random(600), 20 + Random(800));
    input.Drag(5 + Random(120), 5 + Random(90));
    input.LeftUp();
    client.Message(kTools[Random(4)], 0, 0, nullptr);
  }
  // An instance of the symbol, placed with the symbol tool where the
  // pointer is and dragged a little.
  void PlaceSymbol()
  {
    input.SetPointer(20 + Random(600), 20 + Random(800));
    input.AnswerOption(0);
    input.Drag(Random(21) - 10, Random(21) - 10);
    input.LeftUp();
    client.Message(CM_NEW_SYMBOL, 0, 0, nullptr);
  }
  // An instance of the document whose definition exists, exploded from its
  // menu.
  void ExplodeSome()
  {
    for (int32_t i = 0; i < client.ObjectCount(); ++i) {
      TData* object = client.ObjectAtIndex(i);
      // Instances of a deleted definition have nothing to explode into.
      if (object->IsA(kTDataSymbol) && static_cast<TDataSymbol*>(object)->FindDefinition()) {
        input.AnswerMenu(CM_OBJ_EXPLODE);
        client.GetDataModule().Command(CM_MODIFY, object, 0);
        return;
      }
    }
  }
  // Imports a document holding "Shelf" and "Crate" (which shows a Shelf):
  // names the library has are replaced all at once or each skipped.
  void Import()
  {
    if (m_library.empty()) {
      TaClientPage other(99);
      auto* shelf = LampDefinition("Shelf").release();
      other.GetSymbolModule().AddDefinition(shelf);
      auto crate = LampDefinition("Crate");
      crate->AddChild(new TDataSymbol(&other.GetSymbolModule(), 10, 10, "Shelf"));
      other.GetSymbolModule().AddDefinition(crate.release());
      TOutStream os;
      other.GetSymbolModule().WriteSymbolSection(os);
      m_library = File("library.vk1", os.Data());
    }
    const TClientModuleSym& symbols = client.GetSymbolModule();
    const bool taken = symbols.FindDefinition("Shelf") || symbols.FindDefinition("Crate");
    input.AnswerOpenFile(m_library);
    if (taken && Random(2)) {
      input.AnswerMessageBox(IDYES_);
      input.AnswerMessageBox(IDYES_); // and all the others
    } else {
      for (const char* name : {"Shelf", "Crate"}) {
        if (symbols.FindDefinition(name)) {
          input.AnswerMessageBox(IDNO_);
          input.AnswerMessageBox(IDNO_); // not under another name either
        }
      }
    }
    client.Message(CM_SYMBOL_IMPORT, 0, 0, nullptr);
  }
  // The reference point of some instance's definition moved to a point
  // around the instance.
  void MoveReferencePoint()
  {
    for (int32_t i = 0; i < client.ObjectCount(); ++i) {
      auto* instance = dynamic_cast<TDataSymbol*>(client.ObjectAtIndex(i));
      if (instance && instance->FindDefinition() && Random(2)) {
        input.AnswerMessageBox(IDYES_);
        input.Click(instance->left + Random(101) - 20, instance->top + Random(101) - 20);
        instance->ContextCommand(&client, CM_OBJ_REFERENCE_POINT);
        return;
      }
    }
  }
  void Recolour(TData* object)
  {
    input.AnswerMenu(Random(2) ? CM_OBJ_COLOR : CM_OBJ_BACK_COLOR);
    input.AnswerColor(static_cast<uint32_t>(Random(0x1000000)));
    client.GetDataModule().Command(CM_MODIFY, object, 0);
  }
  void Move(TData* object)
  {
    input.Drag(Random(61) - 30, Random(61) - 30);
    input.LeftUp();
    client.GetDataModule().Command(CM_MOVE, object, 0);
  }
  void SurroundSome(uint16_t command)
  {
    const int32_t x = Random(700), y = Random(900);
    Surround(x, y, x + 20 + Random(300), y + 20 + Random(300));
    client.Message(command, 0, 0, nullptr);
  }
  void Paste()
  {
    input.SetPointer(Random(600), Random(600));
    input.Drag(Random(41) - 20, Random(41) - 20);
    input.LeftUp();
    client.Message(CM_PASTE, 0, 0, nullptr);
  }
  // One change, or an undo or redo.
  void Step()
  {
    const GUndoObj* before = client.GetHistory().PeekUndo();
    const int32_t cursor = client.GetHistory().GetCursor();
    Change();
    const GUndoObj* after = client.GetHistory().PeekUndo();
    if (client.GetHistory().GetCursor() != cursor || after != before) {
      ++m_applied;
      if (after && after != before)
        ++m_recorded[after->GetKind()];
    }
  }
  void Change()
  {
    TData* object = AnyObject();
    switch (Random(18)) {
    case 0:
    case 1:
      Create();
      break;
    case 2:
      if (object)
        Recolour(object);
      break;
    case 3:
      if (object)
        Move(object);
      break;
    case 4:
      if (object)
        client.GetDataModule().Command(CM_DELETE, object, 0);
      break;
    case 5:
      SurroundSome(CM_CUT);
      break;
    case 6:
      if (object)
        client.GetDataModule().Command(CM_COPY, object, 0);
      break;
    case 7:
      if (client.GetDataModule().CopyBuffer())
        Paste();
      break;
    case 8:
      if (object)
        client.GetDataModule().Command(CM_BRING_TO_TOP, object, 0);
      break;
    case 9:
      PlaceSymbol();
      break;
    case 10:
      ExplodeSome();
      break;
    case 11:
      client.Message(CM_UNDO, 0, 0, nullptr);
      break;
    case 12:
      // The symbol renamed: its instances follow.
      input.AnswerOption(0);
      input.AnswerText("Lamp " + std::to_string(++m_names));
      client.Message(CM_SYMBOL_RENAME, 0, 0, nullptr);
      break;
    case 13:
      input.AnswerOption(0);
      input.AnswerMessageBox(IDYES_);
      client.Message(CM_SYMBOL_DELETE, 0, 0, nullptr);
      break;
    case 14: {
      // What a rectangle takes becomes a new symbol.
      const int32_t x = Random(700), y = Random(900);
      Surround(x, y, x + 20 + Random(300), y + 20 + Random(300));
      input.AnswerMessageBox(IDYES_);
      input.AnswerText("Unit " + std::to_string(++m_names));
      client.Message(CM_SYMBOL_NEW, 0, 0, nullptr);
      break;
    }
    case 15:
      Import();
      break;
    case 16:
      MoveReferencePoint();
      break;
    default:
      client.Message(CM_REDO, 0, 0, nullptr);
      break;
    }
  }
  void UndoAll()
  {
    while (client.GetHistory().PeekUndo())
      client.Message(CM_UNDO, 0, 0, nullptr);
  }
  void RedoAll()
  {
    while (client.GetHistory().PeekRedo())
      client.Message(CM_REDO, 0, 0, nullptr);
  }

  std::mt19937 m_random{20261207};
  int m_applied = 0;                 // steps that changed the history: the commands did something
  std::map<int32_t, int> m_recorded; // new steps by kind
  int m_names = 0;                   // symbol names given
  std::string m_library;             // the file symbols are imported from
};

} // namespace

TEST_F(RandomEditing, EveryFullUndoGivesBackTheStartAndEveryFullRedoTheEnd)
{
  constexpr int kRounds = 120;
  constexpr int kStepsPerRound = 30; // fewer changes than the history keeps
  int steps = 0;
  for (int round = 0; round < kRounds; ++round) {
    client.GetHistory().Clear();
    EnsureSymbol();
    const std::string start = SaveToString();
    for (int i = 0; i < kStepsPerRound; ++i, ++steps)
      Step();
    ASSERT_FALSE(client.IsBusy());
    // Redo what was undone last, so that the end is what redo gives back.
    RedoAll();
    const std::string latest = SaveToString();
    UndoAll();
    ASSERT_EQ(SaveToString(), start) << "round " << round;
    RedoAll();
    ASSERT_EQ(SaveToString(), latest) << "round " << round;
    input.messageBoxes.clear();
  }
  EXPECT_EQ(steps, kRounds * kStepsPerRound);
  EXPECT_GT(m_applied, steps / 3) << "many steps must really edit, undo or redo";
  // Every kind of step was made, again and again.
  for (int32_t kind = GUndoObj::kNewObject; kind <= GUndoObj::kSymbolReferencePoint; ++kind)
    EXPECT_GT(m_recorded[kind], 10) << "steps of kind " << kind;
  EXPECT_GT(client.ObjectCount(), 0);
}
