// The preferences kept between runs and the recent-files rules.

#include "Defaults.h"
#include "TClientModuleData.h"
#include "TPage.h"
#include "TPreferences.h"
#include "TRecentFiles.h"
#include "TestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::vector<std::string> Entries(const TRecentFiles& files)
{
  std::vector<std::string> entries;
  for (int32_t i = 0; i < TRecentFiles::kCount; ++i)
    entries.push_back(files.At(i));
  return entries;
}

TEST(RecentFiles, TheLatestComesFirstAndADuplicateMovesUp)
{
  TRecentFiles files;
  EXPECT_TRUE(files.IsEmpty());
  files.Add("");
  EXPECT_TRUE(files.IsEmpty());
  for (const char* path : {"/a.vk1", "/b.vk1", "/c.vk1"})
    files.Add(path);
  // The same file in other letters keeps one entry, at the top.
  files.Add("/A.VK1");
  EXPECT_EQ(Entries(files), (std::vector<std::string>{"/A.VK1", "/c.vk1", "/b.vk1", "", "", "", "", ""}));
  files.Add(files.At(2));
  EXPECT_EQ(files.At(0), "/b.vk1");
  EXPECT_EQ(files.At(1), "/A.VK1");
  EXPECT_EQ(files.At(3), "");
}

TEST(RecentFiles, ANinthFileDropsTheOldest)
{
  TRecentFiles files;
  for (int i = 1; i <= 9; ++i)
    files.Add("/doc" + std::to_string(i) + ".vk1");
  EXPECT_EQ(files.At(0), "/doc9.vk1");
  EXPECT_EQ(files.At(7), "/doc2.vk1");
  EXPECT_EQ(files.At(8), "");
  files.Clear();
  EXPECT_TRUE(files.IsEmpty());
}

class PreferencesTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    savedPen = DefaultPen();
    savedPage = DefaultPage();
  }
  void TearDown() override
  {
    DefaultPen() = savedPen;
    DefaultPage() = savedPage;
    TClientModuleData::RepeatAddObject() = false;
    QDir::setCurrent(savedFolder);
  }

  TempDir folder;
  QString savedFolder = QDir::currentPath();
  TPen savedPen;
  TPage savedPage;
};

TEST_F(PreferencesTest, WhatIsWrittenIsReadBack)
{
  TPreferences written(folder.Path(), "vekta");
  written.Window() = {10, 20, 640, 480};
  written.RecentFiles().Add("/old.vk1");
  written.RecentFiles().Add("/new.vk1");
  TClientModuleData::RepeatAddObject() = true;
  DefaultPen().SetColor(0x123456);
  DefaultPage().SetPaperSize(2000, 1500);
  QDir::setCurrent(QString::fromStdString(folder.Path()));
  std::string error;
  ASSERT_TRUE(written.Write(&error)) << error;

  const std::string ini = ReadWholeFile(folder.File("vekta.ini"));
  for (const char* line : {"[Preferences]", "PrefObjetsSerie = 1", "Langage = 1", "[MainWindow]", "w = 640",
                           "[FichiersRecents]", "0 = /new.vk1", "1 = /old.vk1"})
    EXPECT_NE(ini.find(line), std::string::npos) << line << " in\n" << ini;
  EXPECT_NE(ReadWholeFile(folder.File("vekta.prf")).find("[StandardDataPen]"), std::string::npos);

  TClientModuleData::RepeatAddObject() = false;
  DefaultPen() = savedPen;
  DefaultPage() = savedPage;
  QDir::setCurrent(savedFolder);
  TPreferences read(folder.Path(), "vekta");
  read.Read();
  EXPECT_TRUE(TClientModuleData::RepeatAddObject());
  EXPECT_EQ(read.Window().x, 10);
  EXPECT_EQ(read.Window().height, 480);
  EXPECT_EQ(read.RecentFiles().At(0), "/new.vk1");
  EXPECT_EQ(read.RecentFiles().At(1), "/old.vk1");
  EXPECT_EQ(read.RecentFiles().At(2), "");
  EXPECT_EQ(DefaultPen().GetColor(), 0x123456u);
  EXPECT_EQ(DefaultPage().GetPaperWidth(), 2000);
  EXPECT_EQ(std::filesystem::canonical(QDir::currentPath().toStdString()),
            std::filesystem::canonical(folder.Path()));
}

TEST_F(PreferencesTest, MissingFilesKeepTheDefaultsAndAFailedWriteSaysWhy)
{
  TPreferences preferences(folder.File("nothing here"), "vekta");
  preferences.Window() = {1, 2, 3, 4};
  preferences.Read();
  EXPECT_FALSE(TClientModuleData::RepeatAddObject());
  EXPECT_EQ(preferences.Window().width, 3);
  EXPECT_TRUE(preferences.RecentFiles().IsEmpty());
  EXPECT_EQ(DefaultPage().GetPaperWidth(), savedPage.GetPaperWidth());

  // A file where the folder should be: nothing can be written.
  WriteWholeFile(folder.File("blocked"), "a file");
  TPreferences blocked(folder.File("blocked"), "vekta");
  std::string error;
  EXPECT_FALSE(blocked.Write(&error));
  EXPECT_NE(error.find(folder.File("blocked")), std::string::npos) << error;
  EXPECT_NE(error.find("vekta.prf"), std::string::npos) << error;
}

} // namespace
