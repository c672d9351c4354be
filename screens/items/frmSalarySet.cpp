#include "screens/items/frmSalarySet.h"

#include "screens/session/ScreenSupport.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace gzgl;

frmSalarySet::frmSalarySet(Session& s, std::optional<items::SalarySettings> current, QWidget* parent)
    : QDialog(parent), items_(items::salarySetItems(s)) {
    setObjectName("frmSalarySet");
    setWindowTitle(QStringLiteral("工资录入设置"));
    auto edit = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        return e;
    };
    txtDep = edit("txtDep");
    txtCode = edit("txtCode");
    txtName = edit("txtName");
    lstFcode = new QListWidget(this);
    lstFcode->setObjectName("lstFcode");
    chkFcode = new QCheckBox(QStringLiteral("显示项目代码"), this);
    chkFcode->setObjectName("chkFcode");
    auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        return b;
    };
    QPushButton* cmdAll = button("cmdAll", QStringLiteral("全选(&A)"));
    QPushButton* cmdClear = button("cmdClear", QStringLiteral("全清(&L)"));
    QPushButton* cmdBegin = button("cmdBegin", QStringLiteral("开始(&B)"));
    QPushButton* cmdCancel = button("cmdCancel", QStringLiteral("取消(&C)"));

    if (current) {
        txtDep->setText(qs(current->department));
        txtCode->setText(qs(current->empNo));
        txtName->setText(qs(current->empName));
        chkFcode->setChecked(current->showCodes);
        for (items::SalarySetItem& i : items_)
            i.ticked = i.fixed || std::find(current->codes.begin(), current->codes.end(), i.code) != current->codes.end();
    }
    for (const items::SalarySetItem& i : items_) {
        auto* entry = new QListWidgetItem(lstFcode);
        entry->setData(Qt::UserRole, qs(i.code));
        entry->setCheckState(i.ticked ? Qt::Checked : Qt::Unchecked);
        // F001 and F002 are always shown.
        entry->setFlags(i.fixed ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    }
    showCodes(chkFcode->isChecked());

    auto* filters = new QFormLayout;
    filters->addRow(QStringLiteral("部门："), txtDep);
    filters->addRow(QStringLiteral("员工编号："), txtCode);
    filters->addRow(QStringLiteral("姓名："), txtName);
    auto* side = new QVBoxLayout;
    side->addWidget(cmdAll);
    side->addWidget(cmdClear);
    side->addWidget(chkFcode);
    side->addStretch();
    auto* list = new QHBoxLayout;
    list->addWidget(lstFcode, 1);
    list->addLayout(side);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdBegin);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addLayout(list, 1);
    layout->addLayout(buttons);

    connect(cmdAll, &QPushButton::clicked, this, [this] { tickAll(true); });
    connect(cmdClear, &QPushButton::clicked, this, [this] { tickAll(false); });
    connect(chkFcode, &QCheckBox::toggled, this, &frmSalarySet::showCodes);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdBegin, &QPushButton::clicked, this, [this] {
        emit begun(settings());
        accept();
    });
    auto* keys = new EnterKeys(this);
    keys->moveTo(txtDep, txtCode);
    keys->moveTo(txtCode, txtName);
    keys->moveTo(txtName, cmdBegin);
}

void frmSalarySet::tickAll(bool on) {
    for (int i = 0; i < lstFcode->count(); ++i)
        if (lstFcode->item(i)->flags() & Qt::ItemIsUserCheckable)
            lstFcode->item(i)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

void frmSalarySet::showCodes(bool on) {
    for (int i = 0; i < lstFcode->count(); ++i) {
        const items::SalarySetItem& it = items_[static_cast<std::size_t>(i)];
        lstFcode->item(i)->setText(qs(on ? it.code + " " + it.name : it.name));
    }
}

items::SalarySettings frmSalarySet::settings() const {
    std::vector<items::SalarySetItem> list = items_;
    for (int i = 0; i < lstFcode->count(); ++i)
        list[static_cast<std::size_t>(i)].ticked = lstFcode->item(i)->checkState() == Qt::Checked;
    return items::salarySettings(ss(txtDep->text()), ss(txtCode->text()), ss(txtName->text()), list,
                                 chkFcode->isChecked());
}
