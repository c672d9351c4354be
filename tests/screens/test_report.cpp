// frmReport's wiring: the fields it opens with and the controls each report
// type shows, a department summary over two months printed to PDF, a
// reversed range shown swapped, refusals that keep the fields, the
// spinners, Enter, the payslip files and the main window's command.
#include "screens/reports/frmReport.h"
#include "screens/session/frmMain.h"

#include "period/balance.h"
#include "reports/standard.h"
#include "support/payroll_fixture.h"
#include "support/qt_test_support.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace gzgl;
using gzgl::test::child;
using gzgl::test::click;

namespace {

// 01 总部 over 0101 办公室 and 0102 财务科; pay F004, F003 = F000 = F004.
// February is closed, so the task stands in 2006-03 with both months.
struct ReportTask {
    test::PayrollTask t;
    ReportTask() {
        t.s.sysConn.execute("Update GZSysInfo set F_BMJB='22000' where F_ID=?", {t.s.curTaskID});
        t.s.taskConn.execute("Insert Into " + t.table("DepType") +
                             "(F_TypeNo,F_TypeName) Values('01','管理')");
        t.s.taskConn.execute("Insert Into " + t.table("Depart") +
                             "(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) Values"
                             "('01','总部','',1,0),('0101','办公室','01',2,1),('0102','财务科','01',2,1)");
        t.item("F004", "基本工资");
        t.formula("F003", "F004");
        t.formula("F000", "F003");
        t.employee("0001", "张三", "0101", 1);
        t.employee("0002", "李四", "0101", 2);
        t.employee("0003", "王五", "0102", 1);
        t.value("0001", "F004", 1000.50);
        t.value("0002", "F004", 2000.25);
        t.value("0003", "F004", 300);
        SilentProgress silent;
        if (!period::closeMonth(t.s, "2006", "3", silent).ok)
            qFatal("month-end failed: %s", t.prompt.last().c_str());
        t.prompt.clear();
    }
};

QLineEdit* box(const QObject* f, const char* name) {
    return child<QLineEdit>(f, name);
}

void setRange(frmReport& f, const char* m0, const char* m1) {
    box(&f, "txtYear")->setText("2006");
    box(&f, "txtMonth")->setText(m0);
    box(&f, "txtYear1")->setText("2006");
    box(&f, "txtMonth1")->setText(m1);
}

QString range(const frmReport& f) {
    return box(&f, "txtYear")->text() + box(&f, "txtMonth")->text() + "-" + box(&f, "txtYear1")->text() +
           box(&f, "txtMonth1")->text();
}

// A PDF's text as poppler reads it, NFKC-folded and with the radical
// forms it gives for some CJK glyphs mapped back to their characters.
QString pdfText(const QString& path) {
    QProcess p;
    p.start("pdftotext", {"-layout", path, "-"});
    p.waitForFinished(30000);
    QString t = QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
    return t.replace(QChar(0x2ED4), QStringLiteral("门")).replace(QChar(0x2EDA), QStringLiteral("页"));
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT

private slots:
    void opensOnTheCurrentMonthAndShowsTheControlsOfEachType() {
        ReportTask r;
        frmReport f(r.t.s, r.t.prompt);
        QCOMPARE(range(f), QStringLiteral("200603-200603"));
        auto* type = child<QComboBox>(&f, "cmbType");
        QCOMPARE(type->count(), 4);
        QCOMPARE(type->itemText(3), QStringLiteral("职工工资单"));
        QCOMPARE(type->currentIndex(), 0);
        auto shown = [&f](const char* name) { return !child<QWidget>(&f, name)->isHidden(); };
        const char* names[] = {"txtDep", "txtDepType", "txtGrade", "UDGrade", "Opt1", "cmdExport"};
        const bool expected[4][6] = {{true, false, true, true, true, false},
                                     {true, true, false, false, false, false},
                                     {true, false, false, false, false, false},
                                     {true, false, false, false, false, true}};
        for (int t = 3; t >= 0; --t) {
            type->setCurrentIndex(t);
            for (int c = 0; c < 6; ++c)
                QVERIFY2(shown(names[c]) == expected[t][c],
                         qPrintable(QString("%1 %2").arg(t).arg(names[c])));
        }
        // A level typed for the summary plays no part in the pay sheet.
        box(&f, "txtGrade")->setText("9");
        type->setCurrentIndex(2);
        test::ModalWatcher watcher;
        click(&f, "cmdpreview0");
        QVERIFY(r.t.prompt.messages.empty());
        QCOMPARE(watcher.seen, QStringList{"frmPreview"});
        QCOMPARE(f.report().grid.dataRows(), 3);
    }

    void departmentSummaryOverTwoMonthsPrintsTheSums() {
        if (!QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("a printer is installed: printing would not fall back to a PDF file");
        ReportTask r;
        QTemporaryDir dir;
        const QString pdf = dir.filePath("sum.pdf");
        frmReport f(r.t.s, r.t.prompt);
        f.setPdfChooser([pdf] { return pdf; });
        box(&f, "txtDep")->setText(QStringLiteral("01 总部"));
        setRange(f, "02", "03");
        click(&f, "cmdpreview1");
        QCOMPARE(QString::fromStdString(r.t.prompt.last()), "已打印到文件 " + pdf + "。");
        const reports::ReportGrid& g = f.report().grid;
        QCOMPARE(g.rows.size(), std::size_t{3});
        QCOMPARE(QString::fromStdString(g.cell(0, 0) + g.cell(0, 1)), QStringLiteral("0101办公室"));
        const QString text = pdfText(pdf);
        QVERIFY2(text.contains(QStringLiteral("职工工资部门汇总表")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("日期:2006年02月--2006年03月")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("部门:总部")), qPrintable(text));
        // Both months added: 2 × (1000.50 + 2000.25), 2 × 300, and the total.
        QVERIFY2(text.contains("6001.50") && text.contains("600.00") && text.contains("6601.50"),
                 qPrintable(text));
    }

    void reversedRangeIsShownSwappedAndBuilt() {
        ReportTask r;
        frmReport f(r.t.s, r.t.prompt);
        child<QComboBox>(&f, "cmbType")->setCurrentIndex(2);
        setRange(f, "03", "02");
        test::ModalWatcher watcher;
        click(&f, "cmdpreview0");
        QCOMPARE(range(f), QStringLiteral("200602-200603"));
        QCOMPARE(QString::fromStdString(f.report().first + f.report().last), QStringLiteral("200602200603"));
        QCOMPARE(watcher.seen, QStringList{"frmPreview"});
    }

    void refusalsAreShownAndKeepTheFields() {
        ReportTask r;
        frmReport f(r.t.s, r.t.prompt);
        test::ModalWatcher watcher;
        setRange(f, "02", "04");
        click(&f, "cmdpreview0");
        QCOMPARE(QString::fromStdString(r.t.prompt.last()),
                 QStringLiteral("报表日期不能大于工资的当前日期。"));
        QCOMPARE(QString::fromStdString(r.t.prompt.messages.back().title), QStringLiteral("提示"));
        QCOMPARE(range(f), QStringLiteral("200602-200604"));
        box(&f, "txtMonth")->clear();
        click(&f, "cmdpreview1");
        QCOMPARE(QString::fromStdString(r.t.prompt.last()), QStringLiteral("请输入所需打印报表日期！"));
        setRange(f, "03", "03");
        child<QComboBox>(&f, "cmbType")->setCurrentIndex(1);
        box(&f, "txtDepType")->setText(QStringLiteral("管理,仓储"));
        click(&f, "cmdpreview0");
        QCOMPARE(QString::fromStdString(r.t.prompt.last()), QStringLiteral("不存在此部门类型：仓储"));
        QCOMPARE(box(&f, "txtDepType")->text(), QStringLiteral("管理,仓储"));
        QVERIFY(watcher.seen.isEmpty());
    }

    void spinnersStepAcrossTheYearAndBoundTheLevel() {
        ReportTask r;
        frmReport f(r.t.s, r.t.prompt);
        auto press = [&f](const char* ud, const char* button, int times = 1) {
            for (int i = 0; i < times; ++i)
                child<QToolButton>(child<QWidget>(&f, ud), button)->click();
        };
        press("UDMonth", "down", 3);
        QCOMPARE(range(f), QStringLiteral("200512-200603"));
        press("UDMonth", "up");
        QCOMPARE(range(f), QStringLiteral("200601-200603"));
        press("UDYear1", "up");
        QCOMPARE(range(f), QStringLiteral("200601-200703"));
        press("UDGrade", "up", 7);
        QCOMPARE(box(&f, "txtGrade")->text(), QStringLiteral("5"));
        press("UDGrade", "down", 5);
        QCOMPARE(box(&f, "txtGrade")->text(), QString());
    }

    void enterSkipsTheHiddenFields() {
        ReportTask r;
        frmReport f(r.t.s, r.t.prompt);
        child<QComboBox>(&f, "cmbType")->setCurrentIndex(2);
        f.show();
        box(&f, "txtDep")->setFocus();
        QTest::keyClick(box(&f, "txtDep"), Qt::Key_Return);
        QCOMPARE(f.focusWidget(), box(&f, "txtYear"));
        QTest::keyClick(box(&f, "txtMonth1"), Qt::Key_Return);
        QCOMPARE(f.focusWidget()->objectName(), QStringLiteral("cmdpreview0"));
    }

    void payslipsGoToOneFilePerEmployee() {
        ReportTask r;
        QTemporaryDir dir;
        frmReport f(r.t.s, r.t.prompt);
        f.setFolderChooser([&dir] { return dir.path(); });
        child<QComboBox>(&f, "cmbType")->setCurrentIndex(3);
        click(&f, "cmdExport");
        QCOMPARE(QString::fromStdString(r.t.prompt.last()),
                 "已写出 3 个工资单文件到文件夹 " + dir.path() + "。");
        const QStringList files = QDir(dir.path()).entryList({"*.pdf"}, QDir::Files, QDir::Name);
        QCOMPARE(files.size(), 3);
        const QString text = pdfText(dir.filePath(files[2]));
        QVERIFY2(text.contains(QStringLiteral("王五")) && text.contains("300.00"), qPrintable(text));
        // Cancelling the folder choice writes nothing more.
        f.setFolderChooser([] { return QString(); });
        r.t.prompt.clear();
        click(&f, "cmdExport");
        QVERIFY(r.t.prompt.messages.empty());
    }

    void mainWindowOpensItModallyFromMenuAndNavigation() {
        ReportTask r;
        frmMain main(r.t.s, r.t.prompt);
        main.show();
        test::ModalWatcher watcher;
        main.runCommand(Command::SalaryPrint);
        main.runNavigationCode("14");
        QCOMPARE(watcher.seen, (QStringList{"frmReport", "frmReport"}));
    }
};

QTEST_MAIN(TestReport)
#include "test_report.moc"
