#pragma once
// The fixed texts the program writes to the log. Some are followed directly by a text: the version
// (tagOpenProgram), the result code (tagFileOpen), the tree item (tagTreeItem), the list's text
// (tagSelectPort, tagSelectModel).

inline constexpr const char* tagOpenProgram = "#Event_OpenProgram_v";
inline constexpr const char* tagCloseWindow = "#Event_CloseWindow";
inline constexpr const char* tagMenuZr12 = "#MenuItem_Zr12";
inline constexpr const char* tagMenuZr24 = "#MenuItem_Zr24";
inline constexpr const char* tagMenuZr48 = "#MenuItem_Zr48";
inline constexpr const char* tagMenuZr48X = "#MenuItem_Zr48X";
inline constexpr const char* tagMenuYv20 = "#MenuItem_Yv20";
inline constexpr const char* tagMenuYv32 = "#MenuItem_Yv32";
inline constexpr const char* tagMenuYv33 = "#MenuItem_Yv33";
inline constexpr const char* tagMenuJx9 = "#MenuItem_Jx9";
inline constexpr const char* tagFileOpen = "#MenuItem_FileOpen ";
inline constexpr const char* tagFileSave = "#MenuItem_FileSave";
inline constexpr const char* tagFileSaveAs = "#MenuItem_FileSaveAs";
inline constexpr const char* tagExportCsv = "#MenuItem_ExportCSV";
inline constexpr const char* tagCommunication = "#MenuItem_Communication";
inline constexpr const char* tagMonitor = "#MenuItem_Monitor";
inline constexpr const char* tagDisconnect = "#Button_Disconnect";
inline constexpr const char* tagPopupReadCurrent = "#Popup_Read_Current";
inline constexpr const char* tagPopupCopyCurrent = "#Popup_Copy_Current";
inline constexpr const char* tagPopupCopyAll = "#Popup_Copy_All";
inline constexpr const char* tagPopupWriteCurrent = "#Popup_Write_Current";
inline constexpr const char* tagPopupWriteCurrentEeprom = "#Popup_Write_Current_EE";
inline constexpr const char* tagPopupSetDefault = "#Popup_Set_Default";
inline constexpr const char* tagReadParameters = "#Button_ReadParameters";
inline constexpr const char* tagWriteParameters = "#Button_WriteParameters";
inline constexpr const char* tagEditorReturnKey = "#EventType_ReturnKey";
inline constexpr const char* tagEditorChange = "#EventType_Change";
inline constexpr const char* tagEditorFocus = "#EventType_Focus";
inline constexpr const char* tagTreeChanged = "#Tree_Parameters = #Changed";
inline constexpr const char* tagTreeChecked = "#Tree_Parameters = #Check";
inline constexpr const char* tagTreeAll = "#Tree_Parameters = #All";
inline constexpr const char* tagTreeItem = "#Tree_Parameters = ";
inline constexpr const char* tagSelectPort = "#Combo_SelectCOM:";
inline constexpr const char* tagSelectModel = "#Combo_SelectModel - ";
inline constexpr const char* tagConnect = "#Button_Connect";
inline constexpr const char* tagDefaultSettings = "#Button_Default";

// A failed identification on Connect, written before its warning.
inline constexpr const char* logIdentCrcError = "Modbus\\status=1";
inline constexpr const char* logIdentTimeout = "Modbus\\status=2";
inline constexpr const char* logIdentOtherFailure = "Modbus\\status>2";
