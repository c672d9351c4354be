// exchange: the data-load file written from and loaded into a task, and the
// data-interface import of a delimited salary export. Every line that was
// not imported is printed with its number and why.
#include "app/cli/commands.h"

#include "exchange/dataload.h"
#include "exchange/interface_import.h"

#include <iostream>

namespace gzgl::cli {

namespace {

void printSkipped(const std::vector<exchange::SkippedLine>& skipped) {
    for (const exchange::SkippedLine& l : skipped)
        std::cout << "第" << l.line << "行：" << l.reason << "\n  " << l.text << "\n";
}

int exchangeExport(Context& c) {
    c.args.allowOnly(withLogin({"file", "yes"}));
    const std::string file = c.args.require("file");
    if (!openAndLogin(c))
        return 1;
    SilentProgress progress;
    const Outcome o = exchange::exportDataFile(c.session, file, c.prompt, progress);
    // Declining to overwrite ends without a message, and without a file.
    return o.message.empty() ? (o.ok ? 0 : 1) : report(c, o);
}

int exchangeLoad(Context& c) {
    c.args.allowOnly({"file", "password"});
    const std::string file = c.args.require("file");
    const std::string password = c.args.get("password", "");
    if (!openHome(c))
        return 1;
    SilentProgress progress;
    const exchange::DataLoadResult r = exchange::loadDataFile(c.session, file, password, progress);
    if (r.outcome.ok) {
        printSkipped(r.skipped);
        std::cout << "任务 " << r.taskID << (r.taskCreated ? "（新建）" : "") << "：新增部门 "
                  << r.departmentsAdded << "，新增项目 " << r.itemsAdded << "，新增员工 " << r.employeesAdded
                  << "，更新员工 " << r.employeesUpdated << "\n";
    }
    return report(c, r.outcome);
}

int exchangeImport(Context& c) {
    c.args.allowOnly(withLogin({"file"}));
    const std::string file = c.args.require("file");
    if (!openAndLogin(c))
        return 1;
    SilentProgress progress;
    const exchange::InterfaceImportResult r = exchange::importInterfaceFile(c.session, file, progress);
    if (r.outcome.ok) {
        printSkipped(r.skipped);
        std::cout << "导入列 " << r.columnsImported << "，新增员工 " << r.employeesAdded << "，更新员工 "
                  << r.employeesUpdated << "\n";
    }
    return report(c, r.outcome);
}

} // namespace

int cmdExchange(Context& c) {
    const std::string sub = subcommand(c);
    if (sub == "export")
        return exchangeExport(c);
    if (sub == "load")
        return exchangeLoad(c);
    if (sub == "import")
        return exchangeImport(c);
    throw UsageError("exchange 之后应为 export、load 或 import");
}

} // namespace gzgl::cli
