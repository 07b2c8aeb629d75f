#pragma once
// The commands of the Comm Window that change the connection or the loaded description, and the
// two link states the rest of the program reads through connectedPort.

// "Подключить": opens the port, loads the chosen model while no document is open, and keeps the
// connection only when the device answers the model's identification read.
void connectDevice();
// "Отключить" in the Comm Window and the Connection menu, and a command that found the port gone.
// Returns 0.
int disconnectDevice();
// The model list's selection.
void modelSelected();
// "По умолчанию".
void defaultSettings();

// The warnings of a failed identification.
inline constexpr const char* identCrcWarning = "Неправильная контрольная сумма в ответе";
inline constexpr const char* identTimeoutWarning = "Превышено время ожидания\rОборудование не отвечает";
inline constexpr const char* identMismatchWarning =
    "Несоответствие типа оборудования или ошибка связи!\rПодробности в мониторе.\r"
    "Для корректного подключения, остановите ПЧ,\rесли он запущен.";
