#include "screens/base/frmDepHelp.h"

#include "base/departments.h"

#include <QLineEdit>

using namespace gzgl;

frmDepHelp::frmDepHelp(Session& s, QWidget* parent)
    : TreePicker("frmDepHelp", QStringLiteral("选择部门"), "trvID", base::departmentPickerTree(s), parent) {}

bool frmDepHelp::appendInto(Session& s, QLineEdit* box, QWidget* parent) {
    frmDepHelp help(s, parent);
    if (help.exec() != QDialog::Accepted || help.code().empty())
        return false;
    box->setText(help.appendedTo(box->text()));
    return true;
}
