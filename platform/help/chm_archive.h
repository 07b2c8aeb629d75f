#pragma once
// Reading pages out of a compiled help file.

#include <cstdint>
#include <optional>
#include <string>

struct chmFile;

namespace help {

class ChmArchive {
public:
    explicit ChmArchive(const std::string& path);
    ~ChmArchive();
    ChmArchive(const ChmArchive&) = delete;
    ChmArchive& operator=(const ChmArchive&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    // The bytes of an object such as "/Paramora_Connect.htm"; nullopt when absent.
    std::optional<std::string> read(const std::string& objectPath) const;
    // The topic the file opens at: its recorded default topic, else its first page.
    std::string defaultTopic() const;
    // The LCID of the file's language; 0 when it names none.
    std::uint32_t language() const;

private:
    // The data of the first record of the #SYSTEM object with this code.
    std::optional<std::string> systemRecord(unsigned code) const;

    ::chmFile* file_ = nullptr;
};

}  // namespace help
