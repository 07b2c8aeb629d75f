#pragma once
// Reads the saves out of an strace log (strace -f -e trace=open,openat,fsync,fdatasync,rename,
// renameat,renameat2,link,linkat): for each temporary file that took a target's name, whether its
// bytes were synced before and the folder holding the name after.

#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

struct SyncedSave {
    std::string name;  // the target's name in its folder
    bool fileSyncedBefore = false;
    bool folderSyncedAfter = false;
};

inline std::vector<SyncedSave> syncedSaves(const std::string& trace)
{
    static const std::regex open(R"re(openat\([^,]+, "([^"]*)", ([A-Z_|]+)(?:, \d+)?\)\s+= (\d+))re");
    static const std::regex sync(R"re(f(?:data)?sync\((\d+)\)\s+= 0)re");
    static const std::regex link(R"re(linkat\([^,]+, "/proc/self/fd/(\d+)", [^,]+, "([^"]*)", \w+\)\s+= 0)re");
    static const std::regex rename(R"re(renameat2?\([^,]+, "([^"]*)", [^,]+, "([^"]*)"(?:, \w+)?\)\s+= 0)re");
    std::map<int, bool> temporarySynced;     // by descriptor
    std::map<std::string, int> hiddenNames;  // a temporary file's name, to its descriptor
    std::map<int, std::size_t> folders;      // a folder opened after a save, to that save
    std::vector<SyncedSave> saves;
    const auto committed = [&](int descriptor, const std::string& name) {
        saves.push_back({name, temporarySynced[descriptor], false});
    };
    std::istringstream lines(trace);
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (std::regex_search(line, m, open)) {
            const int descriptor = std::stoi(m[3]);
            const std::string flags = m[2];
            // A number closed and given again names another file from here on.
            temporarySynced.erase(descriptor);
            folders.erase(descriptor);
            if (flags.find("O_TMPFILE") != std::string::npos ||
                (flags.find("O_CREAT") != std::string::npos && m[1].str().starts_with(".paramora-"))) {
                temporarySynced[descriptor] = false;
                hiddenNames[m[1]] = descriptor;
            } else if (m[1] == "." && flags.find("O_DIRECTORY") != std::string::npos && !saves.empty()) {
                folders[descriptor] = saves.size() - 1;
            }
        } else if (std::regex_search(line, m, sync)) {
            const int descriptor = std::stoi(m[1]);
            if (temporarySynced.count(descriptor))
                temporarySynced[descriptor] = true;
            if (const auto folder = folders.find(descriptor); folder != folders.end())
                saves[folder->second].folderSyncedAfter = true;
        } else if (std::regex_search(line, m, link)) {
            if (m[2].str().starts_with(".paramora-"))
                hiddenNames[m[2]] = std::stoi(m[1]);
            else
                committed(std::stoi(m[1]), m[2]);
        } else if (std::regex_search(line, m, rename) && hiddenNames.count(m[1])) {
            committed(hiddenNames[m[1]], m[2]);
        }
    }
    return saves;
}
