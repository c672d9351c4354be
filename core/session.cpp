#include "core/session.h"

#include "core/paths.h"
#include "core/text.h"

namespace gzgl {

std::string Session::taskPrefix() const { return "ID" + curTaskID + "_" + curPeriod + "_"; }

std::string Session::moneyFolder() const { return gzgl::moneyFolder(appPath); }

std::string Session::taskDbPath(const std::string& taskID) const {
    const std::string id = taskID.size() > 4 ? taskID.substr(taskID.size() - 4) : taskID;
    return findFileNoCase(moneyFolder(), "GZ" + id + ".MDB");
}

std::string periodCaption(const std::string& period) {
    if (period.size() < 6)
        return period;
    return period.substr(0, 4) + "年第" + period.substr(period.size() - 2) + "月";
}

std::optional<std::string> periodOf(const std::string& year, const std::string& month) {
    if (year.empty() || month.empty() || !allDigits(year) || !allDigits(month) || year.size() > 4 ||
        month.size() > 2)
        return std::nullopt;
    const int y = std::stoi(year);
    const int m = std::stoi(month);
    if (y < 1000 || m < 1 || m > 12)
        return std::nullopt;
    return zeroPad(y, 4) + zeroPad(m, 2);
}

void setNoTaskState(Session& s) {
    s.shell.caption = s.productTitle;
    s.shell.periodPanel.clear();
    s.shell.operatorPanel.clear();
    s.shell.statePanel.clear();
    s.shell.mode = ShellMode::NoTask;
}

void setTaskChosenState(Session& s) {
    s.shell.periodPanel.clear();
    s.shell.operatorPanel.clear();
    s.shell.statePanel.clear();
    s.shell.mode = ShellMode::TaskChosen;
}

void setLoggedInState(Session& s) {
    s.shell.mode = ShellMode::LoggedIn;
}

} // namespace gzgl
