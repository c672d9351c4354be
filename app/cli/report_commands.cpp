// report: the standard salary reports of frmReport over one month or a
// range, as a PDF laid out as the print would be, as TAB text, or as one
// payslip PDF per employee.
#include "app/cli/commands.h"

#include "core/session.h"
#include "print/render/render.h"
#include "print/screen_jobs.h"
#include "reports/render/payslip_files.h"
#include "reports/standard.h"
#include "reports/standard_jobs.h"

#include <QGuiApplication>

#include <iostream>

namespace gzgl::cli {

int cmdReport(Context& c) {
    c.args.allowOnly(
        withLogin({"type", "from", "to", "dep", "dep-type", "level", "lowest", "pdf", "tsv", "split-pdf"}));
    const std::string type = c.args.get("type", "");
    if (!type.empty() && (type.size() != 1 || type[0] < '0' || type[0] > '3'))
        throw UsageError("--type 应为 0（部门汇总）、1（部门类型汇总）、2（发放表）或 3（工资单）");
    const int outputs =
        (c.args.get("pdf") ? 1 : 0) + (c.args.flag("tsv") ? 1 : 0) + (c.args.get("split-pdf") ? 1 : 0);
    if (outputs != 1)
        throw UsageError("应给出 --pdf FILE、--tsv 或 --split-pdf DIR 之一");
    if (c.args.get("split-pdf") && type != "3")
        throw UsageError("--split-pdf 只用于 --type 3（工资单）");
    if (c.args.get("level") && c.args.flag("lowest"))
        throw UsageError("--level 与 --lowest 不能同时给出");

    reports::ReportRequest rq;
    rq.type = type.empty() ? -1 : type[0] - '0';
    // A month typed as YYYYMM: the year and month fields of the screen.
    auto split = [](const std::string& yyyymm, std::string& year, std::string& month) {
        year = yyyymm.substr(0, std::min<std::size_t>(4, yyyymm.size()));
        month = yyyymm.size() > 4 ? yyyymm.substr(4) : std::string();
    };
    split(c.args.get("from", ""), rq.year, rq.month);
    split(c.args.get("to", c.args.get("from", "")), rq.year1, rq.month1);
    rq.departments = c.args.get("dep", "");
    rq.depTypes = c.args.get("dep-type", "");
    rq.level = c.args.get("level", "");
    rq.lowest = c.args.flag("lowest");

    if (!openAndLogin(c))
        return 1;
    Session& s = c.session;
    reports::openReportScreen(s);
    SilentProgress progress;
    const std::string typedFirst = rq.year + rq.month;
    const reports::BuiltReport built = reports::buildReport(s, rq, progress);
    if (rq.year + rq.month != typedFirst)
        std::cerr << "报表年月：" << rq.year << "年" << rq.month << "月 -至- " << rq.year1 << "年"
                  << rq.month1 << "月\n";
    if (!built.outcome.ok)
        return report(c, built.outcome);

    if (c.args.flag("tsv")) {
        const reports::ReportGrid& g = built.grid;
        std::vector<std::vector<std::string>> rows;
        std::vector<std::string> captions;
        for (const reports::ReportColumn& col : g.columns)
            captions.push_back(col.caption);
        rows.push_back(std::move(captions));
        for (int r = 0; r < static_cast<int>(g.rows.size()); ++r) {
            std::vector<std::string> row;
            for (int col = 0; col < g.cols(); ++col)
                row.push_back(g.cell(r, col));
            rows.push_back(std::move(row));
        }
        printRows(rows);
        return 0;
    }

    const auto app = guiApplication();
    if (const auto folder = c.args.get("split-pdf")) {
        std::vector<std::string> written;
        const Outcome o = reports::writePayslipPdfs(s, built, *folder, &written);
        for (const std::string& f : written)
            std::cout << f << "\n";
        return report(c, o);
    }
    const std::string pdf = c.args.require("pdf");
    print::clsGridPrint job = reports::reportJob(s, built);
    if (const auto none = print::noDataMessage(job.grid(), false))
        return report(c, *none);
    return writePdf(c, job, pdf);
}

} // namespace gzgl::cli
