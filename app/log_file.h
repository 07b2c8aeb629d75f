#pragma once
// Paramora.log in the current directory: one time-stamped line per call while logOut is on,
// UTF-8 without byte-order mark, CR LF line ends, only ever appended. The file is held with an
// exclusive advisory lock; a log someone else holds loses the line silently.

#include <ctime>
#include <string>
#include <string_view>

inline constexpr const char* logFileName = "Paramora.log";

// Appends "dd/mm/yy hh:mm:ss = " + text + CR LF when logOut is not 0. Reopens the file for every
// line and leaves it open (and locked) afterwards. Never reports a failure.
void logLine(std::string_view text);

// The two lines the program starts its log with: 63 "=" and the start tag with the version.
void writeStartLines();

// Releases the log (Exit and the end of the program).
void closeLogFile();

// "08/12/26 09:05:03 = " for that local time.
std::string logTimeStamp(const std::tm& localTime);
