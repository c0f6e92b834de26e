#pragma once

// What the tests of lines, arrows, rectangles and circles share: the
// scripted page view of the document tests, records as text, and creation
// through the class table.

#include "ViewTestSupport.h"

#include "ClassTable.h"
#include "ObjectFactories.h"
#include "TInStream.h"
#include "TOutStream.h"

#include <memory>
#include <string>

namespace shape_test {

inline std::string Written(const TStreamable& object)
{
  TOutStream os;
  object.Write(os);
  return os.Data();
}

// A default object of class T after reading text.
template <class T> std::unique_ptr<T> ReadBack(const std::string& text)
{
  auto object = std::make_unique<T>();
  TInStream is(text);
  object->Read(is);
  return object;
}

// Reads text into object and answers how much of it was left unread
// (white space at the end aside).
inline size_t LeftUnread(TStreamable& object, const std::string& text)
{
  TInStream is(text);
  object.Read(is);
  if (is.fail())
    return text.size();
  const int64_t stopped = is.tellg();
  is.SkipWhitespace();
  return is.AtEnd() ? 0 : text.size() - static_cast<size_t>(stopped);
}

inline bool SameRect(const TRect& a, const TRect& b)
{
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline TRect Bounds(const TData& d)
{
  return TRect(d.left, d.top, d.right, d.bottom);
}

// The first line of a record.
inline std::string FirstLine(const std::string& text)
{
  return text.substr(0, text.find('\n'));
}

// A page view with the object factories registered; sizing goes in whole
// units unless a test sets a snap step.
class ShapeViewTest : public ViewTest
{
protected:
  void SetUp() override
  {
    ViewTest::SetUp();
    RegisterObjectFactories();
    client.SetSnapStep(1, 1);
  }

  // Runs the interactive creation of a class and hands over what it made.
  template <class T> std::unique_ptr<T> CreateInteractively(int32_t classId)
  {
    std::unique_ptr<TStreamable> made(CreateObject(classId, &client, 0));
    if (!made)
      return nullptr;
    T* typed = dynamic_cast<T*>(made.get());
    EXPECT_NE(typed, nullptr);
    if (!typed)
      return nullptr;
    made.release();
    return std::unique_ptr<T>(typed);
  }

  // The last text shown in the status bar before it was cleared.
  std::string LastReadout() const
  {
    for (auto it = input.statusTexts.rbegin(); it != input.statusTexts.rend(); ++it) {
      if (!it->empty())
        return *it;
    }
    return {};
  }

  // What every interactive step must leave behind, finished or cancelled.
  void ExpectViewRestored()
  {
    EXPECT_FALSE(client.IsBusy());
    EXPECT_FALSE(input.Captured());
    EXPECT_TRUE(input.PointerShown());
    EXPECT_TRUE(input.OverlayBlank());
    EXPECT_EQ(client.GetPage()->GetDragMode(), 0);
    EXPECT_EQ(client.ObjectCount(), 0);
  }
};

} // namespace shape_test
