// The month-data refresh every salary screen runs when it opens: each
// employee gets a data row, data rows of removed employees go, and the
// fixed-value items (F_Change = 1) are set to their value for everybody.
#pragma once

#include "core/session.h"

namespace gzgl::monthly {

// Which fixed-value items the reset step covers: those without a formula
// line (the entry grid, bank file, reports) or every flagged item (the
// voucher transfer).
enum class FixedItems { WithoutFormula, All };

// Runs the three steps on the open task's current period in one
// transaction. An item whose F_ChgValue is Null is set to 0; an item code
// that is not "F" + three characters, or has no _Data column, is skipped
// (it cannot be spliced into the statement). Throws DbError on failure and
// then leaves the month as it was.
void RefreshMonthData(Session& s, FixedItems which = FixedItems::WithoutFormula);

} // namespace gzgl::monthly
