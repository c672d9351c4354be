// period: month-end from a terminal. list shows every recorded period with
// its state; close, restore and clear run the screens' rules, questions
// answered by --yes.
#include "app/cli/commands.h"

#include "core/progress.h"
#include "period/balance.h"
#include "period/clear.h"
#include "period/periods.h"

#include <iostream>

namespace gzgl::cli {

namespace {

int periodList(Context& c) {
    c.args.allowOnly(withLogin());
    if (!openAndLogin(c))
        return 1;
    for (const period::PeriodRow& r : period::listPeriods(c.session))
        std::cout << r.period << '\t' << (r.closed ? "已结转" : "当前")
                  << (r.complete ? "" : "\t数据表不完整") << "\n";
    return 0;
}

int periodClose(Context& c) {
    c.args.allowOnly(withLogin({"year", "month", "yes"}));
    if (!openAndLogin(c))
        return 1;
    // As the screen: the opening refresh and proposal, then the start button.
    const period::BalanceStart start = period::openBalance(c.session);
    SilentProgress progress;
    return report(c, period::closeMonth(c.session, c.args.get("year", start.year),
                                        c.args.get("month", start.month), progress));
}

int periodRestore(Context& c) {
    c.args.allowOnly(withLogin({"to", "yes"}));
    const std::string to = c.args.require("to");
    if (!openAndLogin(c))
        return 1;
    return report(c, period::restorePeriod(c.session, c.prompt, period::periodLabel(to)));
}

int periodClear(Context& c) {
    c.args.allowOnly(withLogin({"period", "yes"}));
    const std::string p = c.args.require("period");
    if (p.size() != 6)
        throw UsageError("--period 应为 YYYYMM");
    if (!openAndLogin(c))
        return 1;
    return report(c, period::clearPeriod(c.session, p.substr(0, 4), p.substr(4, 2)));
}

} // namespace

int cmdPeriod(Context& c) {
    const std::string sub = subcommand(c);
    if (sub == "list")
        return periodList(c);
    if (sub == "close")
        return periodClose(c);
    if (sub == "restore")
        return periodRestore(c);
    if (sub == "clear")
        return periodClear(c);
    throw UsageError("period 之后应为 list、close、restore 或 clear");
}

} // namespace gzgl::cli
