#include "screens/interfaces/frmBankHelp.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

frmBankHelp::frmBankHelp(QListWidget* departments, QWidget* parent) : QDialog(parent), target_(departments) {
    setObjectName("frmBankHelp");
    setWindowTitle(QStringLiteral("减少部门"));

    lstDep = new QListWidget(this);
    lstDep->setObjectName("lstDep");
    for (int i = 0; i < target_->count(); ++i)
        lstDep->addItem(target_->item(i)->text());
    if (lstDep->count() > 0)
        lstDep->setCurrentRow(0);

    cmdWipe = new QPushButton(QStringLiteral("删除(&D)"), this);
    cmdWipe->setObjectName("cmdWipe");
    cmdCandel = new QPushButton(QStringLiteral("关闭(&C)"), this);
    cmdCandel->setObjectName("cmdCandel");
    connect(cmdWipe, &QPushButton::clicked, this, &frmBankHelp::cmdWipe_Click);
    connect(cmdCandel, &QPushButton::clicked, this, &QDialog::accept);
    connect(lstDep, &QListWidget::itemDoubleClicked, this, &frmBankHelp::cmdWipe_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdWipe);
    buttons->addWidget(cmdCandel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lstDep, 1);
    layout->addLayout(buttons);
    resize(320, 360);
}

void frmBankHelp::cmdWipe_Click() {
    const int row = lstDep->currentRow();
    if (row < 0)
        return;
    // Both lists hold the same entries in the same order.
    delete lstDep->takeItem(row);
    delete target_->takeItem(row);
    cmdWipe->setEnabled(lstDep->count() > 0);
}
