// A small single-user accounting folder to try the voucher transfer
// without an accounting system: KS770WIN.MDB with ZTGL listing two sets,
// and for each set its database with the chart of accounts of the current
// period (leaf and non-leaf accounts), the users, and empty voucher tables.
// The tests lay out the same folder.
#pragma once

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

} // namespace gzgl::accounting
