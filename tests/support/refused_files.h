#pragma once
// What may stand in a settings-style file's place and must never be read: each case makes it at a
// path. `readWithoutBlocking` runs a read of such a path under guards, so a reader that blocks on
// a FIFO or never finishes a device fails the test instead of hanging the suite or the machine.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include <sys/stat.h>

#include "app/preference_file.h"
#include "tests/support/read_guards.h"
#include "tests/support/working_folder.h"

struct RefusedFile {
    const char* name;
    // `content` is a valid file for the reader under test, used where the case is a real file.
    void (*make)(const std::string& path, const std::string& content);
};

inline const RefusedFile refusedFiles[] = {
    {"FIFO without a writer", [](const std::string& path, const std::string&) { ASSERT_EQ(mkfifo(path.c_str(), 0644), 0); }},
    {"link to /dev/zero", [](const std::string& path, const std::string&) { std::filesystem::create_symlink("/dev/zero", path); }},
    {"valid file grown past the size cap",
     [](const std::string& path, const std::string& content) {
         writeFileBytes(path, content);
         std::filesystem::resize_file(path, PreferenceReader::maxFileBytes + 1);
     }},
    {"folder", [](const std::string& path, const std::string&) { std::filesystem::create_directory(path); }},
};

// Runs the read; false (and a failure) when it still waited on the path after a few seconds.
template <class Read>
bool readWithoutBlocking(const std::string& path, Read read)
{
    MemoryCeiling ceiling(rlim_t{1} << 30);
    FifoWatchdog watchdog(path, std::chrono::seconds(3));
    read();
    EXPECT_FALSE(watchdog.fired()) << "the read blocked on " << path;
    return !watchdog.fired();
}
