#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <regex>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/file.h>
#include <unistd.h>

#include "app/log_file.h"
#include "app/log_tags.h"
#include "app/settings_file.h"
#include "tests/support/protected_folders.h"
#include "tests/support/working_folder.h"

namespace {

class LogFileTest : public WorkingFolderTest {
protected:
    void SetUp() override
    {
        WorkingFolderTest::SetUp();
        logOut = 1;
    }
    void TearDown() override
    {
        closeLogFile();
        logOut = 0;
        WorkingFolderTest::TearDown();
    }

    // True when another open file description can take the exclusive lock right now.
    static bool lockIsFree()
    {
        const int other = ::open("Paramora.log", O_RDWR | O_CLOEXEC);
        if (other < 0)
            return true;
        const bool free = ::flock(other, LOCK_EX | LOCK_NB) == 0;
        ::close(other);
        return free;
    }
};

const std::string stamp = R"(\d\d/\d\d/\d\d \d\d:\d\d:\d\d = )";

TEST_F(LogFileTest, TimeStampFollowsTheMask)
{
    std::tm time{};
    time.tm_mday = 8;
    time.tm_mon = 11;
    time.tm_year = 126;
    time.tm_hour = 9;
    time.tm_min = 5;
    time.tm_sec = 3;
    EXPECT_EQ(logTimeStamp(time), "08/12/26 09:05:03 = ");
    time.tm_year = 99;
    time.tm_hour = 23;
    EXPECT_EQ(logTimeStamp(time), "08/12/99 23:05:03 = ");
}

TEST_F(LogFileTest, StartLinesAppendAfterEarlierRuns)
{
    writeFileBytes("Paramora.log", "earlier run\r\n");
    writeStartLines();
    logLine("");
    logLine("\u0427\u0438\u0442\u0430\u0435\u043C");
    const std::string log = readFileBytes("Paramora.log");
    const std::regex expected("earlier run\r\n" + stamp + std::string(63, '=') + "\r\n" + stamp +
                              "#Event_OpenProgram_v1\\.1\\.17\\.0\r\n" + stamp + "\r\n" + stamp +
                              "\u0427\u0438\u0442\u0430\u0435\u043C\r\n");
    EXPECT_TRUE(std::regex_match(log, expected)) << log;
}

TEST_F(LogFileTest, NothingIsWrittenOrCreatedWhileLoggingIsOff)
{
    logOut = 0;
    writeStartLines();
    logLine(tagConnect);
    EXPECT_FALSE(fileExists("Paramora.log"));
    logOut = 1;
    logLine(tagConnect);
    EXPECT_TRUE(std::regex_match(readFileBytes("Paramora.log"), std::regex(stamp + "#Button_Connect\r\n")));
}

TEST_F(LogFileTest, HeldExclusivelyUntilClosedAndLostSilentlyWhenHeldElsewhere)
{
    logLine("first");
    EXPECT_FALSE(lockIsFree());
    closeLogFile();
    EXPECT_TRUE(lockIsFree());

    const int other = ::open("Paramora.log", O_RDWR | O_CLOEXEC);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    logLine("lost");
    ::close(other);
    logLine("after");
    const std::string log = readFileBytes("Paramora.log");
    EXPECT_EQ(log.find("lost"), std::string::npos);
    EXPECT_TRUE(std::regex_match(log, std::regex(stamp + "first\r\n" + stamp + "after\r\n"))) << log;
}

// In a shared sticky folder (as /tmp is), a log another user left there is not written, as the
// kernel refuses `echo >>` to it (fs.protected_regular): the line is lost without a message. The
// user's own log there is written as anywhere.
TEST_F(LogFileTest, AnotherUsersLogInASharedStickyFolderIsNotWritten)
{
    const ProtectedFolders protectedFiles("protected_regular");
    if (!protectedFiles.failure().empty())
        GTEST_SKIP() << protectedFiles.failure();
    ASSERT_TRUE(makeSharedStickyFolder("shared"));
    std::filesystem::current_path("shared");
    writeFileBytes("Paramora.log", "theirs\r\n");
    ASSERT_EQ(chmod("Paramora.log", 0666), 0);
    ASSERT_EQ(chown("Paramora.log", 1234, 1234), 0);
    logLine("lost");
    closeLogFile();
    EXPECT_EQ(readFileBytes("Paramora.log"), "theirs\r\n");
    ASSERT_EQ(chown("Paramora.log", geteuid(), getegid()), 0);
    logLine("kept");
    closeLogFile();
    EXPECT_TRUE(std::regex_match(readFileBytes("Paramora.log"), std::regex("theirs\r\n" + stamp + "kept\r\n")));
    std::filesystem::current_path(folder());
}

TEST_F(LogFileTest, TagsKeepTheirBlanksAndBackslashes)
{
    EXPECT_STREQ(tagFileOpen, "#MenuItem_FileOpen\x20");
    EXPECT_STREQ(tagSelectModel, "#Combo_SelectModel\x20-\x20");
    EXPECT_STREQ(tagTreeItem, "#Tree_Parameters\x20=\x20");
    EXPECT_STREQ(tagSelectPort, "#Combo_SelectCOM:");
    EXPECT_STREQ(logIdentCrcError, "Modbus\x5Cstatus=1");
    EXPECT_STREQ(logIdentOtherFailure, "Modbus\x5Cstatus>2");
}

}  // namespace
