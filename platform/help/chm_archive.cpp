#include "platform/help/chm_archive.h"

#include <chm_lib.h>

#include <fcntl.h>

#include <algorithm>
#include <cstdint>

#include "platform/files/descriptor.h"
#include "platform/files/regular_file.h"

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

// chmlib opens the file by name, which may block or open a device: it gets the plain file found
// here, named through its descriptor.
ChmArchive::ChmArchive(const std::string& path)
{
    const files::Descriptor checked(files::openRegularFile(path, O_RDONLY));
    if (checked.get() >= 0)
        file_ = chm_open(files::pathOfDescriptor(checked.get()).c_str());
}

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

std::optional<std::string> ChmArchive::systemRecord(unsigned wanted) const
{
    // The #SYSTEM object: a 4-byte version, then records of a 2-byte code, a 2-byte length and
    // the data.
    const auto system = read("/#SYSTEM");
    if (!system)
        return std::nullopt;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>((*system)[i]); };
    std::size_t at = 4;
    while (at + 4 <= system->size()) {
        const unsigned code = byte(at) | (byte(at + 1) << 8);
        const std::size_t length = byte(at + 2) | (byte(at + 3) << 8);
        at += 4;
        if (at + length > system->size())
            break;
        if (code == wanted)
            return system->substr(at, length);
        at += length;
    }
    return std::nullopt;
}

std::uint32_t ChmArchive::language() const
{
    // Record 4 starts with the file's LCID.
    const auto record = systemRecord(4);
    if (!record || record->size() < 4)
        return 0;
    std::uint32_t lcid = 0;
    for (int i = 3; i >= 0; --i)
        lcid = (lcid << 8) | static_cast<unsigned char>((*record)[static_cast<std::size_t>(i)]);
    return lcid;
}

std::string ChmArchive::defaultTopic() const
{
    if (auto topic = systemRecord(2)) {
        topic->resize(std::min(topic->find('\0'), topic->size()));
        if (!topic->empty())
            return topic->front() == '/' ? *topic : "/" + *topic;
    }
    std::string page;
    if (file_)
        chm_enumerate(file_, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, firstPage, &page);
    return page;
}

}  // namespace help
