#include "screens/session/frmAmend.h"

#include "screens/session/ScreenSupport.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmAmend::frmAmend(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent) : QDialog(parent), s_(s), p_(p) {
    setObjectName("frmAmend");
    setWindowTitle(QStringLiteral("修改任务信息"));
    auto make = [this](const char* name, bool masked) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        if (masked)
            e->setEchoMode(QLineEdit::Password);
        return e;
    };
    txtName = make("txtName", false);
    txtCorporation = make("txtCorporation", false);
    txtOperator = make("txtOperator", false);
    txtKL1 = make("txtKL1", true);
    txtKL2 = make("txtKL2", true);
    cmbMode = new QComboBox(this);
    cmbMode->setObjectName("cmbMode");
    for (const std::string& m : gzgl::roundOffChoices())
        cmbMode->addItem(qs(m));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("任务名称："), txtName);
    form->addRow(QStringLiteral("企业代码："), txtCorporation);
    form->addRow(QStringLiteral("操作人员："), txtOperator);
    form->addRow(QStringLiteral("操作口令："), txtKL1);
    form->addRow(QStringLiteral("口令复核："), txtKL2);
    form->addRow(QStringLiteral("扣尾方式："), cmbMode);
    auto [box, cmdOk, cmdCancel] = okCancelButtons(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(box);

    const gzgl::AmendFields f = gzgl::loadAmendFields(s_);
    txtName->setText(qs(f.name));
    txtOperator->setText(qs(f.operatorName));
    txtCorporation->setText(qs(f.corporation));
    // The stored password is never shown; empty boxes keep it.
    for (QLineEdit* e : {txtKL1, txtKL2}) {
        e->setPlaceholderText(QStringLiteral("不修改口令请留空"));
        e->setMinimumWidth(e->fontMetrics().horizontalAdvance(e->placeholderText()) + 24);
    }
    // The mode takes effect when the amendment is saved, not before.
    cmbMode->setCurrentIndex(cmbMode->findText(qs(f.modeText)));
    connect(cmdOk, &QPushButton::clicked, this, &frmAmend::confirm);
}

void frmAmend::confirm() {
    gzgl::AmendFields f;
    f.name = ss(txtName->text());
    f.operatorName = ss(txtOperator->text());
    f.corporation = ss(txtCorporation->text());
    f.password1 = ss(txtKL1->text());
    f.password2 = ss(txtKL2->text());
    f.modeText = ss(cmbMode->currentText());
    const gzgl::Outcome o = gzgl::amendTask(s_, f);
    applyOutcome(this, p_, o);
    if (o.ok)
        accept();
}
