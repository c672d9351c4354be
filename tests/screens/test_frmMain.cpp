// The main window's wiring: enablement states, caption and panels as the
// session moves from no task to logged in and back.
#include "core/login.h"
#include "core/startup.h"
#include "screens/session/FrmDH.h"
#include "screens/session/frmMain.h"
#include "support/test_support.h"

#include <QAction>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

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
        for (const char* b : {"tlb_manage", "tlb_option", "tlb_salary", "tlb_query", "tlb_print", "tlb_adjust"})
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
        for (const char* b : {"tlb_manage", "tlb_option", "tlb_salary", "tlb_query", "tlb_print", "tlb_adjust"})
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
        for (const char* b : {"tlb_open", "tlb_manage", "tlb_option", "tlb_salary", "tlb_query", "tlb_print",
                              "tlb_adjust"})
            QVERIFY2(!enabled(b), b);
        QVERIFY(enabled("mnuSalarys_Close"));
        QVERIFY(enabled("mnuSystem_SysSet"));
        QVERIFY(!enabled("mnuSalary_CurMonth"));
        QVERIFY(!enabled("mnuSalarys_Delete"));
        QVERIFY(panel("panel2").isEmpty());
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
    }
};

QTEST_MAIN(TestFrmMain)
#include "test_frmMain.moc"
