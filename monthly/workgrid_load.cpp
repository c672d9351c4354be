#include "monthly/workgrid_load.h"

#include "base/tree.h"
#include "calc/numformat.h"
#include "core/numtext.h"
#include "core/schema.h"
#include "items/items.h"
#include "core/text.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace gzgl::monthly {

namespace {

// The account items' employee fields are selected after code and name,
// in the order of items::accountColumns().
constexpr std::size_t kFirstAccountField = 2;

int accountIndex(const std::string& code) {
    const auto& columns = items::accountColumns();
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (code == columns[i].first)
            return static_cast<int>(i);
    return -1;
}

bool noValue(const Value& v) {
    if (v.isNull())
        return true;
    // Only a number at -9999 can have the marker's text; the others are
    // told apart without writing their text.
    if (!v.isText() && std::abs(v.toDouble() + 9999) > 1e-6)
        return false;
    return trim(v.toString()) == "-9999";
}

} // namespace

std::string ItemColumn::precisionFormat() const { return precisionPattern(prec); }

std::vector<ItemColumn> loadItemColumns(Session& s) {
    const Recordset rs = s.taskConn.query(
        "Select F_Name,F_Type,F_Show,F_Width,F_Code,F_Prec,F_Change,F_ChgValue From " +
        periodTable(s.taskPrefix(), "Item") + " Order By F_ID");
    std::vector<ItemColumn> items;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto& row = rs.row(i);
        ItemColumn c;
        c.name = trim(row[0].toString());
        c.type = trim(row[1].toString());
        c.show = row[2].toInt() == 1;
        c.width = static_cast<int>(row[3].toInt());
        c.code = trim(row[4].toString());
        c.prec = static_cast<int>(std::clamp<std::int64_t>(row[5].toInt(), 0, 15));
        c.fixedValue = row[6].toInt() == 1;
        c.fixedAmount = row[7].toDouble();
        items.push_back(std::move(c));
    }
    return items;
}

LoadedGrid loadWorkGrid(Session& s, const GridFilter& filter, bool asIfOpened) {
    const std::string prefix = s.taskPrefix();
    LoadedGrid out;
    out.columns = loadItemColumns(s);
    std::vector<std::string> codes, captions;
    for (const ItemColumn& c : out.columns) {
        codes.push_back(c.code);
        captions.push_back(c.name);
    }
    out.grid = calc::WorkGrid(codes, captions);

    std::set<std::string> dataColumns;
    for (const std::string& c : s.taskConn.columns(periodTable(prefix, "Data")))
        dataColumns.insert(upperAscii(c));
    std::set<std::string> withFormula;
    if (asIfOpened) {
        const Recordset f = s.taskConn.query("Select F_Code from " + periodTable(prefix, "Formula"));
        for (std::size_t i = 0; i < f.size(); ++i)
            withFormula.insert(upperAscii(trim(f.row(i)[0].toString())));
    }

    // The data columns are selected by name, so only checked codes of
    // existing columns are spliced in.
    std::string select = "Select b.F_EmpNo,b.F_EmpName,b.F_CID,b.F_AccNo,b.F_OldNo,b.F_HouseNo,b.F_OtherNo1,b.F_OtherNo2";
    std::map<std::string, std::size_t> fieldOf;
    std::size_t next = 8;
    for (const ItemColumn& c : out.columns) {
        const std::string code = upperAscii(c.code);
        if (isItemCode(code) && dataColumns.count(code) && !fieldOf.count(code)) {
            select += ",a." + code;
            fieldOf[code] = next++;
        }
    }
    std::string sql = select + " from " + periodTable(prefix, "Employee") + " b " + (asIfOpened ? "left join " : "join ") +
                      periodTable(prefix, "Data") + " a on a.F_EmpNo=b.F_EmpNo where 1=1";
    // Each filter is a prefix, bound as a LIKE pattern with its wildcards
    // escaped.
    std::vector<std::string> patterns;
    const std::pair<const char*, const std::string*> filters[] = {
        {" And b.F_DepNo like ? Escape '\\'", &filter.depNo},
        {" And b.F_EmpNo like ? Escape '\\'", &filter.empNo},
        {" And b.F_EmpName like ? Escape '\\'", &filter.empName},
    };
    for (const auto& [clause, value] : filters)
        if (!value->empty()) {
            sql += clause;
            patterns.push_back(base::likeEscaped(*value) + "%");
        }
    if (!filter.depCodes.empty()) {
        std::string any;
        for (const std::string& code : filter.depCodes) {
            any += (any.empty() ? "" : " or ") + std::string("b.F_DepNo like ? Escape '\\'");
            patterns.push_back(base::likeEscaped(code) + "%");
        }
        // F_DepNo may be Null: such an employee is under no listed code.
        sql += filter.depInclude ? " And (" + any + ")" : " And not coalesce(" + any + ",0)";
    }
    switch (filter.order) {
    case GridFilter::Order::Department: sql += " order by b.F_DepNo,b.F_SortNo,b.F_EmpNo"; break;
    case GridFilter::Order::Account: sql += " order by b.F_AccNo,b.F_EmpNo"; break;
    case GridFilter::Order::EmployeeNo: sql += " order by b.F_EmpNo"; break;
    }
    const Recordset rs = s.taskConn.query(sql, Params(patterns.begin(), patterns.end()));

    // Where each column's text comes from, settled once for all rows: a
    // field of the row (employee or data), a fixed text, or nothing.
    struct Source {
        int field = -1;        // index into the row, -1 for none
        bool raw = false;      // employee field: its text as it stands
        bool fixed = false;    // the fixed value shown as if opened
        std::string fixedText;
        bool number = false;   // a number item, written with pattern
        NumberPattern pattern;
    };
    calc::WorkGrid& g = out.grid;
    std::vector<Source> sources(static_cast<std::size_t>(g.cols()));
    for (int col = 0; col < g.cols(); ++col) {
        const ItemColumn& item = out.columns[static_cast<std::size_t>(col)];
        const std::string code = upperAscii(item.code);
        Source& src = sources[static_cast<std::size_t>(col)];
        if (code == "F001" || code == "F002") {
            src.field = code == "F001" ? 0 : 1;
            src.raw = true;
        } else if (const int acc = accountIndex(code); acc >= 0) {
            src.field = static_cast<int>(kFirstAccountField) + acc;
            src.raw = true;
        } else if (auto f = fieldOf.find(code); f != fieldOf.end()) {
            src.field = static_cast<int>(f->second);
            src.number = item.type == "数字";
            src.pattern = parsePattern(item.precisionFormat());
            if (asIfOpened && item.fixedValue && !withFormula.count(code)) {
                src.fixed = true;
                src.fixedText = item.type == "数字" ? formatNumber(item.fixedAmount, item.precisionFormat())
                                                   : decimalText(item.fixedAmount);
            }
        }
    }
    g.reserveRows(static_cast<int>(rs.size()));
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto& row = rs.row(i);
        const int r = g.addRow();
        for (int col = 0; col < g.cols(); ++col) {
            const Source& src = sources[static_cast<std::size_t>(col)];
            if (src.field < 0)
                continue;
            std::string& cell = g.cell(r, col);
            const Value& v = row[static_cast<std::size_t>(src.field)];
            if (src.raw)
                cell = v.toString();
            else if (src.fixed)
                cell = src.fixedText;
            else if (!noValue(v))
                cell = src.number ? formatNumber(v.toDouble(), src.pattern) : v.toString();
        }
    }
    return out;
}

} // namespace gzgl::monthly
