// demo: lays out the demo data home (--home, which must be new or empty)
// for this month, or for --year and --month.
#include "app/cli/commands.h"

#include "core/text.h"
#include "demo/demo.h"

#include <ctime>

namespace gzgl::cli {

int cmdDemo(Context& c) {
    c.args.allowOnly({"year", "month"});
    if (c.args.words().size() != 1)
        throw UsageError("demo 不接受其他参数");
    const std::optional<std::string> home = c.args.get("home");
    if (!home || trim(*home).empty())
        throw UsageError("demo 需要 --home 新的数据目录");
    const std::time_t now = std::time(nullptr);
    std::tm today{};
    localtime_r(&now, &today);
    const std::string year = c.args.get("year", std::to_string(today.tm_year + 1900));
    const std::string month = c.args.get("month", std::to_string(today.tm_mon + 1));
    const std::optional<std::string> period = periodOf(trim(year), trim(month));
    if (!period)
        throw UsageError("--year 与 --month 应为正确的年月");
    SilentProgress progress;
    return report(c, demo::layOutDemoHome(c.session.appPath, std::stoi(period->substr(0, 4)),
                                          std::stoi(period->substr(4)), progress));
}

} // namespace gzgl::cli
