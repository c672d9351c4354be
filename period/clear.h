// Clearing an old period (frmClear): its table set and its record go, and
// the file gives the space back.
#pragma once

#include "core/prompt.h"
#include "core/session.h"

#include <string>

namespace gzgl::period {

inline constexpr const char* kClearNotice =
    "    当机器硬盘不够用时，可以清除一些暂时不用的数据。如果要删，则删去最早的，以保证当前工作的正常进行。";

struct ClearStart {
    bool any = false;  // false: "没有可以清理的数据！" and OK disabled
    std::string year;  // "2006"
    std::string month; // "5" for May
};

// Opening the screen: the task's earliest recorded period.
ClearStart openClear(Session& s);

// OK: refuses the session's own period ("当前月份的数据不能清除"), a year or
// month that is not one ("时间不正确！"), and a period without its record
// and all thirteen tables ("…没有可以清除的完整数据！"); then drops the
// period's tables and record in one transaction (when it was the recorded
// current period, the earliest remaining one becomes current) and reclaims
// the file's space. Ends with "数据清理完毕！".
Outcome clearPeriod(Session& s, const std::string& year, const std::string& month);

} // namespace gzgl::period
