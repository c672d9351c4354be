// frmDivide's wiring: the department it opens on, 确定 filling msfDivide
// with employee or department rows and the total, the refusal shown for an
// unknown department, the preview, the widths and the close question.
#include "screens/interfaces/frmDivide.h"
#include "screens/session/frmMain.h"
#include "support/payroll_fixture.h"
#include "support/qt_test_support.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QStyle>
#include <QTableView>
#include <QtTest>

using namespace gzgl;
using gzgl::test::child;
using gzgl::test::click;

namespace {

// 01 总部 over 0101 办公室 and 0102 财务科; net pay F000 = F003.
struct DivideTask {
    test::PayrollTask t;
    DivideTask() {
        t.s.taskConn.execute("Insert Into " + t.table("Depart") +
                             "(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) Values"
                             "('01','总部','',1,0),('0101','办公室','',2,1),('0102','财务科','',2,1)");
        t.formula("F000", "F003");
        t.employee("0001", "张三", "0101", 1);
        t.employee("0002", "李四", "0101", 2);
        t.employee("0003", "王五", "0102", 1);
        t.value("0001", "F003", 188.88);
        t.value("0002", "F003", 52234567.89);
        t.value("0003", "F003", 0.30);
    }
};

QString cell(QTableView* v, int r, int c) {
    return v->model()->index(r, c).data().toString();
}
QString heading(QTableView* v, int c) {
    return v->model()->headerData(c, Qt::Horizontal).toString();
}

// Every cell's text fits its column in the font the cell is drawn in,
// with the room the style keeps on either side of it.
void noFigureCut(QTableView* grid) {
    const int room = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1);
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        for (int c = 0; c < grid->model()->columnCount(); ++c) {
            const QVariant font = grid->model()->index(r, c).data(Qt::FontRole);
            const QFontMetrics fm(font.isValid() ? font.value<QFont>() : grid->font());
            QVERIFY2(grid->columnWidth(c) >= fm.horizontalAdvance(cell(grid, r, c)) + room,
                     qPrintable(QString("column %1 row %2").arg(c).arg(r)));
        }
}

} // namespace

class TestDivide : public QObject {
    Q_OBJECT

private slots:
    void opensOnTheFirstLowestLevelDepartmentAndListsItsEmployees() {
        DivideTask d;
        // An employee without a data row gets one from the opening refresh.
        d.t.s.taskConn.execute("Insert Into " + d.t.table("Employee") +
                               "(F_EmpNo,F_DepNo,F_EmpName,F_SortNo) Values('0004','0101','赵六',3)");
        frmDivide f(d.t.s, d.t.prompt);
        f.resize(980, 560);
        f.show();
        QCOMPARE(f.windowTitle(), QStringLiteral("工资票面分配处理"));
        QCOMPARE(child<QLineEdit>(&f, "txtDep")->text(), QStringLiteral("0101  办公室"));
        QCOMPARE(child<QPushButton>(&f, "cmdDep")->text(), QStringLiteral("部门帮助"));
        QCOMPARE(child<QCheckBox>(&f, "chkResult")->text(), QStringLiteral("统计分割总结果"));
        QCOMPARE(child<QPushButton>(&f, "cmdPreview")->text(), QStringLiteral("打印预览"));
        auto* grid = child<QTableView>(&f, "msfDivide");
        QCOMPARE(grid->model()->rowCount(), 0);

        click(&f, "cmdOk");
        QCOMPARE(grid->model()->rowCount(), 3);
        QCOMPARE(grid->model()->columnCount(), 15);
        QCOMPARE(heading(grid, 0), QStringLiteral("员工编号"));
        QCOMPARE(heading(grid, 14), QStringLiteral("1分"));
        QCOMPARE(cell(grid, 0, 1), QStringLiteral("张三"));
        QCOMPARE(cell(grid, 0, 2), QStringLiteral("188.88"));
        QCOMPARE(cell(grid, 0, 5), QStringLiteral("3"));
        QCOMPARE(cell(grid, 1, 3), QStringLiteral("522345"));
        QCOMPARE(cell(grid, 2, 0), QStringLiteral("0004"));
        QCOMPARE(cell(grid, 2, 2), QStringLiteral("0.00"));
        QVERIFY(d.t.prompt.messages.empty());

        noFigureCut(grid);

        const QString png = qEnvironmentVariable("GZGL_GRAB_DIR");
        if (!png.isEmpty())
            f.grab().save(png + "/frmDivide.png");
    }

    void parentDepartmentGivesDepartmentRowsAndTheTotal() {
        DivideTask d;
        frmDivide f(d.t.s, d.t.prompt);
        child<QLineEdit>(&f, "txtDep")->setText(QStringLiteral("01 总部"));
        child<QCheckBox>(&f, "chkResult")->setChecked(true);
        click(&f, "cmdOk");
        auto* grid = child<QTableView>(&f, "msfDivide");
        QCOMPARE(grid->model()->rowCount(), 3);
        QCOMPARE(heading(grid, 0), QStringLiteral("部门编号"));
        QCOMPARE(heading(grid, 1), QStringLiteral("部门名称"));
        QCOMPARE(cell(grid, 0, 1), QStringLiteral("办公室"));
        QCOMPARE(cell(grid, 0, 2), QStringLiteral("52234756.77"));
        QCOMPARE(cell(grid, 1, 0), QStringLiteral("0102"));
        QCOMPARE(cell(grid, 2, 0), QStringLiteral("总   计"));
        QCOMPARE(cell(grid, 2, 2), QStringLiteral("52234757.07"));
        QCOMPARE(cell(grid, 2, 10), QStringLiteral("3")); // 2角 of 0.88, 0.89 and 0.30
        // The total's large sum shows whole.
        noFigureCut(grid);
    }

    void unknownDepartmentIsRefusedAndTheGridKept() {
        DivideTask d;
        frmDivide f(d.t.s, d.t.prompt);
        click(&f, "cmdOk");
        auto* grid = child<QTableView>(&f, "msfDivide");
        QCOMPARE(grid->model()->rowCount(), 2);
        child<QLineEdit>(&f, "txtDep")->setText(QStringLiteral("0%"));
        click(&f, "cmdOk");
        QCOMPARE(QString::fromStdString(d.t.prompt.last()), QStringLiteral("没有查到部门！"));
        QCOMPARE(grid->model()->rowCount(), 2);
    }

    void previewNeedsDataAndThenShowsTheSheet() {
        DivideTask d;
        frmDivide f(d.t.s, d.t.prompt);
        test::ModalWatcher watcher;
        click(&f, "cmdPreview");
        QCOMPARE(QString::fromStdString(d.t.prompt.last()), QStringLiteral("没有数据可供预览！"));
        QVERIFY(watcher.seen.isEmpty());
        click(&f, "cmdOk");
        click(&f, "cmdPreview");
        QCOMPARE(watcher.seen, QStringList{"frmPreview"});
    }

    void mainWindowOpensItAsAChildAndClosingAsksFirst() {
        DivideTask d;
        frmMain main(d.t.s, d.t.prompt);
        main.show();
        main.runCommand(Command::SalaryDivide);
        const QList<frmDivide*> screens = main.findChildren<frmDivide*>();
        QCOMPARE(screens.size(), 1);
        frmDivide* f = screens[0];
        d.t.prompt.answers = {false};
        QVERIFY(!f->close());
        QCOMPARE(QString::fromStdString(d.t.prompt.last()), QStringLiteral("退出本模块吗？"));
        d.t.prompt.answers = {true};
        main.mdiArea()->closeAllSubWindows();
        QTRY_VERIFY(main.findChildren<frmDivide*>().isEmpty());
    }
};

QTEST_MAIN(TestDivide)
#include "test_divide.moc"
