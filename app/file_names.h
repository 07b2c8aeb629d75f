#pragma once
// Parts of the paths file dialogs give back. Only "/" separates folders; a file name may hold "\".

#include <string>
#include <string_view>

// "a/b/c.pmr" -> "c.pmr"
std::string fileNamePart(std::string_view path);
// "a/b/c.pmr" -> "a/b/"; empty when the path names no folder.
std::string folderPart(std::string_view path);
// The file-name part, with "." and the extension appended unless it already ends in exactly that
// extension (case-sensitive): ("x.pmr", "pmr") -> "x.pmr", ("x.PMR", "pmr") -> "x.PMR.pmr".
std::string fileNameWithExtension(std::string_view path, std::string_view extension);
