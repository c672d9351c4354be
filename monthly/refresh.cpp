#include "monthly/refresh.h"

#include "core/schema.h"
#include "core/text.h"

#include <set>

namespace gzgl::monthly {

void RefreshMonthData(Session& s, FixedItems which) {
    const std::string prefix = s.taskPrefix();
    const std::string data = periodTable(prefix, "Data");
    const std::string employee = periodTable(prefix, "Employee");
    std::set<std::string> dataColumns;
    for (const std::string& c : s.taskConn.columns(data))
        dataColumns.insert(upperAscii(c));

    Transaction t(s.taskConn);
    s.taskConn.execute("insert into " + data + " (F_EmpNo) select F_EmpNo from " + employee +
                       " where F_EmpNo Not in (Select F_EmpNo from " + data + " where F_EmpNo is not null)");
    s.taskConn.execute("Delete from " + data + " where F_EmpNo Not in (Select F_EmpNo from " + employee +
                       " where F_EmpNo is not null)");
    std::string sql = "select F_Code,F_ChgValue from " + periodTable(prefix, "Item") + " where F_Change =1";
    if (which == FixedItems::WithoutFormula)
        sql += " and F_Code not in (select F_Code from " + periodTable(prefix, "Formula") +
               " where F_Code is not null)";
    const Recordset items = s.taskConn.query(sql);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string code = upperAscii(trim(items.row(i)[0].toString()));
        if (!isItemCode(code) || !dataColumns.count(code))
            continue;
        const Value& v = items.row(i)[1];
        s.taskConn.execute("Update " + data + " set " + code + "=?", {Value(v.isNull() ? 0.0 : v.toDouble())});
    }
    t.commit();
}

} // namespace gzgl::monthly
