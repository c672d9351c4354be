// 职工分类定义: the employee types as a tree (two-digit codes under the root
// "员工类型", four-digit codes under their parents) or, with chkType, as a
// plain list. A click selects the type the delete button removes; the root
// clears the selection.
#pragma once

#include "core/prompt.h"
#include "core/session.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QTreeWidget;
class QTreeWidgetItem;

class frmEmpKind : public QWidget {
    Q_OBJECT
public:
    frmEmpKind(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent = nullptr);

    // Rebuilds tree and list and clears the boxes and the selection.
    void reload();
    void addType();
    void deleteType();
    // The code the delete button works on; empty when none is selected.
    const std::string& selectedCode() const { return selected_; }

private:
    void nodeClicked(QTreeWidgetItem* item);
    void showAsList(bool list);

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    QTreeWidget* trvID;
    QListWidget* lstForm;
    QCheckBox* chkType;
    QLineEdit* txtCode;
    QLineEdit* txtName;
    std::string selected_;
};
