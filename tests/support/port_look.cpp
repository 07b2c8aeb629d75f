// Looks at one port as the port scan and Connect do, for tests that need another user to look:
// they copy this program where that user can reach it and run it through setpriv.
//   paramora_port_look <lock folder> <device>
// prints "<free> <opened>", each 1 or 0: what serial::isFree and serial::open answered.

#include <cstdio>

#include "platform/serial/lock_files.h"
#include "platform/serial/serial_port.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <lock folder> <device>\n", argv[0]);
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
