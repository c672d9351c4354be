#include "screens/interfaces/frmSubjectHelp.h"

#include "screens/base/BaseWidgets.h"
#include "screens/session/ScreenSupport.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <set>

using namespace gzgl;

namespace {
// The item role that marks a lowest-level account.
constexpr int kLeafRole = Qt::UserRole + 1;
} // namespace

frmSubjectHelp::frmSubjectHelp(accounting::AccountingStore& store, QWidget* parent) : QDialog(parent) {
    setObjectName("frmSubjectHelp");
    setWindowTitle(QStringLiteral("选择会计科目"));
    trvSubject = new QTreeWidget(this);
    trvSubject->setObjectName("trvSubject");
    trvSubject->setHeaderHidden(true);
    trvSubject->setExpandsOnDoubleClick(false);

    std::vector<accounting::Account> chart;
    if (const std::optional<accounting::YearMonth> period = store.currentPeriod())
        chart = store.chart(*period);
    std::vector<base::TreeNode> nodes;
    std::set<std::string> leaves;
    for (const accounting::AccountNode& n : accounting::accountTree(chart)) {
        nodes.push_back({n.key, n.text, n.parentKey, n.code, 0, false});
        if (n.leaf)
            leaves.insert(n.key);
    }
    QTreeWidgetItem* root = fillTree(trvSubject, nodes);
    for (QTreeWidgetItemIterator it(trvSubject); *it; ++it)
        (*it)->setData(0, kLeafRole, leaves.count(nodeKeyOf(*it)) > 0);
    if (root)
        trvSubject->setCurrentItem(root);

    auto [box, ok, cancel] = okCancelButtons(this);
    cmdOk = ok;
    cmdOk->setEnabled(false);
    connect(trvSubject, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { cmdOk->setEnabled(isLeaf(current)); });
    connect(cmdOk, &QPushButton::clicked, this, [this] { pick(trvSubject->currentItem()); });
    connect(trvSubject, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* i) { pick(i); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(trvSubject);
    layout->addWidget(box);
    resize(360, 460);
}

bool frmSubjectHelp::isLeaf(const QTreeWidgetItem* item) {
    return item && item->data(0, kLeafRole).toBool();
}

void frmSubjectHelp::pick(QTreeWidgetItem* item) {
    if (!item)
        return;
    if (!isLeaf(item)) {
        item->setExpanded(!item->isExpanded());
        return;
    }
    code_ = base::codeOfKey(nodeKeyOf(item));
    accept();
}
