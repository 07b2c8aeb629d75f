#pragma once
// Parameter files: the document's model, link settings, set values, read values and check marks
// in the settings-style format. Only values that differ from a parameter's initial value are
// written, so a file read back starts from those initial values. saveParameterFile is declared
// in app/documents.h.

#include <cstdint>
#include <string>

class PreferenceReader;
class PreferenceWriter;

// Results of openParameterFile.
namespace openResult {
inline constexpr std::uint16_t none = 0;           // cancelled, unreadable (reported), or a save question's save failed
inline constexpr std::uint16_t opened = 1;
inline constexpr std::uint16_t noModel = 3;
inline constexpr std::uint16_t unknownModel = 4;
inline constexpr std::uint16_t noGeneralGroup = 5;
inline constexpr std::uint16_t noGroupListing = 8;
inline constexpr std::uint16_t reloadDeclined = 9;
inline constexpr std::uint16_t refused = 10;
}  // namespace openResult

// "Открыть": asks the save question and for a file, then loads it into the document.
std::uint16_t openParameterFile();

// Writes the document to the path in one piece. On failure reports it and returns false; the old
// file, documentState and the document stay as they were.
bool writeParameterFile(const std::string& path);

// The General group: the Comm Window's link settings. Reading takes all of them but Port.
void writeLinkSettings(PreferenceWriter& writer);
void readLinkSettings(const PreferenceReader& reader);
