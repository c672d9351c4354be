// The department type picker: the types under "部门列表". The caller puts
// typeNo() into its type field, or appends it with appendedTo() where the
// field holds a list; choosing the root hands back nothing.
#pragma once

#include "core/session.h"
#include "screens/base/TreePicker.h"

class frmDepTypeHelp : public TreePicker {
    Q_OBJECT
public:
    explicit frmDepTypeHelp(gzgl::Session& s, QWidget* parent = nullptr);
    const std::string& typeNo() const { return code(); }
};
