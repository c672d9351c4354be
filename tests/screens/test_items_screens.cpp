// The item screens' wiring: what is typed reaches the engine, the lists
// follow, refusals show their message and leave the screen as it was.
#include "core/login.h"
#include "items/cumulative_tax.h"
#include "items/formulas.h"
#include "items/itemcode.h"
#include "screens/items/frmAddOption.h"
#include "screens/items/frmAlterOption.h"
#include "screens/items/frmItemHelp.h"
#include "screens/items/frmOption.h"
#include "screens/items/frmSalarySet.h"
#include "screens/session/frmMain.h"
#include "support/qt_test_support.h"
#include "support/test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

using namespace gzgl;
using gzgl::test::child;
using gzgl::test::click;

class TestItemsScreens : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempHome> home;
    std::unique_ptr<Session> s;
    test::RecordingPrompt p;

    static QStringList column(QTableWidget* g, int c) {
        QStringList out;
        for (int r = 0; r < g->rowCount(); ++r)
            out << g->item(r, c)->text();
        return out;
    }
    static void selectWaiting(frmOption& o, const QString& code) {
        auto* list = child<QListWidget>(&o, "lstWait");
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->data(Qt::UserRole).toString() == code)
                list->setCurrentRow(i);
    }

private slots:
    void init() {
        home = std::make_unique<test::TempHome>();
        s = std::make_unique<Session>();
        test::openHome(*s, home->path);
        test::makeTask(*s, "一车间", "管理员", "pw");
        QVERIFY(loginByName(*s, p, "一车间", "管理员", "pw"));
        p.clear();
    }
    void cleanup() {
        s.reset();
        home.reset();
    }

    void itemAddedThroughTheDialogShowsInTheList() {
        frmOption o(*s, p);
        o.show();
        auto* list = child<QTableWidget>(&o, "fgdList");
        QCOMPARE(list->rowCount(), 7);
        click(&o, "cmdAdd");
        auto* add = o.findChild<frmAddOption*>();
        QVERIFY(add);
        child<QLineEdit>(add, "txtSubject")->setText("岗位津贴");
        child<QComboBox>(add, "cmbKind")->setCurrentIndex(0); // 数字
        child<QLineEdit>(add, "txtPrec")->setText("2");
        click(add, "cmdOk");
        QVERIFY2(p.messages.empty(), p.last().c_str());
        QCOMPARE(list->rowCount(), 8);
        QCOMPARE(list->item(7, 1)->text(), QStringLiteral("F004"));
        QCOMPARE(list->item(7, 2)->text(), QStringLiteral("岗位津贴"));
        // Ready for the next item: name cleared, focus back on it.
        QVERIFY(child<QLineEdit>(add, "txtSubject")->text().isEmpty());
        // The formula page offers the new number item.
        QVERIFY(column(child<QTableWidget>(&o, "fgdList"), 1).contains("F004"));
        auto* wait = child<QListWidget>(&o, "lstWait");
        QCOMPARE(wait->item(wait->count() - 1)->data(Qt::UserRole).toString(), QStringLiteral("F004"));
    }

    void refusedNameShowsItsMessageAndKeepsTheDialog() {
        frmOption o(*s, p);
        o.show();
        frmAddOption* add = o.openAddDialog();
        QApplication::setActiveWindow(add);
        auto* name = child<QLineEdit>(add, "txtSubject");
        name->setText("2号补贴");
        child<QComboBox>(add, "cmbKind")->setCurrentIndex(0);
        click(add, "cmdOk");
        QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("项目名称起始必须为字符。"));
        QCOMPARE(QString::fromStdString(p.messages.back().title), QStringLiteral("提示窗"));
        QCOMPARE(name->text(), QStringLiteral("2号补贴"));
        QCOMPARE(QApplication::focusWidget(), name);
        QCOMPARE(child<QTableWidget>(&o, "fgdList")->rowCount(), 7);
        // No type chosen: the box still shows its prompt.
        name->setText("补贴");
        child<QComboBox>(add, "cmbKind")->setCurrentIndex(-1);
        click(add, "cmdOk");
        QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("请选择数据类型！"));
    }

    void enterMovesThroughTheAddFields() {
        frmAddOption add(*s, p);
        add.show();
        QApplication::setActiveWindow(&add);
        auto* name = child<QLineEdit>(&add, "txtSubject");
        name->setFocus();
        name->setText("奖金");
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), child<QComboBox>(&add, "cmbKind"));
        child<QComboBox>(&add, "cmbKind")->setCurrentIndex(0);
        QTest::keyClick(child<QComboBox>(&add, "cmbKind"), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(&add, "txtPrec"));
        // A date item has no precision: Enter skips the disabled box.
        child<QComboBox>(&add, "cmbKind")->setCurrentIndex(2);
        QVERIFY(!child<QLineEdit>(&add, "txtPrec")->isEnabled());
        QVERIFY(!child<QCheckBox>(&add, "chkShow")->isChecked());
    }

    void accountPickLocksNameAndType() {
        frmAddOption add(*s, p);
        add.show();
        click(&add, "CmImp");
        auto* lda = child<QListWidget>(&add, "LDa");
        QVERIFY(lda->isVisible());
        QListWidgetItem* bank = lda->findItems(QStringLiteral("银行账号"), Qt::MatchExactly).value(0);
        QVERIFY(bank);
        emit lda->itemDoubleClicked(bank);
        QVERIFY(!lda->isVisible());
        QCOMPARE(child<QLineEdit>(&add, "txtSubject")->text(), QStringLiteral("银行账号"));
        QVERIFY(!child<QLineEdit>(&add, "txtSubject")->isEnabled());
        QCOMPARE(child<QComboBox>(&add, "cmbKind")->currentText(), QStringLiteral("文字"));
        QVERIFY(!child<QCheckBox>(&add, "chkShow")->isChecked());
        click(&add, "cmdOk");
        QVERIFY(items::findItem(*s, "FFFH"));
        QVERIFY(child<QLineEdit>(&add, "txtSubject")->isEnabled());
    }

    void changeDialogLocksBuiltInFields() {
        frmOption o(*s, p);
        o.show();
        auto* list = child<QTableWidget>(&o, "fgdList");
        list->selectRow(3); // F003
        frmAlterOption* alter = o.openAlterDialog();
        QVERIFY(alter);
        QVERIFY(!child<QLineEdit>(alter, "txtCode")->isEnabled());
        QVERIFY(!child<QLineEdit>(alter, "txtSubject")->isEnabled());
        QVERIFY(!child<QComboBox>(alter, "cmbKind")->isEnabled());
        child<QCheckBox>(alter, "chkPrint")->setChecked(false);
        click(alter, "cmdOk");
        QVERIFY2(p.messages.empty(), p.last().c_str());
        QCOMPARE(list->item(3, 6)->text(), QString());
    }

    void formulaPageAddsAndRemovesLines() {
        items::ItemFields f;
        f.name = "所得税";
        f.type = items::kNumber;
        QVERIFY(items::addItem(*s, f).outcome.ok);
        frmOption o(*s, p);
        o.show();
        auto* lines = child<QTableWidget>(&o, "fgAlready");
        click(&o, "picAdd");
        QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("请选择需要添加的项目！"));
        selectWaiting(o, "F004");
        child<QLineEdit>(&o, "txtFormula")->setText("F003 * 0.1");
        click(&o, "picAdd");
        QCOMPARE(lines->rowCount(), 1);
        QCOMPARE(lines->item(0, 1)->text(), QStringLiteral("F003*0.1"));
        QVERIFY(!items::hasDataColumn(*s, "F004"));
        child<QLineEdit>(&o, "txtFormula")->setText("F004=F003");
        click(&o, "picAdd");
        QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("请将公式中\"=\"及\"=\"左边的内容删去！"));
        // Net pay before the tax it subtracts: asked, kept on Yes, listed.
        selectWaiting(o, "F000");
        child<QLineEdit>(&o, "txtFormula")->setText("F003-F004");
        p.answers = {true};
        click(&o, "picAdd");
        QCOMPARE(lines->rowCount(), 2);
        lines->selectRow(1);
        lines->setCurrentCell(1, 0);
        p.answers = {true};
        click(&o, "picUp");
        QVERIFY(QString::fromStdString(p.messages[p.messages.size() - 1].text).startsWith(
            QStringLiteral("第1行（实发工资 F000）中的“所得税”(F004)由后面的第2行计算")));
        click(&o, "cmdOrder");
        QCOMPARE(QString::fromStdString(p.last()),
                 QStringLiteral("第1行（实发工资 F000）中的“所得税”(F004)由后面的第2行计算，本行将使用其计算前的值。"));
        lines->selectRow(1);
        lines->setCurrentCell(1, 0);
        click(&o, "picUp");
        click(&o, "cmdOrder");
        QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("公式顺序没有问题。"));
        lines->selectRow(0);
        lines->setCurrentCell(0, 0);
        click(&o, "picLeft");
        QCOMPARE(lines->rowCount(), 1);
        QVERIFY(items::hasDataColumn(*s, "F004"));
    }

    void taxPageRefusesABadCellAndGeneratesLines() {
        items::ItemFields f;
        f.name = "所得税";
        f.type = items::kNumber;
        QVERIFY(items::addItem(*s, f).outcome.ok);
        frmOption o(*s, p);
        o.show();
        auto* rate = child<QTableWidget>(&o, "msfRate");
        QCOMPARE(rate->rowCount(), 7);
        QCOMPARE(rate->item(0, 0)->text(), QStringLiteral("1000.00"));
        rate->item(0, 0)->setText("12a");
        QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("含有非法字符！"));
        QCOMPARE(rate->item(0, 0)->text(), QStringLiteral("1000.00"));
        rate->item(0, 2)->setText("6");
        QCOMPARE(rate->item(0, 2)->text(), QStringLiteral("6.00"));

        click(&o, "picRate");
        QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("必须输入起征值!"));
        child<QLineEdit>(&o, "txtstart")->setText("800");
        selectWaiting(o, "F004");
        click(&o, "picRate");
        QCOMPARE(child<QTableWidget>(&o, "fgAlready")->rowCount(), 7);
        QCOMPARE(child<QLineEdit>(&o, "txtFormula")->text(),
                 QStringLiteral("{F003-800>61000,(F003-800)*0.35-6375}"));
        click(&o, "cmdSave");
        QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("成功存贮完毕！"));
        QCOMPARE(items::loadTaxRows(*s)[0].rate, std::string("6.00"));
    }

    void cumulativeTaxPageChoosesItemsAndGeneratesLines() {
        for (const char* name : {"社保公积金", "个人所得税"}) {
            items::ItemFields f;
            f.name = name;
            f.type = items::kNumber;
            QVERIFY(items::addItem(*s, f).outcome.ok);
        }
        frmOption o(*s, p);
        o.show();
        auto* method = child<QComboBox>(&o, "cmbMethod");
        auto* pages = child<QStackedWidget>(&o, "stkTax");
        QCOMPARE(method->currentText(), QStringLiteral("按月税率表"));
        QCOMPARE(pages->currentIndex(), 0);
        child<QTabWidget>(&o, "tbsOptions")->setCurrentIndex(2);

        // Choosing the method brings its items into the lists at once.
        method->setCurrentIndex(1);
        emit method->activated(1);
        QVERIFY2(p.last().starts_with("计税方法已改为“累计预扣法”"), p.last().c_str());
        QCOMPARE(pages->currentIndex(), 1);
        QVERIFY(column(child<QTableWidget>(&o, "fgdList"), 1).contains("FFF3"));
        auto* year = child<QTableWidget>(&o, "msfYearRate");
        QCOMPARE(year->rowCount(), 7);
        QCOMPARE(year->item(1, 1)->text(), QStringLiteral("144000.00"));
        QCOMPARE(year->item(6, 1)->text(), QString());
        QCOMPARE(child<QLineEdit>(&o, "txtDeduct")->text(), QStringLiteral("5000.00"));
        year->item(0, 3)->setText("1%");
        QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("含有非法字符！"));
        QCOMPARE(year->item(0, 3)->text(), QStringLiteral("0.00"));

        auto choose = [&o](const char* box, const QString& code) {
            auto* c = child<QComboBox>(&o, box);
            c->setCurrentIndex(c->findData(code));
        };
        auto* deductions = child<QListWidget>(&o, "lstDeduct");
        auto tick = [deductions](const QString& code, bool on) {
            for (int i = 0; i < deductions->count(); ++i)
                if (deductions->item(i)->data(Qt::UserRole).toString() == code)
                    deductions->item(i)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
        };
        QCOMPARE(child<QComboBox>(&o, "cmbTax")->findData("F003"), -1);
        choose("cmbIncome", "F003");
        choose("cmbTax", "F005");
        tick("F005", true);
        // The same item as tax and deduction: refused, nothing stored.
        click(&o, "cmdCumulative");
        QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("“个人所得税”选择了两次！"));
        QCOMPARE(items::loadCumulativeChoice(*s).tax, std::string());
        QCOMPARE(child<QTableWidget>(&o, "fgAlready")->rowCount(), 0);
        tick("F005", false);
        tick("F004", true);
        click(&o, "cmdCumulative");
        QCOMPARE(QString::fromStdString(p.last()), QStringLiteral("累计预扣公式已生成！"));
        QCOMPARE(child<QTableWidget>(&o, "fgAlready")->rowCount(), 8);
        QCOMPARE((items::CumulativeChoice{"F003", {"F004"}, "F005"}), items::loadCumulativeChoice(*s));

        if (const QString png = qEnvironmentVariable("GZGL_GRAB_DIR"); !png.isEmpty()) {
            QTest::qWait(100);
            QVERIFY(o.grab().save(png + "/frmOption_cumulative.png"));
            o.resize(1300, 700);
            QTest::qWait(100);
            QVERIFY(o.grab().save(png + "/frmOption_cumulative_wide.png"));
        }
        // Back to the monthly brackets: the page turns, the lines stay for
        // the clerk to replace.
        method->setCurrentIndex(0);
        emit method->activated(0);
        QCOMPARE(pages->currentIndex(), 0);
        QCOMPARE(items::loadTaxMethod(*s), std::string("按月税率表"));
    }

    void mainWindowOpensTheItemScreen() {
        frmMain w(*s, p);
        w.show();
        w.runCommand(Command::BaseInfoSubject);
        const auto subs = w.mdiArea()->subWindowList();
        QCOMPARE(subs.size(), 1);
        QVERIFY(qobject_cast<frmOption*>(subs[0]->widget()));
        w.runNavigationCode("21");
        QCOMPARE(w.mdiArea()->subWindowList().size(), 2);
    }

    void pickersAnswerPlainValues() {
        frmItemHelp pick(*s, "F003,FFFF");
        auto* list = child<QListWidget>(&pick, "lstItem");
        QCOMPARE(pick.codes(), QStringLiteral("F003,FFFF"));
        list->item(0)->setCheckState(Qt::Checked); // F000
        QCOMPARE(pick.codes(), QStringLiteral("F000,F003,FFFF"));

        frmSalarySet set(*s);
        QSignalSpy begun(&set, &frmSalarySet::begun);
        child<QLineEdit>(&set, "txtDep")->setText("01");
        click(&set, "cmdClear");
        click(&set, "cmdBegin");
        QCOMPARE(begun.size(), 1);
        const items::SalarySettings got = set.settings();
        QCOMPARE(got.department, std::string("01"));
        QCOMPARE(got.codes, (std::vector<std::string>{"F001", "F002"}));
    }
};

QTEST_MAIN(TestItemsScreens)
#include "test_items_screens.moc"
