#pragma once

// What the tests of groups and symbols share: a symbol library kept in a
// vector, a page view that hands it out, records as text and small
// builders of definitions.

#include "ViewTestSupport.h"

#include "ObjectFactories.h"
#include "ObjectStream.h"
#include "TDataGroup.h"
#include "TDataGroupSymbol.h"
#include "TDataSymbol.h"
#include "TInStream.h"
#include "TOutStream.h"
#include "TSymbolLibrary.h"

#include <memory>
#include <string>
#include <vector>

namespace symbol_test {

inline std::string Written(const TStreamable& object)
{
  TOutStream os;
  object.Write(os);
  return os.Data();
}

// The next object of the text, read through the class table.
template <class T> std::unique_ptr<T> ReadAs(const std::string& text)
{
  TInStream is(text);
  std::unique_ptr<TStreamable> object(ReadObject(is));
  T* typed = dynamic_cast<T*>(object.get());
  if (!typed)
    return nullptr;
  object.release();
  return std::unique_ptr<T>(typed);
}

inline TRect RectOf(const TData& object, int32_t mode = 0)
{
  TRect r;
  object.GetRect(r, mode);
  return r;
}

inline ::testing::AssertionResult SameRect(const TRect& actual, int32_t l, int32_t t, int32_t r, int32_t b)
{
  if (actual.left == l && actual.top == t && actual.right == r && actual.bottom == b)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "(" << actual.left << ", " << actual.top << ", " << actual.right << ", " << actual.bottom
         << ") instead of (" << l << ", " << t << ", " << r << ", " << b << ")";
}

// A library kept in a vector; its chooser asks the client's user.
class TestLibrary : public TSymbolLibrary
{
public:
  explicit TestLibrary(TClient* client = nullptr) : m_client(client) {}

  TDataGroupSymbol* FindDefinition(std::string_view name) const override
  {
    for (const auto& definition : definitions) {
      if (definition->NameEquals(name))
        return definition.get();
    }
    return nullptr;
  }
  bool AddDefinition(TDataGroupSymbol* definition) override
  {
    if (!definition || definition->GetName().empty() || FindDefinition(definition->GetName()))
      return false;
    definition->SetOwner(m_client);
    definitions.emplace_back(definition);
    return true;
  }
  TDataGroupSymbol* ChooseDefinition() override
  {
    if (definitions.empty() || !m_client || !m_client->GetInput())
      return nullptr;
    std::vector<std::string> names;
    for (const auto& definition : definitions)
      names.emplace_back(definition->GetName());
    int32_t index = 0;
    if (!m_client->GetInput()->ChooseOption("Symbol Name", "", names, index))
      return nullptr;
    return definitions[static_cast<size_t>(index)].get();
  }
  int32_t Command(uint16_t command, TData* object, int32_t) override
  {
    commands.push_back({command, object});
    return 0;
  }

  struct CommandRecord
  {
    uint16_t command;
    TData* object;
  };
  std::vector<std::unique_ptr<TDataGroupSymbol>> definitions;
  std::vector<CommandRecord> commands;

private:
  TClient* m_client;
};

// A page view that hands out a library (when it has one).
class LibraryClient : public TestClient
{
public:
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override
  {
    if (message == MSG_SYMBOL_MODULE && library && p) {
      *static_cast<TSymbolLibrary**>(p) = library;
      return 1;
    }
    return TestClient::Message(message, a, b, p);
  }

  TSymbolLibrary* library = nullptr;
};

// A definition made from objects placed on the page: they are moved so
// that their union's top-left corner becomes (0, 0).
inline TDataGroupSymbol* MakeDefinition(const std::string& name, std::vector<TData*> members, int32_t refX,
                                        int32_t refY)
{
  TDataGroup source;
  for (TData* member : members)
    source.AddChild(member);
  TRect bounds;
  source.UnionOfChildren(bounds, 0);
  source.SetRect(bounds, kRectFrame);
  auto* definition = new TDataGroupSymbol;
  definition->BuildFrom(source);
  definition->SetName(name);
  definition->SetReference(refX, refY);
  return definition;
}

// A page view on a scripted window with a library it hands out, the object
// factories registered and whole-unit snapping.
class SymbolViewTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    RegisterObjectFactories();
    client.GetPage()->SetPaperSize(800, 1000);
    client.GetPage()->SetUnitFactor(1.0f);
    client.GetPage()->SetDecimals(0);
    client.SetSnapStep(1, 1);
    client.library = &library;
    input.Attach(&client);
  }

  void ExpectViewRestored()
  {
    EXPECT_FALSE(client.IsBusy());
    EXPECT_FALSE(input.Captured());
    EXPECT_TRUE(input.OverlayBlank());
    EXPECT_EQ(client.GetPage()->GetDragMode(), 0);
    EXPECT_EQ(client.ObjectCount(), 0);
  }

  LibraryClient client;
  TScriptedInput input;
  TestLibrary library{&client};
};

} // namespace symbol_test
