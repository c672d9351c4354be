// A modal tree to pick one node from: OK or a double click on a node hands
// it back, Escape or Cancel closes. The root stands for "nothing chosen".
// The department and type pickers are this dialog over their engine trees.
#pragma once

#include "base/tree.h"

#include <QDialog>

#include <string>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

class TreePicker : public QDialog {
    Q_OBJECT
public:
    TreePicker(const char* objectName, const QString& title, const char* treeName,
               const std::vector<gzgl::base::TreeNode>& nodes, QWidget* parent);

    // The chosen node's code and name; both empty when the dialog was
    // closed or the root was chosen.
    const std::string& code() const { return code_; }
    const std::string& name() const { return name_; }
    // The box's text with the choice appended after "," (the choice alone
    // in an empty box); unchanged when nothing was chosen.
    QString appendedTo(const QString& box) const;
    QTreeWidget* tree() const { return tree_; }

    // Hands back this node (the current one for OK) and closes.
    void pick(QTreeWidgetItem* item);

private:
    QTreeWidget* tree_;
    std::string code_;
    std::string name_;
};
