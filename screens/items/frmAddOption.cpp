#include "screens/items/frmAddOption.h"

#include "core/text.h"
#include "screens/session/ScreenSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using namespace gzgl;

frmAddOption::frmAddOption(Session& s, Prompt& p, QWidget* parent) : QDialog(parent), s_(s), p_(p) {
    setObjectName("frmAddOption");
    setWindowTitle(QStringLiteral("增加工资项目"));
    f_ = ItemForm::build(this);
    CmImp = new QPushButton(QStringLiteral("引入(&I)"), this);
    CmImp->setObjectName("CmImp");
    LDa = new QListWidget(this);
    LDa->setObjectName("LDa");
    for (const std::string& n : items::accountNames())
        LDa->addItem(qs(n));
    LDa->setMaximumHeight(130);
    LDa->hide();
    auto [box, cmdOk, cmdCancel] = okCancelButtons(this);

    auto* pick = new QHBoxLayout;
    pick->addStretch();
    pick->addWidget(CmImp);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(f_.form);
    layout->addLayout(pick);
    layout->addWidget(LDa);
    layout->addWidget(box);

    connect(cmdOk, &QPushButton::clicked, this, &frmAddOption::confirm);
    connect(CmImp, &QPushButton::clicked, this, [this] { LDa->setVisible(!LDa->isVisible()); });
    connect(LDa, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* i) { pickAccount(i->text()); });
    connect(f_.txtSubject, &QLineEdit::editingFinished, this, &frmAddOption::nameEntered);
    auto* keys = new EnterKeys(this);
    f_.chainEnter(keys, [this] { confirm(); });
}

void frmAddOption::nameEntered() {
    items::ItemFields f = f_.read();
    f.name = trim(f.name);
    if (!items::applyAccountDefaults(f))
        return;
    // An account field is shown from the employee record, never typed.
    f_.chkShow->setChecked(f.show);
    f_.chkPrint->setChecked(f.print);
    f_.chkChange->setChecked(f.change);
    f_.cmbKind->setCurrentIndex(f_.cmbKind->findText(qs(f.type)));
}

void frmAddOption::pickAccount(const QString& name) {
    f_.txtSubject->setText(name);
    nameEntered();
    f_.txtSubject->setEnabled(false);
    f_.cmbKind->setEnabled(false);
    LDa->hide();
}

void frmAddOption::confirm() {
    const items::AddItemResult r = items::addItem(s_, f_.read());
    applyOutcome(this, p_, r.outcome);
    if (!r.outcome.ok)
        return;
    emit itemAdded(qs(r.code));
    reset();
}

void frmAddOption::reset() {
    f_.txtSubject->setEnabled(true);
    f_.cmbKind->setEnabled(true);
    f_.txtSubject->clear();
    f_.txtPrec->clear();
    f_.chkShow->setChecked(true);
    f_.chkPrint->setChecked(true);
    f_.chkChange->setChecked(false);
    f_.txtChange->clear();
    f_.followType();
    f_.txtSubject->setFocus();
}
