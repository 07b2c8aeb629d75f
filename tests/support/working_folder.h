#pragma once
// A fresh temporary folder per test, made the current directory while the test runs and removed
// with everything in it afterwards, so tests never leave a file elsewhere.

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gui/message_box.h"

class WorkingFolderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Absolute path of the folder, ending in "/".
    const std::string& folder() const { return folder_; }

    // Message boxes are recorded here and answered with OK, or for questions with the next of
    // `answers` (Yes once they run out).
    std::vector<gui::MessageBoxCall> messages;
    std::deque<gui::Answer> answers;

private:
    std::string folder_;
    std::string previous_;
};

// Whole-file helpers for tests; paths relative to the current directory work.
std::string readFileBytes(const std::string& path);
void writeFileBytes(const std::string& path, std::string_view bytes);
bool fileExists(const std::string& path);
