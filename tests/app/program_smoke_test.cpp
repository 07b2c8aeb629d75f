#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/app_harness.h"

namespace {

class ProgramSmokeTest : public WorkingFolderTest {};

// The real program starts offscreen in an empty folder with a valid settings file, writes its start
// lines, and ends with exit code 0 when asked to, leaving the settings file as it was.
TEST_F(ProgramSmokeTest, StartsAndEndsCleanly)
{
    const std::string settings = validSettingsFile(folder(), 1);
    writeFileBytes("Paramora.ini", settings);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        execl(PARAMORA_BINARY, PARAMORA_BINARY, static_cast<char*>(nullptr));
        _exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (readFileBytes("Paramora.log").find("#Event_OpenProgram_v1.1.17.0") == std::string::npos &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_NE(readFileBytes("Paramora.log").find("#Event_OpenProgram_v1.1.17.0\r\n"), std::string::npos);

    kill(pid, SIGTERM);
    int status = 0;
    pid_t done = 0;
    while ((done = waitpid(pid, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (done == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        FAIL() << "the program did not end";
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readFileBytes("Paramora.ini"), settings);
}

}  // namespace
