// The department and type screens' wiring: the roster's tree and grid follow
// the node clicked and every change made through its dialogs, the grid's
// rows are rewritten after a modification, and the type screens' dialogs
// reach the engine and reload their lists.
#include "base/departments.h"
#include "base/tree.h"
#include "base/types.h"
#include "screens/base/BaseWidgets.h"
#include "screens/base/frmAddDep.h"
#include "screens/base/frmDK1.h"
#include "screens/base/frmDK2.h"
#include "screens/base/frmDep.h"
#include "screens/base/frmDepKind.h"
#include "screens/base/frmDepTypeHelp.h"
#include "screens/base/frmEmp.h"
#include "screens/base/frmEmpKind.h"
#include "screens/base/frmManage.h"
#include "screens/base/frmSet.h"
#include "support/payroll_fixture.h"
#include "support/qt_test_support.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

using namespace gzgl;
using gzgl::test::child;
using gzgl::test::click;

namespace {

QString msg(const test::RecordingPrompt& p) { return QString::fromStdString(p.last()); }

} // namespace

class TestBaseScreens : public QObject {
    Q_OBJECT

    std::unique_ptr<test::PayrollTask> t;
    test::RecordingPrompt& p() { return t->prompt; }
    Session& s() { return t->s; }

    void addDepartment(const std::string& code, const std::string& name) {
        p().answers = {true}; // the length of a new level
        const base::AddDepartmentResult r = base::addDepartment(s(), p(), code, name, "");
        p().answers.clear();
        QVERIFY2(r.added, r.outcome.message.c_str());
    }
    static QTreeWidgetItem* node(frmManage& m, const std::string& code, int level) {
        return findNode(child<QTreeWidget>(&m, "trvID"), base::nodeKey(level, code));
    }
    static void clickNode(frmManage& m, const std::string& code, int level) {
        QTreeWidgetItem* n = node(m, code, level);
        if (!n)
            qFatal("no node %s", code.c_str());
        child<QTreeWidget>(&m, "trvID")->setCurrentItem(n);
        m.trvID_NodeClick(n);
    }
    static QStringList column(frmManage& m, int c) {
        QStringList out;
        for (int r = 0; r < m.rows()->rowCount(); ++r)
            out << QString::fromStdString(m.rows()->text(r, c));
        return out;
    }
    // A double click on a grid row, as the view reports it.
    static void doubleClickRow(frmManage& m, int row) {
        QTableView* g = m.grid();
        g->setCurrentIndex(g->model()->index(row, 0));
        emit g->doubleClicked(g->model()->index(row, 0));
    }
    static int rowOf(frmManage& m, int c, const QString& text) { return column(m, c).indexOf(text); }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName("gzgl-test");
        QCoreApplication::setApplicationName("test_base_screens");
    }
    void init() {
        t = std::make_unique<test::PayrollTask>();
        addDepartment("01", "生产部");
        addDepartment("0101", "一车间");
        addDepartment("0102", "二车间");
        addDepartment("02", "销售部");
        t->employee("0001", "张三", "0101", 1);
        t->employee("0002", "李四", "0101", 2);
        t->employee("0003", "王五", "02", 1);
        p().clear();
    }
    void cleanup() { t.reset(); }

    // ---- frmManage ---------------------------------------------------------

    void rosterOpensOnTheRootWithTheWholeTree() {
        frmManage m(s(), p());
        QCOMPARE(s().activeGridScreen, 3);
        auto* tree = child<QTreeWidget>(&m, "trvID");
        QCOMPARE(tree->topLevelItemCount(), 1);
        QTreeWidgetItem* root = tree->topLevelItem(0);
        QCOMPARE(nodeKeyOf(root), std::string("Dm0"));
        QCOMPARE(root->text(0), QStringLiteral("部门列表"));
        QCOMPARE(tree->currentItem(), root);
        QCOMPARE(root->childCount(), 2);
        QTreeWidgetItem* production = node(m, "01", 1);
        QVERIFY(production);
        QCOMPARE(production->parent(), root);
        QCOMPARE(production->childCount(), 2);
        QCOMPARE(node(m, "0102", 2)->parent(), production);
        QCOMPARE(node(m, "0101", 2)->text(0), QStringLiteral("0101 一车间"));
        // Only the leaf without employees is red.
        QCOMPARE(node(m, "0102", 2)->foreground(0).color(), QColor(Qt::red));
        QVERIFY(node(m, "0101", 2)->foreground(0).color() != QColor(Qt::red));
        QVERIFY(production->foreground(0).color() != QColor(Qt::red));
        // The root shows every employee, each after its department.
        QCOMPARE(m.gridMode(), 2);
        QCOMPARE(column(m, 2), QStringList({"0001", "0002", "0003"}));
        QCOMPARE(column(m, 1), QStringList({"一车间", "一车间", "销售部"}));
    }

    void nodeClickShowsLeafEmployeesOrSubDepartments() {
        frmManage m(s(), p());
        auto* label = child<QLabel>(&m, "lblContent");
        clickNode(m, "0101", 2);
        QCOMPARE(m.gridMode(), 1);
        QCOMPARE(label->text(), QStringLiteral("所属部门：0101 一车间"));
        QCOMPARE(column(m, 0), QStringList({"0001", "0002"}));
        QCOMPARE(column(m, 1), QStringList({"张三", "李四"}));
        clickNode(m, "0102", 2);
        QCOMPARE(m.rows()->rowCount(), 0);
        clickNode(m, "01", 1);
        QCOMPARE(m.gridMode(), 0);
        QCOMPARE(label->text(), QStringLiteral("一级部门：01 生产部"));
        QCOMPARE(column(m, 0), QStringList({"0101", "0102"}));
        m.trvID_NodeClick(child<QTreeWidget>(&m, "trvID")->topLevelItem(0));
        QCOMPARE(m.rows()->rowCount(), 3);
    }

    void setDialogHidesTheUncheckedColumns() {
        frmManage m(s(), p());
        clickNode(m, "01", 1);
        for (int c = 0; c < m.rows()->columnCount(); ++c)
            QVERIFY(!m.grid()->isColumnHidden(c));
        frmSet* set = m.openSet();
        auto* depBox = child<QCheckBox>(set, "chkDep0");
        QVERIFY(!depBox->isEnabled()); // all columns
        child<QRadioButton>(set, "optDepCustom")->setChecked(true);
        QVERIFY(depBox->isEnabled());
        depBox->setChecked(true); // 类型号 only
        click(set, "cmdOk");
        QVERIFY(!s().rosterColumns.depAll);
        QVERIFY(s().rosterColumns.dep[0]);
        // The roster follows at once: 部门类型号 stays, 级别 and 是否末级 go.
        QVERIFY(!m.grid()->isColumnHidden(2));
        QVERIFY(m.grid()->isColumnHidden(3));
        QVERIFY(m.grid()->isColumnHidden(4));
        QVERIFY(!m.grid()->isColumnHidden(5));
    }

    void addDepartmentThroughTheDialogShowsInTheTree() {
        frmManage m(s(), p());
        clickNode(m, "01", 1);
        m.action("AddDep")->trigger();
        auto* add = m.findChild<frmAddDep*>();
        QVERIFY(add);
        auto* code = child<QLineEdit>(add, "txtCode");
        auto* name = child<QLineEdit>(add, "txtName");
        code->setText("0103");
        name->setText("三车间");
        click(add, "cmdOk");
        QVERIFY2(p().messages.empty(), p().last().c_str());
        QTreeWidgetItem* added = node(m, "0103", 2);
        QVERIFY(added);
        QCOMPARE(added->text(0), QStringLiteral("0103 三车间"));
        QCOMPARE(added->parent(), node(m, "01", 1));
        QCOMPARE(added->foreground(0).color(), QColor(Qt::red));
        // The selected department stays shown, now with its new member.
        QCOMPARE(nodeKeyOf(child<QTreeWidget>(&m, "trvID")->currentItem()), base::nodeKey(1, "01"));
        QCOMPARE(column(m, 0), QStringList({"0101", "0102", "0103"}));
        // Ready for the next one.
        QVERIFY(add->isVisible());
        QVERIFY(code->text().isEmpty());
        QVERIFY(name->text().isEmpty());

        code->setText("0101");
        name->setText("重复");
        click(add, "cmdOk");
        QCOMPARE(msg(p()), QStringLiteral("该部门编码已存在！"));
        QCOMPARE(code->text(), QStringLiteral("0101")); // a refusal keeps the boxes
        QCOMPARE(name->text(), QStringLiteral("重复"));
    }

    void addDepartmentDialogOffersTheTypesAfterAnEmptyEntry() {
        QVERIFY(base::addDepartmentType(s(), "01", "生产").ok);
        frmAddDep add(s(), p());
        auto* type = child<QComboBox>(&add, "cmbType");
        QCOMPARE(type->count(), 2);
        QCOMPARE(type->itemText(0), QString());
        QCOMPARE(type->itemText(1), QStringLiteral("生产"));
        type->setCurrentIndex(1);
        child<QLineEdit>(&add, "txtCode")->setText("03");
        child<QLineEdit>(&add, "txtName")->setText("后勤部");
        QSignalSpy changed(&add, &frmAddDep::departmentsChanged);
        click(&add, "cmdOk");
        QCOMPARE(changed.count(), 1);
        QCOMPARE(base::loadDepartment(s(), "03")->typeNo, std::string("01"));
    }

    void modifyFromTheGridRewritesItsRow() {
        QVERIFY(base::addDepartmentType(s(), "01", "生产").ok);
        frmManage m(s(), p());
        clickNode(m, "01", 1);
        doubleClickRow(m, 1); // 0102
        QCOMPARE(s().rosterPane, RosterPane::Grid);
        auto* dep = m.findChild<frmDep*>();
        QVERIFY(dep);
        QCOMPARE(child<QLineEdit>(dep, "txtNo")->text(), QStringLiteral("0102"));
        QCOMPARE(child<QLineEdit>(dep, "txtName")->text(), QStringLiteral("二车间"));
        child<QLineEdit>(dep, "txtName")->setText("装配车间");
        child<QLineEdit>(dep, "txtType")->setText("01");
        click(dep, "cmdModify");
        QVERIFY2(p().messages.empty(), p().last().c_str());
        QCOMPARE(m.rows()->text(1, 1), std::string("装配车间"));
        QCOMPARE(m.rows()->text(1, 2), std::string("01"));
        QCOMPARE(m.rows()->text(0, 1), std::string("一车间"));
    }

    void modifyFromTheTreeRebuildsIt() {
        frmManage m(s(), p());
        emit child<QTreeWidget>(&m, "trvID")->itemDoubleClicked(node(m, "02", 1), 0);
        QCOMPARE(s().rosterPane, RosterPane::Tree);
        auto* dep = m.findChild<frmDep*>();
        QVERIFY(dep);
        child<QLineEdit>(dep, "txtName")->setText("市场部");
        click(dep, "cmdModify");
        QCOMPARE(node(m, "02", 1)->text(0), QStringLiteral("02 市场部"));
    }

    void unknownTypeOnEnterIsClearedAndKeepsTheFocus() {
        frmDep dep(s(), p(), "0101");
        dep.show();
        QApplication::setActiveWindow(&dep);
        auto* type = child<QLineEdit>(&dep, "txtType");
        type->setFocus();
        type->setText("99");
        QTest::keyClick(type, Qt::Key_Return);
        QCOMPARE(msg(p()), QStringLiteral("不存在此部门类型！"));
        QVERIFY(type->text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), type);
    }

    void employeeSavedFromTheGridRewritesOrLeavesItsRow() {
        frmManage m(s(), p());
        // All employees: the employee's code is the third cell.
        doubleClickRow(m, 2);
        auto* emp = m.findChild<frmEmp*>();
        QVERIFY(emp);
        QCOMPARE(child<QLineEdit>(emp, "txtEmpName")->text(), QStringLiteral("王五"));
        child<QLineEdit>(emp, "txtEmpName")->setText("王武");
        click(emp, "cmdModify");
        QVERIFY2(p().messages.empty(), p().last().c_str());
        QCOMPARE(m.rows()->text(2, 0), std::string("02"));
        QCOMPARE(m.rows()->text(2, 1), std::string("销售部"));
        QCOMPARE(m.rows()->text(2, 3), std::string("王武"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the dialog goes

        // Moved to another department, the employee leaves the leaf's list.
        clickNode(m, "0101", 2);
        doubleClickRow(m, 0);
        emp = m.findChild<frmEmp*>();
        QVERIFY(emp);
        QCOMPARE(child<QLineEdit>(emp, "txtEmpName")->text(), QStringLiteral("张三"));
        child<QComboBox>(emp, "cmbDep")->setEditText("0102");
        click(emp, "cmdModify");
        QVERIFY2(p().messages.empty(), p().last().c_str());
        QCOMPARE(column(m, 0), QStringList({"0002"}));
    }

    void deleteEmployeeOnTheAllEmployeesGridTakesTheEmployeeNotItsDepartment() {
        frmManage m(s(), p());
        m.grid()->setCurrentIndex(m.grid()->model()->index(rowOf(m, 2, "0003"), 0));
        p().answers = {true};
        m.action("DelEmp")->trigger();
        QCOMPARE(msg(p()), QStringLiteral("您确定要删除本员工吗？"));
        QCOMPARE(column(m, 2), QStringList({"0001", "0002"}));
        // The neighbour of the deleted row is current for the next deletion.
        QCOMPARE(m.grid()->currentIndex().row(), rowOf(m, 2, "0002"));
        // 02 lost its only employee.
        QCOMPARE(node(m, "02", 1)->foreground(0).color(), QColor(Qt::red));
    }

    void deleteDepartmentRemovesTheSelectedNode() {
        frmManage m(s(), p());
        clickNode(m, "0102", 2);
        p().answers = {true};
        m.action("DelDep")->trigger();
        QCOMPARE(msg(p()), QStringLiteral("您确定要删除本部门吗？"));
        QVERIFY(!node(m, "0102", 2));
        QVERIFY(node(m, "0101", 2));
        // Refused with employees: the tree stays.
        clickNode(m, "0101", 2);
        p().clear();
        m.action("DelDep")->trigger();
        QCOMPARE(msg(p()), QStringLiteral("本部门有员工，不能删除！"));
        QVERIFY(node(m, "0101", 2));
    }

    void leafOnlyTreeAndAnEmptyTask() {
        frmManage m(s(), p());
        m.action("Hide")->trigger();
        QTreeWidgetItem* root = child<QTreeWidget>(&m, "trvID")->topLevelItem(0);
        QCOMPARE(root->childCount(), 3);
        QVERIFY(!node(m, "01", 1));
        QCOMPARE(node(m, "0102", 1)->parent(), root);
        m.action("Refresh")->trigger();
        QVERIFY(node(m, "01", 1));
        QVERIFY(m.action("Print")->isEnabled());

        s().taskConn.execute("Delete From " + t->table("Employee"));
        s().taskConn.execute("Delete From " + t->table("Depart"));
        m.InitTree();
        QCOMPARE(child<QLabel>(&m, "lblContent")->text(), QStringLiteral("上级部门："));
        QCOMPARE(m.gridMode(), 0);
        QCOMPARE(m.rows()->rowCount(), 0);
        QCOMPARE(m.rows()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("部门代码"));
        // Nothing to print: the message, and no preview window.
        p().clear();
        m.action("Print")->trigger();
        QCOMPARE(msg(p()), QStringLiteral("没有数据可供预览！"));
    }

    void closingAsksAndNoKeepsTheWindow() {
        frmManage m(s(), p());
        m.show();
        QSignalSpy closed(&m, &frmManage::moduleClosed);
        p().answers = {false};
        m.action("Exit")->trigger();
        QCOMPARE(msg(p()), QStringLiteral("退出本模块吗？"));
        QCOMPARE(p().messages.back().icon, Icon::Question);
        QCOMPARE(p().messages.back().title, s().productTitle);
        QVERIFY(m.isVisible());
        QCOMPARE(closed.count(), 0);
        QCOMPARE(s().activeGridScreen, 3);
        p().answers = {true};
        m.action("Exit")->trigger();
        QVERIFY(!m.isVisible());
        QCOMPARE(closed.count(), 1);
        QCOMPARE(s().activeGridScreen, 0);
    }

    // ---- department types --------------------------------------------------

    void depKindAddsThroughItsDialogAndDeletes() {
        frmDepKind k(s(), p());
        auto* grid = child<QTableWidget>(&k, "msfKind");
        QCOMPARE(grid->rowCount(), 1); // the empty row
        click(&k, "cmdAdd");
        auto* add = k.findChild<frmDK1*>();
        QVERIFY(add);
        auto* no = child<QLineEdit>(add, "txtNo");
        QCOMPARE(no->text(), QStringLiteral("01"));
        child<QLineEdit>(add, "txtType")->setText("生产");
        click(add, "cmdOk");
        QVERIFY2(p().messages.empty(), p().last().c_str());
        QCOMPARE(no->text(), QStringLiteral("02"));
        QVERIFY(child<QLineEdit>(add, "txtType")->text().isEmpty());
        child<QLineEdit>(add, "txtType")->setText("销售");
        click(add, "cmdOk");
        QCOMPARE(grid->rowCount(), 3);
        QCOMPARE(grid->item(1, 0)->text(), QStringLiteral("02"));
        QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("销售"));
        QVERIFY(grid->item(2, 0)->text().isEmpty());
        add->close();

        grid->setCurrentCell(2, 0);
        QVERIFY(!k.openModify());
        QCOMPARE(msg(p()), QStringLiteral("请选择所需修改的部门类型!"));
        grid->setCurrentCell(0, 0);
        p().answers = {true};
        click(&k, "cmdDel");
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("02"));
    }

    void depKindRenamesThroughItsDialog() {
        QVERIFY(base::addDepartmentType(s(), "01", "生产").ok);
        frmDepKind k(s(), p());
        auto* grid = child<QTableWidget>(&k, "msfKind");
        grid->setCurrentCell(0, 1);
        emit grid->cellDoubleClicked(0, 1);
        auto* rename = k.findChild<frmDK2*>();
        QVERIFY(rename);
        QCOMPARE(child<QLineEdit>(rename, "txtNo")->text(), QStringLiteral("01"));
        child<QLineEdit>(rename, "txtName")->setText("制造");
        click(rename, "cmdOk");
        QVERIFY2(p().messages.empty(), p().last().c_str());
        QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("制造"));
    }

    void depTypePickerHandsBackTheTypeNotTheRoot() {
        QVERIFY(base::addDepartmentType(s(), "01", "生产").ok);
        frmDepTypeHelp help(s());
        auto* tree = child<QTreeWidget>(&help, "TreeViewDepType");
        help.pick(tree->topLevelItem(0));
        QVERIFY(help.typeNo().empty());
        QCOMPARE(help.appendedTo("02"), QStringLiteral("02"));
        emit tree->itemDoubleClicked(findNode(tree, base::nodeKey(1, "01")), 0);
        QCOMPARE(help.typeNo(), std::string("01"));
        QCOMPARE(help.name(), std::string("生产"));
        QCOMPARE(help.appendedTo(""), QStringLiteral("01"));
        QCOMPARE(help.appendedTo("02"), QStringLiteral("02,01"));
    }

    // ---- employee types ----------------------------------------------------

    void empKindAddsAndSelectsForDeletion() {
        frmEmpKind k(s(), p());
        auto* tree = child<QTreeWidget>(&k, "trvID");
        auto* code = child<QLineEdit>(&k, "txtCode");
        auto* name = child<QLineEdit>(&k, "txtName");
        code->setText("01");
        name->setText("管理人员");
        click(&k, "cmdAdd");
        code->setText("0101");
        name->setText("干部");
        click(&k, "cmdAdd");
        QVERIFY2(p().messages.empty(), p().last().c_str());
        QVERIFY(code->text().isEmpty());
        QTreeWidgetItem* parent = findNode(tree, base::nodeKey(1, "01"));
        QVERIFY(parent);
        QCOMPARE(parent->text(0), QStringLiteral("01 管理人员"));
        QCOMPARE(findNode(tree, base::nodeKey(2, "0101"))->parent(), parent);

        code->setText("0201");
        name->setText("工人");
        click(&k, "cmdAdd");
        QCOMPARE(msg(p()), QStringLiteral("请先定义上级员工类型！"));
        QCOMPARE(code->text(), QStringLiteral("0201"));

        emit tree->itemClicked(findNode(tree, base::nodeKey(2, "0101")), 0);
        QCOMPARE(k.selectedCode(), std::string("0101"));
        emit tree->itemClicked(tree->topLevelItem(0), 0);
        QVERIFY(k.selectedCode().empty());

        child<QCheckBox>(&k, "chkType")->setChecked(true);
        auto* list = child<QListWidget>(&k, "lstForm");
        QCOMPARE(list->count(), 2);
        emit list->itemClicked(list->item(0));
        QCOMPARE(k.selectedCode(), std::string("01"));
        click(&k, "cmdDel");
        QVERIFY(base::employeeTypes(s()).empty()); // with its sub-type
        QCOMPARE(list->count(), 0);
    }
};

QTEST_MAIN(TestBaseScreens)
#include "test_base_screens.moc"
