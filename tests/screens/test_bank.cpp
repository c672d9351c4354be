// The bank screen's wiring: rows come from the item picker and change by
// double click and through the grid's edit box, 确　　定 saves what reloads
// into the same rows (and nothing when a cell is refused), the file button
// writes the month's file with the recalculated values and asks before it
// replaces one, and the department list, the control list and the disk copy
// show their refusals.
#include "core/gbk.h"
#include "exchange/bank.h"
#include "screens/base/TreePicker.h"
#include "screens/interfaces/frmBP.h"
#include "screens/interfaces/frmBPHelp.h"
#include "screens/session/QtPrompt.h"
#include "support/payroll_fixture.h"
#include "support/qt_test_support.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace gzgl;
using gzgl::test::child;
using gzgl::test::click;

namespace {

// 张三 in 总部 (01) and 李四 in 车间 (02); F005 合计 = F003+F004 is only
// known after recalculation.
struct BankTask {
    test::PayrollTask t;
    BankTask() {
        Connection& c = t.s.taskConn;
        c.execute("Insert Into " + t.table("Depart") +
                  "(F_DepNo,F_DepName,F_DepClass,F_End) Values('01','总部',1,1),('02','车间',1,1)");
        t.item("F004", "津贴");
        t.item("F005", "合计");
        t.formula("F005", "F003+F004");
        t.employee("0001", "张三", "01", 1);
        t.employee("0002", "李四", "02", 2);
        t.value("0001", "F003", 1000.0);
        t.value("0001", "F004", 234.567);
        t.value("0002", "F003", 6000.0);
        account("0001", "62220001");
        account("0002", "6222000");
    }
    void account(const char* empNo, const char* acc) {
        t.s.taskConn.execute("Update " + t.table("Employee") + " Set F_AccNo=? Where F_EmpNo=?",
                             {acc, empNo});
    }
    std::string monthFile() const { return t.s.appPath + "/NJGZ200602.TXT"; }
};

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

QString cell(frmBP& f, int row, int column) {
    return child<QTableWidget>(&f, "msfModel")->item(row, column)->text();
}

QStringList rowTexts(frmBP& f, int row) {
    QStringList out;
    for (int c = 0; c < 7; ++c)
        out << cell(f, row, c);
    return out;
}

// Chooses the named entries in the item picker and presses OK.
void pickItems(frmBP& f, const QStringList& names) {
    test::ModalWatcher watcher;
    watcher.answer = [&names](QDialog* d) {
        auto* list = child<QListWidget>(d, "lstItem");
        for (const QString& n : names)
            for (QListWidgetItem* it : list->findItems(n, Qt::MatchExactly))
                it->setSelected(true);
        click(d, "cmdOk");
        return true;
    };
    f.cmdCancel_Click();
    QCOMPARE(watcher.seen, QStringList{"frmBPHelp"});
}

// Chooses the department whose node starts with code in the picker.
void pickDepartment(frmBP& f, const QString& code) {
    test::ModalWatcher watcher;
    watcher.answer = [&code](QDialog* d) {
        auto* picker = static_cast<TreePicker*>(d);
        const auto found = picker->tree()->findItems(code, Qt::MatchStartsWith | Qt::MatchRecursive);
        if (found.isEmpty())
            return false;
        picker->pick(found.first());
        return true;
    };
    click(&f, "cmdSel0");
    QCOMPARE(watcher.seen, QStringList{"frmDepHelp"});
}

void doubleClick(QTableWidget* grid, int row, int column) {
    const QRect r = grid->visualRect(grid->model()->index(row, column));
    // A widget's double click arrives after the press of its first click.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, r.center());
}

// The file's three fields: account (8, left), name (6, left), 合计 (10,
// right, with the point).
void accountNameTotal(BankTask& b, frmBP& f) {
    pickItems(f, {"银行账号", "姓名", "合计"});
    auto* grid = child<QTableWidget>(&f, "msfModel");
    grid->item(0, 2)->setText("8");
    grid->item(1, 2)->setText("6");
    grid->item(2, 2)->setText("10");
    b.t.prompt.clear();
}

} // namespace

class TestBank : public QObject {
    Q_OBJECT

private slots:
    void opensWithItsDefaultsAndThePickerAppendsRows() {
        BankTask b;
        frmBP f(b.t.s, b.t.prompt);
        QCOMPARE(f.windowTitle(), QStringLiteral("银行报盘文件格式定义"));
        QVERIFY(b.t.prompt.messages.empty());
        auto* grid = child<QTableWidget>(&f, "msfModel");
        QCOMPARE(grid->rowCount(), 0);
        QCOMPARE(grid->horizontalHeaderItem(0)->text(), QStringLiteral("项 　　目"));
        QCOMPARE(grid->horizontalHeaderItem(6)->text(), QStringLiteral("固定宽度"));
        QCOMPARE(child<QLineEdit>(&f, "txtName")->text(), QStringLiteral("NJGZ.TXT"));
        QCOMPARE(child<QComboBox>(&f, "Cmbfg")->currentText(), QStringLiteral("默认格式"));
        QCOMPARE(child<QComboBox>(&f, "CmDep")->currentText(), QStringLiteral("不需报送银行的部门："));
        QVERIFY(!child<QCheckBox>(&f, "CKXH")->isChecked());
        QVERIFY(!child<QCheckBox>(&f, "chkBank")->isChecked());
        for (const char* key : {"File", "Print", "Disk", "Exit"})
            QVERIFY2(f.action(key), key);

        pickItems(f, {"银行账号", "姓名", "合计"});
        QCOMPARE(grid->rowCount(), 3);
        QCOMPARE(rowTexts(f, 0), (QStringList{"银行账号", "字符", "15", "0:左对齐", "银行账号", "", ""}));
        QCOMPARE(rowTexts(f, 1), (QStringList{"姓名", "字符", "15", "0:左对齐", "F002", "", ""}));
        QCOMPARE(rowTexts(f, 2), (QStringList{"合计", "数字", "15", "2:右对齐", "F005", "显示", "7"}));
        // A second pick appends after what is there.
        pickItems(f, {"企业代码"});
        QCOMPARE(grid->rowCount(), 4);
        QCOMPARE(cell(f, 3, 4), QStringLiteral("企业代码"));

        const QString png = qEnvironmentVariable("GZGL_GRAB_DIR");
        if (!png.isEmpty()) {
            f.show();
            f.grab().save(png + "/frmBP.png");
        }
    }

    void doubleClicksCycleAndTheEditBoxTakesTwoCharacters() {
        BankTask b;
        frmBP f(b.t.s, b.t.prompt);
        pickItems(f, {"银行账号", "合计"});
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        auto* grid = child<QTableWidget>(&f, "msfModel");
        doubleClick(grid, 0, 3);
        QCOMPARE(cell(f, 0, 3), QStringLiteral("1:中对齐"));
        doubleClick(grid, 1, 5);
        QCOMPARE(cell(f, 1, 5), QString());
        doubleClick(grid, 1, 1);
        QCOMPARE(rowTexts(f, 1), (QStringList{"合计", "字符", "15", "2:右对齐", "F005", "", ""}));
        doubleClick(grid, 1, 1);
        QCOMPARE(rowTexts(f, 1), (QStringList{"合计", "数字", "15", "2:右对齐", "F005", "显示", "7"}));
        // Names and sources are not typed over.
        doubleClick(grid, 0, 0);
        QVERIFY(!grid->viewport()->findChild<QLineEdit*>());

        doubleClick(grid, 1, 2);
        auto* editor = grid->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->clear();
        QTest::keyClicks(editor, "123");
        QCOMPARE(editor->text(), QStringLiteral("12"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(cell(f, 1, 2), QStringLiteral("12"));

        // A width still being typed when 确　　定 is pressed is saved.
        doubleClick(grid, 0, 2);
        editor = grid->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setText("9");
        click(&f, "cmdOk");
        QCOMPARE(QString::fromStdString(b.t.prompt.last()), QStringLiteral("银行报盘文件格式存贮完毕！"));
        QCOMPARE(exchange::loadBankTemplate(exchange::bankTemplatePath(b.t.s)).tpl.rows.at(0).width, std::string("9"));
    }

    void rowsMoveAndGoWithinTheirBounds() {
        BankTask b;
        frmBP f(b.t.s, b.t.prompt);
        pickItems(f, {"银行账号", "姓名", "合计"});
        auto* grid = child<QTableWidget>(&f, "msfModel");
        grid->setCurrentCell(0, 0);
        click(&f, "cmdUp");
        QCOMPARE(QString::fromStdString(b.t.prompt.last()), QStringLiteral("不能再向上移了！"));
        click(&f, "cmdDown");
        QCOMPARE(cell(f, 1, 0), QStringLiteral("银行账号"));
        QCOMPARE(grid->currentRow(), 1);
        click(&f, "cmdDown");
        QCOMPARE(grid->currentRow(), 2);
        b.t.prompt.clear();
        click(&f, "cmdDown");
        QCOMPARE(QString::fromStdString(b.t.prompt.last()), QStringLiteral("不能再向下移了！"));
        QCOMPARE((QStringList{cell(f, 0, 0), cell(f, 1, 0), cell(f, 2, 0)}),
                 (QStringList{"姓名", "合计", "银行账号"}));
        // A row added by mistake can go again.
        click(&f, "cmdDel");
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(grid->currentRow(), 1);
        QCOMPARE(cell(f, 1, 0), QStringLiteral("合计"));
    }

    void savedTemplateReloadsIntoTheSameRows() {
        BankTask b;
        exchange::BankTemplate saved;
        {
            frmBP f(b.t.s, b.t.prompt);
            accountNameTotal(b, f);
            auto* grid = child<QTableWidget>(&f, "msfModel");
            grid->item(2, 6)->setText("12"); // more digits than the width 10
            f.cycle(0, 3);
            child<QLineEdit>(&f, "txtHead")->setText(QStringLiteral("工资 2006-02"));
            child<QLineEdit>(&f, "txtTail")->setText("END");
            pickDepartment(f, "02");
            pickDepartment(f, "01");
            pickDepartment(f, "02"); // listed already
            QCOMPARE(child<QListWidget>(&f, "txtDep")->count(), 2);
            QCOMPARE(child<QListWidget>(&f, "txtDep")->item(0)->text(), QStringLiteral("02 车间"));
            click(&f, "cmdOk");
            QCOMPARE(QString::fromStdString(b.t.prompt.last()), QStringLiteral("银行报盘文件格式存贮完毕！"));
            QCOMPARE(cell(f, 2, 6), QStringLiteral("10"));
            saved = f.currentTemplate();
        }
        // The options are not part of the template: they start afresh.
        frmBP again(b.t.s, b.t.prompt);
        QCOMPARE(again.currentTemplate(), saved);
        QCOMPARE(rowTexts(again, 0), (QStringList{"银行账号", "字符", "8", "1:中对齐", "银行账号", "", ""}));
        QCOMPARE(child<QLineEdit>(&again, "txtHead")->text(), QStringLiteral("工资 2006-02"));
        QCOMPARE(child<QComboBox>(&again, "CmDep")->currentIndex(), 0);
        QCOMPARE(child<QLineEdit>(&again, "txtName")->text(), QStringLiteral("NJGZ.TXT"));
    }

    void nonDigitWidthIsRefusedAndNothingSaved() {
        BankTask b;
        frmBP f(b.t.s, b.t.prompt);
        accountNameTotal(b, f);
        click(&f, "cmdOk");
        const std::string path = exchange::bankTemplatePath(b.t.s);
        const std::string before = bytesOf(path);
        QVERIFY(!before.empty());

        auto* grid = child<QTableWidget>(&f, "msfModel");
        grid->item(1, 2)->setText("6a");
        grid->setCurrentCell(0, 0);
        click(&f, "cmdOk");
        QCOMPARE(QString::fromStdString(b.t.prompt.last()), QStringLiteral("含有非法字符！"));
        QCOMPARE(bytesOf(path), before);
        QCOMPARE(grid->currentRow(), 1);
        QCOMPARE(grid->currentColumn(), 2);
        // Nor is a file written from it.
        b.t.prompt.clear();
        f.action("File")->trigger();
        QCOMPARE(QString::fromStdString(b.t.prompt.last()), QStringLiteral("含有非法字符！"));
        QVERIFY(!std::filesystem::exists(b.monthFile()));
    }

    void damagedTemplateFileIsReportedOnceOnOpening() {
        BankTask b;
        std::ofstream(exchange::bankTemplatePath(b.t.s), std::ios::binary)
            << toGbk("标1HEAD\r\n行01乱码\r\n行02又乱\r\n尾1\r\n");
        frmBP f(b.t.s, b.t.prompt);
        QCOMPARE(b.t.prompt.messages.size(), std::size_t{1});
        QVERIFY(b.t.prompt.last().find("第 ") != std::string::npos);
        QCOMPARE(child<QLineEdit>(&f, "txtHead")->text(), QStringLiteral("HEAD"));
    }

    void fileButtonWritesTheMonthAndAsksBeforeReplacingIt() {
        BankTask b;
        QtPrompt boxes;
        frmBP f(b.t.s, boxes);
        accountNameTotal(b, f);
        child<QLineEdit>(&f, "txtHead")->setText("HEAD");
        QStringList shown;
        bool replace = true;
        test::ModalWatcher watcher;
        watcher.answer = [&](QDialog* d) {
            auto* box = qobject_cast<QMessageBox*>(d);
            if (!box)
                return false;
            shown << box->text();
            if (box->button(QMessageBox::Yes))
                box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
            else
                box->accept();
            return true;
        };
        const std::string lines = "62220001张三     1234.57\r\n"
                                  "6222000 李四     6000.00\r\n";
        f.action("File")->trigger();
        QCOMPARE(shown, QStringList{"文件生成完毕！"});
        QCOMPARE(bytesOf(b.monthFile()), toGbk("HEAD\r\n" + lines));

        // A second run replaces the file only when told so.
        child<QCheckBox>(&f, "CKXH")->setChecked(true);
        shown.clear();
        f.action("File")->trigger();
        QCOMPARE(shown, (QStringList{"本月银行报盘文件已经存在，是否覆盖？", "文件生成完毕！"}));
        const std::string numbered = toGbk("HEAD\r\n1\t62220001张三     1234.57\r\n"
                                           "2\t6222000 李四     6000.00\r\n");
        QCOMPARE(bytesOf(b.monthFile()), numbered);
        replace = false;
        child<QComboBox>(&f, "Cmbfg")->setCurrentText(",");
        shown.clear();
        f.action("File")->trigger();
        QCOMPARE(shown, QStringList{"本月银行报盘文件已经存在，是否覆盖？"});
        QCOMPARE(bytesOf(b.monthFile()), numbered);
    }

    void separatorChoicesAndAccountOrderReachTheFile() {
        BankTask b;
        frmBP f(b.t.s, b.t.prompt);
        accountNameTotal(b, f);
        auto* sep = child<QComboBox>(&f, "Cmbfg");
        sep->setCurrentIndex(sep->count() - 1); // the TAB choice
        QCOMPARE(f.options().separator, std::string("\t"));
        sep->setCurrentText("##");
        QCOMPARE(f.options().separator, std::string("##"));
        child<QCheckBox>(&f, "chkBank")->setChecked(true);
        f.action("File")->trigger();
        QCOMPARE(QString::fromStdString(b.t.prompt.last()), QStringLiteral("文件生成完毕！"));
        QCOMPARE(bytesOf(b.monthFile()), toGbk("6222000##李四##6000.00\r\n62220001##张三##1234.57\r\n"));
    }

    void includeModeNeedsDepartmentsAndTheListShrinks() {
        BankTask b;
        frmBP f(b.t.s, b.t.prompt);
        accountNameTotal(b, f);
        child<QComboBox>(&f, "CmDep")->setCurrentIndex(1);
        f.action("File")->trigger();
        QCOMPARE(QString::fromStdString(b.t.prompt.last()), QStringLiteral("请选择需报送银行的部门！"));
        QVERIFY(!std::filesystem::exists(b.monthFile()));

        pickDepartment(f, "02");
        pickDepartment(f, "01");
        {
            // 减少部门 takes 02 out of both lists.
            test::ModalWatcher watcher;
            watcher.answer = [](QDialog* d) {
                auto* list = child<QListWidget>(d, "lstDep");
                list->setCurrentRow(0);
                click(d, "cmdWipe");
                if (list->count() != 1)
                    return false;
                click(d, "cmdCandel");
                return true;
            };
            click(&f, "cmdSel1");
            QCOMPARE(watcher.seen, QStringList{"frmBankHelp"});
        }
        auto* deps = child<QListWidget>(&f, "txtDep");
        QCOMPARE(deps->count(), 1);
        QCOMPARE(deps->item(0)->text(), QStringLiteral("01 总部"));
        f.action("File")->trigger();
        QCOMPARE(bytesOf(b.monthFile()), toGbk("62220001张三     1234.57\r\n"));

        // With the list empty 减少部门 opens nothing.
        deps->clear();
        test::ModalWatcher none;
        click(&f, "cmdSel1");
        QVERIFY(none.seen.isEmpty());
    }

    void printAndDiskShowTheirRefusalsAndCopy() {
        BankTask b;
        frmBP f(b.t.s, b.t.prompt);
        f.action("Print")->trigger();
        QCOMPARE(QString::fromStdString(b.t.prompt.last()), QStringLiteral("请选择预览项目！"));

        accountNameTotal(b, f);
        QTemporaryDir disk;
        QString folder;
        f.setFolderChooser([&folder] { return folder; });
        f.action("Disk")->trigger(); // the folder dialog cancelled
        QVERIFY(b.t.prompt.messages.empty());
        folder = disk.path();
        f.action("Disk")->trigger(); // no file this month yet
        QVERIFY(!b.t.prompt.messages.empty());
        QVERIFY(!QFile::exists(disk.filePath("NJGZ.TXT")));

        f.action("File")->trigger();
        f.action("Disk")->trigger();
        QCOMPARE(QString::fromStdString(b.t.prompt.last()), QStringLiteral("文件复制完毕！"));
        QCOMPARE(bytesOf(disk.filePath("NJGZ.TXT").toStdString()), bytesOf(b.monthFile()));
        b.t.prompt.answers = {false};
        f.action("Disk")->trigger();
        QCOMPARE(QString::fromStdString(b.t.prompt.last()), QStringLiteral("磁盘中已有报盘文件，是否覆盖？"));

        // The control list of a template with rows opens the preview.
        test::ModalWatcher watcher;
        f.action("Print")->trigger();
        QCOMPARE(watcher.seen.size(), 1);
    }
};

QTEST_MAIN(TestBank)
#include "test_bank.moc"
