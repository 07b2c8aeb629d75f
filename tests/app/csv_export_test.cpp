#include <gtest/gtest.h>

#include <QString>

#include "app/csv_export.h"
#include "app/parameter_table.h"
#include "tests/app/document_test_support.h"

namespace {

const std::string header =
    "Код;Название;Заданное значение;Прочитанное значение;Диапазон;По умолчанию;Modbus адр.;Modbus адр. EEPROM";

std::string utf8FromUtf16le(std::string_view bytes)
{
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                              static_cast<unsigned char>(bytes[i + 1]) << 8));
    return QString::fromStdU16String(units).toStdString();
}

std::vector<std::string> linesOf(const std::string& text, const std::string& end)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(end, start)) != std::string::npos; start = at + end.size())
        lines.push_back(text.substr(start, at - start));
    EXPECT_EQ(start, text.size()) << "text after the last line end";
    return lines;
}

class CsvExportTest : public DocumentTest {
protected:
    // The table with subgroup P0.1 above P0.0: not the parameters' own order.
    void fillP0SubgroupsBackwards()
    {
        RowToKey.clear();
        KeyToRow.clear();
        targetRow = 0;
        gui::tableClearRows(ctl::table);
        fillParameterTable("P0.1");
        fillParameterTable("P0.0");
    }

    void copyFromPopup(int row, int command)
    {
        clickCell(row, 1, Qt::RightButton);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        triggerMenu(command);
    }
};

TEST_F(CsvExportTest, FileIsUtf16WithHeaderAndRowsInParameterOrder)
{
    logOut = 1;
    triggerMenu(cmd::newZr12);
    fillP0SubgroupsBackwards();
    const int rows = gui::tableRowCount(ctl::table);
    ASSERT_EQ(rows, 51);
    answerDialog(folder() + "out");
    triggerMenu(cmd::exportCsv);

    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].title, "Экспорт в CSV");
    EXPECT_EQ(dialogs[0].fileName, "New_Zr12");
    EXPECT_EQ(dialogs[0].folder, folder());
    EXPECT_EQ(dialogs[0].patterns, std::vector<std::string>{"CSV (разделитель - точка с запятой) (*.csv)"});
    EXPECT_TRUE(logText().ends_with(" = #MenuItem_ExportCSV\r\n"));

    const std::string bytes = readFileBytes(folder() + "out.csv");
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    const std::vector<std::string> lines = linesOf(utf8FromUtf16le(bytes.substr(2)), "\r\n");
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(rows) + 1);
    EXPECT_EQ(lines[0], header);
    EXPECT_EQ(lines[1].substr(0, 8), "P0.0.00;");
    EXPECT_EQ(lines[6], "P0.0.05;Задание частоты с пульта управления;50.00;50.00;0.00 ... P0.0.07;50.00;"
                        "1029 (0x0405);5 (0x0005)");
    EXPECT_EQ(lines[2], "P0.0.01;Режим отображения;0: Базовый режим (приставка P);0: Базовый режим (приставка P);"
                        "0 ... 2;0;1025 (0x0401);1 (0x0001)");
    for (std::size_t i = 2; i < lines.size(); ++i)
        EXPECT_LT(findParameterByCode(lines[i - 1].substr(0, lines[i - 1].find(';')))->optionKey,
                  findParameterByCode(lines[i].substr(0, lines[i].find(';')))->optionKey)
            << lines[i];
}

TEST_F(CsvExportTest, NameGetsItsExtensionAndAFailureWritesNothing)
{
    triggerMenu(cmd::newZr12);
    documentState = 2;
    for (const auto& [chosen, written] :
         {std::pair{"x", "x.csv"}, {"y.csv", "y.csv"}, {"z.CSV", "z.CSV.csv"}, {"back\\slash", "back\\slash.csv"}}) {
        answerDialog(folder() + chosen);
        triggerMenu(cmd::exportCsv);
        EXPECT_TRUE(fileExists(folder() + written)) << written;
    }
    cancelDialog();
    triggerMenu(cmd::exportCsv);
    EXPECT_TRUE(messages.empty());

    answerDialog(folder() + "missing/w.csv");
    triggerMenu(cmd::exportCsv);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Ошибка");
    EXPECT_EQ(messages[0].text, "Невозможно создать файл");
    EXPECT_EQ(documentState, 2);
    EXPECT_EQ(currentFileName, "New_Zr12.pmr");
    EXPECT_EQ(FilePath, folder());
}

// The extension comes after the dialog, so the question about a file of the final name does too.
TEST_F(CsvExportTest, ReplacingAFileIsAskedFirst)
{
    triggerMenu(cmd::newZr12);
    writeFileBytes(folder() + "out.csv", "another file");
    answers = {gui::Answer::No};
    answerDialog(folder() + "out");
    triggerMenu(cmd::exportCsv);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Внимание");
    EXPECT_EQ(messages[0].text, "Файл с таким именем уже существует.\nЗаменить его?");
    EXPECT_EQ(messages[0].buttons, gui::Buttons::YesNo);
    EXPECT_EQ(readFileBytes(folder() + "out.csv"), "another file");

    answerDialog(folder() + "out");  // Yes
    triggerMenu(cmd::exportCsv);
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_EQ(readFileBytes(folder() + "out.csv").substr(0, 2), "\xFF\xFE");
}

TEST_F(CsvExportTest, FieldsThatWouldBreakTheRowAreQuoted)
{
    triggerMenu(cmd::newZr12);
    const int row = showRowOf("P0.0.05");
    gui::setCellText(ctl::table, row, 2, "a;b \"c\"");
    gatherExportRows();
    const std::string text = utf8FromUtf16le(csvBytes().substr(2));
    EXPECT_NE(text.find("\r\nP0.0.05;\"a;b \"\"c\"\"\";50.00;"), std::string::npos);
    EXPECT_NE(text.find("\r\nP0.0.00;Тип преобразователя частоты;"), std::string::npos);

    // Invalid UTF-8 turns into U+FFFD; characters beyond the BMP into surrogate pairs.
    std::string units;
    appendUtf16le(units, "\xFF" "A\xF0\x9F\x98\x80");
    EXPECT_EQ(units, std::string("\xFD\xFF" "A\0" "\x3D\xD8\x00\xDE", 8));
}

TEST_F(CsvExportTest, EmptyTableExportsTheHeaderAloneAndCopiesNothing)
{
    triggerMenu(cmd::newZr12);
    selectTreeItem(0);  // "Измененные параметры": none yet
    ASSERT_EQ(gui::tableRowCount(ctl::table), 0);
    answerDialog(folder() + "empty.csv");
    triggerMenu(cmd::exportCsv);
    EXPECT_EQ(readFileBytes(folder() + "empty.csv").substr(2), [] {
        std::string bytes;
        appendUtf16le(bytes, header + "\r\n");
        return bytes;
    }());
    gui::setClipboardText("before");
    copyAllToClipboard();
    EXPECT_EQ(gui::clipboardText(), "");
}

TEST_F(CsvExportTest, ClipboardCopiesTakeTheSetTextOrElseTheReadText)
{
    triggerMenu(cmd::newZr12);
    copyFromPopup(showRowOf("P0.0.05"), cmd::copyRowToClipboard);
    EXPECT_EQ(gui::clipboardText(), "P0.0.05  Задание частоты с пульта управления = 50.00\r");
    EXPECT_EQ(targetRow, rowOfCode("P0.0.05"));

    parameter("P9.0.07").readValue = 0x12;
    const int readOnlyRow = showRowOf("P9.0.07");
    gui::setCellText(ctl::table, readOnlyRow, 4, "$0012");
    copyFromPopup(readOnlyRow, cmd::copyRowToClipboard);
    EXPECT_EQ(gui::clipboardText(), "P9.0.07  Состояние входов = $0012\r");

    fillP0SubgroupsBackwards();
    copyFromPopup(0, cmd::copyAllToClipboard);
    const std::string text = gui::clipboardText();
    EXPECT_EQ(text.find('\n'), std::string::npos);
    const std::vector<std::string> lines = linesOf(text, "\r");
    ASSERT_EQ(lines.size(), 51u);
    EXPECT_EQ(lines[5], "P0.0.05  Задание частоты с пульта управления = 50.00");
    EXPECT_EQ(lines[25].substr(0, 9), "P0.1.00  ");
}

}  // namespace
