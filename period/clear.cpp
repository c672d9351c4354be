#include "period/clear.h"

#include "core/schema.h"
#include "core/text.h"
#include "period/periods.h"

namespace gzgl::period {

ClearStart openClear(Session& s) {
    const Value min = s.taskConn.scalar("Select min(F_Time) from GZRecord Where F_ID=?", {s.curTaskID});
    const std::string earliest = trim(min.toString());
    if (min.isNull() || earliest.size() != 6 || !allDigits(earliest))
        return {};
    return {true, earliest.substr(0, 4), std::to_string(std::stoi(earliest.substr(4, 2)))};
}

Outcome clearPeriod(Session& s, const std::string& year, const std::string& month) {
    const std::string& title = s.productShortName;
    const std::string y = trim(year);
    const std::string m = trim(month);
    const std::optional<std::string> typed = periodOf(y, m);
    if (!typed)
        return Outcome::refuse("时间不正确！", title, Icon::Exclamation, "txtYear");
    const std::string x = *typed;
    if (x == s.curPeriod)
        return Outcome::refuse("当前月份的数据不能清除", title, Icon::Exclamation, "txtYear");
    // A period typed by hand that is not recorded, or whose set is not
    // whole, is refused before anything is dropped.
    const bool recorded =
        !s.taskConn.query("Select 1 from GZRecord where F_ID=? And F_Time=?", {s.curTaskID, x}).empty();
    if (!recorded || !tableSetComplete(s.taskConn, s.curTaskID, x))
        return Outcome::refuse(periodCaption(x) + "没有可以清除的完整数据！", title, Icon::Exclamation,
                               "txtYear");
    try {
        SystemAttached sys(s);
        Transaction t(s.taskConn);
        dropTableSet(s.taskConn, s.curTaskID, x);
        s.taskConn.execute("Delete from GZRecord where F_ID=? And F_Time=?", {s.curTaskID, x});
        const Value current =
            s.taskConn.scalar("Select F_DQRQ from sys.GZSysInfo where F_ID=?", {s.curTaskID});
        if (trim(current.toString()) == x) {
            const Value earliest =
                s.taskConn.scalar("Select min(F_Time) from GZRecord Where F_ID=?", {s.curTaskID});
            if (earliest.isNull())
                s.taskConn.execute("Delete from sys.GZSysInfo where F_ID=?", {s.curTaskID});
            else if (trim(earliest.toString()) != x)
                s.taskConn.execute("Update sys.GZSysInfo set F_DQRQ=? where F_ID=?",
                                   {trim(earliest.toString()), s.curTaskID});
        }
        t.commit();
    } catch (const std::exception& e) {
        return Outcome::refuse(std::string("数据清理未完成！\n") + e.what(), title, Icon::Exclamation);
    }
    reclaimSpace(s.taskConn);
    return Outcome{true, "数据清理完毕！", title, Icon::Information, {}};
}

} // namespace gzgl::period
