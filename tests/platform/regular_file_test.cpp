#include <gtest/gtest.h>

#include <string>

#include "platform/shell/regular_file.h"
#include "tests/support/working_folder.h"

namespace {

using RegularFileTest = WorkingFolderTest;

// Files of /proc say they are empty and are not: the size seen before reading is no bound, and
// one that turns out larger than allowed is refused, not cut short.
TEST_F(RegularFileTest, SizeIsCheckedOnWhatIsReadNotOnlyOnWhatTheFileSays)
{
    std::string bytes;
    ASSERT_EQ(shell::readRegularFile("/proc/self/status", 1 << 20, bytes), shell::FileRead::done);
    EXPECT_NE(bytes.find("Name:"), std::string::npos);
    EXPECT_EQ(shell::readRegularFile("/proc/self/status", 16, bytes), shell::FileRead::refused);
    EXPECT_TRUE(bytes.empty());

    writeFileBytes("exact", "0123456789");
    EXPECT_EQ(shell::readRegularFile("exact", 10, bytes), shell::FileRead::done);
    EXPECT_EQ(bytes, "0123456789");
    EXPECT_EQ(shell::readRegularFile("exact", 9, bytes), shell::FileRead::refused);
    EXPECT_EQ(shell::readRegularFile("", 10, bytes), shell::FileRead::refused);
}

}  // namespace
