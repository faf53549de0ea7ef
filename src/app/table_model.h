#pragma once
// A read-only Qt model over one in-memory table, for its grid: the chosen
// fields as columns, the row indicator in the vertical header, and the
// table's current row kept in step with the grid's.
#include "util/memory_table.h"

#include <QAbstractTableModel>

#include <string>
#include <vector>

class QTableView;

namespace nfp {

struct ModelColumn {
    std::string field;
    QString title;
};

class TableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    TableModel(MemoryTable& table, std::vector<ModelColumn> columns, QObject* parent);
    ~TableModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    MemoryTable& table() const { return table_; }
    const std::string& fieldOf(int column) const { return columns_.at(static_cast<std::size_t>(column)).field; }
    int columnOf(const std::string& field) const;

    // Moves the table's current row to `row` (a click in the grid).
    void moveTo(int row);
    // True while a change of the table is being passed on to the grid.
    bool isChanging() const { return changing_; }

signals:
    // The table's current row, after any change; -1 when there is none.
    void currentRowChanged(int row);

private:
    void onTableEvent(const TableEvent& event);

    MemoryTable& table_;
    std::vector<ModelColumn> columns_;
    std::vector<int> fieldIndexes_;
    MemoryTable::SubscriptionId subscription_ = 0;
    int shownRows_ = 0;
    bool changing_ = false;
};

// Connects a grid view and its model both ways: the grid's selection follows
// the table's current row, and choosing a row in the grid moves the table.
// A hidden grid is not scrolled: Qt scrolls it to its current row when it
// is shown.
void BindGridToModel(QTableView* grid, TableModel* model);

} // namespace nfp
