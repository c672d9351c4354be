// The employee type picker: the types under the task's name, the
// four-digit codes below their two-digit parents. The caller puts typeNo()
// into its type field, or appends it with appendedTo() where the field
// holds a list; choosing the root hands back nothing.
#pragma once

#include "core/session.h"
#include "screens/base/TreePicker.h"

class frmEmpTypeHelp : public TreePicker {
    Q_OBJECT
public:
    explicit frmEmpTypeHelp(gzgl::Session& s, QWidget* parent = nullptr);
    const std::string& typeNo() const { return code(); }
};
