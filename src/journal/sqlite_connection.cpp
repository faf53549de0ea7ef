#include "journal/sqlite_connection.h"

#include <sqlite3.h>

namespace nfp {

namespace {

[[noreturn]] void Fail(sqlite3* db, int code)
{
    const char* detail = db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    throw SqliteError(code & 0xff, detail ? detail : sqlite3_errstr(code));
}

void Check(sqlite3* db, int code)
{
    if (code != SQLITE_OK)
        Fail(db, code);
}

} // namespace

void SqliteConnection::Closer::operator()(sqlite3* db) const
{
    sqlite3_close_v2(db);
}

SqliteConnection::SqliteConnection(const std::string& file)
{
    sqlite3* raw = nullptr;
    const int code = sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    db_.reset(raw); // closed even when opening failed
    if (code != SQLITE_OK)
        Fail(raw, code);
    sqlite3_extended_result_codes(raw, 0);
}

void SqliteConnection::Execute(const std::string& sql)
{
    Check(db_.get(), sqlite3_exec(db_.get(), sql.c_str(), nullptr, nullptr, nullptr));
}

SqliteStatement SqliteConnection::Prepare(std::string_view sql)
{
    return SqliteStatement(db_.get(), sql);
}

std::int64_t SqliteConnection::LastInsertId() const
{
    return sqlite3_last_insert_rowid(db_.get());
}

void SqliteStatement::Finalizer::operator()(sqlite3_stmt* statement) const
{
    sqlite3_finalize(statement);
}

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql) : db_(db)
{
    sqlite3_stmt* raw = nullptr;
    const int code = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &raw, nullptr);
    statement_.reset(raw);
    Check(db, code);
}

SqliteStatement& SqliteStatement::Bind(int index, std::string_view text)
{
    Check(db_, sqlite3_bind_text64(statement_.get(), index, text.data(), text.size(), SQLITE_TRANSIENT,
                                   SQLITE_UTF8));
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, std::int64_t value)
{
    Check(db_, sqlite3_bind_int64(statement_.get(), index, value));
    return *this;
}

SqliteStatement& SqliteStatement::BindNull(int index)
{
    Check(db_, sqlite3_bind_null(statement_.get(), index));
    return *this;
}

bool SqliteStatement::Step()
{
    const int code = sqlite3_step(statement_.get());
    if (code == SQLITE_ROW)
        return true;
    if (code == SQLITE_DONE)
        return false;
    const SqliteError error(code & 0xff, sqlite3_errmsg(db_));
    // Ready to run again, as after a success.
    sqlite3_reset(statement_.get());
    throw error;
}

void SqliteStatement::Run()
{
    while (Step()) {
    }
    Reset();
}

void SqliteStatement::Reset()
{
    sqlite3_reset(statement_.get());
    sqlite3_clear_bindings(statement_.get());
}

std::string SqliteStatement::Text(int column) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_.get(), column));
    const int size = sqlite3_column_bytes(statement_.get(), column);
    return text ? std::string(text, static_cast<std::size_t>(size)) : std::string();
}

std::int64_t SqliteStatement::Integer(int column) const
{
    return sqlite3_column_int64(statement_.get(), column);
}

bool SqliteStatement::IsNull(int column) const
{
    return sqlite3_column_type(statement_.get(), column) == SQLITE_NULL;
}

} // namespace nfp
