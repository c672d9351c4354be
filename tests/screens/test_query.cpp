// The salary query's screens: the condition dialog's refusals and checks,
// a query through to the result grid with its total row, the exports from
// the result's toolbar, and the main window's wiring of the whole.
#include "period/balance.h"
#include "period/periods.h"
#include "screens/reports/frmQuery.h"
#include "screens/reports/frmSave.h"
#include "screens/session/frmMain.h"
#include "support/payroll_fixture.h"
#include "support/qt_test_support.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace gzgl;
using gzgl::test::child;
using gzgl::test::click;

namespace {

// Departments 01 总部 (行政) and 02 车间 (生产); the input item 津贴
// (F004, hidden on screen); net pay F000 = F003 + F004.
//   0001 张三 01  1000 + 100 = 1100
//   0002 李四 01  1500 + 200 = 1700
//   0003 王五 02  2500 + 300 = 2800
//   0004 赵六 02   500 +   0 =  500
struct QueryTask {
    test::PayrollTask t;
    QueryTask() {
        Connection& c = t.s.taskConn;
        c.execute("Insert Into " + t.table("DepType") +
                  "(F_TypeNo,F_TypeName) Values('01','行政'),('02','生产')");
        c.execute("Insert Into " + t.table("Depart") +
                  "(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) "
                  "Values('01','总部','01',1,1),('02','车间','02',1,1)");
        t.item("F004", "津贴");
        c.execute("Update " + t.table("Item") + " Set F_Show=0 Where F_Code='F004'");
        t.formula("F000", "F003+F004");
        pay("0001", "张三", "01", 1000, 100);
        pay("0002", "李四", "01", 1500, 200);
        pay("0003", "王五", "02", 2500, 300);
        pay("0004", "赵六", "02", 500, 0);
    }
    void pay(const char* no, const char* name, const char* dep, double gross, double extra) {
        t.employee(no, name, dep, std::atoi(no));
        t.value(no, "F003", gross);
        t.value(no, "F004", extra);
    }
    QString last() const { return QString::fromStdString(t.prompt.last()); }
};

void addCondition(frmQuerySet& f, const QString& item, const QString& op, const QString& value,
                  const QString& link) {
    auto* items = child<QComboBox>(&f, "cmbType");
    items->setCurrentIndex(items->findText(item));
    child<QComboBox>(&f, "cmbSym")->setCurrentText(op);
    child<QLineEdit>(&f, "txtNum1")->setText(value);
    child<QComboBox>(&f, "cmbAndOr")->setCurrentText(link);
    click(&f, "cmdAdd");
}

int columnOf(const QTableView* grid, const QString& caption) {
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        if (grid->model()->headerData(c, Qt::Horizontal).toString() == caption)
            return c;
    return -1;
}

QString cell(const QTableView* grid, int row, const QString& caption) {
    return grid->model()->index(row, columnOf(grid, caption)).data().toString();
}

// The name column of every grid row, the total row included.
QStringList names(const QTableView* grid) {
    QStringList out;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        out << grid->model()->index(r, 2).data().toString();
    return out;
}

// Runs the dialog's start and hands the result to a result window.
void start(frmQuerySet& set, frmQuery& result) {
    click(&set, "cmdBegin");
    QCOMPARE(set.result(), int(QDialog::Accepted));
    result.showResult(set.request(), set.queryResult());
}

} // namespace

class TestQuery : public QObject {
    Q_OBJECT

private slots:
    void dialogOpensOnTheCurrentMonthWithItsLists() {
        QueryTask q;
        frmQuerySet f(q.t.s, q.t.prompt);
        QCOMPARE(f.windowTitle(), QStringLiteral("工资综合查询条件设置"));
        QCOMPARE(child<QLineEdit>(&f, "txtYear")->text(), QStringLiteral("2006"));
        QCOMPARE(child<QLineEdit>(&f, "txtMonth")->text(), QStringLiteral("02"));
        QCOMPARE(child<QLineEdit>(&f, "txtMonth1")->text(), QStringLiteral("02"));
        auto* depType = child<QComboBox>(&f, "cmbDepType");
        QCOMPARE(depType->count(), 3);
        QCOMPARE(depType->itemText(2), QStringLiteral("生产"));
        // cmdHelp proposes the type of the first chosen department.
        child<QLineEdit>(&f, "txtDep")->setText(QStringLiteral("02 车间,01 总部"));
        click(&f, "cmdHelp");
        QCOMPARE(depType->currentText(), QStringLiteral("生产"));
        auto* items = child<QComboBox>(&f, "cmbType");
        QVERIFY(items->findText(QStringLiteral("实发工资")) >= 0);
        QVERIFY(items->findText(QStringLiteral("津贴")) >= 0);
        QCOMPARE(items->findText(QStringLiteral("姓名")), -1);
    }

    void conditionsAreRefusedAddedAndCleared() {
        QueryTask q;
        frmQuerySet f(q.t.s, q.t.prompt);
        auto* list = child<QTableWidget>(&f, "flgQuery");
        click(&f, "cmdAdd");
        QCOMPARE(q.last(), QStringLiteral("请选择查询的条件"));
        QCOMPARE(QString::fromStdString(q.t.prompt.messages.back().title), QStringLiteral("提示"));
        addCondition(f, QStringLiteral("实发工资"), ">", "12a", QStringLiteral("并且"));
        QCOMPARE(q.last(), QString::fromUtf8(reports::kQueryValueNotNumber));
        QCOMPARE(list->rowCount(), 0);
        addCondition(f, QStringLiteral("实发工资"), ">", "1000", QStringLiteral("或者"));
        QCOMPARE(list->rowCount(), 1);
        QCOMPARE(list->item(0, 0)->text(), QStringLiteral("实发工资"));
        QCOMPARE(list->item(0, 2)->text(), QStringLiteral("1000"));
        QCOMPARE(list->item(0, 3)->text(), QStringLiteral("或者"));
        QCOMPARE(f.request().conditions.at(0).code, std::string("F000"));
        click(&f, "cmdClear");
        QCOMPARE(list->rowCount(), 0);
        QVERIFY(f.request().conditions.empty());
    }

    void monthPastTheCurrentOneIsRefusedAndNothingRuns() {
        QueryTask q;
        frmQuerySet f(q.t.s, q.t.prompt);
        child<QLineEdit>(&f, "txtMonth1")->setText("03");
        click(&f, "cmdBegin");
        QCOMPARE(q.last(), QStringLiteral("查询日期不能大于工资的当前日期。"));
        QVERIFY(f.result() != QDialog::Accepted);
        QVERIFY(f.queryResult().rows.empty());
        child<QLineEdit>(&f, "txtYear")->setText("2005");
        child<QLineEdit>(&f, "txtMonth1")->setText("02");
        click(&f, "cmdBegin");
        QCOMPARE(q.last(), QStringLiteral("查询日期不能小于工资的起用日期。"));
    }

    void twoConditionsJoinedByAndKeepRowsBetweenTheBoundsWithTheirTotal() {
        QueryTask q;
        frmQuerySet set(q.t.s, q.t.prompt);
        addCondition(set, QStringLiteral("实发工资"), ">", "1000", QStringLiteral("并且"));
        addCondition(set, QStringLiteral("实发工资"), "<", "2000", QStringLiteral("并且"));
        frmQuery result(q.t.s, q.t.prompt);
        start(set, result);
        QTableView* grid = result.grid();
        QCOMPARE(names(grid), (QStringList{QStringLiteral("张三"), QStringLiteral("李四"), QString()}));
        QCOMPARE(grid->model()->index(2, 0).data().toString(), QStringLiteral("合   计"));
        QCOMPARE(cell(grid, 0, QStringLiteral("所属部门")), QStringLiteral("总部"));
        QCOMPARE(cell(grid, 1, QStringLiteral("实发工资")), QStringLiteral("1700.00"));
        QCOMPARE(cell(grid, 2, QStringLiteral("实发工资")), QStringLiteral("2800.00"));
        QCOMPARE(cell(grid, 2, QStringLiteral("应发工资")), QStringLiteral("2500.00"));
        // 津贴 is counted but not shown.
        QCOMPARE(cell(grid, 2, QStringLiteral("津贴")), QStringLiteral("300.00"));
        QVERIFY(grid->isColumnHidden(columnOf(grid, QStringLiteral("津贴"))));
        QVERIFY(!grid->isColumnHidden(columnOf(grid, QStringLiteral("实发工资"))));
        // No figure starts out cut off.
        const int net = columnOf(grid, QStringLiteral("实发工资"));
        QVERIFY(grid->columnWidth(net) >= grid->fontMetrics().horizontalAdvance("2800.00"));
    }

    void conditionsJoinedByOrKeepEveryRowAndFiltersNarrow() {
        QueryTask q;
        frmQuerySet set(q.t.s, q.t.prompt);
        addCondition(set, QStringLiteral("实发工资"), ">", "1000", QStringLiteral("或者"));
        addCondition(set, QStringLiteral("实发工资"), "<", "2000", QStringLiteral("并且"));
        frmQuery result(q.t.s, q.t.prompt);
        start(set, result);
        QCOMPARE(result.grid()->model()->rowCount(), 5);
        QCOMPARE(cell(result.grid(), 4, QStringLiteral("实发工资")), QStringLiteral("6100.00"));

        frmQuerySet byType(q.t.s, q.t.prompt);
        child<QComboBox>(&byType, "cmbDepType")->setCurrentText(QStringLiteral("生产"));
        start(byType, result);
        QCOMPARE(names(result.grid()),
                 (QStringList{QStringLiteral("王五"), QStringLiteral("赵六"), QString()}));
        QCOMPARE(cell(result.grid(), 2, QStringLiteral("实发工资")), QStringLiteral("3300.00"));
    }

    void reversedRangeIsSwappedInTheBoxesAndListsBothMonths() {
        QueryTask q;
        SilentProgress progress;
        QVERIFY(period::closeMonth(q.t.s, "2006", "03", progress).ok);
        frmQuerySet set(q.t.s, q.t.prompt);
        child<QLineEdit>(&set, "txtYear1")->setText("2006");
        child<QLineEdit>(&set, "txtMonth1")->setText("2");
        frmQuery result(q.t.s, q.t.prompt);
        start(set, result);
        QCOMPARE(child<QLineEdit>(&set, "txtMonth")->text(), QStringLiteral("02"));
        QCOMPARE(child<QLineEdit>(&set, "txtMonth1")->text(), QStringLiteral("03"));
        QCOMPARE(result.grid()->model()->rowCount(), 9);
        QCOMPARE(cell(result.grid(), 8, QStringLiteral("实发工资")), QStringLiteral("12200.00"));
    }

    void excelExportGoesThroughTheChosenFileAndTheEngine() {
        QueryTask q;
        QTemporaryDir dir;
        frmQuerySet set(q.t.s, q.t.prompt);
        frmQuery result(q.t.s, q.t.prompt);
        start(set, result);
        QString title, filter, answer;
        result.setFileChooser([&](const QString& t, const QString& f) {
            title = t;
            filter = f;
            return answer;
        });
        q.t.prompt.clear();
        result.action("SaveExcel")->trigger();
        QCOMPARE(title, QStringLiteral("保存文件"));
        QVERIFY(filter.contains("*.xlsx"));
        QVERIFY(q.t.prompt.messages.empty()); // cancelled: nothing at all

        answer = dir.filePath(QStringLiteral("工资"));
        const QString file = answer + ".xlsx";
        result.action("SaveExcel")->trigger();
        QCOMPARE(q.last(), QStringLiteral("Excel表格已经成功导出。存放在") + file);
        QVERIFY(QFileInfo(file).size() > 0);
        // Declining to overwrite leaves the file as it was.
        QFile::resize(file, 3);
        q.t.prompt.answers = {false};
        result.action("SaveExcel")->trigger();
        QCOMPARE(q.last(), file + QStringLiteral("磁盘中已有Excel文件,是否要覆盖"));
        QCOMPARE(QFileInfo(file).size(), 3);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
    }

    void delimitedExportWritesTheRowsWithTheChosenSeparator() {
        QueryTask q;
        QTemporaryDir dir;
        frmQuerySet set(q.t.s, q.t.prompt);
        frmQuery result(q.t.s, q.t.prompt);
        start(set, result);
        std::string written;
        int code = -1;
        result.setSaveDialogRunner([&](QDialog& d) {
            auto& save = static_cast<frmSave&>(d);
            child<QLineEdit>(&save, "Dir1")->setText(dir.path());
            click(&save, "cmdOk");
            QCOMPARE(q.last(), QStringLiteral("文件名不能为空！"));
            QVERIFY(save.result() != QDialog::Accepted);
            child<QLineEdit>(&save, "txtName")->setText("gz.txt");
            child<QComboBox>(&save, "Cmbfg")->setCurrentText("TAB");
            click(&save, "cmdOk");
            written = save.written();
            code = save.result();
        });
        result.action("KeySave")->trigger();
        QCOMPARE(code, int(QDialog::Accepted));
        QCOMPARE(q.last(), QStringLiteral("文件生成完毕！"));
        QFile f(QString::fromStdString(written));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = f.readAll().split('\n');
        // Six header lines, codes, titles, four employees; no total row.
        QCOMPARE(lines.size(), 6 + 2 + 4 + 1);
        QCOMPARE(lines[0], QByteArray("****\r"));
        QCOMPARE(lines[3], QByteArray("\xb7\xd6\xb8\xf4\xb7\xfb\xba\xc5 \t\r")); // 分隔符号 TAB
        QVERIFY(lines[11].contains('\t'));
        QVERIFY(!lines[11].contains("\xba\xcf")); // no 合计 line
        QVERIFY(lines[12].isEmpty());
    }

    void previewAndPrintOfAnEmptyResultSaySo() {
        QueryTask q;
        frmQuerySet set(q.t.s, q.t.prompt);
        child<QLineEdit>(&set, "txtName")->setText(QStringLiteral("无此人"));
        frmQuery result(q.t.s, q.t.prompt);
        start(set, result);
        QCOMPARE(result.grid()->model()->rowCount(), 1); // the total row alone
        result.action("KeyPreview")->trigger();
        QCOMPARE(q.last(), QStringLiteral("没有数据可供预览！"));
        result.action("KeyPrint")->trigger();
        QCOMPARE(q.last(), QStringLiteral("没有数据可供打印！"));
    }

    void mainWindowRunsTheQueryIntoOneResultWindowAndFitsItsGrid() {
        QueryTask q;
        frmMain main(q.t.s, q.t.prompt);
        main.show();
        test::ModalWatcher watcher;
        watcher.answer = [](QDialog* d) {
            if (d->objectName() != "frmQuerySet")
                return false;
            click(d, "cmdBegin");
            return true;
        };
        main.runCommand(Command::SalaryQuery);
        main.runCommand(Command::SalaryQuery);
        const QList<frmQuery*> screens = main.findChildren<frmQuery*>();
        QCOMPARE(screens.size(), 1);
        QCOMPARE(screens[0]->grid()->model()->rowCount(), 5);
        QCOMPARE(q.t.s.activeGridScreen, frmQuery::kScreenId);
        QCOMPARE(main.activeGrid(), screens[0]->grid());
        QTableView* grid = screens[0]->grid();
        grid->setColumnWidth(2, 5);
        main.runCommand(Command::AdjustColumns);
        QVERIFY(grid->columnWidth(2) > 5);

        // The condition dialog again from the toolbar re-runs into it.
        watcher.answer = [](QDialog* d) {
            child<QLineEdit>(d, "txtCode")->setText("0003");
            click(d, "cmdBegin");
            return true;
        };
        screens[0]->action("KeyQuery")->trigger();
        QCOMPARE(names(grid), (QStringList{QStringLiteral("王五"), QString()}));

        q.t.prompt.answers = {false};
        QVERIFY(!screens[0]->close());
        QCOMPARE(q.last(), QStringLiteral("退出本模块吗？"));
        q.t.prompt.answers = {true};
        main.mdiArea()->closeAllSubWindows();
        QCOMPARE(q.t.s.activeGridScreen, 0);
        QVERIFY(!main.activeGrid());
    }
};

QTEST_MAIN(TestQuery)
#include "test_query.moc"
