#include "ShapeTestSupport.h"

#include "CommandIds.h"
#include "DateTime.h"
#include "FieldRefresh.h"
#include "ObjectStream.h"
#include "TDataTexteDate.h"
#include "TDataTexteHeure.h"
#include "TDataTexteNomFichier.h"

#include <cstring>
#include <regex>
#include <string>

namespace {

using namespace shape_test;

// A page view that names its document, as the document view does.
class NamedClient : public TestClient
{
public:
  uint32_t Message(uint32_t message, int32_t a, int32_t b, void* p) override
  {
    if (message == MSG_FILE_PATH_QUERY && p && a > 0 && !path.empty()) {
      std::strncpy(static_cast<char*>(p), path.c_str(), static_cast<size_t>(a - 1));
      return 1;
    }
    return TestClient::Message(message, a, b, p);
  }
  std::string path = "/home/drafts/plan.vk1";
};

class FieldViewTest : public ShapeViewTest
{
};

std::string Today(int32_t format)
{
  std::string text;
  TodayToText(text, format);
  return text;
}

} // namespace

TEST_F(FieldViewTest, DateFieldRepaintsOnlyWhenItsValueChanges)
{
  TDataTexteDate date(&client, 100, 100);
  EXPECT_TRUE(date.IsSingleLine());
  EXPECT_EQ(date.GetState(), TData::kRefreshOnPrint);
  EXPECT_EQ(date.GetFormat(), 2);
  EXPECT_TRUE(date.GetText().empty());
  EXPECT_EQ(date.Message(MSG_REFRESH_NO_WINDOW, 0, 0, nullptr), 1u);
  EXPECT_EQ(date.GetText(), Today(2));
  EXPECT_EQ(date.Message(MSG_REFRESH_NO_WINDOW, 0, 0, nullptr), 0u);

  const size_t before = input.invalidated.size();
  EXPECT_EQ(date.Message(MSG_REFRESH, 0, 0, nullptr), 0u);
  EXPECT_EQ(input.invalidated.size(), before);
  date.SetFormat(kDateLong);
  EXPECT_EQ(date.Message(MSG_REFRESH, 0, 0, nullptr), 1u);
  EXPECT_EQ(date.GetText(), Today(kDateLong));
  EXPECT_EQ(input.invalidated.size(), before + 1);
}

TEST_F(FieldViewTest, FormatCommandsOfferTheFormatsAsTheyWouldShow)
{
  TDataTexteDate date(&client, 100, 100);
  input.AnswerOption(3);
  EXPECT_EQ(date.ContextCommand(&client, CM_OBJ_FORMAT), CM_OBJ_FORMAT);
  EXPECT_EQ(date.GetFormat(), kDateLong);
  EXPECT_EQ(date.GetText(), Today(kDateLong));
  EXPECT_EQ(input.dialogs.back(), "ChooseOption:Date Format");
  input.AnswerOption(std::nullopt);
  EXPECT_EQ(date.ContextCommand(&client, CM_OBJ_FORMAT), 0);
  EXPECT_EQ(date.GetFormat(), kDateLong);

  TDataTexteHeure time(&client, 100, 100);
  EXPECT_EQ(time.GetState(), TData::kRefreshOnPrint);
  time.Message(MSG_REFRESH_NO_WINDOW, 0, 0, nullptr);
  EXPECT_TRUE(std::regex_match(std::string(time.GetText()), std::regex("[ 12]?[0-9]:[0-5][0-9]")));
  input.AnswerOption(1);
  EXPECT_EQ(time.ContextCommand(&client, CM_OBJ_FORMAT), CM_OBJ_FORMAT);
  EXPECT_EQ(time.GetFormat(), TDataTexteHeure::kWithSeconds);
  EXPECT_TRUE(std::regex_match(std::string(time.GetText()), std::regex("[ 12]?[0-9]:[0-5][0-9]:[0-5][0-9]")));
  EXPECT_EQ(input.dialogs.back(), "ChooseOption:Time Format");
}

TEST(FieldTextTest, FileNameFieldShowsWhereTheDocumentLives)
{
  NamedClient view;
  TDataTexteNomFichier name(&view, 10, 10);
  EXPECT_EQ(name.GetState(), TData::kRefreshOnSave);
  EXPECT_TRUE(name.IsA(kTDataTexte));
  EXPECT_TRUE(name.IsA(kTDataTexteRpt));
  EXPECT_FALSE(name.IsA(kTDataTexteDate));
  EXPECT_EQ(name.Message(MSG_REFRESH_NO_WINDOW, 0, 0, nullptr), 1u);
  EXPECT_EQ(name.GetText(), "/home/drafts/plan.vk1");
  view.path = "/srv/other.vk1";
  std::unique_ptr<TData> copy(name.Clone(nullptr, 0));
  EXPECT_EQ(copy->GetOwner(), &view);
  EXPECT_EQ(copy->Message(MSG_REFRESH_NO_WINDOW, 0, 0, nullptr), 1u);
  EXPECT_EQ(static_cast<TDataTexteNomFichier*>(copy.get())->GetText(), "/srv/other.vk1");
  // An untitled document has no path yet: the field keeps what it shows.
  view.path.clear();
  EXPECT_EQ(copy->Message(MSG_REFRESH_NO_WINDOW, 0, 0, nullptr), 0u);
  EXPECT_EQ(static_cast<TDataTexteNomFichier*>(copy.get())->GetText(), "/srv/other.vk1");
  // Without a view there is no name to show.
  TDataTexteNomFichier alone;
  EXPECT_EQ(alone.Message(MSG_REFRESH, 0, 0, nullptr), 0u);
  EXPECT_TRUE(alone.GetText().empty());
}

TEST(FieldTextTest, RefreshBeforePrintingReachesTheClockFieldsOnly)
{
  NamedClient view;
  auto* date = new TDataTexteDate(&view, 10, 10);
  auto* name = new TDataTexteNomFichier(&view, 10, 50);
  auto* plain = new TDataTexte(10, 90, 0);
  date->SetText("stale");
  name->SetText("stale");
  plain->SetText("stale");
  view.AddObject(date, false);
  view.AddObject(name, false);
  view.AddObject(plain, false);
  EXPECT_EQ(RefreshBeforePrinting(view), 1);
  EXPECT_EQ(date->GetText(), Today(2));
  EXPECT_EQ(name->GetText(), "stale");
  EXPECT_EQ(RefreshObjects(view, TData::kRefreshOnSave), 1);
  EXPECT_EQ(name->GetText(), "/home/drafts/plan.vk1");
  EXPECT_EQ(RefreshObjects(view, 0), 3);
  EXPECT_EQ(plain->GetText(), "stale");
}

TEST(FieldTextTest, RecordsRoundTripAndReadNewerVersions)
{
  TDataTexteDate date(nullptr, 30, 40);
  date.SetFormat(kDateDdMmYyyy);
  date.SetText("06/12/2026");
  const std::string written = Written(date);
  EXPECT_EQ(FirstLine(written), "TDataTexteDate 0 23");
  EXPECT_EQ(written.substr(written.find('\n') + 1, 17), "\tTDataTexteRpt 0\n");
  // Read through the class table, as documents are.
  RegisterObjectFactories();
  TInStream is(written);
  std::unique_ptr<TStreamable> back(ReadObject(is));
  ASSERT_TRUE(back);
  EXPECT_EQ(Written(*back), written);

  TDataTexteHeure time;
  time.SetFormat(TDataTexteHeure::kWithSeconds);
  const std::string timeText = Written(time);
  TDataTexteHeure timeBack;
  EXPECT_EQ(LeftUnread(timeBack, timeText), 0u);
  EXPECT_EQ(timeBack.GetFormat(), TDataTexteHeure::kWithSeconds);
  EXPECT_EQ(Written(timeBack), timeText);

  // A newer field record: its own line's extra values are passed over.
  std::string newer = written;
  newer.replace(0, FirstLine(written).size(), "TDataTexteDate 1 4 77 78");
  TDataTexteDate fromNewer;
  EXPECT_EQ(LeftUnread(fromNewer, newer), 0u);
  EXPECT_EQ(fromNewer.GetFormat(), kDateLong);
  EXPECT_EQ(fromNewer.GetText(), "06/12/2026");

  TDataTexteNomFichier name;
  const std::string nameText = Written(name);
  EXPECT_EQ(FirstLine(nameText), "TDataTexteNomFichier 0 0");
  TDataTexteNomFichier nameBack;
  EXPECT_EQ(LeftUnread(nameBack, nameText), 0u);
  EXPECT_EQ(nameBack.GetState(), TData::kRefreshOnSave);

  // The bare base record, of a newer version.
  TDataTexteRpt base;
  base.SetText("kept");
  std::string baseText = Written(base);
  ASSERT_EQ(FirstLine(baseText), "TDataTexteRpt 0");
  baseText.replace(0, FirstLine(baseText).size(), "TDataTexteRpt 3 1 2");
  TDataTexteRpt baseBack;
  EXPECT_EQ(LeftUnread(baseBack, baseText), 0u);
  EXPECT_EQ(baseBack.GetText(), "kept");
  EXPECT_EQ(LeftUnread(baseBack, nameText), nameText.size()) << "another class is left alone";
}

TEST_F(FieldViewTest, FieldsArePlacedAndShowTheirValueAtOnce)
{
  client.SetLayers(4);
  input.Click(50, 60);
  auto date = CreateInteractively<TDataTexteDate>(kTDataTexteDate);
  ASSERT_TRUE(date);
  EXPECT_EQ(date->GetOwner(), &client);
  EXPECT_EQ(date->GetLayers(), 4);
  EXPECT_EQ(date->left, 50);
  EXPECT_EQ(date->GetText(), Today(2));
  EXPECT_EQ(date->GetLineCount(), 1);

  input.Click(50, 60);
  auto time = CreateInteractively<TDataTexteHeure>(kTDataTexteHeure);
  ASSERT_TRUE(time);
  EXPECT_FALSE(time->GetText().empty());
  input.Click(50, 60);
  EXPECT_TRUE(CreateInteractively<TDataTexteNomFichier>(kTDataTexteNomFichier));

  for (int32_t classId : {kTDataTexteDate, kTDataTexteHeure, kTDataTexteNomFichier}) {
    input.Char(VK_ESCAPE_);
    EXPECT_FALSE(CreateInteractively<TData>(classId));
  }
  ExpectViewRestored();
}
