// The session screens' wiring: what the user types reaches the engine, the
// cleaned values come back into the boxes, and the focus follows refusals.
#include "core/login.h"
#include "core/tasks.h"
#include "screens/session/frmAdd.h"
#include "screens/session/frmAmend.h"
#include "screens/session/frmChangeKL.h"
#include "screens/session/frmLogin.h"
#include "screens/session/frmOpen.h"
#include "support/qt_test_support.h"
#include "support/test_support.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

using namespace gzgl;
using gzgl::test::child;
using gzgl::test::click;

class TestDialogs : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempHome> home;
    std::unique_ptr<Session> s;
    test::RecordingPrompt p;

private slots:
    void init() {
        home = std::make_unique<test::TempHome>();
        s = std::make_unique<Session>();
        test::openHome(*s, home->path);
        p.clear();
    }
    void cleanup() {
        s.reset();
        home.reset();
    }

    void newTaskScreenCreatesTheTaskAndWritesBackCleanedText() {
        frmAdd add(*s, p);
        add.show();
        QVERIFY(child<QComboBox>(&add, "cmbMode")->currentIndex() == -1);
        QCOMPARE(child<QLineEdit>(&add, "txtOperator")->text(), QStringLiteral("管理员"));
        child<QLineEdit>(&add, "txtName")->setText(" 二车间 ");
        child<QLineEdit>(&add, "txtYear")->setText("2006");
        child<QLineEdit>(&add, "txtMonth")->setText("2");
        child<QComboBox>(&add, "cmbMode")->setCurrentIndex(3); // 不足10元去尾
        child<QPushButton>(&add, "cmdButton0")->click();
        QVERIFY(add.created());
        QCOMPARE(child<QLineEdit>(&add, "txtName")->text(), QStringLiteral("二车间"));
        QVERIFY(QString::fromStdString(p.last()).startsWith(QStringLiteral("新建任务\"二车间\"")));
        QCOMPARE(s->curPeriod, std::string("200602"));
        QCOMPARE(s->sysConn.scalar("select F_KWFS from GZSysInfo").toInt(), std::int64_t(1));
    }

    void refusedNewTaskKeepsTheScreenAndFocusesTheField() {
        frmAdd add(*s, p);
        add.show();
        QApplication::setActiveWindow(&add);
        child<QLineEdit>(&add, "txtName")->setText("任务");
        child<QLineEdit>(&add, "txtMonth")->setText("");
        child<QPushButton>(&add, "cmdButton0")->click();
        QVERIFY(!add.created());
        QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("工资任务启用月不能为空！"));
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(&add, "txtMonth"));
        QCOMPARE(s->sysConn.scalar("select count(*) from GZSysInfo").toInt(), std::int64_t(0));
    }

    void enterMovesThroughTheNewTaskFieldsAndChecksPasswords() {
        frmAdd add(*s, p);
        add.show();
        QApplication::setActiveWindow(&add);
        auto* name = child<QLineEdit>(&add, "txtName");
        name->setFocus();
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(&add, "txtYear"));
        auto* kl1 = child<QLineEdit>(&add, "txtKL1");
        auto* kl2 = child<QLineEdit>(&add, "txtKL2");
        kl1->setText("a");
        kl2->setText("b");
        kl2->setFocus();
        QTest::keyClick(kl2, Qt::Key_Return);
        QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("两次输入的口令不一致！"));
        QCOMPARE(QApplication::focusWidget(), kl1);
        kl2->setText("a");
        kl2->setFocus();
        QTest::keyClick(kl2, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), child<QComboBox>(&add, "cmbMode"));
    }

    void cancelledNewTaskSaysSo() {
        frmAdd add(*s, p);
        add.show();
        child<QPushButton>(&add, "cmdButton1")->click();
        QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("没有增设工资任务！"));
    }

    void taskChoiceThenLoginWithEnter() {
        test::makeTask(*s, "甲", "老王", "pw");
        frmOpen open(*s, p);
        QCOMPARE(child<QListWidget>(&open, "lstGZT")->currentItem()->text(), QStringLiteral("0000      甲"));
        child<QPushButton>(&open, "cmdOk")->click();
        QCOMPARE(open.next(), ChoiceNext::Login);

        frmLogin login(*s, p);
        login.show();
        auto* pw = child<QLineEdit>(&login, "txtPassword");
        pw->setText("bad");
        QTest::keyClick(pw, Qt::Key_Return);
        QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("用户口令错误！"));
        QVERIFY(!login.loggedIn());
        pw->setText("pw");
        QTest::keyClick(pw, Qt::Key_Return);
        QVERIFY(login.loggedIn());
        QCOMPARE(s->curOperName, std::string("老王"));
    }

    void closingTheLoginLeavesTheTaskLocked() {
        test::makeTask(*s, "甲", "老王", "pw");
        QCOMPARE(confirmTaskChoice(*s, p, "0000      甲"), ChoiceNext::Login);
        frmLogin login(*s, p);
        login.show();
        login.reject();
        QCOMPARE(s->shell.mode, ShellMode::TaskChosen);
        QVERIFY(!s->loggedIn());
    }

    void amendScreenNeverShowsThePasswordAndCancelKeepsTheRoundOffMode() {
        test::makeTask(*s, "甲", "老王", "secret");
        QVERIFY(loginByName(*s, p, "甲", "老王", "secret"));
        const int mode = s->roundOffMode;
        {
            frmAmend amend(*s, p);
            amend.show();
            QVERIFY(child<QLineEdit>(&amend, "txtKL1")->text().isEmpty());
            QVERIFY(child<QLineEdit>(&amend, "txtKL2")->text().isEmpty());
            child<QComboBox>(&amend, "cmbMode")->setCurrentText(QStringLiteral("不足100元去尾"));
            QCOMPARE(s->roundOffMode, mode);
            amend.reject();
        }
        QCOMPARE(s->roundOffMode, mode);
        // Saved with the boxes left empty: the mode applies, the password stays.
        frmAmend amend(*s, p);
        amend.show();
        child<QComboBox>(&amend, "cmbMode")->setCurrentText(QStringLiteral("不足100元去尾"));
        child<QPushButton>(&amend, "cmdOk")->click();
        QCOMPARE(s->roundOffMode, 6);
        QCOMPARE(s->sysConn.scalar("select F_RYKL from GZSysInfo").toString(), std::string("secret"));
    }

    void passwordScreenRefusalFocusesTheNewPassword() {
        test::makeTask(*s, "甲", "老王", "pw");
        QVERIFY(loginByName(*s, p, "甲", "老王", "pw"));
        frmChangeKL kl(*s, p);
        kl.show();
        QApplication::setActiveWindow(&kl);
        child<QLineEdit>(&kl, "txtKL1")->setText("pw");
        child<QLineEdit>(&kl, "txtKL2")->setText("x");
        child<QLineEdit>(&kl, "txtKL3")->setText("y");
        child<QPushButton>(&kl, "cmdOk")->click();
        QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("两次口令不一致！"));
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(&kl, "txtKL2"));
        QCOMPARE(s->sysConn.scalar("select F_RYKL from GZSysInfo").toString(), std::string("pw"));
    }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
