// Linking a salary task to a set of the accounting system. The single-user
// form keeps its sets in the table ZTGL of KS770WIN.MDB in the accounting
// data folder; the network form is reached through ODBC.
#pragma once

#include "core/prompt.h"
#include "core/session.h"

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

} // namespace gzgl
