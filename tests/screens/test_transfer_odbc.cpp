// The screens over the network accounting form, against a private
// PostgreSQL server that ctest starts through tests/support/pg_server.sh
// (GZGL_TEST_ODBC holds the connection text, GZGL_TEST_ODBC_PASSWORD the
// password): the link screen reads the catalog's sets with the typed
// password and keeps the server without it, the transfer asks for the
// password and writes its vouchers on the server, a refused password is
// said and opens nothing, and a set the catalog no longer lists is chosen
// again with the password already given. Without a server every case fails.
#include "accounting/demo.h"
#include "accounting/link.h"
#include "accounting/odbc.h"
#include "accounting/transfer.h"
#include "calc/numformat.h"
#include "screens/interfaces/frmTransfer.h"
#include "screens/session/DatabasePassword.h"
#include "screens/session/frmLink.h"
#include "screens/session/frmMain.h"
#include "support/payroll_fixture.h"
#include "support/qt_test_support.h"

#include <QComboBox>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

#include <deque>

using namespace gzgl;
using namespace gzgl::accounting;
using gzgl::test::child;
using gzgl::test::click;

namespace {

const QString kSummary = QStringLiteral("计提2006年02月工资");
const QString kRefused = QStringLiteral("财务数据库服务器拒绝了登录名或口令！");

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

// Answers the password question from a queue (nullopt = Cancel) and
// counts the questions; the dialog comes back when it goes.
struct QueuedPasswords {
    std::deque<std::optional<std::string>> answers;
    int asked = 0;
    QueuedPasswords() {
        dbPasswordAsker() = [this](QWidget*) -> std::optional<std::string> {
            ++asked;
            if (answers.empty())
                return std::nullopt;
            auto a = answers.front();
            answers.pop_front();
            return a;
        };
    }
    ~QueuedPasswords() { dbPasswordAsker() = {}; }
    QueuedPasswords(const QueuedPasswords&) = delete;
    QueuedPasswords& operator=(const QueuedPasswords&) = delete;
};

// A task of 2006-02 and the demo sets in the server's catalog KS770CW:
// 0001 in 0101 earns 1000.50, 0002 in 0102 2000.00, 0003 in 02 500.00.
struct NetworkTask {
    test::PayrollTask t;
    NetworkLink link;
    std::string password;
    odbc::Connection server; // looks at the catalog behind the program's back

    NetworkTask() {
        if (env("GZGL_TEST_ODBC").empty())
            qFatal("没有数据库服务器：请经 tests/support/pg_server.sh run -- 运行本程序");
        Session& s = t.s;
        for (const auto& [code, name, end] :
             {std::tuple{"01", "总部", 0}, {"0101", "办公室", 1}, {"0102", "车间", 1}, {"02", "销售部", 1}})
            s.taskConn.execute("Insert Into " + t.table("Depart") +
                                   "(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) Values(?,?,'',?,?)",
                               {code, name, static_cast<int>(std::string(code).size() / 2), end});
        t.employee("0001", "张三", "0101");
        t.employee("0002", "李四", "0102");
        t.employee("0003", "王五", "02");
        t.value("0001", "F003", 1000.50);
        t.value("0002", "F003", 2000.0);
        t.value("0003", "F003", 500.0);

        link = {"KS770CW", env("GZGL_TEST_ODBC")};
        password = env("GZGL_TEST_ODBC_PASSWORD");
        server.open(driverConnectionText(link, password));
        server.execute("Drop Table If Exists ZTXX");
        for (const char* id : {"ID0001", "ID0002"})
            for (const char* table : {"_XTSZ", "_YE", "_YHGL", "_PZGL_M", "_PZGL_D"})
                server.execute(std::string("Drop Table If Exists ") + id + table);
        layoutDemoNetworkAccounting(link, password, {s.curOperName}, {2006, 2});
    }

    void linkNetwork() {
        LinkFields f;
        f.choice = LinkChoice::Network;
        f.server = link.connection;
        f.password = password;
        f.setName = "演示公司";
        if (!confirmLink(t.s, f, kLinkChangePath).ok)
            qFatal("network link failed");
    }
    QString last() const { return QString::fromStdString(t.prompt.last()); }
    QStringList messages() const {
        QStringList out;
        for (const auto& m : t.prompt.messages)
            out << QString::fromStdString(m.text);
        return out;
    }
    long long count(const char* table) {
        return std::stoll(*server.query(std::string("Select count(*) from ID0001") + table)[0][0]);
    }
    // "PZH account mark amount" of every line on the server, in order.
    QStringList written() {
        QStringList out;
        for (const odbc::Row& r :
             server.query("Select PZH,KMDM,JDBZ,JE from ID0001_PZGL_D order by PZH,PZFYH,PZFYXH"))
            out << QString::fromStdString(*r[0] + " " + *r[1] + " " + *r[2] + " " +
                                          formatNumber(std::stod(*r[3]), "#0.00"));
        return out;
    }
    std::string row(const char* column) {
        return t.s.sysConn
            .scalar(std::string("Select ") + column + " from GZSysInfo where F_ID=?", {t.s.curTaskID})
            .toString();
    }
    // Whether any file of the program's data home holds text.
    bool homeHolds(const std::string& text) {
        QDirIterator it(QString::fromStdString(t.home.path), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile f(it.next());
            if (f.open(QIODevice::ReadOnly) && f.readAll().contains(QByteArray::fromStdString(text)))
                return true;
        }
        return false;
    }
};

int transferScreens(frmMain& w) {
    return frmTransfer::openIn(w.mdiArea()) ? 1 : 0;
}

void addRule(frmTransfer& f, const QStringList& cells) {
    f.addRule();
    auto* grid = child<QTableWidget>(&f, "msfForm");
    const int row = grid->rowCount() - 1;
    for (int c = 0; c < cells.size(); ++c)
        grid->item(row, c)->setText(cells[c]);
}

QStringList itemsOf(QComboBox* c) {
    QStringList out;
    for (int i = 0; i < c->count(); ++i)
        out << c->itemText(i);
    return out;
}

} // namespace

class TestTransferOdbc : public QObject {
    Q_OBJECT

private slots:
    void linkScreenReadsTheServersSetsAndKeepsNoPassword() {
        NetworkTask nt;
        {
            frmLink d(nt.t.s, nt.t.prompt, kLinkChangePath);
            child<QRadioButton>(&d, "optNetwork")->setChecked(true);
            auto* product = child<QComboBox>(&d, "cmbProduct");
            auto* sets = child<QComboBox>(&d, "cmbSet");
            QCOMPARE(itemsOf(product), (QStringList{"KS770CW", "KS770ZW"}));
            QVERIFY(child<QLineEdit>(&d, "txtServer")->isEnabled());
            QCOMPARE(child<QLineEdit>(&d, "txtPassword")->echoMode(), QLineEdit::Password);
            child<QLineEdit>(&d, "txtServer")->setText(QString::fromStdString(nt.link.connection));

            child<QLineEdit>(&d, "txtPassword")->setText("wrong");
            click(&d, "cmdSets");
            QCOMPARE(nt.last(), QStringLiteral("请填入正确的服务器信息！\n") + kRefused);
            QCOMPARE(sets->count(), 0);

            child<QLineEdit>(&d, "txtPassword")->setText(QString::fromStdString(nt.password));
            product->setCurrentText("KS770ZW");
            click(&d, "cmdSets");
            QVERIFY2(nt.last().contains(QStringLiteral("财务数据库KS770ZW不存在")), qPrintable(nt.last()));
            QCOMPARE(sets->count(), 0);

            product->setCurrentIndex(0);
            click(&d, "cmdSets");
            QCOMPARE(itemsOf(sets), (QStringList{"演示公司", "演示分公司"}));
            // The server's list comes back after a look at the other form.
            child<QRadioButton>(&d, "optSingle")->setChecked(true);
            child<QRadioButton>(&d, "optNetwork")->setChecked(true);
            QCOMPARE(itemsOf(sets), (QStringList{"演示公司", "演示分公司"}));

            sets->setCurrentIndex(1);
            click(&d, "cmdOk");
            QCOMPARE(d.result(), int(QDialog::Accepted));
        }
        QCOMPARE(nt.row("F_ZTID"), std::string("ID0002"));
        QCOMPARE(nt.row("F_ZTPATH"), "odbc:KS770CW:" + nt.link.connection);
        QVERIFY(!nt.homeHolds(nt.password));

        // Changed again: the screen opens on the server, the password
        // empty, and the linked set comes chosen once the sets are read.
        frmLink again(nt.t.s, nt.t.prompt, kLinkChangePath);
        QVERIFY(child<QRadioButton>(&again, "optNetwork")->isChecked());
        QCOMPARE(child<QLineEdit>(&again, "txtServer")->text(), QString::fromStdString(nt.link.connection));
        QCOMPARE(child<QComboBox>(&again, "cmbProduct")->currentText(), QStringLiteral("KS770CW"));
        QVERIFY(child<QLineEdit>(&again, "txtPassword")->text().isEmpty());
        child<QLineEdit>(&again, "txtPassword")->setText(QString::fromStdString(nt.password));
        click(&again, "cmdSets");
        QCOMPARE(child<QComboBox>(&again, "cmbSet")->currentText(), QStringLiteral("演示分公司"));

        const QString png = qEnvironmentVariable("GZGL_GRAB_DIR");
        if (!png.isEmpty()) {
            again.show();
            QVERIFY(QTest::qWaitForWindowExposed(&again));
            again.grab().save(png + "/frmLink_network.png");
        }
    }

    void transferAsksForThePasswordAndWritesOnTheServer() {
        NetworkTask nt;
        nt.linkNetwork();
        frmMain w(nt.t.s, nt.t.prompt);
        w.show();
        w.refreshShell();
        QString title;
        bool masked = false;
        test::ModalWatcher watcher;
        watcher.answer = [&](QDialog* d) {
            title = d->windowTitle();
            auto* field = child<QLineEdit>(d, "txtPassword");
            masked = field->echoMode() == QLineEdit::Password;
            field->setText(QString::fromStdString(nt.password));
            const QString png = qEnvironmentVariable("GZGL_GRAB_DIR");
            if (!png.isEmpty())
                d->grab().save(png + "/frmDbPassword.png");
            click(d, "cmdOk");
            return true;
        };
        w.runCommand(Command::SalaryTransfer);
        QCOMPARE(watcher.seen, QStringList{"frmDbPassword"});
        QCOMPARE(title, QStringLiteral("财务数据库口令"));
        QVERIFY(masked);
        frmTransfer* f = frmTransfer::openIn(w.mdiArea());
        QVERIFY(f);

        addRule(*f, {"0101,02", "F003", "", kSummary, "660201", "221101", "1"});
        addRule(*f, {"0102", "F003", "", kSummary, "500101", "221101", "1"});
        f->action("Trans")->trigger();
        QCOMPARE(nt.last(), QStringLiteral("转账成功！"));
        QCOMPARE(nt.written(), (QStringList{"1 660201 0 1500.50", "1 221101 1 1500.50", "1 500101 0 2000.00",
                                            "1 221101 1 2000.00"}));
        QCOMPARE(nt.count("_PZGL_M"), 1);
        QVERIFY(monthTransferred(nt.t.s));
        QVERIFY(!nt.homeHolds(nt.password));
    }

    void refusedPasswordIsSaidAndOpensNothing() {
        NetworkTask nt;
        nt.linkNetwork();
        frmMain w(nt.t.s, nt.t.prompt);
        w.show();
        w.refreshShell();
        QueuedPasswords passwords;

        // Cancel at once: nothing said, nothing opened.
        w.runCommand(Command::SalaryTransfer);
        QCOMPARE(passwords.asked, 1);
        QVERIFY(nt.messages().isEmpty());
        QCOMPARE(transferScreens(w), 0);

        // A wrong password is said, asked again, and Cancel ends it.
        passwords.asked = 0;
        passwords.answers = {"wrong", std::nullopt};
        w.runCommand(Command::SalaryTransfer);
        QCOMPARE(passwords.asked, 2);
        QCOMPARE(nt.messages(), QStringList{kRefused});
        QCOMPARE(transferScreens(w), 0);
        QCOMPARE(nt.count("_PZGL_D"), 0);
        QCOMPARE(nt.count("_PZGL_M"), 0);
        QVERIFY(!monthTransferred(nt.t.s));

        // Wrong, then right: the screen opens.
        nt.t.prompt.clear();
        passwords.asked = 0;
        passwords.answers = {"", nt.password};
        w.runCommand(Command::SalaryTransfer);
        QCOMPARE(passwords.asked, 2);
        QCOMPARE(nt.messages(), QStringList{kRefused});
        QCOMPARE(transferScreens(w), 1);
    }

    void unreachableServerIsSaidWithoutAskingForAPassword() {
        NetworkTask nt;
        nt.linkNetwork();
        std::string gone = nt.link.connection;
        gone.replace(gone.find("Server=") + 7, 0, "/nonexistent");
        nt.t.s.sysConn.execute("Update GZSysInfo set F_ZTPATH=? where F_ID=?",
                               {"odbc:KS770CW:" + gone, nt.t.s.curTaskID});
        frmMain w(nt.t.s, nt.t.prompt);
        w.show();
        w.refreshShell();
        QueuedPasswords passwords;
        w.runCommand(Command::SalaryTransfer);
        QCOMPARE(passwords.asked, 0);
        QVERIFY2(nt.last().startsWith(QStringLiteral("不能连接财务数据库服务器")), qPrintable(nt.last()));
        QCOMPARE(transferScreens(w), 0);
    }

    void setNoLongerListedIsChosenAgainFromTheServer() {
        NetworkTask nt;
        nt.linkNetwork();
        nt.t.s.sysConn.execute("Update GZSysInfo set F_ZTID='ID0009' where F_ID=?", {nt.t.s.curTaskID});
        frmMain w(nt.t.s, nt.t.prompt);
        w.show();
        w.refreshShell();
        QueuedPasswords passwords;
        passwords.answers = {nt.password};
        QStringList entries;
        test::ModalWatcher watcher;
        watcher.answer = [&](QDialog* d) {
            auto* list = child<QListWidget>(d, "lstSet");
            for (int i = 0; i < list->count(); ++i)
                entries << list->item(i)->text();
            list->setCurrentRow(1);
            click(d, "cmdOk");
            return !d->isVisible(); // a refused choice is cancelled, not waited on
        };
        w.runCommand(Command::SalaryTransfer);
        QCOMPARE(watcher.seen, QStringList{"frmConnect"});
        QCOMPARE(passwords.asked, 1); // the re-choice reads the catalog with the same password
        QCOMPARE(entries, (QStringList{"演示公司   ID0001", "演示分公司   ID0002"}));
        QCOMPARE(nt.messages(), QStringList{"请选择正确的核算单位！"});
        QCOMPARE(nt.row("F_ZTID"), std::string("ID0002"));
        QCOMPARE(transferScreens(w), 1);
    }
};

QTEST_MAIN(TestTransferOdbc)
#include "test_transfer_odbc.moc"
