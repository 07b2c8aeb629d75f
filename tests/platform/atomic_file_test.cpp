#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "platform/shell/atomic_file.h"
#include "platform/shell/save_hooks.h"
#include "tests/support/file_attributes.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/folder_mode.h"
#include "tests/support/fuse_image.h"
#include "tests/support/other_program.h"
#include "tests/support/protected_folders.h"
#include "tests/support/save_trace.h"
#include "tests/support/unnamed_files.h"
#include "tests/support/unprivileged_user.h"
#include "tests/support/working_folder.h"

namespace {

class AtomicFileTest : public WorkingFolderTest {
protected:
    void TearDown() override
    {
        shell::setSaveHooksForTests({});
        WorkingFolderTest::TearDown();
    }
};

using shell::SaveStep;
constexpr SaveStep everyStep[] = {SaveStep::temporaryNamed, SaveStep::temporaryWritten, SaveStep::replaced, SaveStep::grown, SaveStep::placed,
                                  SaveStep::cut};

// A rename refused as a bind-mounted target (EBUSY) or an append-only folder (EPERM) refuses it.
int refusedRename(int, const char*, const char*)
{
    errno = EBUSY;
    return -1;
}

std::size_t filesInFolder(const char* path = ".")
{
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(path))
        ++count;
    return count;
}

bool contains(const std::vector<SaveStep>& steps, SaveStep step)
{
    return std::find(steps.begin(), steps.end(), step) != steps.end();
}

// The steps of one save, for telling a save through the temporary file (replaced) from one in
// place (placed).
std::vector<SaveStep> stepsOfSave(const std::function<bool()>& save, shell::SaveHooks hooks = {})
{
    std::vector<SaveStep> steps;
    hooks.afterStep = [&](SaveStep step) { steps.push_back(step); };
    shell::setSaveHooksForTests(hooks);
    EXPECT_TRUE(save());
    shell::setSaveHooksForTests({});
    return steps;
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
// written where it stands and stays the other user's. In a sticky folder of yet another user (as
// /tmp is) the rename would be refused too, and no temporary file may stay behind.
TEST_F(AtomicFileTest, AnotherUsersFileStaysTheirs)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "making a file of another user needs root";
    std::filesystem::create_directory("sticky");
    ASSERT_EQ(chmod("sticky", 01777), 0);
    for (const char* path : {"theirs.txt", "sticky/theirs.txt"}) {
        writeFileBytes(path, "old");
        ASSERT_EQ(chown(path, 1234, 2000), 0);
        ASSERT_EQ(chmod(path, 0666), 0);
    }
    const UnprivilegedUser user(folder(), {"theirs.txt", "sticky", "sticky/theirs.txt"});
    if (!user.failure().empty())
        GTEST_SKIP() << user.failure();
    for (const char* path : {"theirs.txt", "sticky/theirs.txt"}) {
        SCOPED_TRACE(path);
        ASSERT_TRUE(shell::writeFileAtomically(path, "new"));
        EXPECT_EQ(readFileBytes(path), "new");
        struct stat info {};
        ASSERT_EQ(stat(path, &info), 0);
        EXPECT_EQ(info.st_uid, 1234u);
        EXPECT_EQ(info.st_gid, 2000u);
        EXPECT_EQ(info.st_mode & 07777, 0666u);
    }
    EXPECT_EQ(filesInFolder(), 2u);
    EXPECT_EQ(filesInFolder("sticky"), 1u);
}

// A file the user may write but not read, written in place, cannot get its old bytes back when the
// write fails halfway: the failure is still reported.
TEST_F(AtomicFileTest, AWriteOnlyFileWhoseWriteFailsHalfwayReportsIt)
{
    std::filesystem::create_directory("locked");
    writeFileBytes("locked/data.txt", std::string(100, 'o'));
    ASSERT_EQ(chmod("locked/data.txt", 0200), 0);
    const UnprivilegedUser user(folder());
    if (!user.failure().empty())
        GTEST_SKIP() << user.failure();
    const FolderMode locked("locked", std::filesystem::perms(0555));
    if (!writeProtected("locked") || faccessat(AT_FDCWD, "locked/data.txt", R_OK, AT_EACCESS) == 0)
        GTEST_SKIP() << "this user may write a locked folder or read a write-only file anyway";
    {
        const FileSizeLimit limit(64);
        EXPECT_FALSE(shell::writeFileAtomically("locked/data.txt", std::string(80, 'n')));
    }
    EXPECT_TRUE(shell::writeFileAtomically("locked/data.txt", std::string(10, 'n')));
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

// Everything the file had besides its bytes: the ACL with its mask (the group bits of the mode),
// user attributes; and nothing it did not have, such as the ACL a new file takes from its folder.
TEST_F(AtomicFileTest, TheFileKeepsItsAclMaskAndExtendedAttributesAndGainsNone)
{
    writeFileBytes("acl.txt", "old");
    ASSERT_EQ(chmod("acl.txt", 0640), 0);
    if (const std::string why = setAccessAcl("acl.txt", "u::rw-,u:1234:rw-,g::r--,m::rw-,o::---"); !why.empty())
        GTEST_SKIP() << why;
    if (const std::string why = setUserAttribute("acl.txt", "user.note", "kept"); !why.empty())
        GTEST_SKIP() << why;
    std::filesystem::create_directory("shared");
    ASSERT_EQ(setDefaultAcl("shared", "u::rw-,u:1234:r--,g::r--,m::r--,o::---"), "");
    writeFileBytes("shared/plain.txt", "old");
    ASSERT_EQ(chmod("shared/plain.txt", 0604), 0);
    ASSERT_EQ(removexattr("shared/plain.txt", "system.posix_acl_access"), 0);

    for (const char* path : {"acl.txt", "shared/plain.txt"}) {
        SCOPED_TRACE(path);
        const ExtendedAttributes attributes = extendedAttributes(path);
        const std::string acl = accessAclText(path);
        struct stat before {};
        ASSERT_EQ(stat(path, &before), 0);
        ASSERT_TRUE(shell::writeFileAtomically(path, "new content"));
        EXPECT_EQ(readFileBytes(path), "new content");
        EXPECT_EQ(extendedAttributes(path), attributes);
        EXPECT_EQ(accessAclText(path), acl);
        struct stat after {};
        ASSERT_EQ(stat(path, &after), 0);
        EXPECT_EQ(after.st_mode & 07777, before.st_mode & 07777);
    }
    EXPECT_EQ(accessAclText("acl.txt"), "u::rw-,u:1234:rw-,g::r--,m::rw-,o::---");
    EXPECT_EQ(filesInFolder(), 2u);
    EXPECT_EQ(filesInFolder("shared"), 1u);
}

// A user attribute of a file the user may write but not read cannot be read to be copied (root
// may read it): the file is written in place and keeps it.
TEST_F(AtomicFileTest, AnAttributeThatCannotBeCopiedIsKeptByWritingInPlace)
{
    writeFileBytes("write-only.txt", "old");
    if (const std::string why = setUserAttribute("write-only.txt", "user.note", "kept"); !why.empty())
        GTEST_SKIP() << why;
    ASSERT_EQ(chmod("write-only.txt", 0200), 0);
    ASSERT_TRUE(shell::writeFileAtomically("write-only.txt", "new"));
    ASSERT_EQ(chmod("write-only.txt", 0600), 0);
    EXPECT_EQ(readFileBytes("write-only.txt"), "new");
    EXPECT_EQ(extendedAttributes("write-only.txt"), (ExtendedAttributes{{"user.note", "kept"}}));
    EXPECT_EQ(filesInFolder(), 1u);
}

// A link stays a link: the file is written where it points, made there when it is not there yet.
TEST_F(AtomicFileTest, ALinkIsWrittenThroughAndKept)
{
    std::filesystem::create_directory("settings");
    writeFileBytes("settings/existing.ini", "old");
    struct Case {
        const char* link;
        std::string pointsTo;
        const char* written;
    };
    const Case cases[] = {
        {"to-existing.ini", "settings/existing.ini", "settings/existing.ini"},
        {"dangling.ini", "settings/real.ini", "settings/real.ini"},
        {"absolute.ini", folder() + "settings/absolute.ini", "settings/absolute.ini"},
        {"chain.ini", "dangling.ini", "settings/real.ini"},
        // Relative to the link's own folder, not to the working one.
        {"settings/sibling.ini", "existing.ini", "settings/existing.ini"},
        // Each link of a chain relative to its own folder, not to the first link's.
        {"across.ini", "settings/sibling.ini", "settings/existing.ini"},
        {"across-dangling.ini", "settings/onward.ini", "settings/made.ini"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        std::filesystem::create_symlink(c.pointsTo, c.link);
    }
    std::filesystem::create_symlink("made.ini", "settings/onward.ini");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        ASSERT_TRUE(shell::writeFileAtomically(c.link, std::string("by ") + c.link));
        EXPECT_TRUE(std::filesystem::is_symlink(c.link));
        EXPECT_EQ(std::filesystem::read_symlink(c.link).string(), c.pointsTo);
        EXPECT_EQ(readFileBytes(c.written), std::string("by ") + c.link);
    }
    EXPECT_EQ(filesInFolder(), 7u);
    EXPECT_EQ(filesInFolder("settings"), 6u);

    // Where the folder it points into is missing, nothing is made and the link stays.
    std::filesystem::create_symlink("missing/real.ini", "nowhere.ini");
    EXPECT_FALSE(shell::writeFileAtomically("nowhere.ini", "x"));
    EXPECT_TRUE(std::filesystem::is_symlink("nowhere.ini"));
    EXPECT_FALSE(fileExists("missing"));
    EXPECT_EQ(filesInFolder(), 8u);
}

// In a shared sticky folder (as /tmp is) the kernel refuses to follow another user's link, to any
// program: the save is refused, the private file it points to stays as it was and nothing is made
// where a dangling one points. The user's own link there is written through.
TEST_F(AtomicFileTest, ALinkInASharedStickyFolderIsFollowedOnlyWhereTheKernelFollowsIt)
{
    const ProtectedFolders protectedLinks;
    if (!protectedLinks.failure().empty())
        GTEST_SKIP() << protectedLinks.failure();
    ASSERT_TRUE(makeSharedStickyFolder("shared"));
    std::filesystem::create_directory("private");
    struct Case {
        const char* link;
        const char* pointsTo;
        bool theirs;
        bool dangling;
    };
    const Case cases[] = {
        {"shared/theirs.ini", "../private/kept.ini", true, false},
        {"shared/theirs-dangling.ini", "../private/not-made.ini", true, true},
        {"shared/mine.ini", "../private/mine.ini", false, false},
        {"shared/mine-dangling.ini", "../private/made.ini", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        const std::string target = std::string("shared/") + c.pointsTo;
        if (!c.dangling) {
            writeFileBytes(target, "private");
            ASSERT_EQ(chmod(target.c_str(), 0600), 0);
        }
        ASSERT_TRUE(plantLink(c.pointsTo, c.link, c.theirs ? 1234 : geteuid()));
        for (const bool unnamed : {true, false}) {
            shell::setSaveHooksForTests({.refuseUnnamedFiles = !unnamed});
            EXPECT_EQ(shell::writeFileAtomically(c.link, "new"), !c.theirs);
            EXPECT_TRUE(std::filesystem::is_symlink(c.link));
            if (c.theirs && c.dangling)
                EXPECT_FALSE(fileExists(target));
            else
                EXPECT_EQ(readFileBytes(target), c.theirs ? "private" : "new");
        }
    }
    EXPECT_EQ(filesInFolder("shared"), 4u);
    EXPECT_EQ(filesInFolder("private"), 3u);
}

// A hidden name that some file already has is never opened or replaced: the save takes another.
TEST_F(AtomicFileTest, AHiddenNameAlreadyTakenIsLeftAsItIs)
{
    writeFileBytes("data.txt", "old");
    writeFileBytes(".paramora-taken", "another file");
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed files" : "no unnamed files");
        int calls = 0;
        shell::setSaveHooksForTests({.hiddenName = [&] { return calls++ == 0 ? ".paramora-taken" : ".paramora-free"; },
                                     .refuseUnnamedFiles = !unnamed});
        ASSERT_TRUE(shell::writeFileAtomically("data.txt", unnamed ? "new" : "newer"));
        EXPECT_EQ(readFileBytes("data.txt"), unnamed ? "new" : "newer");
        EXPECT_EQ(readFileBytes(".paramora-taken"), "another file");
        EXPECT_EQ(filesInFolder(), 2u);
    }
}

// Once a save returns, a power cut must leave the new file whole: its bytes are synced before it
// takes the target's name, and the folder, which holds the name, after. Seen in the system calls
// of the saves a hidden test makes (a file replaced and one made, with and without unnamed files).
TEST_F(AtomicFileTest, TheFileIsSyncedBeforeItTakesTheNameAndTheFolderAfter)
{
    if (OtherProgram::output({"sh", "-c", "strace -o /dev/null true && echo traced"}) != "traced\n")
        GTEST_SKIP() << "strace cannot trace here (no ptrace in this container)";
    const std::string trace = folder() + "trace";
    OtherProgram::output({"env", "ASAN_OPTIONS=detect_leaks=0", "strace", "-f", "-o", trace, "-e",
                          "trace=open,openat,fsync,fdatasync,rename,renameat,renameat2,link,linkat", "/proc/" +
                          std::to_string(getpid()) + "/exe", "--gtest_also_run_disabled_tests",
                          "--gtest_filter=AtomicFileTest.DISABLED_SavesForATrace"});
    const std::vector<SyncedSave> saves = syncedSaves(readFileBytes(trace));
    ASSERT_EQ(saves.size(), 4u) << readFileBytes(trace);
    for (const SyncedSave& save : saves) {
        SCOPED_TRACE(save.name);
        EXPECT_TRUE(save.fileSyncedBefore);
        EXPECT_TRUE(save.folderSyncedAfter);
    }
}

TEST_F(AtomicFileTest, DISABLED_SavesForATrace)
{
    writeFileBytes("replaced.txt", "old");
    for (const bool unnamed : {true, false}) {
        shell::setSaveHooksForTests({.refuseUnnamedFiles = !unnamed});
        ASSERT_TRUE(shell::writeFileAtomically("replaced.txt", "new"));
        ASSERT_TRUE(shell::writeFileAtomically(unnamed ? "made.txt" : "made-named.txt", "new"));
    }
}

// Real refusals of a rename, which root can set up: a file bind-mounted over the target (EBUSY) and
// an append-only folder (EPERM, where no temporary file could be removed again).
TEST_F(AtomicFileTest, ARenameTheSystemRefusesFallsBackToWritingInPlace)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "a bind mount and an append-only folder need root";
    std::filesystem::create_directory("mounted");
    writeFileBytes("mounted/Paramora.ini", "old");
    writeFileBytes("source.ini", "mounted content");
    const bool mounted = system("mount --bind source.ini mounted/Paramora.ini 2>/dev/null") == 0;
    std::filesystem::create_directory("append-only");
    writeFileBytes("append-only/data.txt", "old");
    const bool appendOnly = system("chattr +a append-only 2>/dev/null") == 0;
    if (mounted) {
        EXPECT_TRUE(shell::writeFileAtomically("mounted/Paramora.ini", "new, longer content"));
        EXPECT_EQ(readFileBytes("source.ini"), "new, longer content");
        EXPECT_EQ(filesInFolder("mounted"), 1u);
        EXPECT_EQ(system("umount mounted/Paramora.ini"), 0);
    }
    if (appendOnly) {
        EXPECT_TRUE(shell::writeFileAtomically("append-only/data.txt", "new"));
        EXPECT_EQ(readFileBytes("append-only/data.txt"), "new");
        EXPECT_EQ(filesInFolder("append-only"), 1u);
        EXPECT_EQ(system("chattr -a append-only"), 0);
    }
    if (!mounted || !appendOnly)
        GTEST_SKIP() << (mounted ? "" : "no bind mount here; ") << (appendOnly ? "" : "no append-only folder here");
}

// The same with the rename refused through the seam, as any user can test it: each kind of refusal
// ends in the file written in place with all it had, and nothing else in the folder.
TEST_F(AtomicFileTest, ARefusedRenameEndsInPlaceWithNothingLeftAndEverythingKept)
{
    writeFileBytes("data.txt", "old");
    if (const std::string why = setAccessAcl("data.txt", "u::rw-,u:1234:rw-,g::r--,m::rw-,o::---"); !why.empty())
        GTEST_SKIP() << why;
    const ExtendedAttributes attributes = extendedAttributes("data.txt");
    for (const int error : {EBUSY, EPERM, EXDEV, EACCES}) {
        SCOPED_TRACE(error);
        shell::setSaveHooksForTests({.rename = [error](int, const char*, const char*) {
            errno = error;
            return -1;
        }});
        const std::string content = "new " + std::to_string(error);
        ASSERT_TRUE(shell::writeFileAtomically("data.txt", content));
        EXPECT_EQ(readFileBytes("data.txt"), content);
        EXPECT_EQ(extendedAttributes("data.txt"), attributes);
        EXPECT_EQ(filesInFolder(), 1u);
    }
    // A new file needs no rename.
    ASSERT_TRUE(shell::writeFileAtomically("new.txt", "new"));
    EXPECT_EQ(readFileBytes("new.txt"), "new");
    EXPECT_EQ(filesInFolder(), 2u);
}

// Nothing in the folder has a name but the target while the content is written, and a file system
// without unnamed files still leaves nothing once the save is over, whatever its end.
TEST_F(AtomicFileTest, NoNamedTemporaryFileStandsWhileTheContentIsWritten)
{
    writeFileBytes("data.txt", "old");
    shell::setSaveHooksForTests({.refuseUnnamedFiles = true});
    ASSERT_TRUE(shell::writeFileAtomically("data.txt", "named"));
    {
        shell::AtomicFile file;
        ASSERT_TRUE(file.open("data.txt"));
        file.write("abandoned");
        EXPECT_EQ(filesInFolder(), 1u);  // named only at the commit
    }
    shell::setSaveHooksForTests({.rename = refusedRename, .refuseUnnamedFiles = true});
    ASSERT_TRUE(shell::writeFileAtomically("data.txt", "in place"));
    EXPECT_EQ(readFileBytes("data.txt"), "in place");
    EXPECT_EQ(filesInFolder(), 1u);

    if (!unnamedFilesSupported("."))
        GTEST_SKIP() << "this file system makes no unnamed files";
    std::vector<std::size_t> filesAtStep;
    shell::setSaveHooksForTests({.afterStep = [&](SaveStep step) {
        if (step == SaveStep::temporaryWritten)
            filesAtStep.push_back(filesInFolder());
    }});
    for (const char* path : {"data.txt", "new.txt"}) {
        SCOPED_TRACE(path);
        shell::AtomicFile file;
        ASSERT_TRUE(file.open(path));
        ASSERT_TRUE(file.write("half of it, "));
        EXPECT_EQ(filesInFolder(), 1u);
        ASSERT_TRUE(file.write("then the rest"));
        ASSERT_TRUE(file.commit());
        EXPECT_EQ(readFileBytes(path), "half of it, then the rest");
    }
    EXPECT_EQ(filesAtStep, (std::vector<std::size_t>{1, 1}));
}

// Until it takes the target's owner and mode, a named temporary file grants nobody what the old
// file did not, whatever the umask.
TEST_F(AtomicFileTest, ANamedTemporaryFileIsNeverReadableByOthers)
{
    const mode_t previous = umask(0);
    for (const mode_t mode : {0600, 0640, 0604}) {
        SCOPED_TRACE(std::to_string(mode));
        writeFileBytes("data.txt", "old");
        ASSERT_EQ(chmod("data.txt", mode), 0);
        std::size_t looked = 0;
        shell::setSaveHooksForTests({.afterStep =
                                         [&](SaveStep) {
                                             for (const auto& entry : std::filesystem::directory_iterator(".")) {
                                                 if (!entry.path().filename().string().starts_with(".paramora-"))
                                                     continue;
                                                 ++looked;
                                                 struct stat info {};
                                                 ASSERT_EQ(stat(entry.path().c_str(), &info), 0);
                                                 EXPECT_EQ(info.st_mode & 0777 & ~mode, 0u) << std::oct << info.st_mode;
                                             }
                                         },
                                     .refuseUnnamedFiles = true});
        ASSERT_TRUE(shell::writeFileAtomically("data.txt", "new"));
        EXPECT_GE(looked, 2u);  // named, then written
        struct stat info {};
        ASSERT_EQ(stat("data.txt", &info), 0);
        EXPECT_EQ(info.st_mode & 07777, mode);
        EXPECT_EQ(filesInFolder(), 1u);
    }
    umask(previous);
}

// Set-id and sticky bits are part of the mode the file keeps.
TEST_F(AtomicFileTest, KeepsSetIdAndStickyBits)
{
    for (const mode_t mode : {04755, 02750, 01644, 06711}) {
        SCOPED_TRACE(std::to_string(mode));
        writeFileBytes("tool", "old");
        ASSERT_EQ(chmod("tool", mode), 0);
        struct stat info {};
        ASSERT_EQ(stat("tool", &info), 0);
        if ((info.st_mode & 07777) != mode)
            GTEST_SKIP() << "this user may not give a file these bits";
        const auto steps = stepsOfSave([] { return shell::writeFileAtomically("tool", "new"); });
        EXPECT_TRUE(contains(steps, SaveStep::replaced));
        ASSERT_EQ(stat("tool", &info), 0);
        EXPECT_EQ(info.st_mode & 07777, mode);
    }
}

// A file system that stores no owner or mode (FAT) refuses every change of them, even to the value
// the new file already shows: what is already right is not set, and the save goes through the
// temporary file; what differs and cannot be set sends it in place, where the file keeps it.
TEST_F(AtomicFileTest, AnOwnerModeOrAttributeAlreadyRightIsNotSetAgain)
{
    const mode_t previous = umask(022);
    for (const int error : {ENOSYS, EPERM, EOPNOTSUPP}) {
        SCOPED_TRACE(error);
        const shell::SaveHooks refusing{.attributeChangeError = error};
        writeFileBytes("same.txt", "old");
        ASSERT_EQ(chmod("same.txt", 0600), 0);  // what the temporary file is made with
        auto steps = stepsOfSave([] { return shell::writeFileAtomically("same.txt", "new, longer"); }, refusing);
        EXPECT_TRUE(contains(steps, SaveStep::replaced));
        EXPECT_EQ(readFileBytes("same.txt"), "new, longer");

        writeFileBytes("other.txt", "old content");
        ASSERT_EQ(chmod("other.txt", 0640), 0);
        steps = stepsOfSave([] { return shell::writeFileAtomically("other.txt", "new"); }, refusing);
        EXPECT_FALSE(contains(steps, SaveStep::replaced));
        EXPECT_TRUE(contains(steps, SaveStep::cut));
        EXPECT_EQ(readFileBytes("other.txt"), "new");
        struct stat info {};
        ASSERT_EQ(stat("other.txt", &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0640u);

        if (setUserAttribute("same.txt", "user.note", "kept").empty()) {
            steps = stepsOfSave([] { return shell::writeFileAtomically("same.txt", "newer"); }, refusing);
            EXPECT_FALSE(contains(steps, SaveStep::replaced));
            EXPECT_EQ(extendedAttributes("same.txt"), (ExtendedAttributes{{"user.note", "kept"}}));
            // An attribute the new file is given as it is made (as a security label is) is not set
            // again either.
            bool replaced = false;
            shell::setSaveHooksForTests({.afterStep =
                                             [&](SaveStep step) {
                                                 replaced = replaced || step == SaveStep::replaced;
                                                 if (step != SaveStep::temporaryNamed)
                                                     return;
                                                 for (const auto& entry : std::filesystem::directory_iterator("."))
                                                     if (entry.path().filename().string().starts_with(".paramora-"))
                                                         setUserAttribute(entry.path(), "user.note", "kept");
                                             },
                                         .refuseUnnamedFiles = true,
                                         .attributeChangeError = error});
            EXPECT_TRUE(shell::writeFileAtomically("same.txt", "newest"));
            shell::setSaveHooksForTests({});
            EXPECT_TRUE(replaced);
            EXPECT_EQ(extendedAttributes("same.txt"), (ExtendedAttributes{{"user.note", "kept"}}));
            ASSERT_EQ(removexattr("same.txt", "user.note"), 0);
        }
        EXPECT_EQ(filesInFolder(), 2u);
    }
    umask(previous);
}

// FAT and NTFS sticks through their FUSE drivers: FAT refuses any change of owner or mode and any
// ftruncate that does not shrink the file, NTFS shows 0777 for every file. A save over a file goes
// through the temporary file; on NTFS a rename refused still ends in place (fusefat loses or
// refuses writes in place over a file it made by a rename, and reports some of them done, so it
// is not asked to); a new file is made.
TEST_F(AtomicFileTest, SavesOntoFatAndNtfsSticks)
{
    std::string skipped;
    for (const auto kind : {FuseImage::Kind::fat, FuseImage::Kind::ntfs}) {
        const std::string name = kind == FuseImage::Kind::fat ? "fat" : "ntfs";
        SCOPED_TRACE(name);
        const FuseImage stick(kind, name);
        if (!stick.failure().empty()) {
            skipped += name + ": " + stick.failure() + "; ";
            continue;
        }
        const std::string path = name + "/data.pmr";
        for (const bool renameRefused : {false, true}) {
            for (const std::string& content : {std::string(300, 'l'), std::string(100, 's'), std::string(200, 'e')}) {
                if (renameRefused && kind == FuseImage::Kind::fat)
                    continue;
                SCOPED_TRACE(std::to_string(content.size()) + (renameRefused ? " in place" : ""));
                ASSERT_TRUE(shell::writeFileAtomically(path, std::string(200, 'o')));
                shell::SaveHooks hooks;
                if (renameRefused)
                    hooks.rename = refusedRename;
                const auto steps = stepsOfSave([&] { return shell::writeFileAtomically(path, content); }, hooks);
                EXPECT_EQ(contains(steps, SaveStep::replaced), !renameRefused);
                EXPECT_EQ(readFileBytes(path), content);
                EXPECT_EQ(filesInFolder(name.c_str()), 1u);
            }
        }
        EXPECT_TRUE(shell::writeFileAtomically(name + "/new.pmr", "made"));
        EXPECT_EQ(readFileBytes(name + "/new.pmr"), "made");
        EXPECT_EQ(filesInFolder(name.c_str()), 2u);
        EXPECT_FALSE(stick.hung());
    }
    if (!skipped.empty())
        GTEST_SKIP() << skipped;
}

// A target that is a mount point (a file bind-mounted over it) cannot be renamed over: it is written
// in place at once, and no temporary file is named, not even for a moment.
TEST_F(AtomicFileTest, AMountPointIsWrittenInPlaceWithNoTemporaryFileNamed)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "a bind mount needs root";
    std::filesystem::create_directory("mounted");
    writeFileBytes("mounted/Paramora.ini", "old");
    writeFileBytes("source.ini", "mounted content");
    if (system("mount --bind source.ini mounted/Paramora.ini 2>/dev/null") != 0)
        GTEST_SKIP() << "no bind mount here";
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed files" : "no unnamed files");
        std::size_t renames = 0;
        std::vector<std::size_t> files;
        shell::setSaveHooksForTests({.afterStep = [&](SaveStep) { files.push_back(filesInFolder("mounted")); },
                                     .rename =
                                         [&](int folder, const char* from, const char* to) {
                                             ++renames;
                                             return renameat(folder, from, folder, to);
                                         },
                                     .refuseUnnamedFiles = !unnamed});
        const std::string content = unnamed ? "new, longer content" : "short";
        EXPECT_TRUE(shell::writeFileAtomically("mounted/Paramora.ini", content));
        shell::setSaveHooksForTests({});
        EXPECT_EQ(readFileBytes("source.ini"), content);
        EXPECT_EQ(renames, 0u);
        EXPECT_FALSE(files.empty());
        EXPECT_EQ(files, std::vector<std::size_t>(files.size(), 1u));
    }
    EXPECT_EQ(system("umount mounted/Paramora.ini"), 0);
    EXPECT_EQ(readFileBytes("mounted/Paramora.ini"), "old");
}

// True when the bytes are the content followed by nothing but whole blank lines, as its readers
// see it: a UTF-16 file must not end in half a line end.
bool readsAs(const std::string& bytes, const std::string& content, std::string_view blankLine)
{
    if (!bytes.starts_with(content))
        return false;
    for (std::size_t at = content.size(); at < bytes.size(); ++at)
        if (bytes[at] != blankLine[at % blankLine.size()])
            return false;
    return bytes.size() == content.size() || bytes.size() % blankLine.size() == 0;
}

// The save runs in a child process that a real SIGKILL ends right after the step; false when the
// save never came to that step.
bool saveKilledAfter(SaveStep killedAfter, const std::function<void()>& save, const shell::SaveHooks& hooks)
{
    const pid_t child = fork();
    if (child == 0) {
        shell::SaveHooks killing = hooks;
        killing.afterStep = [killedAfter](SaveStep step) {
            if (step == killedAfter)
                raise(SIGKILL);
        };
        shell::setSaveHooksForTests(killing);
        save();
        _exit(0);
    }
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, 0), child);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

// A kill at any moment of a save leaves the old content or the new one as its readers see them,
// never the new content with the old one's end, nor zeros, nor a file besides the target: in
// place (the hard link makes it so) and through the temporary file; longer, shorter and of the
// same length; for settings-style text and for UTF-16 CSV, whose blank line is two bytes long.
TEST_F(AtomicFileTest, AKillAfterAnyStepLeavesTheOldOrTheNewContentAndNoOtherFile)
{
    struct Case {
        const char* name;
        std::string old, content;
        std::string_view blankLine;
    };
    const std::string utf16Line("\xFF\xFE" "A\0=\0" "1\0\r\0\n\0", 12);
    const std::string utf16Lf("\n\0", 2);
    const Case cases[] = {
        {"shorter", "[General]\r\nP0.0.05 = 1234\r\nP0.0.07 = 9999\r\n", "[General]\r\nP0.0.05 = 5000\r\n", "\n"},
        {"longer", "[General]\r\nP0.0.05 = 1234", "[General]\r\nP0.0.05 = 5000\r\nP0.0.07 = 42\r\n", "\n"},
        {"same length", "[General]\r\nA = 1\r\n", "[General]\r\nA = 2\r\n", "\n"},
        {"UTF-16 shorter", utf16Line + utf16Line.substr(2), utf16Line, utf16Lf},
        {"UTF-16 longer", utf16Line, utf16Line + utf16Line.substr(2) + utf16Line.substr(2), utf16Lf},
        {"UTF-16 over an odd length", "odd", utf16Line.substr(0, 2), utf16Lf},
    };
    // Without unnamed files a kill before the rename leaves the named one.
    const std::vector<bool> ways = unnamedFilesSupported(".") ? std::vector<bool>{true, false} : std::vector<bool>{true};
    for (const bool inPlace : ways) {
        for (const Case& c : cases) {
            std::size_t killed = 0;
            for (const SaveStep step : everyStep) {
                SCOPED_TRACE(std::string(c.name) + (inPlace ? " in place, killed after step " : ", killed after step ") +
                             std::to_string(static_cast<int>(step)));
                std::filesystem::remove("twin.txt");
                writeFileBytes("data.txt", c.old);
                if (inPlace)
                    std::filesystem::create_hard_link("data.txt", "twin.txt");
                if (!saveKilledAfter(step, [&] { shell::writeFileAtomically("data.txt", c.content, c.blankLine); }, {}))
                    continue;
                ++killed;
                const std::string bytes = readFileBytes("data.txt");
                EXPECT_TRUE(readsAs(bytes, c.old, c.blankLine) || readsAs(bytes, c.content, c.blankLine)) << bytes;
                EXPECT_EQ(filesInFolder(), inPlace ? 2u : 1u);
            }
            std::filesystem::remove("twin.txt");
            EXPECT_GE(killed, 2u) << c.name;
        }
    }
    // Without the kill each ends in the new content alone.
    for (const Case& c : cases) {
        writeFileBytes("data.txt", c.old);
        std::filesystem::create_hard_link("data.txt", "twin.txt");
        ASSERT_TRUE(shell::writeFileAtomically("data.txt", c.content, c.blankLine));
        EXPECT_EQ(readFileBytes("twin.txt"), c.content) << c.name;
        std::filesystem::remove("twin.txt");
    }
}

}  // namespace
