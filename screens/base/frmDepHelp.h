// The department picker: every department as a tree under "部门列表". The
// banknote sheet, the report and query conditions and the voucher link
// take the chosen code (and name) into their own fields.
#pragma once

#include "core/session.h"
#include "screens/base/TreePicker.h"

class QLineEdit;

class frmDepHelp : public TreePicker {
    Q_OBJECT
public:
    explicit frmDepHelp(gzgl::Session& s, QWidget* parent = nullptr);

    // For the boxes that collect several departments: opens the picker
    // over parent and, on OK with a department chosen, appends its code to
    // the box after ",". Answers whether the box changed.
    static bool appendInto(gzgl::Session& s, QLineEdit* box, QWidget* parent);
};
