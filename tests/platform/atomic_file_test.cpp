#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/shell/atomic_file.h"
#include "tests/support/file_size_limit.h"
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
}

}  // namespace
