#include "app/connection.h"

#include <string>

#include "app/comm_window.h"
#include "app/documents.h"
#include "app/loader_table.h"
#include "app/log_file.h"
#include "app/log_tags.h"
#include "app/main_window.h"
#include "app/program_state.h"
#include "app/window_ids.h"
#include "description/description_store.h"
#include "link/modbus_engine.h"
#include "link/modbus_status.h"
#include "link/serial_link.h"
#include "link/trace.h"
#include "platform/gui/message_box.h"

namespace {

using namespace commctl;

// The controls that describe the connection: locked while connected.
void enableSettingsControls(bool enabled)
{
    for (int id : {baudList, dataBitsList, modeList, parityList, stopBitsList, portList, addressField, modelList,
                   defaultsButton})
        gui::enableControl(id, enabled);
}

void showCommWindowLinkState(bool connected)
{
    enableSettingsControls(!connected);
    gui::enableControl(connectButton, !connected);
    gui::enableControl(disconnectButton, connected);
}

void showMainWindowLinkState(bool connected)
{
    showConnectionPicture(connected);
    gui::enableControl(ctl::readAllButton, connected);
    gui::enableControl(ctl::writeAllButton, connected);
    gui::enableMenuItem(cmd::fileOpen, !connected);
    gui::enableMenuItem(cmd::disconnect, connected);
}

// Empties the description and loads the model at this position of the model list.
void loadModelAt(int position)
{
    if (position < 0 || position >= static_cast<int>(loaderTable.size()))
        return;
    clearDeviceDescription();
    loaderTable[static_cast<std::size_t>(position)].loader();
}

// Reads the loaded model's identification register; true when it holds the expected value.
bool identificationMatches()
{
    const LinkDefaults* defaults = loadedLinkDefaults();
    if (!defaults)
        return false;
    modbusRequest.deviceAddress = static_cast<std::uint16_t>(leadingNumber(deviceAddressText));
    modbusRequest.startRegister = defaults->identRegister;
    modbusRequest.count = 1;
    modbusRequest.registerTable = defaults->registerTable;
    modbusRead();
    return modbusRequest.status == statusGood && modbusRequest.values[0] == defaults->identValue;
}

void warnIdentificationFailed()
{
    const char* logText = logIdentOtherFailure;
    const char* warning = identMismatchWarning;
    if (modbusRequest.status == statusChecksumError) {
        logText = logIdentCrcError;
        warning = identCrcWarning;
    } else if (modbusRequest.status == statusTimeout) {
        logText = logIdentTimeout;
        warning = identTimeoutWarning;
    }
    logLine(logText);
    gui::messageBox("Предупреждение", warning, gui::Icon::Warning);
}

}  // namespace

void connectDevice()
{
    logLine(tagConnect);
    takeLineSettingsFromWindow();
    portName = gui::text(portList);
    if (!serial::open(serialPort, portName, currentLineSettings())) {
        gui::messageBox("Ошибка", "Невозможно открыть порт " + portName, gui::Icon::Warning);
        return;
    }
    connectedPort = gui::state(portList) + 1;
    modbusRequest.mode = gui::state(modeList) == 0 ? "RTU" : "ASCII";
    deviceAddressText = gui::text(addressField);
    if (documentState == 0)
        loadModelAt(gui::state(modelList));
    traceLine("Проверка соответствия типа оборудования");
    // The status of a request that could not be made must not pass for the identification's.
    modbusRequest.status = statusPortNotOpen;
    if (!identificationMatches()) {
        warnIdentificationFailed();
        closeSerialPort();
        connectedPort = 0;
        return;
    }
    showCommWindowLinkState(true);
    gui::showWindow(win::comm, false);
    if (documentState == 0)
        newDocument(gui::text(modelList));
    showMainWindowLinkState(true);
    gui::enableWindow(win::main, true);
    gui::activateWindow(win::main);
}

int disconnectDevice()
{
    logLine(tagDisconnect);
    dropConnection();
    return 0;
}

void dropConnection()
{
    closeSerialPort();
    connectedPort = 0;
    showCommWindowLinkState(false);
    showMainWindowLinkState(false);
}

void modelSelected()
{
    const std::string selected = gui::text(modelList);
    logLine(tagSelectModel + selected);
    if (documentState == 0) {
        loadModelAt(gui::state(modelList));
        return;
    }
    // An empty document keeps the previous model's name but none of its parameters.
    if (selected == currentModelName && documentHasDescription())
        return;
    const gui::Answer answer = gui::messageBox(
        "Внимание", "Текущий открытый файл не соответствует выбранной модели\nЖелаете продолжить и создать новый файл?",
        gui::Icon::Question, gui::Buttons::YesNo);
    // A refused or failed new document leaves the open one, and the list must keep naming it.
    if (answer != gui::Answer::Yes || newDocument(selected) != 1)
        selectModelEntry(currentModelName);
}

void defaultSettings()
{
    logLine(tagDefaultSettings);
    if (documentState == 0)
        loadModelAt(gui::state(modelList));
    applyLinkDefaults();
}
