// "关于工资系统": the versions, the data home and the task count it shows,
// and the system information it opens.
#include "screens/session/frmAbout.h"
#include "screens/session/frmMain.h"

#include "support/payroll_fixture.h"
#include "support/qt_test_support.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QtTest>

using namespace gzgl;
using gzgl::test::child;
using gzgl::test::click;

class TestAbout : public QObject {
    Q_OBJECT
private slots:
    void showsVersionsHomeAndTasksAndOpensTheSystemInformation() {
        test::PayrollTask t;
        frmMain main(t.s, t.prompt);
        main.show();
        main.runCommand(Command::HelpAbout);
        const QList<frmAbout*> boxes = main.findChildren<frmAbout*>();
        QCOMPARE(boxes.size(), 1);
        frmAbout* a = boxes[0];
        QCOMPARE(child<QLabel>(a, "lblVersion")->text(), QStringLiteral("版本 0.1"));
        QVERIFY(child<QLabel>(a, "lblQt")->text().contains(QString::fromLatin1(qVersion())));
        QVERIFY(child<QLabel>(a, "lblSqlite")->text().contains(QStringLiteral("3.")));
        QCOMPARE(child<QLabel>(a, "lblHome")->text(), QStringLiteral("数据目录：") + QString::fromStdString(t.home.path));
        QCOMPARE(child<QLabel>(a, "lblTasks")->text(), QStringLiteral("工资任务数：1"));

        test::ModalWatcher watcher;
        QString shown;
        watcher.answer = [&](QDialog* d) {
            shown = child<QPlainTextEdit>(d, "txtInfo")->toPlainText();
            return false;
        };
        click(a, "cmdSysInfo");
        QCOMPARE(watcher.seen, QStringList{"frmSysInfo"});
        for (const char* part : {"操作系统：", "屏幕：", "能显示中文的字体", "打印机"})
            QVERIFY2(shown.contains(QString::fromUtf8(part)), part);
    }
};

QTEST_MAIN(TestAbout)
#include "test_about.moc"
