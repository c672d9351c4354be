// The backup, restore and task-transfer screens driven from the main
// window: what reaches the disk and the task, the login asked for once the
// task was closed, and a cancel at any dialog leaving everything as it was.
#include "core/login.h"
#include "core/schema.h"
#include "core/tasks.h"
#include "period/backup.h"
#include "screens/period/frmBackAll.h"
#include "screens/period/frmBackUp.h"
#include "screens/period/frmPath.h"
#include "screens/period/frmRecove.h"
#include "screens/period/frmimporttask.h"
#include "screens/session/frmMain.h"
#include "support/qt_test_support.h"
#include "support/test_support.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace gzgl;
using gzgl::test::child;
using gzgl::test::click;

namespace {

// Presses OK once the dialog's own event loop runs, so that a dialog it
// opens in turn is seen by the watcher; a dialog still open afterwards is
// rejected, so a refusal never hangs the test.
bool pressOkLater(QDialog* d) {
    QTimer::singleShot(0, d, [d] {
        click(d, "cmdOk");
        if (d->isVisible())
            d->reject();
    });
    return true;
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
}

} // namespace

class TestBackupScreens : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempHome> home;
    std::unique_ptr<Session> s;
    test::RecordingPrompt p;
    std::unique_ptr<frmMain> w;
    std::string taskID;
    std::unique_ptr<QTemporaryDir> folder; // the folder the user picks
    QTemporaryDir& floppy() { return *folder; }

    QString panel1() { return child<QLabel>(w.get(), "panel1")->text(); }
    QString text(const std::string& t) { return QString::fromStdString(t); }
    bool said(const char* message) {
        for (const test::Message& m : p.messages)
            if (m.text == message)
                return true;
        return false;
    }

    std::string itemTable() { return periodTable(s->taskPrefix(), "Item"); }
    std::string itemName(const char* code) {
        return s->taskConn.scalar("Select F_Name from " + itemTable() + " where F_Code=?", {code}).toString();
    }
    void renameItem(const char* code, const std::string& name) {
        s->taskConn.execute("Update " + itemTable() + " set F_Name=? where F_Code=?", {name, code});
    }
    void login() {
        QVERIFY(loginByName(*s, p, "一车间", "管理员", "pw"));
        w->refreshShell();
        p.clear();
    }

    // Answers the folder screen with folder and OK, every screen named in
    // pressOk with OK, and rejects everything else (the task choice).
    void watch(test::ModalWatcher& watcher, const QString& folder, QStringList pressOk) {
        watcher.answer = [folder, pressOk](QDialog* d) {
            if (d->objectName() == "frmPath") {
                child<QLineEdit>(d, "Dir1")->setText(folder);
                click(d, "cmdOk");
                return !d->isVisible();
            }
            if (pressOk.contains(d->objectName()))
                return pressOkLater(d);
            return false;
        };
    }

private slots:
    void init() {
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
        home = std::make_unique<test::TempHome>();
        s = std::make_unique<Session>();
        test::openHome(*s, home->path);
        taskID = test::makeTask(*s, "一车间", "管理员", "pw");
        w = std::make_unique<frmMain>(*s, p);
        w->show();
        login();
    }
    void cleanup() {
        w.reset();
        s.reset();
        home.reset();
        folder.reset();
    }

    void monthlyBackupWritesOneArchiveAndAsksForTheLoginAgain() {
        test::ModalWatcher watcher;
        watch(watcher, floppy().path(), {"frmBackUp"});
        w->runCommand(Command::SystemBackup);
        QCOMPARE(watcher.seen, (QStringList{"frmBackUp", "frmPath", "frmOpen"}));
        const QString bak = text("GZ" + taskID + "_200602_BAK");
        QCOMPARE(filesIn(floppy().path()), QStringList{bak});
        QCOMPARE(filesIn(floppy().filePath(bak)), QStringList{text("GZ" + taskID + "_200602.KSC")});
        QVERIFY(said("数据备份完成！"));
        QCOMPARE(text(p.last()), QStringLiteral("数据备份完毕！"));
        // The task was closed and the task choice offered; it was cancelled.
        QVERIFY(!s->taskOpen());
        QVERIFY(s->curPeriod.empty());
        QVERIFY(panel1().isEmpty());
        QVERIFY(!s->openWithoutLogin);
    }

    void backupWithNoTaskOpenChoosesTheTaskWithoutLogin() {
        closeTask(*s);
        w->refreshShell();
        test::ModalWatcher watcher;
        watcher.answer = [this](QDialog* d) {
            if (d->objectName() == "frmOpen") {
                child<QListWidget>(d, "lstGZT")->setCurrentRow(0);
                click(d, "cmdOk");
                return !d->isVisible();
            }
            if (d->objectName() == "frmBackUp") {
                // The month of the task just chosen.
                [d] {
                    QCOMPARE(child<QLineEdit>(d, "txtYear")->text(), QStringLiteral("2006"));
                    QCOMPARE(child<QLineEdit>(d, "txtMonth")->text(), QStringLiteral("02"));
                }();
                return pressOkLater(d);
            }
            if (d->objectName() == "frmPath") {
                child<QLineEdit>(d, "Dir1")->setText(floppy().path());
                click(d, "cmdOk");
                return !d->isVisible();
            }
            return false;
        };
        w->runCommand(Command::SystemBackup);
        // The task chosen again after the backup asks for the login.
        QCOMPARE(watcher.seen.join(","), QStringLiteral("frmOpen,frmBackUp,frmPath,frmOpen,frmLogin"));
        QCOMPARE(filesIn(floppy().path()), QStringList{text("GZ" + taskID + "_200602_BAK")});
        QVERIFY(!s->loggedIn());
    }

    void anEmptyMonthIsRefusedBeforeTheFolderScreen() {
        SilentProgress silent;
        frmBackUp dlg(*s, p, silent);
        child<QLineEdit>(&dlg, "txtMonth")->clear();
        test::ModalWatcher watcher;
        click(&dlg, "cmdOk");
        QVERIFY(watcher.seen.isEmpty());
        QCOMPARE(text(p.last()), QStringLiteral("请选择所需备份的日期!"));
        QVERIFY(s->loggedIn());
    }

    void arrowsStepTheMonthAcrossTheYear() {
        QCOMPARE(stepMonth("2006", "12", 1).year, QStringLiteral("2007"));
        QCOMPARE(stepMonth("2006", "12", 1).month, QStringLiteral("01"));
        QCOMPARE(stepMonth("2006", "1", -1).year, QStringLiteral("2005"));
        QCOMPARE(stepMonth("2006", "1", -1).month, QStringLiteral("12"));
        // Text that is no month is left for the date check to refuse.
        QCOMPARE(stepMonth("2006", "13", 1).month, QStringLiteral("13"));
        QCOMPARE(stepMonth("", "05", 1).year, QString());
        SilentProgress silent;
        frmBackUp dlg(*s, p, silent);
        auto* month = child<QLineEdit>(&dlg, "txtMonth");
        QTest::keyClick(month, Qt::Key_Down);
        QTest::keyClick(month, Qt::Key_Down);
        QCOMPARE(month->text(), QStringLiteral("12"));
        QCOMPARE(child<QLineEdit>(&dlg, "txtYear")->text(), QStringLiteral("2005"));
        child<QToolButton>(&dlg, "cmdUp")->click();
        QCOMPARE(month->text(), QStringLiteral("01"));
    }

    void restoreBringsBackTheChangedMonth() {
        SilentProgress silent;
        QVERIFY(period::backupMonth(*s, "200602", floppy().path().toStdString(), silent).outcome.ok);
        QVERIFY(period::finishBackup(*s).loginAgain);
        login();
        const std::string before = itemName("F001");
        renameItem("F001", "改过的名称");
        p.answers = {true};
        test::ModalWatcher watcher;
        watch(watcher, floppy().filePath(text("GZ" + taskID + "_200602_BAK")), {"frmRecove"});
        w->runCommand(Command::SystemRecove);
        QCOMPARE(watcher.seen, (QStringList{"frmRecove", "frmPath", "frmOpen"}));
        QVERIFY(p.messages.front().question);
        QCOMPARE(text(p.last()), QStringLiteral("数据恢复完毕！"));
        QVERIFY(!s->taskOpen());
        QVERIFY(panel1().isEmpty());
        login();
        QCOMPARE(itemName("F001"), before);
    }

    void aFolderWithoutABackupIsTheWrongPath() {
        renameItem("F001", "改过的名称");
        test::ModalWatcher watcher;
        watch(watcher, floppy().path(), {"frmRecove"});
        w->runCommand(Command::SystemRecove);
        QCOMPARE(watcher.seen, (QStringList{"frmRecove", "frmPath"}));
        QCOMPARE(text(p.last()), QString::fromUtf8(period::kWrongPath));
        QVERIFY(s->loggedIn());
        QCOMPARE(itemName("F001"), std::string("改过的名称"));
    }

    void exportedTaskImportsAsANewTaskElsewhere() {
        {
            test::ModalWatcher watcher;
            watch(watcher, floppy().path(), {});
            w->runCommand(Command::SalarysTaskOut);
            QCOMPARE(watcher.seen, QStringList{"frmPath"});
        }
        QCOMPARE(text(p.last()), QStringLiteral("任务导出完毕！"));
        const QStringList packages = QDir(floppy().path()).entryList({"*.ksc"}, QDir::Files);
        QCOMPARE(packages.size(), 1);
        // Exporting leaves the task as it was.
        QVERIFY(s->loggedIn());

        test::TempHome other;
        Session s2;
        test::openHome(s2, other.path);
        test::makeTask(s2, "别的任务", "管理员", "");
        frmMain w2(s2, p);
        w2.refreshShell();
        const QString package = floppy().filePath(packages.front());
        auto importWith = [&](QDialog* d) {
            if (d->objectName() != "frmimporttask")
                return false;
            child<QLineEdit>(d, "txtFile")->setText(package);
            click(d, "cmdOk");
            return !d->isVisible();
        };
        test::ModalWatcher importer;
        importer.answer = importWith;
        w2.runCommand(Command::SalarysTaskIn);
        QCOMPARE(importer.seen, QStringList{"frmimporttask"});
        QCOMPARE(text(p.last()), QStringLiteral("导入任务完成！"));
        std::vector<TaskRow> tasks = listTasks(s2);
        QCOMPARE(tasks.size(), std::size_t(2));
        QCOMPARE(text(tasks.back().name), QStringLiteral("一车间"));
        QCOMPARE(text(tasks.back().currentPeriod), QStringLiteral("200602"));
        // The same package twice would give the installation two tasks of
        // one name: refused, and the screen stays for another file.
        p.clear();
        test::ModalWatcher again;
        again.answer = importWith;
        w2.runCommand(Command::SalarysTaskIn);
        QVERIFY(!p.last().empty());
        QCOMPARE(listTasks(s2).size(), std::size_t(2));
    }

    void importWithoutAFileSaysSo() {
        test::ModalWatcher watcher;
        watcher.answer = [](QDialog* d) {
            click(d, "cmdOk");
            return !d->isVisible();
        };
        w->runCommand(Command::SalarysTaskIn);
        QCOMPARE(text(p.last()), QStringLiteral("没有选择文件！"));
        QCOMPARE(listTasks(*s).size(), std::size_t(1));
    }

    void fullBackupIsOnTheSystemMenuAndWritesTheArchive() {
        QCOMPARE(text(commandCaption(Command::SystemBackAll)), QStringLiteral("全库备份"));
        closeTask(*s);
        w->refreshShell();
        const QString file = floppy().filePath("all.KSC");
        test::ModalWatcher watcher;
        watcher.answer = [file](QDialog* d) {
            if (d->objectName() != "frmBackAll")
                return false;
            [d] {
                QCOMPARE(child<QLabel>(d, "lblNotice")->text(), QString::fromUtf8(period::kBackAllNotice));
            }();
            child<QLineEdit>(d, "txtFile")->setText(file);
            click(d, "cmdOk");
            return !d->isVisible();
        };
        // No task is needed: no task choice comes first.
        w->runCommand(Command::SystemBackAll);
        QCOMPARE(watcher.seen, QStringList{"frmBackAll"});
        QVERIFY(p.messages.size() == 1 && !p.messages.front().question);
        QVERIFY(QFileInfo(file).size() > 0);
    }

    void cancelAtEachDialogChangesNothing() {
        renameItem("F001", "改过的名称");
        // Cancel on the first screen of each command.
        for (Command c : {Command::SystemBackup, Command::SystemRecove, Command::SalarysTaskOut,
                          Command::SalarysTaskIn, Command::SystemBackAll}) {
            test::ModalWatcher watcher;
            w->runCommand(c);
            QCOMPARE(watcher.seen.size(), 1);
        }
        // OK there, then Cancel on the folder screen.
        for (Command c : {Command::SystemBackup, Command::SystemRecove}) {
            test::ModalWatcher watcher;
            watcher.answer = [](QDialog* d) { return d->objectName() != "frmPath" && pressOkLater(d); };
            w->runCommand(c);
            QCOMPARE(watcher.seen.size(), 2);
        }
        // A restore whose question is answered No.
        SilentProgress silent;
        const QString bak = floppy().filePath(text("GZ" + taskID + "_200602_BAK"));
        QVERIFY(period::backupMonth(*s, "200602", floppy().path().toStdString(), silent).outcome.ok);
        s->pathScreenMode = 0; // as if this backup had been made elsewhere
        renameItem("F001", "之后又改");
        p.clear();
        p.answers = {false};
        test::ModalWatcher watcher;
        watch(watcher, bak, {"frmRecove"});
        w->runCommand(Command::SystemRecove);
        QVERIFY(p.messages.size() == 1 && p.messages.front().question);

        QVERIFY(s->loggedIn());
        QCOMPARE(panel1(), QStringLiteral("2006年第02月"));
        QCOMPARE(itemName("F001"), std::string("之后又改"));
        QCOMPARE(filesIn(floppy().path()), QStringList{text("GZ" + taskID + "_200602_BAK")});
        QCOMPARE(listTasks(*s).size(), std::size_t(1));
    }

    void picturesWhenAskedFor() {
        const QString png = qEnvironmentVariable("GZGL_GRAB_DIR");
        if (png.isEmpty())
            QSKIP("GZGL_GRAB_DIR not set");
        SilentProgress silent;
        auto shoot = [&png](QDialog& d) {
            d.show();
            QTest::qWait(100);
            QVERIFY(d.grab().save(png + "/" + d.objectName() + ".png"));
            d.hide();
        };
        frmBackUp backUp(*s, p, silent, w.get());
        shoot(backUp);
        frmPath path(*s, p, silent, period::kPathMonthBackup, w.get());
        shoot(path);
        frmRecove recove(*s, p, silent, w.get());
        shoot(recove);
        frmBackAll all(*s, p, silent, w.get());
        shoot(all);
        frmimporttask import(*s, p, silent, w.get());
        shoot(import);
    }
};

QTEST_MAIN(TestBackupScreens)
#include "test_backup_screens.moc"
