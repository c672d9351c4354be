// batch: the batch salary adjustment as its screen runs it — the month's
// opening refresh, then one item changed for the chosen group of employees.
#include "app/cli/commands.h"

#include "core/text.h"
#include "monthly/batch.h"
#include "monthly/refresh.h"

#include <sstream>

namespace gzgl::cli {

namespace {

// The adjusted item by name or code; as given when no adjustable item
// matches, so that the engine refuses it with its own message.
std::string itemCode(Session& s, const std::string& given) {
    const std::string wanted = trim(given);
    for (const items::ItemChoice& c : monthly::adjustableItems(s))
        if (c.name == wanted || upperAscii(c.code) == upperAscii(wanted))
            return c.code;
    return wanted;
}

} // namespace

int cmdBatch(Context& c) {
    c.args.allowOnly(
        withLogin({"item", "way", "value", "deptype", "dep", "emptype", "code", "name", "cond"}));
    const std::string way = c.args.require("way");
    if (way != "0" && way != "1" && way != "2")
        throw UsageError("--way 应为 0、1 或 2");
    if (!openAndLogin(c))
        return 1;
    Session& s = c.session;
    monthly::RefreshMonthData(s);

    monthly::BatchRequest r;
    r.item = itemCode(s, c.args.get("item", ""));
    r.way = way[0] - '0';
    r.input = c.args.get("value", "");
    r.depType = c.args.get("deptype", "");
    r.dep = c.args.get("dep", "");
    r.empType = c.args.get("emptype", "");
    r.empNo = c.args.get("code", "");
    r.name = c.args.get("name", "");
    // Each --cond is "item operator value joining-word", separated by blanks.
    for (const std::string& text : c.args.getAll("cond")) {
        std::istringstream in(text);
        std::string part[4], extra;
        in >> part[0] >> part[1] >> part[2] >> part[3];
        if (in >> extra)
            part[3].clear(); // more than four parts is no condition either
        const monthly::AddConditionResult added =
            monthly::addCondition(s, part[0], part[1], part[2], part[3]);
        if (!added.outcome.ok)
            return report(c, added.outcome);
        r.conditions.push_back(added.condition);
    }
    SilentProgress progress;
    return report(c, monthly::runBatch(s, r, progress).outcome);
}

} // namespace gzgl::cli
