#include "screens/base/frmDepTypeHelp.h"

#include "base/types.h"

using namespace gzgl;

frmDepTypeHelp::frmDepTypeHelp(Session& s, QWidget* parent)
    : TreePicker("frmDepTypeHelp", QStringLiteral("部门分类定义"), "TreeViewDepType",
                 base::departmentTypePickerTree(s), parent) {}
