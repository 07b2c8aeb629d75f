#include <optional>

#include "app/documents.h"
#include "app/file_names.h"
#include "app/in_place_editors.h"
#include "app/main_window.h"
#include "app/parameter_file.h"
#include "app/parameter_table.h"
#include "app/preference_file.h"
#include "app/program_state.h"
#include "app/save_targets.h"
#include "app/settings_file.h"
#include "description/description_store.h"
#include "description/integer_text.h"
#include "description/value_text.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/message_box.h"

namespace {

enum GroupSeen : unsigned { seenGeneral = 1, seenSet = 2, seenRead = 4, seenCheck = 8 };

constexpr const char* reloadQuestion =
    "Текущий открытый файл не соответствует типу оборудования файла конфигурации.\n"
    "Желаете открыть файл и перезагрузить параметры?";

std::optional<std::string> chooseFile()
{
    gui::FileDialogRequest request;
    request.title = "Открыть файл конфигурации";
    request.folder = FilePath;
    request.patterns = {"Paramora (*.pmr)", "Все файлы (*)"};
    request.selectedPattern = 0;
    makeDefaultFolderIfMissing(FilePath);
    const auto answer = gui::fileDialog(request);
    if (!answer)
        return std::nullopt;
    return answer->path;
}

// A file value is a register word to a signed parameter, as a value read from the device is. A
// number no word holds gives the nearer end of the signed range instead of its low 16 bits, and the
// text itself saturates at the 32-bit range.
std::int32_t fileValue(const Parameter& parameter, const std::string& text)
{
    const std::int32_t value = integerOfText(text);
    if (!isSignedParameter(parameter))
        return value;
    if (value > 65535)
        return 32767;
    if (value < -32768)
        return -32768;
    return valueFromRegister(parameter, static_cast<std::uint16_t>(value));
}

// The model step of the General group; 0 when the document is ready for the file's values.
std::uint16_t takeModel(const PreferenceReader& reader)
{
    const std::string model = reader.readText("Model", "");
    if (model.empty())
        return openResult::noModel;
    // An empty document (a model without description) keeps the name of the model before it, but
    // none of its parameters: a file of that model is loaded as for a change of model.
    if (documentState != 0 && model == currentModelName && documentHasDescription()) {
        initialValuesFromDefaults();
        for (const Parameter& p : parameters)
            CheckedKeys.write(p.optionKey, 0);
        return 0;
    }
    if (documentState != 0 &&
        gui::messageBox("Внимание", reloadQuestion, gui::Icon::Question, gui::Buttons::YesNo) != gui::Answer::Yes)
        return openResult::reloadDeclined;
    const std::uint16_t result = newDocument(model);
    if (result == 1)
        return 0;
    // 0: newDocument's own save question ended in a failed save; nothing changed.
    return result == 4 || result == 10 ? result : openResult::none;
}

void applyValues(PreferenceReader& reader, std::int32_t Parameter::*value)
{
    reader.startKeys();
    while (reader.nextKey())
        if (Parameter* p = findParameterByCode(reader.keyName()))
            p->*value = fileValue(*p, reader.keyValue());
}

void applyCheckMarks(PreferenceReader& reader)
{
    reader.startKeys();
    while (reader.nextKey())
        if (const Parameter* p = findParameterByCode(reader.keyName()))
            CheckedKeys.write(p->optionKey, 1);
}

std::uint16_t readGroups(PreferenceReader& reader)
{
    unsigned seen = 0;
    reader.startGroups();
    while (reader.nextGroup()) {
        const std::string& name = reader.groupName();
        if (name == "General" && (seen & seenGeneral) != 0) {
            // The document comes from the first General group: taking the model again would reset
            // the values read since, or swap the document under them.
        } else if (name == "General") {
            seen |= seenGeneral;
            if (const std::uint16_t failed = takeModel(reader); failed != 0)
                return failed;
            readLinkSettings(reader);
        } else if (seen == 0) {
            // Values before the General group have no document to go to.
        } else if (name == "Parameter Set") {
            seen |= seenSet;
            applyValues(reader, &Parameter::setValue);
        } else if (name == "Parameter Read") {
            seen |= seenRead;
            applyValues(reader, &Parameter::readValue);
        } else if (name == "Check Parameter") {
            seen |= seenCheck;
            applyCheckMarks(reader);
        }
    }
    return (seen & seenGeneral) ? openResult::opened : openResult::noGeneralGroup;
}

}  // namespace

std::uint16_t openParameterFile()
{
    if (!saveQuestionAllowsToGoOn(unsavedQuestionOnOpen))
        return openResult::none;
    const std::optional<std::string> path = chooseFile();
    if (!path)
        return openResult::none;
    // The user may pick any path: a FIFO, a device or a huge file is not opened at all, and a
    // plain file that opens but cannot be read has no groups to list.
    PreferenceReader reader;
    const files::FileRead read = reader.read(*path);
    if (read == files::FileRead::refused) {
        gui::messageBox("Ошибка", "Невозможно открыть файл конфигурации", gui::Icon::Error);
        return openResult::none;
    }
    if (read == files::FileRead::failed)
        return openResult::noGroupListing;
    const std::uint16_t result = readGroups(reader);
    if (result != openResult::opened)
        return result;
    hideCurrentEditor();
    for (const Parameter& p : parameters)
        syncEditorToSetValue(p);
    refreshTableForTree();
    currentFileName = fileNamePart(*path);
    currentFilePath = *path;
    documentState = 1;
    return openResult::opened;
}
