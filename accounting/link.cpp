#include "accounting/link.h"

#include "accounting/single_user.h"
#include "core/paths.h"
#include "core/text.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace gzgl {

namespace {

const char* kAcctSystemDb = "KS770WIN.MDB";

// Opens the single-user accounting system database of folder.
bool openAccountingSystem(const std::string& folder, Connection& c) {
    std::error_code ec;
    if (folder.empty() || !fileExistsNoCase(folder, kAcctSystemDb))
        return false;
    try {
        c.open(findFileNoCase(folder, kAcctSystemDb));
        return true;
    } catch (const DbError&) {
        return false;
    }
}

// The sets of a linked path: the single-user folder's ZTGL or the network
// catalog's ZTXX.
std::vector<accounting::AccountingSet> setsOfPath(const std::string& path, const std::string& password) {
    if (const auto net = accounting::parseNetworkPath(path))
        return accounting::networkSets(*net, password);
    return accounting::singleUserSets(trim(path));
}

} // namespace

accounting::NetworkLink networkLinkOf(const LinkFields& f) {
    std::string text = trim(f.server);
    if (!text.empty() && text.find('=') == std::string::npos)
        text = "DSN=" + accounting::odbc::connectionValue(text);
    const std::string login = trim(f.login);
    if (!login.empty()) {
        bool named = false;
        for (const std::string& k : accounting::odbc::connectionKeys(text))
            named = named || k == "uid" || k == "user" || k == "username";
        if (!named)
            text += (text.empty() || text.back() == ';' ? "UID=" : ";UID=") +
                    accounting::odbc::connectionValue(login);
    }
    const std::string product = trim(f.product);
    return {product.empty() ? accounting::kDefaultProduct : product, text};
}

std::vector<std::string> networkAccountingSets(const LinkFields& f) {
    std::vector<std::string> out;
    for (const accounting::AccountingSet& set : listNetworkSets(f, {}).sets)
        out.push_back(set.name);
    return out;
}

NetworkSetList listNetworkSets(const LinkFields& f, const std::string& title) {
    const accounting::NetworkLink net = networkLinkOf(f);
    const std::string problem = accounting::networkLinkProblem(net);
    if (!problem.empty())
        return {Outcome::refuse(problem, title, Icon::Exclamation, "txtServer"), {}};
    NetworkSetList out;
    try {
        out.sets = accounting::networkSets(net, f.password);
    } catch (const accounting::AccountingError& e) {
        return {Outcome::refuse(std::string("请填入正确的服务器信息！\n") + e.what(), title,
                                Icon::Exclamation, "txtServer"),
                {}};
    }
    return out;
}

std::vector<std::string> proposedAccountingFolders() {
    const char* h = std::getenv("HOME");
    const std::string home = h ? h : "";
    std::vector<std::string> candidates = {home + "/KS77/DataBase", home + "/KS770/KJHS/DataBase"};
    std::error_code ec;
    if (!fs::is_directory(candidates[0], ec) && fs::is_directory(candidates[1], ec))
        std::swap(candidates[0], candidates[1]);
    return candidates;
}

std::vector<std::string> accountingSets(const std::string& folder) {
    std::vector<std::string> out;
    Connection c;
    if (!openAccountingSystem(trim(folder), c))
        return out;
    try {
        const Recordset rs = c.query("Select ZTMC from ZTGL");
        for (std::size_t i = 0; i < rs.size(); ++i)
            out.push_back(rs.row(i)[0].toString());
    } catch (const DbError&) {
        out.clear();
    }
    return out;
}

Outcome confirmLink(Session& s, const LinkFields& f, int mode) {
    const std::string& title = s.productShortName;
    PendingLink link;
    if (f.choice == LinkChoice::SingleUser) {
        if (trim(f.setName).empty())
            return Outcome::refuse("请选择核算单位！", title, Icon::Exclamation, "cmbSet");
        Connection c;
        Recordset rs;
        if (openAccountingSystem(trim(f.folder), c)) {
            try {
                rs = c.query("Select ZTID from ZTGL where ZTMC=?", {f.setName});
            } catch (const DbError&) {
            }
        }
        if (rs.empty())
            return Outcome::refuse("请选择正确的核算单位！", title, Icon::Exclamation, "cmbSet");
        link = {true, rs.row(0)[0].toString(), trim(f.folder)};
    } else if (f.choice == LinkChoice::Network) {
        const accounting::NetworkLink net = networkLinkOf(f);
        const std::string problem = accounting::networkLinkProblem(net);
        if (!problem.empty())
            return Outcome::refuse(problem, title, Icon::Exclamation, "txtServer");
        if (trim(f.setName).empty())
            return Outcome::refuse("请选择核算单位！", title, Icon::Exclamation, "cmbSet");
        std::vector<accounting::AccountingSet> sets;
        try {
            sets = accounting::networkSets(net, f.password);
        } catch (const accounting::AccountingError& e) {
            return Outcome::refuse(std::string("请填入正确的服务器信息！\n") + e.what(), title,
                                   Icon::Exclamation, "txtServer");
        }
        const auto found = std::find_if(sets.begin(), sets.end(), [&](const accounting::AccountingSet& set) {
            return set.name == f.setName;
        });
        if (found == sets.end())
            return Outcome::refuse(accounting::kWrongSetMessage, title, Icon::Exclamation, "cmbSet");
        link = {true, found->id, accounting::networkPath(net)};
    }

    if (mode == kLinkNewTask) {
        s.pendingLink = link;
        return Outcome::success();
    }
    try {
        if (link.linked)
            s.sysConn.execute("Update GZSysInfo set F_ZTPATH=?,F_ZTID=? where F_ID=?",
                              {link.path, link.setID, s.curTaskID});
        else
            s.sysConn.execute("Update GZSysinfo set F_ZTID='',F_ZTPATH='' where F_ID=?", {s.curTaskID});
    } catch (const DbError& e) {
        return Outcome::refuse(e.what(), title, Icon::Critical);
    }
    s.linkedSetID = link.setID;
    s.linkedSetPath = link.path;
    return Outcome::success();
}

std::unique_ptr<accounting::AccountingStore> openLinkedStore(Session& s, const std::string& password) {
    const Recordset rs = s.sysConn.query("Select F_ZTID,F_ZTPATH from GZSysInfo where F_ID=?", {s.curTaskID});
    const std::string id = rs.empty() ? std::string() : trim(rs.row(0)[0].toString());
    if (id.empty())
        throw accounting::AccountingError(accounting::kNoLinkMessage);
    s.linkedSetID = id;
    s.linkedSetPath = trim(rs.row(0)[1].toString());
    if (const auto net = accounting::parseNetworkPath(s.linkedSetPath))
        return accounting::openNetworkStore(*net, password, id);
    return accounting::openSingleUserStore(s.linkedSetPath, id);
}

std::optional<std::string> linkedSetPassword(Session& s, Prompt& p, const PasswordQuestion& ask) {
    const Recordset rs = s.sysConn.query("Select F_ZTID,F_ZTPATH from GZSysInfo where F_ID=?", {s.curTaskID});
    if (rs.empty() || trim(rs.row(0)[0].toString()).empty())
        return std::string();
    const auto net = accounting::parseNetworkPath(trim(rs.row(0)[1].toString()));
    if (!net)
        return std::string();
    std::string password;
    for (bool asked = false;; asked = true) {
        try {
            accounting::connectNetwork(*net, password);
            return password;
        } catch (const accounting::AccountingError& e) {
            if (std::string(e.what()) != accounting::kRefusedLoginMessage)
                throw;
            if (asked)
                p.message(accounting::kRefusedLoginMessage, "提示", Icon::Exclamation);
        }
        const std::optional<std::string> answer = ask ? ask() : std::nullopt;
        if (!answer)
            return std::nullopt;
        password = *answer;
    }
}

std::vector<std::string> connectEntries(const std::string& path, const std::string& password) {
    std::vector<std::string> out;
    try {
        for (const accounting::AccountingSet& set : setsOfPath(path, password))
            out.push_back(set.name + "   " + set.id);
    } catch (const std::exception&) {
        out.clear();
    }
    return out;
}

Outcome confirmConnect(Session& s, const std::string& entry, const std::string& password) {
    const std::string& title = s.productShortName;
    const std::string chosen = trim(entry);
    if (chosen.empty())
        return Outcome::refuse("请选择核算单位！", title, Icon::Exclamation, "lstSet");
    const std::size_t gap = chosen.rfind("   ");
    const std::string id = trim(gap == std::string::npos ? chosen : chosen.substr(gap + 3));
    bool listed = false;
    try {
        for (const accounting::AccountingSet& set : setsOfPath(s.linkedSetPath, password))
            listed = listed || set.id == id;
    } catch (const std::exception&) {
    }
    if (!listed)
        return Outcome::refuse(accounting::kWrongSetMessage, title, Icon::Exclamation, "lstSet");
    s.sysConn.execute("Update GZSysInfo set F_ZTID=? where F_ID=?", {id, s.curTaskID});
    s.linkedSetID = id;
    return Outcome::success();
}

} // namespace gzgl
