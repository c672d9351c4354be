#include "screens/base/frmDK2.h"

#include "base/types.h"
#include "screens/session/ScreenSupport.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace gzgl;

frmDK2::frmDK2(Session& s, Prompt& p, const std::string& no, const std::string& name, QWidget* parent)
    : QDialog(parent), s_(s), p_(p) {
    setObjectName("frmDK2");
    setWindowTitle(QStringLiteral("修改部门类型"));
    txtNo = new QLineEdit(qs(no), this);
    txtNo->setObjectName("txtNo");
    txtNo->setReadOnly(true);
    txtName = new QLineEdit(qs(name), this);
    txtName->setObjectName("txtName");
    auto [box, cmdOk, cmdCancel] = okCancelButtons(this);
    cmdOk->setAutoDefault(false);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("编号"), txtNo);
    form->addRow(QStringLiteral("类型名称"), txtName);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(box);

    connect(cmdOk, &QPushButton::clicked, this, &frmDK2::confirm);
    auto* keys = new EnterKeys(this);
    keys->on(txtName, [this] { confirm(); });
    txtName->setFocus();
    txtName->selectAll();
    resize(300, 120);
}

void frmDK2::confirm() {
    const Outcome o = base::renameDepartmentType(s_, ss(txtNo->text()), ss(txtName->text()));
    applyOutcome(this, p_, o);
    if (o.ok)
        accept();
}
