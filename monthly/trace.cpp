#include "monthly/trace.h"

#include "core/startup.h"
#include "core/tasks.h"
#include "core/text.h"
#include "monthly/workgrid_load.h"

namespace gzgl::monthly {

std::map<std::string, std::string> itemNames(Session& s) {
    std::map<std::string, std::string> names;
    for (const ItemColumn& c : loadItemColumns(s))
        names[trim(c.code)] = trim(c.name);
    return names;
}

std::string traceHeading(Session& s, const calc::EmployeeTrace& t, bool exceptions) {
    return "员工 " + t.empNo + " " + t.name + " 的计算过程（" + periodCaption(s.curPeriod) + "）\n扣零方式：" +
           roundOffText(s.roundOffMode) + "；个人项目例外（不计算项目、个人数值）：" + (exceptions ? "启用" : "不启用");
}

TraceResult traceEmployee(Session& s, const std::string& empNo) {
    TraceResult r;
    const std::string no = trim(empNo);
    GridFilter filter;
    filter.empNo = no;
    filter.order = GridFilter::Order::EmployeeNo;
    const calc::WorkGrid grid = no.empty() ? calc::WorkGrid() : loadWorkGrid(s, filter, true).grid;
    int row = -1;
    for (int i = calc::kFirstEmployeeRow; i < grid.rows(); ++i)
        if (trim(grid.cell(i, 0)) == no)
            row = i;
    if (row < 0) {
        r.outcome = Outcome::refuse("查无此人！", s.productShortName, Icon::Exclamation, "txtCode");
        return r;
    }
    const bool exceptions = IsNotCalcOn(s);
    const std::vector<calc::FormulaLine> lines = calc::loadFormulaLines(s);
    calc::Exceptions ex(s, no);
    r.trace = calc::traceRow(lines, calc::rowCopy(grid, row), {s.roundOffMode, exceptions}, exceptions ? &ex : nullptr);
    r.text = calc::traceText(r.trace, itemNames(s), traceHeading(s, r.trace, exceptions));
    r.outcome = Outcome::success();
    return r;
}

} // namespace gzgl::monthly
