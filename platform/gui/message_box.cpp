#include "platform/gui/message_box.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QString>

#include <cstdio>

#include "platform/gui/registry.h"

namespace gui {
namespace {
MessageBoxResponder responder;

// A question is answered only by its buttons: Qt would take Escape and the close box as "Нет",
// and on the save question before the program ends that loses the user's edits.
class AnswerOnlyByButtons : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Close) {
            event->ignore();
            return true;
        }
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Cancel))
            return true;
        return QObject::eventFilter(watched, event);
    }
};

QMessageBox::Icon qtIcon(Icon icon)
{
    switch (icon) {
    case Icon::Error: return QMessageBox::Critical;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Information: return QMessageBox::Information;
    case Icon::Question: return QMessageBox::Question;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}
}  // namespace

void setMessageBoxResponder(MessageBoxResponder r) { responder = std::move(r); }

Answer messageBox(std::string_view title, std::string_view text, Icon icon, Buttons buttons)
{
    MessageBoxCall call{std::string(title), std::string(text), icon, buttons};
    if (responder)
        return responder(call);
    if (!QApplication::instance()) {
        // No window system yet (a tool or a test without a responder): say it on stderr.
        std::fprintf(stderr, "%s: %s\n", call.title.c_str(), call.text.c_str());
        return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
    // The windows behind the box show what the command has done so far; input still held for
    // them was not meant for the box.
    detail::flushPendingScreenWork();
    detail::dropHeldInput();
    QString body = QString::fromStdString(call.text);
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));
    QMessageBox box(qtIcon(icon), QString::fromStdString(call.title), body, QMessageBox::NoButton, detail::dialogOwner());
    if (buttons == Buttons::YesNo) {
        QPushButton* yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
        box.addButton(QStringLiteral("Нет"), QMessageBox::NoRole);
        AnswerOnlyByButtons onlyButtons;
        box.installEventFilter(&onlyButtons);
        box.exec();
        return box.clickedButton() == yes ? Answer::Yes : Answer::No;
    }
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
    return Answer::Ok;
}

}  // namespace gui
