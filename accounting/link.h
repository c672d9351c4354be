// Linking a salary task to a set of the accounting system. The single-user
// form keeps its sets in the table ZTGL of KS770WIN.MDB in the accounting
// data folder; the network form is reached through ODBC.
#pragma once

#include "accounting/store.h"
#include "core/prompt.h"
#include "core/session.h"

#include <memory>
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
    std::string folder;  // single-user: the accounting data folder
    std::string setName; // the chosen set (ZTMC)
    std::string server, login, password; // network form
    bool operator==(const LinkFields&) const = default;
};

// Folders proposed for the accounting data, the first existing one first.
std::vector<std::string> proposedAccountingFolders();

// The set names (ZTMC) of the single-user system database in folder; empty
// when it cannot be read.
std::vector<std::string> accountingSets(const std::string& folder);

// OK on the link screen. Mode 3 keeps the choice in the session for the task
// creation; mode 4 writes it into the open task's row.
Outcome confirmLink(Session& s, const LinkFields& f, int mode);

// The set the open task is linked to, opened for the voucher transfer from
// the task's GZSysInfo row as it stands now (F_ZTID, F_ZTPATH). Throws
// accounting::AccountingError: "工资系统帐套路径未设置。" for a task without a
// set, else the store's refusal (missing folder, file or table, a file that
// is not a database, a set the accounting system does not list).
std::unique_ptr<accounting::AccountingStore> openLinkedStore(Session& s);

// The entries of the re-choice screen (frmConnect) for the single-user
// folder: set name and id separated by three blanks. Empty when the folder
// has no readable system database.
std::vector<std::string> connectEntries(const std::string& folder);

// OK on the re-choice screen: "请选择核算单位！" without a choice,
// "请选择正确的核算单位！" when the id after the name is not a set of the
// linked folder; else the task's F_ZTID becomes that id.
Outcome confirmConnect(Session& s, const std::string& entry);

} // namespace gzgl
