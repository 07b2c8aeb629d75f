#include "platform/shell/save_hooks.h"

#include <cstdio>

#include <fcntl.h>

namespace shell {
namespace {
SaveHooks hooks;
}

void setSaveHooksForTests(SaveHooks newHooks) { hooks = std::move(newHooks); }

void reportSaveStep(SaveStep step)
{
    if (hooks.afterStep)
        hooks.afterStep(step);
}

int renameForSave(int folder, const char* from, const char* to)
{
    return hooks.rename ? hooks.rename(folder, from, to) : renameat(folder, from, folder, to);
}

std::string hiddenNameForSave(std::string randomName)
{
    return hooks.hiddenName ? hooks.hiddenName() : randomName;
}

bool unnamedFilesAllowed() { return !hooks.refuseUnnamedFiles; }

int attributeChangeError() { return hooks.attributeChangeError; }

}  // namespace shell
