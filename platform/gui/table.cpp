#include <algorithm>

#include <QCursor>
#include <QHeaderView>
#include <QMouseEvent>
#include <QStyleOptionHeader>
#include <QWheelEvent>

#include "platform/gui/registry.h"
#include "platform/gui/single_selection.h"
#include "platform/gui/table_model.h"

namespace gui {
namespace detail {

int TableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shownRows_; }
int TableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(headings_.size());
}

QVariant TableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= shownRows_ || index.column() >= maxColumns)
        return {};
    const Row& r = rows_[static_cast<std::size_t>(index.row())];
    const auto column = static_cast<std::size_t>(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return r.texts[column];
    case Qt::BackgroundRole:
        if (!r.colours[column].isNone)
            return QColor(r.colours[column].r, r.colours[column].g, r.colours[column].b);
        return {};
    case Qt::CheckStateRole:
        if (column == 0)
            return r.checked ? Qt::Checked : Qt::Unchecked;
        return {};
    default:
        return {};
    }
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < static_cast<int>(headings_.size()))
        return fittedHeading(section);
    return {};
}

// The header centres its text and clips it at both ends; a heading wider than its column is
// shortened at the right with "…" instead, so its beginning stays readable.
QString TableModel::fittedHeading(int section) const
{
    const QString& heading = headings_[static_cast<std::size_t>(section)];
    if (!header_)
        return heading;
    QStyleOptionHeader option;
    option.initFrom(header_);
    option.rect = QRect(0, 0, header_->sectionSize(section), header_->height());
    const QRect label = header_->style()->subElementRect(QStyle::SE_HeaderLabel, &option, header_);
    return header_->fontMetrics().elidedText(heading, Qt::ElideRight, label.width());
}

// Check marks are toggled by the view's own click handling, not by the item machinery.
Qt::ItemFlags TableModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void TableModel::setHeadings(const std::vector<QString>& headings)
{
    beginResetModel();
    headings_ = headings;
    endResetModel();
}

void TableModel::clearRows()
{
    beginResetModel();
    rows_.clear();
    shownRows_ = 0;
    changedFirst_ = changedLast_ = -1;
    endResetModel();
}

int TableModel::appendRow()
{
    queueFlush();
    rows_.emplace_back();
    return static_cast<int>(rows_.size()) - 1;
}

void TableModel::queueFlush()
{
    if (flushQueued_)
        return;
    flushQueued_ = true;
    QMetaObject::invokeMethod(this, [this] { flush(); }, Qt::QueuedConnection);
}

void TableModel::flush()
{
    flushQueued_ = false;
    const int total = static_cast<int>(rows_.size());
    if (total != shownRows_) {
        beginInsertRows({}, shownRows_, total - 1);
        shownRows_ = total;
        endInsertRows();
    }
    if (changedFirst_ >= 0) {
        const int last = std::min(changedLast_, shownRows_ - 1);
        if (changedFirst_ <= last)
            emit dataChanged(index(changedFirst_, 0), index(last, columnCount() - 1));
        changedFirst_ = changedLast_ = -1;
    }
}

TableModel::Row* TableModel::row(int r)
{
    return r >= 0 && r < static_cast<int>(rows_.size()) ? &rows_[static_cast<std::size_t>(r)] : nullptr;
}

// Cells change row by row during a long command; the view hears of them once per flush.
void TableModel::cellChanged(int r, int)
{
    if (r >= shownRows_)
        return;
    changedFirst_ = changedFirst_ < 0 ? r : std::min(changedFirst_, r);
    changedLast_ = std::max(changedLast_, r);
    queueFlush();
}

TableView::TableView(QWidget* parent) : QTableView(parent), model_(new TableModel)
{
    model_->setParent(this);
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    model_->setHeader(horizontalHeader());
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] {
        const QPoint global = QCursor::pos();
        notify(TableMessage::HeaderResize, viewport()->mapFromGlobal(global), global);
    });
}

void TableView::notify(TableMessage::Kind kind, QPoint viewportPos, QPoint globalPos)
{
    if (hook)
        hook({kind, viewportPos.x(), viewportPos.y(), globalPos.x(), globalPos.y()});
}

void TableView::mousePressEvent(QMouseEvent* event)
{
    // Qt scrolls a clicked cell into view half a second later; that scroll would move the table
    // sideways and hide the editor just placed over the cell. Keyboard moves still scroll.
    const bool autoScrolls = hasAutoScroll();
    setAutoScroll(false);
    QTableView::mousePressEvent(event);
    setAutoScroll(autoScrolls);
    const QPoint pos = event->position().toPoint();
    const QPoint global = event->globalPosition().toPoint();
    if (event->button() == Qt::LeftButton) {
        const int r = rowAt(pos.y());
        if (r >= 0 && columnAt(pos.x()) == 0)
            if (auto* data = model_->row(r)) {
                data->checked = !data->checked;
                model_->cellChanged(r, 0);
            }
        notify(TableMessage::LeftButton, pos, global);
    } else if (event->button() == Qt::RightButton) {
        notify(TableMessage::RightButton, pos, global);
    }
}

// The program works on the row last clicked; the highlight moves with clicks and arrow keys only.
// A drag with a button held would move it to another row unseen by the program.
void TableView::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() == Qt::NoButton)
        QTableView::mouseMoveEvent(event);
}

// The second press of a double click is no click of its own, as with both presses on one cell:
// a check box toggles once even when the first click refilled the table under the cursor.
void TableView::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

// Typed letters never jump to a row whose text starts with them (they belong to an editor).
void TableView::keyboardSearch(const QString&) {}

QItemSelectionModel::SelectionFlags TableView::selectionCommand(const QModelIndex& index, const QEvent* event) const
{
    return neverDeselecting(index, QTableView::selectionCommand(index, event));
}

void TableView::wheelEvent(QWheelEvent* event)
{
    QTableView::wheelEvent(event);
    notify(TableMessage::Wheel, event->position().toPoint(), event->globalPosition().toPoint());
}

void TableView::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    const QPoint global = QCursor::pos();
    notify(TableMessage::Scroll, viewport()->mapFromGlobal(global), global);
}

// A long command changes rows far from the ones on screen; the view reads those afresh when they
// scroll in, so only changes on screen are worth a repaint.
void TableView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles)
{
    const int firstShown = rowAt(0);
    if (firstShown >= 0) {
        const int lastShown = rowAt(viewport()->height() - 1);
        if (bottomRight.row() < firstShown || (lastShown >= 0 && topLeft.row() > lastShown))
            return;
    }
    QTableView::dataChanged(topLeft, bottomRight, roles);
}

}  // namespace detail

using namespace detail;

namespace {
TableView* tableView(int id)
{
    auto* control = findControl(id);
    return control ? dynamic_cast<TableView*>(control->widget.data()) : nullptr;
}
}  // namespace

void table(int window, int id, Rect r)
{
    auto* widget = new TableView(parentWidgetFor(window, -1));
    addControl(window, id, ControlKind::Table, r, widget);
}

void tableSetColumns(int id, const std::vector<std::pair<std::string, int>>& headingsAndWidths)
{
    auto* view = tableView(id);
    if (!view)
        return;
    std::vector<QString> headings;
    for (const auto& [heading, width] : headingsAndWidths)
        headings.push_back(qs(heading));
    view->model()->setHeadings(headings);
    for (std::size_t c = 0; c < headingsAndWidths.size(); ++c)
        view->setColumnWidth(static_cast<int>(c), headingsAndWidths[c].second);
}

int tableColumnWidth(int id, int column)
{
    auto* view = tableView(id);
    return view ? view->columnWidth(column) : 0;
}

void tableClearRows(int id)
{
    if (auto* view = tableView(id))
        view->model()->clearRows();
}

int tableAppendRow(int id)
{
    auto* view = tableView(id);
    return view ? view->model()->appendRow() : -1;
}

int tableRowCount(int id)
{
    auto* view = tableView(id);
    if (!view)
        return 0;
    view->model()->flush();
    return view->model()->rowCount();
}

void setCellText(int id, int row, int column, std::string_view text)
{
    auto* view = tableView(id);
    auto* data = view ? view->model()->row(row) : nullptr;
    if (!data || column < 0 || column >= TableModel::maxColumns)
        return;
    data->texts[static_cast<std::size_t>(column)] = qs(text);
    view->model()->cellChanged(row, column);
}

std::string cellText(int id, int row, int column)
{
    auto* view = tableView(id);
    auto* data = view ? view->model()->row(row) : nullptr;
    if (!data || column < 0 || column >= TableModel::maxColumns)
        return {};
    return str(data->texts[static_cast<std::size_t>(column)]);
}

void setCellColour(int id, int row, int column, Rgb background)
{
    auto* view = tableView(id);
    auto* data = view ? view->model()->row(row) : nullptr;
    if (!data || column < 0 || column >= TableModel::maxColumns)
        return;
    data->colours[static_cast<std::size_t>(column)] = background;
    view->model()->cellChanged(row, column);
}

Rgb cellColour(int id, int row, int column)
{
    auto* view = tableView(id);
    auto* data = view ? view->model()->row(row) : nullptr;
    if (!data || column < 0 || column >= TableModel::maxColumns)
        return Rgb::none();
    return data->colours[static_cast<std::size_t>(column)];
}

void setRowChecked(int id, int row, bool checked)
{
    auto* view = tableView(id);
    if (auto* data = view ? view->model()->row(row) : nullptr) {
        data->checked = checked;
        view->model()->cellChanged(row, 0);
    }
}

bool rowChecked(int id, int row)
{
    auto* view = tableView(id);
    auto* data = view ? view->model()->row(row) : nullptr;
    return data && data->checked;
}

Rect tableCellRect(int id, int row, int column)
{
    auto* view = tableView(id);
    if (!view)
        return {};
    view->model()->flush();
    const QRect r = view->visualRect(view->model()->index(row, column));
    return {r.x(), r.y(), r.width(), r.height()};
}

std::pair<int, int> tableHitTest(int id, int x, int y)
{
    auto* view = tableView(id);
    if (!view)
        return {-1, -1};
    view->model()->flush();
    return {view->rowAt(y), view->columnAt(x)};
}

void tableSelectRow(int id, int row)
{
    if (auto* view = tableView(id)) {
        view->model()->flush();
        view->selectRow(row);
    }
}

void setTableHook(int id, std::function<void(const TableMessage&)> hook)
{
    if (auto* view = tableView(id))
        view->hook = std::move(hook);
}

}  // namespace gui
