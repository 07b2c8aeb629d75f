#pragma once
// The port look (tests/support/port_look.cpp) where uid 65534 may run it, with a lock folder of
// its own that the user may read: for tests of what an ordinary user's scan and Connect see.

#include <filesystem>
#include <string>
#include <system_error>

#include "tests/support/other_program.h"

class PortLookForNobody {
public:
    // `program` is the port look to copy.
    explicit PortLookForNobody(const std::string& program)
    {
        if (place_.path().empty())
            return;
        namespace fs = std::filesystem;
        std::error_code copied, lookMode, made, folderMode;
        fs::copy_file(program, look_, copied);
        fs::permissions(look_, fs::perms(0755), lookMode);
        fs::create_directory(lockFolder_, made);
        fs::permissions(lockFolder_, fs::perms(0755), folderMode);
        ready_ = !copied && !lookMode && !made && !folderMode;
    }

    bool ready() const { return ready_; }
    // A folder the user may read, for what else the test puts there; ends in "/".
    const std::string& folder() const { return place_.path(); }
    const std::string& lockFolder() const { return lockFolder_; }

    // What the look printed for the device, as uid 65534: "<free> <opened>\n".
    std::string look(const std::string& device) const { return OtherProgram::output({look_, lockFolder_, device}, true); }

private:
    FolderForNobody place_;
    const std::string look_ = place_.path() + "port_look";
    const std::string lockFolder_ = place_.path() + "lock";
    bool ready_ = false;
};
