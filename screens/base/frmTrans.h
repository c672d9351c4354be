// 部门人员调动: the department tree on the left; on the right the
// sub-departments of the chosen department in a small table above, and
// below every employee of its branch with a tick box. The ticked employees
// move to the leaf department chosen in cmbDep.
#pragma once

#include "core/progress.h"
#include "core/prompt.h"
#include "core/session.h"

#include <QComboBox>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QSplitter;
class QTableView;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class RowsModel;

// An editable box whose list is asked anew, for the text typed so far, each
// time it drops down.
class RefillingCombo : public QComboBox {
    Q_OBJECT
public:
    using Entries = std::function<std::vector<std::string>(const std::string& typed)>;
    RefillingCombo(Entries entries, QWidget* parent = nullptr);
    void showPopup() override;
    // Replaces the list, keeping the typed text.
    void refill();

private:
    Entries entries_;
};

class frmTrans : public QWidget {
    Q_OBJECT
public:
    frmTrans(gzgl::Session& s, gzgl::Prompt& p, gzgl::Progress* progress, QWidget* parent = nullptr);

    // Rebuilds the department tree; an empty department table shows
    // "上级部门：".
    void InitTree();
    // Shows the node's sub-departments and the employees of its branch.
    void trvID_NodeClick(QTreeWidgetItem* node);
    // A toolbar action by its key ("Expand", "All", ...).
    QAction* action(const QString& key) const;
    RowsModel* employees() const { return empModel_; }
    RowsModel* departments() const { return depModel_; }

signals:
    void moduleClosed();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    QAction* addAction(const char* key, const QString& text);
    void fillList(const std::string& key);
    void tickAll(bool on);
    void transfer();
    void refresh();

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    gzgl::Progress* progress_;
    QToolBar* tlbKmgl;
    QTreeWidget* trvID;
    QTableView* grdDep;
    QTableView* lstEmp;
    QLabel* lblMsg;
    RefillingCombo* cmbDep;
    QSplitter* splitter_;
    RowsModel* depModel_;
    RowsModel* empModel_;
    std::string nodeKey_; // the node the list shows, empty before the first click
};
