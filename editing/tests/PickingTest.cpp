#include "DocumentTestSupport.h"

#include "Picking.h"

#include <vector>

namespace {

class PickingTest : public DocumentTest
{
protected:
  // Runs the rectangle selection and answers the objects taken.
  std::vector<TData*> Select(const TRect& r, uint16_t mask = 0, size_t room = 100)
  {
    std::vector<TData*> taken;
    SelectInRectangle(
        client, r, mask,
        [&](TData* object) {
          if (taken.size() >= room)
            return false;
          taken.push_back(object);
          return true;
        },
        refused);
    return taken;
  }

  int32_t refused = -1;
};

} // namespace

TEST_F(PickingTest, TheSmallerAreaWinsAndOnEqualAreasTheLowerObject)
{
  RecordingObject* large = Add(0, 0, 100, 100);
  RecordingObject* small = Add(40, 40, 60, 60);
  EXPECT_EQ(client.ObjectAt(50, 50), small);
  EXPECT_EQ(client.ObjectAt(10, 10), large);
  // Below the large one, the small one is still the one picked.
  client.RemoveObject(small, false);
  client.AddObject(small, false);
  client.RemoveObject(large, false);
  client.AddObject(large, false);
  EXPECT_EQ(client.ObjectAt(50, 50), small);

  RecordingObject* twin = Add(45, 45, 65, 65);
  EXPECT_EQ(client.ObjectAt(50, 50), small) << "same area: the lower object";
  EXPECT_EQ(client.ObjectAt(62, 62), twin);
  EXPECT_EQ(client.ObjectAt(200, 200), nullptr);
  // The right and bottom edges lie outside, as for every hit test.
  EXPECT_EQ(client.ObjectAt(100, 10), nullptr);
}

TEST_F(PickingTest, HiddenAndProtectedLayersAreOutOfReach)
{
  RecordingObject* object = Add(0, 0, 100, 100);
  object->SetLayers(4 | 8); // layers 3 and 4
  TClientModuleLayer& layers = client.GetLayerModule();
  EXPECT_EQ(client.ObjectAt(10, 10), object);
  EXPECT_EQ(Select(TRect(0, 0, 100, 100)).size(), 1u);

  // On layer 3 too, but layer 4 is protected: the object stays out of reach.
  layers.SetProtected(8);
  EXPECT_EQ(client.ObjectAt(10, 10), nullptr);
  EXPECT_TRUE(Select(TRect(0, 0, 100, 100)).empty());
  EXPECT_EQ(refused, 0);

  layers.SetProtected(0);
  layers.SetVisible(0xFF & ~(4 | 8));
  EXPECT_EQ(client.ObjectAt(10, 10), nullptr);
  EXPECT_TRUE(Select(TRect(0, 0, 100, 100)).empty());
  layers.SetVisible(4);
  EXPECT_EQ(client.ObjectAt(10, 10), object) << "visible on layer 3";

  // Nothing editable at all: nothing is picked.
  layers.SetProtected(0xFF);
  EXPECT_EQ(client.ObjectAt(10, 10), nullptr);
  EXPECT_EQ(EditableLayers(client.GetPage()), 0);
  EXPECT_EQ(EditableLayers(nullptr), 0xFFFF);
}

TEST_F(PickingTest, ARectangleTakesWhatLiesWhollyInsideEdgesIncluded)
{
  RecordingObject* a = Add(10, 10, 50, 50);
  RecordingObject* b = Add(60, 10, 90, 50);
  EXPECT_EQ(Select(TRect(10, 10, 50, 50)), std::vector<TData*>{a}) << "touching bounds";
  EXPECT_TRUE(Select(TRect(11, 10, 89, 50)).empty()) << "cuts through both";
  EXPECT_EQ(Select(TRect(0, 0, 100, 100)), (std::vector<TData*>{a, b}));
  // Taking stops when the taker refuses.
  EXPECT_EQ(Select(TRect(0, 0, 100, 100), 0, 1), std::vector<TData*>{a});
  EXPECT_FALSE(IsInsideSelection(*a, TRect(10, 10, 49, 50)));
  EXPECT_TRUE(IsInsideSelection(*a, TRect(10, 10, 50, 50)));
}

TEST_F(PickingTest, ProtectedObjectsAreRefusedOnlyWhereTheyWouldBeTaken)
{
  RecordingObject* locked = Add(10, 10, 50, 50);
  locked->SetState(TData::kUndeletable, true);
  RecordingObject* free = Add(60, 10, 90, 50);
  EXPECT_EQ(Select(TRect(0, 0, 100, 100), TData::kUndeletable), std::vector<TData*>{free});
  EXPECT_EQ(refused, 1);
  // A rectangle beside the locked object does not count it.
  EXPECT_EQ(Select(TRect(55, 0, 100, 100), TData::kUndeletable), std::vector<TData*>{free});
  EXPECT_EQ(refused, 0);
  EXPECT_EQ(Select(TRect(0, 0, 100, 100), TData::kUncopyable).size(), 2u);
}
