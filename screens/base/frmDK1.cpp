#include "screens/base/frmDK1.h"

#include "base/types.h"
#include "screens/session/ScreenSupport.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace gzgl;

frmDK1::frmDK1(Session& s, Prompt& p, QWidget* parent) : QDialog(parent), s_(s), p_(p) {
    setObjectName("frmDK1");
    setWindowTitle(QStringLiteral("增加部门类型"));
    txtNo = new QLineEdit(this);
    txtNo->setObjectName("txtNo");
    txtNo->setMaxLength(2);
    txtType = new QLineEdit(this);
    txtType->setObjectName("txtType");
    auto [box, cmdOk, cmdCancel] = okCancelButtons(this);
    cmdOk->setAutoDefault(false);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("编号"), txtNo);
    form->addRow(QStringLiteral("类型名称"), txtType);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(box);

    connect(cmdOk, &QPushButton::clicked, this, &frmDK1::confirm);
    auto* keys = new EnterKeys(this);
    keys->moveTo(txtNo, txtType);
    keys->on(txtType, [this] { confirm(); });
    propose();
    resize(300, 120);
}

void frmDK1::propose() {
    txtNo->setText(qs(base::nextDepartmentTypeNo(base::departmentTypes(s_))));
    txtType->clear();
    txtType->setFocus();
}

void frmDK1::confirm() {
    const Outcome o = base::addDepartmentType(s_, ss(txtNo->text()), ss(txtType->text()));
    applyOutcome(this, p_, o);
    if (!o.ok)
        return;
    emit typeAdded();
    propose();
}
