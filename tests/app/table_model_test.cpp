// The grid over an in-memory table: rows added, stored in their sorted
// place, cancelled and deleted reach the grid as such, and the grid's
// selection stays on the table's current row.
#include "app/data_grid.h"
#include "app/table_model.h"

#include <QApplication>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace nfp::test {
namespace {

class TableModelTest : public ::testing::Test {
protected:
    MemoryTable table{TableLayout{"CDS_Teste", {{"Nome", FieldType::Text, 10}}, std::string("Nome")}};
    DataGrid grid{nullptr};
    TableModel* model = new TableModel(table, {{"Nome", QStringLiteral("Nome")}}, &grid);

    TableModelTest() { BindGridToModel(&grid, model); }

    void Add(const char* name)
    {
        table.Append();
        table.SetField("Nome", name);
        table.Post();
    }

    // The grid shows the table's rows and its current row, selected.
    void ExpectGridFollowsTable(const std::string& step)
    {
        ASSERT_EQ(model->rowCount(), table.VisibleRowCount()) << step;
        for (int r = 0; r < table.VisibleRowCount(); ++r)
            EXPECT_EQ(model->index(r, 0).data().toString().toStdString(), table.TextAt(r, 0)) << step << " row " << r;
        const int current = table.CurrentRow();
        if (current >= 0) {
            EXPECT_EQ(grid.selectionModel()->currentIndex().row(), current) << step;
            EXPECT_TRUE(grid.selectionModel()->isRowSelected(current, {})) << step;
        }
    }
};

TEST_F(TableModelTest, RowChangesReachTheGridWithoutResettingIt)
{
    QSignalSpy resets(model, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(model, &QAbstractItemModel::rowsRemoved);
    struct Step {
        const char* name;
        std::function<void(MemoryTable&)> apply;
    };
    const Step steps[] = {
        {"first row", [](MemoryTable& t) { t.Append(); t.SetField("Nome", "m"); t.Post(); }},
        {"after it", [](MemoryTable& t) { t.Append(); t.SetField("Nome", "t"); t.Post(); }},
        {"stored before the others", [](MemoryTable& t) { t.Append(); t.SetField("Nome", "a"); t.Post(); }},
        {"being added", [](MemoryTable& t) { t.Append(); t.SetField("Nome", "c"); }},
        {"stored in the middle", [](MemoryTable& t) { t.Post(); }},
        {"added and cancelled", [](MemoryTable& t) { t.Append(); t.SetField("Nome", "z"); t.Cancel(); }},
        {"edited to the end", [](MemoryTable& t) { t.First(); t.Edit(); t.SetField("Nome", "x"); t.Post(); }},
        {"first deleted", [](MemoryTable& t) { t.First(); t.Delete(); }},
        {"last deleted", [](MemoryTable& t) { t.First(); t.Next(); t.Next(); t.Delete(); }},
        {"added and deleted", [](MemoryTable& t) { t.Append(); t.Delete(); }},
    };
    for (const Step& step : steps) {
        step.apply(table);
        ExpectGridFollowsTable(step.name);
    }
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(inserted.count(), 6);
    EXPECT_EQ(removed.count(), 4);

    table.EmptyTable();
    ExpectGridFollowsTable("emptied");
    EXPECT_EQ(model->rowCount(), 0);
}

TEST_F(TableModelTest, AGridShownAfterItsRowMovedShowsThatRow)
{
    grid.resize(200, 120); // a few rows at a time
    for (int i = 0; i < 40; ++i)
        Add(("n" + std::to_string(100 + i)).c_str());
    EXPECT_EQ(table.CurrentRow(), 39);
    grid.show();
    QApplication::processEvents();
    const QRect row = grid.visualRect(model->index(39, 0));
    EXPECT_TRUE(grid.viewport()->rect().intersects(row));
}

} // namespace
} // namespace nfp::test
