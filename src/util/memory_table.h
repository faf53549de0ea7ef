#pragma once
// An in-memory table of typed, fixed-width records with a current-row cursor,
// the way the send queue, the results and the profiles are kept while the
// program runs. Plain C++: a grid model or a panel follows it through the
// change notification.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "util/integer_text.h"

namespace nfp {

enum class FieldType { Text, Integer };

struct FieldDef {
    std::string name;
    FieldType type = FieldType::Text;
    std::size_t width = 0; // characters, for text fields; longer values are cut
};

struct TableLayout {
    std::string name; // shown in the table's error messages ("CDS_Enviar: ...")
    std::vector<FieldDef> fields;
    std::optional<std::string> sortField; // ascending; equal keys keep arrival order
};

using FieldValue = std::variant<std::string, std::int32_t>;

// Every refusal of the table; the text begins with the table's name and ": ".
class TableError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class TableState { Browse, Edit, Append };

// Occasions of the change notification.
enum class TableChange {
    Move,        // first, next or locate; First tells even when the row stays, Next at the end tells nothing
    Append,      // a blank row is being appended (not yet stored)
    FieldChange, // a field of the row being edited or appended was assigned
    Post,        // the edited or appended row was stored
    Delete,      // the current row was deleted
    Empty,       // every row was removed
    Cancel,      // the edit or append was dropped
};

struct TableEvent {
    TableChange change;
    // Move, Append, FieldChange, Post: the row concerned, as it stands now
    // (the row being appended is RecordCount()). Delete: the row that was
    // deleted. Empty: -1. Cancel: the row that was being edited or appended.
    int row = -1;
    // Post: where the row stood before it was stored (an appended row stood
    // at the end, the old RecordCount()); a sort field may have moved it.
    // Move: the previous current row (-1 when there was none). Otherwise
    // equal to row.
    int previousRow = -1;
    int field = -1; // FieldChange: the field index
};

class MemoryTable {
public:
    using Observer = std::function<void(const TableEvent&)>;
    using SubscriptionId = std::size_t;

    explicit MemoryTable(TableLayout layout);
    MemoryTable(const MemoryTable&) = delete;
    MemoryTable& operator=(const MemoryTable&) = delete;

    const TableLayout& Layout() const noexcept { return layout_; }
    const std::string& Name() const noexcept { return layout_.name; }
    int FieldCount() const noexcept { return static_cast<int>(layout_.fields.size()); }
    // Throws TableError "<name>: Field '<field>' not found".
    int FieldIndex(std::string_view field) const;

    // Stored rows; a row being appended does not count.
    int RecordCount() const noexcept { return static_cast<int>(rows_.size()); }
    // Rows a grid shows: the stored ones plus the row being appended, which
    // stands after them.
    int VisibleRowCount() const noexcept { return RecordCount() + (state_ == TableState::Append ? 1 : 0); }
    // The current row's index among the visible rows; -1 when there is none.
    int CurrentRow() const noexcept { return current_; }
    bool IsEmpty() const noexcept { return rows_.empty(); }
    bool Eof() const noexcept { return eof_; }
    TableState State() const noexcept { return state_; }

    // Moving stores a pending edit or append first (one whose fields were
    // never assigned is dropped instead).
    void First();
    void Next();
    // Makes the first row whose field equals the value current; false (and
    // the cursor stays) when there is none.
    bool Locate(std::string_view field, const FieldValue& value);

    // Starts a blank row at the end (text fields empty, integers 0); it
    // becomes current and is stored by Post. A pending edit is stored first.
    void Append();
    // Starts editing the current row. Throws on an empty table.
    void Edit();
    // Stores the edited or appended row; with a sort field it moves to its
    // place (after rows with an equal key) and stays current.
    void Post();
    // Drops the pending edit or append; the row current before it is again.
    void Cancel();
    // Deletes the current row; the following row becomes current, the
    // previous one when the last was deleted. While appending it drops the
    // new row instead. Throws "<name>: Cannot perform this operation on an
    // empty dataset" when there is no row.
    void Delete();
    // Removes every row and any pending edit.
    void EmptyTable();

    // Values of the current row (the edit buffer while editing); empty text
    // and 0 when there is no current row.
    std::string FieldText(std::string_view field) const;
    std::int32_t FieldInt(std::string_view field) const;
    // Assigns a field of the row being edited or appended. A text is cut to
    // the field's width; a text given to an integer field must be a number.
    void SetField(std::string_view field, std::string_view text);
    void SetField(std::string_view field, const char* text) { SetField(field, std::string_view(text)); }
    void SetField(std::string_view field, std::int32_t value);

    // Any visible row, for grids: row in [0, VisibleRowCount()).
    const FieldValue& ValueAt(int row, int field) const;
    std::string TextAt(int row, int field) const;

    SubscriptionId Subscribe(Observer observer);
    void Unsubscribe(SubscriptionId id);

private:
    using Record = std::vector<FieldValue>;

    Record BlankRecord() const;
    const Record* CurrentRecord() const;
    void CheckEditing() const;
    void SettlePending(); // stores a pending edit or append before a move
    FieldValue Fitted(int field, const FieldValue& value) const;
    void Assign(int field, const FieldValue& value);
    int InsertPosition(const Record& record) const;
    [[noreturn]] void Fail(const std::string& message) const;
    void Notify(const TableEvent& event);

    TableLayout layout_;
    std::optional<int> sortIndex_;
    std::vector<Record> rows_;
    Record buffer_;
    TableState state_ = TableState::Browse;
    int current_ = -1;
    int beforeAppend_ = -1;
    bool modified_ = false;
    bool eof_ = true;
    std::vector<std::pair<SubscriptionId, Observer>> observers_;
    SubscriptionId nextId_ = 1;
};

} // namespace nfp
