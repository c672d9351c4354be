// Every menu entry, toolbar button and navigation code in each of the three
// states of the main window: what opens is a working screen (a named dialog
// or child window), never nothing and never a placeholder, and a disabled
// entry opens nothing.
#include "core/commands.h"
#include "core/login.h"
#include "screens/session/frmMain.h"
#include "support/payroll_fixture.h"
#include "support/qt_test_support.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

#include <map>

using namespace gzgl;

namespace {

// What one command opened: the dialogs (in order) and the child windows.
struct Opened {
    QStringList dialogs;
    QStringList children;
    QString message; // the first message shown, when any
    QString text() const { return (dialogs + children).join(","); }
};

QStringList childWindows(frmMain& w) {
    QStringList names;
    for (QMdiSubWindow* sub : w.mdiArea()->subWindowList())
        if (sub->widget() && sub->widget()->objectName() != "FrmDH")
            names << sub->widget()->objectName();
    return names;
}

// Closes every screen but the navigation picture; the questions on
// closing are answered Yes.
void closeScreens(frmMain& w, test::RecordingPrompt& p) {
    for (QMdiSubWindow* sub : w.mdiArea()->subWindowList())
        if (sub->widget() && sub->widget()->objectName() != "FrmDH") {
            p.answers = {true, true};
            sub->close();
        }
    QCoreApplication::processEvents();
}

// The message first shown, when any.
QString firstMessage(const test::RecordingPrompt& p) {
    return p.messages.empty() ? QString() : QString::fromStdString(p.messages.front().text);
}

Opened give(frmMain& w, test::RecordingPrompt& p, Command c) {
    test::ModalWatcher watcher;
    p.clear();
    p.answers.clear(); // every question is answered No: nothing is changed
    w.runCommand(c);
    QCoreApplication::processEvents();
    Opened o{watcher.seen, childWindows(w), firstMessage(p)};
    closeScreens(w, p);
    return o;
}

// Whether what opened is the wanted screen first; nothing wanted, nothing
// opened; "!" wanted: nothing opened, and a message said why.
bool opens(const Opened& o, const QString& want) {
    if (want == "!")
        return o.text().isEmpty() && !o.message.isEmpty();
    return want.isEmpty() ? o.text().isEmpty() : o.text().startsWith(want);
}

// Commands that end the program or the session, or destroy the task.
bool leftOut(Command c) {
    return c == Command::None || c == Command::SalarysExit || c == Command::ExitPrompt ||
           c == Command::NavigationExit || c == Command::SalarysClose || c == Command::SalarysDelete;
}

} // namespace

class TestMenuWalk : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName("gzgl-test");
        QCoreApplication::setApplicationName("test_menu_walk");
        QSettings().clear();
    }

    void aChildScreenOpensAgainAtTheSizeItWasLeft() {
        test::PayrollTask t;
        frmMain w(t.s, t.prompt);
        w.resize(1366, 768);
        w.show();
        w.runCommand(Command::HelpAbout);
        QMdiSubWindow* sub = w.mdiArea()->subWindowList().last();
        QCOMPARE(sub->widget()->objectName(), QStringLiteral("frmAbout"));
        sub->resize(610, 420);
        sub->close();
        QCoreApplication::processEvents();
        w.runCommand(Command::HelpAbout);
        QCOMPARE(w.mdiArea()->subWindowList().last()->size(), QSize(610, 420));
        // Never larger than the room there is.
        w.mdiArea()->subWindowList().last()->resize(5000, 5000);
        w.mdiArea()->subWindowList().last()->close();
        w.runCommand(Command::HelpAbout);
        const QSize room = w.mdiArea()->viewport()->size();
        QVERIFY(w.mdiArea()->subWindowList().last()->width() <= room.width());
        QVERIFY(w.mdiArea()->subWindowList().last()->height() <= room.height());
    }

    void loggedInEveryEntryOpensItsScreen() {
        qputenv("GZGL_HELP_INSIDE", "1");
        test::PayrollTask t;
        frmMain w(t.s, t.prompt);
        w.resize(1366, 768);
        w.show();
        w.refreshShell();
        // What each entry opens once logged in.
        const std::map<Command, QString> expected = {
            {Command::SalarysOpen, ""}, // disabled while logged in
            {Command::SalarysAdd, ""},  // disabled while logged in
            {Command::SalarysChange, "frmAmend"},
            {Command::SalarysTaskIn, "frmimporttask"},
            {Command::SalarysTaskOut, "frmPath"},
            {Command::DataInterfaceIn, "frmDataInterfaceIn"},
            {Command::SalaryCurMonth, "frmSalary"},
            {Command::SalaryUpdate, "frmGroup"},
            {Command::SalaryDivide, "frmDivide"},
            {Command::SalaryQuery, "frmQuerySet"},
            {Command::SalaryPrint, "frmReport"},
            {Command::SalaryTransfer, "!"}, // no accounting link yet: a message says so
            {Command::SalaryBank, "frmBP"},
            {Command::SystemBalance, "frmBalance"},
            {Command::BaseInfoSubject, "frmOption"},
            {Command::BaseInfoDep, "frmDepKind"},
            {Command::BaseInfoEmpKind, "frmEmpKind"},
            {Command::BaseInfoEmp, "frmManage"},
            {Command::BaseInfoTrans, "frmTrans"},
            {Command::SystemWord, "frmChangeKL"},
            {Command::SystemBackup, "frmBackUp"},
            {Command::SystemRecove, "frmRecove"},
            {Command::SystemBackAll, "frmBackAll"},
            {Command::SystemClear, "frmClear"},
            {Command::SystemCondition, "frmReNew"},
            {Command::SystemConnect, "frmLink"},
            {Command::SystemSysSet, "frmSysSet"},
            {Command::HelpOnline, "frmHelp"},
            {Command::HelpAbout, "frmAbout"},
        };
        int walked = 0;
        for (const Menu& m : menuTree())
            for (const MenuEntry& e : m.entries) {
                if (leftOut(e.command))
                    continue;
                ++walked;
                const Opened o = give(w, t.prompt, e.command);
                const auto want = expected.find(e.command);
                QVERIFY2(want != expected.end(), e.name.c_str());
                QVERIFY2(opens(o, want->second),
                         qPrintable(QString::fromStdString(e.name) + " opened [" + o.text() + "], want " +
                                    want->second));
            }
        QCOMPARE(walked, int(expected.size()));
        // The toolbar and the navigation picture reach the same screens.
        for (const ToolButton& b : toolButtons())
            if (!leftOut(b.command) && b.command != Command::AdjustColumns) {
                const Opened o = give(w, t.prompt, b.command);
                QVERIFY2(opens(o, expected.at(b.command)), qPrintable(o.text()));
            }
        for (const std::string& code : navigationCodes()) {
            const std::optional<Command> c = navigationCommand(code);
            if (!c || leftOut(*c))
                continue;
            test::ModalWatcher watcher;
            t.prompt.clear();
            w.runNavigationCode(QString::fromStdString(code));
            QCoreApplication::processEvents();
            const Opened o{watcher.seen, childWindows(w), firstMessage(t.prompt)};
            QVERIFY2(opens(o, expected.at(*c)), qPrintable(QString::fromStdString(code) + ": " + o.text()));
            closeScreens(w, t.prompt);
        }
        QVERIFY(t.s.loggedIn());
    }

    void withoutATaskOnlyTheTaskFreeEntriesOpen() {
        qputenv("GZGL_HELP_INSIDE", "1");
        test::TempHome home;
        Session s;
        test::openHome(s, home.path);
        test::RecordingPrompt p;
        frmMain w(s, p);
        w.show();
        w.refreshShell();
        for (const Menu& m : menuTree())
            for (const MenuEntry& e : m.entries) {
                if (leftOut(e.command))
                    continue;
                const Opened o = give(w, p, e.command);
                const TaskNeed need = taskNeed(e.command);
                if (!menuEnabled(ShellMode::NoTask, e.command)) {
                    QVERIFY2(o.text().isEmpty(), qPrintable(QString::fromStdString(e.name) + ": " + o.text()));
                    continue;
                }
                // An entry that needs a task asks for one first (none exists: the
                // choice says so); the others open their own screen.
                if (need == TaskNeed::None)
                    QVERIFY2(!o.text().isEmpty(), e.name.c_str());
                else
                    QVERIFY2(!o.text().isEmpty() || !o.message.isEmpty(), e.name.c_str());
            }
        QVERIFY(!s.taskOpen());
    }

    // Last: the exit it ends with would stop the event loops of later cases.
    void exitingClosesTheScreensFirstAndOneKeptOpenStopsIt() {
        test::PayrollTask t;
        frmMain w(t.s, t.prompt);
        w.show();
        w.runCommand(Command::SalaryCurMonth);
        QCOMPARE(childWindows(w), QStringList{"frmSalary"});
        // Exit: Yes; the entry screen's own question: No. Nothing closes.
        t.prompt.clear();
        t.prompt.answers = {true, false};
        QVERIFY(!w.close());
        QCOMPARE(childWindows(w), QStringList{"frmSalary"});
        QCOMPARE(t.prompt.messages.size(), std::size_t(2));
        QCOMPARE(QString::fromStdString(t.prompt.messages[1].text), QStringLiteral("退出本模块吗？"));
        // Yes to both: the screen closes, then the program.
        t.prompt.answers = {true, true};
        QVERIFY(w.close());
        QVERIFY(childWindows(w).isEmpty());
    }
};

QTEST_MAIN(TestMenuWalk)
#include "test_menu_walk.moc"
