#include <gtest/gtest.h>

#include <QWidget>

#include <string>

#include "app/program_shell.h"
#include "app/settings_file.h"
#include "app/window_ids.h"
#include "platform/gui/gui.h"
#include "tests/support/app_harness.h"

namespace {

// The Main Window's size, divider and column widths as they go from Paramora.ini to the window and
// back through the close box.
class WindowLayoutTest : public AppTest {
protected:
    struct Stored {
        const char* state;
        const char* width;
        const char* height;
        const char* splitter;
    };

    // Ends the running program and starts it again from a settings file with these MainWindow lines.
    void restartWith(const Stored& stored)
    {
        std::string settings = validSettingsFile(folder());
        const auto put = [&](const std::string& key, const char* value) {
            const std::size_t at = settings.find(key + " = ") + key.size() + 3;
            settings.replace(at, settings.find("\r\n", at) - at, value);
        };
        put("State", stored.state);
        put("Width", stored.width);
        put("Height", stored.height);
        put("Splitter", stored.splitter);
        endProgram();
        writeFileBytes("Paramora.ini", settings);
        ASSERT_TRUE(startProgram());
        pump();
    }

    // Ends the program through the close box and reads back what it saved; a file the next start
    // would reject fails the test.
    WindowLayout closeAndReadBack()
    {
        gui::windowWidget(win::main)->close();
        pump();
        EXPECT_FALSE(gui::windowExists(win::main));
        messages.clear();
        loadSettings();
        EXPECT_TRUE(messages.empty()) << "the saved settings file is rejected: " << messages[0].text;
        return windowLayout;
    }
};

TEST_F(WindowLayoutTest, TheTreeKeepsItsWidthWhateverTheWindowsSize)
{
    ASSERT_EQ(gui::splitterPosition(ctl::splitter), 235);
    for (const auto& [w, h] : {std::pair{1400, 900}, {820, 560}, {1200, 700}, {960, 640}}) {
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
        gui::resizeWindow(win::main, w, h);
        pump();
        EXPECT_EQ(gui::splitterPosition(ctl::splitter), 235);
    }
}

// Runs of open and close without touching anything save what they read, so nothing creeps from
// one session to the next.
TEST_F(WindowLayoutTest, OpenAndCloseSavesTheLayoutItRead)
{
    const Stored cases[] = {
        {"0", "960", "640", "235"},
        {"16777216", "960", "640", "235"},
        {"16777216", "1000", "700", "400"},
        {"0", "900", "620", "500"},
        {"536870912", "960", "640", "235"},
    };
    for (const Stored& stored : cases) {
        SCOPED_TRACE(std::string("State ") + stored.state + ", Splitter " + stored.splitter);
        restartWith(stored);
        for (int run = 1; run <= 3; ++run) {
            SCOPED_TRACE("run " + std::to_string(run));
            const WindowLayout saved = closeAndReadBack();
            EXPECT_EQ(saved.state, std::stoi(stored.state));
            EXPECT_EQ(saved.width, std::stoi(stored.width));
            EXPECT_EQ(saved.height, std::stoi(stored.height));
            EXPECT_EQ(saved.splitter, std::stoi(stored.splitter));
            endProgram();
            ASSERT_TRUE(startProgram());
            pump();
        }
    }
}

// 1 x 1 is a valid stored size: the window opens at its minimum, centred and laid out for
// that size, and what it saves is a file the next start accepts.
TEST_F(WindowLayoutTest, ATinyStoredSizeOpensAtTheMinimumAndSavesAValidFile)
{
    restartWith({"0", "1", "1", "235"});
    const gui::Rect inner = gui::windowInnerRect(win::main);
    const gui::Rect screen = gui::availableScreenArea();
    EXPECT_NEAR(inner.x + inner.w / 2, screen.x + screen.w / 2, 10);  // centred at the size it opens at
    EXPECT_NEAR(inner.y + inner.h / 2, screen.y + screen.h / 2, 10);
    const gui::Rect button = gui::controlRect(ctl::readAllButton);
    EXPECT_GT(button.y, 0);
    EXPECT_LE(button.y + button.h, inner.h);
    EXPECT_EQ(gui::controlRect(ctl::splitter).w, inner.w - 35);
    EXPECT_EQ(gui::splitterPosition(ctl::splitter), 235);
    const WindowLayout saved = closeAndReadBack();
    EXPECT_EQ(saved.width, inner.w);
    EXPECT_EQ(saved.height, inner.h);
    EXPECT_EQ(saved.splitter, 235);
}

}  // namespace
