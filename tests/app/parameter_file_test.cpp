#include <gtest/gtest.h>

#include <filesystem>
#include <cstdlib>
#include <map>
#include <set>
#include <tuple>

#include <sys/stat.h>
#include <unistd.h>

#include "app/comm_window.h"
#include "app/csv_export.h"
#include "app/document_commands.h"
#include "app/in_place_editors.h"
#include "app/value_editors.h"
#include "description/value_text.h"
#include "platform/shell/folders.h"
#include "tests/app/document_test_support.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/folder_mode.h"
#include "tests/support/refused_files.h"
#include "tests/support/unprivileged_user.h"

namespace {

const char* const cannotSave = "Невозможно сохранить файл конфигурации";
const char* const replaceQuestion = "Файл с таким именем уже существует.\nЗаменить его?";

// A parameter file as the program writes it: UTF-8 behind a byte-order mark (without one it is Latin-1).
std::string pmr(const std::string& lines) { return "\xEF\xBB\xBF" + lines; }

class ParameterFileTest : public DocumentTest {
protected:
    void openFile(const std::string& path)
    {
        answerDialog(path);
        triggerMenu(cmd::fileOpen);
    }

    void setPortList(const std::string& port)
    {
        gui::clearItems(commctl::portList);
        gui::addItem(commctl::portList, port);
        gui::setState(commctl::portList, 0);
    }

    // A Zr12 document saved as the one file and exported to the other, then edited.
    void saveAndExportThenEdit(const std::string& pmrPath, const std::string& csvPath)
    {
        triggerMenu(cmd::newZr12);
        answerDialog(pmrPath);
        triggerMenu(cmd::fileSaveAs);
        answerDialog(csvPath);
        triggerMenu(cmd::exportCsv);
        typeSetValue("P0.0.05", "25.00");
    }

    std::vector<std::string> messageTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& message : messages)
            texts.push_back(message.text);
        return texts;
    }

    bool lastLogLineIs(const std::string& text)
    {
        const std::string log = logText();
        return log.ends_with(" = " + text + "\r\n");
    }

    // Boxes are answered as usual (OK, questions Yes); each also notes the temporary files of a
    // save that stand in the folder while it is up.
    void noteTemporaryFilesAtBoxes()
    {
        gui::setMessageBoxResponder([this](const gui::MessageBoxCall& call) {
            messages.push_back(call);
            for (const auto& entry : std::filesystem::recursive_directory_iterator(folder()))
                if (entry.path().filename().string().starts_with(".paramora-"))
                    temporaryFilesAtBoxes.push_back(call.text + ": " + entry.path().string());
            return call.buttons == gui::Buttons::YesNo ? gui::Answer::Yes : gui::Answer::Ok;
        });
    }
    std::vector<std::string> temporaryFilesAtBoxes;
};

TEST_F(ParameterFileTest, SavedFileHoldsTheGeneralGroupAndOnlyTheChangedValue)
{
    triggerMenu(cmd::newZr12);
    setPortList("COM3");
    typeSetValue("P0.0.05", "25.00");
    ASSERT_EQ(documentState, 2);
    triggerMenu(cmd::fileSave);

    EXPECT_EQ(readFileBytes(folder() + "New_Zr12.pmr"),
              "\xEF\xBB\xBF\r\n"
              "; Файл конфигурации Paramora\r\n"
              "; Paramora: настройка ПЧ и УПП по Modbus RTU\r\n"
              "; Набор параметров одного устройства\r\n"
              "; \r\n"
              "[General]\r\n"
              "Model = ПЧ Tovik Zr12\r\n"
              "Address = 1\r\n"
              "Port = COM3\r\n"
              "Baud = 3\r\n"
              "Parity = 0\r\n"
              "DataBit = 1\r\n"
              "StopBit = 0\r\n"
              "Mode = 0\r\n"
              "[Parameter Set]\r\n"
              "P0.0.05 = 2500\r\n");
    EXPECT_EQ(documentState, 1);
    EXPECT_EQ(gui::windowTitle(win::main), "Paramora - New_Zr12.pmr");
    EXPECT_TRUE(messages.empty());
}

TEST_F(ParameterFileTest, AFileSavedRightAfterNewHoldsNoValuesForAnyModel)
{
    for (int command : {cmd::newZr12, cmd::newZr24, cmd::newZr48, cmd::newZr48X, cmd::newYv20, cmd::newYv32,
                        cmd::newYv33, cmd::newJx9}) {
        triggerMenu(command);
        triggerMenu(cmd::fileSave);
        const std::string bytes = readFileBytes(folder() + currentFileName);
        EXPECT_NE(bytes.find("Model = " + currentModelName + "\r\n"), std::string::npos) << currentModelName;
        EXPECT_EQ(bytes.find("[Parameter"), std::string::npos) << currentModelName;
        EXPECT_EQ(bytes.find("[Check"), std::string::npos) << currentModelName;
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(ParameterFileTest, RoundTripBringsBackEverySetValueReadValueAndMark)
{
    using namespace editorctl;
    triggerMenu(cmd::newZr12);
    typeSetValue("P0.0.05", "25.00");
    typeSetValue("P2.0.14", "-30.0");  // signed
    const int choiceKey = parameter("P0.0.01").optionKey;
    clickCell(showRowOf("P0.0.01"), 3);
    chooseEntry(choiceKey, 2);
    focusSetCell("P2.1.02");  // decimal digits, default 00021
    chooseEntry(decRowList + 0, 3);
    clickButton(decOk);
    focusSetCell("P5.0.03");  // bit field
    clickControl(bitBox + 3);
    clickButton(bitOk);
    clickCell(showRowOf("P0.0.03"), 0);
    clickCell(showRowOf("P9.0.07"), 0);
    parameter("P9.0.07").readValue = 0x0005;
    parameter("P2.0.14").readValue = -150;
    parameter("P0.0.05").readValue = 4000;

    struct Values {
        std::int32_t set, read, mark;
        bool operator==(const Values&) const = default;
    };
    std::map<std::string, Values> saved;
    for (const Parameter& p : parameters)
        saved[p.code] = {p.setValue, p.readValue, CheckedKeys.read(p.optionKey)};
    EXPECT_EQ(saved["P0.0.01"].set, 2);
    EXPECT_EQ(saved["P2.1.02"].set, 24);
    EXPECT_EQ(saved["P5.0.03"].set, 8);
    EXPECT_EQ(saved["P2.0.14"].set, -300);
    EXPECT_EQ(saved["P0.0.03"].mark, 1);

    triggerMenu(cmd::fileSave);
    EXPECT_NE(readFileBytes(folder() + "New_Zr12.pmr").find("P2.0.14 = -300\r\n"), std::string::npos);
    triggerMenu(cmd::newJx9);
    ASSERT_EQ(currentModelName, "УПП Tovik Jx9");
    openFile(folder() + "New_Zr12.pmr");

    ASSERT_EQ(currentModelName, "ПЧ Tovik Zr12");
    for (const Parameter& p : parameters)
        EXPECT_EQ((Values{p.setValue, p.readValue, CheckedKeys.read(p.optionKey)}), saved[p.code]) << p.code;
    EXPECT_EQ(gui::cellText(ctl::table, showRowOf("P2.0.14"), 3), "-30.0");
    EXPECT_EQ(gui::cellText(ctl::table, showRowOf("P0.0.05"), 3), "25.00");
    EXPECT_EQ(gui::cellText(ctl::table, showRowOf("P2.1.02"), 3), "00024");
    EXPECT_TRUE(gui::rowChecked(ctl::table, showRowOf("P0.0.03")));
    EXPECT_EQ(gui::windowTitle(win::main), "Paramora - New_Zr12.pmr");
}

TEST_F(ParameterFileTest, EachOpenResultShowsItsMessageLogsItAndLeavesTheDocumentAlone)
{
    logOut = 1;
    triggerMenu(cmd::newZr12);
    parameter("P0.0.05").setValue = 2500;
    // A plain file that opens but whose reading fails.
    std::filesystem::create_symlink("/proc/self/mem", folder() + "unreadable.pmr");
    const std::string wrongFormat = "Неверный формат файла!\r";

    struct Case {
        const char* content;  // nullptr: no file is written
        const char* path;     // nullptr: the dialog is cancelled
        gui::Answer reloadAnswer;
        bool connected;
        int result;
        std::string message;  // the last box shown; empty: none besides questions
    };
    const Case cases[] = {
        {nullptr, nullptr, gui::Answer::Yes, false, 0, ""},
        {nullptr, "missing.pmr", gui::Answer::Yes, false, 0, "Невозможно открыть файл конфигурации"},
        {nullptr, "unreadable.pmr", gui::Answer::Yes, false, 8, wrongFormat + "Нет ни одной группы"},
        {"[General]\r\nAddress = 5\r\n", "a.pmr", gui::Answer::Yes, false, 3,
         wrongFormat + "Файл конфигурации не содержит модели оборудования."},
        {"[General]\r\nModel = ПЧ Tovik Zr99\r\n", "b.pmr", gui::Answer::Yes, false, 4,
         wrongFormat + "Модель оборудования не соответствует ни одному наименованию."},
        {"[Parameter Set]\r\nP0.0.05 = 100\r\n[Check Parameter]\r\nP0.0.03 = 1\r\n", "c.pmr", gui::Answer::Yes, false,
         5, wrongFormat + "Отсутствует группа General"},
        {"", "d.pmr", gui::Answer::Yes, false, 5, wrongFormat + "Отсутствует группа General"},
        {"[General]\r\nModel = ПЧ Halmer Zr24\r\n", "e.pmr", gui::Answer::No, false, 9, ""},
        {"[General]\r\nModel = ПЧ Halmer Zr24\r\n", "e.pmr", gui::Answer::Yes, true, 10,
         "Невозможно создать новый файл\nВы подключены к оборудованию и его тип\n"
         "не совпадает с типом оборудования нового файла"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path ? c.path : "cancelled");
        if (c.content)
            writeFileBytes(folder() + c.path, pmr(c.content));
        if (c.path)
            answerDialog(folder() + c.path);
        else
            cancelDialog();
        messages.clear();
        answers = {c.reloadAnswer};
        connectedPort = c.connected ? 1 : 0;
        // Open is a menu item the connection greys; the command itself is what is tested here.
        documentCommand(cmd::fileOpen);
        pump();
        connectedPort = 0;

        EXPECT_TRUE(lastLogLineIs("#MenuItem_FileOpen " + std::to_string(c.result)));
        if (c.message.empty()) {
            for (const auto& box : messages)
                EXPECT_EQ(box.buttons, gui::Buttons::YesNo);
        } else {
            ASSERT_FALSE(messages.empty());
            EXPECT_EQ(messages.back().text, c.message);
            EXPECT_EQ(messages.back().title, "Ошибка");
            EXPECT_EQ(messages.back().icon, gui::Icon::Error);
        }
        EXPECT_EQ(currentModelName, "ПЧ Tovik Zr12");
        EXPECT_EQ(currentFileName, "New_Zr12.pmr");
        EXPECT_EQ(parameter("P0.0.05").setValue, 2500);
        EXPECT_EQ(CheckedKeys.read(parameter("P0.0.03").optionKey), 0);
        EXPECT_EQ(documentState, 1);
        EXPECT_FALSE(gui::windowVisible(win::wait));
    }
    // The reload question of result 9.
    answers = {gui::Answer::No};
    messages.clear();
    openFile(folder() + "e.pmr");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Внимание");
    EXPECT_EQ(messages[0].text, "Текущий открытый файл не соответствует типу оборудования файла конфигурации.\n"
                                "Желаете открыть файл и перезагрузить параметры?");

    writeFileBytes(folder() + "f.pmr", pmr("[General]\r\nModel = ПЧ Tovik Zr12\r\n"));
    openFile(folder() + "f.pmr");
    EXPECT_TRUE(lastLogLineIs("#MenuItem_FileOpen 1"));
    EXPECT_EQ(currentFileName, "f.pmr");
    EXPECT_EQ(parameter("P0.0.05").setValue, 5000);
    EXPECT_EQ(FilePath, folder());
}

TEST_F(ParameterFileTest, AFileOfTheLoadedModelStartsFromInitialValuesAndItsOwnMarks)
{
    triggerMenu(cmd::newZr12);
    clickCell(showRowOf("P0.0.03"), 0);
    parameter("P0.0.05").setValue = 2500;
    writeFileBytes(folder() + "same.pmr", pmr("[General]\r\nModel = ПЧ Tovik Zr12\r\n[Parameter Set]\r\nP2.0.14 = 65236\r\nP0.0.07 = $1F40\r\n"
                   "P9.9.99 = 7\r\n[Parameter Read]\r\nP2.0.16 = -5\r\n[Check Parameter]\r\nP0.0.04 = 1\r\n"));
    openFile(folder() + "same.pmr");
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(parameter("P0.0.05").setValue, 5000);
    EXPECT_EQ(parameter("P2.0.14").setValue, -300);  // the register word of -30.0
    EXPECT_EQ(parameter("P2.0.16").readValue, -5);
    EXPECT_EQ(parameter("P0.0.07").setValue, 8000);
    EXPECT_EQ(CheckedKeys.read(parameter("P0.0.03").optionKey), 0);
    EXPECT_EQ(CheckedKeys.read(parameter("P0.0.04").optionKey), 1);
    EXPECT_EQ(gui::cellText(ctl::table, showRowOf("P2.0.14"), 3), "-30.0");
    EXPECT_EQ(gui::text(parameter("P2.0.14").optionKey), "-30.0");
}

// A FIFO, a device, a folder or a file far larger than any parameter file is a file that cannot be
// opened; none of them blocks the program or ends it.
TEST_F(ParameterFileTest, OpenRefusesWhatIsNotAPlainFileOfSaneSize)
{
    triggerMenu(cmd::newZr12);
    parameter("P0.0.05").setValue = 2500;
    const std::string valid = pmr("[General]\r\nModel = ПЧ Tovik Zr12\r\n[Parameter Set]\r\nP0.0.05 = 1234\r\n");
    int n = 0;
    for (const RefusedFile& c : refusedFiles) {
        SCOPED_TRACE(c.name);
        const std::string path = folder() + "refused" + std::to_string(++n) + ".pmr";
        c.make(path, valid);
        messages.clear();
        logOut = 1;
        readWithoutBlocking(path, [&] { openFile(path); });
        logOut = 0;
        EXPECT_TRUE(lastLogLineIs("#MenuItem_FileOpen 0"));
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].title, "Ошибка");
        EXPECT_EQ(messages[0].text, "Невозможно открыть файл конфигурации");
        EXPECT_EQ(currentFileName, "New_Zr12.pmr");
        EXPECT_EQ(parameter("P0.0.05").setValue, 2500);
        EXPECT_EQ(documentState, 1);
    }
}

// Files no program wrote. Opening never crashes, takes every value it can use, and leaves a
// document whose table shows what it holds.
TEST_F(ParameterFileTest, DamagedFilesOpenWithEveryUsableValue)
{
    triggerMenu(cmd::newZr12);
    const std::string general = "[General]\r\nModel = ПЧ Tovik Zr12\r\n";
    const std::string longLine(1 << 19, '7');  // whole files stay under the size cap
    std::string unknownKeysAndGroups = "[Parameter Set]\r\n";
    for (int i = 0; i < 5000; ++i)
        unknownKeysAndGroups += "P" + std::to_string(i) + " = " + std::to_string(i) + "\r\n[Group " + std::to_string(i) + "]\r\n";
    using namespace std::string_literals;
    struct Case {
        const char* name;
        std::string bytes;
        int result;
        std::int32_t p05;  // set value of P0.0.05 afterwards; 0: the open left the document alone
        bool p04Marked;
    };
    const Case cases[] = {
        {"invalid UTF-8", pmr(general + "Address = \xFF\xC0\x80\r\n[Parameter Set]\r\n\xC3\x28 = 1\r\nP0.0.05 = 1234\r\n"),
         1, 1234, false},
        {"invalid UTF-8 in the model", pmr("[General]\r\nModel = ПЧ Tovik Zr12\xFF\r\n"), 4, 0, false},
        {"NUL bytes", pmr(general + "[Parameter Set]\r\nP0.0.05 = 12\0 34\r\nP0.0\0.07 = 1\r\n[Check Parameter]\r\nP0.0.04 = 1\0\r\n"s),
         1, 12, true},
        {"NUL in the model", pmr("[General]\r\nModel = ПЧ Tovik Zr12\0\r\n"s), 4, 0, false},
        {"lines of half a megabyte", pmr("; " + longLine + "\r\n" + general + "Address = " + longLine + "\r\n[Parameter Set]\r\n" +
                                         longLine + " = 1\r\nP0.0.06 = " + longLine + "\r\nP0.0.05 = 1234\r\n"),
         1, 1234, false},
        // Without the byte-order mark the file is Latin-1, where no model name can be written.
        {"Latin-1 lines of megabytes", std::string(2 << 20, '\xE9') + "\r\n" + general, 4, 0, false},
        {"thousands of unknown keys and groups", pmr(general + unknownKeysAndGroups + "[Parameter Set]\r\nP0.0.05 = 1234\r\n"),
         1, 1234, false},
        {"duplicate groups", pmr(general + "[Parameter Set]\r\nP0.0.05 = 1\r\n[Check Parameter]\r\nP0.0.04 = 1\r\n" + general +
                                 "[Parameter Set]\r\nP0.0.05 = 1234\r\n[Check Parameter]\r\n"),
         1, 1234, true},
        {"a second General of another model", pmr(general + "[Parameter Set]\r\nP0.0.05 = 1234\r\n[General]\r\nModel = УПП Tovik Jx9\r\n"),
         1, 1234, false},
        {"a second General without a model", pmr(general + "[Check Parameter]\r\nP0.0.04 = 1\r\n[General]\r\n[Parameter Set]\r\nP0.0.05 = 1234\r\n"),
         1, 1234, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        parameter("P0.0.05").setValue = 2500;
        writeFileBytes(folder() + "damaged.pmr", c.bytes);
        messages.clear();
        logOut = 1;
        openFile(folder() + "damaged.pmr");
        logOut = 0;
        EXPECT_TRUE(lastLogLineIs("#MenuItem_FileOpen " + std::to_string(c.result)));
        // A model that is not the document's is asked about first.
        EXPECT_EQ(messages.size(), c.result == 1 ? 0u : 2u);
        EXPECT_EQ(currentModelName, "ПЧ Tovik Zr12");
        EXPECT_EQ(documentState, 1);
        const std::int32_t expected = c.p05 != 0 ? c.p05 : 2500;
        EXPECT_EQ(parameter("P0.0.05").setValue, expected);
        if (c.result == 1) {
            EXPECT_EQ(gui::cellText(ctl::table, showRowOf("P0.0.05"), 3), displayText(expected, 2));
            EXPECT_EQ(parameter("P0.0.07").setValue, initialValue(parameter("P0.0.07")));
            EXPECT_EQ(CheckedKeys.read(parameter("P0.0.04").optionKey), c.p04Marked ? 1 : 0);
        }
    }
    // Still usable: a save writes what the last file gave.
    triggerMenu(cmd::fileSave);
    EXPECT_NE(readFileBytes(folder() + "damaged.pmr").find("P0.0.05 = 1234\r\n"), std::string::npos);
}

TEST_F(ParameterFileTest, LinkSettingsGoIntoTheFileAndComeBackAllButThePort)
{
    using namespace commctl;
    triggerMenu(cmd::newZr12);
    setPortList("/dev/ttyUSB0");
    gui::setText(addressField, "17");
    const std::tuple<const char*, int, int> lists[] = {
        {"Baud", baudList, 5}, {"Parity", parityList, 2}, {"DataBit", dataBitsList, 0}, {"StopBit", stopBitsList, 2},
        {"Mode", modeList, 1}};
    for (const auto& [key, list, position] : lists)
        gui::setState(list, position);
    triggerMenu(cmd::fileSave);
    const std::string bytes = readFileBytes(folder() + "New_Zr12.pmr");
    EXPECT_NE(bytes.find("Address = 17\r\nPort = /dev/ttyUSB0\r\nBaud = 5\r\nParity = 2\r\nDataBit = 0\r\n"
                         "StopBit = 2\r\nMode = 1\r\n"),
              std::string::npos);

    setPortList("/dev/ttyS1");
    gui::setText(addressField, "1");
    for (const auto& [key, list, position] : lists)
        gui::setState(list, 1);
    openFile(folder() + "New_Zr12.pmr");
    EXPECT_EQ(gui::text(addressField), "17");
    EXPECT_EQ(deviceAddressText, "17");
    EXPECT_EQ(gui::text(portList), "/dev/ttyS1");
    for (const auto& [key, list, position] : lists)
        EXPECT_EQ(gui::state(list), position) << key;

    // Missing keys take their defaults; StopBit and Mode the first entries.
    writeFileBytes(folder() + "bare.pmr", pmr("[General]\r\nModel = ПЧ Tovik Zr12\r\nBaud = 99\r\n"));
    openFile(folder() + "bare.pmr");
    EXPECT_EQ(gui::text(addressField), "1");
    EXPECT_EQ(gui::state(baudList), 5);  // a position the list lacks leaves it as it was
    EXPECT_EQ(gui::state(parityList), 0);
    EXPECT_EQ(gui::state(dataBitsList), 1);
    EXPECT_EQ(gui::state(stopBitsList), 0);
    EXPECT_EQ(gui::state(modeList), 0);
}

TEST_F(ParameterFileTest, AFailedSaveKeepsTheOldFileAndStopsTheCommandThatAsked)
{
    triggerMenu(cmd::newZr12);
    triggerMenu(cmd::fileSave);
    const std::string path = folder() + "New_Zr12.pmr";
    const std::string old = readFileBytes(path);
    typeSetValue("P0.0.05", "25.00");
    {
        const FileSizeLimit limit(64);
        triggerMenu(cmd::fileSave);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, cannotSave);
        EXPECT_EQ(messages[0].title, "Ошибка");

        messages.clear();
        triggerMenu(cmd::newJx9);  // save question: Yes, and the save fails
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_EQ(messages[0].text, "Текущий открытый файл не сохранен\nЖелаете сохранить?");
        EXPECT_EQ(messages[1].text, cannotSave);

        messages.clear();
        const std::size_t dialogsBefore = dialogs.size();
        triggerMenu(cmd::fileOpen);
        EXPECT_EQ(messages.size(), 2u);
        EXPECT_EQ(dialogs.size(), dialogsBefore);

        triggerMenu(cmd::exit);
        EXPECT_TRUE(gui::windowExists(win::main));
        gui::windowWidget(win::main)->close();  // the close box
        pump();
        EXPECT_TRUE(gui::windowExists(win::main));

        messages.clear();
        triggerMenu(cmd::commSettings);  // another model, picked in the Comm Window
        chooseEntry(commctl::modelList, 4);
        EXPECT_EQ(messageTexts().back(), cannotSave);
        EXPECT_EQ(gui::text(commctl::modelList), "ПЧ Tovik Zr12");
        gui::windowWidget(win::comm)->close();
        pump();
    }
    EXPECT_EQ(readFileBytes(path), old);
    EXPECT_EQ(currentModelName, "ПЧ Tovik Zr12");
    EXPECT_EQ(parameter("P0.0.05").setValue, 2500);
    EXPECT_EQ(documentState, 2);
    EXPECT_EQ(gui::windowTitle(win::main), "Paramora - *New_Zr12.pmr");
    std::set<std::string> names;  // no temporary file is left behind
    for (const auto& entry : std::filesystem::directory_iterator(folder()))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"Paramora.ini", "New_Zr12.pmr"}));

    // A folder in the way of a document never saved.
    triggerMenu(cmd::fileSave);
    triggerMenu(cmd::newZr24);
    std::filesystem::create_directory(folder() + "New_Zr24.pmr");
    typeSetValue("P0.0.05", "25.00");
    messages.clear();
    triggerMenu(cmd::fileSave);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, cannotSave);
    EXPECT_EQ(documentState, 2);
}

// A full disk under every file the program writes: each write fails with its message, leaves the
// file it would have replaced as it was, and the document goes on as it stood.
TEST_F(ParameterFileTest, AFullDiskKeepsEveryOldFileAndTheDocument)
{
    const std::string pmrPath = folder() + "kept.pmr";
    const std::string csvPath = folder() + "kept.csv";
    saveAndExportThenEdit(pmrPath, csvPath);
    std::filesystem::create_directory(folder() + "other");
    const std::string oldPmr = readFileBytes(pmrPath), oldCsv = readFileBytes(csvPath);
    const std::string oldSettings = readFileBytes("Paramora.ini");
    ASSERT_TRUE(messages.empty());
    noteTemporaryFilesAtBoxes();
    {
        const FileSizeLimit limit(64);
        triggerMenu(cmd::fileSave);
        answerDialog(pmrPath);
        triggerMenu(cmd::fileSaveAs);
        answerDialog(folder() + "other/new.pmr");
        triggerMenu(cmd::fileSaveAs);
        answerDialog(csvPath);
        triggerMenu(cmd::exportCsv);
        EXPECT_EQ(messageTexts(), (std::vector<std::string>{cannotSave, replaceQuestion, cannotSave, cannotSave,
                                                            replaceQuestion, "Невозможно создать файл"}));
    }
    EXPECT_EQ(readFileBytes(pmrPath), oldPmr);
    EXPECT_EQ(readFileBytes(csvPath), oldCsv);
    EXPECT_EQ(readFileBytes("Paramora.ini"), oldSettings);
    EXPECT_FALSE(fileExists(folder() + "other/new.pmr"));
    EXPECT_EQ(documentState, 2);
    EXPECT_EQ(currentFileName, "kept.pmr");
    EXPECT_EQ(FilePath, folder());
    EXPECT_EQ(parameter("P0.0.05").setValue, 2500);

    // With room again the same commands work; then the settings written at the close box fail.
    triggerMenu(cmd::fileSave);
    EXPECT_EQ(documentState, 1);
    EXPECT_NE(readFileBytes(pmrPath).find("P0.0.05 = 2500\r\n"), std::string::npos);
    messages.clear();
    {
        const FileSizeLimit limit(64);
        gui::windowWidget(win::main)->close();
        pump();
    }
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Невозможно сохранить файл настроек");
    EXPECT_EQ(readFileBytes("Paramora.ini"), oldSettings);
    EXPECT_EQ(temporaryFilesAtBoxes, std::vector<std::string>{});
    std::set<std::string> names;  // no temporary file is left behind
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder()))
        names.insert(entry.path().lexically_relative(folder()).string());
    EXPECT_EQ(names, (std::set<std::string>{"Paramora.ini", "kept.csv", "kept.pmr", "other"}));
}

TEST_F(ParameterFileTest, SaveWritesBackToTheDocumentsOwnFileAndAsksBeforeReplacingAnother)
{
    std::filesystem::create_directory(folder() + "elsewhere");
    const std::string own = folder() + "elsewhere/b.pmr";
    writeFileBytes(own, pmr("[General]\r\nModel = ПЧ Tovik Zr12\r\n"));
    openFile(own);
    typeSetValue("P0.0.05", "25.00");
    triggerMenu(cmd::fileSave);
    EXPECT_NE(readFileBytes(own).find("P0.0.05 = 2500\r\n"), std::string::npos);
    EXPECT_FALSE(fileExists(folder() + "b.pmr"));
    EXPECT_EQ(FilePath, folder());
    EXPECT_EQ(documentState, 1);

    // A new document's name may already belong to another file in FilePath.
    writeFileBytes(folder() + "New_Zr12.pmr", "another document");
    triggerMenu(cmd::newZr12);
    messages.clear();
    answers = {gui::Answer::No};
    triggerMenu(cmd::fileSave);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Внимание");
    EXPECT_EQ(messages[0].buttons, gui::Buttons::YesNo);
    EXPECT_EQ(readFileBytes(folder() + "New_Zr12.pmr"), "another document");
    triggerMenu(cmd::fileSave);  // Yes
    EXPECT_NE(readFileBytes(folder() + "New_Zr12.pmr").find("[General]"), std::string::npos);
    messages.clear();
    triggerMenu(cmd::fileSave);  // its own file now: no question
    EXPECT_TRUE(messages.empty());
}

// A file of a model the program has no description of opens as an empty document, which cannot
// hold the file's values: Save asks for a file as Save as does, and the file itself stays as it was.
TEST_F(ParameterFileTest, SaveNeverReplacesAFileOfAModelWithoutDescription)
{
    for (const std::string model : {"ПЧ Tovik Zr36", "ПЧ Halmer Wq16"}) {
        SCOPED_TRACE(model);
        triggerMenu(cmd::newZr12);
        const std::string path = folder() + "other.pmr";
        const std::string bytes = pmr("\r\n; written elsewhere\r\n[General]\r\nModel = " + model +
                                      "\r\nAddress = 7\r\nBaud = 5\r\n[Parameter Set]\r\nF0.01 = 500\r\n"
                                      "[Parameter Read]\r\nF0.02 = 3\r\n[Check Parameter]\r\nF0.01 = 1\r\n");
        writeFileBytes(path, bytes);
        openFile(path);  // the reload question: Yes
        EXPECT_EQ(currentFileName, "other.pmr");
        EXPECT_EQ(gui::tableRowCount(ctl::table), 0);

        const std::size_t dialogsBefore = dialogs.size();
        cancelDialog();
        triggerMenu(cmd::fileSave);
        ASSERT_EQ(dialogs.size(), dialogsBefore + 1);
        EXPECT_TRUE(dialogs.back().save);
        EXPECT_EQ(dialogs.back().title, "Сохранить файл конфигурации");
        EXPECT_EQ(readFileBytes(path), bytes);
        EXPECT_EQ(currentFileName, "other.pmr");

        answerDialog(folder() + "copy");
        triggerMenu(cmd::fileSave);
        EXPECT_TRUE(fileExists(folder() + "copy.pmr"));
        EXPECT_EQ(currentFileName, "copy.pmr");
        EXPECT_EQ(readFileBytes(path), bytes);
        std::filesystem::remove(folder() + "copy.pmr");
    }
}

// The empty document of a model without description holds nothing a file of a described model could
// go back to: such a file loads its model, as for a change of model, and Save writes its values.
TEST_F(ParameterFileTest, AFileOfADescribedModelLoadsAfterAnEmptyDocument)
{
    triggerMenu(cmd::newZr12);
    writeFileBytes(folder() + "zr36.pmr", pmr("[General]\r\nModel = ПЧ Tovik Zr36\r\n"));
    const std::string path = folder() + "zr12.pmr";
    writeFileBytes(path, pmr("[General]\r\nModel = ПЧ Tovik Zr12\r\n[Parameter Set]\r\nP0.0.05 = 2500\r\n"
                             "[Parameter Read]\r\nP2.0.16 = 7\r\n[Check Parameter]\r\nP0.0.04 = 1\r\n"));
    openFile(folder() + "zr36.pmr");
    ASSERT_EQ(gui::tableRowCount(ctl::table), 0);
    messages.clear();
    openFile(path);
    EXPECT_EQ(currentFileName, "zr12.pmr");
    EXPECT_EQ(documentState, 1);
    ASSERT_GT(gui::tableRowCount(ctl::table), 0);
    EXPECT_EQ(parameter("P0.0.05").setValue, 2500);
    EXPECT_EQ(gui::cellText(ctl::table, showRowOf("P0.0.05"), 3), "25.00");
    EXPECT_EQ(parameter("P2.0.16").readValue, 7);
    EXPECT_EQ(CheckedKeys.read(parameter("P0.0.04").optionKey), 1);
    ASSERT_EQ(messages.size(), 1u);  // the question of a change of model
    EXPECT_EQ(messages[0].title, "Внимание");

    const std::size_t dialogsBefore = dialogs.size();
    triggerMenu(cmd::fileSave);
    EXPECT_EQ(dialogs.size(), dialogsBefore);
    const std::string saved = readFileBytes(path);
    for (const char* line : {"P0.0.05 = 2500\r\n", "[Parameter Read]\r\nP2.0.16 = 7\r\n", "[Check Parameter]\r\nP0.0.04 = 1\r\n"})
        EXPECT_NE(saved.find(line), std::string::npos) << line;
}

TEST_F(ParameterFileTest, SaveAsNamesTheFileByThePatternAndMovesFilePath)
{
    triggerMenu(cmd::newZr12);
    std::filesystem::create_directory(folder() + "sub");
    const std::string sub = folder() + "sub/";
    struct Case {
        const char* chosen;
        int pattern;
        const char* written;
    };
    std::string longName;  // 254 bytes with its extension: the longest name a folder takes, nearly
    for (int i = 0; i < 125; ++i)
        longName += "я";
    const std::string longFile = longName + ".pmr";
    for (const Case& c : {Case{"a", 0, "a.pmr"}, Case{"b.pmr", 0, "b.pmr"}, Case{"c.PMR", 0, "c.PMR.pmr"},
                          Case{"back\\slash", 0, "back\\slash.pmr"}, Case{longName.c_str(), 0, longFile.c_str()},
                          Case{"d.txt", 1, "d.txt"}}) {
        const std::string previousName = currentFileName;
        answerDialog(sub + c.chosen, c.pattern);
        triggerMenu(cmd::fileSaveAs);
        EXPECT_EQ(dialogs.back().title, "Сохранить файл конфигурации");
        EXPECT_EQ(dialogs.back().fileName, previousName);
        EXPECT_TRUE(fileExists(sub + c.written)) << c.written;
        EXPECT_EQ(currentFileName, c.written);
        EXPECT_EQ(FilePath, sub);
        EXPECT_EQ(gui::windowTitle(win::main), std::string("Paramora - ") + c.written);
    }
    EXPECT_EQ(dialogs.back().patterns, (std::vector<std::string>{"Paramora (*.pmr)", "Все файлы (*)"}));
    EXPECT_EQ(FilePath, sub);
    EXPECT_NE(readFileBytes("Paramora.ini").find("FilePath = " + sub + "\r\n"), std::string::npos);
    EXPECT_EQ(dialogs.back().folder, sub);

    answerDialog(folder() + "missing/x.pmr");
    triggerMenu(cmd::fileSaveAs);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().text, cannotSave);
    EXPECT_EQ(currentFileName, "d.txt");
    EXPECT_EQ(FilePath, sub);
}

// The name is final only after the dialog (the extension comes then), so the question about an
// existing file comes after it too; No leaves everything as it was.
TEST_F(ParameterFileTest, SaveAsAsksBeforeReplacingAFile)
{
    triggerMenu(cmd::newZr12);
    std::filesystem::create_directory(folder() + "sub");
    const std::string mine = folder() + "sub/mydoc.pmr";
    writeFileBytes(mine, "another document");
    typeSetValue("P0.0.05", "25.00");
    const std::string settings = readFileBytes("Paramora.ini");
    messages.clear();
    answers = {gui::Answer::No};
    answerDialog(folder() + "sub/mydoc");
    triggerMenu(cmd::fileSaveAs);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Внимание");
    EXPECT_EQ(messages[0].text, replaceQuestion);
    EXPECT_EQ(messages[0].icon, gui::Icon::Question);
    EXPECT_EQ(messages[0].buttons, gui::Buttons::YesNo);
    EXPECT_EQ(readFileBytes(mine), "another document");
    EXPECT_EQ(readFileBytes("Paramora.ini"), settings);
    EXPECT_EQ(currentFileName, "New_Zr12.pmr");
    EXPECT_EQ(FilePath, folder());
    EXPECT_EQ(documentState, 2);

    answerDialog(folder() + "sub/mydoc");  // Yes
    triggerMenu(cmd::fileSaveAs);
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_NE(readFileBytes(mine).find("P0.0.05 = 2500\r\n"), std::string::npos);
    EXPECT_EQ(currentFileName, "mydoc.pmr");
    EXPECT_EQ(FilePath, folder() + "sub/");

    typeSetValue("P0.0.05", "30.00");
    triggerMenu(cmd::fileSave);  // the document's own file: no question
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_NE(readFileBytes(mine).find("P0.0.05 = 3000\r\n"), std::string::npos);
}

// As a user who may not write them (root may write any file), a write-protected document, CSV file
// and settings file are reported as not saved and stay byte for byte as they were.
TEST_F(ParameterFileTest, WriteProtectedFilesAreNeverReplaced)
{
    const std::string pmrPath = folder() + "kept.pmr";
    const std::string csvPath = folder() + "kept.csv";
    saveAndExportThenEdit(pmrPath, csvPath);
    const std::vector<std::string> kept = {pmrPath, csvPath, folder() + "Paramora.ini"};
    std::map<std::string, std::string> old;
    for (const std::string& path : kept) {
        old[path] = readFileBytes(path);
        std::filesystem::permissions(path, std::filesystem::perms(0444));
    }
    const UnprivilegedUser user(folder());
    if (!user.failure().empty())
        GTEST_SKIP() << user.failure();
    if (!writeProtected(pmrPath))
        GTEST_SKIP() << "this user may write a 0444 file anyway";
    messages.clear();

    triggerMenu(cmd::fileSave);
    answerDialog(pmrPath);  // the replace question: Yes
    triggerMenu(cmd::fileSaveAs);
    answerDialog(csvPath);  // Yes
    triggerMenu(cmd::exportCsv);
    answerDialog(folder() + "other.pmr");  // written; the settings file that would take its folder is not
    triggerMenu(cmd::fileSaveAs);
    EXPECT_EQ(messageTexts(), (std::vector<std::string>{cannotSave, replaceQuestion, cannotSave, replaceQuestion,
                                                        "Невозможно создать файл", "Невозможно сохранить файл настроек"}));
    for (const std::string& path : kept)
        EXPECT_EQ(readFileBytes(path), old[path]) << path;
    EXPECT_TRUE(fileExists(folder() + "other.pmr"));
}

// A locked folder (the working folder, so Paramora.ini too) holding files the user may write: the
// parameter file, the CSV file and the settings file at the close box are written where they stand.
TEST_F(ParameterFileTest, WritableFilesInALockedFolderAreSaved)
{
    const std::string pmrPath = folder() + "kept.pmr";
    const std::string csvPath = folder() + "kept.csv";
    saveAndExportThenEdit(pmrPath, csvPath);
    const UnprivilegedUser user(folder());
    if (!user.failure().empty())
        GTEST_SKIP() << user.failure();
    const FolderMode locked(folder(), std::filesystem::perms(0555));
    if (!writeProtected(folder()))
        GTEST_SKIP() << "this user may write a locked folder anyway";
    messages.clear();
    waitTimer = 250;

    triggerMenu(cmd::fileSave);
    answerDialog(csvPath);  // the replace question: Yes
    triggerMenu(cmd::exportCsv);
    gui::windowWidget(win::main)->close();
    pump();
    EXPECT_EQ(messageTexts(), std::vector<std::string>{replaceQuestion});
    EXPECT_NE(readFileBytes(pmrPath).find("P0.0.05 = 2500\r\n"), std::string::npos);
    EXPECT_TRUE(readFileBytes(csvPath) == csvBytes());
    EXPECT_NE(readFileBytes("Paramora.ini").find("waitTimer = 250\r\n"), std::string::npos);
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder()))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"Paramora.ini", "kept.csv", "kept.pmr"}));
}

TEST_F(ParameterFileTest, AFileOpenedAndSavedByRootKeepsItsOwnerGroupAndMode)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "giving a file to another user needs root";
    const std::string path = folder() + "own.pmr";
    writeFileBytes(path, pmr("[General]\r\nModel = ПЧ Tovik Zr12\r\n"));
    ASSERT_EQ(chown(path.c_str(), 1234, 2000), 0);
    ASSERT_EQ(chmod(path.c_str(), 0664), 0);
    openFile(path);
    typeSetValue("P0.0.05", "25.00");
    triggerMenu(cmd::fileSave);
    EXPECT_TRUE(messages.empty());
    EXPECT_NE(readFileBytes(path).find("P0.0.05 = 2500\r\n"), std::string::npos);
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 1234u);
    EXPECT_EQ(info.st_gid, 2000u);
    EXPECT_EQ(info.st_mode & 07777, 0664u);
}

// HOME in the test's folder, so the Documents folder the program asks the desktop for is a fresh,
// empty one there.
class FreshHome {
public:
    explicit FreshHome(const std::string& home)
    {
        for (const char* name : {"HOME", "XDG_CONFIG_HOME"})
            if (const char* value = std::getenv(name))
                saved_.emplace_back(name, value);
        setenv("HOME", home.c_str(), 1);
        unsetenv("XDG_CONFIG_HOME");
    }
    ~FreshHome()
    {
        unsetenv("XDG_CONFIG_HOME");
        for (const auto& [name, value] : saved_)
            setenv(name.c_str(), value.c_str(), 1);
    }

private:
    std::vector<std::pair<std::string, std::string>> saved_;
};

// A fresh account has no Documents/Paramora/ and nothing else makes it: the program makes that
// folder, and only that one, when a save or a file dialog needs it.
TEST_F(ParameterFileTest, TheDefaultFolderIsMadeWhenASaveOrAFileDialogNeedsIt)
{
    const std::string home = folder() + "home";
    const FreshHome fresh(home);
    FilePath = defaultFilePath();
    ASSERT_TRUE(FilePath.starts_with(home + "/")) << FilePath;
    std::vector<std::string> foldersAtDialog;
    gui::setFileDialogResponder([&](const gui::FileDialogRequest& request) -> std::optional<gui::FileDialogAnswer> {
        if (shell::folderExists(request.folder))
            foldersAtDialog.push_back(request.folder);
        return std::nullopt;
    });
    triggerMenu(cmd::newZr12);
    for (const int command : {cmd::fileSaveAs, cmd::exportCsv, cmd::fileOpen}) {
        std::filesystem::remove_all(home);
        triggerMenu(command);
    }
    EXPECT_EQ(foldersAtDialog, std::vector<std::string>(3, FilePath));

    std::filesystem::remove_all(home);
    triggerMenu(cmd::fileSave);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(fileExists(FilePath + "New_Zr12.pmr"));
    EXPECT_EQ(documentState, 1);

    // A folder of the user's that is gone stays gone.
    FilePath = folder() + "gone/";
    triggerMenu(cmd::newZr24);
    triggerMenu(cmd::fileSave);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, cannotSave);
    EXPECT_FALSE(fileExists(folder() + "gone"));
}

}  // namespace
