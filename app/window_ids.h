#pragma once
// Numbers of the windows, controls, menu commands and popups. Control numbers are unique across
// the program; the in-place editors take their parameter's optionKey (1000 and above).

namespace win {
inline constexpr int main = 0;
inline constexpr int monitor = 1;
inline constexpr int about = 2;
inline constexpr int wait = 3;
inline constexpr int comm = 4;
inline constexpr int bitToHex = 7;
inline constexpr int digitToDec = 8;
inline constexpr int digitToHex = 9;
}  // namespace win

namespace ctl {
// Main Window
inline constexpr int tabPanel = 0;
inline constexpr int readAllButton = 1;
inline constexpr int writeAllButton = 2;
inline constexpr int logo = 3;
inline constexpr int tree = 6;
inline constexpr int table = 7;
inline constexpr int splitter = 8;
inline constexpr int legendChanged = 33;
inline constexpr int legendReadWritten = 34;
inline constexpr int legendFailed = 35;
inline constexpr int legendNotDefault = 36;
// Monitor Window
inline constexpr int traceText = 31;
inline constexpr int clearTraceButton = 32;
inline constexpr int logCheckBox = 45;
// About Window
inline constexpr int aboutLogo = 5;
inline constexpr int aboutProduct = 37;
inline constexpr int aboutVersion = 38;
inline constexpr int aboutCloseButton = 39;
inline constexpr int aboutTermsButton = 40;
inline constexpr int aboutMakerFirst = 41;  // 41 to 44
inline constexpr int aboutTermsText = 46;
}  // namespace ctl

namespace cmd {
inline constexpr int fileOpen = 2;
inline constexpr int fileSave = 3;
inline constexpr int fileSaveAs = 4;
inline constexpr int exportCsv = 5;
inline constexpr int print = 6;
inline constexpr int exit = 7;
inline constexpr int commSettings = 8;
inline constexpr int disconnect = 9;
inline constexpr int monitor = 10;
inline constexpr int help = 11;
inline constexpr int about = 12;
inline constexpr int newZr24 = 13;
inline constexpr int newZr12 = 14;
inline constexpr int newZr48 = 15;
inline constexpr int newZr48X = 16;
inline constexpr int newYv20 = 17;
inline constexpr int newYv32 = 18;
inline constexpr int newYv33 = 19;
inline constexpr int newJx9 = 22;
// popups
inline constexpr int copyRowToClipboard = 24;
inline constexpr int copyAllToClipboard = 25;
inline constexpr int readCurrent = 27;
inline constexpr int copyCurrent = 28;
inline constexpr int copyAll = 29;
inline constexpr int writeCurrent = 31;
inline constexpr int writeCurrentEeprom = 32;
inline constexpr int showDetails = 33;
inline constexpr int setDefault = 34;
}  // namespace cmd

namespace popup {
inline constexpr int clipboard = 23;
inline constexpr int readValue = 26;
inline constexpr int setValue = 30;
}  // namespace popup
