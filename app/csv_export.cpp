#include "app/csv_export.h"

#include <array>

#include "app/file_names.h"
#include "app/log_file.h"
#include "app/log_tags.h"
#include "app/program_state.h"
#include "app/save_targets.h"
#include "app/settings_file.h"
#include "description/description_store.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/message_box.h"
#include "platform/shell/atomic_file.h"

namespace {

constexpr std::string_view csvHeader =
    "Код;Название;Заданное значение;Прочитанное значение;Диапазон;По умолчанию;Modbus адр.;Modbus адр. EEPROM";

void appendUnit(std::string& out, std::uint32_t unit)
{
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>((unit >> 8) & 0xFF);
}

void appendCodePoint(std::string& out, std::uint32_t codePoint)
{
    if (codePoint < 0x10000) {
        appendUnit(out, codePoint);
        return;
    }
    codePoint -= 0x10000;
    appendUnit(out, 0xD800 + (codePoint >> 10));
    appendUnit(out, 0xDC00 + (codePoint & 0x3FF));
}

// A field that would break the row (a separator, a quote, a line end) is quoted; any other field
// is written as it is.
std::string csvField(const std::string& text)
{
    if (text.find_first_of(";\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

// The proposed name is the document's without ".pmr", wherever it stands.
std::string proposedName()
{
    std::string name = currentFileName;
    for (std::size_t at; (at = name.find(".pmr")) != std::string::npos;)
        name.erase(at, 4);
    return name;
}

}  // namespace

void appendUtf16le(std::string& out, std::string_view utf8)
{
    constexpr std::uint32_t replacement = 0xFFFD;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        int length = 0;
        std::uint32_t codePoint = 0;
        std::uint32_t minimum = 0;
        if (lead < 0x80) {
            length = 1, codePoint = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2, codePoint = lead & 0x1F, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, codePoint = lead & 0x0F, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, codePoint = lead & 0x07, minimum = 0x10000;
        }
        bool valid = length > 0 && i + static_cast<std::size_t>(length) <= utf8.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
            valid = (next & 0xC0) == 0x80;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        valid = valid && codePoint >= minimum && codePoint <= 0x10FFFF && (codePoint < 0xD800 || codePoint > 0xDFFF);
        if (!valid) {
            appendCodePoint(out, replacement);
            ++i;
            continue;
        }
        appendCodePoint(out, codePoint);
        i += static_cast<std::size_t>(length);
    }
}

std::string csvBytes()
{
    std::string bytes = "\xFF\xFE";
    std::string line(csvHeader);
    line += "\r\n";
    appendUtf16le(bytes, line);
    for (const ExportRow& row : exportRows) {
        const std::array<const std::string*, 8> fields = {&row.codeCell,  &row.nameCell,    &row.setCell,
                                                          &row.readCell,  &row.rangeCell,   &row.defaultCell,
                                                          &row.addressCell, &row.eepromAddressCell};
        line.clear();
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i > 0)
                line += ';';
            line += csvField(*fields[i]);
        }
        line += "\r\n";
        appendUtf16le(bytes, line);
    }
    return bytes;
}

void exportCsv()
{
    logLine(tagExportCsv);
    gui::FileDialogRequest request;
    request.save = true;
    request.title = "Экспорт в CSV";
    request.folder = FilePath;
    request.fileName = proposedName();
    request.patterns = {"CSV (разделитель - точка с запятой) (*.csv)"};
    makeDefaultFolderIfMissing(FilePath);
    const auto answer = gui::fileDialog(request);
    if (!answer)
        return;
    const std::string folder = folderPart(answer->path);
    const std::string path = folder + fileNameWithExtension(answer->path, "csv");
    if (!replacingAllowed(path))
        return;
    makeDefaultFolderIfMissing(folder);
    gatherExportRows();
    // Written whole or not at all, so a failed write never leaves a cut-short file behind. Written
    // in place, it is padded for a moment with empty rows: UTF-16 line feeds.
    if (!shell::writeFileAtomically(path, csvBytes(), std::string_view("\n\0", 2)))
        gui::messageBox("Ошибка", "Невозможно создать файл", gui::Icon::Error);
}
