// The main window's wiring: enablement states, caption and panels as the
// session moves from no task to logged in and back.
#include "core/login.h"
#include "core/startup.h"
#include "screens/session/FrmDH.h"
#include "screens/session/frmMain.h"
#include "support/qt_test_support.h"
#include "support/test_support.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

#include <QSignalSpy>
#include <QtTest>
#include <functional>

using namespace gzgl;

class TestFrmMain : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempHome> home;
    std::unique_ptr<Session> s;
    test::RecordingPrompt p;
    std::unique_ptr<frmMain> w;

    QString panel(const char* name) { return w->findChild<QLabel*>(name)->text(); }
    bool enabled(const char* name) {
        QAction* a = w->action(name);
        if (!a)
            qFatal("no action %s", name);
        return a->isEnabled();
    }


    QStringList childWindows() {
        QStringList names;
        for (QMdiSubWindow* sub : w->mdiArea()->subWindowList())
            if (sub->widget() && !sub->widget()->inherits("FrmDH"))
                names << sub->widget()->objectName();
        return names;
    }

    void chooseWithoutLogin() {
        QCOMPARE(confirmTaskChoice(*s, p, "0000      一车间"), ChoiceNext::Login);
        cancelLogin(*s);
        w->refreshShell();
    }

private slots:
    void init() {
        home = std::make_unique<test::TempHome>();
        s = std::make_unique<Session>();
        test::openHome(*s, home->path);
        test::makeTask(*s, "一车间", "管理员", "pw");
        p.clear();
        w = std::make_unique<frmMain>(*s, p);
        w->show();
    }
    void cleanup() {
        w.reset();
        s.reset();
        home.reset();
    }

    void noTaskState() {
        QCOMPARE(w->windowTitle(), QString::fromStdString(s->productTitle));
        QVERIFY(enabled("tlb_open"));
        QVERIFY(enabled("tlb_exit"));
        for (const char* b :
             {"tlb_manage", "tlb_option", "tlb_salary", "tlb_query", "tlb_print", "tlb_adjust"})
            QVERIFY2(!enabled(b), b);
        QVERIFY(!enabled("mnuSalarys_Close"));
        QVERIFY(enabled("mnuSalarys_Add"));
        QVERIFY(enabled("mnuSalarys_Open"));
    }

    void loggedInState() {
        QVERIFY(loginByName(*s, p, "一车间", "管理员", "pw"));
        w->refreshShell();
        QCOMPARE(w->windowTitle(), QString::fromStdString(s->productTitle) + " --- 一车间");
        QCOMPARE(panel("panel1"), QStringLiteral("2006年第02月"));
        QCOMPARE(panel("panel2"), QStringLiteral("管理员"));
        QCOMPARE(panel("panel3"), QStringLiteral("已启用"));
        QVERIFY(!enabled("tlb_open"));
        for (const char* b :
             {"tlb_manage", "tlb_option", "tlb_salary", "tlb_query", "tlb_print", "tlb_adjust"})
            QVERIFY2(enabled(b), b);
        QVERIFY(!enabled("mnuSalarys_Open"));
        QVERIFY(!enabled("mnuSalarys_Add"));
        QVERIFY(enabled("mnuSalarys_Close"));
        QVERIFY(enabled("mnuSystem_Balance"));
    }

    void chosenButLoginCancelledState() {
        QCOMPARE(confirmTaskChoice(*s, p, "0000      一车间"), ChoiceNext::Login);
        cancelLogin(*s);
        w->refreshShell();
        QVERIFY(enabled("tlb_exit"));
        for (const char* b :
             {"tlb_open", "tlb_manage", "tlb_option", "tlb_salary", "tlb_query", "tlb_print", "tlb_adjust"})
            QVERIFY2(!enabled(b), b);
        QVERIFY(enabled("mnuSalarys_Close"));
        QVERIFY(enabled("mnuSystem_SysSet"));
        QVERIFY(!enabled("mnuSalary_CurMonth"));
        QVERIFY(!enabled("mnuSalarys_Delete"));
        QVERIFY(panel("panel2").isEmpty());
    }

    void noTaskScreenOpensWithoutALoggedInOperator() {
        // Every command, toolbar button and navigation code, given while the
        // task is chosen but its login was cancelled: no task screen opens.
        // Where a command is left enabled the login comes first.
        chooseWithoutLogin();
        w->showNavigation();
        test::ModalWatcher watcher;
        for (const Menu& m : menuTree())
            for (const MenuEntry& e : m.entries)
                if (e.command != Command::None && e.command != Command::SalarysExit &&
                    e.command != Command::SalarysClose && e.command != Command::HelpOnline)
                    w->runCommand(e.command);
        for (const ToolButton& b : toolButtons())
            if (b.command != Command::None && b.command != Command::ExitPrompt)
                w->runCommand(b.command);
        for (const std::string& code : navigationCodes())
            w->runNavigationCode(QString::fromStdString(code));
        QCoreApplication::processEvents();
        for (const QString& name : watcher.seen)
            QVERIFY2(name == "frmLogin", qPrintable(name));
        // Only the screens that need no task may open.
        for (const QString& name : childWindows())
            QVERIFY2(name == "frmAbout" || name == "frmDataInterfaceIn", qPrintable(name));
        QVERIFY(!s->loggedIn());
        QCOMPARE(s->shell.mode, ShellMode::TaskChosen);
    }

    void amendChosenWithNoTaskAndLoginCancelledOpensNothing() {
        test::ModalWatcher watcher;
        watcher.answer = [](QDialog* d) {
            if (d->objectName() != "frmOpen")
                return false;
            test::click(d, "cmdOk"); // choose the task, then cancel its login
            return true;
        };
        w->runCommand(Command::SalarysChange);
        QCOMPARE(watcher.seen, (QStringList{"frmOpen", "frmLogin"}));
        QVERIFY(s->taskOpen());
        QVERIFY(!s->loggedIn());
    }

    void closingTheTaskClosesItsWindowsFirst() {
        QVERIFY(loginByName(*s, p, "一车间", "管理员", "pw"));
        w->refreshShell();
        w->showNavigation();
        w->runCommand(Command::BaseInfoEmp);
        w->runCommand(Command::BaseInfoDep);
        QCOMPARE(childWindows().size(), 2);
        // The roster asks before it closes; No keeps it and the task.
        p.answers = {false};
        w->runCommand(Command::SalarysClose);
        QVERIFY(s->loggedIn());
        QVERIFY(childWindows().contains("frmManage"));
        p.answers = {true};
        w->runCommand(Command::SalarysClose);
        QCoreApplication::processEvents();
        QVERIFY(!s->taskOpen());
        QVERIFY2(childWindows().isEmpty(), qPrintable(childWindows().join(",")));
        QCOMPARE(w->mdiArea()->subWindowList().size(), 1); // the navigation picture stays

        // Deleting the task does the same.
        QVERIFY(loginByName(*s, p, "一车间", "管理员", "pw"));
        w->refreshShell();
        w->runCommand(Command::BaseInfoDep);
        p.answers = {true};
        w->runCommand(Command::SalarysDelete);
        QCoreApplication::processEvents();
        QVERIFY(!s->taskOpen());
        QVERIFY(childWindows().isEmpty());
    }

    void closingTheTaskReturnsToNoTask() {
        QVERIFY(loginByName(*s, p, "一车间", "管理员", "pw"));
        w->refreshShell();
        w->action("mnuSalarys_Close")->trigger();
        QCOMPARE(w->windowTitle(), QString::fromStdString(s->productTitle));
        QVERIFY(panel("panel1").isEmpty());
        QVERIFY(panel("panel2").isEmpty());
        QVERIFY(enabled("tlb_open"));
        QVERIFY(!enabled("tlb_manage"));
        QVERIFY(!enabled("mnuSalarys_Close"));
        QVERIFY(!s->taskOpen());
    }

    void closingTheWindowAndAnsweringNoKeepsItOpen() {
        p.answers = {false};
        QVERIFY(!w->close());
        QVERIFY(w->isVisible());
        QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("确定要退出工资管理软件吗？"));
    }

    void navigationExitAsksItsOwnQuestion() {
        p.answers = {false};
        w->runNavigationCode("41");
        QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("确定要退出工资管理系统吗？"));
        QVERIFY(w->isVisible());
        w->runNavigationCode("99"); // does nothing
        QCOMPARE(p.messages.size(), std::size_t(1));
    }

    void navigationPictureReportsTheClickedCode() {
        FrmDH nav;
        nav.resize(900, 470);
        QSignalSpy spy(&nav, &FrmDH::codeClicked);
        for (const char* code : {"11", "24", "35", "41"}) {
            const QRectF box = nav.boxOf(code);
            QVERIFY2(!box.isEmpty(), code);
            QTest::mouseClick(&nav, Qt::LeftButton, {}, box.center().toPoint());
        }
        QCOMPARE(spy.count(), 4);
        QCOMPARE(spy.at(1).at(0).toString(), QStringLiteral("24"));
        QTest::mouseClick(&nav, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(spy.count(), 4);
        // A disabled command's box reports nothing.
        nav.setDisabledCodes({"11"});
        QTest::mouseClick(&nav, Qt::LeftButton, {}, nav.boxOf("11").center().toPoint());
        QCOMPARE(spy.count(), 4);
    }
};

QTEST_MAIN(TestFrmMain)
#include "test_frmMain.moc"
