// print: a screen's grid through the print engine into a PDF file, as the
// screen's print would lay it out. Form 9989 is the salary entry grid,
// form 1542 the department staff list.
#include "app/cli/commands.h"

#include "base/departments.h"
#include "calc/recalc.h"
#include "core/startup.h"
#include "core/text.h"
#include "monthly/workgrid_load.h"
#include "print/render/render.h"
#include "print/screen_jobs.h"

#include <QGuiApplication>

#include <cstdlib>
#include <iostream>
#include <memory>

namespace gzgl::cli {

// QPdfWriter needs a GUI application; a terminal has no display, so the
// offscreen platform stands in unless the caller chose one.
std::unique_ptr<QGuiApplication> guiApplication() {
    if (QGuiApplication::instance())
        return nullptr;
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "gzgl-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

int writePdf(Context& c, print::clsGridPrint& job, const std::string& path) {
    const auto app = guiApplication();
    std::string error;
    if (!print::renderPdf(job, path, &error)) {
        c.prompt.message(error, "提示", Icon::Exclamation);
        return 1;
    }
    std::cout << path << "\n";
    return 0;
}

int cmdPrint(Context& c) {
    c.args.allowOnly({"task", "user", "password", "form", "pdf", "dep"});
    const std::string form = c.args.get("form", "");
    const std::string pdf = c.args.get("pdf", "");
    if (form != "9989" && form != "1542")
        throw UsageError("--form 应为 9989（工资录入）或 1542（部门人员管理表）");
    if (pdf.empty())
        throw UsageError("缺少 --pdf FILE");
    if (!openAndLogin(c))
        return 1;
    Session& s = c.session;
    const std::string dep = c.args.get("dep", "");
    const std::string depName = GetDepName(s, dep, 0);

    print::clsGridPrint job;
    if (form == "9989") {
        monthly::LoadedGrid loaded = monthly::loadWorkGrid(s, {.depNo = dep}, true);
        SilentProgress progress;
        calc::RecalculateGrid(s, loaded.grid, {s.roundOffMode, IsNotCalcOn(s)}, progress);
        job = print::entryGridJob(s, loaded.grid, loaded.columns, depName);
    } else {
        const base::RosterGrid roster =
            base::rosterGrid(s, dep.empty() ? base::RosterMode::AllEmployees : base::RosterMode::Employees, dep, true);
        job = print::rosterJob(s, print::rosterPrintGrid(roster), depName);
    }
    if (const auto none = print::noDataMessage(job.grid(), false))
        return report(c, *none);
    return writePdf(c, job, pdf);
}

} // namespace gzgl::cli
