#include "app/table_model.h"

#include "app/error_display.h"

#include <QItemSelectionModel>
#include <QScopedValueRollback>
#include <QTableView>

#include <algorithm>
#include <memory>

namespace nfp {

TableModel::TableModel(MemoryTable& table, std::vector<ModelColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), table_(table), columns_(std::move(columns))
{
    for (const auto& c : columns_)
        fieldIndexes_.push_back(table_.FieldIndex(c.field));
    shownRows_ = table_.VisibleRowCount();
    subscription_ = table_.Subscribe([this](const TableEvent& e) { onTableEvent(e); });
}

TableModel::~TableModel()
{
    table_.Unsubscribe(subscription_);
}

int TableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shownRows_;
}

int TableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant TableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= table_.VisibleRowCount())
        return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    const int field = fieldIndexes_.at(static_cast<std::size_t>(index.column()));
    return QString::fromStdString(table_.TextAt(index.row(), field));
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return columns_.at(static_cast<std::size_t>(section)).title;
    if (section != table_.CurrentRow())
        return QString();
    // The indicator: an arrow on the current row, a star on a row being added.
    return table_.State() == TableState::Append ? QStringLiteral("*") : QStringLiteral("\u25B8");
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

int TableModel::columnOf(const std::string& field) const
{
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].field == field)
            return static_cast<int>(i);
    return -1;
}

void TableModel::moveTo(int row)
{
    if (row < 0 || row >= table_.RecordCount() || row == table_.CurrentRow())
        return;
    // The table moves one row at a time.
    if (row < table_.CurrentRow() || table_.CurrentRow() < 0)
        table_.First();
    while (table_.CurrentRow() < row && !table_.Eof())
        table_.Next();
}

// A row added, removed or changed is told as such, so that the grid lays
// out only what changed: a send run adds and removes a row per file.
void TableModel::onTableEvent(const TableEvent& event)
{
    // While rows come and go the grid moves its own current row; that is
    // not the user choosing one.
    const QScopedValueRollback<bool> changing(changing_, true);
    const int visible = table_.VisibleRowCount();
    const auto indicatorChanged = [this] {
        if (shownRows_ > 0)
            emit headerDataChanged(Qt::Vertical, 0, shownRows_ - 1);
    };
    if (event.change == TableChange::Append && visible == shownRows_ + 1 && event.row == shownRows_) {
        beginInsertRows({}, event.row, event.row);
        shownRows_ = visible;
        endInsertRows();
        indicatorChanged();
    } else if ((event.change == TableChange::Delete || event.change == TableChange::Cancel) &&
               visible == shownRows_ - 1 && event.row >= 0 && event.row < shownRows_) {
        beginRemoveRows({}, event.row, event.row);
        shownRows_ = visible;
        endRemoveRows();
        indicatorChanged();
    } else if ((event.change == TableChange::FieldChange || event.change == TableChange::Post ||
                event.change == TableChange::Cancel) &&
               visible == shownRows_ && event.row >= 0 && event.row < visible) {
        // A stored row may have moved to its place in the order: the rows
        // between where it was and where it is now all changed.
        const int from = event.previousRow >= 0 && event.previousRow < visible ? event.previousRow : event.row;
        emit dataChanged(index(std::min(from, event.row), 0), index(std::max(from, event.row), columnCount() - 1));
        indicatorChanged();
    } else if (event.change == TableChange::Move && visible == shownRows_) {
        indicatorChanged();
    } else {
        beginResetModel();
        shownRows_ = visible;
        endResetModel();
    }
    emit currentRowChanged(table_.CurrentRow());
}

void BindGridToModel(QTableView* grid, TableModel* model)
{
    grid->setModel(model);
    auto syncing = std::make_shared<bool>(false);
    auto showCurrent = [grid, model, syncing](int row) {
        if (*syncing)
            return;
        if (row >= 0 && row < model->rowCount()) {
            const QModelIndex idx = model->index(row, 0);
            // Most table events leave the current row where it was: laying
            // the grid out again for each would cost more than the event.
            QItemSelectionModel* selection = grid->selectionModel();
            if (selection->currentIndex() == idx && selection->isRowSelected(row, {}))
                return;
            *syncing = true;
            selection->setCurrentIndex(
                idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            if (grid->isVisible())
                grid->scrollTo(idx);
        } else {
            *syncing = true;
            grid->selectionModel()->clearSelection();
        }
        *syncing = false;
    };
    QObject::connect(model, &TableModel::currentRowChanged, grid, showCurrent);
    QObject::connect(model, &QAbstractItemModel::modelReset, grid,
                     [model, showCurrent] { showCurrent(model->table().CurrentRow()); });
    QObject::connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, grid,
                     [model, syncing](const QModelIndex& current, const QModelIndex&) {
                         if (*syncing || !current.isValid() || model->isChanging())
                             return;
                         *syncing = true;
                         RunGuarded([&] { model->moveTo(current.row()); });
                         *syncing = false;
                     });
    showCurrent(model->table().CurrentRow());
}

} // namespace nfp
