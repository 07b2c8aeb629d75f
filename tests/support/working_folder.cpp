#include "tests/support/working_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>

void WorkingFolderTest::SetUp()
{
    previous_ = std::filesystem::current_path().string();
    std::string pattern = (std::filesystem::temp_directory_path() / "paramora-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern + "/";
    std::filesystem::current_path(pattern);
    gui::setMessageBoxResponder([this](const gui::MessageBoxCall& call) {
        messages.push_back(call);
        if (call.buttons != gui::Buttons::YesNo)
            return gui::Answer::Ok;
        if (answers.empty())
            return gui::Answer::Yes;
        const gui::Answer answer = answers.front();
        answers.pop_front();
        return answer;
    });
}

void WorkingFolderTest::TearDown()
{
    gui::setMessageBoxResponder({});
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::string readFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFileBytes(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool fileExists(const std::string& path) { return std::filesystem::exists(path); }
