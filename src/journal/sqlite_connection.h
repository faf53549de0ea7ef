#pragma once
// A small RAII layer over the SQLite C library: a connection, prepared
// statements bound by position, and errors that keep SQLite's result code so
// the program can say in its own words what went wrong.
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace nfp {

class SqliteError : public std::runtime_error {
public:
    SqliteError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
    // SQLite's primary result code (SQLITE_CANTOPEN, SQLITE_FULL, ...).
    int Code() const noexcept { return code_; }

private:
    int code_;
};

class SqliteStatement;

class SqliteConnection {
public:
    // Opens (creating when missing) the database file. Throws SqliteError.
    explicit SqliteConnection(const std::string& file);

    // Runs statements that return no rows. Throws SqliteError.
    void Execute(const std::string& sql);
    SqliteStatement Prepare(std::string_view sql);
    std::int64_t LastInsertId() const;
    sqlite3* Handle() const noexcept { return db_.get(); }

private:
    struct Closer {
        void operator()(sqlite3* db) const;
    };
    std::unique_ptr<sqlite3, Closer> db_;
};

class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, std::string_view sql);

    // Parameters count from 1, as in SQL.
    SqliteStatement& Bind(int index, std::string_view text);
    SqliteStatement& Bind(int index, std::int64_t value);
    SqliteStatement& BindNull(int index);
    template <class T>
    SqliteStatement& Bind(int index, const std::optional<T>& value)
    {
        return value ? Bind(index, *value) : BindNull(index);
    }

    // Advances to the next row: true while there is one. Throws SqliteError.
    bool Step();
    // Runs a statement that returns no rows, then makes it ready to run again.
    void Run();
    void Reset();

    // Columns of the current row count from 0.
    std::string Text(int column) const;
    std::int64_t Integer(int column) const;
    bool IsNull(int column) const;

private:
    struct Finalizer {
        void operator()(sqlite3_stmt* statement) const;
    };
    sqlite3* db_;
    std::unique_ptr<sqlite3_stmt, Finalizer> statement_;
};

} // namespace nfp
