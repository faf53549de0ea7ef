#include "util/memory_table.h"
#include "util/table_layouts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace nfp {
namespace {

std::vector<std::string> Column(const MemoryTable& t, int field) {
    std::vector<std::string> out;
    for (int r = 0; r < t.RecordCount(); ++r) out.push_back(t.TextAt(r, field));
    return out;
}

void AddQueued(MemoryTable& t, const std::string& arquivo, const std::string& caminho = "/nfp/") {
    t.Append();
    t.SetField("Arquivo", arquivo);
    t.SetField("Caminho", caminho);
    t.Post();
}

TableLayout Unsorted() {
    return {"T", {{"Nome", FieldType::Text, 3}, {"N", FieldType::Integer, 0}}, std::nullopt};
}

TEST(MemoryTable, SortFieldOrdersRowsAndKeepsArrivalOrderOfEqualKeys) {
    MemoryTable t(SendQueueLayout());
    for (const char* name : {"Z.139", "A.139", "M.139", "A.139"}) AddQueued(t, name, std::string("/") + name[0] + "/");
    AddQueued(t, "A.139", "/third/");
    EXPECT_EQ(Column(t, 0), (std::vector<std::string>{"A.139", "A.139", "A.139", "M.139", "Z.139"}));
    EXPECT_EQ(Column(t, 1), (std::vector<std::string>{"/A/", "/A/", "/third/", "/M/", "/Z/"}));
    EXPECT_EQ(t.CurrentRow(), 2); // the stored row stays current
}

TEST(MemoryTable, TextIsCutToItsWidthInCharacters) {
    MemoryTable t(Unsorted());
    struct Case { std::string given, stored; } cases[] = {
        {"", ""}, {"ab", "ab"}, {"abc", "abc"}, {"abcd", "abc"}, {"ção!", "ção"}, {"ééééé", "ééé"},
    };
    for (const auto& c : cases) {
        t.Append();
        t.SetField("Nome", c.given);
        EXPECT_EQ(t.FieldText("Nome"), c.stored) << c.given;
        t.Post();
        EXPECT_EQ(t.FieldText("Nome"), c.stored) << c.given;
    }
    MemoryTable results(ResultsLayout());
    results.Append();
    results.SetField("Resultado", std::string(500, 'x'));
    results.SetField("Protocolo", "1234567890");
    results.Post();
    EXPECT_EQ(results.FieldText("Resultado").size(), 480u);
    EXPECT_EQ(results.FieldText("Protocolo"), "123456789");
}

TEST(MemoryTable, IntegerFieldsAndConversions) {
    MemoryTable t(Unsorted());
    t.Append();
    EXPECT_EQ(t.FieldInt("N"), 0);
    t.SetField("N", std::int32_t{-7});
    EXPECT_EQ(t.FieldText("N"), "-7");
    t.SetField("N", " 42");
    EXPECT_EQ(t.FieldInt("N"), 42);
    EXPECT_THROW(t.SetField("N", "4x"), ConversionError);
    t.SetField("Nome", std::int32_t{12345});
    EXPECT_EQ(t.FieldText("Nome"), "123");
    t.Post();
    EXPECT_EQ(t.FieldInt("N"), 42);
    try {
        (void)t.FieldInt("Nome2");
        FAIL();
    } catch (const TableError& e) {
        EXPECT_STREQ(e.what(), "T: Field 'Nome2' not found");
    }
}

TEST(MemoryTable, CursorFirstNextEofAndLocate) {
    MemoryTable t(SendQueueLayout());
    EXPECT_TRUE(t.Eof());
    t.First();
    EXPECT_TRUE(t.Eof());
    EXPECT_EQ(t.CurrentRow(), -1);
    EXPECT_EQ(t.FieldText("Arquivo"), "");
    for (const char* name : {"C", "B", "A"}) AddQueued(t, name);
    t.First();
    std::string walked;
    while (!t.Eof()) {
        walked += t.FieldText("Arquivo");
        t.Next();
    }
    EXPECT_EQ(walked, "ABC");
    EXPECT_EQ(t.CurrentRow(), 2); // stays on the last row
    EXPECT_TRUE(t.Locate("Arquivo", std::string("B")));
    EXPECT_FALSE(t.Eof());
    EXPECT_EQ(t.CurrentRow(), 1);
    EXPECT_FALSE(t.Locate("Arquivo", "Q"));
    EXPECT_EQ(t.CurrentRow(), 1);
    EXPECT_TRUE(t.Locate("Arquivo", "C"));
    EXPECT_EQ(t.CurrentRow(), 2);
}

TEST(MemoryTable, DeleteMakesTheFollowingRowCurrentOrThePreviousAtTheEnd) {
    struct Case { int deleteAt; std::string left; int current; } cases[] = {
        {0, "BC", 0}, {1, "AC", 1}, {2, "AB", 1},
    };
    for (const auto& c : cases) {
        MemoryTable t(SendQueueLayout());
        for (const char* name : {"A", "B", "C"}) AddQueued(t, name);
        t.First();
        for (int i = 0; i < c.deleteAt; ++i) t.Next();
        t.Delete();
        std::string left;
        for (const auto& s : Column(t, 0)) left += s;
        EXPECT_EQ(left, c.left);
        EXPECT_EQ(t.CurrentRow(), c.current);
        EXPECT_FALSE(t.Eof());
    }
}

TEST(MemoryTable, DeletingTheFirstRowUntilEmptyEndsAtEof) {
    MemoryTable t(SendQueueLayout());
    for (const char* name : {"A", "B", "C"}) AddQueued(t, name);
    t.First();
    int handled = 0;
    while (!t.Eof()) {
        t.Delete();
        ++handled;
    }
    EXPECT_EQ(handled, 3);
    EXPECT_EQ(t.RecordCount(), 0);
    EXPECT_EQ(t.CurrentRow(), -1);
}

TEST(MemoryTable, DeleteOnAnEmptyTableFailsWithTheTableName) {
    MemoryTable t(SendQueueLayout());
    try {
        t.Delete();
        FAIL();
    } catch (const TableError& e) {
        EXPECT_STREQ(e.what(), "CDS_Enviar: Cannot perform this operation on an empty dataset");
    }
    EXPECT_THROW(t.Edit(), TableError);
}

TEST(MemoryTable, RowBeingAppendedIsVisibleButNotCounted) {
    MemoryTable t(SendQueueLayout());
    AddQueued(t, "B");
    t.Append();
    EXPECT_EQ(t.State(), TableState::Append);
    EXPECT_EQ(t.RecordCount(), 1);
    EXPECT_EQ(t.VisibleRowCount(), 2);
    EXPECT_EQ(t.CurrentRow(), 1);
    t.SetField("Arquivo", "A");
    EXPECT_EQ(t.TextAt(1, 0), "A");
    t.Post();
    EXPECT_EQ(t.VisibleRowCount(), 2);
    EXPECT_EQ(t.CurrentRow(), 0); // sorted before B
    // Dropping an append returns to the row current before it.
    t.Append();
    t.SetField("Arquivo", "X");
    t.Cancel();
    EXPECT_EQ(t.RecordCount(), 2);
    EXPECT_EQ(t.CurrentRow(), 0);
    // Delete while appending drops only the new row.
    t.Append();
    t.Delete();
    EXPECT_EQ(t.RecordCount(), 2);
}

TEST(MemoryTable, MovingStoresAPendingEditAndDropsAnUntouchedAppend) {
    MemoryTable t(Unsorted());
    t.Append();
    t.SetField("Nome", "a");
    t.First(); // stores it
    EXPECT_EQ(t.RecordCount(), 1);
    t.Append();
    t.First(); // nothing assigned: dropped
    EXPECT_EQ(t.RecordCount(), 1);
    t.Edit();
    t.SetField("Nome", "b");
    t.Append(); // stores the edit first
    t.Cancel();
    EXPECT_EQ(t.TextAt(0, 0), "b");
}

TEST(MemoryTable, EditingEveryRowOfASortedTableVisitsEachOnce) {
    MemoryTable t(ResultsLayout());
    for (const char* name : {"A", "A", "B", "C"}) AddQueued(t, name);
    t.First();
    int visited = 0;
    while (!t.Eof()) {
        t.Edit();
        t.SetField("Resultado", "novo " + std::to_string(visited));
        t.Post();
        ++visited;
        t.Next();
    }
    EXPECT_EQ(visited, 4);
    EXPECT_EQ(Column(t, 3), (std::vector<std::string>{"novo 0", "novo 1", "novo 2", "novo 3"}));
    // A changed key moves the row to its place.
    t.First();
    t.Edit();
    t.SetField("Arquivo", "D");
    t.Post();
    EXPECT_EQ(t.CurrentRow(), 3);
    EXPECT_EQ(Column(t, 0), (std::vector<std::string>{"A", "B", "C", "D"}));
}

TEST(MemoryTable, SetFieldOutsideEditingIsRefused) {
    MemoryTable t(Unsorted());
    EXPECT_THROW(t.SetField("Nome", "x"), TableError);
    EXPECT_THROW(t.Post(), TableError);
}

TEST(MemoryTable, NotifiesEveryOccasion) {
    MemoryTable t(SendQueueLayout());
    std::vector<TableEvent> seen;
    const auto id = t.Subscribe([&](const TableEvent& e) { seen.push_back(e); });
    AddQueued(t, "B");          // Append, FieldChange x2, Post
    t.Append();                 // Append (row 1)
    t.SetField("Arquivo", "A"); // FieldChange (row 1, field 0)
    t.Post();                   // Post to row 0 from 1
    t.First();                  // Move
    t.Next();                   // Move 0 -> 1
    t.Next();                   // at the end: no move
    t.Delete();                 // Delete row 1
    t.EmptyTable();             // Empty
    using C = TableChange;
    const std::vector<std::tuple<C, int, int, int>> expected = {
        {C::Append, 0, 0, -1}, {C::FieldChange, 0, 0, 0}, {C::FieldChange, 0, 0, 1}, {C::Post, 0, 0, -1},
        {C::Append, 1, 1, -1}, {C::FieldChange, 1, 1, 0}, {C::Post, 0, 1, -1},
        {C::Move, 0, 0, -1},   {C::Move, 1, 0, -1},      {C::Delete, 1, 1, -1}, {C::Empty, -1, -1, -1},
    };
    ASSERT_EQ(seen.size(), expected.size());
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].change, std::get<0>(expected[i])) << i;
        EXPECT_EQ(seen[i].row, std::get<1>(expected[i])) << i;
        EXPECT_EQ(seen[i].previousRow, std::get<2>(expected[i])) << i;
        EXPECT_EQ(seen[i].field, std::get<3>(expected[i])) << i;
    }
    t.Unsubscribe(id);
    AddQueued(t, "C");
    EXPECT_EQ(seen.size(), expected.size());
}

TEST(MemoryTable, ObserverSeesTheStateAfterTheChange) {
    MemoryTable t(SendQueueLayout());
    std::vector<std::pair<int, std::string>> seen; // stored rows, current Arquivo
    t.Subscribe([&](const TableEvent&) { seen.emplace_back(t.RecordCount(), t.FieldText("Arquivo")); });
    t.Append();
    t.SetField("Arquivo", "A");
    t.Post();
    EXPECT_EQ(seen, (std::vector<std::pair<int, std::string>>{{0, ""}, {0, "A"}, {1, "A"}}));
}

} // namespace
} // namespace nfp
