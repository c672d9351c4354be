// backup, restore and task export/import from a terminal: the folder
// screen's rules in their modes, questions answered by --yes.
#include "app/cli/commands.h"

#include "core/progress.h"
#include "core/text.h"
#include "period/backup.h"

#include <filesystem>
#include <iostream>

namespace gzgl::cli {

namespace {

int show(Context& c, const period::PathResult& r) {
    if (!r.written.empty())
        std::cout << r.written << "\n";
    return report(c, r.outcome);
}

int backupMonth(Context& c) {
    c.args.allowOnly(withLogin({"period", "to"}));
    const std::string to = c.args.require("to");
    const std::optional<std::string> period = c.args.get("period");
    if (period && period->size() != 6)
        throw UsageError("--period 应为 YYYYMM");
    if (!openAndLogin(c))
        return 1;
    // As frmBackUp: the session's period unless another one is given.
    period::BackupStart start = period::openBackup(c.session);
    if (period)
        start = {period->substr(0, 4), period->substr(4, 2)};
    const period::BackupDate date = period::confirmBackupDate(c.session, start.year, start.month);
    if (!date.outcome.ok)
        return report(c, date.outcome);
    SilentProgress progress;
    const period::PathResult r = period::backupMonth(c.session, date.period, to, progress);
    if (show(c, r) != 0)
        return 1;
    return report(c, period::finishBackup(c.session).outcome);
}

int backupAll(Context& c) {
    c.args.allowOnly({"to"});
    std::string to = c.args.require("to");
    // A folder takes the archive under the name the folder screen gives it.
    std::error_code ec;
    if (std::filesystem::is_directory(to, ec))
        to += "/" + period::fullBackupFileName(period::todayText());
    SilentProgress progress;
    return show(c, period::backupAll(c.session, to, progress));
}

} // namespace

int cmdBackup(Context& c) {
    const std::string sub = subcommand(c);
    if (sub == "month")
        return backupMonth(c);
    if (sub == "all")
        return backupAll(c);
    throw UsageError("backup 之后应为 month 或 all");
}

int cmdRestore(Context& c) {
    SilentProgress progress;
    if (subcommand(c) == "all") {
        // --home names the new data home here; nothing is opened in it.
        c.args.allowOnly({"from"});
        const std::string from = c.args.require("from");
        const std::optional<std::string> home = c.args.get("home");
        if (!home || trim(*home).empty())
            throw UsageError("restore all 需要 --home 新的数据目录");
        return report(c, period::restoreAll(from, c.session.appPath, progress));
    }
    if (c.args.words().size() > 1)
        throw UsageError("restore 之后应为 all 或登录选项");
    c.args.allowOnly(withLogin({"from", "yes"}));
    const std::string from = c.args.require("from");
    if (!openAndLogin(c))
        return 1;
    return show(c, period::restoreMonth(c.session, c.prompt, from, progress));
}

int taskExport(Context& c) {
    c.args.allowOnly(withLogin({"to", "date"}));
    const std::string to = c.args.require("to");
    const std::string date = c.args.get("date", period::todayText());
    if (date.size() != 8 || !allDigits(date))
        throw UsageError("--date 应为 YYYYMMDD");
    if (!openAndLogin(c))
        return 1;
    SilentProgress progress;
    return show(c, period::exportTask(c.session, to, date, progress));
}

int taskImport(Context& c) {
    c.args.allowOnly({"file"});
    const std::string file = c.args.get("file", "");
    if (!openHome(c))
        return 1;
    SilentProgress progress;
    const period::ImportResult r = period::importTask(c.session, file, progress);
    if (r.outcome.ok)
        std::cout << r.taskID << "\n";
    return report(c, r.outcome);
}

} // namespace gzgl::cli
