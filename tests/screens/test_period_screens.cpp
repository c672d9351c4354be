// The month-end screens' wiring: a close or restore started from the main
// window reaches the engine, the status bar follows the session's period
// at once, and a stop or a refusal leaves the task and the dialog usable.
#include "core/login.h"
#include "period/balance.h"
#include "period/periods.h"
#include "screens/period/frmBalance.h"
#include "screens/period/frmClear.h"
#include "screens/period/frmReNew.h"
#include "screens/session/frmMain.h"
#include "support/qt_test_support.h"
#include "support/test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace gzgl;
using gzgl::test::child;
using gzgl::test::click;

namespace {

// Records like the test prompt and lets a test look at the window at the
// moment a message is shown.
struct WatchingPrompt : test::RecordingPrompt {
    std::function<void(const std::string&)> onMessage;
    void message(const std::string& text, const std::string& title, Icon icon) override {
        if (onMessage)
            onMessage(text);
        RecordingPrompt::message(text, title, icon);
    }
};

std::vector<std::string> periods(Session& s) {
    std::vector<std::string> out;
    for (const period::PeriodRow& r : period::listPeriods(s))
        out.push_back(r.period + (r.closed ? "c" : "o"));
    return out;
}

} // namespace

class TestPeriodScreens : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempHome> home;
    std::unique_ptr<Session> s;
    WatchingPrompt p;
    std::unique_ptr<frmMain> w;

    QString panel1() { return child<QLabel>(w.get(), "panel1")->text(); }

    int taskWindows() {
        int n = 0;
        for (QMdiSubWindow* sub : w->mdiArea()->subWindowList())
            n += sub->widget() && !sub->widget()->inherits("FrmDH");
        return n;
    }

    void closeWithEngine(const char* month) {
        SilentProgress silent;
        QVERIFY(period::closeMonth(*s, "2006", month, silent).ok);
        w->refreshShell();
    }

private slots:
    void init() {
        home = std::make_unique<test::TempHome>();
        s = std::make_unique<Session>();
        test::openHome(*s, home->path);
        test::makeTask(*s, "一车间", "管理员", "pw");
        p.clear();
        p.onMessage = nullptr;
        QVERIFY(loginByName(*s, p, "一车间", "管理员", "pw"));
        w = std::make_unique<frmMain>(*s, p);
        w->show();
        w->refreshShell();
    }
    void cleanup() {
        w.reset();
        s.reset();
        home.reset();
    }

    void closingAMonthShowsTheNewPeriodBeforeItsMessage() {
        w->runCommand(Command::BaseInfoDep);
        QCOMPARE(taskWindows(), 1);
        QCOMPARE(panel1(), QStringLiteral("2006年第02月"));
        QString panelAtMessage;
        p.onMessage = [&](const std::string&) { panelAtMessage = panel1(); };
        test::ModalWatcher watcher;
        watcher.answer = [](QDialog* d) {
            [d] {
                QCOMPARE(child<QLineEdit>(d, "txtYear")->text(), QStringLiteral("2006"));
                QCOMPARE(child<QLineEdit>(d, "txtMonth")->text(), QStringLiteral("03"));
                QVERIFY(child<QPushButton>(d, "cmdDo0")->isEnabled());
                QVERIFY(!child<QPushButton>(d, "cmdDo1")->isEnabled());
            }();
            click(d, "cmdDo0");
            return !d->isVisible();
        };
        w->runCommand(Command::SystemBalance);
        QCOMPARE(watcher.seen, QStringList{"frmBalance"});
        QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("结转完成！"));
        QCOMPARE(panelAtMessage, QStringLiteral("2006年第03月"));
        QCOMPARE(panel1(), QStringLiteral("2006年第03月"));
        QCOMPARE(s->curPeriod, std::string("200603"));
        QCOMPARE(periods(*s), (std::vector<std::string>{"200602c", "200603o"}));
        // The department types of the old month were closed first.
        QCoreApplication::processEvents();
        QCOMPARE(taskWindows(), 0);
    }

    void aWindowKeptOpenKeepsTheMonth() {
        w->runCommand(Command::BaseInfoEmp);
        p.answers = {false}; // the roster asks before it closes
        test::ModalWatcher watcher;
        w->runCommand(Command::SystemBalance);
        w->runCommand(Command::SystemCondition);
        QVERIFY2(watcher.seen.isEmpty(), qPrintable(watcher.seen.join(",")));
        QCOMPARE(taskWindows(), 1);
        QCOMPARE(s->curPeriod, std::string("200602"));
    }

    void stopDuringTheCloseChangesNothingAndTheDialogStays() {
        frmBalance dlg(*s, p);
        QVERIFY(dlg.opened());
        dlg.show();
        bool stayedOpen = false;
        // Runs inside the close, while it serves the event loop.
        QTimer::singleShot(0, &dlg, [&] {
            QVERIFY(dlg.running());
            QVERIFY(!child<QPushButton>(&dlg, "cmdDo0")->isEnabled());
            dlg.reject();
            QVERIFY(!dlg.close());
            QTest::keyClick(&dlg, Qt::Key_Escape);
            stayedOpen = dlg.isVisible();
            click(&dlg, "cmdDo1");
        });
        click(&dlg, "cmdDo0");
        QVERIFY(stayedOpen);
        QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("结转被用户停止！"));
        QCOMPARE(p.messages.size(), std::size_t(1));
        QCOMPARE(s->curPeriod, std::string("200602"));
        QCOMPARE(periods(*s), (std::vector<std::string>{"200602o"}));
        QVERIFY(!period::tableSetComplete(s->taskConn, s->curTaskID, "200603"));
        QVERIFY(dlg.isVisible());
        QVERIFY(child<QPushButton>(&dlg, "cmdDo0")->isEnabled());
        QVERIFY(!child<QPushButton>(&dlg, "cmdDo1")->isEnabled());
        // A stop left behind from the last run does not stop the next one.
        click(&dlg, "cmdDo0");
        QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("结转完成！"));
        QCOMPARE(s->curPeriod, std::string("200603"));
        QVERIFY(!dlg.isVisible());
    }

    void refusedMonthKeepsTheDialogAndFocusesTheYear() {
        frmBalance dlg(*s, p);
        dlg.show();
        QApplication::setActiveWindow(&dlg);
        auto* year = child<QLineEdit>(&dlg, "txtYear");
        auto* month = child<QLineEdit>(&dlg, "txtMonth");
        year->setFocus();
        QTest::keyClick(year, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), month);
        month->setText("2");
        click(&dlg, "cmdDo0");
        QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("时间不正确！"));
        QCOMPARE(QApplication::focusWidget(), year);
        QVERIFY(dlg.isVisible());
        QVERIFY(child<QPushButton>(&dlg, "cmdDo0")->isEnabled());
        QCOMPARE(s->curPeriod, std::string("200602"));
    }

    void restoringGoesBackAndTheStatusBarFollows() {
        closeWithEngine("03");
        closeWithEngine("04");
        QCOMPARE(panel1(), QStringLiteral("2006年第04月"));
        QString panelAtMessage;
        p.onMessage = [&](const std::string& text) {
            if (text == "环境恢复完毕！")
                panelAtMessage = panel1();
        };
        test::ModalWatcher watcher;
        // Checks inside the dialog run in a void function, as QVERIFY needs;
        // a dialog left open after a failed check is rejected.
        watcher.answer = [this](QDialog* d) {
            [this, d] {
                auto* list = child<QComboBox>(d, "cmbTime");
                QCOMPARE(list->count(), 2);
                QCOMPARE(list->itemText(0), QStringLiteral("2006年02月"));
                QCOMPARE(list->itemText(1), QStringLiteral("2006年03月"));
                // Nothing is chosen for the user.
                click(d, "cmdOk");
                QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("请选择需要恢复的时间！"));
                list->setCurrentIndex(0);
                p.answers = {false};
                click(d, "cmdOk");
                QCOMPARE(s->curPeriod, std::string("200604"));
                QVERIFY(d->isVisible());
                p.answers = {true};
                click(d, "cmdOk");
                QVERIFY(!child<QPushButton>(d, "cmdOk")->isEnabled());
            }();
            return !d->isVisible();
        };
        w->runCommand(Command::SystemCondition);
        QCOMPARE(watcher.seen, QStringList{"frmReNew"});
        QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("环境恢复完毕！"));
        QCOMPARE(panelAtMessage, QStringLiteral("2006年第02月"));
        QCOMPARE(panel1(), QStringLiteral("2006年第02月"));
        QCOMPARE(s->curPeriod, std::string("200602"));
        QCOMPARE(periods(*s), (std::vector<std::string>{"200602o"}));
        QVERIFY(w->action("mnuSystem_Balance")->isEnabled());
    }

    void clearingRefusesTheOpenMonthAndClearsAnOlderOne() {
        {
            frmClear dlg(*s, p);
            QCOMPARE(child<QLineEdit>(&dlg, "txtYear")->text(), QStringLiteral("2006"));
            QCOMPARE(child<QLineEdit>(&dlg, "txtMonth")->text(), QStringLiteral("2"));
            click(&dlg, "cmdOk");
            QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("当前月份的数据不能清除"));
        }
        closeWithEngine("03");
        closeWithEngine("04");
        test::ModalWatcher watcher;
        watcher.answer = [this](QDialog* d) {
            [this, d] {
                auto* month = child<QLineEdit>(d, "txtMonth");
                QCOMPARE(month->text(), QStringLiteral("2"));
                click(d, "cmdOk");
                QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("数据清理完毕！"));
                // The next earliest month is offered at once.
                QCOMPARE(month->text(), QStringLiteral("3"));
            }();
            return false;
        };
        w->runCommand(Command::SystemClear);
        QCOMPARE(watcher.seen, QStringList{"frmClear"});
        QCOMPARE(periods(*s), (std::vector<std::string>{"200603c", "200604o"}));
        QVERIFY(!period::tableSetComplete(s->taskConn, s->curTaskID, "200602"));
        QCOMPARE(s->curPeriod, std::string("200604"));
    }

    void clearingWithNoRecordedMonthOffersNothing() {
        s->taskConn.execute("Delete from GZRecord");
        frmClear dlg(*s, p);
        QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("没有可以清理的数据！"));
        QVERIFY(!child<QPushButton>(&dlg, "cmdOk")->isEnabled());
        QVERIFY(child<QLineEdit>(&dlg, "txtYear")->text().isEmpty());
    }
};

QTEST_MAIN(TestPeriodScreens)
#include "test_period_screens.moc"
