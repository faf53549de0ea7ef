#include "util/memory_table.h"

#include "util/text_codec.h"

#include <algorithm>

namespace nfp {

MemoryTable::MemoryTable(TableLayout layout) : layout_(std::move(layout)) {
    if (layout_.sortField) sortIndex_ = FieldIndex(*layout_.sortField);
}

int MemoryTable::FieldIndex(std::string_view field) const {
    for (std::size_t i = 0; i < layout_.fields.size(); ++i)
        if (layout_.fields[i].name == field) return static_cast<int>(i);
    Fail("Field '" + std::string(field) + "' not found");
}

void MemoryTable::Fail(const std::string& message) const {
    throw TableError(layout_.name + ": " + message);
}

MemoryTable::Record MemoryTable::BlankRecord() const {
    Record r;
    r.reserve(layout_.fields.size());
    for (const FieldDef& f : layout_.fields) {
        if (f.type == FieldType::Text) r.emplace_back(std::string());
        else r.emplace_back(std::int32_t{0});
    }
    return r;
}

const MemoryTable::Record* MemoryTable::CurrentRecord() const {
    if (state_ != TableState::Browse) return &buffer_;
    if (current_ < 0 || current_ >= RecordCount()) return nullptr;
    return &rows_[static_cast<std::size_t>(current_)];
}

void MemoryTable::CheckEditing() const {
    if (state_ == TableState::Browse) Fail("Dataset not in edit or insert mode");
}

void MemoryTable::SettlePending() {
    if (state_ == TableState::Browse) return;
    if (modified_) Post();
    else Cancel();
}

void MemoryTable::First() {
    SettlePending();
    const int previous = current_;
    current_ = rows_.empty() ? -1 : 0;
    eof_ = rows_.empty();
    Notify({TableChange::Move, current_, previous, -1});
}

void MemoryTable::Next() {
    SettlePending();
    if (current_ < 0 || current_ + 1 >= RecordCount()) {
        eof_ = true;
        return;
    }
    const int previous = current_++;
    eof_ = false;
    Notify({TableChange::Move, current_, previous, -1});
}

bool MemoryTable::Locate(std::string_view field, const FieldValue& value) {
    SettlePending();
    const int f = FieldIndex(field);
    const FieldValue wanted = Fitted(f, value);
    for (int i = 0; i < RecordCount(); ++i) {
        if (rows_[static_cast<std::size_t>(i)][static_cast<std::size_t>(f)] == wanted) {
            const int previous = current_;
            current_ = i;
            eof_ = false;
            Notify({TableChange::Move, current_, previous, -1});
            return true;
        }
    }
    return false;
}

void MemoryTable::Append() {
    SettlePending();
    beforeAppend_ = current_;
    buffer_ = BlankRecord();
    state_ = TableState::Append;
    modified_ = false;
    current_ = RecordCount();
    eof_ = false;
    Notify({TableChange::Append, current_, current_, -1});
}

void MemoryTable::Edit() {
    if (state_ != TableState::Browse) return;
    if (rows_.empty()) Fail("Cannot perform this operation on an empty dataset");
    buffer_ = rows_[static_cast<std::size_t>(current_)];
    state_ = TableState::Edit;
    modified_ = false;
}

int MemoryTable::InsertPosition(const Record& record) const {
    if (!sortIndex_) return RecordCount();
    const std::size_t k = static_cast<std::size_t>(*sortIndex_);
    const auto it = std::upper_bound(rows_.begin(), rows_.end(), record,
                                     [k](const Record& a, const Record& b) { return a[k] < b[k]; });
    return static_cast<int>(it - rows_.begin());
}

void MemoryTable::Post() {
    CheckEditing();
    int previous = current_;
    int position = current_;
    if (state_ == TableState::Edit) {
        rows_.erase(rows_.begin() + current_);
        // An edit that leaves the key in order keeps the row where it was, so
        // walking the table while rewriting rows visits each row once.
        bool inPlace = true;
        if (sortIndex_) {
            const std::size_t k = static_cast<std::size_t>(*sortIndex_);
            const auto p = static_cast<std::size_t>(current_);
            inPlace = (p == 0 || !(buffer_[k] < rows_[p - 1][k])) && (p == rows_.size() || !(rows_[p][k] < buffer_[k]));
        }
        if (!inPlace) position = InsertPosition(buffer_);
    } else {
        previous = RecordCount();
        position = InsertPosition(buffer_);
    }
    rows_.insert(rows_.begin() + position, std::move(buffer_));
    buffer_.clear();
    state_ = TableState::Browse;
    modified_ = false;
    current_ = position;
    eof_ = false;
    Notify({TableChange::Post, position, previous, -1});
}

void MemoryTable::Cancel() {
    if (state_ == TableState::Browse) return;
    const int row = current_;
    if (state_ == TableState::Append) {
        current_ = std::min(beforeAppend_, RecordCount() - 1);
        if (current_ < 0 && !rows_.empty()) current_ = 0;
        eof_ = rows_.empty();
    }
    buffer_.clear();
    state_ = TableState::Browse;
    modified_ = false;
    Notify({TableChange::Cancel, row, row, -1});
}

void MemoryTable::Delete() {
    if (state_ == TableState::Append) {
        Cancel();
        return;
    }
    if (rows_.empty()) Fail("Cannot perform this operation on an empty dataset");
    buffer_.clear();
    state_ = TableState::Browse;
    modified_ = false;
    const int row = current_;
    rows_.erase(rows_.begin() + row);
    current_ = std::min(row, RecordCount() - 1);
    eof_ = rows_.empty();
    Notify({TableChange::Delete, row, row, -1});
}

void MemoryTable::EmptyTable() {
    rows_.clear();
    buffer_.clear();
    state_ = TableState::Browse;
    modified_ = false;
    current_ = -1;
    beforeAppend_ = -1;
    eof_ = true;
    Notify({TableChange::Empty, -1, -1, -1});
}

FieldValue MemoryTable::Fitted(int field, const FieldValue& value) const {
    const FieldDef& def = layout_.fields[static_cast<std::size_t>(field)];
    if (def.type == FieldType::Text) {
        if (const auto* s = std::get_if<std::string>(&value)) return CutToWidth(*s, def.width);
        return CutToWidth(std::to_string(std::get<std::int32_t>(value)), def.width);
    }
    if (const auto* n = std::get_if<std::int32_t>(&value)) return *n;
    const std::string& s = std::get<std::string>(value);
    if (s.empty()) return std::int32_t{0};
    return ParseInt32(s);
}

void MemoryTable::Assign(int field, const FieldValue& value) {
    CheckEditing();
    buffer_[static_cast<std::size_t>(field)] = Fitted(field, value);
    modified_ = true;
    Notify({TableChange::FieldChange, current_, current_, field});
}

std::string MemoryTable::FieldText(std::string_view field) const {
    const int f = FieldIndex(field);
    const Record* r = CurrentRecord();
    if (!r) return {};
    const FieldValue& v = (*r)[static_cast<std::size_t>(f)];
    if (const auto* s = std::get_if<std::string>(&v)) return *s;
    return std::to_string(std::get<std::int32_t>(v));
}

std::int32_t MemoryTable::FieldInt(std::string_view field) const {
    const int f = FieldIndex(field);
    const Record* r = CurrentRecord();
    if (!r) return 0;
    const FieldValue& v = (*r)[static_cast<std::size_t>(f)];
    if (const auto* n = std::get_if<std::int32_t>(&v)) return *n;
    return ParseInt32(std::get<std::string>(v));
}

void MemoryTable::SetField(std::string_view field, std::string_view text) {
    Assign(FieldIndex(field), FieldValue(std::string(text)));
}

void MemoryTable::SetField(std::string_view field, std::int32_t value) {
    Assign(FieldIndex(field), FieldValue(value));
}

const FieldValue& MemoryTable::ValueAt(int row, int field) const {
    if (field < 0 || field >= FieldCount() || row < 0 || row >= VisibleRowCount())
        throw std::out_of_range(layout_.name + ": no cell at row " + std::to_string(row) + ", field " +
                                std::to_string(field));
    if (state_ != TableState::Browse && row == current_) return buffer_[static_cast<std::size_t>(field)];
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(field)];
}

std::string MemoryTable::TextAt(int row, int field) const {
    const FieldValue& v = ValueAt(row, field);
    if (const auto* s = std::get_if<std::string>(&v)) return *s;
    return std::to_string(std::get<std::int32_t>(v));
}

MemoryTable::SubscriptionId MemoryTable::Subscribe(Observer observer) {
    const SubscriptionId id = nextId_++;
    observers_.emplace_back(id, std::move(observer));
    return id;
}

void MemoryTable::Unsubscribe(SubscriptionId id) {
    std::erase_if(observers_, [id](const auto& entry) { return entry.first == id; });
}

void MemoryTable::Notify(const TableEvent& event) {
    // A copy, so an observer may subscribe or unsubscribe while it is told.
    const auto observers = observers_;
    for (const auto& [id, observer] : observers) observer(event);
}

} // namespace nfp
