#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/shell/atomic_file.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/folder_mode.h"
#include "tests/support/unprivileged_user.h"
#include "tests/support/working_folder.h"

namespace {

using AtomicFileTest = WorkingFolderTest;

std::size_t filesInFolder(const char* path = ".")
{
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(path))
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

// The failure is reported only after the write returns; a temporary file still standing then
// would outlive a program ended while the report is up.
TEST_F(AtomicFileTest, AFailedWriteRemovesItsTemporaryFileAtOnce)
{
    writeFileBytes("data.txt", "old");
    shell::AtomicFile file;
    ASSERT_TRUE(file.open("data.txt"));
    {
        FileSizeLimit limit(64);
        EXPECT_FALSE(file.write(std::string(200, 'n')));
    }
    EXPECT_EQ(filesInFolder(), 1u);
    EXPECT_FALSE(file.write("more"));
    EXPECT_FALSE(file.commit());
    EXPECT_EQ(readFileBytes("data.txt"), "old");
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

// A file the user may write is saved even where its folder takes no temporary file: it is written
// where it stands, and a write that cannot be finished leaves it as it was.
TEST_F(AtomicFileTest, AWritableFileInALockedFolderIsWrittenInPlace)
{
    std::filesystem::create_directory("locked");
    writeFileBytes("locked/data.txt", std::string(100, 'o'));
    std::filesystem::permissions("locked/data.txt", std::filesystem::perms(0640));
    const UnprivilegedUser user(folder());
    if (!user.failure().empty())
        GTEST_SKIP() << user.failure();
    const FolderMode locked("locked", std::filesystem::perms(0555));
    if (!writeProtected("locked"))
        GTEST_SKIP() << "this user may write a locked folder anyway";
    const std::string path = "locked/data.txt";
    for (const std::string& content : {std::string(300, 'g'), std::string("shorter"), std::string()}) {
        EXPECT_TRUE(shell::writeFileAtomically(path, content)) << content.size();
        EXPECT_EQ(readFileBytes(path), content);
    }
    // Longer than the file: no room for it, nothing changes. Shorter: cut short halfway, the old
    // bytes go back.
    const std::string kept(200, 'k');
    ASSERT_TRUE(shell::writeFileAtomically(path, kept));
    for (const std::size_t size : {100, 300, 200000}) {
        FileSizeLimit limit(64);
        EXPECT_FALSE(shell::writeFileAtomically(path, std::string(size, 'n'))) << size;
        EXPECT_TRUE(readFileBytes(path) == kept) << size;
    }
    {
        shell::AtomicFile file;
        ASSERT_TRUE(file.open(path));
        file.write("discarded");
    }
    EXPECT_TRUE(readFileBytes(path) == kept);
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640));
    EXPECT_FALSE(shell::writeFileAtomically("locked/new.txt", "x"));  // a new file still needs the folder
    EXPECT_EQ(filesInFolder("locked"), 1u);
}

// A rename would leave the other names of the file with the old content.
TEST_F(AtomicFileTest, EveryHardLinkSeesTheNewContent)
{
    writeFileBytes("data.txt", "old");
    std::filesystem::create_hard_link("data.txt", "twin.txt");
    ASSERT_TRUE(shell::writeFileAtomically("data.txt", "new"));
    EXPECT_EQ(readFileBytes("twin.txt"), "new");
    EXPECT_EQ(std::filesystem::hard_link_count("data.txt"), 2u);
    EXPECT_EQ(filesInFolder(), 2u);
}

// Root saving a user's file must leave it the user's: owner, group and mode as they were.
TEST_F(AtomicFileTest, AFileSavedByRootKeepsItsOwnerGroupAndMode)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "giving a file to another user needs root";
    writeFileBytes("own.pmr", "old");
    ASSERT_EQ(chown("own.pmr", 1234, 2000), 0);
    ASSERT_EQ(chmod("own.pmr", 0664), 0);
    ASSERT_TRUE(shell::writeFileAtomically("own.pmr", "new"));
    struct stat info {};
    ASSERT_EQ(stat("own.pmr", &info), 0);
    EXPECT_EQ(info.st_uid, 1234u);
    EXPECT_EQ(info.st_gid, 2000u);
    EXPECT_EQ(info.st_mode & 07777, 0664u);
    EXPECT_EQ(readFileBytes("own.pmr"), "new");
    EXPECT_EQ(filesInFolder(), 1u);
}

// A user who may write another user's file but may not give a new file that owner: the file is
// written where it stands and stays the other user's.
TEST_F(AtomicFileTest, AnotherUsersFileStaysTheirs)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "making a file of another user needs root";
    writeFileBytes("theirs.txt", "old");
    ASSERT_EQ(chown("theirs.txt", 1234, 2000), 0);
    ASSERT_EQ(chmod("theirs.txt", 0666), 0);
    const UnprivilegedUser user(folder(), {"theirs.txt"});
    if (!user.failure().empty())
        GTEST_SKIP() << user.failure();
    ASSERT_TRUE(shell::writeFileAtomically("theirs.txt", "new"));
    EXPECT_EQ(readFileBytes("theirs.txt"), "new");
    struct stat info {};
    ASSERT_EQ(stat("theirs.txt", &info), 0);
    EXPECT_EQ(info.st_uid, 1234u);
    EXPECT_EQ(info.st_gid, 2000u);
    EXPECT_EQ(info.st_mode & 07777, 0666u);
    EXPECT_EQ(filesInFolder(), 1u);
}

TEST_F(AtomicFileTest, ANewFileTakesTheModeTheUmaskLeaves)
{
    const mode_t previous = umask(022);
    for (const mode_t mask : {022, 077, 002}) {
        umask(mask);
        const std::string name = "new" + std::to_string(mask);
        ASSERT_TRUE(shell::writeFileAtomically(name, "x"));
        struct stat info {};
        ASSERT_EQ(stat(name.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0666 & ~mask) << std::oct << mask;
    }
    umask(previous);
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
