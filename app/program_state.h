#pragma once
// Program-wide values the windows, commands and documents share.

#include <cstdint>
#include <string>

inline std::string programTitle = "Paramora";
inline std::uint16_t documentState = 0;  // 0 no document, 1 open and saved, 2 modified
inline std::string currentFileName;      // the document's file name without folder
// The whole path the document was opened from or last saved to; empty for a new document.
inline std::string currentFilePath;
inline int connectedPort = 0;            // position of the connected port in the port list; 0: none

// The table cell of the last click, and the row a fill or a command works on.
inline std::int32_t currentRow = 0;
inline std::int32_t currentColumn = 0;
inline std::int32_t targetRow = 0;

// The editor context: the parameter whose in-place editor raised the last event (or that the
// details command shows), handed to the value-editor windows.
inline std::string editCode;
inline std::uint16_t editKey = 0;
inline std::uint16_t editFormat = 0;
inline std::uint16_t editSetValue = 0;
inline std::uint16_t editWritable = 0;
inline std::string editMinText;
inline std::string editMaxText;
inline std::string editDefaultText;
inline std::string editValueText;
