#include "link/port_scan.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "platform/serial/serial_port.h"

namespace {

constexpr std::array<std::string_view, 6> serialDevicePrefixes = {"ttyS", "ttyUSB", "ttyACM", "ttyAMA", "rfcomm", "tnt"};

std::vector<std::string> extraCandidates;
bool onlyExtraCandidates = false;

// A prefix followed by a number: "ttyS0", but not "ttySX" or "ttyS".
bool isSerialDeviceName(std::string_view name)
{
    for (std::string_view prefix : serialDevicePrefixes) {
        if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix)
            continue;
        const std::string_view number = name.substr(prefix.size());
        if (std::all_of(number.begin(), number.end(), [](unsigned char c) { return std::isdigit(c) != 0; }))
            return true;
    }
    return false;
}

// Text order, except that runs of digits compare by their value.
bool namesInOrder(const std::string& a, const std::string& b)
{
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const bool digitA = std::isdigit(static_cast<unsigned char>(a[i])) != 0;
        const bool digitB = std::isdigit(static_cast<unsigned char>(b[j])) != 0;
        if (digitA && digitB) {
            std::size_t endA = i, endB = j;
            while (endA < a.size() && std::isdigit(static_cast<unsigned char>(a[endA])))
                ++endA;
            while (endB < b.size() && std::isdigit(static_cast<unsigned char>(b[endB])))
                ++endB;
            std::string_view runA(a.data() + i, endA - i), runB(b.data() + j, endB - j);
            while (runA.size() > 1 && runA.front() == '0')
                runA.remove_prefix(1);
            while (runB.size() > 1 && runB.front() == '0')
                runB.remove_prefix(1);
            if (runA.size() != runB.size())
                return runA.size() < runB.size();
            if (runA != runB)
                return runA < runB;
            i = endA;
            j = endB;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

}  // namespace

std::vector<std::string> serialPortCandidates(const std::string& deviceFolder)
{
    std::vector<std::string> paths;
    std::error_code error;
    for (std::filesystem::directory_iterator it(deviceFolder, error), end; !error && it != end; it.increment(error))
        if (isSerialDeviceName(it->path().filename().string()))
            paths.push_back(it->path().string());
    std::sort(paths.begin(), paths.end(), namesInOrder);
    return paths;
}

void setExtraPortCandidates(std::vector<std::string> paths, bool only)
{
    extraCandidates = std::move(paths);
    onlyExtraCandidates = only;
}

std::vector<std::string> freeSerialPorts()
{
    std::vector<std::string> candidates = onlyExtraCandidates ? std::vector<std::string>{} : serialPortCandidates();
    candidates.insert(candidates.end(), extraCandidates.begin(), extraCandidates.end());
    std::vector<std::string> free;
    if (candidates.empty())
        return free;
    // Only a look: the port's settings are not touched here. Connect applies them.
    const serial::DevicesOpenElsewhere openElsewhere = serial::DevicesOpenElsewhere::look();
    for (const std::string& path : candidates)
        if (serial::isFree(path, openElsewhere))
            free.push_back(path);
    return free;
}
