#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QComboBox>
#include <QApplication>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QWheelEvent>

#include "platform/gui/registry.h"

namespace gui {
namespace detail {

std::map<int, ControlRecord>& controls()
{
    static std::map<int, ControlRecord> records;
    return records;
}

ControlRecord* findControl(int id)
{
    auto& all = controls();
    const auto it = all.find(id);
    return it == all.end() ? nullptr : &it->second;
}

namespace {
// Only a field the user can see speaks for the user: a hidden one that still receives focus or
// keys (Qt gives the focus back to it when a menu or a dialog closes) raises nothing.
void raiseFieldEvent(const QWidget* field, int window, int id, EventType type)
{
    if (field->isVisible())
        raiseControlEvent(window, id, type);
}

// The scrollable area a widget sits in (the cell area of a table), or null when none holds it.
QWidget* scrollingViewportAbove(QWidget* widget)
{
    for (QWidget* w = widget->parentWidget(); w && !w->isWindow(); w = w->parentWidget())
        if (auto* area = qobject_cast<QAbstractScrollArea*>(w->parentWidget()); area && area->viewport() == w)
            return w;
    return nullptr;
}

// The wheel never steps a drop-down list, a spinner or a number field, in any window: a
// turn meant to scroll would change a value or a setting unseen. It scrolls the area that holds
// the control instead, if any. An opened drop-down is a window of its own and scrolls as usual.
class WheelPassesThrough : public QObject {
public:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() != QEvent::Wheel)
            return false;
        auto* control = static_cast<QWidget*>(object);
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (QWidget* area = scrollingViewportAbove(control)) {
            QWheelEvent passed(control->mapTo(area, wheel->position()), wheel->globalPosition(), wheel->pixelDelta(),
                               wheel->angleDelta(), wheel->buttons(), wheel->modifiers(), wheel->phase(),
                               wheel->inverted(), wheel->source());
            QCoreApplication::sendEvent(area, &passed);
        }
        return true;
    }
};

void letWheelPass(QWidget* control)
{
    static WheelPassesThrough* filter = new WheelPassesThrough;
    control->installEventFilter(filter);
}

// What Qt says as the keyboard goes to a drop-down, the menu bar, a menu or another window, and
// as it comes back from there.
bool lendingReason(Qt::FocusReason reason)
{
    return reason == Qt::PopupFocusReason || reason == Qt::MenuBarFocusReason || reason == Qt::ActiveWindowFocusReason;
}

// Focus and the return key of edit fields and drop-down lists, which Qt reports only as events.
class FieldEvents : public QObject {
public:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        const int id = object->property("controlId").toInt();
        auto* control = findControl(id);
        if (!control || control->widget != object)
            return false;
        auto* field = static_cast<QWidget*>(object);
        if (event->type() == QEvent::FocusOut) {
            // The keyboard lent to the control's own drop-down, the menu bar, a menu or another
            // window (a dialog, or the window's contents disabled while one is open) comes back to
            // it later: that is no new focus.
            const QWidget* next = QApplication::focusWidget();
            field->setProperty("keyboardLent", lendingReason(static_cast<QFocusEvent*>(event)->reason()) || !next ||
                                                   next->window() != field->window());
        } else if (event->type() == QEvent::FocusIn) {
            const bool comesBack =
                field->property("keyboardLent").toBool() && lendingReason(static_cast<QFocusEvent*>(event)->reason());
            field->setProperty("keyboardLent", false);
            if (!comesBack)
                raiseFieldEvent(field, control->window, id, EventType::Focus);
        } else if (event->type() == QEvent::KeyPress && control->kind == ControlKind::Combo) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter)
                raiseFieldEvent(field, control->window, id, EventType::ReturnKey);
        }
        return false;
    }
};

FieldEvents* fieldEvents()
{
    static FieldEvents* filter = new FieldEvents;
    return filter;
}

void tag(QWidget* widget, int id) { widget->setProperty("controlId", id); }

QWidget* createEdit(ControlRecord& control)
{
    auto* edit = new QLineEdit(parentWidgetFor(control.window, control.parentControl));
    tag(edit, control.id);
    if (control.lazy->digitsOnly)
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    edit->setText(qs(control.lazy->text));
    edit->setCursorPosition(control.lazy->caret);
    const int window = control.window, id = control.id;
    QObject::connect(edit, &QLineEdit::textEdited, edit,
                     [edit, window, id] { raiseFieldEvent(edit, window, id, EventType::Change); });
    QObject::connect(edit, &QLineEdit::returnPressed, edit,
                     [edit, window, id] { raiseFieldEvent(edit, window, id, EventType::ReturnKey); });
    edit->installEventFilter(fieldEvents());
    letWheelPass(edit);
    return edit;
}

QWidget* createCombo(ControlRecord& control)
{
    auto* combo = new QComboBox(parentWidgetFor(control.window, control.parentControl));
    tag(combo, control.id);
    combo->setMaxVisibleItems(20);
    for (const auto& [text, data] : control.lazy->items)
        combo->addItem(qs(text), QVariant::fromValue<qlonglong>(data));
    combo->setCurrentIndex(control.lazy->selection);
    // Qt would also focus a list under a turning wheel; a click or the keyboard focuses it here.
    combo->setFocusPolicy(Qt::StrongFocus);
    const int window = control.window, id = control.id;
    QObject::connect(combo, qOverload<int>(&QComboBox::activated), combo,
                     [combo, window, id] { raiseFieldEvent(combo, window, id, EventType::Change); });
    combo->installEventFilter(fieldEvents());
    letWheelPass(combo);
    return combo;
}

QComboBox* comboWidget(ControlRecord* c) { return c ? qobject_cast<QComboBox*>(c->widget.data()) : nullptr; }
QLineEdit* editWidget(ControlRecord* c) { return c ? qobject_cast<QLineEdit*>(c->widget.data()) : nullptr; }
}  // namespace

QWidget* parentWidgetFor(int window, int parentControl)
{
    if (auto* parent = findControl(parentControl)) {
        if (auto* view = qobject_cast<QAbstractItemView*>(parent->widget.data()))
            return view->viewport();
        return parent->widget;
    }
    auto* record = findWindow(window);
    return record ? record->client.data() : nullptr;
}

ControlRecord& addControl(int window, int id, ControlKind kind, Rect r, QWidget* widget, int parentControl)
{
    destroyControl(id);
    ControlRecord& control = controls()[id];
    control.id = id;
    control.window = window;
    control.kind = kind;
    control.rect = r;
    control.parentControl = parentControl;
    control.widget = widget;
    if (widget) {
        tag(widget, id);
        widget->setGeometry(r.x, r.y, r.w, r.h);
        widget->show();
    }
    return control;
}

QWidget* materialise(ControlRecord& control)
{
    if (control.widget || !control.lazy)
        return control.widget;
    QWidget* widget = control.kind == ControlKind::Edit ? createEdit(control) : createCombo(control);
    control.widget = widget;
    widget->setGeometry(control.rect.x, control.rect.y, control.rect.w, control.rect.h);
    widget->setEnabled(control.enabled);
    applyVisibility(control);
    return widget;
}

namespace {
// A control inside another one (an editor over a table cell) gives the focus back to that one as
// it hides, so that keys, and the focus Qt restores after a menu or a dialog, never reach it hidden.
// (Qt would leave the focus on it and step the table's current cell instead.) A window's own
// controls pass the focus on along the tab order, as Qt does.
void releaseFocus(const ControlRecord& control)
{
    auto* container = findControl(control.parentControl);
    QWidget* focused = control.widget->window()->focusWidget();
    if (!container || !focused || (focused != control.widget && !control.widget->isAncestorOf(focused)))
        return;
    if (container->widget)
        container->widget->setFocus(Qt::OtherFocusReason);
    if (control.widget->window()->focusWidget() == focused)
        focused->clearFocus();
}
}  // namespace

void applyVisibility(ControlRecord& control)
{
    if (!control.widget)
        return;
    bool shown = control.visible;
    if (control.tabPanel >= 0)
        if (auto* panel = findControl(control.tabPanel))
            if (auto* tabs = qobject_cast<QTabWidget*>(panel->widget.data()))
                shown = shown && tabs->currentIndex() == control.tabPage;
    if (!shown)
        releaseFocus(control);
    control.widget->setVisible(shown);
    if (shown)
        control.widget->raise();
}

void forgetWindowControls(int window)
{
    auto& all = controls();
    for (auto it = all.begin(); it != all.end();)
        it = it->second.window == window ? all.erase(it) : std::next(it);
}

}  // namespace detail

using namespace detail;

void button(int window, int id, Rect r, std::string_view text)
{
    auto* widget = new QPushButton(qs(text), parentWidgetFor(window, -1));
    widget->setAutoDefault(false);
    addControl(window, id, ControlKind::Button, r, widget);
    QObject::connect(widget, &QPushButton::clicked, widget, [window, id] { raiseControlEvent(window, id, EventType::Click); });
}

namespace detail {
Qt::Alignment alignmentOf(Align align)
{
    return align == Align::Centre ? Qt::AlignHCenter : align == Align::Right ? Qt::AlignRight : Qt::AlignLeft;
}
}  // namespace detail

void label(int window, int id, Rect r, std::string_view text, Align align, Rgb background)
{
    auto* widget = new QLabel(qs(text), parentWidgetFor(window, -1));
    widget->setAlignment(alignmentOf(align) | Qt::AlignVCenter);
    if (!background.isNone) {
        widget->setAutoFillBackground(true);
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Window, QColor(background.r, background.g, background.b));
        widget->setPalette(palette);
    }
    addControl(window, id, ControlKind::Label, r, widget);
}

void picture(int window, int id, Rect r, const std::uint8_t* rgba, int width, int height)
{
    auto* widget = new QLabel(parentWidgetFor(window, -1));
    if (rgba && width > 0 && height > 0)
        widget->setPixmap(QPixmap::fromImage(QImage(rgba, width, height, width * 4, QImage::Format_RGBA8888).copy()));
    addControl(window, id, ControlKind::Picture, r, widget);
}

void frame(int window, int id, Rect r, std::string_view caption)
{
    auto* widget = new QGroupBox(qs(caption), parentWidgetFor(window, -1));
    addControl(window, id, ControlKind::Frame, r, widget);
    widget->lower();
}

void checkBox(int window, int id, Rect r, std::string_view text)
{
    auto* widget = new QCheckBox(qs(text), parentWidgetFor(window, -1));
    addControl(window, id, ControlKind::CheckBox, r, widget);
    QObject::connect(widget, &QCheckBox::clicked, widget, [window, id] { raiseControlEvent(window, id, EventType::Click); });
}

void comboBox(int window, int id, Rect r, int parentControl)
{
    ControlRecord& control = addControl(window, id, ControlKind::Combo, r, nullptr, parentControl);
    control.lazy = std::make_unique<LazyState>();
    if (parentControl < 0)
        materialise(control);
}

void editField(int window, int id, Rect r, int parentControl, bool digitsOnly)
{
    ControlRecord& control = addControl(window, id, ControlKind::Edit, r, nullptr, parentControl);
    control.lazy = std::make_unique<LazyState>();
    control.lazy->digitsOnly = digitsOnly;
    if (parentControl < 0)
        materialise(control);
}

void spinner(int window, int id, Rect r, int minimum, int maximum)
{
    auto* widget = new QSpinBox(parentWidgetFor(window, -1));
    widget->setRange(minimum, maximum);
    // A spinner takes the keyboard from a click or the tab key, never from a passing wheel.
    widget->setFocusPolicy(Qt::StrongFocus);
    letWheelPass(widget);
    addControl(window, id, ControlKind::Spinner, r, widget);
    // Programmatic changes are made under a signal blocker, so this reports only the user's.
    QObject::connect(widget, qOverload<int>(&QSpinBox::valueChanged), widget,
                     [window, id] { raiseControlEvent(window, id, EventType::Change); });
}

void textArea(int window, int id, Rect r, bool wordWrap)
{
    auto* widget = new QPlainTextEdit(parentWidgetFor(window, -1));
    widget->setReadOnly(true);
    widget->setLineWrapMode(wordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    // A trace grows by several lines per register; the oldest lines go after this many.
    widget->setMaximumBlockCount(100000);
    addControl(window, id, ControlKind::TextArea, r, widget);
}

void tabPanel(int window, int id, Rect r, const std::vector<std::string>& tabs)
{
    auto* widget = new QTabWidget(parentWidgetFor(window, -1));
    // The controls of a page are laid over the panel from its top edge, so the tabs go below them.
    widget->setTabPosition(QTabWidget::South);
    for (const auto& caption : tabs)
        widget->addTab(new QWidget, qs(caption));
    addControl(window, id, ControlKind::TabPanel, r, widget);
    widget->lower();
    QObject::connect(widget, &QTabWidget::currentChanged, widget, [id] {
        for (auto& [number, control] : controls())
            if (control.tabPanel == id)
                applyVisibility(control);
    });
}

void placeOnTab(int tabPanelId, int page, int id)
{
    if (auto* control = findControl(id)) {
        control->tabPanel = tabPanelId;
        control->tabPage = page;
        applyVisibility(*control);
    }
}

void splitter(int window, int id, Rect r, int leftControl, int rightControl)
{
    auto* widget = new QSplitter(Qt::Horizontal, parentWidgetFor(window, -1));
    widget->setChildrenCollapsible(false);
    for (int child : {leftControl, rightControl})
        if (auto* control = findControl(child); control && control->widget)
            widget->addWidget(control->widget);
    // The left part keeps its width as the splitter grows or shrinks; the right one takes the rest.
    // Sharing the change out in proportion would move a divider nobody touched.
    widget->setStretchFactor(0, 0);
    widget->setStretchFactor(1, 1);
    addControl(window, id, ControlKind::Splitter, r, widget);
}

bool controlExists(int id) { return findControl(id) != nullptr; }

void destroyControl(int id)
{
    auto* control = findControl(id);
    if (!control)
        return;
    dropPendingLines(id);
    QWidget* widget = control->widget;
    controls().erase(id);
    delete widget;
}

void moveControl(int id, Rect r)
{
    if (auto* control = findControl(id)) {
        control->rect = r;
        if (control->widget)
            control->widget->setGeometry(r.x, r.y, r.w, r.h);
    }
}

Rect controlRect(int id)
{
    auto* control = findControl(id);
    if (!control)
        return {};
    if (control->widget) {
        const QRect g = control->widget->geometry();
        return {g.x(), g.y(), g.width(), g.height()};
    }
    return control->rect;
}

void showControl(int id, bool show)
{
    auto* control = findControl(id);
    if (!control)
        return;
    control->visible = show;
    if (show)
        materialise(*control);
    applyVisibility(*control);
}

bool controlVisible(int id)
{
    auto* control = findControl(id);
    return control && control->visible;
}

void enableControl(int id, bool enabled)
{
    if (auto* control = findControl(id)) {
        control->enabled = enabled;
        if (control->widget)
            control->widget->setEnabled(enabled);
    }
}

bool controlEnabled(int id)
{
    auto* control = findControl(id);
    return control && control->enabled;
}

void setText(int id, std::string_view text)
{
    auto* control = findControl(id);
    if (!control)
        return;
    const QString value = qs(text);
    if (control->kind == ControlKind::Edit && !control->widget) {
        control->lazy->text = std::string(text);
        control->lazy->caret = static_cast<int>(value.size());
        return;
    }
    QWidget* w = control->widget;
    const QSignalBlocker block(w);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->setText(value);
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->setText(value);
    else if (auto* labelWidget = qobject_cast<QLabel*>(w))
        labelWidget->setText(value);
    else if (auto* area = qobject_cast<QPlainTextEdit*>(w)) {
        dropPendingLines(id);
        area->setPlainText(value);
        area->setProperty("hasLines", !value.isEmpty());
    }
    else if (auto* group = qobject_cast<QGroupBox*>(w))
        group->setTitle(value);
    else if (auto* spin = qobject_cast<QSpinBox*>(w))
        spin->setValue(value.toInt());
}

std::string text(int id)
{
    auto* control = findControl(id);
    if (!control)
        return {};
    flushPendingLines(id);
    if (control->lazy && !control->widget) {
        if (control->kind == ControlKind::Edit)
            return control->lazy->text;
        const int s = control->lazy->selection;
        return s >= 0 && s < static_cast<int>(control->lazy->items.size()) ? control->lazy->items[static_cast<std::size_t>(s)].first
                                                                          : std::string();
    }
    QWidget* w = control->widget;
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return str(edit->text());
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return combo->currentIndex() < 0 ? std::string() : str(combo->currentText());
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return str(button->text());
    if (auto* labelWidget = qobject_cast<QLabel*>(w))
        return str(labelWidget->text());
    if (auto* area = qobject_cast<QPlainTextEdit*>(w))
        return str(area->toPlainText());
    if (auto* group = qobject_cast<QGroupBox*>(w))
        return str(group->title());
    if (auto* spin = qobject_cast<QSpinBox*>(w))
        return str(spin->text());
    return {};
}

void setFont(int id, std::string_view family, int points)
{
    auto* control = findControl(id);
    if (!control || !control->widget)
        return;
    QFont font = control->widget->font();
    if (QFontDatabase::families().contains(qs(family)))
        font.setFamily(qs(family));
    font.setPointSize(points);
    control->widget->setFont(font);
}

void setFocus(int id)
{
    if (auto* control = findControl(id))
        if (QWidget* w = materialise(*control)) {
            w->setFocus();
            // Typing replaces the whole text of a field the program hands the keyboard to.
            if (auto* edit = qobject_cast<QLineEdit*>(w))
                edit->selectAll();
        }
}

void repaintControl(int id)
{
    if (auto* control = findControl(id); control && control->widget)
        control->widget->update();
}

void setState(int id, int value)
{
    auto* control = findControl(id);
    if (!control)
        return;
    if (control->kind == ControlKind::Combo && !control->widget) {
        control->lazy->selection = value >= 0 && value < static_cast<int>(control->lazy->items.size()) ? value : -1;
        return;
    }
    QWidget* w = control->widget;
    const QSignalBlocker block(w);
    if (auto* combo = qobject_cast<QComboBox*>(w))
        combo->setCurrentIndex(value);
    else if (auto* box = qobject_cast<QCheckBox*>(w))
        box->setChecked(value != 0);
    else if (auto* spin = qobject_cast<QSpinBox*>(w))
        spin->setValue(value);
    else if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
        tabs->setCurrentIndex(value);
        for (auto& [number, c] : controls())
            if (c.tabPanel == id)
                applyVisibility(c);
    }
}

int state(int id)
{
    auto* control = findControl(id);
    if (!control)
        return 0;
    if (control->kind == ControlKind::Combo && !control->widget)
        return control->lazy->selection;
    QWidget* w = control->widget;
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return combo->currentIndex();
    if (auto* box = qobject_cast<QCheckBox*>(w))
        return box->isChecked() ? 1 : 0;
    if (auto* spin = qobject_cast<QSpinBox*>(w))
        return spin->value();
    if (auto* tabs = qobject_cast<QTabWidget*>(w))
        return tabs->currentIndex();
    return 0;
}

void clearItems(int id)
{
    auto* control = findControl(id);
    if (!control)
        return;
    if (auto* combo = comboWidget(control)) {
        const QSignalBlocker block(combo);
        combo->clear();
    } else if (control->lazy) {
        control->lazy->items.clear();
        control->lazy->selection = -1;
    }
}

void addItem(int id, std::string_view itemText, long data)
{
    auto* control = findControl(id);
    if (!control)
        return;
    if (auto* combo = comboWidget(control)) {
        const QSignalBlocker block(combo);
        combo->addItem(qs(itemText), QVariant::fromValue<qlonglong>(data));
        if (combo->count() == 1)
            combo->setCurrentIndex(-1);  // a list starts without a selection
    } else if (control->lazy) {
        control->lazy->items.emplace_back(std::string(itemText), data);
    }
}

int itemCount(int id)
{
    auto* control = findControl(id);
    if (auto* combo = comboWidget(control))
        return combo->count();
    return control && control->lazy ? static_cast<int>(control->lazy->items.size()) : 0;
}

std::string itemText(int id, int position)
{
    auto* control = findControl(id);
    if (auto* combo = comboWidget(control))
        return str(combo->itemText(position));
    if (control && control->lazy && position >= 0 && position < static_cast<int>(control->lazy->items.size()))
        return control->lazy->items[static_cast<std::size_t>(position)].first;
    return {};
}

long itemData(int id, int position)
{
    auto* control = findControl(id);
    if (auto* combo = comboWidget(control))
        return position >= 0 && position < combo->count() ? static_cast<long>(combo->itemData(position).toLongLong()) : 0;
    if (control && control->lazy && position >= 0 && position < static_cast<int>(control->lazy->items.size()))
        return control->lazy->items[static_cast<std::size_t>(position)].second;
    return 0;
}

int caretPosition(int id)
{
    auto* control = findControl(id);
    if (auto* edit = editWidget(control))
        return edit->selectionStart() >= 0 ? edit->selectionStart() : edit->cursorPosition();
    return control && control->lazy ? control->lazy->caret : 0;
}

void setCaretPosition(int id, int position)
{
    auto* control = findControl(id);
    if (auto* edit = editWidget(control))
        edit->setCursorPosition(position);
    else if (control && control->lazy)
        control->lazy->caret = position;
}

void setSplitterPosition(int id, int position)
{
    auto* control = findControl(id);
    auto* split = control ? qobject_cast<QSplitter*>(control->widget.data()) : nullptr;
    if (!split || split->count() < 2)
        return;
    const int total = std::max(split->width() - split->handleWidth(), position + 1);
    split->setSizes({position, total - position});
}

int splitterPosition(int id)
{
    auto* control = findControl(id);
    auto* split = control ? qobject_cast<QSplitter*>(control->widget.data()) : nullptr;
    if (!split || split->count() < 2)
        return 0;
    return split->sizes().value(0);
}

QWidget* widgetOf(int id)
{
    auto* control = findControl(id);
    return control ? materialise(*control) : nullptr;
}

}  // namespace gui
