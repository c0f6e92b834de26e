// Every entry an object's menu offers must do something when chosen: ask
// the user (a dialogue, a point, a drag), post its command to the view, or
// change the object. An entry that does none of these is dead: offered,
// but wired to nothing; so is one shown greyed out.

#include "DocumentTestSupport.h"

#include "CommandIds.h"
#include "ObjectFactories.h"
#include "TOutStream.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kShowcase = std::string(VEKTA_SOURCE_DIR) + "/examples/showcase.vk1";

std::string Written(const TData& object)
{
  TOutStream os;
  object.Write(os);
  return os.Data();
}

// The entries that only make the object's attributes the defaults of new
// objects: nothing about the object itself shows it.
bool SetsADefault(uint16_t command)
{
  switch (command) {
  case CM_OBJ_DEFAULT_COLOR:
  case CM_OBJ_DEFAULT_LINE_TYPE:
  case CM_OBJ_DEFAULT_LINE_TYPE_COLOR:
  case CM_OBJ_DEFAULT_BACK_COLOR:
  case CM_OBJ_DEFAULT_TEXT_COLOR:
  case CM_OBJ_DEFAULT_FONT:
  case CM_OBJ_DEFAULT_FONT_COLOR:
    return true;
  default:
    return false;
  }
}

class ObjectMenuTest : public DocumentTest
{
protected:
  void SetUp() override
  {
    DocumentTest::SetUp();
    RegisterObjectFactories();
  }
};

} // namespace

TEST_F(ObjectMenuTest, EveryEntryOfEveryKindOfObjectDoesSomething)
{
  ASSERT_EQ(LoadDocument(client, kShowcase.c_str()), 1);
  std::set<std::string> dead, greyed;
  int32_t entriesTried = 0;
  std::set<int32_t> kinds;
  for (int32_t i = 0; i < client.ObjectCount(); ++i) {
    TData* object = client.ObjectAtIndex(i);
    if (!kinds.insert(object->ClassId()).second)
      continue;
    // The menu as the user sees it; nothing chosen.
    input.menus.clear();
    input.AnswerMenu(0);
    client.RunObjectMenu(object);
    ASSERT_EQ(input.menus.size(), 1u) << GetClassName(object->ClassId());
    for (const TUserInput::MenuItem& item : input.menus[0].items) {
      if (!item.enabled)
        greyed.insert(std::string(GetClassName(object->ClassId())) + ": " + item.text);
      if (item.command == 0 || !item.enabled || SetsADefault(item.command))
        continue;
      // On a copy, so every entry meets the object as it was.
      std::unique_ptr<TData> copy(object->Clone(nullptr, 0));
      ASSERT_NE(copy, nullptr);
      const std::string before = Written(*copy);
      const size_t asked = input.dialogs.size();
      const size_t posted = input.posted.size();
      input.ranOut = false;
      const uint16_t answer = copy->ContextCommand(&client, item.command);
      ++entriesTried;
      const bool didSomething = answer != 0 || input.dialogs.size() != asked ||
                                input.posted.size() != posted || input.ranOut || Written(*copy) != before;
      if (!didSomething)
        dead.insert(std::string(GetClassName(object->ClassId())) + ": " + item.text);
    }
  }
  EXPECT_GE(kinds.size(), 12u);
  EXPECT_TRUE(greyed.empty()) << *greyed.begin();
  EXPECT_GT(entriesTried, 100);
  EXPECT_TRUE(dead.empty()) << [&] {
    std::string list;
    for (const std::string& entry : dead)
      list += "\n  " + entry;
    return "entries that do nothing:" + list;
  }();
}
