#include <gtest/gtest.h>

#include <string>

#include "platform/files/regular_file.h"
#include "tests/support/working_folder.h"

namespace {

using RegularFileTest = WorkingFolderTest;

// Files of /proc say they are empty and are not: the size seen before reading is no bound, and
// one that turns out larger than allowed is refused, not cut short.
TEST_F(RegularFileTest, SizeIsCheckedOnWhatIsReadNotOnlyOnWhatTheFileSays)
{
    std::string bytes;
    ASSERT_EQ(files::readRegularFile("/proc/self/status", 1 << 20, bytes), files::FileRead::done);
    EXPECT_NE(bytes.find("Name:"), std::string::npos);
    EXPECT_EQ(files::readRegularFile("/proc/self/status", 16, bytes), files::FileRead::refused);
    EXPECT_TRUE(bytes.empty());

    writeFileBytes("exact", "0123456789");
    EXPECT_EQ(files::readRegularFile("exact", 10, bytes), files::FileRead::done);
    EXPECT_EQ(bytes, "0123456789");
    EXPECT_EQ(files::readRegularFile("exact", 9, bytes), files::FileRead::refused);
    EXPECT_EQ(files::readRegularFile("", 10, bytes), files::FileRead::refused);
}

}  // namespace
