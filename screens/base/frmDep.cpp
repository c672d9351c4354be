#include "screens/base/frmDep.h"

#include "base/departments.h"
#include "core/text.h"
#include "screens/base/frmDepTypeHelp.h"
#include "screens/session/ScreenSupport.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

using namespace gzgl;

frmDep::frmDep(Session& s, Prompt& p, const std::string& code, QWidget* parent) : QDialog(parent), s_(s), p_(p) {
    setObjectName("frmDep");
    setWindowTitle(QStringLiteral("部门基本信息"));
    auto edit = [this](const char* name, bool readOnly) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        e->setReadOnly(readOnly);
        if (readOnly) {
            // Shown, never typed: they look like the window, not like a box.
            QPalette pal = e->palette();
            pal.setColor(QPalette::Base, pal.color(QPalette::Window));
            e->setPalette(pal);
        }
        return e;
    };
    txtNo = edit("txtNo", true);
    txtName = edit("txtName", false);
    txtType = edit("txtType", false);
    txtSubject = edit("txtSubject", true);
    txtOppSubject = edit("txtOppSubject", true);
    auto* cmdHelp = new QPushButton(QStringLiteral("类型…"), this);
    cmdHelp->setObjectName("cmdHelp");
    cmdHelp->setToolTip(QStringLiteral("选择部门类型"));
    cmdHelp->setAutoDefault(false);
    cmdModify = new QPushButton(QStringLiteral("修改(&M)"), this);
    cmdModify->setObjectName("cmdModify");
    cmdModify->setAutoDefault(false);
    auto* cmdExit = new QPushButton(QStringLiteral("退出(&X)"), this);
    cmdExit->setObjectName("cmdExit");
    cmdExit->setAutoDefault(false);

    auto* type = new QHBoxLayout;
    type->addWidget(txtType, 1);
    type->addWidget(cmdHelp);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("部门编码"), txtNo);
    form->addRow(QStringLiteral("部门名称"), txtName);
    form->addRow(QStringLiteral("部门类型"), type);
    form->addRow(QStringLiteral("借方科目"), txtSubject);
    form->addRow(QStringLiteral("贷方科目"), txtOppSubject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdModify);
    buttons->addWidget(cmdExit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    txtNo->setText(qs(code));
    if (const auto d = base::loadDepartment(s, code)) {
        txtName->setText(qs(d->name));
        txtType->setText(qs(trim(d->typeNo))); // a cleared type is stored as a blank
        txtSubject->setText(qs(d->subject));
        txtOppSubject->setText(qs(d->oppSubject));
    }

    connect(cmdHelp, &QPushButton::clicked, this, &frmDep::pickType);
    connect(cmdModify, &QPushButton::clicked, this, &frmDep::modify);
    connect(cmdExit, &QPushButton::clicked, this, &QDialog::reject);
    auto* keys = new EnterKeys(this);
    keys->moveTo(txtName, txtType);
    keys->on(txtType, [this] {
        if (lookUpType())
            cmdModify->setFocus();
    });
    keys->on(cmdModify, [this] { modify(); });
    txtName->setFocus();
    resize(360, 220);
}

bool frmDep::lookUpType() {
    const std::string type = trim(ss(txtType->text()));
    if (type.empty()) {
        txtSubject->clear();
        txtOppSubject->clear();
        return true;
    }
    if (const auto subjects = base::departmentTypeSubjects(s_, type)) {
        txtSubject->setText(qs(subjects->subject));
        txtOppSubject->setText(qs(subjects->oppSubject));
        return true;
    }
    p_.message("不存在此部门类型！", s_.productTitle, Icon::Exclamation);
    txtType->clear();
    txtType->setFocus();
    return false;
}

void frmDep::pickType() {
    frmDepTypeHelp help(s_, this);
    if (help.exec() == QDialog::Accepted && !help.typeNo().empty()) {
        // A department has one type: the choice replaces the field.
        txtType->setText(qs(help.typeNo()));
        lookUpType();
    }
    txtType->setFocus();
}

void frmDep::modify() {
    const std::string name = trim(ss(txtName->text()));
    const std::string type = trim(ss(txtType->text()));
    const Outcome o = base::modifyDepartment(s_, ss(txtNo->text()), name, type);
    applyOutcome(this, p_, o);
    if (!o.ok) {
        if (o.focus == "txtType")
            txtType->clear();
        return;
    }
    emit modified(qs(name), qs(type));
    accept();
}
