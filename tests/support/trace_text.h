#pragma once
// Expected trace lines for tests: frames as the trace writes them, and reply lines with their
// measured time replaced by "#", so that traces compare exactly without depending on speed.

#include <cstddef>
#include <cstdint>
#include <regex>
#include <string>
#include <vector>

#include "link/crc16.h"
#include "link/trace.h"

// "01 03 00 0A 00 01" -> those bytes and their CRC, low byte first.
inline std::vector<std::uint8_t> crcFrame(const std::string& hex)
{
    std::vector<std::uint8_t> bytes;
    std::string digits;
    for (char c : hex)
        if (c != ' ')
            digits += c;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    const std::uint16_t crc = crc16Modbus(bytes.data(), bytes.size());
    bytes.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(crc >> 8));
    return bytes;
}

// As the trace writes it: "01 03 00 0A 00 01 A4 08 " (a blank after each byte).
inline std::string traced(const std::vector<std::uint8_t>& bytes) { return hexBytesText(bytes.data(), bytes.size()); }
inline std::string frameWithCrc(const std::string& hex) { return traced(crcFrame(hex)); }

// The lines after the first `mark` of them: mark = the count before an action gives its lines.
inline std::vector<std::string> linesSince(const std::vector<std::string>& lines, std::size_t mark)
{
    return mark < lines.size() ? std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(mark), lines.end())
                               : std::vector<std::string>{};
}

inline std::vector<std::string> timeless(std::vector<std::string> lines)
{
    static const std::regex replyTime("^Ответ через [0-9]+ мс");
    for (std::string& line : lines)
        line = std::regex_replace(line, replyTime, "Ответ через # мс");
    return lines;
}

inline long requestLineCount(const std::vector<std::string>& trace)
{
    long count = 0;
    for (const std::string& line : trace)
        count += line.rfind("Запрос ", 0) == 0;
    return count;
}

// A device that hangs up right after a cut reply can do so only after the reply's silence has
// ended (a busy machine delays its close by milliseconds); the engine then sees a checksum error
// and the next attempt really goes out before the loss shows. That attempt is sent, so it is
// traced: a test of a loss mid-reply takes `sent` request lines, or one more right after the
// failed check.
inline bool requestLinesEndAtTheLoss(const std::vector<std::string>& trace, long sent)
{
    const long count = requestLineCount(trace);
    if (count == sent)
        return true;
    if (count != sent + 1)
        return false;
    for (std::size_t i = trace.size(); i-- > 2;)
        if (trace[i].rfind("Запрос ", 0) == 0)
            return trace[i - 1].empty() && (trace[i - 2] == "Ошибка CRC16" || trace[i - 2] == "Ошибка LRC");
    return false;
}
