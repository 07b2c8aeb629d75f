#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStringList>
#include <QTextCursor>

#include "platform/gui/registry.h"

namespace gui {
namespace detail {
namespace {
std::map<int, QStringList>& pending()
{
    static std::map<int, QStringList> lines;
    return lines;
}

void flushInto(QPlainTextEdit* area, QStringList& lines)
{
    if (lines.isEmpty())
        return;
    const QString text = lines.join(QChar('\n'));
    lines.clear();
    // An empty document already shows one empty line: the first line goes into it, so that an
    // empty first line still counts as a line.
    if (!area->property("hasLines").toBool()) {
        area->setPlainText(text);
        area->setProperty("hasLines", true);
    } else {
        // One edit: the document is laid out and resized once for the batch, not line by line.
        QTextCursor cursor(area->document());
        cursor.beginEditBlock();
        cursor.movePosition(QTextCursor::End);
        cursor.insertBlock();
        cursor.insertText(text);
        cursor.endEditBlock();
    }
    area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
}
}  // namespace

void flushPendingLines(int id, bool shownOnly)
{
    auto& all = pending();
    for (auto it = all.begin(); it != all.end();) {
        auto* control = findControl(it->first);
        auto* area = control ? qobject_cast<QPlainTextEdit*>(control->widget.data()) : nullptr;
        const bool wanted = (id < 0 || it->first == id) && !(area && shownOnly && !area->isVisible());
        if (!wanted) {
            ++it;
            continue;
        }
        if (area)
            flushInto(area, it->second);
        it = all.erase(it);
    }
}

void dropPendingLines(int id) { pending().erase(id); }
}  // namespace detail

void appendLine(int id, std::string_view line)
{
    auto* control = detail::findControl(id);
    if (!control || control->kind != detail::ControlKind::TextArea)
        return;
    detail::pending()[id].append(detail::qs(line));
}

}  // namespace gui
