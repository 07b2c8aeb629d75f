#include <gtest/gtest.h>

#include <filesystem>

#include "platform/shell/folders.h"
#include "tests/support/working_folder.h"

namespace {

using FoldersTest = WorkingFolderTest;

TEST_F(FoldersTest, FolderExistsOnlyForFolders)
{
    std::filesystem::create_directory("sub");
    writeFileBytes("file", "x");
    EXPECT_TRUE(shell::folderExists(folder()));
    EXPECT_TRUE(shell::folderExists("sub"));
    EXPECT_TRUE(shell::folderExists("sub/"));
    EXPECT_FALSE(shell::folderExists("file"));
    EXPECT_FALSE(shell::folderExists("missing/"));
    EXPECT_FALSE(shell::folderExists(""));
}

TEST_F(FoldersTest, MakeFolderMakesTheFoldersAboveItToo)
{
    writeFileBytes("file", "x");
    EXPECT_TRUE(shell::makeFolder("a/b/"));
    EXPECT_TRUE(shell::folderExists("a/b"));
    EXPECT_TRUE(shell::makeFolder("a/b"));  // already there
    EXPECT_FALSE(shell::makeFolder("file/c/"));
    EXPECT_EQ(readFileBytes("file"), "x");
}

TEST_F(FoldersTest, DocumentsFolderEndsInASlash)
{
    const std::string documents = shell::documentsFolder();
    ASSERT_FALSE(documents.empty());
    EXPECT_EQ(documents.back(), '/');
    EXPECT_EQ(documents.find('\\'), std::string::npos);
}

}  // namespace
