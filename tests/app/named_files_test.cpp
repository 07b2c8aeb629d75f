#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "app/log_file.h"
#include "app/preference_file.h"
#include "app/settings_file.h"
#include "platform/help/help_window.h"
#include "platform/serial/lock_files.h"
#include "platform/shell/atomic_file.h"
#include "tests/support/open_watch.h"
#include "tests/support/read_guards.h"
#include "tests/support/working_folder.h"

// Every file a user can name or another user can plant, with something else in its place: a pipe
// nobody reads or writes, a folder, a device. Nothing waits on it, no device is opened (an open
// can change a device's state, as a serial port's), and whatever stands there stays.
namespace {

struct NamedFile {
    const char* what;
    const char* name;
    std::function<void(const std::string& path)> use;
};

const NamedFile namedFiles[] = {
    {"the log", logFileName,
     [](const std::string&) {
         logOut = 1;
         writeStartLines();
         logLine("a line");
         closeLogFile();
         logOut = 0;
     }},
    {"the settings read at start", settingsFileName, [](const std::string&) { loadSettings(); }},
    {"the settings saved at the end", settingsFileName, [](const std::string&) { EXPECT_FALSE(saveSettings()); }},
    {"a parameter file opened", "doc.pmr",
     [](const std::string& path) {
         PreferenceReader reader;
         EXPECT_FALSE(reader.open(path));
     }},
    {"a parameter or CSV file saved", "doc.csv",
     [](const std::string& path) { EXPECT_FALSE(shell::writeFileAtomically(path, "new")); }},
    {"the help file", "Help.chm",
     [](const std::string& path) {
         help::showHelp(path);
         EXPECT_EQ(help::shownTopic(), "");
     }},
    {"a port's lock file", "LCK..ttyUSB7",
     [](const std::string& path) {
         serial::setLockFolders({std::filesystem::path(path).parent_path().string()});
         EXPECT_TRUE(serial::heldByLockFile("/dev/ttyUSB7"));  // a mark that cannot be read holds the port
         serial::setLockFolders({});
     }},
};

enum class Kind { fifo, folder, device };

class NamedFileTest : public WorkingFolderTest, public ::testing::WithParamInterface<Kind> {};

// Root makes a device node of its own (the null device), whose opens an inotify watch sees; others
// take a link to /dev/null, which no watch of ours can tell apart from other programs' opens.
bool makeDevice(const std::string& path)
{
    if (geteuid() == 0 && mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
        return true;
    std::filesystem::create_symlink("/dev/null", path);
    return false;
}

TEST_P(NamedFileTest, NothingButAPlainFileIsOpenedAndNothingWaits)
{
    int n = 0;
    for (const NamedFile& file : namedFiles) {
        SCOPED_TRACE(file.what);
        // Each in a folder of its own, the current one, where the program keeps its own files.
        const std::string caseFolder = folder() + "case" + std::to_string(++n) + "/";
        std::filesystem::create_directory(caseFolder);
        std::filesystem::current_path(caseFolder);
        const std::string path = caseFolder + file.name;
        bool ownDevice = false;
        switch (GetParam()) {
        case Kind::fifo: ASSERT_EQ(mkfifo(path.c_str(), 0666), 0); break;
        case Kind::folder: std::filesystem::create_directory(path); break;
        case Kind::device: ownDevice = makeDevice(path); break;
        }
        const auto type = std::filesystem::symlink_status(path).type();
        OpenWatch watch(path);
        ASSERT_TRUE(!ownDevice || watch.watching());
        {
            FifoWatchdog watchdog(path, std::chrono::seconds(3));
            file.use(path);
            EXPECT_FALSE(watchdog.fired()) << "waited on " << path;
        }
        if (ownDevice) {
            EXPECT_FALSE(watch.openedSinceLastLook()) << "the device was opened";
        }
        EXPECT_EQ(std::filesystem::symlink_status(path).type(), type);
        std::filesystem::current_path(folder());
        help::closeHelp();
    }
}

std::string kindName(const ::testing::TestParamInfo<Kind>& info)
{
    constexpr const char* names[] = {"Fifo", "Folder", "Device"};
    return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(EveryKind, NamedFileTest, ::testing::Values(Kind::fifo, Kind::folder, Kind::device), kindName);

}  // namespace
