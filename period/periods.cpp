#include "period/periods.h"

#include "core/schema.h"
#include "core/text.h"

#include <algorithm>

namespace gzgl::period {

const std::vector<std::string>& copyOrder() {
    static const std::vector<std::string> order = {
        "_Depart", "_DepType", "_EmpType", "_Employee", "_Item",      "_TaxRate", "_Formula",
        "_Data",   "_PrnPrj",  "_PrnHead", "_PrnFoot",  "_StdPrnCol", "_ZZ"};
    return order;
}

std::string nextPeriod(const std::string& period) {
    int year = std::stoi(period.substr(0, 4));
    int month = std::stoi(period.substr(4, 2)) + 1;
    if (month > 12) {
        month = 1;
        ++year;
    }
    return zeroPad(year, 4) + zeroPad(month, 2);
}

std::string periodLabel(const std::string& period) {
    if (period.size() < 6)
        return period;
    return period.substr(0, 4) + "年" + period.substr(4, 2) + "月";
}

bool tableSetComplete(Connection& task, const std::string& taskID, const std::string& period) {
    const std::string prefix = makeTaskPrefix(taskID, period);
    return std::all_of(copyOrder().begin(), copyOrder().end(),
                       [&](const std::string& suffix) { return task.hasTable(periodTable(prefix, suffix)); });
}

std::vector<PeriodRow> listPeriods(Session& s) {
    std::vector<PeriodRow> out;
    const Recordset rs =
        s.taskConn.query("Select F_Time,F_ZZ from GZRecord where F_ID=? Order By F_Time", {s.curTaskID});
    for (std::size_t i = 0; i < rs.size(); ++i) {
        PeriodRow r;
        r.period = trim(rs.at(i, "F_Time").toString());
        r.closed = trim(rs.at(i, "F_ZZ").toString()) == "1";
        r.complete = tableSetComplete(s.taskConn, s.curTaskID, r.period);
        out.push_back(r);
    }
    return out;
}

SystemAttached::SystemAttached(Session& s) : s_(s) {
    s.taskConn.attach(s.sysDbPath, "sys");
}

SystemAttached::~SystemAttached() {
    try {
        s_.taskConn.execute("DETACH DATABASE sys");
    } catch (const DbError&) {
        // Still attached only if a statement is open; closing the task
        // connection detaches it in any case.
    }
}

namespace {

// The text of a stored CREATE statement from its first "(" on.
std::string fromParen(const std::string& sql) {
    const std::size_t p = sql.find('(');
    if (p == std::string::npos)
        throw DbError("不能复制表定义: " + sql);
    return sql.substr(p);
}

bool startsWithUnique(const std::string& sql) {
    std::string head = upperAscii(sql.substr(0, 20));
    return head.find("UNIQUE") != std::string::npos;
}

} // namespace

void copyTable(Connection& c, const std::string& from, const std::string& to) {
    const Value table =
        c.scalar("SELECT sql FROM sqlite_master WHERE type='table' AND name=? COLLATE NOCASE", {from});
    if (table.isNull())
        throw DbError("没有数据表 " + from);
    c.execute("CREATE TABLE " + to + fromParen(table.toString()));
    const Recordset idx = c.query(
        "SELECT sql FROM sqlite_master WHERE type='index' AND tbl_name=? COLLATE NOCASE AND sql IS NOT NULL",
        {from});
    for (std::size_t i = 0; i < idx.size(); ++i) {
        const std::string sql = idx.row(i)[0].toString();
        // The index is on the table's own columns: only its names change.
        const std::string cols = sql.substr(sql.rfind('('));
        c.execute(std::string(startsWithUnique(sql) ? "CREATE UNIQUE INDEX " : "CREATE INDEX ") + "IX_" + to +
                  (idx.size() > 1 ? "_" + std::to_string(i) : std::string()) + " ON " + to + cols);
    }
    c.execute("INSERT INTO " + to + " SELECT * FROM " + from);
}

void dropTableSet(Connection& c, const std::string& taskID, const std::string& period) {
    const std::string prefix = makeTaskPrefix(taskID, period);
    for (const std::string& suffix : copyOrder())
        c.execute("DROP TABLE " + periodTable(prefix, suffix));
}

void reclaimSpace(Connection& c) {
    try {
        c.execute("VACUUM");
    } catch (const DbError&) {
        // The space stays in the file's free list and is used again.
    }
}

} // namespace gzgl::period
