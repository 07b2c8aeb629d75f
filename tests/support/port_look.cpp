// Looks at ports as the port scan and Connect do, for tests that need another user to look, or
// another program's system calls to be counted: they run this program through setpriv or strace.
//   paramora_port_look <lock folder> <device>
// prints "<free> <opened>", each 1 or 0: what serial::isFree and serial::open answered.
//   paramora_port_look --scan <device>...
// prints the devices the port scan lists when they are its only candidates, one a line.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "link/port_scan.h"
#include "platform/serial/lock_files.h"
#include "platform/serial/serial_port.h"

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "--scan") == 0) {
        setExtraPortCandidates(std::vector<std::string>(argv + 2, argv + argc), true);
        for (const std::string& port : freeSerialPorts())
            std::printf("%s\n", port.c_str());
        return 0;
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <lock folder> <device> | --scan <device>...\n", argv[0]);
        return 2;
    }
    serial::setLockFolders({argv[1]});
    const bool free = serial::isFree(argv[2]);
    serial::Port port;
    const bool opened = serial::open(port, argv[2], {});
    serial::close(port);
    std::printf("%d %d\n", free ? 1 : 0, opened ? 1 : 0);
    return 0;
}
