#pragma once
// Where tests look into a save. Each step that changes what stands on disk is reported as it ends,
// so a test can look at the files as a kill at that moment would leave them; and the calls a test
// cannot make fail for real everywhere (a rename refused by a bind mount or an append-only
// folder, a file system without unnamed files or without owners and modes) can be made to fail.

#include <functional>
#include <string>

namespace shell {

enum class SaveStep {
    temporaryNamed,    // a temporary file stands under a hidden name (no unnamed files here), empty
    temporaryWritten,  // the new content and attributes are in the temporary file, not yet named
    replaced,          // the temporary file has taken the target's name
    grown,             // in place: the file grew by blank lines that readers skip
    placed,            // in place: the new content stands at its start, blank lines after it
    cut,               // in place: the file holds the new content alone
};

struct SaveHooks {
    std::function<void(SaveStep)> afterStep{};
    // Stands in for renameat(2) within one folder: -1 with errno set refuses it.
    std::function<int(int folder, const char* from, const char* to)> rename{};
    // Stands in for the random part of the temporary file's hidden names, one call a name.
    std::function<std::string()> hiddenName{};
    bool refuseUnnamedFiles = false;
    // Non-zero: every change of an owner, mode, ACL or attribute fails with this error, as FAT
    // refuses them (ENOSYS) or a user may not make them (EPERM).
    int attributeChangeError = 0;
};

// Installs hooks for the saves that follow; SaveHooks{} puts the real calls back.
void setSaveHooksForTests(SaveHooks hooks);

// For the save code.
void reportSaveStep(SaveStep step);
int renameForSave(int folder, const char* from, const char* to);
std::string hiddenNameForSave(std::string randomName);
bool unnamedFilesAllowed();
int attributeChangeError();

}  // namespace shell
