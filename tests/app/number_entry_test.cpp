#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>

#include <climits>

#include "app/comm_window.h"
#include "app/connection_settings.h"
#include "app/parameter_table.h"
#include "link/line_settings.h"
#include "link/port_scan.h"
#include "tests/app/document_test_support.h"
#include "tests/support/russian_numbers.h"

// Numbers the user types and the files hold, through the program's windows, with the C library
// set up as on a Russian desktop.
namespace {

class NumberEntryTest : public DocumentTest {
protected:
    QLineEdit* field(const std::string& code) { return qobject_cast<QLineEdit*>(gui::widgetOf(parameter(code).optionKey)); }

    // Types one character as the keyboard delivers it (QTest's typing knows only ASCII).
    void typeCharacter(const std::string& code, const QString& character)
    {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, character);
        QApplication::sendEvent(field(code), &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, character);
        QApplication::sendEvent(field(code), &release);
        pump();
    }
};

struct TypedCase {
    const char* code;
    const char* typed;
    const char* shown;
    std::int32_t setValue;
};

TEST_F(NumberEntryTest, TypedFractionsKeepTheirDecimalsOnARussianDesktop)
{
    RussianNumbers russian;
    ASSERT_RUSSIAN_NUMBERS(russian);
    triggerMenu(cmd::newZr12);
    const TypedCase cases[] = {
        {"P0.0.05", "12.5", "12.50", 1250},
        {"P0.0.11", "0.5", "0.5", 5},
        {"P2.0.14", "-30.5", "-30.5", -305},
    };
    for (const TypedCase& c : cases) {
        SCOPED_TRACE(std::string(c.code) + " " + c.typed);
        typeSetValue(c.code, c.typed);
        EXPECT_EQ(gui::text(parameter(c.code).optionKey), c.shown);
        EXPECT_EQ(gui::cellText(ctl::table, rowOfCode(c.code), column::set), c.shown);
        EXPECT_EQ(parameter(c.code).setValue, c.setValue);
    }
}

// A letter of another keyboard layout (ю is where the point is on an English one) is dropped where
// it was typed: the caret goes back one character, however many bytes or UTF-16 units it takes.
TEST_F(NumberEntryTest, DroppedCharactersLeaveTheCaretWhereTheyWereTyped)
{
    RussianNumbers russian;
    ASSERT_RUSSIAN_NUMBERS(russian);
    triggerMenu(cmd::newZr12);
    const std::string code = "P0.0.11";  // one decimal
    clickCell(showRowOf(code), column::set);
    field(code)->selectAll();
    for (const char* character : {"1", "2", "ю", "5"})
        typeCharacter(code, QString::fromUtf8(character));
    EXPECT_EQ(gui::text(parameter(code).optionKey), "125");
    pressReturn(parameter(code).optionKey);
    EXPECT_EQ(parameter(code).setValue, 1250);
    EXPECT_EQ(gui::cellText(ctl::table, rowOfCode(code), column::set), "125.0");

    // Dropped in the middle of the text: what is typed next goes where the dropped character was.
    for (const QString& dropped : {QString::fromUtf8("ю"), QString::fromUtf8("€"), QString::fromUtf8("😀")}) {
        SCOPED_TRACE(dropped.toStdString());
        clickCell(showRowOf(code), column::set);
        field(code)->setText("125");
        field(code)->setCursorPosition(1);
        typeCharacter(code, dropped);
        EXPECT_EQ(gui::text(parameter(code).optionKey), "125");
        typeCharacter(code, "0");
        EXPECT_EQ(gui::text(parameter(code).optionKey), "1025");
        EXPECT_EQ(field(code)->cursorPosition(), 2);
    }
}

TEST_F(NumberEntryTest, TypedNumbersPastEveryRangeBecomeTheNearerLimit)
{
    triggerMenu(cmd::newZr12);
    const TypedCase cases[] = {
        {"P1.0.14", "18446744073709551616", "100", 100},      // 0 ... 100
        {"P3.1.08", "18446744073709555712", "65535", 65535},  // 0 ... 65535
        {"P1.0.14", "10000000000000000000", "100", 100},
        {"P0.0.05", "99999999999999999999", "50.00", 5000},  // up to P0.0.07's 50.00
        {"P2.0.14", "-18446744073709551616", "-100.0", -1000},
    };
    for (const TypedCase& c : cases) {
        SCOPED_TRACE(std::string(c.code) + " " + c.typed);
        typeSetValue(c.code, c.typed);
        EXPECT_EQ(gui::text(parameter(c.code).optionKey), c.shown);
        EXPECT_EQ(parameter(c.code).setValue, c.setValue);
    }
}

// A number in a parameter file that no value holds stays at the end of the range it passed, in the
// editor and in the file saved from it. Signed parameters hold register words: every word is taken
// as its signed value, and past the word's range the signed range's nearer end.
TEST_F(NumberEntryTest, FileValuesPastEveryRangeSaturate)
{
    const struct {
        const char* code;
        const char* text;
        std::int32_t setValue;
    } cases[] = {
        {"P0.0.14", "99999999999999", INT_MAX},
        {"P0.0.11", "-99999999999999", INT_MIN},
        {"P2.0.14", "99999999", 32767},
        {"P2.0.16", "-99999999", -32768},
        {"P2.0.19", "65535", -1},
        {"P2.0.21", "65536", 32767},
        {"P2.0.24", "-32768", -32768},
        {"P2.0.26", "-32769", -32768},
        {"P2.0.36", "32768", -32768},
        {"P2.1.05", "32767", 32767},
    };
    std::string file = "\xEF\xBB\xBF[General]\r\nModel = ПЧ Tovik Zr12\r\n[Parameter Set]\r\n";
    for (const auto& c : cases)
        file += std::string(c.code) + " = " + c.text + "\r\n";
    writeFileBytes(folder() + "huge.pmr", file);
    answerDialog(folder() + "huge.pmr");
    triggerMenu(cmd::fileOpen);
    for (const auto& c : cases)
        EXPECT_EQ(parameter(c.code).setValue, c.setValue) << c.code << " = " << c.text;
    EXPECT_EQ(gui::text(parameter("P0.0.14").optionKey), "214748364.7");

    answerDialog(folder() + "again.pmr");
    triggerMenu(cmd::fileSaveAs);
    const std::string saved = readFileBytes(folder() + "again.pmr");
    EXPECT_NE(saved.find("P0.0.14 = 2147483647\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("P0.0.11 = -2147483648\r\n"), std::string::npos) << saved;
}

TEST_F(NumberEntryTest, StopBitsOneAndAHalfAreTakenAsSuchOnARussianDesktop)
{
    RussianNumbers russian;
    ASSERT_RUSSIAN_NUMBERS(russian);
    setExtraPortCandidates({}, true);
    triggerMenu(cmd::commSettings);
    for (const auto& [position, stopBits] : {std::pair{0, 1.0f}, std::pair{1, 1.5f}, std::pair{2, 2.0f}}) {
        gui::setState(commctl::stopBitsList, position);
        takeLineSettingsFromWindow();
        EXPECT_EQ(portStopBits, stopBits) << gui::text(commctl::stopBitsList);
    }
    setExtraPortCandidates({}, false);
}

}  // namespace
