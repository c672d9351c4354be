// "文本数据导入" and "数据加载" as the clerk meets them: opened from the
// main window, a file chosen, the outcome shown, the lines not imported
// listed with their numbers, and the export written from the open month.
#include "exchange/dataload.h"
#include "exchange/textfile.h"
#include "screens/interfaces/frmDataInterfaceIn.h"
#include "screens/interfaces/frmDataLoad.h"
#include "screens/session/frmMain.h"

#include "core/gbk.h"
#include "support/payroll_fixture.h"
#include "support/qt_test_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>

using namespace gzgl;
using gzgl::test::child;
using gzgl::test::click;

namespace {

struct ExchangeTask {
    test::PayrollTask t{0, "2006", "2", "管理员", "pw"};
    ExchangeTask() {
        t.s.taskConn.execute("Insert Into " + t.table("Depart") +
                             "(F_DepNo,F_DepName,F_DepClass,F_End) Values('01','一车间',1,1)");
        t.s.sysConn.execute("Update GZSysInfo set F_BMJB='20000' where F_ID=?", {t.s.curTaskID});
        t.item("F004", "基本工资");
        t.employee("0001", "张三", "01");
        t.value("0001", "F004", 100.0);
    }
    std::string write(const std::string& utf8) {
        const std::string path = t.home.path + "/in.txt";
        exchange::writeFileReplacing(path, toGbk(utf8));
        return path;
    }
    double value(const char* emp) {
        return t.s.taskConn.scalar("Select F004 From " + t.table("Data") + " Where F_EmpNo=?", {emp}).toDouble();
    }
};

} // namespace

class TestDataExchange : public QObject {
    Q_OBJECT
private slots:
    void interfaceImportFromTheMainWindowListsSkippedLines() {
        ExchangeTask x;
        frmMain main(x.t.s, x.t.prompt);
        main.resize(1366, 768);
        main.show();
        main.runCommand(Command::DataInterfaceIn);
        main.runCommand(Command::DataInterfaceIn); // a second time raises the same window
        const QList<frmDataInterfaceIn*> screens = main.findChildren<frmDataInterfaceIn*>();
        QCOMPARE(screens.size(), 1);
        frmDataInterfaceIn* f = screens[0];
        QVERIFY(child<QLabel>(f, "lblTask")->text().contains(QStringLiteral("200602")));
        const std::string path =
            x.write("****\r\n任务名称 " + x.t.s.curTaskID + " 工资\r\n工资期数 200602\r\n分隔符号 |\r\n****\r\n"
                    "F001|F002|F004\r\n工号|姓名|基本工资\r\n0001|张三|250.5\r\n0002|李四|abc\r\n");
        child<QLineEdit>(f, "txtFile")->setText(QString::fromStdString(path));
        click(f, "cmdok");
        QCOMPARE(QString::fromStdString(x.t.prompt.last()), QStringLiteral("导入工资数据完成。\n有1行没有导入。"));
        QCOMPARE(x.value("0001"), 250.5);
        const QString skipped = child<QPlainTextEdit>(f, "txtSkipped")->toPlainText();
        QVERIFY2(skipped.startsWith(QStringLiteral("第9行：")), qPrintable(skipped));
        QVERIFY(skipped.contains(QStringLiteral("0002|李四|abc")));
        // A file of another kind: refused, the value stays.
        child<QLineEdit>(f, "txtFile")->setText(QString::fromStdString(x.write("KS770_GZGL\r\n")));
        click(f, "cmdok");
        QCOMPARE(QString::fromStdString(x.t.prompt.last()), QStringLiteral("文件不是合法的工资数据文件或文件已损坏。"));
        QCOMPARE(x.value("0001"), 250.5);
        const QString png = qEnvironmentVariable("GZGL_GRAB_DIR");
        if (!png.isEmpty())
            main.grab().save(png + "/frmDataInterfaceIn.png");
    }

    void dataLoadShowsTheLayoutExportsAndLoadsWithThePassword() {
        ExchangeTask x;
        frmDataLoad f(x.t.s, x.t.prompt, nullptr);
        f.show();
        QCOMPARE(f.windowTitle(), QStringLiteral("数据加载"));
        QVERIFY(child<QPlainTextEdit>(&f, "txtHelp")->toPlainText().contains(QStringLiteral("KS770_GZGL")));
        QVERIFY(child<QPushButton>(&f, "cmdExport")->isEnabled());
        // The export goes through the engine; a load of it with the wrong
        // password is refused and changes nothing.
        const std::string path = x.t.home.path + "/month.txt";
        SilentProgress quiet;
        QVERIFY(exchange::exportDataFile(x.t.s, path, x.t.prompt, quiet).ok);
        x.t.value("0001", "F004", 1.0);
        child<QLineEdit>(&f, "txtFile")->setText(QString::fromStdString(path));
        child<QLineEdit>(&f, "txtPassword")->setText(QStringLiteral("PW"));
        click(&f, "cmdLoad");
        QVERIFY(QString::fromStdString(x.t.prompt.last()).startsWith(QStringLiteral("口令不正确")));
        QCOMPARE(x.value("0001"), 1.0);
        QVERIFY(f.loadedTaskID().empty());
        // Enter in the password box loads.
        child<QLineEdit>(&f, "txtPassword")->setText(QStringLiteral("pw"));
        QTest::keyClick(child<QLineEdit>(&f, "txtPassword"), Qt::Key_Return);
        QCOMPARE(QString::fromStdString(x.t.prompt.last()), QStringLiteral("数据导入完毕！"));
        QCOMPARE(x.value("0001"), 100.0);
        QCOMPARE(QString::fromStdString(f.loadedTaskID()), QString::fromStdString(x.t.s.curTaskID));
        const QString png = qEnvironmentVariable("GZGL_GRAB_DIR");
        if (!png.isEmpty())
            f.grab().save(png + "/frmDataLoad.png");
    }

    void withoutATaskOnlyTheLoadWorks() {
        test::TempHome home;
        Session s;
        test::openHome(s, home.path);
        test::RecordingPrompt p;
        frmDataLoad f(s, p, nullptr);
        QVERIFY(!child<QPushButton>(&f, "cmdExport")->isEnabled());
        frmDataInterfaceIn in(s, p, nullptr);
        QVERIFY(child<QLabel>(&in, "lblTask")->text().startsWith(QStringLiteral("没有登录工资任务")));
    }
};

QTEST_MAIN(TestDataExchange)
#include "test_data_exchange.moc"
