#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTextBrowser>

#include "platform/gui/gui.h"
#include "platform/help/chm_archive.h"
#include "platform/help/help_window.h"

namespace {

// Built from help-source/ and help-source-western/ (chmcmd Help.hhp in each). Help.chm is a
// Russian file; Western.chm a German one whose page is windows-1252 and declares no charset.
const std::string fixture = std::string(PARAMORA_TEST_FIXTURES) + "/Help.chm";
const std::string westernFixture = std::string(PARAMORA_TEST_FIXTURES) + "/Western.chm";

QTextBrowser* shownBrowser()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<QTextBrowser*>(w); b && b->isVisible())
            return b;
    return nullptr;
}

std::string shownText()
{
    QTextBrowser* browser = shownBrowser();
    return browser ? browser->toPlainText().toStdString() : std::string();
}

bool shows(const char* text) { return shownText().find(text) != std::string::npos; }

TEST(HelpWindow, OpensAtTheDefaultTopicOrANamedOne)
{
    gui::initialise();
    help::showHelp(fixture);
    EXPECT_EQ(help::shownTopic(), "/index.htm");
    help::showHelp(fixture, "Paramora_Connect.htm");
    EXPECT_EQ(help::shownTopic(), "/Paramora_Connect.htm");
    EXPECT_TRUE(shows("Подключение к преобразователю"));
    help::closeHelp();
    EXPECT_EQ(help::shownTopic(), "");
}

// Help files made with the usual tools are often windows-1251; a UTF-8 page that declares nothing,
// or a charset we cannot decode, is still read as UTF-8.
TEST(HelpWindow, DecodesEachPageByTheCharsetItDeclares)
{
    gui::initialise();
    const struct {
        const char* topic;
        const char* text;
    } pages[] = {
        {"Windows1251.htm", "Чтение параметров из преобразователя"},
        {"Paramora_Connect.htm", "Подключение к преобразователю"},
        {"Undeclared.htm", "Страница без объявленной кодировки"},
        {"UnknownCharset.htm", "Страница с неизвестной кодировкой"},
    };
    for (const auto& page : pages) {
        SCOPED_TRACE(page.topic);
        help::showHelp(fixture, page.topic);
        EXPECT_TRUE(shows(page.text));
    }
    help::closeHelp();
}

// Older Russian help files often leave the charset out of windows-1251 pages: such a page reads
// as it would with the declaration.
TEST(HelpWindow, AnUndeclaredPageReadsInTheFilesLanguage)
{
    gui::initialise();
    help::showHelp(fixture, "Windows1251.htm");
    const std::string declared = shownText();
    EXPECT_NE(declared.find("Чтение параметров из преобразователя"), std::string::npos);
    help::showHelp(fixture, "Undeclared1251.htm");
    EXPECT_EQ(shownText(), declared);

    help::showHelp(westernFixture);
    EXPECT_TRUE(shows("Größe und Maße der Geräte")) << shownText();
    help::closeHelp();
}

TEST(HelpWindow, FollowedLinksAreDecodedByTheirOwnCharset)
{
    gui::initialise();
    help::showHelp(fixture, "Windows1251.htm");
    QTextBrowser* browser = shownBrowser();
    ASSERT_NE(browser, nullptr);
    // Each page's only link, taken from the keyboard: to a windows-1251 page without a declaration,
    // and from there to a UTF-8 page.
    const auto followLink = [&] {
        QTest::keyClick(browser, Qt::Key_Tab);
        QTest::keyClick(browser, Qt::Key_Return);
    };
    followLink();
    EXPECT_EQ(help::shownTopic(), "/Undeclared1251.htm");
    EXPECT_TRUE(shows("Чтение параметров из преобразователя"));
    followLink();
    EXPECT_EQ(help::shownTopic(), "/Paramora_Connect.htm");
    EXPECT_TRUE(shows("Подключение к преобразователю"));
    browser->backward();
    EXPECT_EQ(help::shownTopic(), "/Undeclared1251.htm");
    EXPECT_TRUE(shows("Чтение параметров из преобразователя"));
    browser->backward();
    EXPECT_EQ(help::shownTopic(), "/Windows1251.htm");
    EXPECT_TRUE(shows("Чтение параметров из преобразователя"));
    help::closeHelp();
}

TEST(HelpWindow, MissingFileOrTopicShowsNothing)
{
    gui::initialise();
    help::showHelp("/nonexistent/Help.chm");
    EXPECT_EQ(help::shownTopic(), "");
    help::showHelp(fixture, "No_Such_Topic.htm");
    EXPECT_EQ(help::shownTopic(), "");
}

TEST(ChmArchive, ReadsObjectsAndRefusesMissingOnes)
{
    help::ChmArchive archive(fixture);
    ASSERT_TRUE(archive.isOpen());
    EXPECT_EQ(archive.defaultTopic(), "/index.htm");
    EXPECT_FALSE(archive.read("/missing.htm").has_value());
    const auto page = archive.read("/Paramora_Connect.htm");
    ASSERT_TRUE(page.has_value());
    EXPECT_NE(page->find("href=\"index.htm\""), std::string::npos);
}

}  // namespace
