#include "app/comm_window.h"

#include <array>
#include <string>

#include "app/connection.h"
#include "app/loader_table.h"
#include "app/log_file.h"
#include "app/log_tags.h"
#include "app/program_state.h"
#include "app/settings_file.h"
#include "app/window_ids.h"
#include "description/description_store.h"
#include "link/port_scan.h"
#include "platform/gui/message_box.h"
#include "platform/help/help_window.h"

namespace {
using namespace commctl;

constexpr std::array<const char*, 8> baudTexts = {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"};

struct ParityEntry {
    const char* text;
    long code;
};
// The driver's codes, so "Чет (Even)" comes before "Нечет (Odd)" while their codes run the other way.
constexpr std::array<ParityEntry, 5> parityEntries = {{
    {"Нет", 0}, {"Чет (Even)", 2}, {"Нечет (Odd)", 1}, {"Единица (Mark)", 3}, {"Ноль (Space)", 4}}};

// Wide enough to show "Единица (Mark)" and "ПЧ Halmer Zr24" whole; the frame and the window still
// hold every list, and the lists of the frame keep one width so their column stays aligned.
constexpr int listWidth = 106;

// A number past the bound shows as the bound, so the field holds what the engine waits. An empty
// field stays empty while the user types a new number.
void takeTimeoutField()
{
    const std::int64_t typed = leadingNumber(gui::text(timeoutField));
    setWaitTimer(typed);
    if (typed != waitTimer)
        gui::setText(timeoutField, std::to_string(waitTimer));
}

void labelRight(int id, gui::Rect r, const char* text) { gui::label(win::comm, id, r, text, gui::Align::Right); }

void list(int id, gui::Rect r, std::initializer_list<const char*> entries, int selected)
{
    gui::comboBox(win::comm, id, r);
    for (const char* entry : entries)
        gui::addItem(id, entry);
    gui::setState(id, selected);
}
}  // namespace

void buildConnectionWindow()
{
    if (!gui::openWindow(win::comm, {0, 0, 340, 335}, "Настройки подключения", gui::closeBox, win::main)) {
        gui::messageBox("Ошибка", "Error Open Comm Window", gui::Icon::Error);
        return;
    }
    gui::button(win::comm, connectButton, {45, 290, 100, 30}, "Подключить");
    gui::enableControl(connectButton, false);
    gui::button(win::comm, disconnectButton, {192, 290, 100, 30}, "Отключить");
    gui::enableControl(disconnectButton, false);
    gui::button(win::comm, helpButton, {300, 290, 30, 30}, "?");
    gui::button(win::comm, autoSearchButton, {225, 135, 100, 30}, "Автопоиск");
    gui::enableControl(autoSearchButton, false);
    gui::button(win::comm, defaultsButton, {225, 180, 100, 30}, "По умолчанию");
    gui::frame(win::comm, portFrame, {15, 15, 195, 205}, "Настройка СОМ порта");
    labelRight(portLabel, {20, 43, 60, 15}, "Выбрать");
    gui::comboBox(win::comm, portList, {90, 40, listWidth, 20});
    labelRight(baudLabel, {20, 73, 60, 15}, "Скорость");
    gui::comboBox(win::comm, baudList, {90, 70, listWidth, 20});
    for (const char* baud : baudTexts)
        gui::addItem(baudList, baud);
    gui::setState(baudList, 3);
    labelRight(dataBitsLabel, {20, 103, 60, 15}, "Бит");
    list(dataBitsList, {90, 100, listWidth, 20}, {"7", "8"}, 1);
    labelRight(stopBitsLabel, {20, 133, 60, 15}, "Стоп бит");
    list(stopBitsList, {90, 130, listWidth, 20}, {"1", "1.5", "2"}, 0);
    labelRight(parityLabel, {20, 163, 60, 15}, "Четность");
    gui::comboBox(win::comm, parityList, {90, 160, listWidth, 20});
    for (const auto& entry : parityEntries)
        gui::addItem(parityList, entry.text, entry.code);
    gui::setState(parityList, 0);
    gui::label(win::comm, addressLabel, {225, 75, 95, 15}, "Modbus адрес", gui::Align::Centre);
    // Valid Modbus slave addresses; the field's text is what Connect uses.
    gui::spinner(win::comm, addressField, {240, 100, 70, 20}, 1, 247);
    if (deviceAddressText.empty())
        deviceAddressText.assign(1, '1');
    gui::setText(addressField, deviceAddressText);
    labelRight(modeLabel, {20, 193, 60, 15}, "Режим");
    list(modeList, {90, 190, listWidth, 20}, {"Modbus RTU", "Modbus ASCII"}, 0);
    gui::enableControl(modeList, false);
    gui::label(win::comm, modelLabel, {215, 15, 115, 15}, "Тип оборудования:", gui::Align::Centre);
    gui::comboBox(win::comm, modelList, {225, 40, listWidth, 20});
    for (const ModelEntry& model : loaderTable)
        gui::addItem(modelList, model.title);
    gui::setState(modelList, 0);
    labelRight(timeoutLabel, {20, 228, 190, 15}, "Время ожидания ответа, мс");
    gui::editField(win::comm, timeoutField, {225, 225, 60, 20}, -1, true);
    gui::setText(timeoutField, std::to_string(waitTimer));
    labelRight(attemptsLabel, {20, 258, 190, 15}, "Количество повторных запросов");
    gui::spinner(win::comm, attemptsField, {225, 255, 60, 20}, 0, 5);
    gui::setState(attemptsField, repeatCount);
    gui::centreWindow(win::comm, win::main);
    scanComPorts();
}

void applyLinkDefaults()
{
    const LinkDefaults* defaults = loadedLinkDefaults();
    if (!defaults)
        return;
    gui::setText(addressField, std::to_string(defaults->deviceAddress));
    for (std::size_t i = 0; i < baudTexts.size(); ++i)
        if (defaults->baudRate == static_cast<std::uint32_t>(leadingNumber(baudTexts[i])))
            gui::setState(baudList, static_cast<int>(i));
    if (defaults->dataBits == 7 || defaults->dataBits == 8)
        gui::setState(dataBitsList, defaults->dataBits - 7);
    if (defaults->stopBits == 1.0f)
        gui::setState(stopBitsList, 0);
    else if (defaults->stopBits == 1.5f)
        gui::setState(stopBitsList, 1);
    else if (defaults->stopBits == 2.0f)
        gui::setState(stopBitsList, 2);
    for (std::size_t i = 0; i < parityEntries.size(); ++i)
        if (defaults->parityCode == parityEntries[i].code)
            gui::setState(parityList, static_cast<int>(i));
}

void selectModelEntry(const std::string& modelName)
{
    const int count = gui::itemCount(modelList);
    for (int i = 0; i < count; ++i)
        if (gui::itemText(modelList, i) == modelName) {
            gui::setState(modelList, i);
            return;
        }
}

void showConnectionWindow()
{
    logLine(tagCommunication);
    // Without the window there is nothing to show, and the Main Window must stay usable.
    if (!gui::windowExists(win::comm))
        return;
    gui::enableWindow(win::main, false);
    gui::showWindow(win::comm, true);
    gui::activateWindow(win::comm);
    if (connectedPort == 0)
        scanComPorts();
    if (documentState != 0)
        selectModelEntry(currentModelName);
}

void closeConnectionWindow()
{
    if (gui::windowExists(win::comm))
        gui::showWindow(win::comm, false);
    gui::enableWindow(win::main, true);
    gui::activateWindow(win::main);
}

void connectionWindowEvents(const gui::Event& event)
{
    if (event.kind == gui::EventKind::Close) {
        closeConnectionWindow();
        return;
    }
    if (event.kind != gui::EventKind::Control)
        return;
    // A list also reports the keyboard coming to it and the return key; only the user's pick of an
    // entry is a choice.
    if ((event.id == portList || event.id == modelList) && event.type != gui::EventType::Change)
        return;
    switch (event.id) {
    case portList: {
        const std::string selected = gui::text(portList);
        logLine(tagSelectPort + selected);
        if (selected == refreshPortsEntry)
            scanComPorts();
        break;
    }
    case timeoutField: takeTimeoutField(); break;
    case attemptsField: setRepeatCount(leadingNumber(gui::text(attemptsField))); break;
    case helpButton: help::showHelp("Help.chm", "Paramora_Connect.htm"); break;
    case connectButton: connectDevice(); break;
    case disconnectButton: disconnectDevice(); break;
    case modelList: modelSelected(); break;
    case defaultsButton: defaultSettings(); break;
    default: break;
    }
}

void scanComPorts()
{
    takeLineSettingsFromWindow();
    gui::clearItems(commctl::portList);
    for (const std::string& path : freeSerialPorts())
        gui::addItem(commctl::portList, path);
    gui::addItem(commctl::portList, refreshPortsEntry);
    gui::setState(commctl::portList, 0);
    gui::enableControl(commctl::connectButton, gui::itemCount(commctl::portList) > 1);
}
