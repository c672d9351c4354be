#include "screens/base/frmEmpKind.h"

#include "base/types.h"
#include "screens/base/BaseWidgets.h"
#include "screens/session/ScreenSupport.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace gzgl;

frmEmpKind::frmEmpKind(Session& s, Prompt& p, QWidget* parent) : QWidget(parent), s_(s), p_(p) {
    setObjectName("frmEmpKind");
    setWindowTitle(QStringLiteral("职工分类定义"));
    trvID = new QTreeWidget(this);
    trvID->setObjectName("trvID");
    trvID->setHeaderHidden(true);
    lstForm = new QListWidget(this);
    lstForm->setObjectName("lstForm");
    lstForm->hide();
    chkType = new QCheckBox(QStringLiteral("列表显示"), this);
    chkType->setObjectName("chkType");
    txtCode = new QLineEdit(this);
    txtCode->setObjectName("txtCode");
    txtCode->setMaxLength(4);
    txtName = new QLineEdit(this);
    txtName->setObjectName("txtName");
    auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* cmdAdd = button("cmdAdd", QStringLiteral("增加(&A)"));
    QPushButton* cmdDel = button("cmdDel", QStringLiteral("删除(&D)"));
    QPushButton* cmdExit = button("cmdExit", QStringLiteral("退出(&X)"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("类型代码"), txtCode);
    form->addRow(QStringLiteral("类型名称"), txtName);
    auto* right = new QVBoxLayout;
    right->addLayout(form);
    right->addWidget(cmdAdd);
    right->addWidget(cmdDel);
    right->addStretch();
    right->addWidget(chkType);
    right->addWidget(cmdExit);
    auto* lists = new QVBoxLayout;
    lists->addWidget(trvID);
    lists->addWidget(lstForm);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(right);

    connect(trvID, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* i) { nodeClicked(i); });
    connect(lstForm, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* i) { selected_ = base::textBeforeBlank(ss(i->text())); });
    connect(chkType, &QCheckBox::toggled, this, &frmEmpKind::showAsList);
    connect(cmdAdd, &QPushButton::clicked, this, &frmEmpKind::addType);
    connect(cmdDel, &QPushButton::clicked, this, &frmEmpKind::deleteType);
    connect(cmdExit, &QPushButton::clicked, this, [this] { (parentWidget() ? parentWidget() : this)->close(); });
    auto* keys = new EnterKeys(this);
    keys->moveTo(txtCode, txtName);
    keys->on(txtName, [this] { addType(); });
    reload();
    resize(460, 380);
}

void frmEmpKind::reload() {
    const std::vector<base::TreeNode> nodes = base::employeeTypeTree(s_);
    fillTree(trvID, nodes);
    trvID->expandAll();
    lstForm->clear();
    for (const base::TreeNode& n : nodes)
        if (!n.code.empty())
            lstForm->addItem(qs(n.text));
    txtCode->clear();
    txtName->clear();
    selected_.clear();
}

void frmEmpKind::nodeClicked(QTreeWidgetItem* item) {
    // The root stands for no type.
    selected_ = base::codeOfKey(nodeKeyOf(item)).empty() ? std::string() : base::textBeforeBlank(ss(item->text(0)));
}

void frmEmpKind::showAsList(bool list) {
    trvID->setVisible(!list);
    lstForm->setVisible(list);
    selected_.clear();
    trvID->clearSelection();
    lstForm->clearSelection();
}

void frmEmpKind::addType() {
    const Outcome o = base::addEmployeeType(s_, ss(txtCode->text()), ss(txtName->text()));
    applyOutcome(this, p_, o);
    if (o.ok) {
        reload();
        txtCode->setFocus();
    }
}

void frmEmpKind::deleteType() {
    const Outcome o = base::deleteEmployeeType(s_, p_, selected_);
    applyOutcome(this, p_, o);
    if (o.ok)
        reload();
}
