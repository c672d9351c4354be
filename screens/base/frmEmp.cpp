#include "screens/base/frmEmp.h"

#include "core/startup.h"
#include "core/text.h"
#include "screens/session/ScreenSupport.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace gzgl;

frmEmp::frmEmp(Session& s, Prompt& p, const std::string& empNo, QWidget* parent) : QDialog(parent), s_(s), p_(p) {
    setObjectName("frmEmp");
    setWindowTitle(QStringLiteral("员工基本信息"));
    f_ = EmployeeForm::build(this, true, "cmdNotCalc1");
    f_.showNotCalc(IsNotCalcOn(s));
    auto* cmdModify = new QPushButton(QStringLiteral("修改(&M)"), this);
    cmdModify->setObjectName("cmdModify");
    cmdModify->setAutoDefault(false);
    auto* cmdExit = new QPushButton(QStringLiteral("退出(&X)"), this);
    cmdExit->setObjectName("cmdExit");
    cmdExit->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdModify);
    buttons->addWidget(cmdExit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(f_.form);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    f_.fillLists(s);
    f_.txtEmpNo->setText(qs(empNo));
    load(empNo);
    connect(cmdModify, &QPushButton::clicked, this, &frmEmp::modify);
    connect(cmdExit, &QPushButton::clicked, this, &QDialog::reject);
    f_.wirePickers(this, s, p);
    onLeave(f_.txtEmpNo, [this] { codeLeft(); });
    auto* keys = new EnterKeys(this);
    f_.chainEnter(keys, [cmdModify] { cmdModify->setFocus(); });
    keys->on(cmdModify, [this] { modify(); });
    f_.txtEmpName->setFocus();
}

bool frmEmp::load(const std::string& code) {
    const auto fields = base::loadEmployee(s_, code);
    if (!fields)
        return false;
    f_.show(*fields);
    loaded_ = code;
    return true;
}

void frmEmp::codeLeft() {
    const std::string typed = trim(ss(f_.txtEmpNo->text()));
    if (typed.empty())
        return;
    const std::string code = base::formatEmployeeCode(s_, typed);
    if (code == loaded_)
        return;
    f_.txtEmpNo->setText(qs(code));
    if (load(code))
        return;
    p_.message("查无此人!", s_.productTitle, Icon::Exclamation);
    f_.txtEmpNo->setFocus();
    f_.txtEmpNo->selectAll();
}

void frmEmp::modify() {
    // A code typed but not yet loaded: show that employee instead of
    // writing the fields on screen over it.
    const std::string typed = trim(ss(f_.txtEmpNo->text()));
    if (!typed.empty() && base::formatEmployeeCode(s_, typed) != loaded_) {
        codeLeft();
        return;
    }
    const base::SaveEmployeeResult r = base::modifyEmployee(s_, f_.read());
    if (!r.code.empty())
        f_.txtEmpNo->setText(qs(r.code));
    applyOutcome(this, p_, r.outcome);
    if (!r.outcome.ok)
        return;
    saved_ = true;
    savedCode_ = r.code;
    accept();
}
