#pragma once
// A folder's permissions for the scope's life, given back at its end so the folder can be removed.

#include <filesystem>
#include <string>

class FolderMode {
public:
    FolderMode(std::string path, std::filesystem::perms mode)
        : path_(std::move(path)), previous_(std::filesystem::status(path_).permissions())
    {
        std::filesystem::permissions(path_, mode);
    }
    ~FolderMode() { std::filesystem::permissions(path_, previous_); }
    FolderMode(const FolderMode&) = delete;
    FolderMode& operator=(const FolderMode&) = delete;

private:
    std::string path_;
    std::filesystem::perms previous_;
};
