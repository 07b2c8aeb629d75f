#include "app/file_names.h"

namespace {
std::size_t afterLastSeparator(std::string_view path)
{
    const std::size_t separator = path.rfind('/');
    return separator == std::string_view::npos ? 0 : separator + 1;
}
}  // namespace

std::string fileNamePart(std::string_view path) { return std::string(path.substr(afterLastSeparator(path))); }

std::string folderPart(std::string_view path) { return std::string(path.substr(0, afterLastSeparator(path))); }

std::string fileNameWithExtension(std::string_view path, std::string_view extension)
{
    std::string name = fileNamePart(path);
    const std::size_t point = name.rfind('.');
    if (point != std::string::npos && std::string_view(name).substr(point + 1) == extension)
        return name;
    name += '.';
    name += extension;
    return name;
}
