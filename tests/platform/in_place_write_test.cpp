#include <gtest/gtest.h>

#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "platform/shell/in_place_write.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/working_folder.h"

namespace {

using InPlaceWriteTest = WorkingFolderTest;

// A file the user may write but not read cannot get its old bytes back once one of them changed:
// room for a longer content is taken by growing the file with blank lines before any old byte is
// written over, so running out of room (here the file size limit; a full disk where fallocate is
// refused, as on FAT) leaves the file as it was.
TEST_F(InPlaceWriteTest, NoRoomForALongerContentLeavesEvenAnUnreadableFileAsItWas)
{
    const std::string old(200, 'o');
    for (const std::size_t size : {250, 300, 5000}) {
        SCOPED_TRACE(size);
        writeFileBytes("data.txt", old);
        const int descriptor = ::open("data.txt", O_WRONLY | O_CLOEXEC);
        ASSERT_GE(descriptor, 0);
        {
            const FileSizeLimit limit(240);
            EXPECT_FALSE(shell::overwriteInPlace(descriptor, std::string(size, 'n'), "\n"));
        }
        ::close(descriptor);
        EXPECT_EQ(readFileBytes("data.txt"), old);
    }
}

}  // namespace
