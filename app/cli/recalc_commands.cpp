// recalc: the month's working grid, recalculated as a screen would show it,
// printed as tab-separated text. Nothing is written to the task.
#include "app/cli/commands.h"

#include "calc/recalc.h"
#include "core/schema.h"
#include "core/startup.h"
#include "core/text.h"
#include "monthly/workgrid_load.h"

#include <iostream>

namespace gzgl::cli {

int cmdRecalc(Context& c) {
    c.args.allowOnly({"task", "user", "password", "period"});
    const std::optional<std::string> period = c.args.get("period");
    if (period && (period->size() != 6 || !allDigits(*period)))
        throw UsageError("--period 应为 YYYYMM");
    if (!openAndLogin(c))
        return 1;
    Session& s = c.session;
    if (period) {
        if (!s.taskConn.hasTable(periodTable(makeTaskPrefix(s.curTaskID, *period), "Item"))) {
            c.prompt.message("该任务没有" + periodCaption(*period) + "的工资数据！", s.productTitle, Icon::Exclamation);
            return 1;
        }
        s.curPeriod = *period;
    }
    const bool exceptions = IsNotCalcOn(s);
    calc::WorkGrid grid = monthly::loadWorkGrid(s, {}, true).grid;
    SilentProgress progress;
    calc::RecalculateGrid(s, grid, {s.roundOffMode, exceptions}, progress);
    for (int r = 0; r < grid.rows(); ++r) {
        for (int col = 0; col < grid.cols(); ++col) {
            if (col)
                std::cout << '\t';
            std::cout << grid.cell(r, col);
        }
        std::cout << '\n';
    }
    return 0;
}

} // namespace gzgl::cli
