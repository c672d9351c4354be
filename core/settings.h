// System settings of the open task, kept in tbSysSet.
#pragma once

#include "core/session.h"

namespace gzgl {

// Stores "BJSGZX" = "1" or "0" for the open task, inserting the row when
// there is none. Throws DbError.
void setNotCalc(Session& s, bool on);

} // namespace gzgl
