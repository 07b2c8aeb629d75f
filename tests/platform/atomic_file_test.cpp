#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <sys/stat.h>

#include "platform/shell/atomic_file.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/unprivileged_user.h"
#include "tests/support/working_folder.h"

namespace {

using AtomicFileTest = WorkingFolderTest;

std::size_t filesInFolder()
{
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("."))
        ++count;
    return count;
}

TEST_F(AtomicFileTest, TargetChangesOnlyAtCommit)
{
    writeFileBytes("data.txt", "old");
    shell::AtomicFile file;
    ASSERT_TRUE(file.open("data.txt"));
    ASSERT_TRUE(file.write("new "));
    ASSERT_TRUE(file.write("contents"));
    EXPECT_EQ(readFileBytes("data.txt"), "old");
    ASSERT_TRUE(file.commit());
    EXPECT_EQ(readFileBytes("data.txt"), "new contents");
    EXPECT_EQ(filesInFolder(), 1u);
}

TEST_F(AtomicFileTest, DiscardedOrAbandonedWriteLeavesTheOldFileAndNoTemporary)
{
    writeFileBytes("data.txt", "old");
    {
        shell::AtomicFile file;
        ASSERT_TRUE(file.open("data.txt"));
        file.write("half");
    }
    EXPECT_EQ(readFileBytes("data.txt"), "old");
    EXPECT_EQ(filesInFolder(), 1u);
}

TEST_F(AtomicFileTest, WriteCutShortLeavesTheOldFile)
{
    const std::string old(10, 'o');
    writeFileBytes("data.txt", old);
    for (const std::size_t size : {100, 200000}) {  // a short write as well as a refused one
        FileSizeLimit limit(64);
        EXPECT_FALSE(shell::writeFileAtomically("data.txt", std::string(size, 'n'))) << size;
    }
    EXPECT_EQ(readFileBytes("data.txt"), old);
    EXPECT_EQ(filesInFolder(), 1u);
}

TEST_F(AtomicFileTest, KeepsTheModeOfTheFileItReplacesAndReplacesThroughALink)
{
    writeFileBytes("data.txt", "old");
    std::filesystem::permissions("data.txt", std::filesystem::perms(0640));
    std::filesystem::create_symlink("data.txt", "link.txt");
    ASSERT_TRUE(shell::writeFileAtomically("link.txt", "new"));
    EXPECT_TRUE(std::filesystem::is_symlink("link.txt"));
    EXPECT_EQ(readFileBytes("data.txt"), "new");
    EXPECT_EQ(std::filesystem::status("data.txt").permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(filesInFolder(), 2u);
}

TEST_F(AtomicFileTest, FailsForAMissingFolderOrAFolderInTheWay)
{
    EXPECT_FALSE(shell::writeFileAtomically("no-such-folder/data.txt", "x"));
    EXPECT_FALSE(fileExists("no-such-folder"));
    std::filesystem::create_directory("data.txt");
    EXPECT_FALSE(shell::writeFileAtomically("data.txt", "x"));
    EXPECT_TRUE(std::filesystem::is_directory("data.txt"));
    EXPECT_EQ(filesInFolder(), 1u);
    EXPECT_FALSE(shell::writeFileAtomically("", "x"));
    ASSERT_EQ(mkfifo("pipe", 0666), 0);  // a save never puts a file in place of a device or a pipe
    EXPECT_FALSE(shell::writeFileAtomically("pipe", "x"));
    EXPECT_TRUE(std::filesystem::is_fifo("pipe"));
}

// A rename would ignore the target's permissions; a file the user may not write stays as it is.
TEST_F(AtomicFileTest, WriteProtectedFileIsNotReplaced)
{
    writeFileBytes("data.txt", "old");
    std::filesystem::create_symlink("data.txt", "link.txt");
    std::filesystem::permissions("data.txt", std::filesystem::perms(0444));
    const UnprivilegedUser user(folder());
    if (!user.failure().empty())
        GTEST_SKIP() << user.failure();
    if (!writeProtected("data.txt"))
        GTEST_SKIP() << "this user may write a 0444 file anyway";
    for (const char* path : {"data.txt", "link.txt"}) {
        shell::AtomicFile file;
        EXPECT_FALSE(file.open(path)) << path;
        EXPECT_FALSE(shell::writeFileAtomically(path, "new")) << path;
    }
    EXPECT_EQ(readFileBytes("data.txt"), "old");
    EXPECT_EQ(filesInFolder(), 2u);
}

// The temporary file must fit the folder whatever the length of the target's name.
TEST_F(AtomicFileTest, NamesUpToTheSystemsLimitAreWritten)
{
    std::string cyrillic;
    for (int i = 0; i < 125; ++i)
        cyrillic += "я";
    for (const std::string& name : {std::string(249, 'a'), std::string(255, 'b'), cyrillic + ".pmr"}) {
        EXPECT_TRUE(shell::writeFileAtomically(name, "old")) << name.size();  // a new file
        EXPECT_TRUE(shell::writeFileAtomically(name, "new")) << name.size();  // and one replaced
        EXPECT_EQ(readFileBytes(name), "new") << name.size();
    }
    EXPECT_EQ(filesInFolder(), 3u);
}

}  // namespace
