// Month-end: closing the open period into the next one (frmBalance) and
// going back to a closed period (frmReNew).
#pragma once

#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"

#include <functional>
#include <string>
#include <vector>

namespace gzgl::period {

inline constexpr const char* kClosed = "结转完成！";
inline constexpr const char* kStopped = "结转被用户停止！";
inline constexpr const char* kNotClosed = "结转未完成！";

struct BalanceStart {
    std::string year;  // "0000"
    std::string month; // "00"
};

// Opening the month-end screen: gives every employee of the open period a
// data row, removes rows of employees that are gone, sets the fixed-value
// items without a formula, and proposes the month after the open one.
// Throws DbError when the refresh fails (the month is then as it was).
BalanceStart openBalance(Session& s);

// Asked between the steps of a close; true stops it. The desktop program
// serves its event loop here so that the stop button can be pressed.
using StopRequested = std::function<bool()>;

// The start button: checks the year and month ("年不能为空！", "月不能为空！",
// "时间不正确！" when not a date or not later than the open period, all
// focusing txtYear), then in one transaction copies the thirteen tables,
// sets the fixed-value items without a formula, carries this month's
// rounding remainder FFFD (from a full recalculation) into the new month's
// FFFF when rounding is on, carries the cumulative tax figures when the task
// withholds cumulatively (items/cumulative_tax.h; refused beforehand when
// its items are not chosen), moves the open mark and labels the date items.
// Ends with "结转完成！" and the session in the new period, or with
// "结转被用户停止！" / "结转未完成！" and nothing changed.
Outcome closeMonth(Session& s, const std::string& year, const std::string& month, Progress& progress,
                   const StopRequested& stop = {});

// The closed periods earlier than the open one, each once, as the restore
// list shows them ("2006年02月").
std::vector<std::string> restoreChoices(Session& s);

// OK on the restore screen for a list entry: "请选择需要恢复的时间！" when
// none is chosen, then the question "确定已做好恢复环境的准备了吗？" (No:
// nothing happens, no message). Drops every later period's table set and
// record in one transaction and reopens the chosen period with its voucher
// flag: "环境恢复完毕！". "环境没有恢复！" when no later period exists.
Outcome restorePeriod(Session& s, Prompt& p, const std::string& entry);

} // namespace gzgl::period
