#pragma once
// The Comm Window: the connection settings, the port list, the model list and the buttons that
// connect, disconnect and apply a model's link defaults.

#include "app/connection_settings.h"
#include "platform/gui/gui.h"

namespace commctl {
inline constexpr int connectButton = 69;
inline constexpr int disconnectButton = 57;
inline constexpr int helpButton = 80;
inline constexpr int autoSearchButton = 55;
inline constexpr int defaultsButton = 59;
inline constexpr int portFrame = 56;
inline constexpr int portLabel = 54;
inline constexpr int portList = 64;
inline constexpr int baudLabel = 60;
inline constexpr int baudList = 65;
inline constexpr int dataBitsLabel = 61;
inline constexpr int dataBitsList = 66;
inline constexpr int stopBitsLabel = 62;
inline constexpr int stopBitsList = 67;
inline constexpr int parityLabel = 63;
inline constexpr int parityList = 68;
inline constexpr int addressLabel = 71;
inline constexpr int addressField = 70;
inline constexpr int modeLabel = 73;
inline constexpr int modeList = 72;
inline constexpr int modelLabel = 75;
inline constexpr int modelList = 74;
inline constexpr int timeoutLabel = 76;
inline constexpr int timeoutField = 77;
inline constexpr int attemptsLabel = 79;
inline constexpr int attemptsField = 78;
}  // namespace commctl

// The text of the address field; the build sets it to "1" when it is empty.
inline std::string deviceAddressText;

// Builds the hidden window with its lists and defaults, then scans the ports.
void buildConnectionWindow();
void connectionWindowEvents(const gui::Event& event);
// Connection, "Настройки связи": shows the window over the disabled Main Window, rescans while
// not connected and selects the open document's model.
void showConnectionWindow();
// The close box: hides the window and gives the Main Window back.
void closeConnectionWindow();
// Fills the port list with the ports that open with the window's line settings, then "Обновить...".
void scanComPorts();
// The loaded description's link defaults into the address field and the baud, data-bits,
// stop-bits and parity lists.
void applyLinkDefaults();
// Selects the first model-list entry with this text; none: the selection stays.
void selectModelEntry(const std::string& modelName);
