#include "period/backup_support.h"

#include "core/text.h"
#include "period/periods.h"

#include <sqlite3.h>
#include <strings.h>

#include <fstream>

namespace gzgl::period::detail {

void openUntrusted(Connection& c, const std::string& path) {
    char header[16] = {};
    std::ifstream in(path, std::ios::binary);
    if (!in.read(header, sizeof header) ||
        std::string_view(header, 16) != std::string_view("SQLite format 3\0", 16))
        throw BadData("压缩文件中不是数据库文件");
    try {
        c.open(path);
        sqlite3_db_config(c.handle(), SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
        sqlite3_db_config(c.handle(), SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
        const Recordset rs = c.query("PRAGMA quick_check");
        if (rs.size() != 1 || rs.row(0)[0].toString() != "ok")
            throw BadData("数据库文件已损坏");
    } catch (const DbError& e) {
        c.close();
        throw BadData(std::string("数据库文件已损坏：") + e.what());
    } catch (const BadData&) {
        c.close();
        throw;
    }
}

void snapshotTo(Connection& c, const std::string& target) {
    c.execute("VACUUM INTO ?", {target});
}

std::optional<PeriodTableName> parsePeriodTable(const std::string& name) {
    // "ID" + four digits + "_" + six digits + "_" + suffix
    if (name.size() < 15 || strncasecmp(name.c_str(), "ID", 2) != 0 || name[6] != '_' || name[13] != '_')
        return std::nullopt;
    const std::string id = name.substr(2, 4);
    const std::string period = name.substr(7, 6);
    if (!allDigits(id) || !validPeriod(period))
        return std::nullopt;
    std::string rest = "_";
    rest.append(name, 14);
    for (const std::string& suffix : copyOrder())
        if (strcasecmp(suffix.c_str(), rest.c_str()) == 0)
            return PeriodTableName{id, period, suffix};
    return std::nullopt;
}

bool validPeriod(const std::string& period) {
    if (period.size() != 6 || !allDigits(period))
        return false;
    const int year = std::stoi(period.substr(0, 4));
    const int month = std::stoi(period.substr(4, 2));
    return year >= 1000 && month >= 1 && month <= 12;
}

bool plainIdentifier(std::string_view name) {
    if (name.empty())
        return false;
    for (char ch : name)
        if (!((ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || ch == '_'))
            return false;
    return true;
}

void copyRowsByName(Connection& c, const std::string& fromSchema, const std::string& toSchema,
                    const std::string& table) {
    const std::vector<std::string> from = c.columns(table, fromSchema);
    std::string list;
    for (const std::string& col : c.columns(table, toSchema)) {
        if (!plainIdentifier(col))
            continue;
        for (const std::string& f : from)
            if (strcasecmp(f.c_str(), col.c_str()) == 0) {
                list += (list.empty() ? "" : ",") + col;
                break;
            }
    }
    if (list.empty())
        throw DbError("没有可以复制的列: " + table);
    c.execute("INSERT INTO " + toSchema + "." + table + "(" + list + ") SELECT " + list + " FROM " +
              fromSchema + "." + table);
}

std::string quotedName(std::string_view name) {
    std::string out = "\"";
    for (char ch : name) {
        if (ch == '"')
            out += '"';
        out += ch;
    }
    return out + "\"";
}

} // namespace gzgl::period::detail
