// query: the salary query as its screens run it — the month's opening
// refresh, the conditions checked as the dialog checks them, the query over
// the range, then one output: tab-separated lines, an Excel workbook, the
// delimited text file or a PDF of the print.
#include "app/cli/commands.h"

#include "core/text.h"
#include "monthly/refresh.h"
#include "print/render/render.h"
#include "print/screen_jobs.h"
#include "reports/query.h"

#include <QGuiApplication>

#include <ctime>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <tuple>

namespace gzgl::cli {

namespace {

// yyyymm split as the dialog's year and month boxes hold it; any other text
// goes whole into the year, for the engine to refuse.
std::pair<std::string, std::string> yearAndMonth(const std::string& period) {
    if (period.size() == 6)
        return {period.substr(0, 4), period.substr(4)};
    return {period, ""};
}

// The shown columns of the result, the captions first and the total last.
std::vector<std::vector<std::string>> shownLines(const reports::QueryResult& r) {
    std::vector<std::size_t> shown;
    for (std::size_t c = 0; c < r.columns.size(); ++c)
        if (r.columns[c].show)
            shown.push_back(c);
    std::vector<std::vector<std::string>> out;
    auto add = [&](auto cellOf) {
        std::vector<std::string> line;
        for (std::size_t c : shown)
            line.push_back(cellOf(c));
        out.push_back(std::move(line));
    };
    add([&](std::size_t c) { return r.columns[c].caption; });
    for (const auto& row : r.rows)
        add([&](std::size_t c) { return row[c]; });
    add([&](std::size_t c) { return r.total[c]; });
    return out;
}

// yyyymmdd of the local date.
std::string today() {
    const std::time_t now = std::time(nullptr);
    char buf[16];
    std::strftime(buf, sizeof buf, "%Y%m%d", std::localtime(&now));
    return buf;
}

} // namespace

int cmdQuery(Context& c) {
    c.args.allowOnly(withLogin({"from", "to", "dep", "dep-type", "emp-type", "code", "name", "cond", "tsv",
                                "xlsx", "save", "sep", "pdf", "yes"}));
    const int outputs = int(c.args.flag("tsv")) + int(c.args.get("xlsx").has_value()) +
                        int(c.args.get("save").has_value()) + int(c.args.get("pdf").has_value());
    if (outputs != 1)
        throw UsageError(
            "query 需要且只需要一种输出：--tsv、--xlsx FILE、--save FILE --sep SEP 或 --pdf FILE");
    if (c.args.get("save") && !c.args.get("sep"))
        throw UsageError("--save 需要 --sep SEP（TAB 或 \\t 为制表符）");
    const std::string from = c.args.require("from");
    if (!openAndLogin(c))
        return 1;
    Session& s = c.session;
    monthly::RefreshMonthData(s);

    reports::QueryConditions q;
    std::tie(q.year, q.month) = yearAndMonth(from);
    std::tie(q.year1, q.month1) = yearAndMonth(c.args.get("to", from));
    q.departments = c.args.get("dep", "");
    q.depType = c.args.get("dep-type", "");
    q.empType = c.args.get("emp-type", "");
    q.empNo = c.args.get("code", "");
    q.name = c.args.get("name", "");
    // Each --cond is "item operator value link", separated by blanks; the
    // link may be left off, joining as 并且.
    for (const std::string& text : c.args.getAll("cond")) {
        std::istringstream in(text);
        std::string part[4], extra;
        in >> part[0] >> part[1] >> part[2] >> part[3];
        if (part[3].empty())
            part[3] = reports::kAnd;
        if (in >> extra)
            part[3].clear(); // more than four parts is no condition either
        const reports::AddQueryConditionResult added =
            reports::addQueryCondition(s, part[0], part[1], part[2], part[3]);
        if (!added.outcome.ok)
            return report(c, added.outcome);
        q.conditions.push_back(added.condition);
    }

    SilentProgress progress;
    const reports::QueryRun run = reports::runQuery(s, q, progress);
    if (!run.outcome.ok)
        return report(c, run.outcome);
    const reports::QueryResult& r = run.result;
    if (c.args.flag("tsv")) {
        printRows(shownLines(r));
        return 0;
    }
    if (const auto xlsx = c.args.get("xlsx"))
        return reports::exportQueryXlsx(s, c.prompt, *xlsx, r) ? 0 : 1;
    if (const auto save = c.args.get("save")) {
        const std::filesystem::path file(*save);
        std::string sep = c.args.require("sep");
        if (sep == "\\t" || sep == "TAB")
            sep = "\t";
        const std::string folder = file.has_parent_path() ? file.parent_path().string() : ".";
        std::string written;
        const Outcome o = reports::exportQueryDelimited(s, c.prompt, progress, r, folder,
                                                        file.filename().string(), sep, today(), &written);
        if (o.ok)
            std::cout << written << "\n";
        // Declining to overwrite ends without a message, and without a file.
        return o.message.empty() ? (o.ok ? 0 : 1) : report(c, o);
    }
    print::clsGridPrint job = reports::queryJob(s, r, false);
    if (const auto none = print::noDataMessage(job.grid(), false))
        return report(c, *none);
    const std::string pdf = c.args.require("pdf");
    return writePdf(c, job, pdf);
}

} // namespace gzgl::cli
