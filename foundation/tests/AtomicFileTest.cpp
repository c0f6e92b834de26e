#include "TAtomicFile.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

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

  // A folder holds the name: it stays, no temporary file is left, and the
  // reason names the target.
  const std::string taken = dir.File("taken");
  fs::create_directory(taken);
  EXPECT_FALSE(SaveFileAtomic(taken, "x", &error));
  EXPECT_EQ(error, "Cannot write " + taken + ": not a regular file");
  EXPECT_TRUE(fs::is_directory(taken));
  EXPECT_EQ(EntriesIn(dir.Path()), 1);

  ASSERT_TRUE(SaveFileAtomic(dir.File("fine.txt"), "x", &error)) << error;
  EXPECT_EQ(ReadWholeFile(dir.File("fine.txt")), "x");
}

#ifndef _WIN32

TEST(AtomicFile, RespectsWhatTheTargetIs)
{
  TempDir dir;
  std::string error;

  // A symbolic link stays a link; the file it names gets the new content.
  const std::string real = dir.File("real.vk1");
  const std::string link = dir.File("link.vk1");
  WriteWholeFile(real, "old");
  fs::create_symlink("real.vk1", link);
  ASSERT_TRUE(SaveFileAtomic(link, "new", &error)) << error;
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
  EXPECT_EQ(ReadWholeFile(real), "new");
  // A link to a file not made yet makes that file.
  fs::create_symlink("later.vk1", dir.File("ahead.vk1"));
  ASSERT_TRUE(SaveFileAtomic(dir.File("ahead.vk1"), "made", &error)) << error;
  EXPECT_EQ(ReadWholeFile(dir.File("later.vk1")), "made");
  // Links in a circle name nothing.
  fs::create_symlink("loop2", dir.File("loop1"));
  fs::create_symlink("loop1", dir.File("loop2"));
  EXPECT_FALSE(SaveFileAtomic(dir.File("loop1"), "x", &error));
  EXPECT_EQ(error.rfind("Cannot write " + dir.File("loop1") + ": ", 0), 0u) << error;

  // A read-only file is refused, whoever runs the program.
  const std::string kept = dir.File("kept.vk1");
  WriteWholeFile(kept, "keep me");
  fs::permissions(kept, fs::perms::owner_read | fs::perms::group_read);
  EXPECT_FALSE(SaveFileAtomic(kept, "x", &error));
  EXPECT_EQ(error, "Cannot write " + kept + ": the file is read-only");
  EXPECT_EQ(ReadWholeFile(kept), "keep me");

  // A pipe (like a device) would be replaced by a plain file: refused.
  const std::string pipe = dir.File("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_FALSE(SaveFileAtomic(pipe, "x", &error));
  EXPECT_EQ(error, "Cannot write " + pipe + ": not a regular file");
  EXPECT_EQ(fs::status(pipe).type(), fs::file_type::fifo);
  EXPECT_EQ(EntriesIn(dir.Path()), 8) << "no temporary file is left";
}

TEST(AtomicFile, AFileSizeLimitIsAnOrdinaryFailure)
{
  TempDir dir;
  const std::string path = dir.File("big.bin");
  WriteWholeFile(path, "old");
  // In a child process, so that the limit binds nothing else.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const rlimit limit{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::string error;
    const bool saved = SaveFileAtomic(path, std::string(100000, 'x'), &error);
    const bool told = error.rfind("Cannot write " + path + ": File too large", 0) == 0;
    ::_exit(!saved && told ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "the child died of signal "
                                 << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the save must fail and say the file is too large";
  EXPECT_EQ(ReadWholeFile(path), "old");
  EXPECT_EQ(EntriesIn(dir.Path()), 1);
}

#endif
