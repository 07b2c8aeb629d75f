#include <gtest/gtest.h>

#include <QApplication>
#include <QTextBrowser>

#include "platform/gui/gui.h"
#include "platform/help/chm_archive.h"
#include "platform/help/help_window.h"

namespace {

const std::string fixture = std::string(PARAMORA_TEST_FIXTURES) + "/Help.chm";

TEST(HelpWindow, OpensAtTheDefaultTopicOrANamedOne)
{
    gui::initialise();
    help::showHelp(fixture);
    EXPECT_EQ(help::shownTopic(), "/index.htm");
    help::showHelp(fixture, "Paramora_Connect.htm");
    EXPECT_EQ(help::shownTopic(), "/Paramora_Connect.htm");

    QTextBrowser* browser = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<QTextBrowser*>(w); b && b->isVisible())
            browser = b;
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("Подключение к преобразователю")));
    help::closeHelp();
    EXPECT_EQ(help::shownTopic(), "");
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
