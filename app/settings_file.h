#pragma once
// Paramora.ini in the current directory: the folder of parameter files, the link's time-out and
// attempts, the log switch, and the Main Window's size, divider and table column widths.

#include <array>
#include <cstdint>
#include <string>

#include "link/request_limits.h"

inline constexpr const char* settingsFileName = "Paramora.ini";

// Window states as the file stores them.
inline constexpr std::int32_t windowStateNormal = 0;
inline constexpr std::int32_t windowStateMaximised = 16777216;
inline constexpr std::int32_t windowStateMinimised = 536870912;

inline constexpr std::size_t tableColumnCount = 8;

// The Main Window's part of the file. The Main Window reads it after loadSettings and fills it
// before saveSettings (a maximised window keeps the size it was given at start-up).
struct WindowLayout {
    std::int32_t state = windowStateNormal;
    std::uint16_t width = 960;     // inner size, the menu bar included
    std::uint16_t height = 640;
    std::uint16_t splitter = 235;  // the tree's width
    // The last column is wide enough for its heading "Modbus адр. EEPROM".
    std::array<std::uint16_t, tableColumnCount> columnWidths{50, 220, 150, 150, 100, 80, 100, 120};
};

inline std::string FilePath;          // folder of parameter files, ending in "/"
inline std::uint16_t logOut = 0;      // 0: no log
inline WindowLayout windowLayout;

// The Documents folder followed by "Paramora/". Reading the settings never makes it; a save or a
// file dialog that needs it does (app/save_targets.h).
std::string defaultFilePath();

// Start-up: reads the file. A missing or malformed file is reported and replaced by a default one.
void loadSettings();
// Writes a default file (FilePath as it is) and resets every other value to its default. A file
// that cannot be written is not reported.
void writeDefaultSettings();
// Writes the current values. On failure reports it and returns false; the old file stays.
bool saveSettings();
