// The single-user form of the accounting system: SQLite files in the
// accounting data folder. KS770WIN.MDB holds ZTGL (ZTID, ZTMC, DQKJN,
// DQKJY), one row per set; the set of id "ID0001" lives in KS0001.MDB with
// the tables ID0001_YE (chart of accounts per period), ID0001_YHGL (users),
// ID0001_PZGL_M and ID0001_PZGL_D (voucher headers and lines).
#pragma once

#include "accounting/store.h"

#include <memory>
#include <string>
#include <vector>

namespace gzgl::accounting {

// Whether id may name a set: letters, digits and "_" only, at least four
// characters (the set's file takes the last four). Only such an id is ever
// part of a table name.
bool isSetID(const std::string& id);

// The file name of a set's database: "KS" + the last four characters of
// its id + ".MDB".
std::string setDatabaseName(const std::string& setID);

// The sets listed in the folder's system database, in table order. Throws
// AccountingError when the folder, the file or its ZTGL table is missing or
// the file is not a database.
std::vector<AccountingSet> singleUserSets(const std::string& folder);

// Opens the set setID of the accounting data folder: the system database
// and the set's database, both checked for the tables the transfer uses.
// Throws AccountingError with a message for the user when the folder does
// not exist, a file is missing or not a database, the set is not listed
// ("请选择正确的核算单位！") or a table is missing.
std::unique_ptr<AccountingStore> openSingleUserStore(const std::string& folder, const std::string& setID);

} // namespace gzgl::accounting
