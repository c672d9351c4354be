// A small single-user accounting folder to try the voucher transfer
// without an accounting system: KS770WIN.MDB with ZTGL listing two sets,
// and for each set its database with the chart of accounts of the current
// period (leaf and non-leaf accounts), the users, and empty voucher tables.
// The tests lay out the same folder. The network form gets the same sets
// in a catalog on a database server: ZTXX listing them, and per set its
// current period (_XTSZ), chart, users and empty voucher tables.
#pragma once

#include "accounting/odbc_store.h"
#include "accounting/store.h"

#include <string>
#include <vector>

namespace gzgl::accounting {

// The sets the demo lays out.
inline const std::vector<AccountingSet>& demoSets() {
    static const std::vector<AccountingSet> sets = {{"ID0001", "演示公司"}, {"ID0002", "演示分公司"}};
    return sets;
}

// Lays out the demo in folder (created when missing) with period as every
// set's current accounting period and users as the users of every set.
// Each file is written under a temporary name and renamed when complete.
// Throws AccountingError, writing nothing, when one of the files exists
// already or the folder cannot be written.
void layoutDemoAccounting(const std::string& folder, const std::vector<std::string>& users,
                          const YearMonth& period);

// Lays out the demo sets in the catalog of a network link (which must
// exist on the server), in one transaction: ZTXX is made when missing and
// lists the sets, each set gets its tables with period as its current
// period and users as its users. Throws AccountingError, writing nothing,
// when the server cannot be reached (the messages of networkSets), when
// ZTXX lists a demo set already or when a table cannot be made.
void layoutDemoNetworkAccounting(const NetworkLink& link, const std::string& password,
                                 const std::vector<std::string>& users, const YearMonth& period);

} // namespace gzgl::accounting
