#include "TAtomicFile.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

int32_t EntriesIn(const std::string& folder)
{
  int32_t count = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder))
    ++count;
  return count;
}

} // namespace

TEST(AtomicFile, ReplacesTheTargetOnlyWhenKeptAndKeepsItsPermissions)
{
  TempDir dir;
  const std::string path = dir.File("doc.txt");
  WriteWholeFile(path, "old");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  TAtomicFile file;
  ASSERT_TRUE(file.Open(path));
  ASSERT_TRUE(file.Write("new "));
  std::fputs("content", file.Stream());
  EXPECT_EQ(ReadWholeFile(path), "old") << "nothing is visible before the close";
  EXPECT_EQ(EntriesIn(dir.Path()), 2) << "the temporary file lies beside the target";
  ASSERT_TRUE(file.Close(true)) << file.Error();
  EXPECT_EQ(ReadWholeFile(path), "new content");
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(EntriesIn(dir.Path()), 1);

  // Dropped, or destroyed while open: the old file stays, nothing is left.
  ASSERT_TRUE(file.Open(path));
  file.Write("half");
  EXPECT_FALSE(file.Close(false));
  {
    TAtomicFile abandoned;
    ASSERT_TRUE(abandoned.Open(path));
    abandoned.Write("half");
  }
  EXPECT_EQ(ReadWholeFile(path), "new content");
  EXPECT_EQ(EntriesIn(dir.Path()), 1);
}

TEST(AtomicFile, SaysWhyAFileCannotBeWritten)
{
  TempDir dir;
  std::string error;
  EXPECT_FALSE(SaveFileAtomic(dir.File("missing/x.txt"), "x", &error));
  EXPECT_EQ(error.rfind("Cannot create a file in " + dir.File("missing") + ": ", 0), 0u) << error;
  EXPECT_FALSE(SaveFileAtomic("", "x", &error));
  EXPECT_EQ(error, "No file name given");

  // The rename fails at the very end (a folder holds the name): the folder
  // stays, no temporary file is left, and the reason names the target.
  const std::string taken = dir.File("taken");
  fs::create_directory(taken);
  EXPECT_FALSE(SaveFileAtomic(taken, "x", &error));
  EXPECT_EQ(error.rfind("Cannot write " + taken + ": ", 0), 0u) << error;
  EXPECT_TRUE(fs::is_directory(taken));
  EXPECT_EQ(EntriesIn(dir.Path()), 1);

  ASSERT_TRUE(SaveFileAtomic(dir.File("fine.txt"), "x", &error)) << error;
  EXPECT_EQ(ReadWholeFile(dir.File("fine.txt")), "x");
}
