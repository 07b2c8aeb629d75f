#include "app/settings_file.h"

#include "app/preference_file.h"
#include "platform/gui/message_box.h"
#include "platform/shell/folders.h"

namespace {

constexpr const char* warningTitle = "Предупреждение";
constexpr const char* errorTitle = "Ошибка";
constexpr const char* cannotOpenText = "Невозможно открыть файл настроек\rБудет создан файл по умолчанию";
constexpr const char* badFormatText = "Неправильный формат файла настроек\rБудет создан файл по умолчанию";
constexpr const char* cannotSaveText = "Невозможно сохранить файл настроек";
constexpr const char* titleComment = "Файл настройки Paramora";
constexpr const char* makerLine1 = "Paramora: настройка ПЧ и УПП по Modbus RTU";
constexpr const char* makerLine2 = "Файл записывается программой при закрытии главного окна";

constexpr const char* columnWidthKeys[tableColumnCount] = {
    "colWidth_Code", "colWidth_Name", "colWidth_Set", "colWidth_Read",
    "colWidth_Range", "colWidth_Default", "colWidth_Addr", "colWidth_AddrEE",
};

constexpr std::int32_t defaultWaitTimer = 100;
constexpr std::int32_t defaultRepeatCount = 3;
constexpr std::uint16_t defaultLogOut = 0;

std::uint16_t asWord(std::int32_t value) { return static_cast<std::uint16_t>(value); }

// A folder that exists is used as written, given the closing "/" that file names are appended to.
std::string usableFilePath(std::string path)
{
    if (path.empty() || !shell::folderExists(path))
        return defaultFilePath();
    if (path.back() != '/')
        path += '/';
    return path;
}

void readGeneral(const PreferenceReader& reader)
{
    FilePath = usableFilePath(reader.readText("FilePath", defaultFilePath()));
    setWaitTimer(reader.readNumber("waitTimer", defaultWaitTimer));
    setRepeatCount(reader.readNumber("repeatCount", defaultRepeatCount));
    logOut = asWord(reader.readNumber("logOut", defaultLogOut));
}

void readMainWindow(const PreferenceReader& reader)
{
    const WindowLayout defaults;
    windowLayout.state = reader.readNumber("State", defaults.state);
    windowLayout.width = asWord(reader.readNumber("Width", defaults.width));
    windowLayout.height = asWord(reader.readNumber("Height", defaults.height));
    windowLayout.splitter = asWord(reader.readNumber("Splitter", defaults.splitter));
}

void readParametersTable(const PreferenceReader& reader)
{
    const WindowLayout defaults;
    for (std::size_t i = 0; i < tableColumnCount; ++i)
        windowLayout.columnWidths[i] = asWord(reader.readNumber(columnWidthKeys[i], defaults.columnWidths[i]));
}

bool sizesUsable(const WindowLayout& layout)
{
    if (layout.width == 0 || layout.height == 0 || layout.splitter == 0)
        return false;
    for (const std::uint16_t width : layout.columnWidths)
        if (width == 0)
            return false;
    return true;
}

void writeValues(PreferenceWriter& writer)
{
    const WindowLayout& layout = windowLayout;
    writer.addComment(titleComment);
    writer.addComment(makerLine1);
    writer.addComment(makerLine2);
    writer.addComment("");
    writer.openGroup("General");
    writer.writeText("FilePath", FilePath);
    writer.writeNumber("waitTimer", waitTimer);
    writer.writeNumber("repeatCount", repeatCount);
    writer.writeNumber("logOut", logOut);
    writer.openGroup("MainWindow");
    writer.writeNumber("State", layout.state);
    writer.writeNumber("Width", layout.width);
    writer.writeNumber("Height", layout.height);
    writer.writeNumber("Splitter", layout.splitter);
    writer.openGroup("ParametersTable");
    for (std::size_t i = 0; i < tableColumnCount; ++i)
        writer.writeNumber(columnWidthKeys[i], layout.columnWidths[i]);
}

}  // namespace

std::string defaultFilePath() { return shell::documentsFolder() + "Paramora/"; }

void loadSettings()
{
    PreferenceReader reader;
    if (!reader.open(settingsFileName)) {
        gui::messageBox(warningTitle, cannotOpenText, gui::Icon::Information);
        FilePath = defaultFilePath();
        writeDefaultSettings();
        return;
    }
    int groupsRead = 0;
    reader.startGroups();
    while (reader.nextGroup()) {
        const std::string& group = reader.groupName();
        if (group == "General") {
            ++groupsRead;
            readGeneral(reader);
        } else if (group == "MainWindow") {
            ++groupsRead;
            readMainWindow(reader);
        } else if (group == "ParametersTable") {
            ++groupsRead;
            readParametersTable(reader);
        }
    }
    if (groupsRead != 3 || !sizesUsable(windowLayout)) {
        gui::messageBox(warningTitle, badFormatText, gui::Icon::Information);
        // A file without its General group leaves no folder; the default one serves at once.
        if (FilePath.empty())
            FilePath = defaultFilePath();
        writeDefaultSettings();
    }
    reader.close();
}

void writeDefaultSettings()
{
    waitTimer = defaultWaitTimer;
    repeatCount = defaultRepeatCount;
    logOut = defaultLogOut;
    windowLayout = WindowLayout{};
    PreferenceWriter writer;
    if (writer.create(settingsFileName)) {
        writeValues(writer);
        writer.close();
    }
}

bool saveSettings()
{
    PreferenceWriter writer;
    bool saved = writer.create(settingsFileName);
    if (saved) {
        writeValues(writer);
        saved = writer.close();
    }
    if (!saved)
        gui::messageBox(errorTitle, cannotSaveText, gui::Icon::Error);
    return saved;
}
