#include "reports/months.h"

#include "core/connection.h"
#include "period/periods.h"

namespace gzgl::reports {

PeriodScope::PeriodScope(Session& s, const std::string& period) : s_(s), saved_(s.curPeriod) { s_.curPeriod = period; }

PeriodScope::~PeriodScope() { s_.curPeriod = saved_; }

std::vector<std::string> monthsBetween(const std::string& first, const std::string& last) {
    std::vector<std::string> out;
    if (first.size() != 6 || last.size() != 6 || first > last)
        return out;
    for (std::string p = first; p <= last; p = period::nextPeriod(p)) {
        out.push_back(p);
        if (out.size() > 12 * 9000) // a guard against text that is no period
            break;
    }
    return out;
}

Outcome checkMonthRange(Session& s, std::string& first, std::string& last, const RangeMessages& messages) {
    std::string start, current;
    try {
        const Recordset rs = s.sysConn.query("Select F_QYRQ ,F_DQRQ from GZSysInfo where F_ID=?", {s.curTaskID});
        if (rs.size() == 0)
            return Outcome::refuse("数据库访问出错。请维护。", "提示", Icon::Exclamation);
        start = rs.at(0, "F_QYRQ").toString();
        current = rs.at(0, "F_DQRQ").toString();
    } catch (const DbError&) {
        return Outcome::refuse("数据库访问出错。请维护。", "提示", Icon::Exclamation);
    }
    for (const std::string* month : {&first, &last}) {
        if (*month < start)
            return Outcome::refuse(messages.beforeStart, "提示", Icon::Exclamation);
        if (*month > current)
            return Outcome::refuse(messages.afterCurrent, "提示", Icon::Exclamation);
    }
    if (first > last)
        std::swap(first, last);
    for (const std::string& month : monthsBetween(first, last))
        if (!period::tableSetComplete(s.taskConn, s.curTaskID, month))
            return Outcome::refuse(period::periodLabel(month) + "的工资数据已被清除或不存在！", "提示",
                                   Icon::Exclamation);
    return Outcome::success();
}

} // namespace gzgl::reports
