#pragma once
// Ports other programs hold without any mark: a plain open(), as most serial scripts and socat
// make, leaves no lock file, flock or exclusive mode, only the descriptor. So this looks through
// /proc/<pid>/fd of the processes the user may see, as fuser does, and compares device numbers,
// not names: a port goes by many names (/dev/ttyUSB0, /dev/serial/by-id/..., a user's own link).

#include <string_view>
#include <vector>

#include <sys/types.h>

namespace serial {

// The character devices that processes other than this one have open, taken in one walk of
// /proc. Processes whose descriptors the user may not see (other users', as a rule) are passed
// over; their ports are still held by the marks open() honours. A pseudo-terminal's slave that the
// process holding its master has open (socat, a simulator) is provided by it, not held: only
// another process's open of it counts.
class DevicesOpenElsewhere {
public:
    static DevicesOpenElsewhere look();

    // True when the device `path` names (links followed) is one of them.
    bool includes(std::string_view path) const;

private:
    std::vector<dev_t> devices_;  // sorted, without repeats
};

}  // namespace serial
