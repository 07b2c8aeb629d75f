#include "app/about_window.h"

#include "app/window_ids.h"
#include "resources/pictures.h"

namespace {
constexpr int shortHeight = 190;
constexpr int tallHeight = 390;

constexpr const char* termsText =
    "Программа распространяется «как есть», без каких-либо гарантий. "
    "Перед записью параметров в преобразователь убедитесь, что выбрана правильная модель "
    "и что изменения безопасны для подключённого оборудования.";

void closeAboutWindow()
{
    gui::closeWindow(win::about);
    gui::enableWindow(win::main, true);
    gui::activateWindow(win::main);
}

void toggleTerms()
{
    const gui::Rect inner = gui::windowInnerRect(win::about);
    if (inner.h == shortHeight) {
        gui::resizeWindow(win::about, inner.w, tallHeight);
        gui::textArea(win::about, ctl::aboutTermsText, {10, shortHeight, 280, 190});
        gui::setText(ctl::aboutTermsText, termsText);
    } else {
        gui::destroyControl(ctl::aboutTermsText);
        gui::resizeWindow(win::about, inner.w, shortHeight);
    }
}
}  // namespace

void openAboutWindow()
{
    if (!gui::openWindow(win::about, {0, 0, 300, shortHeight}, "О программе", gui::closeBox, win::main))
        return;
    const Bitmap& logo = logoImage();
    gui::picture(win::about, ctl::aboutLogo, {10, 5, 169, 35}, logo.pixels.data(), logo.width, logo.height);
    gui::label(win::about, ctl::aboutProduct, {190, 5, 100, 50}, "Paramora\nконфигуратор", gui::Align::Centre);
    gui::setFont(ctl::aboutProduct, "Tahoma", 11);
    gui::label(win::about, ctl::aboutVersion, {110, 55, 180, 20}, "v 1.1 rev17.0 Beta");
    gui::button(win::about, ctl::aboutCloseButton, {170, 150, 90, 30}, "Закрыть");
    gui::button(win::about, ctl::aboutTermsButton, {40, 150, 90, 30}, "Условия");
    const gui::Rect makerLines[4] = {{15, 125, 110, 20}, {175, 125, 120, 20}, {10, 80, 225, 20}, {100, 100, 195, 20}};
    const char* makerTexts[4] = {"Paramora", "2026", "Настройка преобразователей", "по Modbus RTU"};
    for (int i = 0; i < 4; ++i)
        gui::label(win::about, ctl::aboutMakerFirst + i, makerLines[i], makerTexts[i]);
    gui::centreWindow(win::about, win::main);
    gui::showWindow(win::about, true);
    gui::enableWindow(win::main, false);
}

void aboutWindowEvents(const gui::Event& event)
{
    if (event.kind == gui::EventKind::Close ||
        (event.kind == gui::EventKind::Control && event.id == ctl::aboutCloseButton))
        closeAboutWindow();
    else if (event.kind == gui::EventKind::Control && event.id == ctl::aboutTermsButton)
        toggleTerms();
}
