#include "screens/session/frmChangeKL.h"

#include "screens/session/ScreenSupport.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmChangeKL::frmChangeKL(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent) : QDialog(parent), s_(s), p_(p) {
    setObjectName("frmChangeKL");
    setWindowTitle(QStringLiteral("修改口令"));
    auto make = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        e->setEchoMode(QLineEdit::Password);
        return e;
    };
    txtKL1 = make("txtKL1");
    txtKL2 = make("txtKL2");
    txtKL3 = make("txtKL3");
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("原口令："), txtKL1);
    form->addRow(QStringLiteral("修改口令："), txtKL2);
    form->addRow(QStringLiteral("口令复核："), txtKL3);
    auto [box, cmdOk, cmdCancel] = okCancelButtons(this);
    cmdOk->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(box);

    auto* keys = new EnterKeys(this);
    keys->moveTo(txtKL1, txtKL2);
    keys->moveTo(txtKL2, txtKL3);
    keys->moveTo(txtKL3, cmdOk);
    connect(cmdOk, &QPushButton::clicked, this, &frmChangeKL::confirm);
}

void frmChangeKL::confirm() {
    const gzgl::Outcome o = gzgl::changePassword(s_, ss(txtKL1->text()), ss(txtKL2->text()), ss(txtKL3->text()));
    applyOutcome(this, p_, o);
    if (o.ok)
        accept();
}
