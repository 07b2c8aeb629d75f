#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTableView>
#include <QTreeView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <functional>
#include <memory>

#include <thread>

#include "platform/gui/dialogs.h"
#include "platform/gui/gui.h"
#include "platform/gui/message_box.h"

namespace {

class GuiLayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gui::initialise();
        gui::closeAllWindows();
        ASSERT_TRUE(gui::openWindow(0, {0, 0, 600, 400}, "Main", gui::sizable | gui::withMenuAndStatus));
        gui::showWindow(0, true);
    }
    void TearDown() override { gui::closeAllWindows(); }

    // Shows a real message box through the layer and, once it is on the screen, hands it to act
    // (the layer's call does not return before the box is answered).
    static void actOnMessageBox(const std::function<void()>& show, const std::function<void(QPointer<QMessageBox>)>& act)
    {
        QTimer driver;
        QObject::connect(&driver, &QTimer::timeout, [&] {
            QPointer<QMessageBox> box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            driver.stop();
            act(box);
        });
        driver.start(10);
        show();
    }

    gui::Event next()
    {
        for (int i = 0; i < 50; ++i) {
            gui::Event e = gui::pollEvent();
            if (e.kind != gui::EventKind::None)
                return e;
        }
        return {};
    }
};

TEST_F(GuiLayerTest, ButtonClickQueuesAControlEventWithItsWindowAndNumber)
{
    gui::button(0, 1, {10, 10, 100, 30}, "Прочитать");
    QTest::mouseClick(gui::widgetOf(1), Qt::LeftButton);
    const gui::Event e = next();
    EXPECT_EQ(e.kind, gui::EventKind::Control);
    EXPECT_EQ(e.window, 0);
    EXPECT_EQ(e.id, 1);
    EXPECT_EQ(gui::text(1), "Прочитать");
}

TEST_F(GuiLayerTest, ProgramSetTextsRaiseNoEventsButTypingDoes)
{
    gui::editField(0, 77, {10, 50, 100, 20});
    gui::setText(77, "100");
    for (gui::Event e = next(); e.kind != gui::EventKind::None; e = next())
        EXPECT_NE(e.type, gui::EventType::Change);
    auto* edit = qobject_cast<QLineEdit*>(gui::widgetOf(77));
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    QTest::keyClicks(edit, "5");
    bool sawChange = false;
    for (gui::Event e = next(); e.kind != gui::EventKind::None; e = next())
        sawChange |= e.id == 77 && e.type == gui::EventType::Change;
    EXPECT_TRUE(sawChange);
    EXPECT_EQ(gui::text(77), "1005");
}

TEST_F(GuiLayerTest, LazyFieldsKeepTheirStateUntilShown)
{
    gui::table(0, 7, {0, 0, 400, 300});
    gui::comboBox(0, 1000, {0, 0, 0, 0}, 7);
    gui::addItem(1000, "0: Нет", 0);
    gui::addItem(1000, "1: Да", 1);
    gui::setState(1000, 1);
    gui::showControl(1000, false);
    EXPECT_EQ(gui::text(1000), "1: Да");
    EXPECT_EQ(gui::itemData(1000, 1), 1);
    auto* combo = qobject_cast<QComboBox*>(gui::widgetOf(1000));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(combo->count(), 2);
    EXPECT_FALSE(combo->isVisible());
}

TEST_F(GuiLayerTest, TableHookRunsAfterTheCheckBoxHasToggled)
{
    gui::table(0, 7, {0, 0, 500, 300});
    gui::tableSetColumns(7, {{"√", 22}, {"Код", 60}, {"Название", 200}});
    for (int r = 0; r < 3; ++r)
        gui::setCellText(7, gui::tableAppendRow(7), 1, "P" + std::to_string(r));
    ASSERT_EQ(gui::tableRowCount(7), 3);
    bool checkedWhenHooked = false;
    int hits = 0;
    gui::setTableHook(7, [&](const gui::TableMessage& m) {
        if (m.kind != gui::TableMessage::LeftButton)
            return;
        const auto [row, column] = gui::tableHitTest(7, m.x, m.y);
        ++hits;
        checkedWhenHooked = row == 1 && column == 0 && gui::rowChecked(7, 1);
    });
    const gui::Rect cell = gui::tableCellRect(7, 1, 0);
    auto* view = qobject_cast<QAbstractItemView*>(gui::widgetOf(7));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(cell.x + 5, cell.y + 3));
    EXPECT_EQ(hits, 1);
    EXPECT_TRUE(checkedWhenHooked);
}

// One notch of the wheel over the middle of a widget; positive turns away from the user.
void turnWheel(QWidget* widget, int notches)
{
    const QPointF centre(widget->width() / 2.0, widget->height() / 2.0);
    QWheelEvent wheel(centre, widget->mapToGlobal(centre), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
}

TEST_F(GuiLayerTest, TheWheelStepsNoListAndNoSpinnerButAnOpenedDropDownScrolls)
{
    gui::comboBox(0, 40, {10, 10, 150, 22});
    for (int i = 0; i < 40; ++i)
        gui::addItem(40, std::to_string(i));
    gui::setState(40, 1);
    gui::spinner(0, 41, {10, 40, 70, 20}, 0, 5);
    gui::setState(41, 3);
    for (int id : {40, 41})
        for (int notches : {1, -1}) {
            SCOPED_TRACE(std::to_string(id) + " " + std::to_string(notches));
            turnWheel(gui::widgetOf(id), notches);
            EXPECT_EQ(gui::state(40), 1);
            EXPECT_EQ(gui::state(41), 3);
        }
    for (gui::Event e = next(); e.kind != gui::EventKind::None; e = next())
        EXPECT_NE(e.type, gui::EventType::Change);

    auto* combo = qobject_cast<QComboBox*>(gui::widgetOf(40));
    combo->showPopup();
    QAbstractItemView* dropDown = combo->view();
    ASSERT_TRUE(dropDown->isVisible());
    const int top = dropDown->verticalScrollBar()->value();
    turnWheel(dropDown->viewport(), -1);
    EXPECT_GT(dropDown->verticalScrollBar()->value(), top);
    combo->hidePopup();
}

TEST_F(GuiLayerTest, AHeadingWiderThanItsColumnEndsInAnEllipsis)
{
    gui::table(0, 7, {0, 0, 500, 300});
    gui::tableSetColumns(7, {{"√", 22}, {"Modbus адр. EEPROM", 60}});
    auto* view = qobject_cast<QTableView*>(gui::widgetOf(7));
    ASSERT_NE(view, nullptr);
    const auto shown = [view] { return view->model()->headerData(1, Qt::Horizontal).toString(); };
    EXPECT_TRUE(shown().startsWith(QStringLiteral("Modbus"))) << shown().toStdString();
    EXPECT_TRUE(shown().endsWith(QChar(0x2026))) << shown().toStdString();
    EXPECT_LT(view->horizontalHeader()->fontMetrics().horizontalAdvance(shown()), 60);

    // Dragged wider, the column shows its whole heading.
    view->horizontalHeader()->resizeSection(1, 300);
    EXPECT_EQ(shown(), QStringLiteral("Modbus адр. EEPROM"));
    EXPECT_EQ(view->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("√"));
}

TEST_F(GuiLayerTest, QtsOwnTextsAreRussian)
{
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_ru.qm")))
        GTEST_SKIP() << "Qt's Russian translations are not installed (qt6-translations-l10n, tools/install-deps.sh)";
    const QRegularExpression cyrillic(QStringLiteral("\\p{Cyrillic}"));
    QStringList english;

    QLineEdit field;
    const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    for (const QAction* action : menu->actions())
        if (!action->isSeparator() && !action->text().contains(cyrillic))
            english << action->text();

    QFileDialog dialog(nullptr, QStringLiteral("Сохранить параметры"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        if (!label->text().isEmpty() && !label->text().contains(cyrillic))
            english << label->text();
    const auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    for (const QPushButton* button : buttons->findChildren<QPushButton*>())
        if (!button->text().contains(cyrillic))
            english << button->text();

    EXPECT_TRUE(english.isEmpty()) << english.join(QStringLiteral(", ")).toStdString();
}

// The file dialog's list gives sizes and dates in Russian whatever the desktop's locale (Qt alone
// says "4 bytes" under LANG=C.UTF-8).
TEST_F(GuiLayerTest, FileDialogListsSizesAndDatesInRussian)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QFile file(folder.filePath(QStringLiteral("four.pmr")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("1234");
    file.close();
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    const QString expectedDate = russian.toString(QFileInfo(file).lastModified(), QLocale::ShortFormat);

    gui::setFileDialogResponder({});
    QString size, date;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        const auto* view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
        const QAbstractItemModel* model = view ? view->model() : nullptr;
        const QModelIndex root = view ? view->rootIndex() : QModelIndex();
        for (int row = 0; model && row < model->rowCount(root); ++row)
            if (model->index(row, 0, root).data().toString() == QStringLiteral("four.pmr")) {
                size = model->index(row, 1, root).data().toString();
                date = model->index(row, 3, root).data().toString();
            }
        if (!size.isEmpty()) {
            driver.stop();
            dialog->reject();
        }
    });
    driver.start(10);
    gui::FileDialogRequest request;
    request.title = "Открыть";
    request.folder = folder.path().toStdString();
    request.patterns = {"Файлы параметров (*.pmr)"};
    EXPECT_FALSE(gui::fileDialog(request));
    EXPECT_EQ(size.toStdString(), russian.formattedDataSize(4).toStdString());
    EXPECT_EQ(date.toStdString(), expectedDate.toStdString());
}

TEST_F(GuiLayerTest, TreeIndexesFollowInsertionOrderAndProgramSelectionIsSilent)
{
    gui::tree(0, 6, {0, 0, 200, 300});
    EXPECT_EQ(gui::treeAddItem(6, 0, "Все параметры"), 0);
    EXPECT_EQ(gui::treeAddItem(6, 1, "Группа P0 - Базовые функции"), 1);
    EXPECT_EQ(gui::treeAddItem(6, 2, "P0.0 - Базовая группа"), 2);
    EXPECT_EQ(gui::treeAddItem(6, 1, "Группа P1"), 3);
    gui::treeExpandAll(6);
    gui::treeSelect(6, 2);
    EXPECT_EQ(gui::treeSelected(6), 2);
    EXPECT_EQ(next().kind, gui::EventKind::None);
    EXPECT_EQ(gui::treeItemText(6, 3), "Группа P1");
}

// Typing an item's name selects it; the name goes on while the keys were typed within the
// interval of each other, by their own times, however late they are handled (keys held while the
// program was busy come together, or each after the program has handled the one before).
TEST_F(GuiLayerTest, TypingAnItemsNameIsTimedByTheKeys)
{
    gui::tree(0, 6, {0, 0, 200, 300});
    const std::pair<int, const char*> items[] = {{0, "Все параметры"}, {1, "Группа P0"}, {2, "P0.0 - Базовая группа"},
                                                 {2, "P0.1"},          {1, "Группа P3"}, {2, "P3.2 - Защита"}};
    for (const auto& [level, text] : items)
        gui::treeAddItem(6, level, text);
    gui::treeExpandAll(6);
    auto* tree = gui::widgetOf(6);
    const int interval = QApplication::keyboardInputInterval();
    QApplication::setKeyboardInputInterval(100);
    struct Case {
        const char* name;
        int typedApartMs;    // by the keys' own times (0: keys without a time)
        int handledApartMs;  // by when the program handles them
        int selected;
    } cases[] = {
        {"typed quickly, handled late", 20, 250, 5},
        {"typed quickly, handled at once", 20, 0, 5},
        {"typed slowly, handled at once: each key a new name", 400, 0, 2},
        {"keys without a time, handled quickly", 0, 0, 5},
    };
    for (const Case& c : cases) {
        gui::treeSelect(6, 0);
        quint64 time = 1000000;
        for (const char key : std::string("P3.2")) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(key)));
            press.setTimestamp(c.typedApartMs ? (time += static_cast<quint64>(c.typedApartMs)) : 0);
            QApplication::sendEvent(tree, &press);
            std::this_thread::sleep_for(std::chrono::milliseconds(c.handledApartMs));
        }
        EXPECT_EQ(gui::treeSelected(6), c.selected) << c.name;
    }
    QApplication::setKeyboardInputInterval(interval);
    while (next().kind != gui::EventKind::None) {
    }
}

// The tree and the table's highlighted row move from item to item as the user clicks, but no
// gesture leaves them with nothing selected, and the tree reports no change meanwhile.
TEST_F(GuiLayerTest, SingleSelectionViewsKeepTheirSelectedItem)
{
    gui::tree(0, 6, {0, 0, 200, 300});
    for (const char* item : {"Измененные параметры", "Отмеченные параметры", "Все параметры"})
        gui::treeAddItem(6, 0, item);
    gui::table(0, 7, {200, 0, 400, 300});
    gui::tableSetColumns(7, {{"√", 22}, {"Код", 60}});
    for (int r = 0; r < 3; ++r)
        gui::setCellText(7, gui::tableAppendRow(7), 1, "P0.0.0" + std::to_string(r));
    auto* tree = qobject_cast<QAbstractItemView*>(gui::widgetOf(6));
    auto* table = qobject_cast<QAbstractItemView*>(gui::widgetOf(7));
    const auto selectedRows = [](QAbstractItemView* view) {
        std::vector<int> rows;
        for (const QModelIndex& index : view->selectionModel()->selectedIndexes())
            if (index.column() == 0)
                rows.push_back(index.row());
        return rows;
    };
    struct Gesture {
        const char* what;
        std::function<void(QAbstractItemView*)> make;
    };
    const auto itemCentre = [](QAbstractItemView* view) { return view->visualRect(view->currentIndex()).center(); };
    for (const Gesture& g : {Gesture{"Ctrl with a click", [&](QAbstractItemView* v) {
                                 QTest::mouseClick(v->viewport(), Qt::LeftButton, Qt::ControlModifier, itemCentre(v));
                             }},
                             Gesture{"Ctrl+Space", [](QAbstractItemView* v) {
                                 v->setFocus();
                                 QTest::keyClick(v, Qt::Key_Space, Qt::ControlModifier);
                             }},
                             Gesture{"a click below the items", [](QAbstractItemView* v) {
                                 QTest::mouseClick(v->viewport(), Qt::LeftButton, {},
                                                   QPoint(10, v->viewport()->height() - 5));
                             }},
                             Gesture{"Ctrl with a click below the items", [](QAbstractItemView* v) {
                                 QTest::mouseClick(v->viewport(), Qt::LeftButton, Qt::ControlModifier,
                                                   QPoint(10, v->viewport()->height() - 5));
                             }}}) {
        SCOPED_TRACE(g.what);
        gui::treeSelect(6, 1);
        gui::tableSelectRow(7, 1);
        for (QAbstractItemView* view : {tree, table}) {
            g.make(view);
            EXPECT_EQ(selectedRows(view), std::vector<int>{1});
        }
        EXPECT_EQ(gui::treeSelected(6), 1);
        EXPECT_EQ(next().kind, gui::EventKind::None);
    }
}

TEST_F(GuiLayerTest, MenuCommandsArriveAsMenuEventsAndKeepTheirStates)
{
    gui::menuBegin(0, "Файл");
    gui::submenuBegin("Новый");
    gui::menuItem(14, "ПЧ Tovik Zr12");
    gui::submenuEnd();
    gui::menuItem(3, "Сохранить", false);
    EXPECT_FALSE(gui::menuItemEnabled(3));
    gui::enableMenuItem(3, true);
    EXPECT_TRUE(gui::menuItemEnabled(3));
    EXPECT_EQ(gui::menuItemText(14), "ПЧ Tovik Zr12");
}

TEST_F(GuiLayerTest, TextAreaKeepsAnEmptyFirstLine)
{
    gui::textArea(0, 31, {0, 0, 300, 200});
    gui::appendLine(31, "");
    gui::appendLine(31, "Читаем параметр: P0.0.05");
    EXPECT_EQ(gui::text(31), "\nЧитаем параметр: P0.0.05");
    gui::setText(31, "");
    gui::appendLine(31, "a");
    EXPECT_EQ(gui::text(31), "a");
}

// During a long command the windows catch up once per frame: trace lines into the areas on screen,
// the progress bar; a hidden area takes its lines when the loop waits again. The program reads
// the latest values at any time.
TEST_F(GuiLayerTest, ALongCommandsScreenWorkWaitsForAFrameAndIsNeverLost)
{
    gui::statusFields(0, {gui::StatusField{200}});
    gui::statusProgress(0, 0);
    auto* bar = gui::windowWidget(0)->findChild<QProgressBar*>();
    gui::textArea(0, 31, {0, 0, 300, 200});
    ASSERT_TRUE(gui::openWindow(1, {0, 0, 300, 200}, "Hidden", gui::closeBox));
    gui::textArea(1, 32, {0, 0, 300, 200});
    auto lines = [](int id) { return qobject_cast<QPlainTextEdit*>(gui::widgetOf(id))->toPlainText().toStdString(); };

    gui::setProgressRange(0, 10);
    gui::setProgress(0, 3);
    gui::setProgress(0, 11);  // out of range: ignored, as the bar does
    gui::appendLine(31, "shown");
    gui::appendLine(32, "hidden");
    EXPECT_EQ(gui::progress(0), 3);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(lines(31), "");

    std::this_thread::sleep_for(std::chrono::milliseconds(250));  // a frame is due, however slow the last
    gui::repaintWithoutInput();  // a frame takes two calls: into the widgets, then painted
    gui::repaintWithoutInput();
    EXPECT_EQ(bar->value(), 3);
    EXPECT_EQ(lines(31), "shown");
    EXPECT_EQ(lines(32), "");

    gui::appendLine(32, "later");
    gui::pollEvent();
    EXPECT_EQ(lines(32), "hidden\nlater");
}

// Disabling a window for a window it owns takes the keyboard from its controls; enabling it gives
// the keyboard back to the control that had it, or, for an editor hidden meanwhile, to the table
// around it.
TEST_F(GuiLayerTest, AReenabledWindowGivesTheKeyboardBackToItsControl)
{
    gui::table(0, 7, {0, 0, 400, 300});
    gui::editField(0, 1000, {10, 10, 100, 20}, 7);
    gui::button(0, 1, {10, 320, 100, 30}, "Прочитать");
    struct Case {
        const char* what;
        int focused;
        bool hideFocused;
        int expected;
    };
    for (const Case& c : {Case{"button", 1, false, 1}, Case{"editor in the table", 1000, false, 1000},
                          Case{"editor hidden meanwhile", 1000, true, 7}}) {
        SCOPED_TRACE(c.what);
        gui::showControl(1000, true);
        gui::widgetOf(c.focused)->setFocus();
        ASSERT_EQ(gui::windowWidget(0)->focusWidget(), gui::widgetOf(c.focused));
        gui::enableWindow(0, false);
        if (c.hideFocused)
            gui::showControl(c.focused, false);
        gui::enableWindow(0, true);
        EXPECT_EQ(gui::windowWidget(0)->focusWidget(), gui::widgetOf(c.expected));
    }
}

// While the main window is disabled for a window it owns, activating the main window (the program,
// or the window manager after a click on its title bar) activates the owned window instead.
TEST_F(GuiLayerTest, ADisabledWindowHandsItsActivationToTheWindowItWaitsFor)
{
    ASSERT_TRUE(gui::openWindow(2, {0, 0, 300, 190}, "О программе", gui::closeBox, 0));
    ASSERT_TRUE(gui::openWindow(1, {10, 10, 355, 240}, "Монитор", gui::closeBox | gui::alwaysOnTop, 0));
    gui::showWindow(1, true, false);
    gui::showWindow(2, true);
    gui::enableWindow(0, false);
    auto activeAfter = [](const std::function<void()>& activate) {
        activate();
        QApplication::processEvents();
        return QApplication::activeWindow();
    };
    EXPECT_EQ(activeAfter([] { gui::activateWindow(0); }), gui::windowWidget(2));
    EXPECT_EQ(activeAfter([] { gui::windowWidget(0)->activateWindow(); }), gui::windowWidget(2));
    gui::closeWindow(2);
    gui::enableWindow(0, true);
    EXPECT_EQ(activeAfter([] { gui::activateWindow(0); }), gui::windowWidget(0));
}

// A window the disabled main window waits for comes back when a window manager minimises it, and
// again when it is shown after being hidden minimised; minimised along with the main window, it
// stays so until the main window comes back.
TEST_F(GuiLayerTest, AMinimisedWindowThatTheMainWindowWaitsForComesBack)
{
    ASSERT_TRUE(gui::openWindow(4, {0, 0, 340, 335}, "Настройки подключения", gui::closeBox, 0));
    gui::showWindow(4, true);
    gui::enableWindow(0, false);
    QWidget* comm = gui::windowWidget(4);
    auto settle = [] {
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
    };

    comm->setWindowState(Qt::WindowMinimized);
    settle();
    EXPECT_EQ(gui::windowState(4), gui::WindowState::Normal);
    EXPECT_EQ(QApplication::activeWindow(), comm);

    gui::setWindowState(0, gui::WindowState::Minimised);
    comm->setWindowState(Qt::WindowMinimized);
    settle();
    EXPECT_EQ(gui::windowState(4), gui::WindowState::Minimised);
    gui::setWindowState(0, gui::WindowState::Normal);
    gui::windowWidget(0)->activateWindow();
    settle();
    EXPECT_EQ(gui::windowState(4), gui::WindowState::Normal);
    EXPECT_EQ(QApplication::activeWindow(), comm);

    gui::showWindow(4, false);
    comm->setWindowState(Qt::WindowMinimized);
    gui::showWindow(4, true);
    EXPECT_EQ(gui::windowState(4), gui::WindowState::Normal);
}

// So does a message box over that window, and the window itself when both were minimised.
TEST_F(GuiLayerTest, AMinimisedMessageBoxOverAnOwnedWindowComesBack)
{
    gui::setMessageBoxResponder({});
    ASSERT_TRUE(gui::openWindow(4, {0, 0, 340, 335}, "Настройки подключения", gui::closeBox, 0));
    gui::showWindow(4, true);
    gui::enableWindow(0, false);
    bool boxBack = false, commBack = false, boxActive = false;
    actOnMessageBox([] { gui::messageBox("Ошибка", "Текущий порт недоступен!", gui::Icon::Error); },
                    [&](QPointer<QMessageBox> box) {
                        EXPECT_EQ(box->parentWidget(), gui::windowWidget(4));
                        gui::windowWidget(4)->setWindowState(Qt::WindowMinimized);
                        box->setWindowState(Qt::WindowMinimized);
                        for (int i = 0; i < 5; ++i)
                            QApplication::processEvents();
                        boxBack = box && !box->isMinimized();
                        commBack = !gui::windowWidget(4)->isMinimized();
                        boxActive = box && QApplication::activeWindow() == box;
                        if (box)
                            QTest::mouseClick(box->buttons().front(), Qt::LeftButton);
                    });
    EXPECT_TRUE(boxBack);
    EXPECT_TRUE(commBack);
    EXPECT_TRUE(boxActive);
}

TEST_F(GuiLayerTest, CloseBoxOnlyReports)
{
    gui::windowWidget(0)->close();
    const gui::Event e = next();
    EXPECT_EQ(e.kind, gui::EventKind::Close);
    EXPECT_EQ(e.window, 0);
    EXPECT_TRUE(gui::windowExists(0));
}

// The real box, offscreen: a question is answered only by its two buttons. Escape and the close
// box leave it standing; each button gives its own answer.
TEST_F(GuiLayerTest, AQuestionBoxIsAnsweredOnlyByItsButtons)
{
    gui::setMessageBoxResponder({});
    for (const auto& [text, answer] : {std::pair{"Да", gui::Answer::Yes}, std::pair{"Нет", gui::Answer::No}}) {
        const char* const buttonText = text;  // older clang cannot capture a structured binding
        SCOPED_TRACE(buttonText);
        bool standsAfterEscape = false, standsAfterClose = false, clicked = false;
        gui::Answer got = gui::Answer::Ok;
        actOnMessageBox(
            [&] { got = gui::messageBox("Внимание", "Желаете сохранить?", gui::Icon::Question, gui::Buttons::YesNo); },
            [&](QPointer<QMessageBox> box) {
                QWidget* focused = box->focusWidget() ? box->focusWidget() : box.data();
                QTest::keyClick(focused, Qt::Key_Escape);
                standsAfterEscape = box && box->isVisible();
                if (box)
                    box->close();
                standsAfterClose = box && box->isVisible();
                if (!box)
                    return;
                for (QAbstractButton* button : box->buttons())
                    if (button->text() == QString::fromUtf8(buttonText)) {
                        QTest::mouseClick(button, Qt::LeftButton);
                        clicked = true;
                    }
            });
        EXPECT_TRUE(standsAfterEscape);
        EXPECT_TRUE(standsAfterClose);
        EXPECT_TRUE(clicked);
        EXPECT_EQ(got, answer);
    }
}

}  // namespace
