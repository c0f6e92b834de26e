// Stored numbers at the ends of their range reach every computation of
// position and size. Run under UndefinedBehaviorSanitizer (the sanitized
// run), each of these stopped the program before it was mended: a pen
// width near 2^31 grown for the stroke bounds, an arrow head of -2^31
// negated, a page mapping negating an origin of -2^31, a group's reference
// point added to a corner at 2^31 - 1.

#include "ShapeTestSupport.h"

#include "TDataDim.h"
#include "TDataFleche.h"
#include "TDataGroup.h"
#include "TDataRectangle.h"
#include "TPageMem.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <vector>

namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

// Everything a page does with an object, on a small memory page.
void Exercise(TData& object)
{
  TPageMem page(100, 100, 100);
  ASSERT_TRUE(page.HasBitmap());
  object.Paint(&page, TData::kPaintOutput);
  object.Paint(&page, TData::kPaintScreen | TData::kPaintToggleOutline);
  for (int32_t mode = 0; mode <= kRectSelection; ++mode) {
    TRect r;
    object.GetRect(r, mode);
  }
  object.Contains(0, 0);
  object.Contains(kMin, kMax);
  std::unique_ptr<TData> copy(object.Clone(nullptr, 0));
  EXPECT_NE(copy, nullptr);
}

} // namespace

TEST(ExtremeValuesTest, ObjectsAtTheEndsOfTheRangeAreDrawnAndMeasuredSafely)
{
  RegisterObjectFactories();
  std::vector<std::unique_ptr<TData>> objects;
  auto wide = std::make_unique<TDataRectangle>(TRect(10, 10, 50, 50));
  wide->SetPenWidth(kMax);
  objects.push_back(std::move(wide));
  objects.push_back(std::make_unique<TDataRectangle>(TRect(kMin, kMin, kMin + 10, kMin + 10)));
  objects.push_back(std::make_unique<TDataRectangle>(TRect(kMax - 10, kMax - 10, kMax, kMax)));
  auto arrow = std::make_unique<TDataFleche>(kMin, kMin, kMax, kMax);
  arrow->SetHeadSize(kMin);
  objects.push_back(std::move(arrow));
  auto backwards = std::make_unique<TDataFleche>(kMax, 0, kMin, 0);
  backwards->SetHeadSize(kMax);
  objects.push_back(std::move(backwards));
  objects.push_back(std::make_unique<TDataDim>(kMin, 0, kMax, 0));
  objects.push_back(std::make_unique<TDataDim>(0, kMin, 0, kMax));
  auto group = std::make_unique<TDataGroup>();
  group->AddChild(new TDataRectangle(TRect(kMax - 10, kMax - 10, kMax, kMax)));
  group->SetReference(2, 2);
  objects.push_back(std::move(group));
  for (const auto& object : objects) {
    Exercise(*object);
    // Placing by position moves by the difference between two stored
    // corners, which can span the whole range.
    object->SetRect(TRect(kMin, kMin, 0, 0), kRectPosition);
    object->SetRect(TRect(kMax, kMax, 0, 0), kRectPosition);
  }
}
