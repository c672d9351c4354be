#include "period/balance.h"

#include "calc/recalc.h"
#include "core/numtext.h"
#include "core/schema.h"
#include "core/startup.h"
#include "core/text.h"
#include "items/cumulative_tax.h"
#include "monthly/refresh.h"
#include "monthly/workgrid_load.h"
#include "period/periods.h"

#include <algorithm>
#include <functional>
#include <set>

namespace gzgl::period {

namespace {

// Thrown between the steps of a close when the user pressed stop.
struct StopPressed {};

std::set<std::string> dataColumns(Connection& c, const std::string& table) {
    std::set<std::string> out;
    for (const std::string& col : c.columns(table))
        out.insert(upperAscii(col));
    return out;
}

// Sets each listed item's column of every data row of a period in one
// statement: rows of (code, value); codes that are no item code or have no
// column are passed over (they cannot be spliced in).
void setItemColumns(Connection& c, const std::string& prefix, const Recordset& items,
                    const std::function<Value(const Value&)>& valueOf) {
    const std::string data = periodTable(prefix, "Data");
    const std::set<std::string> columns = dataColumns(c, data);
    std::string list;
    Params values;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string code = upperAscii(trim(items.row(i)[0].toString()));
        if (!isItemCode(code) || !columns.count(code))
            continue;
        list += (list.empty() ? "" : ",") + code + "=?";
        values.push_back(valueOf(items.row(i)[1]));
    }
    if (!list.empty())
        c.execute("Update " + data + " set " + list, values);
}

// The fixed-value items without a formula line take their value (0 when
// none) on every data row of the new month.
void setFixedValues(Connection& c, const std::string& cur, const std::string& next) {
    const Recordset items = c.query("Select F_Code,F_ChgValue from " + periodTable(cur, "Item") +
                                    " where F_Change=1 and F_Code not in (Select F_Code from " +
                                    periodTable(cur, "Formula") + " where F_Code is not null)");
    setItemColumns(c, next, items, [](const Value& v) { return Value(v.isNull() ? 0.0 : v.toDouble()); });
}

// The open period recalculated completely, as the carries need it.
calc::WorkGrid recalculated(Session& s, Progress& progress, const StopRequested& stop) {
    calc::WorkGrid grid = monthly::loadWorkGrid(s, {}, false).grid;
    calc::RecalculateGrid(s, grid, {s.roundOffMode, IsNotCalcOn(s)}, progress);
    if (stop && stop())
        throw StopPressed{};
    return grid;
}

// This month's rounding remainder becomes the new month's carried remainder.
void carryRemainder(Session& s, const calc::WorkGrid& grid, const std::string& next) {
    const int fffd = grid.columnOf("FFFD");
    if (fffd < 0)
        return;
    Statement update = s.taskConn.prepareStatement("Update " + periodTable(next, "Data") + " set FFFF=? where F_EmpNo=?");
    for (int r = calc::kFirstEmployeeRow; r < grid.rows(); ++r)
        update.run({readNumber(grid.cell(r, fffd)), grid.cell(r, 0)});
}

// The date items of the new month hold its label, "yyyy年mm月".
void labelDateItems(Connection& c, const std::string& next, const std::string& period) {
    const Recordset items =
        c.query("Select F_Code,F_Code from " + periodTable(next, "Item") + " where F_Type='日期'");
    setItemColumns(c, next, items, [&](const Value&) { return Value(periodLabel(period)); });
}

} // namespace

BalanceStart openBalance(Session& s) {
    monthly::RefreshMonthData(s);
    const std::string next = nextPeriod(s.curPeriod);
    return {next.substr(0, 4), next.substr(4, 2)};
}

Outcome closeMonth(Session& s, const std::string& year, const std::string& month, Progress& progress,
                   const StopRequested& stop) {
    const std::string& title = s.productShortName;
    auto refuse = [&](const char* text) {
        return Outcome::refuse(text, title, Icon::Information, "txtYear");
    };
    const std::string y = trim(year);
    const std::string m = trim(month);
    if (y.empty())
        return refuse("年不能为空！");
    if (m.empty())
        return refuse("月不能为空！");
    const std::optional<std::string> typed = periodOf(y, m);
    if (!typed || *typed <= s.curPeriod)
        return refuse("时间不正确！");
    const std::string period = *typed;
    const bool cumulative = items::cumulativeMethod(s);
    if (const std::string why = items::cumulativeCloseRefusal(s); !why.empty())
        return Outcome::refuse(why, title, Icon::Exclamation);

    const std::string old = s.curPeriod;
    const std::string cur = makeTaskPrefix(s.curTaskID, old);
    const std::string next = makeTaskPrefix(s.curTaskID, period);
    progress.begin("正在结转" + periodCaption(old) + "的工资数据...", static_cast<int>(copyOrder().size()));
    try {
        SystemAttached sys(s);
        Transaction t(s.taskConn);
        if (!s.taskConn.query("Select 1 from GZRecord where F_ID=? and F_Time=?", {s.curTaskID, period})
                 .empty())
            throw DbError(periodCaption(period) + "已有记录");
        for (const std::string& suffix : copyOrder()) {
            if (stop && stop())
                throw StopPressed{};
            copyTable(s.taskConn, periodTable(cur, suffix), periodTable(next, suffix));
            progress.step();
        }
        setFixedValues(s.taskConn, cur, next);
        if (s.roundOffMode != 0 || cumulative) {
            const calc::WorkGrid grid = recalculated(s, progress, stop);
            if (s.roundOffMode != 0)
                carryRemainder(s, grid, next);
            // A new tax year starts the cumulative figures from zero.
            if (cumulative)
                items::carryCumulative(s, grid, next, period.substr(0, 4) != old.substr(0, 4));
        }
        s.taskConn.execute("Update sys.GZSysInfo Set F_DQRQ=?,F_ZZ=0 Where F_ID=?", {period, s.curTaskID});
        s.taskConn.execute("Update GZRecord set F_ZZ='1' where F_ID=? And F_Time=?", {s.curTaskID, old});
        s.taskConn.execute("Insert Into GZRecord(F_ID,F_Time,F_ZZ) values(?,?,'0')", {s.curTaskID, period});
        labelDateItems(s.taskConn, next, period);
        if (stop && stop())
            throw StopPressed{};
        t.commit();
    } catch (const StopPressed&) {
        progress.end();
        return Outcome::refuse(kStopped, title, Icon::Information);
    } catch (const std::exception& e) {
        progress.end();
        return Outcome::refuse(std::string(kNotClosed) + "\n" + e.what(), title, Icon::Exclamation);
    }
    progress.end();
    s.curPeriod = period;
    s.shell.periodPanel = periodCaption(period);
    return Outcome{true, kClosed, title, Icon::Information, {}};
}

std::vector<std::string> restoreChoices(Session& s) {
    std::vector<std::string> out;
    for (const PeriodRow& r : listPeriods(s))
        if (r.closed && r.period < s.curPeriod && (out.empty() || out.back() != periodLabel(r.period)))
            out.push_back(periodLabel(r.period));
    return out;
}

Outcome restorePeriod(Session& s, Prompt& p, const std::string& entry) {
    const std::string& title = s.productShortName;
    std::string target;
    for (char c : entry)
        if (c >= '0' && c <= '9')
            target += c;
    const std::vector<std::string> choices = restoreChoices(s);
    if (target.size() != 6 || std::find(choices.begin(), choices.end(), periodLabel(target)) == choices.end())
        return Outcome::refuse("请选择需要恢复的时间！", title, Icon::Exclamation, "cmbTime");
    if (!p.askYesNo("确定已做好恢复环境的准备了吗？", title, Icon::Question))
        return Outcome::refuse({}, {}, Icon::None);
    if (!tableSetComplete(s.taskConn, s.curTaskID, target))
        return Outcome::refuse(periodCaption(target) + "的数据表不完整，不能恢复！", title,
                               Icon::Exclamation);
    try {
        SystemAttached sys(s);
        Transaction t(s.taskConn);
        std::vector<std::string> later;
        const Recordset rs = s.taskConn.query("Select F_Time from GZRecord where F_ID=?", {s.curTaskID});
        for (std::size_t i = 0; i < rs.size(); ++i) {
            const std::string x = trim(rs.row(i)[0].toString());
            if (x.size() == 6 && allDigits(x) && x > target &&
                std::find(later.begin(), later.end(), x) == later.end())
                later.push_back(x);
        }
        if (later.empty())
            return Outcome::refuse("环境没有恢复！", title, Icon::Exclamation);
        for (const std::string& x : later) {
            const std::string prefix = makeTaskPrefix(s.curTaskID, x);
            for (const std::string& suffix : copyOrder())
                s.taskConn.execute("Drop Table If Exists " + periodTable(prefix, suffix));
            s.taskConn.execute("Delete from GZRecord where F_ID=? And F_Time=?", {s.curTaskID, x});
        }
        const Value flag =
            s.taskConn.scalar("Select F_ZZ from GZRecord where F_Time=? and F_ID=?", {target, s.curTaskID});
        s.taskConn.execute("Update GZRecord set F_ZZ='0' where F_Time=? and F_ID=?", {target, s.curTaskID});
        s.taskConn.execute("Update sys.GZSysInfo Set F_ZZ=?,F_DQRQ=? where F_ID=?",
                           {Value(readNumber(flag.toString())), target, s.curTaskID});
        t.commit();
    } catch (const std::exception& e) {
        return Outcome::refuse(std::string("环境没有恢复！\n") + e.what(), title, Icon::Exclamation);
    }
    s.curPeriod = target;
    s.shell.periodPanel = periodCaption(target);
    setLoggedInState(s);
    return Outcome{true, "环境恢复完毕！", title, Icon::Information, {}};
}

} // namespace gzgl::period
