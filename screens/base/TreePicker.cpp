#include "screens/base/TreePicker.h"

#include "core/text.h"
#include "screens/base/BaseWidgets.h"
#include "screens/session/ScreenSupport.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace gzgl;

TreePicker::TreePicker(const char* objectName, const QString& title, const char* treeName,
                       const std::vector<base::TreeNode>& nodes, QWidget* parent)
    : QDialog(parent) {
    setObjectName(objectName);
    setWindowTitle(title);
    tree_ = new QTreeWidget(this);
    tree_->setObjectName(treeName);
    tree_->setHeaderHidden(true);
    tree_->setExpandsOnDoubleClick(false);
    if (QTreeWidgetItem* root = fillTree(tree_, nodes))
        tree_->setCurrentItem(root);
    auto [box, cmdOk, cmdCancel] = okCancelButtons(this);
    connect(cmdOk, &QPushButton::clicked, this, [this] { pick(tree_->currentItem()); });
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* i) { pick(i); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tree_);
    layout->addWidget(box);
    resize(320, 420);
}

void TreePicker::pick(QTreeWidgetItem* item) {
    code_ = base::codeOfKey(nodeKeyOf(item));
    name_.clear();
    if (!code_.empty()) {
        const std::string text = ss(item->text(0));
        // The node text is code + " " + name.
        name_ = text.size() > code_.size() ? trim(text.substr(code_.size())) : std::string();
    }
    accept();
}

QString TreePicker::appendedTo(const QString& box) const {
    if (code_.empty())
        return box;
    return qs(base::appendChoice(ss(box), code_));
}
