// Connection / Recordset: the thin layer over SQLite that every module uses
// for its SQL. A connection is one open database file; a Recordset is the
// materialised result of one query (rows of named fields, each possibly Null),
// which is what the program's static, read-only reads need.
//
// Every value travels as a bound parameter; only identifiers that the program
// builds itself (table names from the task prefix, checked item codes) are
// ever part of the SQL text.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace gzgl {

// A database failure, carrying SQLite's description for the user.
class DbError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One field value: Null, an integer, a double or text.
class Value {
public:
    Value() = default;
    Value(std::nullptr_t) {}
    Value(int v) : v_(static_cast<std::int64_t>(v)) {}
    Value(std::int64_t v) : v_(v) {}
    Value(double v) : v_(v) {}
    Value(const char* v) : v_(std::string(v)) {}
    Value(std::string v) : v_(std::move(v)) {}
    Value(std::string_view v) : v_(std::string(v)) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(v_); }
    bool isText() const { return std::holds_alternative<std::string>(v_); }
    // The text of a text value (check isText first).
    const std::string& text() const { return std::get<std::string>(v_); }
    // The integer of an integer value, nullopt for any other kind.
    std::optional<std::int64_t> integer() const {
        if (auto* n = std::get_if<std::int64_t>(&v_))
            return *n;
        return std::nullopt;
    }
    // Text of the value; Null gives the empty text, numbers their decimal text.
    std::string toString() const;
    // Numeric value; Null gives 0, text its longest numeric prefix.
    double toDouble() const;
    std::int64_t toInt() const;

    bool operator==(const Value&) const = default;

private:
    friend class Connection;
    std::variant<std::monostate, std::int64_t, double, std::string> v_;
};

using Params = std::vector<Value>;

// The rows of one query. Field lookup by name is case-insensitive, as the
// original data access was.
class Recordset {
public:
    const std::vector<std::string>& fields() const { return fields_; }
    std::size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    const std::vector<Value>& row(std::size_t i) const { return rows_.at(i); }
    // Value of the named field in row i; throws DbError for an unknown field.
    const Value& at(std::size_t i, std::string_view field) const;
    std::optional<std::size_t> fieldIndex(std::string_view field) const;

private:
    friend class Connection;
    std::vector<std::string> fields_;
    std::vector<std::vector<Value>> rows_;
};

class Statement;

class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    Connection(Connection&& other) noexcept;
    Connection& operator=(Connection&& other) noexcept;

    // Opens an existing database file (never creates one) and checks that it
    // is a readable database. busyTimeoutMs stands for the connection time-out.
    // Throws DbError with SQLite's description; the connection stays closed.
    void open(const std::string& path, int busyTimeoutMs = 5000);
    void close();
    bool isOpen() const { return db_ != nullptr; }
    const std::string& path() const { return path_; }

    // Runs one statement with bound parameters; returns the rows changed.
    int execute(const std::string& sql, const Params& params = {});
    // Runs several statements without parameters (schema scripts).
    void executeScript(const std::string& sql);
    Recordset query(const std::string& sql, const Params& params = {});
    // First field of the first row, Null when there is no row.
    Value scalar(const std::string& sql, const Params& params = {});

    void begin();
    void commit();
    void rollback();
    bool inTransaction() const;

    // Names of the tables of the main database (or of an attached one).
    std::vector<std::string> tables(const std::string& schema = "main");
    bool hasTable(const std::string& name, const std::string& schema = "main");
    std::vector<std::string> columns(const std::string& table, const std::string& schema = "main");
    // Whether the table has the named column, compared without regard to
    // case as SQLite compares column names.
    bool hasColumn(const std::string& table, const std::string& column, const std::string& schema = "main");
    // A statement prepared once for many runs (bulk writes).
    Statement prepareStatement(const std::string& sql);
    void attach(const std::string& path, const std::string& alias);
    void detach(const std::string& alias);

    sqlite3* handle() const { return db_; }

private:
    friend class Statement;
    [[noreturn]] void fail(const std::string& what) const;
    struct Prepared;
    void prepare(Prepared& p, const std::string& sql, const Params& params);
    sqlite3* db_ = nullptr;
    std::string path_;
};

// One prepared statement of a connection, run again and again with new
// bound values; it must not outlive its connection.
class Statement {
public:
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&&) = delete;
    Statement(const Statement&) = delete;
    ~Statement();
    // Binds params and runs the statement to its end; returns the rows changed.
    int run(const Params& params);

private:
    friend class Connection;
    Statement(Connection& c, std::string sql);
    Connection& c_;
    std::string sql_;
    sqlite3_stmt* s_ = nullptr;
};

// Commits explicitly; rolls back when it goes out of scope uncommitted, so a
// failure part-way never leaves half a change.
class Transaction {
public:
    explicit Transaction(Connection& c) : c_(c) { c_.begin(); }
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& c_;
    bool done_ = false;
};

// Creates a new, empty database file at path (overwriting nothing: throws
// DbError when it cannot be created).
void createEmptyDatabase(const std::string& path);

} // namespace gzgl
