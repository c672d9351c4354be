// divide: the banknote denomination sheet of a department (the default one
// the screen opens on when --dep is not given) as tab-separated text, or
// its preview job rendered into a PDF file.
#include "app/cli/commands.h"

#include "exchange/divide.h"
#include "monthly/refresh.h"
#include "print/render/render.h"
#include "print/screen_jobs.h"

#include <QGuiApplication>

#include <iostream>

namespace gzgl::cli {

int cmdDivide(Context& c) {
    c.args.allowOnly(withLogin({"dep", "total", "pdf"}));
    const std::optional<std::string> pdf = c.args.get("pdf");
    if (pdf && pdf->empty())
        throw UsageError("缺少 --pdf FILE");
    if (!openAndLogin(c))
        return 1;
    Session& s = c.session;
    // What the screen does when it opens.
    monthly::RefreshMonthData(s);
    const std::optional<std::string> dep = c.args.get("dep");
    exchange::DivideRequest request;
    request.department = dep ? *dep : exchange::defaultDepartment(s);
    request.total = c.args.flag("total");
    SilentProgress progress;
    const exchange::DivideResult r = exchange::cmdDivide(s, request, progress);
    if (!r.outcome.ok)
        return report(c, r.outcome);

    if (pdf) {
        print::clsGridPrint job = exchange::divideJob(s, r.sheet);
        if (const auto none = print::noDataMessage(job.grid(), true))
            return report(c, *none);
        return writePdf(c, job, *pdf);
    }
    std::vector<std::vector<std::string>> rows{r.sheet.headings()};
    for (const exchange::DivideRow& row : r.sheet.rows)
        rows.push_back(row.cells());
    printRows(rows);
    return 0;
}

} // namespace gzgl::cli
