// The staff roster end to end: on a new task, a department and then an
// employee added through frmManage's own menu entries land in the database
// and show in its tree and grid.
#include "core/schema.h"
#include "screens/base/BaseWidgets.h"
#include "screens/base/frmAddDep.h"
#include "screens/base/frmAddEmp.h"
#include "screens/base/frmManage.h"
#include "support/payroll_fixture.h"
#include "support/qt_test_support.h"

#include <QAction>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTableView>
#include <QTreeWidget>
#include <QtTest>

using namespace gzgl;
using gzgl::test::child;
using gzgl::test::click;

class TestRoster : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName("gzgl-test");
        QCoreApplication::setApplicationName("test_roster");
    }

    void departmentAndEmployeeAddedThroughTheRosterReachTheDatabase() {
        test::PayrollTask t;
        frmManage m(t.s, t.prompt);
        m.show();

        // The first department defines level 1 after a Yes.
        t.prompt.answers = {true};
        m.action("AddDep")->trigger();
        auto* dep = m.findChild<frmAddDep*>();
        QVERIFY(dep);
        child<QLineEdit>(dep, "txtCode")->setText("01");
        child<QLineEdit>(dep, "txtName")->setText("总部");
        click(dep, "cmdOk");
        QCOMPARE(QString::fromStdString(t.prompt.last()), QStringLiteral("是否确定第1级的长度为2位？"));
        dep->close();
        QCOMPARE(t.s.taskConn.scalar("Select F_DepName from " + t.table("Depart") + " where F_DepNo='01'").toString(),
                 std::string("总部"));
        QTreeWidgetItem* node = findNode(child<QTreeWidget>(&m, "trvID"), "Dm1_01");
        QVERIFY(node);

        m.action("AddEmp")->trigger();
        auto* emp = m.findChild<frmAddEmp*>();
        QVERIFY(emp);
        QCOMPARE(child<QLineEdit>(emp, "txtEmpNo")->text(), QStringLiteral("0001"));
        child<QLineEdit>(emp, "txtEmpName")->setText("张三");
        t.prompt.clear();
        click(emp, "cmdOk");
        QVERIFY2(t.prompt.messages.empty(), t.prompt.last().c_str());
        emp->close();
        QCOMPARE(t.s.taskConn.scalar("Select F_EmpName from " + t.table("Employee") + " where F_EmpNo='0001'")
                     .toString(),
                 std::string("张三"));
        QCOMPARE(t.s.taskConn.scalar("Select F_DepNo from " + t.table("Employee") + " where F_EmpNo='0001'")
                     .toString(),
                 std::string("01"));
        QCOMPARE(t.s.taskConn.scalar("Select count(*) from " + t.table("Data") + " where F_EmpNo='0001'").toInt(),
                 1);

        // The department now has staff: no longer red, and its grid lists him.
        auto* tree = child<QTreeWidget>(&m, "trvID");
        node = findNode(tree, "Dm1_01");
        QVERIFY(node);
        QVERIFY(node->foreground(0).color() != QColor(Qt::red));
        m.trvID_NodeClick(node);
        QAbstractItemModel* grid = m.grid()->model();
        QCOMPARE(grid->rowCount(), 1);
        QCOMPARE(grid->index(0, 1).data().toString(), QStringLiteral("张三"));
    }
};

QTEST_MAIN(TestRoster)
#include "test_roster.moc"
