// 职工名册管理: the department tree on the left, on the right the
// sub-departments of the chosen department, the employees of a leaf, or
// every employee (the root). The toolbar tlbKmgl works on both sides; its
// drop-down adds and deletes departments and employees. The grid is the
// one the main window's column-fit button works on (ActiveGridScreen 3).
#pragma once

#include "core/prompt.h"
#include "core/session.h"

#include <QWidget>

#include <set>
#include <string>

class ColumnWidthMemory;
class QAction;
class QLabel;
class QSplitter;
class QTableView;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class RowsModel;
class frmAddDep;
class frmDep;
class frmSet;

class frmManage : public QWidget {
    Q_OBJECT
public:
    frmManage(gzgl::Session& s, gzgl::Prompt& p, QWidget* parent = nullptr);
    ~frmManage() override;

    // Rebuilds the tree with every department (InitTreeHide: the leaf
    // departments only, under the root) and shows the node that was
    // selected before, or the root, on the right.
    void InitTree();
    void InitTreeHide();
    // Fills the grid: 0 the sub-departments of code, 1 the employees of the
    // department code, 2 every employee.
    void InitGrid(int mode, const std::string& code);
    // Shows the node's contents on the right; other screens call it to
    // refresh the roster.
    void trvID_NodeClick(QTreeWidgetItem* node);

    QTableView* grid() const { return fgdList; }
    RowsModel* rows() const { return model_; }
    int gridMode() const { return mode_; }
    // A toolbar or drop-down action by its key ("Expand", "AddDep", ...).
    QAction* action(const QString& key) const;

    // The dialogs, opened window-modal over this screen.
    frmAddDep* openAddDep();
    frmDep* openDep(const std::string& code, gzgl::RosterPane pane);
    frmSet* openSet();
    void openEmp(const std::string& empNo);
    void openAddEmp();
    void openSort();
    void deleteDepartment();
    void deleteEmployee();
    void printRoster();

signals:
    void moduleClosed();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void buildToolbar();
    QAction* addAction(QWidget* owner, const char* key, const QString& text);
    void rebuild(bool hidden);
    // Rebuilds the tree in its present form, keeping what is expanded.
    void refreshTree();
    void refreshNode();
    std::string employeeCodeOf(int row) const;
    void employeeSaved(int row, const std::string& oldCode, const std::string& code);
    void departmentModified(int row, const std::string& code, const QString& name, const QString& type);
    std::set<std::string> expandedKeys() const;

    gzgl::Session& s_;
    gzgl::Prompt& p_;
    QToolBar* tlbKmgl;
    QTreeWidget* trvID;
    QLabel* lblContent;
    QTableView* fgdList;
    RowsModel* model_;
    ColumnWidthMemory* widths_;
    QSplitter* splitter_;
    int mode_ = 0;
    std::string gridCode_; // the department the grid shows (modes 0 and 1)
    bool hidden_ = false;  // the tree holds only the leaf departments
    bool filling_ = false; // a tree rebuild moves the current node
};
