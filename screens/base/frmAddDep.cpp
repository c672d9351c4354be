#include "screens/base/frmAddDep.h"

#include "base/departments.h"
#include "screens/session/ScreenSupport.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace gzgl;

frmAddDep::frmAddDep(Session& s, Prompt& p, QWidget* parent) : QDialog(parent), s_(s), p_(p) {
    setObjectName("frmAddDep");
    setWindowTitle(QStringLiteral("增加部门"));
    cmbType = new QComboBox(this);
    cmbType->setObjectName("cmbType");
    cmbType->addItem(QString()); // no type
    for (const std::string& name : base::departmentTypeNames(s))
        cmbType->addItem(qs(name));
    txtCode = new QLineEdit(this);
    txtCode->setObjectName("txtCode");
    txtName = new QLineEdit(this);
    txtName->setObjectName("txtName");
    auto [box, cmdOk, cmdCancel] = okCancelButtons(this);
    cmdOk->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("部门编码"), txtCode);
    form->addRow(QStringLiteral("部门名称"), txtName);
    form->addRow(QStringLiteral("部门类型"), cmbType);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(box);

    connect(cmdOk, &QPushButton::clicked, this, &frmAddDep::confirm);
    auto* keys = new EnterKeys(this);
    keys->moveTo(txtCode, txtName);
    keys->moveTo(txtName, cmdOk);
    keys->on(cmdOk, [this] { confirm(); });
    txtCode->setFocus();
    resize(320, 150);
}

void frmAddDep::confirm() {
    const base::AddDepartmentResult r =
        base::addDepartment(s_, p_, ss(txtCode->text()), ss(txtName->text()), ss(cmbType->currentText()));
    applyOutcome(this, p_, r.outcome);
    if (r.added) {
        txtCode->clear();
        txtName->clear();
        txtCode->setFocus();
    }
    emit departmentsChanged();
}
