#include <QClipboard>
#include <QGuiApplication>

#include "platform/gui/registry.h"

namespace gui {

void setClipboardText(std::string_view text)
{
    initialise();
    QGuiApplication::clipboard()->setText(detail::qs(text));
}

std::string clipboardText()
{
    initialise();
    return detail::str(QGuiApplication::clipboard()->text());
}

}  // namespace gui
