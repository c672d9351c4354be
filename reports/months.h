// The months a report or query runs over. Every month of a task has its own
// table set, named by the period; a range is read month by month, each
// month with its own items, formula lines and data, through a PeriodScope
// that points the session's table prefix at that month for a while.
#pragma once

#include "core/prompt.h"
#include "core/session.h"

#include <string>
#include <vector>

namespace gzgl::reports {

// Points s.taskPrefix() at another period of the open task until it goes
// out of scope, so that the loading and recalculation routines read that
// month's tables. The current period is restored however the scope ends.
class PeriodScope {
public:
    PeriodScope(Session& s, const std::string& period);
    ~PeriodScope();
    PeriodScope(const PeriodScope&) = delete;
    PeriodScope& operator=(const PeriodScope&) = delete;

private:
    Session& s_;
    std::string saved_;
};

// The messages of the month checks, which differ between the report and
// the query screens only in their first word.
struct RangeMessages {
    const char* beforeStart; // "报表日期不能小于工资的起用日期。"
    const char* afterCurrent; // "报表日期不能大于工资的当前日期。"
};
inline constexpr RangeMessages kReportRange{"报表日期不能小于工资的起用日期。", "报表日期不能大于工资的当前日期。"};
inline constexpr RangeMessages kQueryRange{"查询日期不能小于工资的起用日期。", "查询日期不能大于工资的当前日期。"};

// Checks a range of two periods yyyymm as the screens do, first month
// first: each must lie between the task's start period (F_QYRQ) and its
// current period (F_DQRQ), else the message under the caption "提示"; a
// failing read gives "数据库访问出错。请维护。". A reversed range is swapped
// in place (the screen shows the swapped fields). Beyond the screens' own
// checks, a month in the range whose tables are missing (cleared, or never
// made) is refused naming that month, so that no report passes off a
// partial range as complete.
Outcome checkMonthRange(Session& s, std::string& first, std::string& last, const RangeMessages& messages);

// The periods from first to last inclusive, yyyymm each (empty when first
// is after last or either is not a period).
std::vector<std::string> monthsBetween(const std::string& first, const std::string& last);

} // namespace gzgl::reports
