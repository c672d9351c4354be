#include "screens/base/frmEmpTypeHelp.h"

#include "base/types.h"

using namespace gzgl;

frmEmpTypeHelp::frmEmpTypeHelp(Session& s, QWidget* parent)
    : TreePicker("frmEmpTypeHelp", QStringLiteral("职工分类定义"), "TreeViewEmpType",
                 base::employeeTypePickerTree(s), parent) {}
