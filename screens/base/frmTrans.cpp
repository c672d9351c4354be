#include "screens/base/frmTrans.h"

#include "base/departments.h"
#include "base/transfer.h"
#include "screens/base/BaseWidgets.h"
#include "screens/session/ScreenSupport.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

using namespace gzgl;

namespace {

QTableView* table(QWidget* owner, const char* name, RowsModel* model) {
    auto* t = new QTableView(owner);
    t->setObjectName(name);
    t->setModel(model);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setWordWrap(false);
    // Fixed row heights keep a large staff quick to lay out.
    t->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);
    t->horizontalHeader()->setDefaultSectionSize(96);
    return t;
}

} // namespace

RefillingCombo::RefillingCombo(Entries entries, QWidget* parent) : QComboBox(parent), entries_(std::move(entries)) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
}

void RefillingCombo::refill() {
    const QString typed = currentText();
    clear();
    for (const std::string& e : entries_(ss(typed)))
        addItem(qs(e));
    setCurrentIndex(-1);
    setEditText(typed);
}

void RefillingCombo::showPopup() {
    refill();
    QComboBox::showPopup();
}

frmTrans::frmTrans(Session& s, Prompt& p, Progress* progress, QWidget* parent)
    : QWidget(parent), s_(s), p_(p), progress_(progress) {
    setObjectName("frmTrans");
    setWindowTitle(QStringLiteral("部门人员调动"));

    tlbKmgl = new QToolBar(this);
    tlbKmgl->setObjectName("tlbKmgl");
    tlbKmgl->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction* expand = addAction("Expand", QStringLiteral("展开"));
    QAction* astrict = addAction("Astrict", QStringLiteral("收缩"));
    QAction* refreshTree = addAction("Refresh", QStringLiteral("刷新"));
    tlbKmgl->addSeparator();
    QAction* all = addAction("All", QStringLiteral("全选"));
    QAction* none = addAction("None", QStringLiteral("全不选"));
    tlbKmgl->addSeparator();
    QAction* exit = addAction("Exit", QStringLiteral("退出"));

    trvID = new QTreeWidget(this);
    trvID->setObjectName("trvID");
    trvID->setHeaderHidden(true);

    depModel_ = new RowsModel(this);
    grdDep = table(this, "grdDep", depModel_);
    grdDep->hide();
    empModel_ = new RowsModel(this);
    lstEmp = table(this, "lstEmp", empModel_);
    lblMsg = new QLabel(this);
    lblMsg->setObjectName("lblMsg");

    cmbDep = new RefillingCombo([this](const std::string& typed) { return base::transferTargets(s_, typed); }, this);
    cmbDep->setObjectName("cmbDep");
    cmbDep->setMinimumWidth(200);
    auto* cmdTrans = new QPushButton(QStringLiteral("调动(&T)"), this);
    cmdTrans->setObjectName("cmdTrans");

    auto* target = new QHBoxLayout;
    target->addWidget(lblMsg, 1);
    target->addWidget(new QLabel(QStringLiteral("调入部门："), this));
    target->addWidget(cmbDep);
    target->addWidget(cmdTrans);
    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(grdDep);
    rightLayout->addWidget(lstEmp, 1);
    rightLayout->addLayout(target);
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName("splitter");
    splitter_->addWidget(trvID);
    splitter_->addWidget(right);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({220, 740});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 4);
    layout->addWidget(tlbKmgl);
    layout->addWidget(splitter_, 1);

    connect(trvID, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* i) { trvID_NodeClick(i); });
    connect(expand, &QAction::triggered, this, [this] {
        trvID->expandAll();
        lblMsg->clear();
    });
    connect(astrict, &QAction::triggered, this, [this] {
        trvID->collapseAll();
        lblMsg->clear();
    });
    connect(refreshTree, &QAction::triggered, this, &frmTrans::refresh);
    connect(all, &QAction::triggered, this, [this] { tickAll(true); });
    connect(none, &QAction::triggered, this, [this] { tickAll(false); });
    connect(exit, &QAction::triggered, this, &QWidget::close);
    connect(cmdTrans, &QPushButton::clicked, this, &frmTrans::transfer);
    auto* keys = new EnterKeys(this);
    keys->on(cmbDep, [cmdTrans] { cmdTrans->setFocus(); });

    InitTree();
    resize(960, 560);
}

QAction* frmTrans::addAction(const char* key, const QString& text) {
    auto* a = new QAction(text, this);
    a->setObjectName(key);
    tlbKmgl->addAction(a);
    return a;
}

QAction* frmTrans::action(const QString& key) const {
    return findChild<QAction*>(key);
}

void frmTrans::InitTree() {
    const std::vector<base::TreeNode> nodes = base::departmentPickerTree(s_);
    fillTree(trvID, nodes);
    if (nodes.size() <= 1)
        lblMsg->setText(QStringLiteral("上级部门："));
}

void frmTrans::refresh() {
    InitTree();
    if (nodeKey_.empty())
        return;
    if (QTreeWidgetItem* node = findNode(trvID, nodeKey_)) {
        trvID->setCurrentItem(node);
        fillList(nodeKey_);
    } else {
        // The department is gone: nothing to show.
        nodeKey_.clear();
        depModel_->reset(base::transferDepartmentCaptions(), {});
        empModel_->reset(base::transferEmployeeCaptions(), {}, true);
        grdDep->hide();
        lblMsg->clear();
    }
}

void frmTrans::trvID_NodeClick(QTreeWidgetItem* node) {
    if (!node)
        return;
    nodeKey_ = nodeKeyOf(node);
    fillList(nodeKey_);
}

void frmTrans::fillList(const std::string& key) {
    if (progress_)
        progress_->begin("  正在准备数据，请稍候...", 0);
    base::TransferList list = base::transferList(s_, base::codeOfKey(key));
    const std::size_t count = list.employees.size();
    const int departments = static_cast<int>(list.departments.size());
    grdDep->setVisible(departments > 0);
    depModel_->reset(base::transferDepartmentCaptions(), std::move(list.departments));
    // Just tall enough for a few sub-departments; more scroll.
    grdDep->setFixedHeight(grdDep->horizontalHeader()->sizeHint().height() + 2 * grdDep->frameWidth() +
                           std::min(departments, 5) * grdDep->verticalHeader()->defaultSectionSize() + 2);
    empModel_->reset(base::transferEmployeeCaptions(), std::move(list.employees), true);
    lstEmp->setColumnWidth(0, 48);
    lblMsg->setText(qs(base::transferCountText(count)));
    if (progress_)
        progress_->end();
}

void frmTrans::tickAll(bool on) {
    WaitCursor wait;
    empModel_->setAllTicked(on);
}

void frmTrans::transfer() {
    std::vector<std::string> codes;
    for (int r = 0; r < empModel_->rowCount(); ++r)
        if (empModel_->ticked(r))
            codes.push_back(empModel_->text(r, 0));
    Outcome o;
    {
        WaitCursor wait;
        o = base::transferEmployees(s_, ss(cmbDep->currentText()), codes, progress_);
    }
    applyOutcome(this, p_, o);
    if (o.ok && !nodeKey_.empty())
        fillList(nodeKey_);
}

void frmTrans::closeEvent(QCloseEvent* e) {
    if (!p_.askYesNo("退出本模块吗？", s_.productTitle, Icon::Question)) {
        e->ignore();
        return;
    }
    e->accept();
    emit moduleClosed();
}
