#include "screens/items/frmAlterOption.h"

#include "screens/session/ScreenSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace gzgl;

frmAlterOption::frmAlterOption(Session& s, Prompt& p, const items::Item& item, QWidget* parent)
    : QDialog(parent), s_(s), p_(p), item_(item) {
    setObjectName("frmAlterOption");
    setWindowTitle(QStringLiteral("修改工资项目"));
    txtCode = new QLineEdit(qs(item.code), this);
    txtCode->setObjectName("txtCode");
    txtCode->setReadOnly(true);
    txtCode->setEnabled(false);
    f_ = ItemForm::build(this);
    f_.show(items::fieldsOf(item));

    const items::ItemLocks lock = items::itemLocks(item);
    auto lockIf = [](bool locked, QWidget* w) {
        if (locked) {
            w->setEnabled(false);
            w->setProperty("locked", true);
        }
    };
    lockIf(lock.name, f_.txtSubject);
    lockIf(lock.type, f_.cmbKind);
    lockIf(lock.prec, f_.txtPrec);
    lockIf(lock.show, f_.chkShow);
    lockIf(lock.change, f_.chkChange);
    lockIf(lock.change, f_.txtChange);

    auto [box, cmdOk, cmdCancel] = okCancelButtons(this);
    auto* code = new QFormLayout;
    code->addRow(QStringLiteral("项目代码："), txtCode);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(code);
    layout->addWidget(f_.form);
    layout->addWidget(box);
    connect(cmdOk, &QPushButton::clicked, this, &frmAlterOption::confirm);
    auto* keys = new EnterKeys(this);
    f_.chainEnter(keys, [this] { confirm(); });
}

void frmAlterOption::confirm() {
    const Outcome o = items::changeItem(s_, item_.code, f_.read());
    applyOutcome(this, p_, o);
    if (o.ok)
        accept();
}
