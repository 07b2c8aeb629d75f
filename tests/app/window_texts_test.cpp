#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionHeader>
#include <QTableView>

#include <string>
#include <vector>

#include "app/settings_file.h"
#include "app/window_ids.h"
#include "platform/gui/gui.h"
#include "tests/support/app_harness.h"

namespace {

// The fixed texts of the windows, measured with the font the program draws them in against the
// room the style leaves them in their controls: a wider text is cut off on the screen.
class WindowTextsTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        if (!QFontDatabase::families().contains(QStringLiteral("Liberation Sans")))
            GTEST_SKIP() << "Liberation Sans is not installed (fonts-liberation2, tools/install-deps.sh): the program "
                            "falls back to the desktop's font, which the control sizes are not made for";
    }
};

struct Clipped {
    std::vector<std::string> texts;

    void check(QWidget* widget, const QString& text, int room, int height = -1)
    {
        const QFontMetrics metrics = widget->fontMetrics();
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (const QString& line : lines)
            if (const int needed = metrics.horizontalAdvance(line); needed > room)
                texts.push_back('"' + line.toStdString() + "\" needs " + std::to_string(needed) + " px, has " +
                                std::to_string(room));
        if (height >= 0 && lines.size() * metrics.height() > height)
            texts.push_back('"' + text.toStdString() + "\" needs " + std::to_string(lines.size() * metrics.height()) +
                            " px of height, has " + std::to_string(height));
    }

    void checkButton(QPushButton* button)
    {
        QStyleOptionButton option;
        option.initFrom(button);
        const QRect room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        check(button, button->text(), room.width());
    }

    void checkCheckBox(QCheckBox* box)
    {
        QStyleOptionButton option;
        option.initFrom(box);
        const QRect room = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
        check(box, box->text(), room.width());
    }

    // Every entry, as the closed list shows it when it is the selected one.
    void checkCombo(QComboBox* combo)
    {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
        for (int i = 0; i < combo->count(); ++i)
            check(combo, combo->itemText(i), field.width() - 2);  // the style keeps a pixel free at each side
    }

    void checkGroupBox(QGroupBox* box)
    {
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.subControls = QStyle::SC_GroupBoxLabel;
        const QRect label = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
        check(box, box->title(), box->width() - label.x());
    }

    // The headings as shown at the columns' present widths.
    void checkHeadings(QTableView* table)
    {
        QHeaderView* header = table->horizontalHeader();
        for (int section = 0; section < header->count(); ++section) {
            QStyleOptionHeader option;
            option.initFrom(header);
            option.rect = QRect(0, 0, header->sectionSize(section), header->height());
            const QRect room = header->style()->subElementRect(QStyle::SE_HeaderLabel, &option, header);
            check(header, table->model()->headerData(section, Qt::Horizontal).toString(), room.width());
        }
    }

    // Labels, buttons, check boxes, frames and lists of the window, its status bar included; the
    // tree, the table's cells and the in-place editors hold the description's texts, not fixed ones.
    void checkWindow(QWidget* window)
    {
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(window) || insideItemView(widget))
                continue;
            if (auto* label = qobject_cast<QLabel*>(widget); label && !label->text().isEmpty())
                check(label, label->text(), label->contentsRect().width(), label->contentsRect().height());
            else if (auto* button = qobject_cast<QPushButton*>(widget))
                checkButton(button);
            else if (auto* box = qobject_cast<QCheckBox*>(widget))
                checkCheckBox(box);
            else if (auto* combo = qobject_cast<QComboBox*>(widget))
                checkCombo(combo);
            else if (auto* group = qobject_cast<QGroupBox*>(widget))
                checkGroupBox(group);
        }
    }

    static bool insideItemView(QWidget* widget)
    {
        for (QWidget* w = widget->parentWidget(); w; w = w->parentWidget())
            if (qobject_cast<QAbstractItemView*>(w))
                return true;
        return false;
    }

    std::string report() const
    {
        std::string all;
        for (const auto& text : texts)
            all += "\n  " + text;
        return all;
    }
};

void expectTextsFit(const char* name, int window)
{
    Clipped clipped;
    clipped.checkWindow(gui::windowWidget(window));
    EXPECT_TRUE(clipped.texts.empty()) << name << ":" << clipped.report();
}

TEST_F(WindowTextsTest, EveryFixedTextFitsItsControl)
{
    triggerMenu(cmd::newZr24);  // the widest model name in the status bar
    expectTextsFit("Main Window", win::main);

    triggerMenu(cmd::commSettings);
    ASSERT_TRUE(gui::windowVisible(win::comm));
    expectTextsFit("Comm Window", win::comm);
    gui::postEvent({gui::EventKind::Close, win::comm, 0, gui::EventType::None});
    pump();

    triggerMenu(cmd::monitor);
    expectTextsFit("Monitor Window", win::monitor);

    triggerMenu(cmd::about);
    ASSERT_TRUE(gui::windowVisible(win::about));
    expectTextsFit("About Window", win::about);
}

TEST_F(WindowTextsTest, HeadingsShowWholeAtTheDefaultColumnWidths)
{
    auto* table = qobject_cast<QTableView*>(gui::widgetOf(ctl::table));
    ASSERT_NE(table, nullptr);
    const char* headings[] = {"√",        "Код",          "Название",    "Заданное значение", "Прочитанное значение",
                              "Диапазон", "По умолчанию", "Modbus адр.", "Modbus адр. EEPROM"};
    const WindowLayout defaults;
    for (int section = 0; section < 9; ++section) {
        if (section > 0) {
            EXPECT_EQ(table->columnWidth(section), defaults.columnWidths[section - 1]) << section;
        }
        EXPECT_EQ(table->model()->headerData(section, Qt::Horizontal).toString().toStdString(), headings[section]);
    }
    Clipped clipped;
    clipped.checkHeadings(table);
    EXPECT_TRUE(clipped.texts.empty()) << clipped.report();
}

}  // namespace
