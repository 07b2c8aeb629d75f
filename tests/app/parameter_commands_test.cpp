// Reading and writing parameters end to end: the table's buttons and popups, the simulated
// device's registers, the trace and the row colours.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QTextBlock>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/parameter_table.h"
#include "app/program_state.h"
#include "app/window_ids.h"
#include "description/description_store.h"
#include "description/value_text.h"
#include "link/modbus_request.h"
#include "link/port_scan.h"
#include "link/request_limits.h"
#include "tests/link/link_test_buffers.h"
#include "tests/support/device_app_harness.h"
#include "tests/support/late_devices.h"
#include "tests/support/trace_text.h"

namespace {

using Lines = std::vector<std::string>;

std::string word(std::uint16_t value)
{
    const std::uint8_t bytes[] = {static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value & 0xFF)};
    return hexBytesText(bytes, 2);
}

class ParameterCommands : public DeviceAppTest {
protected:
    explicit ParameterCommands(DeviceOptions options = {.baud = 115200}) : DeviceAppTest(options) {}

    void SetUp() override
    {
        DeviceAppTest::SetUp();
        device.setHoldingRegister(0x5504, 18000);
        connectTo(0, device.options().ascii ? 1 : 0);  // a new Zr12 document
        ASSERT_NE(connectedPort, 0);
        // The device answers at once: requests are counted and traces compared whole, and a busy
        // machine must not turn a slow answer into one more attempt. Silent devices shorten it.
        waitTimer = 5000;
        device.clearRequests();
    }

    // A popup command on a row, as the user picks it after a right click in the column.
    void popupCommand(const std::string& code, int column, int command)
    {
        clickCell(rowOfCode(code), column, Qt::RightButton);
        if (QWidget* popup = QApplication::activePopupWidget())
            QTest::keyClick(popup, Qt::Key_Escape);
        triggerMenu(command);
    }

    void enterSetValue(const std::string& code, const std::string& text)
    {
        const int key = findParameterByCode(code)->optionKey;
        clickCell(rowOfCode(code), column::set);
        qobject_cast<QLineEdit*>(gui::widgetOf(key))->selectAll();
        typeInto(key, text);
        pressReturn(key);
    }

    gui::Rgb cellColour(const std::string& code, int column) { return gui::cellColour(ctl::table, rowOfCode(code), column); }

    // What the windows show once the program waits again: the bar, the trace's last line, and
    // the code cell's colour as painted (the offscreen screen gives the window's painted pixels).
    int shownProgress() { return gui::windowWidget(win::main)->findChild<QProgressBar*>()->value(); }
    std::string shownLastTraceLine()
    {
        auto* area = qobject_cast<QPlainTextEdit*>(gui::widgetOf(ctl::traceText));
        return area->document()->lastBlock().text().toStdString();
    }
    QColor paintedCodeColour(int row)
    {
        QWidget* window = gui::windowWidget(win::main);
        auto* view = qobject_cast<QTableView*>(gui::widgetOf(ctl::table));
        const gui::Rect cell = gui::tableCellRect(ctl::table, row, column::code);
        // The cell's right end, clear of its text.
        const QPoint at = view->viewport()->mapTo(window, QPoint(cell.x + cell.w - 3, cell.y + cell.h / 2));
        const QImage painted = window->screen()->grabWindow(window->winId()).toImage();
        return painted.pixelColor(at);
    }
    static QColor qcolour(gui::Rgb c) { return QColor(c.r, c.g, c.b); }
};

TEST_F(ParameterCommands, ReadWriteAndEepromWriteOfOneParameter)
{
    Parameter& p = *findParameterByCode("P0.0.05");  // 0.00 ... 50.00 Hz, default 50.00
    ASSERT_NE(p.address, p.eepromAddress);
    device.setHoldingRegister(p.address, 4000);

    std::size_t mark = traceLines().size();
    popupCommand("P0.0.05", column::read, cmd::readCurrent);
    EXPECT_EQ(timeless(traceSince(mark)),
              (Lines{"", "Читаем параметр: P0.0.05", "Запрос 1: " + frameWithCrc("01 03 " + word(p.address) + "00 01"),
                     "Ответ через # мс: " + frameWithCrc("01 03 02 0F A0"), "Проверка CRC16 OK",
                     "Значение регистра: 4000"}));
    EXPECT_EQ(p.readValue, 4000);
    EXPECT_EQ(gui::cellText(ctl::table, rowOfCode("P0.0.05"), column::read), "40.00");
    EXPECT_EQ(cellColour("P0.0.05", column::code), colourReadWritten);
    EXPECT_EQ(cellColour("P0.0.05", column::name), colourChanged);
    EXPECT_EQ(cellColour("P0.0.05", column::read), colourNotDefault);

    enterSetValue("P0.0.05", "25");
    mark = traceLines().size();
    popupCommand("P0.0.05", column::set, cmd::writeCurrent);
    EXPECT_EQ(timeless(traceSince(mark)),
              (Lines{"", "Записываем параметр: P0.0.05", "Запрос 1: " + frameWithCrc("01 06 " + word(p.address) + "09 C4"),
                     "Ответ через # мс : " + frameWithCrc("01 06 " + word(p.address) + "09 C4"), "Проверка CRC16 OK",
                     "Значение регистра 2500 записано"}));
    EXPECT_EQ(device.holdingRegister(p.address), 2500);
    EXPECT_EQ(p.readValue, 2500);
    EXPECT_EQ(gui::cellText(ctl::table, rowOfCode("P0.0.05"), column::read), "25.00");
    EXPECT_EQ(cellColour("P0.0.05", column::name), gui::Rgb::none());

    enterSetValue("P0.0.05", "30");
    popupCommand("P0.0.05", column::set, cmd::writeCurrentEeprom);
    EXPECT_EQ(device.holdingRegister(p.eepromAddress), 3000);
    EXPECT_EQ(device.holdingRegister(p.address), 2500);
    EXPECT_EQ(device.requests().size(), 3u);
    for (const char* tag : {"#Popup_Read_Current", "#Popup_Write_Current", "#Popup_Write_Current_EE"})
        EXPECT_NE(std::find(logLines().begin(), logLines().end(), tag), logLines().end()) << tag;
}

TEST_F(ParameterCommands, SignedParametersReadSignExtendedAndWriteTheirLowWord)
{
    Parameter& p = *findParameterByCode("P1.1.15");  // -200.0 ... 200.0
    device.setHoldingRegister(p.address, 0xFFF6);
    popupCommand("P1.1.15", column::read, cmd::readCurrent);
    EXPECT_EQ(p.readValue, -10);
    // The trace shows the register word as it came, like the write confirmation does.
    EXPECT_EQ(traceLines().back(), "Значение регистра: 65526");
    EXPECT_EQ(gui::cellText(ctl::table, rowOfCode("P1.1.15"), column::read), "-1.0");

    enterSetValue("P1.1.15", "-0.1");
    popupCommand("P1.1.15", column::set, cmd::writeCurrent);
    EXPECT_EQ(device.holdingRegister(p.address), 0xFFFF);
    EXPECT_EQ(traceLines().back(), "Значение регистра 65535 записано");
    EXPECT_EQ(p.readValue, -1);
}

TEST_F(ParameterCommands, ReadAllOverASubgroupFillsTheReadColumn)
{
    selectTreeItem(4);  // P0.0
    const int rows = gui::tableRowCount(ctl::table);
    ASSERT_GT(rows, 20);
    device.setHoldingRegister(findParameterByCode("P0.0.01")->address, 1);
    device.setHoldingRegister(findParameterByCode("P0.0.03")->address, 7);  // no option has 7
    device.setHoldingRegister(findParameterByCode("P0.0.06")->address, 2);
    clickButton(ctl::readAllButton);

    EXPECT_TRUE(messages.empty());  // a subgroup is read without asking
    EXPECT_EQ(static_cast<int>(device.requests().size()), rows);
    EXPECT_EQ(requestsWithFunction(device.requests(), 3), rows);
    EXPECT_EQ(gui::progress(win::main), rows);
    for (int row = 0; row < rows; ++row)
        EXPECT_EQ(gui::cellColour(ctl::table, row, column::code), colourReadWritten) << row;

    const Parameter& displayMode = *findParameterByCode("P0.0.01");
    EXPECT_EQ(gui::cellText(ctl::table, rowOfCode("P0.0.01"), column::read), valueCellText(displayMode, 1));
    EXPECT_EQ(gui::cellText(ctl::table, rowOfCode("P0.0.01"), column::read).substr(0, 3), "1: ");
    EXPECT_EQ(gui::cellText(ctl::table, rowOfCode("P0.0.03"), column::read), "");
    EXPECT_EQ(gui::cellText(ctl::table, rowOfCode("P0.0.06"), column::read).substr(0, 3), "2: ");
    EXPECT_EQ(findParameterByCode("P0.0.03")->readValue, 7);
    // Read 1, set and default 0: changed and not at the default.
    EXPECT_EQ(cellColour("P0.0.01", column::name), colourChanged);
    EXPECT_EQ(cellColour("P0.0.01", column::read), colourNotDefault);
    EXPECT_EQ(cellColour("P0.0.02", column::read), gui::Rgb::none());  // read 0, default 0
    EXPECT_EQ(logLines().back(), "Значение регистра: 0");
    EXPECT_EQ(documentState, 1);
}

// The rows, the bar and the trace reach the screen in batches while read all runs; the last batch
// must not be lost, whether the command runs to its end or stops on a lost port.
TEST_F(ParameterCommands, TheEndOfReadAllIsOnScreen)
{
    selectTreeItem(4);  // P0.0
    gui::resizeWindow(win::main, 960, 420);  // shows fewer rows than it has
    pump();
    const int rows = gui::tableRowCount(ctl::table);
    auto* view = qobject_cast<QTableView*>(gui::widgetOf(ctl::table));
    const int lastOnScreen = view->rowAt(view->viewport()->height() - 1) - 1;  // shown whole
    ASSERT_GT(lastOnScreen, 0);
    ASSERT_LT(lastOnScreen, rows - 1);
    const Parameter& last = *findParameterByKey(RowToKey.read(rows - 1));
    device.setHoldingRegister(last.address, 3);
    clickButton(ctl::readAllButton);

    EXPECT_EQ(shownProgress(), rows);
    EXPECT_EQ(shownLastTraceLine(), "Значение регистра: 3");
    for (int row : {0, lastOnScreen})
        EXPECT_EQ(paintedCodeColour(row), qcolour(colourReadWritten)) << row;
    // Rows read while out of sight are painted as they scroll in.
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    pump();
    EXPECT_EQ(paintedCodeColour(rows - 1), qcolour(colourReadWritten));

    // The port goes away in the fourth row's reply, which ends the command there.
    view->verticalScrollBar()->setValue(0);
    for (int row = 0; row < rows; ++row)
        gui::setCellColour(ctl::table, row, column::code, gui::Rgb::none());
    pump();
    device.queueFault(Fault{}, 3);
    device.queueFault(Fault::vanish(3));
    clickButton(ctl::readAllButton);
    ASSERT_EQ(connectedPort, 0);
    EXPECT_EQ(shownProgress(), 4);
    EXPECT_EQ(shownLastTraceLine(), traceLines().back());
    EXPECT_EQ(paintedCodeColour(2), qcolour(colourReadWritten));
    EXPECT_EQ(paintedCodeColour(3), qcolour(colourFailed));
    EXPECT_EQ(paintedCodeColour(4), view->palette().color(QPalette::Base));
}

TEST_F(ParameterCommands, WholeListCommandsAskFirst)
{
    // "Все параметры" is selected after a new document.
    answers.push_back(gui::Answer::No);
    clickButton(ctl::readAllButton);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Подтверждение");
    EXPECT_EQ(messages[0].icon, gui::Icon::Question);
    EXPECT_EQ(messages[0].text, "Прочитать все параметры ПЧ?\rЧтение большого количества параметров может затормозить "
                                "систему и/или ПЧ.\rРекомендуется читать при выборе определенной группы или "
                                "использовать контекстное меню.");
    EXPECT_EQ(logLines().back(), "#Button_ReadParameters");

    answers.push_back(gui::Answer::No);
    clickButton(ctl::writeAllButton);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].text, "Записать все параметры текущего списка?\rЗапись большого количества параметров может "
                                "затормозить систему и/или ПЧ.\rБудут записаны все параметры, а не только "
                                "измененные.\rРекомендуется записывать из раздела \"Измененные параметры\" или "
                                "использовать контекстное меню.");
    EXPECT_TRUE(device.requests().empty());
    EXPECT_EQ(gui::progress(win::main), 0);
}

// While the read all runs, the user picks Connection, "Отключить" and then clicks "Прочитать": the
// read all ends, the disconnect follows, and the click on the button it disabled does nothing (no
// second question, no read on the closed port).
TEST_F(ParameterCommands, ADisconnectAndAReadGivenDuringReadAllNeverReadTheClosedPort)
{
    bool clicked = false;
    gui::setMessageBoxResponder([&](const gui::MessageBoxCall& call) {
        messages.push_back(call);
        if (!clicked) {
            clicked = true;
            gui::menuAction(cmd::disconnect)->trigger();
            QTest::mouseClick(gui::widgetOf(ctl::readAllButton), Qt::LeftButton);
        }
        return gui::Answer::Yes;
    });
    clickButton(ctl::readAllButton);  // "Все параметры": asked first
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Подтверждение");
    EXPECT_EQ(connectedPort, 0);
    EXPECT_EQ(gui::progress(win::main), gui::tableRowCount(ctl::table));
    const Lines log = logLines();
    EXPECT_EQ(std::count(log.begin(), log.end(), "#Button_ReadParameters"), 1);
    EXPECT_EQ(log.back(), "#Button_Disconnect");
}

TEST_F(ParameterCommands, WriteAllOfTheChangedParametersWritesThemWithoutAsking)
{
    enterSetValue("P0.0.05", "12.5");
    enterSetValue("P0.0.11", "20");
    selectTreeItem(0);  // "Измененные параметры"
    ASSERT_EQ(gui::tableRowCount(ctl::table), 2);
    clickButton(ctl::writeAllButton);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(requestsWithFunction(device.requests(), 6), 2);
    EXPECT_EQ(device.holdingRegister(findParameterByCode("P0.0.05")->address), 1250);
    EXPECT_EQ(device.holdingRegister(findParameterByCode("P0.0.11")->address), 200);
    EXPECT_EQ(gui::progress(win::main), 2);
}

TEST_F(ParameterCommands, AFailedRequestPaintsOnlyTheCodeCell)
{
    Parameter& p = *findParameterByCode("P0.0.05");
    waitTimer = 60;
    device.queueFault(Fault::noReply(), 3);
    popupCommand("P0.0.05", column::read, cmd::readCurrent);
    EXPECT_EQ(p.readValue, 5000);
    EXPECT_EQ(gui::cellText(ctl::table, rowOfCode("P0.0.05"), column::read), "50.00");
    EXPECT_EQ(cellColour("P0.0.05", column::code), colourFailed);
    EXPECT_EQ(cellColour("P0.0.05", column::read), gui::Rgb::none());

    // A read reply without data: its CRC is no value.
    device.queueFault(Fault::replaceWith(hexBytes("01 03 00")), 3);
    popupCommand("P0.0.05", column::read, cmd::readCurrent);
    EXPECT_EQ(p.readValue, 5000);
    EXPECT_EQ(gui::cellText(ctl::table, rowOfCode("P0.0.05"), column::read), "50.00");
    EXPECT_EQ(cellColour("P0.0.05", column::code), colourFailed);

    // An echo of another value: the device did not take it.
    enterSetValue("P0.0.05", "10");
    device.queueFault(Fault::replaceWith(hexBytes("01 06 " + word(p.address) + "00 01")), 3);
    popupCommand("P0.0.05", column::set, cmd::writeCurrent);
    EXPECT_EQ(p.readValue, 5000);
    EXPECT_EQ(cellColour("P0.0.05", column::code), colourFailed);
    device.clearFaults();

    // A value that does not fit a register word is not sent at all.
    device.clearRequests();
    p.setValue = 70000;
    const std::size_t mark = traceLines().size();
    popupCommand("P0.0.05", column::set, cmd::writeCurrent);
    EXPECT_TRUE(device.requests().empty());
    EXPECT_EQ(traceSince(mark), (Lines{"", "Записываем параметр: P0.0.05",
                                       "Значение 70000 не помещается в регистр, запись не выполнена"}));
    EXPECT_EQ(cellColour("P0.0.05", column::code), colourFailed);
}

// A device that falls silent after Connect (powered off, its cable pulled) costs each row its
// attempts: once a whole wait for late answers has passed in silence, no row waits again. The
// attempts alone of P0.0's 25 rows take 7.5 s; the bound is a correctness bound, not a speed
// target: waiting after every row would take 17.5 s.
TEST_F(ParameterCommands, ReadAllOfASilentDeviceCostsEachRowItsAttempts)
{
    selectTreeItem(4);  // P0.0
    const int rows = gui::tableRowCount(ctl::table);
    ASSERT_EQ(rows, 25);
    waitTimer = 100;
    repeatCount = 3;
    device.queueFault(Fault::noReply(), 3 * rows);
    const auto start = std::chrono::steady_clock::now();
    clickButton(ctl::readAllButton);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(static_cast<int>(device.requests().size()), 3 * rows);
    for (int row = 0; row < rows; ++row)
        EXPECT_EQ(gui::cellColour(ctl::table, row, column::code), colourFailed) << row;
    EXPECT_LE(took, std::chrono::milliseconds(11750));
}

TEST_F(ParameterCommands, ALostPortStopsReadAllAfterOneMessageAndDisconnects)
{
    selectTreeItem(4);
    device.vanish();
    const std::size_t mark = traceLines().size();
    clickButton(ctl::readAllButton);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Текущий порт недоступен!");
    EXPECT_EQ(connectedPort, 0);
    EXPECT_FALSE(gui::controlEnabled(ctl::readAllButton));
    EXPECT_FALSE(gui::controlEnabled(ctl::writeAllButton));
    EXPECT_TRUE(gui::menuItemEnabled(cmd::fileOpen));
    EXPECT_EQ(logLines().back(), "#Button_Disconnect");
    // The first row found the port gone before sending; the rest were never tried.
    EXPECT_EQ(traceSince(mark), (Lines{"", "Читаем параметр: " + findParameterByKey(RowToKey.read(0))->code}));
    EXPECT_EQ(gui::cellColour(ctl::table, 0, column::code), colourFailed);
    EXPECT_EQ(gui::cellColour(ctl::table, 1, column::code), gui::Rgb::none());
}

// The port goes away halfway through a reply: the command that was talking ends there with the
// one message, and the program is disconnected, with the disconnect in the log.
TEST_F(ParameterCommands, APortLostMidReplyEndsTheCommandAndDisconnects)
{
    struct Case {
        const char* name;
        int popupCommand;   // on P0.0.05; 0 for a button
        int button;
        int answeredFirst;  // requests answered before the one whose reply is cut
    };
    const Case cases[] = {
        {"read one", cmd::readCurrent, 0, 0},
        {"write one", cmd::writeCurrent, 0, 0},
        {"write one to EEPROM", cmd::writeCurrentEeprom, 0, 0},
        {"read all", 0, ctl::readAllButton, 2},
        {"write all", 0, ctl::writeAllButton, 2},
    };
    selectTreeItem(4);  // P0.0
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (connectedPort == 0) {
            device.stop();
            ASSERT_TRUE(device.start());
            setExtraPortCandidates({device.path()}, true);
            device.setHoldingRegister(0x5504, 18000);
            connectTo(0);
            ASSERT_NE(connectedPort, 0);
        }
        messages.clear();
        device.clearRequests();
        device.queueFault(Fault{}, c.answeredFirst);
        device.queueFault(Fault::vanish(3));
        const std::size_t mark = traceLines().size();
        if (c.popupCommand != 0)
            popupCommand("P0.0.05", c.popupCommand == cmd::readCurrent ? column::read : column::set, c.popupCommand);
        else
            clickButton(c.button);

        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(std::count_if(messages.begin(), messages.end(),
                                [](const gui::MessageBoxCall& box) { return box.text == "Текущий порт недоступен!"; }),
                  1);
        EXPECT_EQ(messages.back().title, "Ошибка");
        EXPECT_EQ(messages.back().text, "Текущий порт недоступен!");
        EXPECT_EQ(messages.back().icon, gui::Icon::Error);
        EXPECT_EQ(modbusRequest.status, 4);
        EXPECT_EQ(connectedPort, 0);
        EXPECT_FALSE(gui::controlEnabled(ctl::readAllButton));
        EXPECT_TRUE(gui::menuItemEnabled(cmd::fileOpen));
        EXPECT_EQ(logLines().back(), "#Button_Disconnect");
        EXPECT_EQ(device.requests().size(), static_cast<std::size_t>(c.answeredFirst + 1));
        const Lines trace = traceSince(mark);
        EXPECT_TRUE(requestLinesEndAtTheLoss(trace, c.answeredFirst + 1)) << requestLineCount(trace);
        EXPECT_EQ(std::count(trace.begin(), trace.end(), "Превышено время ожидания"), 0);
    }
}

// The device disappears halfway through a reply in the middle of the list.
TEST_F(ParameterCommands, ADeviceVanishingMidReadAllLeavesTheDocumentIntact)
{
    enterSetValue("P0.0.05", "25.00");
    ASSERT_EQ(documentState, 2);
    selectTreeItem(4);  // P0.0
    const int rows = gui::tableRowCount(ctl::table);
    device.setHoldingRegister(findParameterByCode("P0.0.01")->address, 1);
    device.setHoldingRegister(findParameterByCode("P0.0.02")->address, 1);
    device.queueFault(Fault{}, 3);
    device.queueFault(Fault::vanish(3));
    clickButton(ctl::readAllButton);

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Текущий порт недоступен!");
    EXPECT_EQ(connectedPort, 0);
    EXPECT_FALSE(gui::controlEnabled(ctl::readAllButton));
    EXPECT_TRUE(gui::menuItemEnabled(cmd::commSettings));
    // What was read before stays read; nothing else changed.
    EXPECT_EQ(findParameterByCode("P0.0.01")->readValue, 1);
    EXPECT_EQ(findParameterByCode("P0.0.02")->readValue, 1);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(gui::cellColour(ctl::table, row, column::code), colourReadWritten) << row;
    EXPECT_EQ(gui::cellColour(ctl::table, 3, column::code), colourFailed);
    EXPECT_EQ(gui::cellColour(ctl::table, 4, column::code), gui::Rgb::none());
    EXPECT_EQ(gui::tableRowCount(ctl::table), rows);
    EXPECT_EQ(findParameterByCode("P0.0.05")->setValue, 2500);
    EXPECT_EQ(findParameterByCode("P0.0.05")->readValue, 5000);
    EXPECT_EQ(documentState, 2);
    EXPECT_EQ(currentModelName, "ПЧ Tovik Zr12");

    // The program goes on: the document saves with its edit.
    triggerMenu(cmd::fileSave);
    EXPECT_EQ(documentState, 1);
    EXPECT_NE(readFileBytes(folder() + currentFileName).find("P0.0.05 = 2500\r\n"), std::string::npos);
}

TEST_F(ParameterCommands, CopyCommandsAndDefaultsChangeOnlyTheSetColumn)
{
    selectTreeItem(4);
    device.setHoldingRegister(findParameterByCode("P0.0.05")->address, 1234);
    device.setHoldingRegister(findParameterByCode("P0.0.01")->address, 2);
    clickButton(ctl::readAllButton);
    device.clearRequests();

    popupCommand("P0.0.05", column::read, cmd::copyCurrent);
    EXPECT_EQ(findParameterByCode("P0.0.05")->setValue, 1234);
    EXPECT_EQ(gui::cellText(ctl::table, rowOfCode("P0.0.05"), column::set), "12.34");
    EXPECT_EQ(gui::text(findParameterByCode("P0.0.05")->optionKey), "12.34");
    EXPECT_EQ(cellColour("P0.0.05", column::name), gui::Rgb::none());

    popupCommand("P0.0.01", column::read, cmd::copyAll);
    const Parameter& choice = *findParameterByCode("P0.0.01");
    EXPECT_EQ(choice.setValue, 2);
    EXPECT_EQ(gui::cellText(ctl::table, rowOfCode("P0.0.01"), column::set), valueCellText(choice, 2));
    EXPECT_EQ(gui::itemData(choice.optionKey, gui::state(choice.optionKey)), 2);
    EXPECT_EQ(findParameterByCode("P0.0.05")->setValue, 1234);

    popupCommand("P0.0.05", column::set, cmd::setDefault);
    EXPECT_EQ(findParameterByCode("P0.0.05")->setValue, 5000);
    EXPECT_EQ(gui::cellText(ctl::table, rowOfCode("P0.0.05"), column::set), "50.00");
    EXPECT_EQ(cellColour("P0.0.05", column::name), colourChanged);
    EXPECT_TRUE(device.requests().empty());
}

}  // namespace

namespace {

// A late device, in either framing and either kind: every row gets its own register's answer, in
// the rows, in the trace and back on the device.
class LateDeviceCommands : public ParameterCommands, public ::testing::WithParamInterface<Lateness> {
protected:
    LateDeviceCommands() : ParameterCommands(GetParam().deviceOptions()) {}

    void SetUp() override
    {
        ParameterCommands::SetUp();
        GetParam().applyTo(device);
    }

    // The trace since `mark`, for the message of a failed check.
    std::string shownTrace(std::size_t mark)
    {
        std::string shown = "trace:";
        for (const std::string& line : traceSince(mark))
            shown += "\n  " + line;
        return shown;
    }

    // How many writes of the trace were confirmed, each by the echo of its own request.
    static int ownEchoes(const Lines& trace)
    {
        auto payload = [](const std::string& line) { return line.substr(line.find(':', line.find(' ') + 1) + 2); };
        std::string request;
        std::string reply;
        int confirmed = 0;
        for (const std::string& line : trace) {
            if (line.rfind("Запрос ", 0) == 0)
                request = payload(line);
            else if (line.rfind("Ответ через ", 0) == 0)
                reply = payload(line);
            else if (line.rfind("Значение регистра ", 0) == 0 && line.ends_with(" записано")) {
                EXPECT_TRUE(isOwnEcho(reply, request)) << line << ": " << reply;
                ++confirmed;
            }
        }
        return confirmed;
    }
};

TEST_P(LateDeviceCommands, EveryRowGetsItsOwnRegister)
{
    // Six writable rows of P0.0, ticked and shown under "Отмеченные параметры".
    selectTreeItem(4);
    for (int row = 0, ticked = 0; row < gui::tableRowCount(ctl::table) && ticked < 6; ++row)
        if (findParameterByKey(RowToKey.read(row))->access != 0) {
            clickCell(row, column::check);
            ++ticked;
        }
    selectTreeItem(treeItemChecked);
    const int rows = gui::tableRowCount(ctl::table);
    ASSERT_EQ(rows, 6);
    auto parameterOf = [](int row) -> Parameter& { return *findParameterByKey(RowToKey.read(row)); };
    auto good = [](int row) { return gui::cellColour(ctl::table, row, column::code) == colourReadWritten; };
    std::vector<std::int32_t> own(static_cast<std::size_t>(rows));
    auto setOwn = [&](int row, int value) {
        own[static_cast<std::size_t>(row)] = value;
        device.setHoldingRegister(parameterOf(row).address, static_cast<std::uint16_t>(value));
    };
    for (int row = 0; row < rows; ++row)
        setOwn(row, row + 1);

    std::size_t mark = traceLines().size();
    clickButton(ctl::readAllButton);
    for (int row = 0; row < rows; ++row) {
        SCOPED_TRACE(parameterOf(row).code);
        EXPECT_TRUE(good(row)) << shownTrace(mark);
        EXPECT_EQ(parameterOf(row).readValue, own[static_cast<std::size_t>(row)]) << shownTrace(mark);
    }

    // Read one, twice in a row.
    for (const int row : {rows - 2, rows - 1}) {
        const std::string code = parameterOf(row).code;
        SCOPED_TRACE(code);
        setOwn(row, 1000 + row);
        mark = traceLines().size();
        popupCommand(code, column::read, cmd::readCurrent);
        EXPECT_TRUE(good(row)) << shownTrace(mark);
        EXPECT_EQ(parameterOf(row).readValue, own[static_cast<std::size_t>(row)]) << shownTrace(mark);
    }

    // Copied to set and written, what was read goes back to its own register.
    popupCommand(parameterOf(0).code, column::set, cmd::copyAll);
    for (int row = 0; row < rows; ++row)
        device.setHoldingRegister(parameterOf(row).address, 0);
    answers.push_back(gui::Answer::Yes);
    mark = traceLines().size();
    clickButton(ctl::writeAllButton);
    ASSERT_EQ(messages.size(), 1u);
    for (int row = 0; row < rows; ++row) {
        SCOPED_TRACE(parameterOf(row).code);
        EXPECT_EQ(device.holdingRegister(parameterOf(row).address), own[static_cast<std::size_t>(row)]) << shownTrace(mark);
    }
    EXPECT_EQ(ownEchoes(traceSince(mark)), rows) << shownTrace(mark);
}

INSTANTIATE_TEST_SUITE_P(Latencies, LateDeviceCommands, ::testing::ValuesIn(latenesses()), latenessName);

class ParameterDetails : public AppTest {};

// "Показать подробнее..." hands a read-only coded value to its editor window for viewing.
TEST_F(ParameterDetails, DetailsHandsTheReadValueToTheEditorContext)
{
    triggerMenu(cmd::newZr12);
    struct Case {
        int firstFormat, lastFormat;
    };
    for (const Case& c : {Case{20, 29}, Case{30, 39}, Case{40, 49}}) {
        Parameter* p = nullptr;
        for (Parameter& candidate : parameters)
            if (candidate.displayFormat >= c.firstFormat && candidate.displayFormat <= c.lastFormat) {
                p = &candidate;
                break;
            }
        ASSERT_NE(p, nullptr) << c.firstFormat;
        p->access = 0;  // no shipped description has a read-only value of each kind
        p->readValue = 0x12;
        editKey = editFormat = editSetValue = 0;
        editWritable = 1;
        editValueText.clear();
        clickCell(rowOfCode(p->code), column::read, Qt::RightButton);
        ASSERT_TRUE(gui::menuItemEnabled(cmd::showDetails));
        if (QWidget* popup = QApplication::activePopupWidget())
            QTest::keyClick(popup, Qt::Key_Escape);
        triggerMenu(cmd::showDetails);
        EXPECT_EQ(editKey, p->optionKey);
        EXPECT_EQ(editFormat, p->displayFormat);
        EXPECT_EQ(editWritable, 0);
        if (c.firstFormat == 30) {
            EXPECT_EQ(editValueText, std::string(p->displayFormat - 30 - 2, '0') + "18");
        }
        if (c.firstFormat == 20) {
            EXPECT_EQ(editSetValue, 0x12);
        }
        // The view-only window holds the Main Window disabled until it is closed.
        for (int window : {win::digitToHex, win::digitToDec, win::bitToHex})
            if (gui::windowExists(window)) {
                gui::windowWidget(window)->close();
                pump();
            }
        EXPECT_TRUE(gui::windowEnabled(win::main));
    }
}

}  // namespace
