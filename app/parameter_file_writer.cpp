#include "app/documents.h"
#include "app/file_names.h"
#include "app/parameter_file.h"
#include "app/preference_file.h"
#include "app/program_state.h"
#include "app/save_targets.h"
#include "app/settings_file.h"
#include "description/description_store.h"
#include "description/value_text.h"
#include "platform/gui/message_box.h"

namespace {

constexpr const char* titleComment = "Файл конфигурации Paramora";
constexpr const char* makerLine1 = "Paramora: настройка ПЧ и УПП по Modbus RTU";
constexpr const char* makerLine2 = "Набор параметров одного устройства";
constexpr const char* cannotSaveText = "Невозможно сохранить файл конфигурации";

void writeValues(PreferenceWriter& writer, const char* group, bool writableOnly, std::int32_t Parameter::*value)
{
    writer.openGroup(group);
    for (const Parameter& p : parameters) {
        if (writableOnly && p.access == 0)
            continue;
        if (p.*value != initialValue(p))
            writer.writeNumber(p.code, p.*value);
    }
}

void writeCheckMarks(PreferenceWriter& writer)
{
    writer.openGroup("Check Parameter");
    for (const Parameter& p : parameters)
        if (CheckedKeys.read(p.optionKey) == 1)
            writer.writeNumber(p.code, 1);
}

}  // namespace

bool writeParameterFile(const std::string& path)
{
    makeDefaultFolderIfMissing(folderPart(path));
    PreferenceWriter writer;
    bool written = writer.create(path);
    if (written) {
        writer.addComment(titleComment);
        writer.addComment(makerLine1);
        writer.addComment(makerLine2);
        writer.addComment("");
        writer.openGroup("General");
        writer.writeText("Model", currentModelName);
        writeLinkSettings(writer);
        writeValues(writer, "Parameter Set", true, &Parameter::setValue);
        writeValues(writer, "Parameter Read", false, &Parameter::readValue);
        writeCheckMarks(writer);
        written = writer.close();
    }
    if (!written) {
        gui::messageBox("Ошибка", cannotSaveText, gui::Icon::Error);
        return false;
    }
    documentState = 1;
    return true;
}

bool saveParameterFile()
{
    // The document goes back to its own file; only a document never saved goes to FilePath, where a
    // file of its name may belong to another document.
    const bool neverSaved = currentFilePath.empty();
    const std::string path = neverSaved ? FilePath + currentFileName : currentFilePath;
    if (neverSaved && !replacingAllowed(path))
        return false;
    if (!writeParameterFile(path))
        return false;
    currentFilePath = path;
    return true;
}
