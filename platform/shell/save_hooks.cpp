#include "platform/shell/save_hooks.h"

#include <cstdio>

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

int renameForSave(const char* from, const char* to) { return hooks.rename ? hooks.rename(from, to) : std::rename(from, to); }

bool unnamedFilesAllowed() { return !hooks.refuseUnnamedFiles; }

int attributeChangeError() { return hooks.attributeChangeError; }

}  // namespace shell
