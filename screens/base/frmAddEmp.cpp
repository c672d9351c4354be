#include "screens/base/frmAddEmp.h"

#include "base/tree.h"
#include "core/startup.h"
#include "screens/session/ScreenSupport.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace gzgl;

frmAddEmp::frmAddEmp(Session& s, Prompt& p, QWidget* parent) : QDialog(parent), s_(s), p_(p) {
    setObjectName("frmAddEmp");
    setWindowTitle(QStringLiteral("增加员工"));
    f_ = EmployeeForm::build(this, false, "cmdNotCalc");
    f_.showNotCalc(IsNotCalcOn(s));
    auto [box, cmdOk, cmdCancel] = okCancelButtons(this);
    cmdOk->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(f_.form);
    layout->addWidget(box);
    layout->setSizeConstraint(QLayout::SetFixedSize); // hidden fields shorten the form

    f_.fillLists(s);
    propose();
    connect(f_.cmbDep, &QComboBox::currentIndexChanged, this, &frmAddEmp::proposeSortNo);
    connect(cmdOk, &QPushButton::clicked, this, &frmAddEmp::confirm);
    f_.wirePickers(this, s, p);
    auto* keys = new EnterKeys(this);
    f_.chainEnter(keys, [cmdOk] { cmdOk->setFocus(); });
    keys->on(cmdOk, [this] { confirm(); });
    f_.txtEmpName->setFocus();
}

void frmAddEmp::propose() {
    f_.txtEmpNo->setText(qs(base::nextEmployeeCode(s_)));
    proposeSortNo();
}

void frmAddEmp::proposeSortNo() {
    const std::string dep = base::textBeforeBlank(ss(f_.cmbDep->currentText()));
    f_.setSortNo(dep.empty() ? std::string() : std::to_string(base::nextSortNo(s_, dep)));
}

void frmAddEmp::confirm() {
    const base::SaveEmployeeResult r = base::addEmployee(s_, f_.read());
    if (!r.code.empty())
        f_.txtEmpNo->setText(qs(r.code));
    applyOutcome(this, p_, r.outcome);
    if (!r.outcome.ok)
        return;
    emit employeeAdded(qs(r.code));
    f_.clearPersonal();
    propose();
    f_.txtEmpName->setFocus();
}
