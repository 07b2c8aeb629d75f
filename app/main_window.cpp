#include "app/main_window.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "app/comm_window.h"
#include "app/in_place_editors.h"
#include "app/log_file.h"
#include "app/log_tags.h"
#include "app/program_state.h"
#include "app/settings_file.h"
#include "app/window_ids.h"
#include "description/description_store.h"
#include "platform/gui/message_box.h"
#include "platform/help/help_window.h"
#include "platform/shell/open_document.h"
#include "resources/pictures.h"

namespace {

struct ModelMenuItem {
    int command;
    const char* text;
};

constexpr std::array<ModelMenuItem, 8> newDocumentItems = {{
    {cmd::newZr12, "ПЧ Tovik Zr12"},
    {cmd::newZr24, "ПЧ Halmer Zr24"},
    {cmd::newZr48, "ПЧ Tovik Zr48"},
    {cmd::newZr48X, "ПЧ Tovik Zr48X"},
    {cmd::newYv20, "ПЧ Tovik Yv20"},
    {cmd::newYv32, "ПЧ Tovik Yv32"},
    {cmd::newYv33, "ПЧ Tovik Yv33"},
    {cmd::newJx9, "УПП Tovik Jx9"},
}};

struct Manual {
    int command;
    const char* item;
    const char* files[2];
};

constexpr std::array<Manual, 8> manuals = {{
    {39, "ПЧ Tovik Zr12", {"Docs/Tovik_Zr12_Manual.pdf", nullptr}},
    {40, "ПЧ Halmer Zr24", {"Docs/Halmer_Zr24_Manual.pdf", nullptr}},
    {42, "ПЧ Tovik Zr48", {"Docs/Tovik_Zr48_Manual.pdf", "Docs/Tovik_Zr48_Manual_Ext.pdf"}},
    {43, "ПЧ Tovik Zr48X", {"Docs/Tovik_Zr48X_Manual.pdf", nullptr}},
    {45, "ПЧ Tovik Yv20", {"Docs/Tovik_Yv20_Manual.pdf", nullptr}},
    {46, "ПЧ Tovik Yv32", {"Docs/Tovik_Yv32_Manual.pdf", nullptr}},
    {47, "ПЧ Tovik Yv33", {"Docs/Tovik_Yv33_Manual.pdf", nullptr}},
    {48, "УПП Tovik Jx9", {"Docs/Tovik_Jx9_Manual.pdf", nullptr}},
}};

void errorBox(const char* text) { gui::messageBox("Ошибка", text, gui::Icon::Error); }

void buildMenus()
{
    gui::menuBegin(win::main, "Файл");
    gui::submenuBegin("Новый");
    for (const auto& item : newDocumentItems)
        gui::menuItem(item.command, item.text);
    gui::submenuEnd();
    gui::menuItem(cmd::fileOpen, "Открыть");
    gui::menuItem(cmd::fileSave, "Сохранить", false);
    gui::menuItem(cmd::fileSaveAs, "Сохранить как", false);
    gui::menuSeparator();
    gui::menuItem(cmd::exportCsv, "Экспорт в CSV", false);
    gui::menuItem(cmd::print, "Печать", false);
    gui::menuSeparator();
    gui::menuItem(cmd::exit, "Выход");

    gui::menuBegin(win::main, "Подключение");
    gui::menuItem(cmd::commSettings, "Настройки связи");
    gui::menuItem(cmd::disconnect, "Отключить", false);
    gui::menuItem(cmd::monitor, "Монитор");
    gui::checkMenuItem(cmd::monitor, false);

    gui::menuBegin(win::main, "Помощь");
    gui::menuItem(cmd::help, "Справка");
    gui::submenuBegin("Руководство по эксплуатации");
    for (const auto& manual : manuals)
        gui::menuItem(manual.command, manual.item);
    gui::submenuEnd();
    gui::menuItem(cmd::about, "О программе");
}

void buildPopups()
{
    gui::popupCreate(popup::readValue);
    gui::popupItem(popup::readValue, win::main, cmd::readCurrent, "Прочитать выбранный", false);
    gui::popupItem(popup::readValue, win::main, cmd::showDetails, "Показать подробнее...", false);
    gui::popupSeparator(popup::readValue);
    gui::popupItem(popup::readValue, win::main, cmd::copyCurrent, "Копировать выбранный в заданное");
    gui::popupItem(popup::readValue, win::main, cmd::copyAll, "Копировать все в заданное");

    gui::popupCreate(popup::setValue);
    gui::popupItem(popup::setValue, win::main, cmd::writeCurrent, "Записать выбранный параметр", false);
    gui::popupItem(popup::setValue, win::main, cmd::writeCurrentEeprom, "Записать выбранный параметр в EEPROM", false);
    gui::popupSeparator(popup::setValue);
    gui::popupItem(popup::setValue, win::main, cmd::setDefault, "Установить по умолчанию", false);

    gui::popupCreate(popup::clipboard);
    gui::popupItem(popup::clipboard, win::main, cmd::copyRowToClipboard, "Копировать в буфер выбранный", false);
    gui::popupItem(popup::clipboard, win::main, cmd::copyAllToClipboard, "Копировать в буфер все", false);
}

void buildParametersTab()
{
    gui::button(win::main, ctl::readAllButton, {15, 520, 120, 30}, "Прочитать");
    gui::enableControl(ctl::readAllButton, false);
    gui::button(win::main, ctl::writeAllButton, {150, 520, 120, 30}, "Записать");
    gui::enableControl(ctl::writeAllButton, false);
    gui::label(win::main, ctl::legendChanged, {290, 520, 130, 15}, "Значение изменено", gui::Align::Centre, colourChanged);
    gui::label(win::main, ctl::legendReadWritten, {420, 520, 130, 15}, "Прочитано/записано", gui::Align::Centre,
               colourReadWritten);
    gui::label(win::main, ctl::legendFailed, {420, 535, 130, 15}, "Ошибка чтения/записи", gui::Align::Centre, colourFailed);
    gui::label(win::main, ctl::legendNotDefault, {290, 535, 130, 15}, "Не по умолчанию", gui::Align::Centre,
               colourNotDefault);
    const Bitmap& logo = logoImage();
    gui::picture(win::main, ctl::logo, {760, 515, 169, 35}, logo.pixels.data(), logo.width, logo.height);
    gui::tree(win::main, ctl::tree, {10, 8, 232, 500});
    gui::table(win::main, ctl::table, {251, 8, 684, 500});
    const auto& widths = windowLayout.columnWidths;
    gui::tableSetColumns(ctl::table, {{"√", 22},
                                      {"Код", widths[0]},
                                      {"Название", widths[1]},
                                      {"Заданное значение", widths[2]},
                                      {"Прочитанное значение", widths[3]},
                                      {"Диапазон", widths[4]},
                                      {"По умолчанию", widths[5]},
                                      {"Modbus адр.", widths[6]},
                                      {"Modbus адр. EEPROM", widths[7]}});
    gui::setTableHook(ctl::table, tableSubclassProc);
    gui::splitter(win::main, ctl::splitter, {10, 8, 925, 500}, ctl::tree, ctl::table);
    for (int id : {ctl::readAllButton, ctl::writeAllButton, ctl::legendChanged, ctl::legendReadWritten, ctl::legendFailed,
                   ctl::legendNotDefault, ctl::logo, ctl::splitter})
        gui::placeOnTab(ctl::tabPanel, 0, id);
}

void buildWaitWindow()
{
    if (!gui::openWindow(win::wait, {0, 0, 270, 0}, "Загрузка параметров. Пожалуйста, подождите...", gui::toolWindow,
                         win::main))
        errorBox("Error Open Wait Window");
}

void buildMonitorWindow()
{
    if (!gui::openWindow(win::monitor, {10, 10, 355, 240}, "Монитор", gui::closeBox | gui::alwaysOnTop, win::main)) {
        errorBox("Error Open Monitor Window");
        return;
    }
    gui::textArea(win::monitor, ctl::traceText, {10, 10, 335, 190});
    gui::button(win::monitor, ctl::clearTraceButton, {245, 205, 100, 30}, "Очистить");
    gui::checkBox(win::monitor, ctl::logCheckBox, {15, 205, 205, 30}, "Записывать в log файл");
    gui::setState(ctl::logCheckBox, logOut != 0 ? 1 : 0);
}

gui::WindowState stateOfSettings(std::int32_t state)
{
    if (state == windowStateMaximised)
        return gui::WindowState::Maximised;
    if (state == windowStateMinimised)
        return gui::WindowState::Minimised;
    return gui::WindowState::Normal;
}

// A stored size larger than the screen (a damaged or hand-edited settings file) is cut to the
// screen: a window of tens of thousands of pixels cannot even be painted. The default size always
// stands, so a small screen keeps the usual layout.
gui::Rect startSize()
{
    const WindowLayout defaults;
    const gui::Rect screen = gui::availableScreenArea();
    const int width = std::min<int>(windowLayout.width, std::max<int>(screen.w, defaults.width));
    const int height = std::min<int>(windowLayout.height, std::max<int>(screen.h, defaults.height));
    return {0, 0, width, height};
}

void mainWindowCallback(const gui::WindowMessage& message)
{
    if (message.kind == gui::WindowMessage::SizeChanged) {
        hideCurrentEditor();
        layoutMainWindow();
    }
}

}  // namespace

bool buildMainWindow()
{
    if (!gui::openWindow(win::main, startSize(), programTitle, gui::sizable | gui::withMenuAndStatus)) {
        errorBox("Error Open Main Window");
        return false;
    }

    using gui::Align;
    gui::statusFields(win::main, {{170, Align::Centre, false},
                                  {100, Align::Left, true},
                                  {100, Align::Centre, false},
                                  {30, Align::Left, true},
                                  {70, Align::Centre, false},
                                  {200, Align::Left, false},
                                  {10, Align::Left, true}});
    gui::statusText(win::main, 0, "Текущий тип оборудования:");
    gui::statusText(win::main, 1, currentModelName);
    gui::statusText(win::main, 2, "Подключение");
    showConnectionPicture(false);
    gui::statusText(win::main, 4, "Процесс");
    gui::statusProgress(win::main, 5);

    buildMenus();
    gui::tabPanel(win::main, ctl::tabPanel, {5, 5, 950, 585}, {"Параметры", "Оперативное управление"});
    buildParametersTab();
    buildPopups();
    layoutMainWindow();
    gui::setSplitterPosition(ctl::splitter, windowLayout.splitter);

    buildWaitWindow();
    buildMonitorWindow();

    // The hook is in place before the minimum size and the stored state first resize the window,
    // so the controls are laid out for the size it opens at.
    gui::setWindowHook(win::main, mainWindowCallback);
    gui::setMinimumOuterSize(win::main, 800, 600);
    gui::centreWindow(win::main, -1);  // at the size it opens at, the minimum included
    // The Comm Window centres itself on the Main Window: built only now, where that window stands.
    buildConnectionWindow();
    gui::setWindowState(win::main, stateOfSettings(windowLayout.state));
    gui::showWindow(win::main, true);
    gui::activateWindow(win::main);
    return true;
}

void layoutMainWindow()
{
    const gui::Rect inner = gui::windowInnerRect(win::main);
    const int w = inner.w, h = inner.h;
    gui::moveControl(ctl::tabPanel, {5, 5, w - 10, h - 55});
    gui::moveControl(ctl::readAllButton, {15, h - 120, 120, 30});
    gui::moveControl(ctl::writeAllButton, {150, h - 120, 120, 30});
    gui::moveControl(ctl::legendChanged, {290, h - 120, 130, 15});
    gui::moveControl(ctl::legendReadWritten, {420, h - 120, 130, 15});
    gui::moveControl(ctl::legendFailed, {420, h - 105, 130, 15});
    gui::moveControl(ctl::legendNotDefault, {290, h - 105, 130, 15});
    gui::moveControl(ctl::logo, {w - 200, h - 125, 169, 35});
    // The tree and table follow the window instead of keeping their first size.
    gui::moveControl(ctl::splitter, {10, 8, w - 35, h - 140});
}

void toggleMonitorWindow()
{
    logLine(tagMonitor);
    if (gui::windowExists(win::monitor)) {
        if (gui::menuItemChecked(cmd::monitor)) {
            gui::checkMenuItem(cmd::monitor, false);
            gui::showWindow(win::monitor, false);
        } else {
            gui::checkMenuItem(cmd::monitor, true);
            gui::showWindow(win::monitor, true, false);
        }
    }
    gui::activateWindow(win::main);
}

void openHelpFile() { help::showHelp("Help.chm"); }

void openManual(int command)
{
    const auto folder = std::filesystem::current_path().string() + "/";
    for (const auto& manual : manuals)
        if (manual.command == command)
            for (const char* file : manual.files)
                if (file)
                    shell::openDocument(folder + file);
}

void showWaitWindow(bool show)
{
    if (!gui::windowExists(win::wait))
        return;
    if (show) {
        gui::centreWindow(win::wait, win::main);
        gui::showWindow(win::wait, true, false);
        gui::repaintWindowNow(win::wait);
    } else {
        gui::showWindow(win::wait, false);
    }
}

void hideCurrentEditor()
{
    const std::int32_t key = RowToKey.read(currentRow);
    if (key != 0 && gui::controlExists(key))
        gui::showControl(key, false);
}

void showConnectionPicture(bool connected)
{
    const Bitmap& image = connected ? connectedImage() : disconnectedImage();
    gui::statusPicture(win::main, 3, image.pixels.data(), image.width, image.height);
}
