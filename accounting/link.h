// Linking a salary task to a set of the accounting system. The single-user
// form keeps its sets in the table ZTGL of KS770WIN.MDB in the accounting
// data folder; the network form is reached through ODBC and keeps its sets
// in ZTXX of the product's catalog. F_ZTPATH holds the folder, or for the
// network form "odbc:" + product + ":" + connection text without password
// (accounting/odbc_store.h); the password is asked for when connecting.
#pragma once

#include "accounting/odbc_store.h"
#include "accounting/store.h"
#include "core/prompt.h"
#include "core/session.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace gzgl {

enum class LinkChoice { None, SingleUser, Network };

// The link screen's modes: 3 = before a new task is created (the choice is
// kept for the task creation), 4 = change the open task's accounting path.
constexpr int kLinkNewTask = 3;
constexpr int kLinkChangePath = 4;

struct LinkFields {
    LinkChoice choice = LinkChoice::None;
    std::string folder{};  // single-user: the accounting data folder
    std::string setName{}; // the chosen set (ZTMC)
    // Network form: server is an ODBC data source name or a whole
    // connection text ("Driver=...;Server=..."); login is added as UID
    // when the text names none; the password only connects, it is never
    // kept; product is the catalog (empty: "KS770CW").
    std::string server{}, login{}, password{};
    std::string product{};
    bool operator==(const LinkFields&) const = default;
};

// Folders proposed for the accounting data, the first existing one first.
std::vector<std::string> proposedAccountingFolders();

// The set names (ZTMC) of the single-user system database in folder; empty
// when it cannot be read.
std::vector<std::string> accountingSets(const std::string& folder);

// The network link the fields describe: the server field as connection
// text ("DSN=" + it when it holds no "="), the login as UID when the text
// names no user, the product ("KS770CW" when empty).
accounting::NetworkLink networkLinkOf(const LinkFields& f);

// The set names (ZTMC) of the network catalog the fields describe; empty
// when it cannot be reached or read.
std::vector<std::string> networkAccountingSets(const LinkFields& f);

// The set list of the link screen's network part, read from the server
// with the typed password (used for this connection only). A connection
// text that cannot be kept is refused with what is wrong with it, a server
// that cannot be reached or read with "请填入正确的服务器信息！" and the
// reason on a second line, focus on txtServer; title is the messages' title.
struct NetworkSetList {
    Outcome outcome;
    std::vector<accounting::AccountingSet> sets; // ordered by id
};
NetworkSetList listNetworkSets(const LinkFields& f, const std::string& title);

// OK on the link screen. Mode 3 keeps the choice in the session for the task
// creation; mode 4 writes it into the open task's row. The network form
// refuses an empty server and a connection text holding a password with
// "请填入正确的服务器信息！" (or what is wrong with the text), no set with
// "请选择核算单位！", a catalog that cannot be reached with
// "请填入正确的服务器信息！" and the reason on a second line, and a set name
// ZTXX does not list with "请选择正确的核算单位！".
Outcome confirmLink(Session& s, const LinkFields& f, int mode);

// The set the open task is linked to, opened for the voucher transfer from
// the task's GZSysInfo row as it stands now (F_ZTID, F_ZTPATH). Throws
// accounting::AccountingError: "工资系统帐套路径未设置。" for a task without a
// set, else the store's refusal (missing folder, file or table, a file that
// is not a database, a set the accounting system does not list; for the
// network form a missing driver, a server that cannot be reached or refuses
// the login or password, a missing catalog). password is used only by the
// network form, added to the kept connection text.
std::unique_ptr<accounting::AccountingStore> openLinkedStore(Session& s, const std::string& password = {});

// Asks the user for the accounting database's password; nullopt when the
// user cancels.
using PasswordQuestion = std::function<std::optional<std::string>()>;

// The password the open task's linked set is reached with. A task without
// a link or linked to a single-user folder needs none: "" without asking.
// A network link is first tried without a password (the data source's
// configuration may hold one); only when the server refuses the login is
// the user asked, and a refused answer shows "财务数据库服务器拒绝了登录名或口令！"
// through p and asks again. nullopt when the user cancels. Other failures
// (no driver, no server, no catalog) throw accounting::AccountingError.
// The password is only handed back, never written anywhere.
std::optional<std::string> linkedSetPassword(Session& s, Prompt& p, const PasswordQuestion& ask);

// The entries of the re-choice screen (frmConnect) for the linked path
// (a single-user folder or a network link, reached with password): set
// name and id separated by three blanks. Empty when the sets cannot be read.
std::vector<std::string> connectEntries(const std::string& path, const std::string& password = {});

// OK on the re-choice screen: "请选择核算单位！" without a choice,
// "请选择正确的核算单位！" when the id after the name is not a set of the
// linked folder or catalog; else the task's F_ZTID becomes that id.
Outcome confirmConnect(Session& s, const std::string& entry, const std::string& password = {});

} // namespace gzgl
