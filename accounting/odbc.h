// A thin layer over unixODBC for the network form of the accounting system:
// one connection, statements with bound parameters, rows of text cells.
//
// Design note. Text crosses the driver as UTF-16 (SQL_C_WCHAR) in both
// directions and statements are prepared through the wide entry points, so
// Chinese names and summaries arrive unchanged whatever the process locale
// or the driver's narrow encoding. Every value of a statement is a bound
// parameter; the statement text itself holds only identifiers the program
// built. Every cell is read back as text (numbers in the server's decimal
// form) or Null, and the caller reads numbers from it. Logging in and every
// statement are limited in time, so a server that does not answer ends
// in an error, never a hang. A connection starts in autocommit mode; the
// writes of one transfer switch it off and end with commit() or
// rollback(), which switch it back on.
#pragma once

#include "accounting/store.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace gzgl::accounting::odbc {

// A failure reported by the driver manager or the driver: what() joins the
// diagnostic messages; states holds their SQLSTATEs in order.
class Error : public AccountingError {
public:
    Error(const std::string& message, std::vector<std::string> states)
        : AccountingError(message), states_(std::move(states)) {}
    const std::vector<std::string>& states() const { return states_; }
    bool hasState(const std::string& state) const;

private:
    std::vector<std::string> states_;
};

using Param = std::variant<int, double, std::string>;
using Cell = std::optional<std::string>;
using Row = std::vector<Cell>;

inline constexpr int kTimeoutSeconds = 10;

class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    Connection(Connection&& other) noexcept;
    Connection& operator=(Connection&& other) noexcept;

    // Connects with a full ODBC connection text (SQLDriverConnect, no
    // dialog), login and connection limited to timeoutSeconds. Throws Error.
    void open(const std::string& connectionText, int timeoutSeconds = kTimeoutSeconds);
    bool isOpen() const { return dbc_ != nullptr; }
    void close();

    // Runs a statement that answers rows; every cell as text or Null.
    std::vector<Row> query(const std::string& sql, const std::vector<Param>& params = {});
    // Runs a statement that answers no rows.
    void execute(const std::string& sql, const std::vector<Param>& params = {});

    void setAutocommit(bool on);
    void commit();
    void rollback();

private:
    void* env_ = nullptr;
    void* dbc_ = nullptr;
};

// UTF-8 to UTF-16 and back (invalid UTF-8 bytes become U+FFFD).
std::u16string toUtf16(const std::string& text);
std::string fromUtf16(const std::u16string& text);

// The keys of a connection text ("Driver=...;Server=...") in lower case,
// values in braces ("PWD={a;b}") skipped whole.
std::vector<std::string> connectionKeys(const std::string& text);

// A value for a connection text, in braces when it holds a character that
// would end or open one ("}" doubled inside the braces).
std::string connectionValue(const std::string& value);

} // namespace gzgl::accounting::odbc
