#include "DocumentTestSupport.h"

#include "ObjectFactories.h"
#include "TDataGroup.h"
#include "TDataRectangle.h"

namespace {

const std::string kExample = std::string(VEKTA_TEST_DATA) + "/example.vk1";

class ExampleDocumentTest : public ::testing::Test
{
protected:
  void SetUp() override { RegisterObjectFactories(); }

  TempDir dir;
};

} // namespace

TEST_F(ExampleDocumentTest, RoundedRectangleDocumentIsWrittenAsTheListing)
{
  TaClientPage client;
  TPage& page = *client.GetPage();
  page.SetPaperSize(800, 1000);
  page.SetUnitFactor(0.01f);
  page.SetDecimals(2);
  client.SetSnapOn(true);
  client.GetLayerModule().SetActive(8);
  ASSERT_EQ(client.AddObject(new TDataRectangle(TRect(100, 100, 300, 200)), false), 1);

  const std::string path = dir.File("example.vk1");
  client.SetFilePath(path);
  ASSERT_EQ(SaveDocument(client, false, false), kDocumentDone);
  const std::string listing = ReadWholeFile(kExample);
  ASSERT_FALSE(listing.empty());
  EXPECT_EQ(ReadWholeFile(path), listing);

  // Read back and written again: the same bytes.
  TaClientPage reread;
  ASSERT_EQ(LoadDocument(reread, kExample.c_str()), 1);
  ASSERT_EQ(reread.ObjectCount(), 1);
  EXPECT_TRUE(reread.ObjectAtIndex(0)->IsA(kTDataRectangle));
  reread.SetFilePath(dir.File("again.vk1"));
  ASSERT_EQ(SaveDocument(reread, false, false), kDocumentDone);
  EXPECT_EQ(ReadWholeFile(dir.File("again.vk1")), listing);
}

TEST_F(ExampleDocumentTest, GroupInTheObjectListKeepsItsMembersOnce)
{
  auto* group = new TDataGroup;
  group->AddChild(new TDataRectangle(TRect(10, 10, 50, 50)));
  group->AddChild(new TDataRectangle(TRect(60, 10, 90, 50)));
  TOutStream os;
  WriteFrom(os, *group);
  delete group;
  const std::string text = Document(1, os.Data());
  const std::string path = dir.File("group.vk1");
  WriteWholeFile(path, text);

  TaClientPage client;
  LoadReport report;
  ASSERT_EQ(LoadDocument(client, path.c_str(), &report), 1);
  EXPECT_FALSE(report.damaged);
  ASSERT_EQ(client.ObjectCount(), 2);
  EXPECT_EQ(report.objectsRead, 2);
  EXPECT_TRUE(client.ObjectAtIndex(0)->IsA(kTDataRectangle));
  EXPECT_EQ(client.ObjectAtIndex(1)->left, 60);
}
