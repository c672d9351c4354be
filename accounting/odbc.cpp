#include "accounting/odbc.h"

#include <sql.h>
#include <sqlext.h>

#include <cctype>
#include <cstring>

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the driver manager's wide characters are UTF-16");

namespace gzgl::accounting::odbc {

namespace {

SQLWCHAR* wide(std::u16string& s) {
    return reinterpret_cast<SQLWCHAR*>(s.data());
}

// The diagnostics of a handle after a failed call, as one Error.
Error diagnostics(SQLSMALLINT type, SQLHANDLE handle, const std::string& fallback) {
    std::string message;
    std::vector<std::string> states;
    for (SQLSMALLINT i = 1; handle != nullptr; ++i) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLWCHAR text[1024] = {};
        SQLSMALLINT length = 0;
        const SQLRETURN rc = SQLGetDiagRecW(type, handle, i, state, &native, text, 1024, &length);
        if (!SQL_SUCCEEDED(rc))
            break;
        states.push_back(fromUtf16(reinterpret_cast<const char16_t*>(state)));
        const std::string part = fromUtf16(reinterpret_cast<const char16_t*>(text));
        if (!part.empty())
            message += (message.empty() ? "" : "；") + part;
    }
    return Error(message.empty() ? fallback : message, std::move(states));
}

void check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, const char* what) {
    if (!SQL_SUCCEEDED(rc))
        throw diagnostics(type, handle, what);
}

// A statement handle freed on every path.
class Statement {
public:
    explicit Statement(SQLHDBC dbc) {
        check(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &h_), SQL_HANDLE_DBC, dbc, "SQLAllocHandle");
        // A driver without query timeouts says so with a warning; the
        // login timeout still holds.
        SQLSetStmtAttr(h_, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(SQLULEN(kTimeoutSeconds)), 0);
    }
    ~Statement() { SQLFreeHandle(SQL_HANDLE_STMT, h_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void run(const std::string& sql, const std::vector<Param>& params) {
        std::u16string text = toUtf16(sql);
        check(SQLPrepareW(h_, wide(text), SQL_NTS), SQL_HANDLE_STMT, h_, "SQLPrepare");
        // The buffers stay in place until the statement has run.
        std::vector<SQLINTEGER> ints(params.size());
        std::vector<double> doubles(params.size());
        std::vector<std::u16string> texts(params.size());
        std::vector<SQLLEN> lengths(params.size());
        for (std::size_t i = 0; i < params.size(); ++i) {
            const SQLUSMALLINT n = static_cast<SQLUSMALLINT>(i + 1);
            SQLRETURN rc;
            if (const int* v = std::get_if<int>(&params[i])) {
                ints[i] = *v;
                rc = SQLBindParameter(h_, n, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0, &ints[i], 0,
                                      nullptr);
            } else if (const double* d = std::get_if<double>(&params[i])) {
                doubles[i] = *d;
                rc = SQLBindParameter(h_, n, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 0, 0, &doubles[i], 0,
                                      nullptr);
            } else {
                texts[i] = toUtf16(std::get<std::string>(params[i]));
                lengths[i] = static_cast<SQLLEN>(texts[i].size() * sizeof(char16_t));
                const SQLULEN size = texts[i].empty() ? 1 : texts[i].size();
                rc = SQLBindParameter(h_, n, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, size, 0,
                                      wide(texts[i]), lengths[i], &lengths[i]);
            }
            check(rc, SQL_HANDLE_STMT, h_, "SQLBindParameter");
        }
        const SQLRETURN rc = SQLExecute(h_);
        // An update or delete that touches no row answers SQL_NO_DATA.
        if (rc != SQL_NO_DATA)
            check(rc, SQL_HANDLE_STMT, h_, "SQLExecute");
    }

    std::vector<Row> rows() {
        SQLSMALLINT columns = 0;
        check(SQLNumResultCols(h_, &columns), SQL_HANDLE_STMT, h_, "SQLNumResultCols");
        std::vector<Row> out;
        for (;;) {
            const SQLRETURN rc = SQLFetch(h_);
            if (rc == SQL_NO_DATA)
                break;
            check(rc, SQL_HANDLE_STMT, h_, "SQLFetch");
            Row row;
            for (SQLUSMALLINT c = 1; c <= columns; ++c)
                row.push_back(cell(c));
            out.push_back(std::move(row));
        }
        return out;
    }

private:
    // One cell, read in pieces until the driver has no more of it.
    Cell cell(SQLUSMALLINT column) {
        std::u16string text;
        SQLWCHAR buffer[256];
        constexpr std::size_t capacity = sizeof(buffer) / sizeof(SQLWCHAR) - 1;
        for (;;) {
            SQLLEN indicator = 0;
            const SQLRETURN rc = SQLGetData(h_, column, SQL_C_WCHAR, buffer, sizeof(buffer), &indicator);
            if (rc == SQL_NO_DATA)
                break;
            check(rc, SQL_HANDLE_STMT, h_, "SQLGetData");
            if (indicator == SQL_NULL_DATA)
                return std::nullopt;
            const std::size_t got =
                indicator == SQL_NO_TOTAL
                    ? capacity
                    : std::min(capacity, static_cast<std::size_t>(indicator) / sizeof(SQLWCHAR));
            text.append(reinterpret_cast<const char16_t*>(buffer), got);
            if (rc == SQL_SUCCESS)
                break;
        }
        return fromUtf16(text);
    }

    SQLHSTMT h_ = nullptr;
};

} // namespace

bool Error::hasState(const std::string& state) const {
    for (const std::string& s : states_)
        if (s == state)
            return true;
    return false;
}

Connection::~Connection() {
    close();
}

Connection::Connection(Connection&& other) noexcept : env_(other.env_), dbc_(other.dbc_) {
    other.env_ = other.dbc_ = nullptr;
}

Connection& Connection::operator=(Connection&& other) noexcept {
    if (this != &other) {
        close();
        env_ = other.env_;
        dbc_ = other.dbc_;
        other.env_ = other.dbc_ = nullptr;
    }
    return *this;
}

void Connection::open(const std::string& connectionText, int timeoutSeconds) {
    close();
    SQLHENV env = nullptr;
    SQLHDBC dbc = nullptr;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)))
        throw Error("不能初始化ODBC驱动程序管理器", {});
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc))) {
        Error e = diagnostics(SQL_HANDLE_ENV, env, "SQLAllocHandle");
        SQLFreeHandle(SQL_HANDLE_ENV, env);
        throw e;
    }
    const auto seconds = reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(timeoutSeconds));
    SQLSetConnectAttr(dbc, SQL_ATTR_LOGIN_TIMEOUT, seconds, 0);
    SQLSetConnectAttr(dbc, SQL_ATTR_CONNECTION_TIMEOUT, seconds, 0);
    std::u16string text = toUtf16(connectionText);
    SQLWCHAR out[1024];
    SQLSMALLINT outLength = 0;
    const SQLRETURN rc =
        SQLDriverConnectW(dbc, nullptr, wide(text), SQL_NTS, out, 1024, &outLength, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
        Error e = diagnostics(SQL_HANDLE_DBC, dbc, "SQLDriverConnect");
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        SQLFreeHandle(SQL_HANDLE_ENV, env);
        throw e;
    }
    env_ = env;
    dbc_ = dbc;
}

void Connection::close() {
    if (dbc_) {
        SQLDisconnect(static_cast<SQLHDBC>(dbc_));
        SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    }
    if (env_)
        SQLFreeHandle(SQL_HANDLE_ENV, env_);
    env_ = dbc_ = nullptr;
}

std::vector<Row> Connection::query(const std::string& sql, const std::vector<Param>& params) {
    Statement st(dbc_);
    st.run(sql, params);
    return st.rows();
}

void Connection::execute(const std::string& sql, const std::vector<Param>& params) {
    Statement st(dbc_);
    st.run(sql, params);
}

void Connection::setAutocommit(bool on) {
    const auto value =
        reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF));
    check(SQLSetConnectAttr(dbc_, SQL_ATTR_AUTOCOMMIT, value, 0), SQL_HANDLE_DBC, dbc_, "SQLSetConnectAttr");
}

void Connection::commit() {
    check(SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_COMMIT), SQL_HANDLE_DBC, dbc_, "SQLEndTran");
}

void Connection::rollback() {
    check(SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_ROLLBACK), SQL_HANDLE_DBC, dbc_, "SQLEndTran");
}

std::u16string toUtf16(const std::string& text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        char32_t cp = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
        bool valid = n != 0 && i + n <= text.size();
        for (std::size_t k = 1; valid && k < n; ++k) {
            const unsigned char cc = static_cast<unsigned char>(text[i + k]);
            valid = (cc >> 6) == 2;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (!valid || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        i += n;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::string fromUtf16(const std::u16string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (cp >= 0xD800 && cp <= 0xDFFF)
            cp = 0xFFFD;
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::vector<std::string> connectionKeys(const std::string& text) {
    std::vector<std::string> keys;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t eq = text.find('=', i);
        const std::size_t semi = text.find(';', i);
        if (eq == std::string::npos || (semi != std::string::npos && semi < eq)) {
            if (semi == std::string::npos)
                break;
            i = semi + 1; // a piece without "=" names no key
            continue;
        }
        std::string key;
        for (std::size_t k = i; k < eq; ++k)
            if (!std::isspace(static_cast<unsigned char>(text[k])))
                key.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(text[k]))));
        keys.push_back(key);
        i = eq + 1;
        while (i < text.size() && text[i] == ' ')
            ++i;
        if (i < text.size() && text[i] == '{') {
            // A braced value ends at a "}" that is not doubled.
            for (++i; i < text.size(); ++i) {
                if (text[i] == '}') {
                    if (i + 1 < text.size() && text[i + 1] == '}')
                        ++i;
                    else
                        break;
                }
            }
        }
        const std::size_t next = text.find(';', i);
        if (next == std::string::npos)
            break;
        i = next + 1;
    }
    return keys;
}

std::string connectionValue(const std::string& value) {
    if (value.find_first_of(";{}= ") == std::string::npos && !value.empty())
        return value;
    std::string out = "{";
    for (char ch : value) {
        out.push_back(ch);
        if (ch == '}')
            out.push_back('}');
    }
    return out + "}";
}

} // namespace gzgl::accounting::odbc
