#include "calc/pubvar.h"

#include "calc/numformat.h"

#include "core/schema.h"
#include "core/text.h"

#include <algorithm>

namespace gzgl::calc {

namespace {

std::string table(Session& s, const char* suffix) { return periodTable(s.taskPrefix(), suffix); }

// Employee numbers compare as the text columns do: without regard to case.
std::string employeeKey(std::string_view empNo) { return upperAscii(trim(empNo)); }

bool isMarker(const Value& v) { return v.isNull() || trim(v.toString()) == "-9999"; }

bool hasDataColumn(Session& s, const std::string& code) { return s.taskConn.hasColumn(table(s, "Data"), code); }

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

bool employeeHasListColumn(Session& s) { return s.taskConn.hasColumn(table(s, "Employee"), "F_NotCalc"); }

} // namespace

std::string SetPrecisionFormat(Session& s, std::string_view codeOrName) {
    const std::string arg = trim(codeOrName);
    const bool byCode = arg.size() == 4 && arg[0] == 'F';
    const Value prec = s.taskConn.scalar("Select F_Prec from " + table(s, "Item") +
                                             (byCode ? " where F_Code=?" : " where F_Name=?"),
                                         {arg});
    const auto n = prec.isNull() ? 0 : prec.toInt();
    return precisionPattern(static_cast<int>(std::clamp<std::int64_t>(n, 0, 64)));
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
    const std::string c = upperAscii(trim(code));
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

Exceptions::Exceptions(Session& s, std::optional<std::string> onlyEmpNo) : s_(s), only_(std::move(onlyEmpNo)) {}

void Exceptions::readEmployees() {
    read_ = true;
    Params key;
    std::string where;
    if (only_) {
        where = " where F_EmpNo = ?";
        key.push_back(trim(*only_));
    }
    // The employee numbers of the data rows; "select *" also names the columns.
    const Recordset data = s_.taskConn.query(
        (only_ ? "select * from " : "select F_EmpNo from ") + table(s_, "Data") + where + " order by rowid", key);
    for (const std::string& c : only_ ? data.fields() : s_.taskConn.columns(table(s_, "Data")))
        dataColumns_.insert(upperAscii(c));
    const auto empField = data.fieldIndex("F_EmpNo");
    for (std::size_t i = 0; empField && i < data.size(); ++i)
        dataIndex_.try_emplace(employeeKey(data.row(i)[*empField].toString()), static_cast<int>(i));
    if (only_) {
        // The one employee's values are all at hand already.
        for (std::size_t f = 0; f < data.fields().size(); ++f) {
            Values v;
            for (std::size_t i = 0; i < data.size(); ++i) {
                const Value& x = data.row(i)[f];
                v.push_back(isMarker(x) ? std::nullopt : std::optional<std::string>(trim(x.toString())));
            }
            values_.try_emplace(upperAscii(data.fields()[f]), std::move(v));
        }
    }
    const Recordset emp = s_.taskConn.query("select * from " + table(s_, "Employee") +
                                                (only_ ? where + " order by rowid" : std::string(" where 1=2")),
                                            key);
    if (!emp.fieldIndex("F_NotCalc"))
        return;
    const Recordset lists =
        only_ ? emp : s_.taskConn.query("select F_EmpNo,F_NotCalc from " + table(s_, "Employee") + " order by rowid");
    const std::size_t noField = *lists.fieldIndex("F_EmpNo"), listField = *lists.fieldIndex("F_NotCalc");
    for (std::size_t i = 0; i < lists.size(); ++i) {
        const Value& list = lists.row(i)[listField];
        lists_.try_emplace(employeeKey(lists.row(i)[noField].toString()),
                           list.isNull() ? std::set<std::string>() : listedCodes(list.toString()));
    }
}

void Exceptions::prefetch(const std::vector<std::string>& codes) {
    if (!read_)
        readEmployees();
    std::vector<std::string> wanted;
    for (const std::string& code : codes) {
        const std::string c = upperAscii(trim(code));
        if (isItemCode(c) && dataColumns_.count(c) && !values_.count(c) &&
            std::find(wanted.begin(), wanted.end(), c) == wanted.end())
            wanted.push_back(c);
    }
    if (wanted.empty())
        return;
    std::string columns;
    for (const std::string& c : wanted)
        columns += (columns.empty() ? "" : ",") + c;
    const Recordset rs = s_.taskConn.query("select " + columns + " from " + table(s_, "Data") + " order by rowid");
    for (std::size_t k = 0; k < wanted.size(); ++k) {
        Values v;
        v.reserve(rs.size());
        for (std::size_t i = 0; i < rs.size(); ++i) {
            const Value& x = rs.row(i)[k];
            v.push_back(isMarker(x) ? std::nullopt : std::optional<std::string>(trim(x.toString())));
        }
        values_.emplace(wanted[k], std::move(v));
    }
}

const Exceptions::Values* Exceptions::valuesOf(const std::string& code) {
    const std::string c = upperAscii(trim(code));
    if (!isItemCode(c) || !dataColumns_.count(c))
        return nullptr;
    auto it = values_.find(c);
    if (it == values_.end()) {
        const Recordset rs = s_.taskConn.query("select " + c + " from " + table(s_, "Data") + " order by rowid");
        Values v;
        v.reserve(rs.size());
        for (std::size_t i = 0; i < rs.size(); ++i) {
            const Value& x = rs.row(i)[0];
            v.push_back(isMarker(x) ? std::nullopt : std::optional<std::string>(trim(x.toString())));
        }
        it = values_.emplace(c, std::move(v)).first;
    }
    return &it->second;
}

const std::vector<int>& Exceptions::rowEmployees(const WorkGrid& grid, int first, int last) {
    if (mappedGrid_ != &grid || mappedFirst_ != first || mappedLast_ != last) {
        mappedGrid_ = &grid;
        mappedFirst_ = first;
        mappedLast_ = last;
        rowData_.clear();
        rowLists_.clear();
        for (int r = first; r <= last; ++r) {
            const std::string key = employeeKey(grid.cell(r, 0));
            const auto d = dataIndex_.find(key);
            rowData_.push_back(d == dataIndex_.end() ? -1 : d->second);
            const auto l = lists_.find(key);
            rowLists_.push_back(l == lists_.end() ? nullptr : &l->second);
        }
    }
    return rowData_;
}

void Exceptions::lookUp(const WorkGrid& grid, int first, int last, const std::string& code,
                        std::vector<std::optional<std::string>>& stored, std::vector<char>& listed) {
    if (!read_)
        readEmployees();
    const std::vector<int>& rows = rowEmployees(grid, first, last);
    const Values* values = valuesOf(code);
    const std::string listedCode = trim(code);
    stored.assign(rows.size(), std::nullopt);
    listed.assign(rows.size(), 0);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (values && rows[i] >= 0 && static_cast<std::size_t>(rows[i]) < values->size())
            stored[i] = (*values)[static_cast<std::size_t>(rows[i])];
        listed[i] = rowLists_[i] && rowLists_[i]->count(listedCode) ? 1 : 0;
    }
}

} // namespace gzgl::calc
