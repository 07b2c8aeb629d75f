#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/settings_file.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/refused_files.h"
#include "tests/support/unprivileged_user.h"
#include "tests/support/working_folder.h"

namespace {

const std::string warningTitle = "\u041F\u0440\u0435\u0434\u0443\u043F\u0440\u0435\u0436\u0434\u0435\u043D\u0438\u0435";
const std::string errorTitle = "\u041E\u0448\u0438\u0431\u043A\u0430";
const std::string cannotOpenText =
    "\u041D\u0435\u0432\u043E\u0437\u043C\u043E\u0436\u043D\u043E \u043E\u0442\u043A\u0440\u044B\u0442\u044C "
    "\u0444\u0430\u0439\u043B \u043D\u0430\u0441\u0442\u0440\u043E\u0435\u043A\r\u0411\u0443\u0434\u0435\u0442 "
    "\u0441\u043E\u0437\u0434\u0430\u043D \u0444\u0430\u0439\u043B \u043F\u043E "
    "\u0443\u043C\u043E\u043B\u0447\u0430\u043D\u0438\u044E";
const std::string badFormatText =
    "\u041D\u0435\u043F\u0440\u0430\u0432\u0438\u043B\u044C\u043D\u044B\u0439 \u0444\u043E\u0440\u043C\u0430\u0442 "
    "\u0444\u0430\u0439\u043B\u0430 \u043D\u0430\u0441\u0442\u0440\u043E\u0435\u043A\r\u0411\u0443\u0434\u0435\u0442 "
    "\u0441\u043E\u0437\u0434\u0430\u043D \u0444\u0430\u0439\u043B \u043F\u043E "
    "\u0443\u043C\u043E\u043B\u0447\u0430\u043D\u0438\u044E";
const std::string cannotSaveText =
    "\u041D\u0435\u0432\u043E\u0437\u043C\u043E\u0436\u043D\u043E \u0441\u043E\u0445\u0440\u0430\u043D\u0438\u0442\u044C "
    "\u0444\u0430\u0439\u043B \u043D\u0430\u0441\u0442\u0440\u043E\u0435\u043A";
const std::string titleComment = "\u0424\u0430\u0439\u043B \u043D\u0430\u0441\u0442\u0440\u043E\u0439\u043A\u0438 Paramora";

const std::string bom = "\xEF\xBB\xBF";

class SettingsFileTest : public WorkingFolderTest {
protected:
    void SetUp() override
    {
        WorkingFolderTest::SetUp();
        FilePath.clear();
        waitTimer = -7;
        repeatCount = -7;
        logOut = 7;
        windowLayout = {7, 7, 7, 7, {7, 7, 7, 7, 7, 7, 7, 7}};
        std::filesystem::create_directory("docs");
    }

    // A valid file of non-default values.
    std::string validBody() const
    {
        return "\r\n; comment\r\n[General]\r\nFilePath = " + folder() + "docs/\r\nwaitTimer = 250\r\n"
               "repeatCount = 5\r\nlogOut = 1\r\n[MainWindow]\r\nState = 16777216\r\nWidth = 1000\r\n"
               "Height = 700\r\nSplitter = 300\r\n[ParametersTable]\r\ncolWidth_Code = 51\r\n"
               "colWidth_Name = 221\r\ncolWidth_Set = 151\r\ncolWidth_Read = 152\r\ncolWidth_Range = 101\r\n"
               "colWidth_Default = 81\r\ncolWidth_Addr = 102\r\ncolWidth_AddrEE = 103\r\n";
    }

    // Everything after the four comment lines, as the writer lays it out.
    static std::string groupsText(const std::string& filePath, std::int32_t wait, std::int32_t repeats, int log,
                                  const WindowLayout& l)
    {
        std::string text = "[General]\r\nFilePath = " + filePath + "\r\nwaitTimer = " + std::to_string(wait) +
                           "\r\nrepeatCount = " + std::to_string(repeats) + "\r\nlogOut = " + std::to_string(log) +
                           "\r\n[MainWindow]\r\nState = " + std::to_string(l.state) + "\r\nWidth = " +
                           std::to_string(l.width) + "\r\nHeight = " + std::to_string(l.height) +
                           "\r\nSplitter = " + std::to_string(l.splitter) + "\r\n[ParametersTable]\r\n";
        const char* keys[] = {"colWidth_Code", "colWidth_Name", "colWidth_Set", "colWidth_Read",
                              "colWidth_Range", "colWidth_Default", "colWidth_Addr", "colWidth_AddrEE"};
        for (std::size_t i = 0; i < tableColumnCount; ++i)
            text += std::string(keys[i]) + " = " + std::to_string(l.columnWidths[i]) + "\r\n";
        return text;
    }

    // Checks the fixed head of a written file and returns the rest.
    static std::string afterComments(const std::string& bytes)
    {
        const std::string head = bom + "\r\n; " + titleComment + "\r\n";
        EXPECT_EQ(bytes.substr(0, head.size()), head);
        std::size_t at = head.size();
        for (int i = 0; i < 2; ++i) {  // the maker's two lines
            EXPECT_EQ(bytes.substr(at, 2), "; ");
            at = bytes.find("\r\n", at) + 2;
        }
        EXPECT_EQ(bytes.substr(at, 4), "; \r\n");
        return bytes.substr(at + 4);
    }

    void expectDefaultsExceptFilePath()
    {
        const WindowLayout defaults;
        EXPECT_EQ(waitTimer, 100);
        EXPECT_EQ(repeatCount, 3);
        EXPECT_EQ(logOut, 0);
        EXPECT_EQ(windowLayout.state, 0);
        EXPECT_EQ(windowLayout.width, 960);
        EXPECT_EQ(windowLayout.height, 640);
        EXPECT_EQ(windowLayout.splitter, 235);
        EXPECT_EQ(windowLayout.columnWidths, defaults.columnWidths);
    }
};

TEST_F(SettingsFileTest, MissingFileWarnsAndWritesTheDefaultsWithTheDefaultFolder)
{
    loadSettings();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, warningTitle);
    EXPECT_EQ(messages[0].text, cannotOpenText);
    EXPECT_EQ(messages[0].icon, gui::Icon::Information);
    EXPECT_EQ(FilePath, defaultFilePath());
    EXPECT_TRUE(defaultFilePath().ends_with("/Paramora/"));
    expectDefaultsExceptFilePath();
    EXPECT_EQ(readFileBytes("Paramora.ini"),
              "\xEF\xBB\xBF\r\n"
              "; Файл настройки Paramora\r\n"
              "; Paramora: настройка ПЧ и УПП по Modbus RTU\r\n"
              "; Файл записывается программой при закрытии главного окна\r\n"
              "; \r\n"
              "[General]\r\n"
              "FilePath = " + defaultFilePath() + "\r\n"
              "waitTimer = 100\r\n"
              "repeatCount = 3\r\n"
              "logOut = 0\r\n"
              "[MainWindow]\r\n"
              "State = 0\r\n"
              "Width = 960\r\n"
              "Height = 640\r\n"
              "Splitter = 235\r\n"
              "[ParametersTable]\r\n"
              "colWidth_Code = 50\r\n"
              "colWidth_Name = 220\r\n"
              "colWidth_Set = 150\r\n"
              "colWidth_Read = 150\r\n"
              "colWidth_Range = 100\r\n"
              "colWidth_Default = 80\r\n"
              "colWidth_Addr = 100\r\n"
              "colWidth_AddrEE = 120\r\n");
}

TEST_F(SettingsFileTest, ValidFileSetsEveryValueAndStaysUnchanged)
{
    writeFileBytes("Paramora.ini", bom + validBody());
    loadSettings();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(FilePath, folder() + "docs/");
    EXPECT_EQ(waitTimer, 250);
    EXPECT_EQ(repeatCount, 5);
    EXPECT_EQ(logOut, 1);
    EXPECT_EQ(windowLayout.state, windowStateMaximised);
    EXPECT_EQ(windowLayout.width, 1000);
    EXPECT_EQ(windowLayout.height, 700);
    EXPECT_EQ(windowLayout.splitter, 300);
    EXPECT_EQ(windowLayout.columnWidths, (std::array<std::uint16_t, 8>{51, 221, 151, 152, 101, 81, 102, 103}));
    EXPECT_EQ(readFileBytes("Paramora.ini"), bom + validBody());
}

struct ValidityCase {
    const char* name;
    std::string from;  // text of the valid file to replace ("" appends)
    std::string to;
    bool valid;
    std::uint16_t width;
};

TEST_F(SettingsFileTest, ValidityRuleAndTheWarningOfABadFile)
{
    const ValidityCase cases[] = {
        {"group names are case-sensitive", "[General]", "[general]", false, 960},
        {"key names are not", "Width = 1000", "WIDTH = 800", true, 800},
        {"units after the number", "Width = 1000", "Width = 800 px", true, 800},
        {"no number at all", "Width = 1000", "Width = px", false, 960},
        {"65536 wraps to 0", "Width = 1000", "Width = 65536", false, 960},
        {"-1 wraps to 65535", "Width = 1000", "Width = -1", true, 65535},
        {"missing key takes its default", "Width = 1000\r\n", "", true, 960},
        {"extra group", "", "[Other]\r\nWidth = 0\r\n", true, 1000},
        {"second General", "", "[General]\r\n", false, 960},
        {"zero column width", "colWidth_AddrEE = 103", "colWidth_AddrEE = 0", false, 960},
        {"zero splitter", "Splitter = 300", "Splitter = 0", false, 960},
        {"missing group", "[ParametersTable]", "[Parameters Table]", false, 960},
    };
    for (const ValidityCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string body = validBody();
        if (c.from.empty())
            body += c.to;
        else
            body.replace(body.find(c.from), c.from.size(), c.to);
        writeFileBytes("Paramora.ini", bom + body);
        messages.clear();
        FilePath.clear();
        loadSettings();
        EXPECT_EQ(windowLayout.width, c.width);
        if (c.valid) {
            EXPECT_TRUE(messages.empty());
            EXPECT_EQ(readFileBytes("Paramora.ini"), bom + body);
            continue;
        }
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].title, warningTitle);
        EXPECT_EQ(messages[0].text, badFormatText);
        EXPECT_EQ(messages[0].icon, gui::Icon::Information);
        expectDefaultsExceptFilePath();
        // FilePath keeps what was read; a General group without it (or none) gives the default folder.
        const bool generalLost = c.from == "[General]" || c.to == "[General]\r\n";
        const std::string expectedPath = generalLost ? defaultFilePath() : folder() + "docs/";
        EXPECT_EQ(FilePath, expectedPath);
        EXPECT_EQ(afterComments(readFileBytes("Paramora.ini")), groupsText(expectedPath, 100, 3, 0, WindowLayout{}));
    }
}

TEST_F(SettingsFileTest, FilePathMustNameAnExistingFolder)
{
    std::filesystem::create_directory("\u043F\u0430\u043F\u043A\u0430");  // "папка" in UTF-8
    const std::string cyrillicFolder = folder() + "\u043F\u0430\u043F\u043A\u0430";
    const std::string cp1251Folder = folder() + "\xEF\xE0\xEF\xEA\xE0";     // the same name in CP1251
    const std::pair<std::string, std::string> cases[] = {
        {bom + "FilePath = " + folder() + "missing/", defaultFilePath()},
        {bom + "FilePath = ", defaultFilePath()},
        {bom + "FilePath = " + folder() + "docs", folder() + "docs/"},
        {bom + "FilePath = " + cyrillicFolder + "/", cyrillicFolder + "/"},
        {"FilePath = " + cyrillicFolder + "/", defaultFilePath()},  // UTF-8 bytes read as Latin-1
        {"FilePath = " + cp1251Folder + "/", defaultFilePath()},
        {"FilePath = " + folder() + "docs/", folder() + "docs/"},   // plain ASCII without the mark
    };
    for (const auto& [line, expected] : cases) {
        SCOPED_TRACE(line);
        std::string body = validBody();
        const std::size_t start = body.find("FilePath");
        body.replace(start, body.find("\r\n", start) - start, line.substr(line.find("FilePath")));
        writeFileBytes("Paramora.ini", line.starts_with(bom) ? bom + body : body);
        messages.clear();
        loadSettings();
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(FilePath, expected);
    }
}

TEST_F(SettingsFileTest, SaveWritesTheCurrentValuesAndLoadReadsThemBack)
{
    FilePath = folder() + "docs/";
    waitTimer = 500;
    repeatCount = 1;
    logOut = 1;
    windowLayout = {windowStateMaximised, 1200, 800, 250, {60, 230, 160, 161, 110, 90, 111, 112}};
    const WindowLayout saved = windowLayout;
    ASSERT_TRUE(saveSettings());
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(afterComments(readFileBytes("Paramora.ini")), groupsText(FilePath, 500, 1, 1, saved));

    FilePath.clear();
    windowLayout = WindowLayout{};
    waitTimer = repeatCount = logOut = 0;
    loadSettings();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(FilePath, folder() + "docs/");
    EXPECT_EQ(waitTimer, 500);
    EXPECT_EQ(repeatCount, 1);
    EXPECT_EQ(logOut, 1);
    EXPECT_EQ(windowLayout.state, saved.state);
    EXPECT_EQ(windowLayout.width, saved.width);
    EXPECT_EQ(windowLayout.columnWidths, saved.columnWidths);
}

// The Comm Window's fields hold a time-out of 0 to 10000 ms and 0 to 5 attempts; a file beyond
// them gives the nearer bound, which the link uses and the next save writes.
TEST_F(SettingsFileTest, LinkLimitsOutOfRangeTakeTheNearerBound)
{
    struct Case {
        const char* wait;
        const char* repeats;
        std::int32_t expectedWait;
        std::int32_t expectedRepeats;
    };
    const Case cases[] = {
        {"99999", "9", 10000, 5},
        {"-5", "-1", 0, 0},
        {"2147483647", "-2147483648", 10000, 0},
        {"10000", "5", 10000, 5},
        {"0", "0", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.wait) + " ms, " + c.repeats + " attempts");
        std::string body = validBody();
        body.replace(body.find("waitTimer = 250"), 15, std::string("waitTimer = ") + c.wait);
        body.replace(body.find("repeatCount = 5"), 15, std::string("repeatCount = ") + c.repeats);
        writeFileBytes("Paramora.ini", bom + body);
        messages.clear();
        loadSettings();
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(waitTimer, c.expectedWait);
        EXPECT_EQ(repeatCount, c.expectedRepeats);
        ASSERT_TRUE(saveSettings());
        const std::string saved = readFileBytes("Paramora.ini");
        EXPECT_NE(saved.find("\r\nwaitTimer = " + std::to_string(c.expectedWait) + "\r\nrepeatCount = " +
                             std::to_string(c.expectedRepeats) + "\r\n"),
                  std::string::npos);
    }
}

TEST_F(SettingsFileTest, FailedSaveReportsAndLeavesTheOldFile)
{
    writeFileBytes("Paramora.ini", bom + validBody());
    {
        FileSizeLimit limit(64);
        EXPECT_FALSE(saveSettings());
    }
    EXPECT_EQ(readFileBytes("Paramora.ini"), bom + validBody());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, errorTitle);
    EXPECT_EQ(messages[0].text, cannotSaveText);
    EXPECT_EQ(messages[0].icon, gui::Icon::Error);

    std::filesystem::remove("Paramora.ini");
    std::filesystem::create_directory("Paramora.ini");
    EXPECT_FALSE(saveSettings());
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_TRUE(std::filesystem::is_directory("Paramora.ini"));
}

// A settings file the user made read-only is theirs to keep: saving reports it, the default file of
// a bad one is not written (silently), and the bytes stay as they were.
TEST_F(SettingsFileTest, WriteProtectedFileIsNeverReplaced)
{
    const std::string badFile = bom + "[General]\r\n";
    for (const std::string& old : {bom + validBody(), badFile}) {
        writeFileBytes("Paramora.ini", old);
        std::filesystem::permissions("Paramora.ini", std::filesystem::perms(0444));
        messages.clear();
        {
            const UnprivilegedUser user(folder());
            if (!user.failure().empty())
                GTEST_SKIP() << user.failure();
            if (!writeProtected("Paramora.ini"))
                GTEST_SKIP() << "this user may write a 0444 file anyway";
            if (old == badFile) {
                loadSettings();
                ASSERT_EQ(messages.size(), 1u);
                EXPECT_EQ(messages[0].text, badFormatText);
            } else {
                EXPECT_FALSE(saveSettings());
                ASSERT_EQ(messages.size(), 1u);
                EXPECT_EQ(messages[0].text, cannotSaveText);
            }
        }
        EXPECT_EQ(readFileBytes("Paramora.ini"), old);
        std::filesystem::remove("Paramora.ini");
    }
}

// A FIFO, a device, a folder or a file far larger than any settings file is a file that cannot be
// opened: the warning and the defaults, and start-up goes on. Only a plain file is ever replaced
// by the default one; anything else in its place, and what a link points to, is left alone.
TEST_F(SettingsFileTest, WhatIsNotAPlainFileOfSaneSizeCannotBeOpened)
{
    int n = 0;
    for (const RefusedFile& c : refusedFiles) {
        SCOPED_TRACE(c.name);
        // Each case in a folder of its own, as the current directory the program reads from.
        const std::string caseFolder = folder() + "case" + std::to_string(++n);
        std::filesystem::create_directory(caseFolder);
        std::filesystem::current_path(caseFolder);
        c.make("Paramora.ini", bom + validBody());
        const auto kind = std::filesystem::symlink_status("Paramora.ini").type();
        if (kind != std::filesystem::file_type::regular) {
            // First, and fatal: a writer that replaced what a link points to would replace /dev/zero.
            PreferenceWriter writer;
            ASSERT_FALSE(writer.create("Paramora.ini"));
        }
        messages.clear();
        FilePath.clear();
        readWithoutBlocking("Paramora.ini", [] { loadSettings(); });
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].title, warningTitle);
        EXPECT_EQ(messages[0].text, cannotOpenText);
        EXPECT_EQ(FilePath, defaultFilePath());
        expectDefaultsExceptFilePath();
        EXPECT_EQ(std::filesystem::symlink_status("Paramora.ini").type(), kind);
        if (kind == std::filesystem::file_type::regular) {
            EXPECT_EQ(afterComments(readFileBytes("Paramora.ini")), groupsText(FilePath, 100, 3, 0, WindowLayout{}));
        } else {
            EXPECT_FALSE(saveSettings());
            EXPECT_EQ(messages.back().text, cannotSaveText);
            EXPECT_EQ(std::filesystem::symlink_status("Paramora.ini").type(), kind);
        }
        std::filesystem::current_path(folder());
    }
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/zero"));
}

}  // namespace
