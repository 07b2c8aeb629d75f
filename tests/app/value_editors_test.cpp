#include <gtest/gtest.h>

#include "app/in_place_editors.h"
#include "app/value_editors.h"
#include "tests/app/document_test_support.h"

namespace {
using namespace editorctl;

const gui::Rgb changedColour = gui::Rgb::of(250, 250, 175);

class ValueEditorTest : public DocumentTest {
protected:
    // Gives a parameter a set value as if it had been edited before, editor and cell included.
    void presetSetValue(const std::string& code, std::int32_t value)
    {
        Parameter& p = parameter(code);
        p.setValue = value;
        syncEditorToSetValue(p);
        gui::setCellText(ctl::table, showRowOf(code), 3, gui::text(p.optionKey));
    }

    // What the details command does for a read-only parameter: the context, then the opener.
    void openForViewing(const std::string& code, void (*opener)())
    {
        const Parameter& p = parameter(code);
        editKey = static_cast<std::uint16_t>(p.optionKey);
        editFormat = p.displayFormat;
        editWritable = 0;
        opener();
        pump();
    }

};

// A click on a coded set cell only shows its field; the value editor window opens when the user
// clicks into that field.
TEST_F(ValueEditorTest, ACodedFieldOpensItsWindowOnlyOnAClickIntoIt)
{
    triggerMenu(cmd::newZr12);
    for (const auto& [code, window] : {std::pair{"P2.1.03", win::digitToHex}, std::pair{"P3.2.02", win::digitToDec},
                                       std::pair{"P5.0.02", win::bitToHex}}) {
        SCOPED_TRACE(code);
        const int key = parameter(code).optionKey;
        clickCell(showRowOf(code), 3);
        EXPECT_TRUE(gui::controlVisible(key));
        for (int editor : {win::digitToHex, win::digitToDec, win::bitToHex})
            EXPECT_FALSE(gui::windowExists(editor)) << editor;
        EXPECT_TRUE(gui::windowEnabled(win::main));

        QTest::mouseClick(gui::widgetOf(key), Qt::LeftButton);
        pump();
        ASSERT_TRUE(gui::windowExists(window));
        gui::windowWidget(window)->close();
        pump();
    }
}

TEST_F(ValueEditorTest, DigitToDecShowsTheFieldsOfTheValueAndStoresThemOnOk)
{
    triggerMenu(cmd::newZr12);
    presetSetValue("P3.2.02", 59799);
    focusSetCell("P3.2.02");
    ASSERT_TRUE(gui::windowExists(win::digitToDec));
    EXPECT_FALSE(gui::windowEnabled(win::main));
    EXPECT_EQ(gui::windowTitle(win::digitToDec), "P3.2.02 - Слово В управления реле M1 с задержкой по времени");
    EXPECT_EQ(gui::text(decRowLabel + 0), "Единицы: Логика управления");
    EXPECT_EQ(gui::text(decRowLabel + 1), "Десятки, сотни: Вход 1");
    EXPECT_EQ(gui::text(decRowLabel + 3), "Тысячи, десятки тысяч: Вход 2");
    for (int row : {0, 1, 3})
        EXPECT_TRUE(gui::controlVisible(decRowList + row)) << row;
    for (int row : {2, 4})
        EXPECT_FALSE(gui::controlVisible(decRowList + row)) << row;
    EXPECT_EQ(gui::state(decRowList + 0), 9);
    EXPECT_EQ(gui::state(decRowList + 1), 79);
    EXPECT_EQ(gui::state(decRowList + 3), 59);
    EXPECT_EQ(gui::itemText(decRowList + 0, 9), "9 : И переднего фронта, вход 1 и вход 2");
    EXPECT_EQ(gui::text(decValueLine), "Значение = 59799");

    clickButton(decOk);
    EXPECT_FALSE(gui::windowExists(win::digitToDec));
    EXPECT_TRUE(gui::windowEnabled(win::main));
    const int row = rowOfCode("P3.2.02");
    EXPECT_EQ(parameter("P3.2.02").setValue, 59799);
    EXPECT_EQ(gui::cellText(ctl::table, row, 3), "59799");
    EXPECT_EQ(gui::text(parameter("P3.2.02").optionKey), "59799");
    // The set value differs from the read value (0); OK kept it, so nothing new is unsaved.
    EXPECT_EQ(gui::cellColour(ctl::table, row, 2), changedColour);
    EXPECT_EQ(documentState, 1);
}

TEST_F(ValueEditorTest, DigitToDecDefaultSelectsTheDefaultsDigitsAndStoresOnlyOnOk)
{
    triggerMenu(cmd::newZr12);
    parameter("P3.2.02").defaultText = "0";  // shorter than the five digits: taken as "00000"
    presetSetValue("P3.2.02", 59799);
    focusSetCell("P3.2.02");
    chooseEntry(decRowList + 1, 12);
    EXPECT_EQ(gui::text(decValueLine), "Значение = 59129");

    clickButton(decDefault);
    EXPECT_EQ(gui::text(decValueLine), "Значение = 00000");
    for (int row : {0, 1, 3})
        EXPECT_EQ(gui::state(decRowList + row), 0) << row;
    EXPECT_EQ(parameter("P3.2.02").setValue, 59799);
    clickButton(decOk);
    EXPECT_EQ(parameter("P3.2.02").setValue, 0);
    EXPECT_EQ(gui::cellText(ctl::table, rowOfCode("P3.2.02"), 3), "00000");
}

TEST_F(ValueEditorTest, DigitWindowsKeepDigitsThatMatchNoEntry)
{
    triggerMenu(cmd::newZr12);
    presetSetValue("P3.2.02", 59899);  // tens and hundreds "89": the field offers 0 to 79
    focusSetCell("P3.2.02");
    EXPECT_EQ(gui::state(decRowList + 1), -1);
    clickButton(decOk);
    EXPECT_EQ(parameter("P3.2.02").setValue, 59899);

    presetSetValue("P3.0.35", 0x0B3);  // the middle digit offers 0 to A
    focusSetCell("P3.0.35");
    EXPECT_EQ(gui::state(hexRowList + 1), -1);
    chooseEntry(hexRowList + 0, 1);
    EXPECT_EQ(gui::text(hexValueLine), "Значение = $0B1 = 177");
    clickButton(hexOk);
    EXPECT_EQ(parameter("P3.0.35").setValue, 0x0B1);
}

TEST_F(ValueEditorTest, DigitToHexSelectsEachDigitsEntryAndStoresTheDigits)
{
    triggerMenu(cmd::newZr12);
    presetSetValue("P3.0.35", 0x1A3);
    focusSetCell("P3.0.35");
    ASSERT_TRUE(gui::windowExists(win::digitToHex));
    EXPECT_EQ(gui::state(hexRowList + 0), 3);
    EXPECT_EQ(gui::state(hexRowList + 1), 10);
    EXPECT_EQ(gui::state(hexRowList + 2), 1);
    EXPECT_FALSE(gui::controlVisible(hexRowList + 3));
    EXPECT_EQ(gui::text(hexRowLabel + 0), "$00F : Выбор врем. ускор. и замедл. (ступ. команда не действует)");
    EXPECT_EQ(gui::text(hexRowLabel + 1), "$0F0 : Выбор источника частоты (ступ. команда не действует)");
    EXPECT_EQ(gui::text(hexRowLabel + 2), "$F00 : Направление работы");
    EXPECT_EQ(gui::itemText(hexRowList + 1, 10), "A : Результат операции 4");
    EXPECT_EQ(gui::text(hexValueLine), "Значение = $1A3 = 419");

    chooseEntry(hexRowList + 0, 1);
    EXPECT_EQ(gui::text(hexValueLine), "Значение = $1A1 = 417");
    clickButton(hexOk);
    const int row = rowOfCode("P3.0.35");
    EXPECT_EQ(parameter("P3.0.35").setValue, 0x1A1);
    EXPECT_EQ(gui::cellText(ctl::table, row, 3), "$1A1");
    EXPECT_EQ(gui::text(parameter("P3.0.35").optionKey), "$1A1");
    EXPECT_EQ(gui::cellColour(ctl::table, row, 2), changedColour);
    EXPECT_EQ(documentState, 2);
}

TEST_F(ValueEditorTest, DigitToHexDefaultWaitsForOkAndCancelOrCloseBoxStoreNothing)
{
    triggerMenu(cmd::newZr12);
    presetSetValue("P3.0.35", 0x1A3);
    focusSetCell("P3.0.35");
    clickButton(hexDefault);
    EXPECT_EQ(gui::text(hexValueLine), "Значение = $000 = 0");
    for (int k : {0, 1, 2})
        EXPECT_EQ(gui::state(hexRowList + k), 0) << k;
    clickButton(hexCancel);
    EXPECT_FALSE(gui::windowExists(win::digitToHex));
    EXPECT_EQ(parameter("P3.0.35").setValue, 0x1A3);

    focusSetCell("P3.0.35");
    chooseEntry(hexRowList + 2, 0);
    gui::windowWidget(win::digitToHex)->close();
    pump();
    EXPECT_FALSE(gui::windowExists(win::digitToHex));
    EXPECT_TRUE(gui::windowEnabled(win::main));
    EXPECT_EQ(parameter("P3.0.35").setValue, 0x1A3);

    focusSetCell("P3.0.35");
    clickButton(hexDefault);
    clickButton(hexOk);
    EXPECT_EQ(parameter("P3.0.35").setValue, 0);
    EXPECT_EQ(gui::cellText(ctl::table, rowOfCode("P3.0.35"), 3), "$000");
    // Back to the read value: no mark on the name.
    EXPECT_EQ(gui::cellColour(ctl::table, rowOfCode("P3.0.35"), 2), gui::Rgb::none());
}

TEST_F(ValueEditorTest, BitToHexRaisesAClearedFieldToItsMinimum)
{
    triggerMenu(cmd::newZr12);  // P5.0.02: default $001F, minimum $0001
    focusSetCell("P5.0.02");
    ASSERT_TRUE(gui::windowExists(win::bitToHex));
    EXPECT_EQ(gui::text(bitNumberLabel + 7), "Бит 07");
    EXPECT_EQ(gui::text(bitText + 2), "Выходной ток (А)");
    EXPECT_EQ(gui::text(bitValueLine), "Значение = $001F = 31");
    for (int i = 0; i < 5; ++i)
        clickControl(bitBox + i);
    EXPECT_EQ(gui::text(bitValueLine), "Значение = $0000 = 0");
    EXPECT_EQ(documentState, 1);
    clickButton(bitOk);
    EXPECT_EQ(parameter("P5.0.02").setValue, 1);
    EXPECT_EQ(gui::cellText(ctl::table, rowOfCode("P5.0.02"), 3), "$0001");
    EXPECT_EQ(gui::cellColour(ctl::table, rowOfCode("P5.0.02"), 2), changedColour);
    EXPECT_EQ(documentState, 2);  // the value changed
}

TEST_F(ValueEditorTest, BitToHexDisablesBitsAboveTheMaximumAndStoresTheDefaultOnlyOnOk)
{
    triggerMenu(cmd::newYv32);  // P23.24: two hexadecimal digits, maximum $FF
    presetSetValue("P23.24", 0x05);
    focusSetCell("P23.24");
    ASSERT_TRUE(gui::windowExists(win::bitToHex));
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(gui::controlEnabled(bitBox + i), i < 8) << i;
    EXPECT_EQ(gui::text(bitText + 12), "Резерв");
    clickControl(bitBox + 12);  // disabled: nothing happens
    clickControl(bitBox + 7);
    EXPECT_EQ(gui::text(bitValueLine), "Значение = $0085 = 133");

    clickButton(bitDefault);
    EXPECT_EQ(gui::text(bitValueLine), "Значение = $00 = 0");
    EXPECT_EQ(gui::state(bitBox + 0), 0);
    EXPECT_EQ(parameter("P23.24").setValue, 0x05);
    clickButton(bitCancel);
    EXPECT_EQ(parameter("P23.24").setValue, 0x05);

    focusSetCell("P23.24");
    clickControl(bitBox + 7);
    clickButton(bitOk);
    EXPECT_EQ(parameter("P23.24").setValue, 0x85);
    EXPECT_EQ(gui::cellText(ctl::table, rowOfCode("P23.24"), 3), "$0085");
}

TEST_F(ValueEditorTest, ViewOnlyFormsShowTheReadValueWithCloseAlone)
{
    triggerMenu(cmd::newZr12);
    parameter("P9.0.07").readValue = 0x0005;
    openForViewing("P9.0.07", openBitToHexWindow);
    ASSERT_TRUE(gui::windowExists(win::bitToHex));
    EXPECT_EQ(gui::text(bitValueLine), "Значение = $0005 = 5");
    for (int i = 0; i < 16; ++i) {
        EXPECT_FALSE(gui::controlEnabled(bitBox + i)) << i;
        EXPECT_EQ(gui::state(bitBox + i), i == 0 || i == 2 ? 1 : 0) << i;
    }
    EXPECT_FALSE(gui::controlExists(bitOk));
    EXPECT_FALSE(gui::controlExists(bitDefault));
    EXPECT_EQ(gui::text(bitCancel), "Закрыть");
    EXPECT_EQ(gui::controlRect(bitCancel).x, 150);
    clickButton(bitCancel);
    EXPECT_FALSE(gui::windowExists(win::bitToHex));
    EXPECT_TRUE(gui::windowEnabled(win::main));

    editValueText = "00021";
    openForViewing("P2.1.02", openDigitToDecWindow);
    ASSERT_TRUE(gui::windowExists(win::digitToDec));
    EXPECT_EQ(gui::text(decValueLine), "Значение = 00021");
    EXPECT_FALSE(gui::controlEnabled(decRowList + 0));
    EXPECT_EQ(gui::text(decCancel), "Закрыть");
    EXPECT_FALSE(gui::controlExists(decOk));
    clickButton(decCancel);

    editSetValue = 0x1A3;  // the low 16 bits of the read value
    openForViewing("P3.0.35", openDigitToHexWindow);
    ASSERT_TRUE(gui::windowExists(win::digitToHex));
    EXPECT_EQ(gui::text(hexValueLine), "Значение = $1A3 = 419");
    EXPECT_EQ(gui::state(hexRowList + 1), 10);
    EXPECT_FALSE(gui::controlEnabled(hexRowList + 1));
    EXPECT_EQ(gui::text(hexCancel), "Закрыть");
    EXPECT_EQ(gui::controlRect(hexCancel).x, 175);
    EXPECT_FALSE(gui::controlExists(hexOk));
    EXPECT_FALSE(gui::controlExists(hexDefault));
    clickButton(hexCancel);
    EXPECT_FALSE(gui::windowExists(win::digitToHex));
    EXPECT_EQ(documentState, 1);
}

}  // namespace
