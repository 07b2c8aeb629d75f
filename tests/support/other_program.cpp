#include "tests/support/other_program.h"

#include <filesystem>
#include <string_view>
#include <system_error>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

OtherProgram::OtherProgram(const std::vector<std::string>& program, bool asNobody)
    : OtherProgram(program, asNobody, -1)
{
}

OtherProgram::OtherProgram(const std::vector<std::string>& program, bool asNobody, int standardOutput)
{
    std::vector<std::string> words;
    if (asNobody)
        words = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
    words.insert(words.end(), program.begin(), program.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (standardOutput >= 0)
        posix_spawn_file_actions_adddup2(&actions, standardOutput, STDOUT_FILENO);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    // The sanitizers' suppressions file may lie where uid 65534 cannot read it (a clone in /root),
    // and the leak checker then ends the program; what runs as that user here needs none.
    std::vector<std::string> settings;
    for (char** setting = environ; *setting; ++setting)
        settings.push_back(asNobody && std::string_view(*setting).starts_with("LSAN_OPTIONS=") ? "LSAN_OPTIONS=" : *setting);
    std::vector<char*> environment;
    for (std::string& setting : settings)
        environment.push_back(setting.data());
    environment.push_back(nullptr);
    pid_t child = -1;
    if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environment.data()) == 0)
        child_ = child;
    posix_spawn_file_actions_destroy(&actions);
}

OtherProgram::~OtherProgram()
{
    if (child_ > 0) {
        kill(child_, SIGKILL);
        waitpid(child_, nullptr, 0);
    }
}

std::string OtherProgram::output(const std::vector<std::string>& program, bool asNobody)
{
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)
        return "no pipe";
    std::string printed;
    {
        OtherProgram other(program, asNobody, pipeEnds[1]);
        ::close(pipeEnds[1]);
        if (!other.started()) {
            ::close(pipeEnds[0]);
            return "did not start: " + program.front();
        }
        char chunk[256];
        for (ssize_t got; (got = ::read(pipeEnds[0], chunk, sizeof chunk)) > 0;)
            printed.append(chunk, static_cast<std::size_t>(got));
        ::close(pipeEnds[0]);
        waitpid(other.child_, nullptr, 0);
        other.child_ = -1;
    }
    return printed;
}

FolderForNobody::FolderForNobody()
{
    std::string pattern = "/tmp/paramora-nobody-XXXXXX";
    if (mkdtemp(pattern.data()) && chmod(pattern.c_str(), 0755) == 0)
        path_ = pattern + "/";
}

FolderForNobody::~FolderForNobody()
{
    std::error_code ignored;
    if (!path_.empty())
        std::filesystem::remove_all(path_, ignored);
}
