#include "calc/pubvar.h"

#include "core/schema.h"
#include "core/text.h"

#include <algorithm>

namespace gzgl::calc {

namespace {

std::string table(Session& s, const char* suffix) { return periodTable(s.taskPrefix(), suffix); }

std::string upper(std::string_view t) {
    std::string u(t);
    std::transform(u.begin(), u.end(), u.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return u;
}

// Employee numbers compare as the text columns do: without regard to case.
std::string employeeKey(std::string_view empNo) { return upper(trim(empNo)); }

bool isMarker(const Value& v) { return v.isNull() || trim(v.toString()) == "-9999"; }

bool hasDataColumn(Session& s, const std::string& code) {
    for (const std::string& c : s.taskConn.columns(table(s, "Data")))
        if (upper(c) == code)
            return true;
    return false;
}

// Splits an F_NotCalc list at every comma.
std::set<std::string> listedCodes(const std::string& list) {
    std::set<std::string> out;
    std::size_t from = 0;
    while (from <= list.size()) {
        const auto comma = std::min(list.find(',', from), list.size());
        out.insert(list.substr(from, comma - from));
        from = comma + 1;
    }
    return out;
}

bool employeeHasListColumn(Session& s) {
    for (const std::string& c : s.taskConn.columns(table(s, "Employee")))
        if (upper(c) == "F_NOTCALC")
            return true;
    return false;
}

} // namespace

std::string SetPrecisionFormat(Session& s, std::string_view codeOrName) {
    const std::string arg = trim(codeOrName);
    const bool byCode = arg.size() == 4 && arg[0] == 'F';
    const Value prec = s.taskConn.scalar("Select F_Prec from " + table(s, "Item") +
                                             (byCode ? " where F_Code=?" : " where F_Name=?"),
                                         {arg});
    const auto n = prec.isNull() ? 0 : prec.toInt();
    return n > 0 ? "#0." + std::string(static_cast<std::size_t>(n), '0') : "#0";
}

bool ItemHasFormula(Session& s, std::string_view code) {
    if (code == "FFFF" || code == "FFFE" || code == "FFFD")
        return false;
    return !s.taskConn.query("Select F_Code from " + table(s, "Formula") + " where F_Code=?", {std::string(code)})
                .empty();
}

// The employee's value of an item: nullopt when there is no column, no row,
// a Null or the marker -9999.
static std::optional<std::string> storedValueOf(Session& s, std::string_view empNo, std::string_view code) {
    const std::string c = upper(trim(code));
    if (!isItemCode(c) || !hasDataColumn(s, c))
        return std::nullopt;
    const Recordset rs =
        s.taskConn.query("select " + c + " from " + table(s, "Data") + " where F_EmpNo = ?", {trim(empNo)});
    if (rs.empty() || isMarker(rs.row(0)[0]))
        return std::nullopt;
    return trim(rs.row(0)[0].toString());
}

std::string GetStoredValue(Session& s, std::string_view empNo, std::string_view code) {
    return storedValueOf(s, empNo, code).value_or("");
}

bool HasStoredValue(Session& s, std::string_view empNo, std::string_view code) {
    return storedValueOf(s, empNo, code).has_value();
}

bool IsItemListed(Session& s, std::string_view empNo, std::string_view code) {
    if (!employeeHasListColumn(s))
        return false;
    const Recordset rs =
        s.taskConn.query("select F_NotCalc from " + table(s, "Employee") + " where F_EmpNo = ?", {trim(empNo)});
    if (rs.empty() || rs.row(0)[0].isNull())
        return false;
    return listedCodes(rs.row(0)[0].toString()).count(trim(code)) > 0;
}

bool DirectExceptions::hasStoredValue(const std::string& empNo, const std::string& code) {
    return HasStoredValue(s_, empNo, code);
}
std::string DirectExceptions::storedValue(const std::string& empNo, const std::string& code) {
    return GetStoredValue(s_, empNo, code);
}
bool DirectExceptions::isListed(const std::string& empNo, const std::string& code) {
    return IsItemListed(s_, empNo, code);
}

std::optional<std::string> CachedExceptions::stored(const std::string& empNo, const std::string& code) {
    const std::string c = upper(trim(code));
    if (!columnsRead_) {
        for (const std::string& col : s_.taskConn.columns(table(s_, "Data")))
            dataColumns_.insert(upper(col));
        columnsRead_ = true;
    }
    if (!isItemCode(c) || !dataColumns_.count(c))
        return std::nullopt;
    auto it = stored_.find(c);
    if (it == stored_.end()) {
        std::map<std::string, std::optional<std::string>> values;
        const Recordset rs = s_.taskConn.query("select F_EmpNo," + c + " from " + table(s_, "Data"));
        for (std::size_t i = 0; i < rs.size(); ++i) {
            const Value& v = rs.row(i)[1];
            // The first row of an employee is the one a lookup by number finds.
            values.try_emplace(employeeKey(rs.row(i)[0].toString()),
                               isMarker(v) ? std::nullopt : std::optional<std::string>(trim(v.toString())));
        }
        it = stored_.emplace(c, std::move(values)).first;
    }
    const auto found = it->second.find(employeeKey(empNo));
    return found == it->second.end() ? std::nullopt : found->second;
}

std::string CachedExceptions::storedValue(const std::string& empNo, const std::string& code) {
    return stored(empNo, code).value_or("");
}

bool CachedExceptions::hasStoredValue(const std::string& empNo, const std::string& code) {
    return stored(empNo, code).has_value();
}

bool CachedExceptions::isListed(const std::string& empNo, const std::string& code) {
    if (!listsRead_) {
        listsRead_ = true;
        if (employeeHasListColumn(s_)) {
            const Recordset rs = s_.taskConn.query("select F_EmpNo,F_NotCalc from " + table(s_, "Employee"));
            for (std::size_t i = 0; i < rs.size(); ++i) {
                const Value& list = rs.row(i)[1];
                lists_.try_emplace(employeeKey(rs.row(i)[0].toString()),
                                   list.isNull() ? std::set<std::string>() : listedCodes(list.toString()));
            }
        }
    }
    const auto it = lists_.find(employeeKey(empNo));
    return it != lists_.end() && it->second.count(trim(code)) > 0;
}

} // namespace gzgl::calc
