// The salary entry screen's wiring: a value typed into txtEdit over a cell
// reaches _Data and the row's net pay; Escape restores the cell; a refused
// entry shows its message; the one-employee view writes through the same
// rules; closing asks first.
#include "core/schema.h"
#include "monthly/entry.h"
#include "screens/monthly/EntryGridModel.h"
#include "screens/monthly/frmInput.h"
#include "screens/monthly/frmSalary.h"
#include "screens/monthly/frmTrace.h"
#include "screens/session/frmMain.h"
#include "support/payroll_fixture.h"
#include "support/qt_test_support.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>

using namespace gzgl;

namespace {

// Two employees of department 01; F004 津贴 an input, net pay F003+F004.
struct Month {
    test::PayrollTask t;
    Month() {
        t.s.taskConn.execute("Insert Into " + t.table("Depart") +
                             "(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) Values('01','办公室','',1,1)");
        t.item("F004", "津贴");
        t.employee("0001", "张三", "01", 1);
        t.employee("0002", "李四", "01", 2);
        t.value("0001", "F003", 3000.0);
        t.formula("F000", "F003+F004");
    }
    double stored(const char* empNo, const char* code) {
        return t.s.taskConn
            .scalar("Select " + std::string(code) + " From " + t.table("Data") + " Where F_EmpNo=?", {empNo})
            .toDouble();
    }
};

QString text(frmSalary& f, int modelRow, const char* code) {
    return f.model()->index(modelRow, f.entry().grid().columnOf(code)).data().toString();
}

} // namespace

class TestSalary : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName("gzgl-test");
        QCoreApplication::setApplicationName("test_salary");
    }

    void typedValueReachesTheDatabaseAndNetPay() {
        Month m;
        frmSalary f(m.t.s, m.t.prompt);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QCOMPARE(gzgl::test::child<QLabel>(&f, "lblRs")->text(), QStringLiteral("部门人数：2人"));
        QCOMPARE(m.t.s.activeGridScreen, 1);
        QTableView* grid = f.grid();
        QCOMPARE(grid->model()->rowCount(), 2);
        QCOMPARE(text(f, 0, "F000"), QStringLiteral("3000.00"));

        const int c = f.entry().grid().columnOf("F004");
        grid->setCurrentIndex(grid->model()->index(0, c));
        grid->setFocus();
        // A typed character opens the box over the cell with that character.
        QTest::keyClick(grid, Qt::Key_2);
        QLineEdit* box = f.editBox();
        QVERIFY(box->isVisible());
        QCOMPARE(box->text(), QStringLiteral("2"));
        QTest::keyClicks(box, "50.5");
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(!box->isVisible());
        QVERIFY2(m.t.prompt.messages.empty(), m.t.prompt.last().c_str());
        QCOMPARE(m.stored("0001", "F004"), 250.5);
        QCOMPARE(text(f, 0, "F004"), QStringLiteral("250.50"));
        QCOMPARE(text(f, 0, "F000"), QStringLiteral("3250.50"));
        QCOMPARE(m.t.s.curEmpNo, std::string("0001"));
        // Enter moved on: F004 is the last column, so the next row's first
        // typeable cell (F003).
        QCOMPARE(grid->currentIndex().row(), 1);
        QCOMPARE(grid->currentIndex().column(), f.entry().grid().columnOf("F003"));
    }

    void escapeRestoresAndRefusalShowsItsMessage() {
        Month m;
        frmSalary f(m.t.s, m.t.prompt);
        f.show();
        QTableView* grid = f.grid();
        const int c = f.entry().grid().columnOf("F003");
        const QModelIndex cell = grid->model()->index(0, c);
        grid->setCurrentIndex(cell);
        QVERIFY(f.openEdit(cell, cell.data().toString(), true));
        QTest::keyClicks(f.editBox(), "9");
        QTest::keyClick(f.editBox(), Qt::Key_Escape);
        QVERIFY(!f.editBox()->isVisible());
        QCOMPARE(text(f, 0, "F003"), QStringLiteral("3000.00"));
        QCOMPARE(m.stored("0001", "F003"), 3000.0);

        QVERIFY(f.openEdit(cell, "12a", false));
        QTest::keyClick(f.editBox(), Qt::Key_Return);
        QCOMPARE(QString::fromStdString(m.t.prompt.last()), QStringLiteral("含有非法字符！"));
        QCOMPARE(m.stored("0001", "F003"), 3000.0);
        QCOMPARE(text(f, 0, "F003"), QStringLiteral("3000.00"));
        // A formula column does not open the box.
        QVERIFY(!f.openEdit(grid->model()->index(0, f.entry().grid().columnOf("F000")), "1", false));
    }

    void oneEmployeeViewWritesAndSteps() {
        Month m;
        frmSalary f(m.t.s, m.t.prompt);
        f.show();
        f.grid()->setCurrentIndex(f.model()->index(0, 0));
        frmInput* in = f.openInput();
        QVERIFY(in);
        QCOMPARE(gzgl::test::child<QLabel>(in, "lblEmpName")->text(), QStringLiteral("张三"));
        QTableWidget* items = in->items();
        int row = -1;
        for (int i = 0; i < items->rowCount(); ++i)
            if (items->item(i, 0)->text() == QStringLiteral("津贴"))
                row = i;
        QVERIFY(row >= 0);
        QVERIFY(in->enter(row, "40"));
        QCOMPARE(m.stored("0001", "F004"), 40.0);
        QCOMPARE(items->item(0, 0)->text(), QStringLiteral("实发工资"));
        QCOMPARE(items->item(0, 1)->text(), QStringLiteral("3040.00"));
        QCOMPARE(text(f, 0, "F000"), QStringLiteral("3040.00"));
        QVERIFY(!in->enter(row, "4x"));
        QCOMPARE(QString::fromStdString(m.t.prompt.last()), QStringLiteral("含有非法字符"));
        gzgl::test::click(in, "cmdAfter");
        QCOMPARE(gzgl::test::child<QLabel>(in, "lblEmpName")->text(), QStringLiteral("李四"));
        in->close();
    }

    void traceShowsTheRowAsTheGridHasIt() {
        Month m;
        frmSalary f(m.t.s, m.t.prompt);
        f.show();
        QTableView* grid = f.grid();
        grid->setCurrentIndex(f.model()->index(0, f.entry().grid().columnOf("F004")));
        // A value typed a moment ago is in the trace at once.
        QVERIFY(f.openEdit(grid->currentIndex(), "25", false));
        QVERIFY(f.finishEdit());
        QAction* act = nullptr;
        for (QAction* a : grid->actions())
            if (a->objectName() == "actTrace")
                act = a;
        QVERIFY(act);
        QCOMPARE(grid->contextMenuPolicy(), Qt::ActionsContextMenu);
        frmTrace* trace = f.openTrace();
        QVERIFY(trace);
        const QString t = trace->textBox()->toPlainText();
        QVERIFY2(t.startsWith(QStringLiteral("员工 0001 张三 的计算过程（2006年第02月）")), qPrintable(t));
        QVERIFY(t.contains(QStringLiteral("代入：应发工资(F003)=3000，津贴(F004)=25")));
        QVERIFY(t.contains(QStringLiteral("实发工资(F000) = 3025.00")));
        QCOMPARE(text(f, 0, "F000"), QStringLiteral("3025.00"));
        trace->copyAll();
        QCOMPARE(QGuiApplication::clipboard()->text(), t);
        trace->close();

        // The one-employee view has it too.
        frmInput* in = f.openInput();
        QVERIFY(in);
        gzgl::test::click(in, "cmdAfter");
        gzgl::test::click(in, "cmdTrace");
        frmTrace* second = in->findChild<frmTrace*>();
        QVERIFY(second);
        QVERIFY(second->textBox()->toPlainText().contains(QStringLiteral("员工 0002 李四")));
        if (const QString png = qEnvironmentVariable("GZGL_GRAB_DIR"); !png.isEmpty()) {
            QTest::qWait(100);
            QVERIFY(second->grab().save(png + "/frmTrace.png"));
            QVERIFY(in->grab().save(png + "/frmInput.png"));
        }
        in->close();
    }

    void mainWindowOpensOneEntryScreenAndFitsItsGrid() {
        Month m;
        frmMain main(m.t.s, m.t.prompt);
        main.show();
        main.runCommand(Command::SalaryCurMonth);
        main.runCommand(Command::SalaryCurMonth);
        const QList<frmSalary*> screens = main.findChildren<frmSalary*>();
        QCOMPARE(screens.size(), 1);
        QCOMPARE(main.activeGrid(), screens[0]->grid());
        QTableView* grid = screens[0]->grid();
        const int name = 1;
        grid->setColumnWidth(name, 5);
        main.runCommand(Command::AdjustColumns);
        QVERIFY(grid->columnWidth(name) > 5);
        m.t.prompt.answers = {true};
        main.mdiArea()->closeAllSubWindows();
        QCOMPARE(m.t.s.activeGridScreen, 0);
        QVERIFY(!main.activeGrid());
    }

    void closingAsksFirst() {
        Month m;
        auto* f = new frmSalary(m.t.s, m.t.prompt);
        f->show();
        m.t.prompt.answers = {false};
        QVERIFY(!f->close());
        QCOMPARE(QString::fromStdString(m.t.prompt.last()), QStringLiteral("退出本模块吗？"));
        m.t.prompt.answers = {true};
        QVERIFY(f->close());
        QCOMPARE(m.t.s.activeGridScreen, 0);
        delete f;
    }
};

QTEST_MAIN(TestSalary)
#include "test_salary.moc"
