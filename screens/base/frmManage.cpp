#include "screens/base/frmManage.h"

#include "base/departments.h"
#include "base/employees.h"
#include "core/startup.h"
#include "print/screen_jobs.h"
#include "screens/base/BaseSettings.h"
#include "screens/base/BaseWidgets.h"
#include "screens/base/frmAddDep.h"
#include "screens/base/frmAddEmp.h"
#include "screens/print/PrintDialogs.h"
#include "screens/base/frmDep.h"
#include "screens/base/frmEmp.h"
#include "screens/base/frmSet.h"
#include "screens/base/frmSort.h"
#include "screens/session/GridWidths.h"
#include "screens/session/ScreenSupport.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSplitter>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

using namespace gzgl;

namespace {
// A shown column starts at least 1200 twips wide.
constexpr int kColumnTwips = 1200;
} // namespace

frmManage::frmManage(Session& s, Prompt& p, QWidget* parent) : QWidget(parent), s_(s), p_(p) {
    setObjectName("frmManage");
    setWindowTitle(QStringLiteral("职工名册管理"));
    buildToolbar();

    trvID = new QTreeWidget(this);
    trvID->setObjectName("trvID");
    trvID->setHeaderHidden(true);
    // A double click opens the department; the arrows expand.
    trvID->setExpandsOnDoubleClick(false);

    lblContent = new QLabel(this);
    lblContent->setObjectName("lblContent");
    model_ = new RowsModel(this);
    fgdList = new QTableView(this);
    fgdList->setObjectName("fgdList");
    fgdList->setModel(model_);
    fgdList->setSelectionBehavior(QAbstractItemView::SelectRows);
    fgdList->setSelectionMode(QAbstractItemView::SingleSelection);
    fgdList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fgdList->setWordWrap(false);
    // Fixed row heights keep ten thousand rows quick to lay out.
    fgdList->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    fgdList->verticalHeader()->setDefaultSectionSize(fgdList->fontMetrics().height() + 6);
    fgdList->horizontalHeader()->setDefaultSectionSize(kColumnTwips * logicalDpiX() / 1440);
    // Each mode has its own columns; a column is known by its caption.
    widths_ = new ColumnWidthMemory(fgdList, "frmManage", [this](int c) {
        return model_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    });

    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(lblContent);
    rightLayout->addWidget(fgdList, 1);
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName("splitter");
    splitter_->addWidget(trvID);
    splitter_->addWidget(right);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({240, 740});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 4);
    layout->addWidget(tlbKmgl);
    layout->addWidget(splitter_, 1);

    connect(trvID, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* i) { trvID_NodeClick(i); });
    // Moving through the tree with the keys shows each node as well; a mouse
    // press moves the current node too and is left to the click.
    connect(trvID, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* i) {
        if (!filling_ && i && QApplication::mouseButtons() == Qt::NoButton && trvID->hasFocus())
            trvID_NodeClick(i);
    });
    connect(trvID, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* i) {
        const std::string code = base::codeOfKey(nodeKeyOf(i));
        if (!code.empty())
            openDep(code, RosterPane::Tree);
    });
    connect(fgdList, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (!index.isValid())
            return;
        if (mode_ == static_cast<int>(base::RosterMode::Departments))
            openDep(model_->text(index.row(), 0), RosterPane::Grid);
        else
            openEmp(employeeCodeOf(index.row()));
    });

    s_.activeGridScreen = 3;
    InitTree();
}

frmManage::~frmManage() {
    // Closed without the question (the program ending): the fit button
    // must not reach for this grid any more.
    if (s_.activeGridScreen == 3)
        s_.activeGridScreen = 0;
}

QAction* frmManage::addAction(QWidget* owner, const char* key, const QString& text) {
    auto* a = new QAction(text, this);
    a->setObjectName(key);
    owner->addAction(a);
    return a;
}

void frmManage::buildToolbar() {
    tlbKmgl = new QToolBar(this);
    tlbKmgl->setObjectName("tlbKmgl");
    tlbKmgl->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction* expand = addAction(tlbKmgl, "Expand", QStringLiteral("展开"));
    QAction* astrict = addAction(tlbKmgl, "Astrict", QStringLiteral("收缩"));
    QAction* refresh = addAction(tlbKmgl, "Refresh", QStringLiteral("刷新"));
    QAction* hide = addAction(tlbKmgl, "Hide", QStringLiteral("末级部门"));
    tlbKmgl->addSeparator();

    auto* menu = new QMenu(this);
    menu->setObjectName("mnuEdit");
    QAction* addDep = addAction(menu, "AddDep", QStringLiteral("增加部门"));
    QAction* addEmp = addAction(menu, "AddEmp", QStringLiteral("增加员工"));
    menu->addSeparator();
    QAction* delDep = addAction(menu, "DelDep", QStringLiteral("删除部门"));
    QAction* delEmp = addAction(menu, "DelEmp", QStringLiteral("删除员工"));
    auto* edit = new QToolButton(tlbKmgl);
    edit->setObjectName("Edit");
    edit->setText(QStringLiteral("编辑"));
    edit->setMenu(menu);
    edit->setPopupMode(QToolButton::InstantPopup);
    tlbKmgl->addWidget(edit);

    QAction* set = addAction(tlbKmgl, "Set", QStringLiteral("设置"));
    QAction* print = addAction(tlbKmgl, "Print", QStringLiteral("打印"));
    QAction* sort = addAction(tlbKmgl, "Sort", QStringLiteral("排序"));
    tlbKmgl->addSeparator();
    QAction* exit = addAction(tlbKmgl, "Exit", QStringLiteral("退出"));

    connect(expand, &QAction::triggered, this, [this] { trvID->expandAll(); });
    connect(astrict, &QAction::triggered, this, [this] { trvID->collapseAll(); });
    connect(refresh, &QAction::triggered, this, &frmManage::InitTree);
    connect(hide, &QAction::triggered, this, &frmManage::InitTreeHide);
    connect(set, &QAction::triggered, this, [this] { openSet(); });
    connect(sort, &QAction::triggered, this, &frmManage::openSort);
    connect(print, &QAction::triggered, this, &frmManage::printRoster);
    connect(exit, &QAction::triggered, this, [this] {
        // Inside the main window the frame is the sub-window.
        auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
        frame ? frame->close() : close();
    });
    connect(addDep, &QAction::triggered, this, [this] { openAddDep(); });
    connect(addEmp, &QAction::triggered, this, &frmManage::openAddEmp);
    connect(delDep, &QAction::triggered, this, &frmManage::deleteDepartment);
    connect(delEmp, &QAction::triggered, this, &frmManage::deleteEmployee);
}

QAction* frmManage::action(const QString& key) const { return findChild<QAction*>(key); }

void frmManage::InitTree() { rebuild(false); }

void frmManage::InitTreeHide() { rebuild(true); }

void frmManage::rebuild(bool hidden) {
    const std::string keep = nodeKeyOf(trvID->currentItem());
    lblContent->clear();
    const std::vector<base::TreeNode> nodes = hidden ? base::leafDepartmentTree(s_) : base::departmentTree(s_);
    hidden_ = hidden;
    filling_ = true;
    QTreeWidgetItem* root = fillTree(trvID, nodes);
    QTreeWidgetItem* shown = findNode(trvID, keep);
    if (!shown)
        shown = root;
    for (QTreeWidgetItem* up = shown ? shown->parent() : nullptr; up; up = up->parent())
        up->setExpanded(true);
    trvID->setCurrentItem(shown);
    filling_ = false;
    if (nodes.size() <= 1) {
        // No department yet: the grid is ready for the first ones.
        lblContent->setText(QStringLiteral("上级部门："));
        InitGrid(static_cast<int>(base::RosterMode::Departments), "");
        return;
    }
    trvID_NodeClick(shown);
}

std::set<std::string> frmManage::expandedKeys() const {
    std::set<std::string> keys;
    for (QTreeWidgetItemIterator it(trvID); *it; ++it)
        if ((*it)->isExpanded())
            keys.insert(nodeKeyOf(*it));
    return keys;
}

void frmManage::refreshTree() {
    const std::set<std::string> open = expandedKeys();
    rebuild(hidden_);
    for (QTreeWidgetItemIterator it(trvID); *it; ++it)
        if (open.count(nodeKeyOf(*it)))
            (*it)->setExpanded(true);
}

void frmManage::refreshNode() { trvID_NodeClick(trvID->currentItem()); }

void frmManage::trvID_NodeClick(QTreeWidgetItem* node) {
    if (!node)
        return;
    const std::string code = base::codeOfKey(nodeKeyOf(node));
    if (code.empty()) {
        lblContent->clear();
        InitGrid(static_cast<int>(base::RosterMode::AllEmployees), "");
        return;
    }
    if (node->childCount() == 0) {
        lblContent->setText(QStringLiteral("所属部门：") + node->text(0));
        InitGrid(static_cast<int>(base::RosterMode::Employees), code);
        return;
    }
    QTreeWidgetItem* parent = node->parent();
    if (!parent || nodeKeyOf(parent) == base::kRootKey)
        lblContent->setText(QStringLiteral("一级部门：") + node->text(0));
    else
        lblContent->setText(QStringLiteral("上级部门：") + parent->text(0));
    InitGrid(static_cast<int>(base::RosterMode::Departments), code);
}

void frmManage::InitGrid(int mode, const std::string& code) {
    base::RosterGrid g = base::rosterGrid(s_, static_cast<base::RosterMode>(mode), code, empSortSetting());
    mode_ = mode;
    gridCode_ = code;
    model_->reset(g.captions, std::move(g.rows));
    for (int c = 0; c < model_->columnCount(); ++c) {
        const bool shown = static_cast<std::size_t>(c) >= g.visible.size() || g.visible[static_cast<std::size_t>(c)];
        fgdList->setColumnHidden(c, !shown);
    }
    widths_->setScreen("frmManage/" + QString::number(mode));
    const int width = kColumnTwips * logicalDpiX() / 1440;
    widths_->apply([width](int) { return width; });
}

std::string frmManage::employeeCodeOf(int row) const {
    if (row < 0 || row >= model_->rowCount())
        return {};
    switch (static_cast<base::RosterMode>(mode_)) {
    case base::RosterMode::Employees:
        return model_->text(row, 0);
    case base::RosterMode::AllEmployees:
        return model_->text(row, 2); // after the department's code and name
    case base::RosterMode::Departments:
        break;
    }
    return {};
}

frmAddDep* frmManage::openAddDep() {
    auto* dlg = new frmAddDep(s_, p_, this);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(dlg, &frmAddDep::departmentsChanged, this, &frmManage::InitTree);
    dlg->open();
    return dlg;
}

frmDep* frmManage::openDep(const std::string& code, RosterPane pane) {
    s_.rosterPane = pane;
    const int row = fgdList->currentIndex().row();
    auto* dlg = new frmDep(s_, p_, code, this);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(dlg, &frmDep::modified, this,
            [this, row, code](const QString& name, const QString& type) { departmentModified(row, code, name, type); });
    dlg->open();
    return dlg;
}

void frmManage::departmentModified(int row, const std::string& code, const QString& name, const QString& type) {
    if (s_.rosterPane == RosterPane::Tree) {
        refreshTree();
        return;
    }
    // The grid pane: only the row the department was picked from changes.
    if (mode_ != static_cast<int>(base::RosterMode::Departments) || row < 0 || row >= model_->rowCount() ||
        model_->text(row, 0) != code)
        return;
    std::vector<std::string> values = model_->row(row);
    values.resize(std::max<std::size_t>(values.size(), 3));
    values[1] = ss(name);
    values[2] = ss(type);
    model_->setRow(row, std::move(values));
}

frmSet* frmManage::openSet() {
    auto* dlg = new frmSet(s_, this);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(dlg, &QDialog::accepted, this, &frmManage::refreshNode);
    dlg->open();
    return dlg;
}

void frmManage::openEmp(const std::string& empNo) {
    if (empNo.empty())
        return;
    const int row = fgdList->currentIndex().row();
    auto* dlg = new frmEmp(s_, p_, empNo, this);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(dlg, &QDialog::finished, this, [this, dlg, row, empNo] {
        if (dlg->saved())
            employeeSaved(row, empNo, dlg->savedCode());
    });
    dlg->open();
}

void frmManage::employeeSaved(int row, const std::string& oldCode, const std::string& code) {
    // An employee moved to another department leaves the rows it was shown
    // among: the grid is read again then.
    const std::optional<base::EmployeeFields> e = base::loadEmployee(s_, code);
    const bool all = mode_ == static_cast<int>(base::RosterMode::AllEmployees);
    // frmEmp may have loaded and saved another employee than the one it
    // was opened on; only the opened one's row is rewritten in place.
    const bool sameRow =
        code == oldCode && row >= 0 && row < model_->rowCount() && employeeCodeOf(row) == oldCode;
    const std::string shownDep = !sameRow ? std::string() : all ? model_->text(row, 0) : gridCode_;
    if (!e || !sameRow || base::textBeforeBlank(e->depNo) != shownDep) {
        refreshNode();
        return;
    }
    std::vector<std::string> values = base::employeeRosterRow(s_, code);
    const int columns = model_->columnCount();
    if (all) {
        values.resize(static_cast<std::size_t>(std::max(columns - 2, 0)));
        values.insert(values.begin(), {model_->text(row, 0), model_->text(row, 1)});
    } else {
        values.resize(static_cast<std::size_t>(columns));
    }
    model_->setRow(row, std::move(values));
}

void frmManage::openAddEmp() {
    auto* dlg = new frmAddEmp(s_, p_, this);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    // New employees turn their department from red and fill its grid.
    connect(dlg, &QDialog::finished, this, &frmManage::refreshTree);
    dlg->open();
}

void frmManage::openSort() {
    auto* dlg = new frmSort(this);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    connect(dlg, &QDialog::finished, this, &frmManage::refreshNode);
    dlg->open();
}

void frmManage::deleteDepartment() {
    const std::string code = base::codeOfKey(nodeKeyOf(trvID->currentItem()));
    const Outcome o = base::deleteDepartment(s_, p_, code);
    applyOutcome(this, p_, o);
    if (o.ok && !code.empty())
        InitTree();
}

void frmManage::deleteEmployee() {
    const int row = fgdList->currentIndex().row();
    // The row after the deleted one becomes current, ready for the next
    // deletion (the one before it when the last row goes).
    const std::string next = employeeCodeOf(row + 1).empty() ? employeeCodeOf(row - 1) : employeeCodeOf(row + 1);
    const Outcome o = base::deleteEmployee(s_, p_, employeeCodeOf(row));
    applyOutcome(this, p_, o);
    if (!o.ok)
        return;
    refreshTree();
    for (int r = 0; r < model_->rowCount(); ++r)
        if (!next.empty() && employeeCodeOf(r) == next) {
            fgdList->setCurrentIndex(model_->index(r, 0));
            break;
        }
}

void frmManage::printRoster() {
    // The staff list of the department shown, as the grid shows it.
    const std::string code = base::codeOfKey(nodeKeyOf(trvID->currentItem()));
    const base::RosterGrid g = base::rosterGrid(s_, static_cast<base::RosterMode>(mode_), gridCode_, empSortSetting());
    print::clsGridPrint job = print::rosterJob(s_, print::rosterPrintGrid(g), GetDepName(s_, code, 0));
    if (const auto none = print::noDataMessage(job.grid(), true)) {
        none->show(p_);
        return;
    }
    Preview(job, this);
}

void frmManage::closeEvent(QCloseEvent* e) {
    if (!p_.askYesNo("退出本模块吗？", s_.productTitle, Icon::Question)) {
        e->ignore();
        return;
    }
    s_.activeGridScreen = 0;
    e->accept();
    emit moduleClosed();
}
