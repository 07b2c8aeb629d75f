// Speed and memory figures of the program, each printed with its target.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "app/program_shell.h"
#include "bench/harness.h"
#include "bench/sections.h"
#include "platform/gui/message_box.h"

namespace {

// A folder of its own with a valid settings file, so the program starts without questions.
void enterScratchFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "paramora-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        std::exit(1);
    std::filesystem::current_path(pattern);
    std::ofstream ini("Paramora.ini", std::ios::binary);
    ini << "\xEF\xBB\xBF\r\n[General]\r\nFilePath = " << pattern
        << "/\r\nwaitTimer = 100\r\nrepeatCount = 3\r\nlogOut = 0\r\n[MainWindow]\r\nState = 0\r\nWidth = 960\r\n"
           "Height = 640\r\nSplitter = 235\r\n[ParametersTable]\r\ncolWidth_Code = 50\r\ncolWidth_Name = 220\r\n"
           "colWidth_Set = 150\r\ncolWidth_Read = 150\r\ncolWidth_Range = 100\r\ncolWidth_Default = 80\r\n"
           "colWidth_Addr = 100\r\ncolWidth_AddrEE = 100\r\n";
}

void leaveScratchFolder(const std::string& folder)
{
    std::filesystem::current_path("/");
    std::filesystem::remove_all(folder);
}

// Under the X server that bench/under_x11.sh started.
int readAllX11()
{
    enterScratchFolder();
    const std::string folder = std::filesystem::current_path().string();
    gui::setMessageBoxResponder([](const gui::MessageBoxCall&) { return gui::Answer::No; });
    const int missed = readAllX11Child();
    leaveScratchFolder(folder);
    return missed;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "--readall-x11-child")
        return readAllX11();
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (argc > 1 && std::string(argv[1]) == "--startup-child")
        return startupChild();

    enterScratchFolder();
    const std::string folder = std::filesystem::current_path().string();
    gui::setMessageBoxResponder([](const gui::MessageBoxCall&) { return gui::Answer::No; });
    std::printf("Paramora benchmarks (QT_QPA_PLATFORM=%s)\n", std::getenv("QT_QPA_PLATFORM"));

    // Sections may be named on the command line (startup, documents, readall, readall-x11); none
    // runs them all.
    const auto wanted = [&](const char* section) {
        if (argc < 2)
            return true;
        for (int i = 1; i < argc; ++i)
            if (std::string(argv[i]) == section)
                return true;
        return false;
    };
    const std::string self = std::filesystem::canonical("/proc/self/exe").string();
    if (wanted("startup"))
        benchStartup(self.c_str());
    if (!startProgram())
        return 1;
    if (wanted("documents"))
        benchDocuments();
    if (wanted("readall"))
        benchReadAll("Read all of ПЧ Tovik Zr12 over a pseudo-terminal against the simulated device (offscreen)",
                     {.versusMinimalLoopAt115200 = 1.05, .versusMinimalLoopAt9600 = 1.03, .floorAt115200 = 1.05,
                      .floorAt9600 = 1.05});
    endProgram();
    int missed = bench::missedTargets();
    if (wanted("readall-x11"))
        missed += benchReadAllUnderX11(self.c_str());

    std::printf("\n%d of the targets missed\n", missed);
    leaveScratchFolder(folder);
    return 0;
}
