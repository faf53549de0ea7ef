#include "app/table_model.h"

#include "app/error_display.h"

#include <QItemSelectionModel>
#include <QTableView>

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

void TableModel::onTableEvent(const TableEvent& event)
{
    const int visible = table_.VisibleRowCount();
    if (event.change == TableChange::FieldChange && visible == shownRows_ && event.row >= 0 && event.row < visible) {
        emit dataChanged(index(event.row, 0), index(event.row, columnCount() - 1));
    } else if (event.change == TableChange::Move && visible == shownRows_) {
        if (shownRows_ > 0)
            emit headerDataChanged(Qt::Vertical, 0, shownRows_ - 1);
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
        *syncing = true;
        if (row >= 0 && row < model->rowCount()) {
            const QModelIndex idx = model->index(row, 0);
            grid->selectionModel()->setCurrentIndex(
                idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            grid->scrollTo(idx);
        } else {
            grid->selectionModel()->clearSelection();
        }
        *syncing = false;
    };
    QObject::connect(model, &TableModel::currentRowChanged, grid, showCurrent);
    QObject::connect(model, &QAbstractItemModel::modelReset, grid,
                     [model, showCurrent] { showCurrent(model->table().CurrentRow()); });
    QObject::connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, grid,
                     [model, syncing](const QModelIndex& current, const QModelIndex&) {
                         if (*syncing || !current.isValid())
                             return;
                         *syncing = true;
                         RunGuarded([&] { model->moveTo(current.row()); });
                         *syncing = false;
                     });
    showCurrent(model->table().CurrentRow());
}

} // namespace nfp
