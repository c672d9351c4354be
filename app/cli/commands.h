// The command line's commands; each answers the process exit code:
// 0 success, 1 refused by a rule, 2 bad usage.
#pragma once

#include "app/cli/args.h"
#include "core/prompt.h"
#include "core/session.h"
#include "print/gridprint.h"

#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <vector>

class QGuiApplication;

namespace gzgl::cli {

struct Context {
    Session& session;
    Prompt& prompt;
    const Args& args;
};

int cmdInit(Context& c);
int cmdTask(Context& c);
int cmdLogin(Context& c);
int cmdPasswd(Context& c);
int cmdSettings(Context& c);
int cmdEval(Context& c);
int cmdItem(Context& c);
int cmdFormula(Context& c);
int cmdTax(Context& c);
int cmdRecalc(Context& c);
int cmdTrace(Context& c);

int cmdDep(Context& c);
int cmdDepType(Context& c);
int cmdEmpType(Context& c);
int cmdEmp(Context& c);
int cmdTransfer(Context& c);

int cmdData(Context& c);
int cmdExport(Context& c);
int cmdBatch(Context& c);
int cmdPrint(Context& c);
int cmdPeriod(Context& c);
int cmdQuery(Context& c);
int cmdBank(Context& c);
int cmdDivide(Context& c);
int cmdReport(Context& c);
int cmdLink(Context& c);
int cmdVoucher(Context& c);
int cmdAcct(Context& c);
int cmdBackup(Context& c);
int cmdRestore(Context& c);
int cmdExchange(Context& c);
int cmdDemo(Context& c);
// task export / task import, dispatched by cmdTask.
int taskExport(Context& c);
int taskImport(Context& c);

// The word after the command ("add" in "item add"), empty when none.
std::string subcommand(const Context& c);
// The login options --task, --user, --password and the given others.
std::set<std::string> withLogin(std::initializer_list<std::string> more = {});
// The fields of a line read from standard input, split at every tab.
std::vector<std::string> splitTabs(const std::string& line);
// Rows of text, one line each, fields separated by tabs.
void printRows(const std::vector<std::vector<std::string>>& rows);

// Shows the outcome's message and answers its exit code (0 or 1).
int report(Context& c, const Outcome& o);

// The application that PDF output needs (QPdfWriter): a terminal has no
// display, so the offscreen platform stands in unless the caller chose one.
// Null when one exists already.
std::unique_ptr<QGuiApplication> guiApplication();

// Opens the system database (laying out a new data home first); false after
// the fatal message.
bool openHome(Context& c);
// Opens the home and logs in with --task, --user and --password.
bool openAndLogin(Context& c);

// Renders the job to a PDF file and prints its path (0); a file that cannot
// be written gives the renderer's message (1).
int writePdf(Context& c, print::clsGridPrint& job, const std::string& path);

// The application a PDF writer needs (offscreen unless QT_QPA_PLATFORM is
// set); null when one exists already. Keep it while rendering.
std::unique_ptr<QGuiApplication> guiApplication();

} // namespace gzgl::cli
