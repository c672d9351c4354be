// The operator's password change of the open task.
#pragma once

#include "core/prompt.h"
#include "core/session.h"

namespace gzgl {

// OK on the password screen: the old password must match (blanks around it
// ignored), the two new ones must be equal and fit the 16-byte column; the
// new one is stored as typed, and only the open task's row changes.
Outcome changePassword(Session& s, const std::string& oldPassword, const std::string& newPassword,
                       const std::string& repeat);

} // namespace gzgl
