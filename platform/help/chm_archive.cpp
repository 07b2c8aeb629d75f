#include "platform/help/chm_archive.h"

#include <chm_lib.h>

#include <cstdint>

namespace help {
namespace {
constexpr std::uint64_t maxObjectSize = 64u << 20;  // a help page or picture never comes near this

int firstPage(struct chmFile*, struct chmUnitInfo* unit, void* context)
{
    const std::string path = unit->path;
    const auto dot = path.rfind('.');
    if (dot == std::string::npos)
        return CHM_ENUMERATOR_CONTINUE;
    const std::string ext = path.substr(dot);
    if (ext == ".htm" || ext == ".html") {
        *static_cast<std::string*>(context) = path;
        return CHM_ENUMERATOR_SUCCESS;
    }
    return CHM_ENUMERATOR_CONTINUE;
}
}  // namespace

ChmArchive::ChmArchive(const std::string& path) : file_(chm_open(path.c_str())) {}

ChmArchive::~ChmArchive()
{
    if (file_)
        chm_close(file_);
}

std::optional<std::string> ChmArchive::read(const std::string& objectPath) const
{
    if (!file_)
        return std::nullopt;
    chmUnitInfo unit{};
    if (chm_resolve_object(file_, objectPath.c_str(), &unit) != CHM_RESOLVE_SUCCESS || unit.length > maxObjectSize)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(unit.length), '\0');
    const auto got = chm_retrieve_object(file_, &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                         static_cast<LONGINT64>(unit.length));
    if (got < 0)
        return std::nullopt;
    bytes.resize(static_cast<std::size_t>(got));
    return bytes;
}

std::string ChmArchive::defaultTopic() const
{
    // The #SYSTEM object: a 4-byte version, then records of code, length and data; code 2 is the
    // default topic.
    if (const auto system = read("/#SYSTEM")) {
        std::size_t at = 4;
        while (at + 4 <= system->size()) {
            const auto byte = [&](std::size_t i) { return static_cast<unsigned char>((*system)[i]); };
            const unsigned code = byte(at) | (byte(at + 1) << 8);
            const std::size_t length = byte(at + 2) | (byte(at + 3) << 8);
            at += 4;
            if (at + length > system->size())
                break;
            if (code == 2 && length > 0) {
                std::string topic = system->substr(at, length);
                topic.resize(topic.find('\0') == std::string::npos ? topic.size() : topic.find('\0'));
                if (!topic.empty())
                    return topic.front() == '/' ? topic : "/" + topic;
            }
            at += length;
        }
    }
    std::string page;
    if (file_)
        chm_enumerate(file_, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, firstPage, &page);
    return page;
}

}  // namespace help
