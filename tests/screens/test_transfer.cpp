// The voucher transfer screen's wiring: rules saved from the grid reload as
// they were and a refused rule saves nothing but points at its cell, the
// department and account pickers fill their cells (lowest-level accounts
// only), the transfer writes the vouchers into the linked set, a No to the
// second-transfer question writes nothing, and the main window's commands
// refuse an unlinked task, re-choose a set the folder no longer lists and
// open the link screen on the task's present link.
#include "accounting/demo.h"
#include "accounting/link.h"
#include "accounting/transfer.h"
#include "calc/numformat.h"
#include "screens/base/TreePicker.h"
#include "screens/interfaces/frmSubjectHelp.h"
#include "screens/interfaces/frmTransfer.h"
#include "screens/session/frmMain.h"
#include "support/payroll_fixture.h"
#include "support/qt_test_support.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest>

using namespace gzgl;
using namespace gzgl::accounting;
using gzgl::test::child;
using gzgl::test::click;

namespace {

const QString kSummary = QStringLiteral("计提2006年02月工资");

// A task of 2006-02 linked to the demo folder's set ID0001 (演示公司):
// 0001 in 0101 earns 1000.50, 0002 in 0102 2000.00, 0003 in 02 500.00.
struct LinkedTask {
    test::PayrollTask t;
    std::string acct;
    Connection set; // the set's own database, to read back what was written

    LinkedTask() {
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
        acct = t.home.path + "/acct";
        layoutDemoAccounting(acct, {s.curOperName}, {2006, 2});
        LinkFields f{LinkChoice::SingleUser, acct, "演示公司", "", "", "", ""};
        if (!confirmLink(s, f, kLinkChangePath).ok)
            qFatal("link failed");
        set.open(acct + "/KS0001.MDB");
    }

    std::unique_ptr<frmTransfer> screen() {
        return std::make_unique<frmTransfer>(t.s, t.prompt, nullptr, openLinkedStore(t.s));
    }
    QString last() const { return QString::fromStdString(t.prompt.last()); }
    long long count(const char* table) {
        return set.scalar(std::string("Select count(*) from ID0001") + table).toInt();
    }
    // "PZH account mark amount" of every written line, in order.
    QStringList written() {
        QStringList out;
        const Recordset rs =
            set.query("Select PZH,KMDM,JDBZ,JE from ID0001_PZGL_D order by PZH,PZFYH,PZFYXH");
        for (std::size_t i = 0; i < rs.size(); ++i) {
            const auto& r = rs.row(i);
            out << QString::fromStdString(r[0].toString() + " " + r[1].toString() + " " + r[2].toString() +
                                          " " + formatNumber(r[3].toDouble(), "#0.00"));
        }
        return out;
    }
    std::string linkedID() {
        return t.s.sysConn.scalar("Select F_ZTID from GZSysInfo where F_ID=?", {t.s.curTaskID}).toString();
    }
};

QTableWidget* grid(QWidget* f) {
    return child<QTableWidget>(f, "msfForm");
}

// Appends a rule through 增加 and types its cells.
void addRule(frmTransfer& f, const QStringList& cells) {
    f.addRule();
    const int row = grid(&f)->rowCount() - 1;
    for (int c = 0; c < cells.size(); ++c)
        grid(&f)->item(row, c)->setText(cells[c]);
}

QStringList rowTexts(frmTransfer& f, int row) {
    QStringList out;
    for (int c = 0; c < 7; ++c)
        out << grid(&f)->item(row, c)->text();
    return out;
}

// The tree item whose text starts with code.
QTreeWidgetItem* node(QTreeWidget* tree, const QString& code) {
    const auto found = tree->findItems(code + " ", Qt::MatchStartsWith | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

} // namespace

class TestTransfer : public QObject {
    Q_OBJECT

private slots:
    void toolbarAddsPresetRulesAndDeletesOnlyWhenConfirmed() {
        LinkedTask lt;
        auto f = lt.screen();
        QCOMPARE(f->windowTitle(), QStringLiteral("本月工资转账公式设置"));
        for (const char* key : {"Add", "Delete", "Save", "Help", "Unite", "Trans", "TransTime", "Exit"})
            QVERIFY2(f->action(key), key);
        QCOMPARE(f->action("Unite")->toolTip(), QStringLiteral("同科目合并"));
        QVERIFY(f->action("Unite")->isCheckable());
        QCOMPARE(grid(f.get())->horizontalHeaderItem(4)->text(), QStringLiteral("借方科目"));
        QCOMPARE(grid(f.get())->rowCount(), 0);
        QVERIFY(!f->modified());

        f->action("Add")->trigger();
        QCOMPARE(rowTexts(*f, 0), (QStringList{"", "", "", kSummary, "", "", ""}));
        QVERIFY(f->modified());

        lt.t.prompt.answers = {false};
        f->action("Delete")->trigger();
        QCOMPARE(lt.last(), QStringLiteral("确定要删除本行公式吗?"));
        QCOMPARE(grid(f.get())->rowCount(), 1);
        lt.t.prompt.answers = {true};
        f->action("Delete")->trigger();
        QCOMPARE(grid(f.get())->rowCount(), 0);

        auto* time = child<QGroupBox>(f.get(), "FmTime");
        QVERIFY(time->isHidden());
        f->action("TransTime")->trigger();
        QVERIFY(!time->isHidden());
        QCOMPARE(child<QLineEdit>(f.get(), "TD")->text(), QStringLiteral("28"));
        f->action("TransTime")->trigger();
        QVERIFY(time->isHidden());
    }

    void savedRulesReloadAndRefusedRulesSaveNothing() {
        LinkedTask lt;
        auto f = lt.screen();
        addRule(*f, {"0101,02", "F003", "", kSummary, "660201", "221101", "1"});
        f->action("Save")->trigger();
        QCOMPARE(lt.last(), QStringLiteral("公式存贮完毕！"));
        QVERIFY(!f->modified());
        const std::vector<TransferRule> saved = loadRules(lt.t.s);
        QCOMPARE(saved, f->rules());

        // A rule whose debit account has sub-accounts.
        grid(f.get())->item(0, 4)->setText("2211");
        grid(f.get())->setCurrentCell(0, 0);
        QVERIFY(!f->saveRules());
        QCOMPARE(lt.last(), QStringLiteral("科目2211不为最明细,请修改！"));
        QCOMPARE(grid(f.get())->currentRow(), 0);
        QCOMPARE(grid(f.get())->currentColumn(), 4);
        QCOMPARE(loadRules(lt.t.s), saved);

        // A second rule naming a department and its parent.
        grid(f.get())->item(0, 4)->setText("660201");
        addRule(*f, {"01,0101", "F003", "", kSummary, "660201", "221101", "2"});
        grid(f.get())->setCurrentCell(0, 0);
        QVERIFY(!f->saveRules());
        QCOMPARE(lt.last(), QStringLiteral("含有上下级关系的部门编码！"));
        QCOMPARE(grid(f.get())->currentRow(), 1);
        QCOMPARE(grid(f.get())->currentColumn(), 0);
        QCOMPARE(loadRules(lt.t.s), saved);

        // A voucher number still being typed when 存盘 is pressed is saved.
        grid(f.get())->item(1, 0)->setText("0102");
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.get()));
        grid(f.get())->setCurrentCell(1, 6);
        grid(f.get())->editItem(grid(f.get())->item(1, 6));
        auto* editor = grid(f.get())->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText("3");
        QVERIFY(f->saveRules());
        const std::vector<TransferRule> again = loadRules(lt.t.s);
        QCOMPARE(again.size(), std::size_t{2});
        QCOMPARE(again[1].number, std::string("3"));

        // A new screen shows what was saved.
        auto reopened = lt.screen();
        QCOMPARE(reopened->rules(), again);
        QVERIFY(!reopened->modified());

        const QString png = qEnvironmentVariable("GZGL_GRAB_DIR");
        if (!png.isEmpty())
            reopened->grab().save(png + "/frmTransfer.png");
    }

    void pickersFillDepartmentAndLeafAccountCells() {
        LinkedTask lt;
        auto f = lt.screen();
        addRule(*f, {"02"});
        {
            test::ModalWatcher watcher;
            watcher.answer = [](QDialog* d) {
                auto* picker = static_cast<TreePicker*>(d);
                QTreeWidgetItem* it = node(picker->tree(), "0101");
                if (!it)
                    return false;
                picker->pick(it);
                return true;
            };
            f->editCell(0, 0);
            QCOMPARE(watcher.seen, QStringList{"frmDepHelp"});
        }
        QCOMPARE(grid(f.get())->item(0, 0)->text(), QStringLiteral("02,0101"));

        bool okWhileParent = true;
        bool stayedOnParent = false;
        QString rootText;
        {
            test::ModalWatcher watcher;
            watcher.answer = [&](QDialog* d) {
                auto* help = static_cast<frmSubjectHelp*>(d);
                rootText = help->tree()->topLevelItem(0)->text(0);
                QTreeWidgetItem* parent = node(help->tree(), "2211");
                QTreeWidgetItem* leaf = node(help->tree(), "221101");
                if (!parent || !leaf)
                    return false;
                help->tree()->setCurrentItem(parent);
                okWhileParent = child<QPushButton>(d, "cmdOk")->isEnabled();
                help->pick(parent);
                stayedOnParent = d->isVisible() && help->code().empty();
                help->tree()->setCurrentItem(leaf);
                click(d, "cmdOk");
                return true;
            };
            f->editCell(0, 5);
            QCOMPARE(watcher.seen, QStringList{"frmSubjectHelp"});
        }
        QCOMPARE(rootText, QStringLiteral("科目列表"));
        QVERIFY(!okWhileParent);
        QVERIFY(stayedOnParent);
        QCOMPARE(grid(f.get())->item(0, 5)->text(), QStringLiteral("221101"));
    }

    void transferWritesVouchersAndSecondTransferNoWritesNothing() {
        LinkedTask lt;
        auto f = lt.screen();
        addRule(*f, {"0101,02", "F003", "", kSummary, "660201", "221101", "1"});
        addRule(*f, {"0102", "F003", "", kSummary, "500101", "221101", "1"});
        QVERIFY(f->saveRules());

        // A day February does not have.
        child<QLineEdit>(f.get(), "TD")->setText("30");
        f->action("Trans")->trigger();
        QCOMPARE(lt.last(), QStringLiteral("转账日期不正确！"));
        QVERIFY(!child<QGroupBox>(f.get(), "FmTime")->isHidden());
        QCOMPARE(lt.count("_PZGL_D"), 0);

        child<QLineEdit>(f.get(), "TD")->setText("28");
        f->action("Trans")->trigger();
        QCOMPARE(lt.last(), QStringLiteral("转账成功！"));
        QCOMPARE(lt.written(), (QStringList{"1 660201 J 1500.50", "1 221101 D 1500.50", "1 500101 J 2000.00",
                                            "1 221101 D 2000.00"}));
        QCOMPARE(lt.count("_PZGL_M"), 1);
        QVERIFY(monthTransferred(lt.t.s));

        lt.t.prompt.clear();
        lt.t.prompt.answers = {false};
        f->action("Trans")->trigger();
        QCOMPARE(lt.last(), QStringLiteral("本月工资已经转过账，是否进行第二次转账？"));
        QVERIFY(lt.t.prompt.messages.back().question);
        QCOMPARE(lt.count("_PZGL_D"), 4);
        QCOMPARE(lt.count("_PZGL_M"), 1);

        // Yes, and the two credit lines of one account made one.
        lt.t.prompt.answers = {true};
        f->action("Unite")->setChecked(true);
        f->action("Trans")->trigger();
        QCOMPARE(lt.last(), QStringLiteral("转账成功！"));
        QCOMPARE(lt.written().mid(4),
                 (QStringList{"2 660201 J 1500.50", "2 221101 D 3500.50", "2 500101 J 2000.00"}));
        QCOMPARE(lt.count("_PZGL_M"), 2);
    }

    void refusedTransferPointsAtTheRuleAndWritesNothing() {
        LinkedTask lt;
        auto f = lt.screen();
        addRule(*f, {"0101", "F003", "", kSummary, "660201", "221101", "1"});
        addRule(*f, {"02", "F003,F999", "", kSummary, "660201", "221101", "1"});
        grid(f.get())->setCurrentCell(0, 0);
        f->action("Trans")->trigger();
        QCOMPARE(lt.last(), QStringLiteral("公式中含有未设置的工资项目！"));
        QCOMPARE(grid(f.get())->currentRow(), 1);
        QCOMPARE(grid(f.get())->currentColumn(), 1);
        QCOMPARE(lt.count("_PZGL_D"), 0);
        QVERIFY(!monthTransferred(lt.t.s));
        // The grid's rules were not saved by the attempt.
        QVERIFY(loadRules(lt.t.s).empty());
    }

    void closingAsksAboutChangedRules() {
        LinkedTask lt;
        // Unchanged: no question.
        QPointer<frmTransfer> f = lt.screen().release();
        QVERIFY(f->close());
        QVERIFY(lt.t.prompt.messages.empty());
        QTRY_VERIFY(f.isNull());

        // Answered Yes with a rule that is refused: the screen stays.
        f = lt.screen().release();
        addRule(*f, {"0101", "", "", kSummary, "660201", "221101", "1"});
        lt.t.prompt.answers = {true};
        QVERIFY(!f->close());
        QCOMPARE(lt.t.prompt.messages.at(0).text, std::string("转账公式已经修改，是否存盘？"));
        QCOMPARE(lt.last(), QStringLiteral("工资项目不能为空！"));

        // Answered Yes with the rule put right: saved, then closed.
        grid(f)->item(0, 1)->setText("F003");
        lt.t.prompt.answers = {true};
        QVERIFY(f->close());
        QCOMPARE(loadRules(lt.t.s).size(), std::size_t{1});
        QTRY_VERIFY(f.isNull());

        // Answered No: closed, the change dropped.
        f = lt.screen().release();
        grid(f)->item(0, 1)->setText("F003,F004");
        lt.t.prompt.answers = {false};
        QVERIFY(f->close());
        QCOMPARE(loadRules(lt.t.s).at(0).items, std::string("F003"));
        QTRY_VERIFY(f.isNull());
    }

    void mainWindowRefusesAnUnlinkedTaskAndOpensTheScreenOnce() {
        LinkedTask lt;
        frmMain w(lt.t.s, lt.t.prompt);
        w.show();
        w.refreshShell();
        auto screens = [&w] {
            int n = 0;
            for (QMdiSubWindow* sub : w.mdiArea()->subWindowList())
                n += qobject_cast<frmTransfer*>(sub->widget()) ? 1 : 0;
            return n;
        };
        w.runCommand(Command::SalaryTransfer);
        w.runCommand(Command::SalaryTransfer);
        QCOMPARE(screens(), 1);
        frmTransfer::openIn(w.mdiArea())->close();
        QTRY_COMPARE(screens(), 0);

        QVERIFY(confirmLink(lt.t.s, {}, kLinkChangePath).ok);
        lt.t.prompt.clear();
        w.runCommand(Command::SalaryTransfer);
        QCOMPARE(lt.last(), QStringLiteral("工资系统帐套路径未设置。"));
        QCOMPARE(QString::fromStdString(lt.t.prompt.messages.back().title), QStringLiteral("提示"));
        QCOMPARE(screens(), 0);
    }

    void setNoLongerListedIsChosenAgainBeforeTheScreenOpens() {
        LinkedTask lt;
        lt.t.s.sysConn.execute("Update GZSysInfo set F_ZTID='ID0009' where F_ID=?", {lt.t.s.curTaskID});
        frmMain w(lt.t.s, lt.t.prompt);
        w.show();
        w.refreshShell();
        QStringList entries;
        test::ModalWatcher watcher;
        watcher.answer = [&](QDialog* d) {
            auto* list = child<QListWidget>(d, "lstSet");
            for (int i = 0; i < list->count(); ++i)
                entries << list->item(i)->text();
            // OK with nothing chosen is refused and the dialog stays.
            list->setCurrentRow(-1);
            click(d, "cmdOk");
            if (!d->isVisible())
                return false;
            list->setCurrentRow(1);
            click(d, "cmdOk");
            return true;
        };
        w.runCommand(Command::SalaryTransfer);
        QCOMPARE(watcher.seen, QStringList{"frmConnect"});
        QCOMPARE(entries, (QStringList{"演示公司   ID0001", "演示分公司   ID0002"}));
        QCOMPARE(lt.t.prompt.messages.at(0).text, std::string("请选择正确的核算单位！"));
        QCOMPARE(lt.t.prompt.messages.at(1).text, std::string("请选择核算单位！"));
        QCOMPARE(lt.linkedID(), std::string("ID0002"));
        QVERIFY(frmTransfer::openIn(w.mdiArea()));
    }

    void changingThePathStartsFromThePresentLink() {
        LinkedTask lt;
        frmMain w(lt.t.s, lt.t.prompt);
        w.show();
        w.refreshShell();
        QString title, path, setName;
        bool single = false;
        test::ModalWatcher watcher;
        watcher.answer = [&](QDialog* d) {
            title = d->windowTitle();
            single = child<QRadioButton>(d, "optSingle")->isChecked();
            path = child<QLineEdit>(d, "txtPath")->text();
            auto* sets = child<QComboBox>(d, "cmbSet");
            setName = sets->currentText();
            sets->setCurrentIndex(sets->findText(QStringLiteral("演示分公司")));
            click(d, "cmdOk");
            return true;
        };
        // The transfer screen, holding the old set, goes first.
        w.runCommand(Command::SalaryTransfer);
        QVERIFY(frmTransfer::openIn(w.mdiArea()));
        w.runCommand(Command::SystemConnect);
        QCOMPARE(watcher.seen, QStringList{"frmLink"});
        QTRY_VERIFY(!frmTransfer::openIn(w.mdiArea()));
        QCOMPARE(title, QStringLiteral("更改账务路径"));
        QVERIFY(single);
        QCOMPARE(path, QString::fromStdString(lt.acct));
        QCOMPARE(setName, QStringLiteral("演示公司"));
        QCOMPARE(lt.linkedID(), std::string("ID0002"));
    }
};

QTEST_MAIN(TestTransfer)
#include "test_transfer.moc"
