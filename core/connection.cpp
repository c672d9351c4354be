#include "core/connection.h"

#include "core/numtext.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <strings.h>

namespace gzgl {

std::string Value::toString() const {
    if (auto* s = std::get_if<std::string>(&v_))
        return *s;
    if (auto* i = std::get_if<std::int64_t>(&v_))
        return std::to_string(*i);
    if (auto* d = std::get_if<double>(&v_))
        return decimalText(*d);
    return {};
}

double Value::toDouble() const {
    if (auto* d = std::get_if<double>(&v_))
        return *d;
    if (auto* i = std::get_if<std::int64_t>(&v_))
        return static_cast<double>(*i);
    if (auto* s = std::get_if<std::string>(&v_))
        return readNumber(*s);
    return 0.0;
}

std::int64_t Value::toInt() const {
    if (auto* i = std::get_if<std::int64_t>(&v_))
        return *i;
    return static_cast<std::int64_t>(toDouble());
}

std::optional<std::size_t> Recordset::fieldIndex(std::string_view field) const {
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].size() == field.size() &&
            strncasecmp(fields_[i].c_str(), field.data(), field.size()) == 0)
            return i;
    return std::nullopt;
}

const Value& Recordset::at(std::size_t i, std::string_view field) const {
    auto idx = fieldIndex(field);
    if (!idx)
        throw DbError("记录集中没有字段 " + std::string(field));
    return rows_.at(i).at(*idx);
}

Connection::~Connection() { close(); }

Connection::Connection(Connection&& o) noexcept : db_(o.db_), path_(std::move(o.path_)) { o.db_ = nullptr; }

Connection& Connection::operator=(Connection&& o) noexcept {
    if (this != &o) {
        close();
        db_ = o.db_;
        path_ = std::move(o.path_);
        o.db_ = nullptr;
    }
    return *this;
}

namespace {

// What a clerk can do something about, said in Chinese before SQLite's own
// words: a full disk, a file that may not be written, one held by another
// program, one that is damaged or gone.
std::string explained(int code, std::string msg) {
    const char* why = nullptr;
    switch (code & 0xFF) {
    case SQLITE_FULL: why = "磁盘空间不足，数据没有写入。"; break;
    case SQLITE_READONLY: why = "数据文件只读（或所在的磁盘不能写入），数据没有写入。"; break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: why = "数据文件正被其他程序使用，请稍后再试。"; break;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: why = "数据文件已损坏，请从备份恢复。"; break;
    case SQLITE_CANTOPEN: why = "不能打开数据文件，请检查它是否存在以及磁盘是否可用。"; break;
    case SQLITE_IOERR: why = "读写磁盘出错，数据没有写入。"; break;
    default: return msg;
    }
    return std::string(why) + "\n" + msg;
}

} // namespace

void Connection::fail(const std::string& what) const {
    std::string msg = db_ ? explained(sqlite3_extended_errcode(db_), sqlite3_errmsg(db_)) : "数据库没有打开";
    throw DbError(what.empty() ? msg : msg + " (" + what + ")");
}

void Connection::open(const std::string& path, int busyTimeoutMs) {
    close();
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        std::string msg = explained(rc, db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close(db);
        throw DbError(msg + ": " + path);
    }
    sqlite3_busy_timeout(db, busyTimeoutMs);
    sqlite3_extended_result_codes(db, 1);
    // Reading the schema proves the file is a database and not damaged.
    char* err = nullptr;
    rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        std::string msg = explained(rc, err ? err : sqlite3_errstr(rc));
        sqlite3_free(err);
        sqlite3_close(db);
        throw DbError(msg + ": " + path);
    }
    db_ = db;
    path_ = path;
}

void Connection::close() {
    if (db_) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
    path_.clear();
}

struct Connection::Prepared {
    sqlite3_stmt* s = nullptr;
    ~Prepared() { sqlite3_finalize(s); }
};

namespace {

// Binds params to a fresh or reset statement; answers SQLITE_OK or the
// first failing code.
int bindAll(sqlite3_stmt* st, const Params& params, bool& countMismatch) {
    const int expected = sqlite3_bind_parameter_count(st);
    countMismatch = expected != static_cast<int>(params.size());
    if (countMismatch)
        return SQLITE_MISUSE;
    for (int i = 0; i < expected; ++i) {
        const Value& v = params[static_cast<std::size_t>(i)];
        int rc = SQLITE_OK;
        if (v.isNull())
            rc = sqlite3_bind_null(st, i + 1);
        else if (v.isText()) {
            const std::string& t = v.text();
            rc = sqlite3_bind_text(st, i + 1, t.data(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
        } else if (const auto n = v.integer())
            rc = sqlite3_bind_int64(st, i + 1, *n);
        else
            rc = sqlite3_bind_double(st, i + 1, v.toDouble());
        if (rc != SQLITE_OK)
            return rc;
    }
    return SQLITE_OK;
}

} // namespace

void Connection::prepare(Prepared& p, const std::string& sql, const Params& params) {
    if (!db_)
        throw DbError("数据库没有打开");
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &p.s, nullptr) != SQLITE_OK)
        fail(sql);
    if (!p.s)
        throw DbError("空的 SQL 语句");
    bool mismatch = false;
    if (bindAll(p.s, params, mismatch) != SQLITE_OK) {
        if (mismatch)
            throw DbError("参数个数不符 (" + sql + ")");
        fail(sql);
    }
}

Statement Connection::prepareStatement(const std::string& sql) { return Statement(*this, sql); }

Statement::Statement(Connection& c, std::string sql) : c_(c), sql_(std::move(sql)) {
    if (!c_.db_)
        throw DbError("数据库没有打开");
    if (sqlite3_prepare_v2(c_.db_, sql_.c_str(), static_cast<int>(sql_.size()), &s_, nullptr) != SQLITE_OK)
        c_.fail(sql_);
    if (!s_)
        throw DbError("空的 SQL 语句");
}

Statement::Statement(Statement&& other) noexcept : c_(other.c_), sql_(std::move(other.sql_)), s_(other.s_) {
    other.s_ = nullptr;
}

Statement::~Statement() { sqlite3_finalize(s_); }

int Statement::run(const Params& params) {
    sqlite3_reset(s_);
    sqlite3_clear_bindings(s_);
    bool mismatch = false;
    if (bindAll(s_, params, mismatch) != SQLITE_OK) {
        if (mismatch)
            throw DbError("参数个数不符 (" + sql_ + ")");
        c_.fail(sql_);
    }
    int rc;
    while ((rc = sqlite3_step(s_)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        c_.fail(sql_);
    const int changed = sqlite3_changes(c_.db_);
    sqlite3_reset(s_);
    return changed;
}

int Connection::execute(const std::string& sql, const Params& params) {
    Prepared p;
    prepare(p, sql, params);
    int rc;
    while ((rc = sqlite3_step(p.s)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        fail(sql);
    return sqlite3_changes(db_);
}

void Connection::executeScript(const std::string& sql) {
    if (!db_)
        throw DbError("数据库没有打开");
    char* err = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::string msg = err ? err : "SQL error";
        sqlite3_free(err);
        throw DbError(msg);
    }
}

Recordset Connection::query(const std::string& sql, const Params& params) {
    Prepared p;
    prepare(p, sql, params);
    Recordset rs;
    const int n = sqlite3_column_count(p.s);
    rs.fields_.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        rs.fields_.emplace_back(sqlite3_column_name(p.s, i));
    int rc;
    while ((rc = sqlite3_step(p.s)) == SQLITE_ROW) {
        std::vector<Value> row;
        row.reserve(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            switch (sqlite3_column_type(p.s, i)) {
            case SQLITE_INTEGER:
                row.emplace_back(static_cast<std::int64_t>(sqlite3_column_int64(p.s, i)));
                break;
            case SQLITE_FLOAT:
                row.emplace_back(sqlite3_column_double(p.s, i));
                break;
            case SQLITE_NULL:
                row.emplace_back();
                break;
            default: {
                const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(p.s, i));
                row.emplace_back(std::string(t ? t : "", static_cast<std::size_t>(sqlite3_column_bytes(p.s, i))));
            }
            }
        }
        rs.rows_.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE)
        fail(sql);
    return rs;
}

Value Connection::scalar(const std::string& sql, const Params& params) {
    Recordset rs = query(sql, params);
    if (rs.empty() || rs.fields().empty())
        return {};
    return rs.row(0)[0];
}

void Connection::begin() { execute("BEGIN"); }
void Connection::commit() { execute("COMMIT"); }
void Connection::rollback() {
    if (db_ && !sqlite3_get_autocommit(db_))
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}
bool Connection::inTransaction() const { return db_ && !sqlite3_get_autocommit(db_); }

namespace {
// Only the program's own schema names reach here; refuse anything else.
const std::string& checkedSchema(const std::string& schema) {
    for (char c : schema)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_'))
            throw DbError("非法的数据库别名: " + schema);
    return schema;
}
} // namespace

std::vector<std::string> Connection::tables(const std::string& schema) {
    Recordset rs = query("SELECT name FROM " + checkedSchema(schema) +
                         ".sqlite_master WHERE type='table' ORDER BY name");
    std::vector<std::string> out;
    for (std::size_t i = 0; i < rs.size(); ++i)
        out.push_back(rs.row(i)[0].toString());
    return out;
}

bool Connection::hasTable(const std::string& name, const std::string& schema) {
    return !query("SELECT name FROM " + checkedSchema(schema) +
                      ".sqlite_master WHERE type='table' AND name=? COLLATE NOCASE",
                  {name})
                .empty();
}

std::vector<std::string> Connection::columns(const std::string& table, const std::string& schema) {
    Recordset rs = query("SELECT name FROM pragma_table_info(?, ?)", {table, checkedSchema(schema)});
    std::vector<std::string> out;
    for (std::size_t i = 0; i < rs.size(); ++i)
        out.push_back(rs.row(i)[0].toString());
    return out;
}

bool Connection::hasColumn(const std::string& table, const std::string& column, const std::string& schema) {
    return !query("SELECT 1 FROM pragma_table_info(?, ?) WHERE name=? COLLATE NOCASE",
                  {table, checkedSchema(schema), column})
                .empty();
}

void Connection::attach(const std::string& path, const std::string& alias) {
    execute("ATTACH DATABASE ? AS " + checkedSchema(alias), {path});
}

void Connection::detach(const std::string& alias) { execute("DETACH DATABASE " + checkedSchema(alias)); }

Transaction::~Transaction() {
    if (!done_)
        c_.rollback();
}

void Transaction::commit() {
    c_.commit();
    done_ = true;
}

void createEmptyDatabase(const std::string& path) {
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK)
        // Writing the header makes the file a database of its own right away.
        rc = sqlite3_exec(db, "PRAGMA user_version=0; VACUUM;", nullptr, nullptr, nullptr);
    std::string msg = explained(rc, db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        throw DbError(msg + ": " + path);
}

} // namespace gzgl
