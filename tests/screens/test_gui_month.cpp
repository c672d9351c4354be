// A typical month through the real screens, as a clerk meets it: the new
// task, its departments, employees, items and formulas, the values typed
// into the entry grid, the pay sheet printed to PDF, the bank file, the
// voucher transferred into the demo accounting folder and the month
// closed, with last month's remainder carried into 上月扣零. The same month
// is then run with gzgl-cli in a second data home: the recalculated grids,
// the bank files and the vouchers must be equal.
#include "accounting/demo.h"
#include "accounting/link.h"
#include "core/login.h"
#include "exchange/bank.h"
#include "exchange/textfile.h"
#include "items/formulas.h"
#include "screens/base/frmAddDep.h"
#include "screens/base/frmAddEmp.h"
#include "screens/interfaces/frmBP.h"
#include "screens/interfaces/frmTransfer.h"
#include "screens/items/frmAddOption.h"
#include "screens/items/frmOption.h"
#include "screens/monthly/frmSalary.h"
#include "screens/period/frmBalance.h"
#include "screens/session/frmAdd.h"
#include "support/qt_test_support.h"
#include "support/test_support.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinterInfo>
#include <QProcess>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <thread>

using namespace gzgl;
using gzgl::test::child;
using gzgl::test::click;

namespace {

const char* kRule[] = {"01", "F000", "", "发放工资", "660201", "221101", "1"};

// Types text into a cell of the entry grid and presses Enter, as a clerk
// does, after choosing the employee's department in the department box.
void typeInto(frmSalary& f, const char* dep, const char* empNo, const char* code, const QString& value) {
    auto* depBox = child<QLineEdit>(&f, "txtDep");
    depBox->setText(dep);
    QTest::keyClick(depBox, Qt::Key_Return);
    const calc::WorkGrid& g = f.entry().grid();
    int row = -1;
    for (int r = calc::kFirstEmployeeRow; r < g.rows(); ++r)
        if (g.cell(r, 0) == empNo)
            row = r - calc::kFirstEmployeeRow;
    QVERIFY2(row >= 0, empNo);
    QTableView* grid = f.grid();
    grid->setCurrentIndex(grid->model()->index(row, g.columnOf(code)));
    grid->setFocus();
    QTest::keyClick(grid, value.at(0).toLatin1());
    QTest::keyClicks(f.editBox(), value.mid(1));
    QTest::keyClick(f.editBox(), Qt::Key_Return);
}

QString runCli(const QStringList& args, const QByteArray& input = {}) {
    QProcess p;
    p.start(qEnvironmentVariable("GZGL_CLI"), args);
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000))
        qWarning("gzgl-cli %s did not finish", qPrintable(args.join(' ')));
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
}

// The recalculated month as gzgl-cli prints it.
QString grid(const std::string& home, const QString& password) {
    return runCli({"--home", QString::fromStdString(home), "recalc", "--task", "一车间", "--user", "会计",
                   "--password", password});
}

QStringList vouchers(const std::string& folder) {
    Connection set;
    set.open(folder + "/KS0001.MDB");
    const Recordset rs = set.query("Select PZH,KMDM,JDBZ,printf('%.2f',JE) From ID0001_PZGL_D Order By PZH,PZFYXH");
    QStringList out;
    for (std::size_t i = 0; i < rs.size(); ++i)
        out << QString::fromStdString(rs.row(i)[0].toString() + " " + rs.row(i)[1].toString() + " " +
                                      rs.row(i)[2].toString() + " " + rs.row(i)[3].toString());
    return out;
}

// Names the step a hung run stopped in, then aborts: ctest's own timeout
// kills the test without saying where it was.
class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds limit)
        : thread_([this, limit] {
              std::unique_lock lock(m_);
              if (!cv_.wait_for(lock, limit, [this] { return done_; })) {
                  std::fprintf(stderr, "test_gui_month hung at: %s\n", step_.load());
                  std::fflush(stderr);
                  std::abort();
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(m_);
            done_ = true;
        }
        cv_.notify_all();
        thread_.join();
    }
    void at(const char* step) { step_ = step; }

private:
    std::atomic<const char*> step_{"start"};
    std::mutex m_;
    std::condition_variable cv_;
    bool done_ = false;
    std::thread thread_;
};

} // namespace

class TestGuiMonth : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName("gzgl-test");
        QCoreApplication::setApplicationName("test_gui_month");
    }

    void aMonthThroughTheScreensEqualsTheSameMonthFromTheCommandLine() {
        test::TempHome home;
        Session s;
        test::openHome(s, home.path);
        test::RecordingPrompt p;
        Watchdog dog(std::chrono::seconds(240));

        dog.at("new task");
        // 任务管理 → 增加任务: rounding to whole yuan.
        {
            frmAdd add(s, p);
            add.show();
            child<QLineEdit>(&add, "txtName")->setText("一车间");
            child<QLineEdit>(&add, "txtYear")->setText("2006");
            child<QLineEdit>(&add, "txtMonth")->setText("2");
            child<QLineEdit>(&add, "txtOperator")->setText("会计");
            child<QLineEdit>(&add, "txtKL1")->setText("123");
            child<QLineEdit>(&add, "txtKL2")->setText("123");
            child<QSpinBox>(&add, "txtLong")->setValue(4);
            child<QComboBox>(&add, "cmbMode")->setCurrentText(QStringLiteral("不足1元去尾"));
            click(&add, "cmdButton0");
            QVERIFY2(add.created(), p.last().c_str());
        }
        dog.at("departments and employees");
        // 职工名册管理: the departments (the first level's length confirmed) and employees.
        for (const auto& [code, name] : {std::pair{"01", "总部"}, {"0101", "办公室"}, {"0102", "财务科"}}) {
            frmAddDep dep(s, p);
            child<QLineEdit>(&dep, "txtCode")->setText(code);
            child<QLineEdit>(&dep, "txtName")->setText(QString::fromUtf8(name));
            p.answers = {true};
            click(&dep, "cmdOk");
        }
        {
            frmAddEmp emp(s, p);
            emp.show();
            for (const auto& [dep, name, account] :
                 {std::tuple{"0101  办公室", "张三", "6222020200112233445"},
                  {"0102  财务科", "李四", "6222020200112233446"}}) {
                child<QComboBox>(&emp, "cmbDep")->setCurrentText(QString::fromUtf8(dep));
                child<QLineEdit>(&emp, "txtEmpName")->setText(QString::fromUtf8(name));
                child<QLineEdit>(&emp, "txtAccNo")->setText(account);
                click(&emp, "cmdOk");
            }
        }
        p.clear();
        dog.at("items and formulas");
        // 工资项目定义: two items, then the formulas.
        {
            frmOption o(s, p);
            o.show();
            for (const char* name : {"基本工资", "扣款"}) {
                frmAddOption* add = o.openAddDialog();
                child<QLineEdit>(add, "txtSubject")->setText(QString::fromUtf8(name));
                child<QComboBox>(add, "cmbKind")->setCurrentIndex(0); // 数字
                child<QLineEdit>(add, "txtPrec")->setText("2");
                click(add, "cmdOk");
                add->close();
            }
            QVERIFY2(p.messages.empty(), p.last().c_str());
            for (const auto& [code, text] : {std::pair{"F003", "F004"}, {"F000", "F003-F005"}}) {
                auto* wait = child<QListWidget>(&o, "lstWait");
                for (int i = 0; i < wait->count(); ++i)
                    if (wait->item(i)->data(Qt::UserRole).toString() == code)
                        wait->setCurrentRow(i);
                child<QLineEdit>(&o, "txtFormula")->setText(text);
                p.answers = {true};
                click(&o, "picAdd");
            }
            QCOMPARE(items::loadFormulaLines(s).size(), std::size_t(2));
        }
        dog.at("entry grid");
        // 当月工资录入: the month's values typed in.
        const QString pdf = QString::fromStdString(home.path + "/sheet.pdf");
        {
            frmSalary f(s, p);
            f.resize(1366, 700);
            f.show();
            QVERIFY(QTest::qWaitForWindowExposed(&f));
            typeInto(f, "0101", "0001", "F004", "1234.56");
            typeInto(f, "0102", "0002", "F004", "2000.4");
            typeInto(f, "0102", "0002", "F005", "0.25");
            QVERIFY2(p.messages.empty(), p.last().c_str());
            dog.at("print");
            // 打印 without a printer goes to a PDF file.
            if (QPrinterInfo::availablePrinters().isEmpty()) {
                f.setPdfChooser([&] { return pdf; });
                f.action("KeyPrint")->trigger();
                QVERIFY(std::filesystem::exists(pdf.toStdString()));
                QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("已打印到文件 %1。").arg(pdf));
            }
        }
        dog.at("bank file");
        // 生成磁盘文件: the template, then the month's file.
        {
            exchange::BankTemplate tpl;
            tpl.rows = {{"银行账号", "字符", "19", "0:左对齐", "银行账号", "", ""},
                        {"实发工资", "数字", "12", "2:右对齐", "F000", "显示", ""}};
            QVERIFY(exchange::saveBankTemplate(s, tpl).ok);
            frmBP bp(s, p);
            child<QComboBox>(&bp, "Cmbfg")->setCurrentText(",");
            p.clear();
            bp.action("File")->trigger();
            QVERIFY2(QString::fromStdString(p.last()).contains(QStringLiteral("文件生成完毕")), p.last().c_str());
        }
        dog.at("voucher");
        // 本月工资转账 into the demo accounting folder.
        const std::string acct = home.path + "/acct";
        accounting::layoutDemoAccounting(acct, {"会计"}, accounting::YearMonth{2006, 2});
        LinkFields link;
        link.choice = LinkChoice::SingleUser;
        link.folder = acct;
        link.setName = "演示公司";
        QVERIFY(confirmLink(s, link, kLinkChangePath).ok);
        {
            frmTransfer t(s, p, nullptr, openLinkedStore(s));
            t.addRule();
            auto* rules = child<QTableWidget>(&t, "msfForm");
            for (int c = 0; c < 7; ++c)
                rules->item(rules->rowCount() - 1, c)->setText(QString::fromUtf8(kRule[c]));
            QVERIFY(t.saveRules());
            child<QLineEdit>(&t, "TD")->setText("28");
            t.action("Trans")->trigger();
            QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("转账成功！"));
        }
        const QString before = grid(home.path, "123");
        const std::string bank = exchange::readWholeFile(home.path + "/NJGZ200602.TXT").value_or("");

        dog.at("month close");
        // 结转至下月.
        {
            frmBalance b(s, p);
            b.show();
            click(&b, "cmdDo0");
            QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("结转完成！"));
        }
        QCOMPARE(s.curPeriod, std::string("200603"));
        const QString after = grid(home.path, "123");
        // 上月扣零 holds last month's 0.56, which with this month's pay makes a yuan more.
        QVERIFY2(after.contains(QStringLiteral("0001\t张三\t1235.00\t1234.56\t0.56\t")), qPrintable(after));

        dog.at("command line");
        // The same month from the command line, in a second home.
        test::TempHome other;
        const QString h = QString::fromStdString(other.path);
        const QStringList login{"--task", "一车间", "--user", "会计", "--password", "123"};
        auto cli = [&](QStringList args, const QByteArray& input = {}) {
            return runCli(QStringList{"--home", h} + args, input);
        };
        cli({"task", "add", "--name", "一车间", "--operator", "会计", "--password", "123", "--year", "2006",
             "--month", "2", "--code-length", "4", "--mode", "3"});
        cli(QStringList{"--yes", "dep", "add"} + login + QStringList{"--code", "01", "--name", "总部"});
        cli(QStringList{"--yes", "dep", "add"} + login + QStringList{"--code", "0101", "--name", "办公室"});
        cli(QStringList{"dep", "add"} + login + QStringList{"--code", "0102", "--name", "财务科"});
        cli(QStringList{"emp", "add"} + login + QStringList{"--dep", "0101", "--name", "张三", "--acc", "6222020200112233445"});
        cli(QStringList{"emp", "add"} + login + QStringList{"--dep", "0102", "--name", "李四", "--acc", "6222020200112233446"});
        cli(QStringList{"item", "add"} + login + QStringList{"--name", "基本工资", "--type", "数字", "--prec", "2"});
        cli(QStringList{"item", "add"} + login + QStringList{"--name", "扣款", "--type", "数字", "--prec", "2"});
        cli(QStringList{"formula", "add"} + login + QStringList{"--code", "F003", "--text", "F004"});
        cli(QStringList{"formula", "add"} + login + QStringList{"--code", "F000", "--text", "F003-F005"});
        cli(QStringList{"data", "set"} + login + QStringList{"--emp", "0001", "--item", "F004", "1234.56"});
        cli(QStringList{"data", "set"} + login + QStringList{"--emp", "0002", "--item", "F004", "2000.4"});
        cli(QStringList{"data", "set"} + login + QStringList{"--emp", "0002", "--item", "F005", "0.25"});
        cli(QStringList{"bank", "template", "set"} + login,
            "银行账号\t字符\t19\t0\t银行账号\t\t\n实发工资\t数字\t12\t2\tF000\t显示\t\n");
        cli(QStringList{"bank", "write"} + login + QStringList{"--sep", ","});
        const std::string acct2 = other.path + "/acct";
        cli({"acct", "demo", "--dir", QString::fromStdString(acct2), "--user", "会计", "--period", "200602"});
        cli(QStringList{"link", "set"} + login + QStringList{"--folder", QString::fromStdString(acct2), "--set", "演示公司"});
        cli(QStringList{"voucher", "rules", "set"} + login, "01\tF000\t\t发放工资\t660201\t221101\t1\n");
        cli(QStringList{"voucher", "run"} + login + QStringList{"--date", "20060228"});
        QCOMPARE(grid(other.path, "123"), before);
        QCOMPARE(exchange::readWholeFile(other.path + "/NJGZ200602.TXT").value_or("-"), bank);
        QCOMPARE(vouchers(acct), (QStringList{"1 660201 J 3234.00", "1 221101 D 3234.00"}));
        QCOMPARE(vouchers(acct2), vouchers(acct));
        cli(QStringList{"period", "close"} + login);
        QCOMPARE(grid(other.path, "123"), after);
    }
};

QTEST_MAIN(TestGuiMonth)
#include "test_gui_month.moc"
