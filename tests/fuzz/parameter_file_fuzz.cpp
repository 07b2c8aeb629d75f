// openParameterFile on arbitrary file bytes: the group and key handling of a parameter file with
// a description loaded, the table and the in-place editors behind it. The program starts once,
// offscreen, from its settings in a scratch folder, with a Zr12 document open and logging off (so
// nothing else is written); the file dialog answers with a file holding the input and every
// question is answered Yes, so a file of another model loads that model as a user who agrees would
// have it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/documents.h"
#include "app/parameter_file.h"
#include "app/program_shell.h"
#include "app/program_state.h"
#include "description/description_store.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/gui.h"
#include "platform/gui/message_box.h"

namespace {

std::string scratchFolder;
std::string inputPath;

bool writeWhole(const std::string& path, const void* bytes, std::size_t size)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

void removeScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(scratchFolder, ignored);
}

struct DocumentSnapshot {
    std::string model;
    std::string fileName;
    std::vector<std::int32_t> values;  // set value, read value and check mark of each parameter
    bool operator==(const DocumentSnapshot&) const = default;
};

DocumentSnapshot snapshot()
{
    DocumentSnapshot taken{currentModelName, currentFileName, {}};
    for (const Parameter& p : parameters) {
        taken.values.push_back(p.setValue);
        taken.values.push_back(p.readValue);
        taken.values.push_back(CheckedKeys.read(p.optionKey));
    }
    return taken;
}

// The window events the program raised; its own loop would hand them over as well.
void handlePendingEvents()
{
    for (gui::Event event = gui::pollEvent(); event.kind != gui::EventKind::None; event = gui::pollEvent())
        handleEvent(event);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    char folderTemplate[] = "/tmp/paramora_fuzz_XXXXXX";
    if (!mkdtemp(folderTemplate))
        std::abort();
    scratchFolder = std::string(folderTemplate) + "/";
    inputPath = scratchFolder + "input.pmr";
    std::atexit(removeScratchFolder);
    const std::string settings = "\xEF\xBB\xBF\r\n[General]\r\nFilePath = " + scratchFolder +
                                 "\r\nwaitTimer = 100\r\nrepeatCount = 3\r\nlogOut = 0\r\n[MainWindow]\r\nState = 0\r\n"
                                 "Width = 960\r\nHeight = 640\r\nSplitter = 235\r\n[ParametersTable]\r\n"
                                 "colWidth_Code = 50\r\ncolWidth_Name = 220\r\ncolWidth_Set = 150\r\n"
                                 "colWidth_Read = 150\r\ncolWidth_Range = 100\r\ncolWidth_Default = 80\r\n"
                                 "colWidth_Addr = 100\r\ncolWidth_AddrEE = 100\r\n";
    if (!writeWhole(scratchFolder + "Paramora.ini", settings.data(), settings.size()))
        std::abort();
    gui::setMessageBoxResponder([](const gui::MessageBoxCall& call) {
        return call.buttons == gui::Buttons::YesNo ? gui::Answer::Yes : gui::Answer::Ok;
    });
    gui::setFileDialogResponder([](const gui::FileDialogRequest&) -> std::optional<gui::FileDialogAnswer> {
        return gui::FileDialogAnswer{inputPath, 0};
    });
    // The settings file is read from the current folder; the corpus paths libFuzzer was given are
    // relative to the one it started in.
    const std::filesystem::path startFolder = std::filesystem::current_path();
    std::filesystem::current_path(scratchFolder);
    const bool started = startProgram();
    std::filesystem::current_path(startFolder);
    if (!started || newDocument("ПЧ Tovik Zr12") != 1)
        std::abort();
    handlePendingEvents();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (!writeWhole(inputPath, data, size))
        std::abort();
    const DocumentSnapshot before = snapshot();
    const std::uint16_t result = openParameterFile();
    handlePendingEvents();
    // Whatever the file held, a document stays open and is never marked modified by opening; a
    // file that is refused leaves the document exactly as it was.
    if (documentState != 1 || result == openResult::none)
        __builtin_trap();
    if (result != openResult::opened && !(snapshot() == before))
        __builtin_trap();
    return 0;
}
