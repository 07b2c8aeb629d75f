#pragma once
// Internal: the parameter table's cells, held as plain data so that a refill of hundreds of rows
// costs one model update, and the view over them whose mouse and scroll handling reaches the
// table hook after the view's own.

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QPointer>
#include <QTableView>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/gui/gui.h"

namespace gui::detail {

class TableModel : public QAbstractTableModel {
public:
    static constexpr int maxColumns = 16;
    struct Row {
        std::array<QString, maxColumns> texts;
        std::array<Rgb, maxColumns> colours;
        bool checked = false;
    };

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void setHeadings(const std::vector<QString>& headings);
    // Headings are given as they fit the sections of this header (which repaints a section whose
    // width changes, asking for its heading again).
    void setHeader(QHeaderView* header) { header_ = header; }
    void clearRows();
    int appendRow();
    // Rows appended and cells changed since the last flush reach the view in one step.
    void flush();
    Row* row(int r);
    void cellChanged(int r, int column);

private:
    QString fittedHeading(int section) const;
    std::vector<QString> headings_;
    QPointer<QHeaderView> header_;
    std::vector<Row> rows_;
    int shownRows_ = 0;  // rows the view knows of
    int changedFirst_ = -1, changedLast_ = -1;  // rows with cells changed since the last flush
    bool flushQueued_ = false;
    void queueFlush();
};

class TableView : public QTableView {
public:
    explicit TableView(QWidget* parent);
    TableModel* model() const { return model_; }
    std::function<void(const TableMessage&)> hook;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyboardSearch(const QString& search) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent* event) const override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles = {}) override;

private:
    void notify(TableMessage::Kind kind, QPoint viewportPos, QPoint globalPos);
    TableModel* model_;
};

}  // namespace gui::detail
