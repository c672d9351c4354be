// The employee and staff-transfer screens' wiring: what is typed reaches
// the engine, proposals and lists follow a save, refusals show their
// message and leave the focus on the field, and the optional fields follow
// the task's option.
#include "base/tree.h"
#include "screens/base/BaseSettings.h"
#include "screens/base/BaseWidgets.h"
#include "screens/base/DatePopup.h"
#include "screens/base/frmAddEmp.h"
#include "screens/base/frmAddEmpApplst.h"
#include "screens/base/frmEmp.h"
#include "screens/base/frmSort.h"
#include "screens/base/frmTrans.h"
#include "support/payroll_fixture.h"
#include "support/qt_test_support.h"

#include <QAction>
#include <QCalendarWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableView>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

using namespace gzgl;
using gzgl::test::child;
using gzgl::test::click;

namespace {

struct RecordingProgress : Progress {
    std::vector<std::string> calls;
    void begin(const std::string& status, int) override { calls.push_back("begin" + status); }
    void step() override { calls.push_back("step"); }
    void end() override { calls.push_back("end"); }
};

QString text(const QWidget* w, const char* name) {
    if (auto* e = w->findChild<QLineEdit*>(name))
        return e->text();
    return child<QComboBox>(w, name)->currentText();
}

void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

} // namespace

class TestEmployeeScreens : public QObject {
    Q_OBJECT

    std::unique_ptr<test::PayrollTask> t;
    test::RecordingPrompt& p() { return t->prompt; }
    Session& s() { return t->s; }

    void department(const std::string& code, const std::string& name, int level, bool leaf) {
        s().taskConn.execute("Insert Into " + t->table("Depart") +
                                 "(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) Values(?,?,'',?,?)",
                             {code, name, level, leaf ? 1 : 0});
    }
    std::string field(const std::string& empNo, const char* column) {
        return s().taskConn.scalar(std::string("Select ") + column + " From " + t->table("Employee") +
                                       " Where F_EmpNo=?",
                                   {empNo})
            .toString();
    }
    std::int64_t count(const char* suffix) {
        return s().taskConn.scalar("Select count(*) From " + t->table(suffix)).toInt();
    }
    static void activate(QWidget& w) {
        w.show();
        QApplication::setActiveWindow(&w);
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName("gzgl-test");
        QCoreApplication::setApplicationName("test_employee_screens");
    }
    void init() {
        t = std::make_unique<test::PayrollTask>();
        department("01", "生产部", 1, false);
        department("0101", "一车间", 2, true);
        department("0102", "二车间", 2, true);
        department("02", "销售部", 1, true);
        t->exceptions(false);
        p().clear();
    }
    void cleanup() { t.reset(); }

    // ---- frmAddEmp ---------------------------------------------------------

    void addEmpProposesSavesAndProposesTheNext() {
        frmAddEmp add(s(), p());
        activate(add);
        auto* sortNo = child<QSpinBox>(&add, "txtSortNo");
        QCOMPARE(text(&add, "txtEmpNo"), QStringLiteral("0001"));
        QCOMPARE(text(&add, "cmbDep"), QStringLiteral("0101  一车间"));
        QCOMPARE(sortNo->value(), 1);
        QCOMPARE(child<QComboBox>(&add, "cmbDep")->count(), 3); // leaves only

        child<QLineEdit>(&add, "txtEmpName")->setText("张三");
        child<QComboBox>(&add, "cmbSex")->setCurrentText("男");
        child<QComboBox>(&add, "cmbNation")->setEditText("汉");
        child<QLineEdit>(&add, "txtCID")->setText("110101199001010011");
        child<QLineEdit>(&add, "txtCharacter")->setText("12");
        child<QLineEdit>(&add, "txtRq1")->setText("2024.02.29");
        click(&add, "cmdOk");
        QVERIFY2(p().messages.empty(), p().last().c_str());

        for (const auto& [column, value] : std::initializer_list<std::pair<const char*, const char*>>{
                 {"F_DepNo", "0101"}, {"F_EmpName", "张三"}, {"F_Sex", "男"}, {"F_Nation", "汉"},
                 {"F_CID", "110101199001010011"}, {"F_SortNo", "1"}, {"F_Character", "12"},
                 {"F_LashMonth", "2024.02.29"}})
            QCOMPARE(field("0001", column), std::string(value));
        QCOMPARE(count("Data"), std::int64_t(1));

        // Ready for the next one: new proposals, personal fields emptied,
        // the department kept.
        QCOMPARE(text(&add, "txtEmpNo"), QStringLiteral("0002"));
        QCOMPARE(sortNo->value(), 2);
        QCOMPARE(text(&add, "cmbDep"), QStringLiteral("0101  一车间"));
        for (const char* name : {"txtEmpName", "txtCID", "txtCharacter", "txtRq1", "cmbSex", "cmbNation"})
            QVERIFY2(text(&add, name).isEmpty(), name);
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(&add, "txtEmpName"));

        // Another department proposes its own next sort number.
        child<QComboBox>(&add, "cmbDep")->setCurrentIndex(2);
        QCOMPARE(text(&add, "cmbDep"), QStringLiteral("02  销售部"));
        QCOMPARE(sortNo->value(), 1);
        child<QComboBox>(&add, "cmbDep")->setCurrentIndex(0);
        QCOMPARE(sortNo->value(), 2);
    }

    void addEmpRefusalShowsTheFormattedCodeAndFocusesTheField() {
        frmAddEmp add(s(), p());
        activate(add);
        child<QLineEdit>(&add, "txtEmpNo")->setText("7");
        click(&add, "cmdOk");
        QCOMPARE(p().last(), std::string("员工姓名不能为空！"));
        QCOMPARE(text(&add, "txtEmpNo"), QStringLiteral("0007"));
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(&add, "txtEmpName"));
        QCOMPARE(count("Employee"), std::int64_t(0));

        p().clear();
        child<QLineEdit>(&add, "txtEmpName")->setText("李四");
        child<QLineEdit>(&add, "txtCharacter")->setText("12a");
        click(&add, "cmdOk");
        QCOMPARE(p().last(), std::string("含有非法字符！"));
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(&add, "txtCharacter"));
        QCOMPARE(count("Employee"), std::int64_t(0));

        // Mended, the typed code is the one saved.
        p().clear();
        child<QLineEdit>(&add, "txtCharacter")->clear();
        click(&add, "cmdOk");
        QVERIFY2(p().messages.empty(), p().last().c_str());
        QCOMPARE(field("0007", "F_EmpName"), std::string("李四"));
        QCOMPARE(text(&add, "txtEmpNo"), QStringLiteral("0008"));
    }

    void notCalculatedFieldsFollowTheTaskOption() {
        int shortHeight = 0;
        {
            frmAddEmp add(s(), p());
            add.show();
            for (const char* name : {"lblNotCalc", "txtNotCalc", "cmdNotCalc"})
                QVERIFY2(!child<QWidget>(&add, name)->isVisible(), name);
            shortHeight = add.height();
            frmEmp emp(s(), p(), "0001");
            emp.show();
            QVERIFY(!child<QWidget>(&emp, "txtNotCalc")->isVisible());
            QVERIFY(!child<QWidget>(&emp, "cmdNotCalc1")->isVisible());
        }
        t->exceptions(true);
        frmAddEmp add(s(), p());
        add.show();
        for (const char* name : {"lblNotCalc", "txtNotCalc", "cmdNotCalc"})
            QVERIFY2(child<QWidget>(&add, name)->isVisible(), name);
        QVERIFY(add.height() > shortHeight);
        QCOMPARE(child<QLineEdit>(&add, "txtNotCalc")->maxLength(), 1000);
        frmEmp emp(s(), p(), "0001");
        emp.show();
        QVERIFY(child<QWidget>(&emp, "cmdNotCalc1")->isVisible());
    }

    void enterMovesFieldByFieldSkippingHiddenOnes() {
        frmAddEmp add(s(), p());
        activate(add);
        auto* name = child<QLineEdit>(&add, "txtEmpName");
        name->setFocus();
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), child<QComboBox>(&add, "cmbSex"));
        auto* sortNo = child<QSpinBox>(&add, "txtSortNo");
        sortNo->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(&add, "txtCharacter"));
        // The not-calculated box is hidden: the date leads to OK, and Enter
        // there saves.
        auto* date = child<QLineEdit>(&add, "txtRq1");
        date->setFocus();
        QTest::keyClick(date, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), child<QPushButton>(&add, "cmdOk"));
        name->setText("王五");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(field("0001", "F_EmpName"), std::string("王五"));
    }

    void leavingAWrongJoiningDateKeepsTheFocusThere() {
        frmAddEmp add(s(), p());
        activate(add);
        auto* date = child<QLineEdit>(&add, "txtRq1");
        date->setText("2024.02.30");
        date->setFocus();
        child<QLineEdit>(&add, "txtCID")->setFocus();
        settle();
        QCOMPARE(p().last(), std::string("错误的日期"));
        QCOMPARE(p().messages.back().icon, Icon::Information);
        QCOMPARE(p().messages.back().title, s().productTitle);
        QCOMPARE(QApplication::focusWidget(), date);
        QCOMPARE(date->selectedText(), QStringLiteral("2024.02.30"));

        p().clear();
        date->setText("2024.02.29");
        child<QLineEdit>(&add, "txtCID")->setFocus();
        settle();
        QVERIFY(p().messages.empty());
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(&add, "txtCID"));
    }

    void calendarStartsAtTheBoxDateAndWritesTheChoiceBack() {
        frmAddEmp add(s(), p());
        activate(add);
        auto* date = child<QLineEdit>(&add, "txtRq1");
        date->setText("2024.02.29");
        click(&add, "cmdRq1");
        QPointer<DatePopup> popup = add.findChild<DatePopup*>();
        QVERIFY(popup);
        QCOMPARE(popup->calendar()->selectedDate(), QDate(2024, 2, 29));
        emit popup->calendar()->clicked(QDate(2023, 11, 5));
        QCOMPARE(date->text(), QStringLiteral("2023.11.05"));
        QTRY_VERIFY(popup.isNull());

        date->setText("2024.13.01");
        click(&add, "cmdRq1");
        popup = add.findChild<DatePopup*>();
        QVERIFY(popup);
        QCOMPARE(popup->calendar()->selectedDate(), QDate::currentDate());
        popup->close();
    }

    void itemListAppendsThePickedCodeOnce() {
        t->item("F004", "岗位津贴");
        t->formula("F004", "F004=100");
        QLineEdit target;
        target.setText("F003");
        frmAddEmpApplst list(s(), &target);
        auto* items = child<QListWidget>(&list, "lstApp");
        const auto found = items->findItems(QStringLiteral("F004 岗位津贴"), Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        items->setCurrentItem(found.front());
        QTest::keyClick(items, Qt::Key_Return);
        QCOMPARE(target.text(), QStringLiteral("F003,F004"));
        emit items->itemDoubleClicked(found.front());
        QCOMPARE(target.text(), QStringLiteral("F003,F004"));
    }

    // ---- frmEmp ------------------------------------------------------------

    void empLoadsAndSavesAChange() {
        t->employee("0001", "张三", "0101", 3);
        frmEmp emp(s(), p(), "0001");
        activate(emp);
        QCOMPARE(text(&emp, "txtEmpName"), QStringLiteral("张三"));
        QCOMPARE(text(&emp, "cmbDep"), QStringLiteral("0101  一车间"));
        QCOMPARE(child<QSpinBox>(&emp, "txtSortNo")->value(), 3);
        child<QLineEdit>(&emp, "txtEmpName")->setText("张山");
        child<QComboBox>(&emp, "cmbDep")->setEditText("02");
        child<QLineEdit>(&emp, "txtAccNo")->setText("6222");
        click(&emp, "cmdModify");
        QVERIFY2(p().messages.empty(), p().last().c_str());
        QVERIFY(emp.saved());
        QCOMPARE(emp.savedCode(), std::string("0001"));
        QCOMPARE(emp.result(), int(QDialog::Accepted));
        QCOMPARE(field("0001", "F_EmpName"), std::string("张山"));
        QCOMPARE(field("0001", "F_DepNo"), std::string("02"));
        QCOMPARE(field("0001", "F_AccNo"), std::string("6222"));
    }

    void empRefusalKeepsTheDialogOpen() {
        t->employee("0001", "张三", "0101", 3);
        frmEmp emp(s(), p(), "0001");
        activate(emp);
        child<QComboBox>(&emp, "cmbDep")->setEditText("01"); // not a leaf
        click(&emp, "cmdModify");
        QCOMPARE(p().last(), std::string("不存在此部门！"));
        QVERIFY(!emp.saved());
        QCOMPARE(QApplication::focusWidget(), child<QComboBox>(&emp, "cmbDep"));
        QCOMPARE(field("0001", "F_DepNo"), std::string("0101"));
    }

    void empTypedCodeLoadsThatEmployee() {
        t->employee("0001", "张三", "0101", 3);
        t->employee("0002", "李四", "02", 1);
        frmEmp emp(s(), p(), "0001");
        activate(emp);
        auto* code = child<QLineEdit>(&emp, "txtEmpNo");
        code->setFocus();
        code->setText("2");
        child<QLineEdit>(&emp, "txtEmpName")->setFocus();
        settle();
        QVERIFY2(p().messages.empty(), p().last().c_str());
        QCOMPARE(code->text(), QStringLiteral("0002"));
        QCOMPARE(text(&emp, "txtEmpName"), QStringLiteral("李四"));
        QCOMPARE(text(&emp, "cmbDep"), QStringLiteral("02  销售部"));

        code->setFocus();
        code->setText("9");
        child<QLineEdit>(&emp, "txtEmpName")->setFocus();
        settle();
        QCOMPARE(p().last(), std::string("查无此人!"));
        QCOMPARE(QApplication::focusWidget(), code);
    }

    // A code typed and the modify button pressed before the code box was
    // left: the fields on screen belong to the other employee and must not
    // be written over the typed one.
    void empModifyWithAnUnloadedCodeLoadsInsteadOfOverwriting() {
        t->employee("0001", "张三", "0101", 3);
        t->employee("0002", "李四", "02", 1);
        frmEmp emp(s(), p(), "0001");
        child<QLineEdit>(&emp, "txtEmpNo")->setText("0002");
        click(&emp, "cmdModify");
        QVERIFY(!emp.saved());
        QCOMPARE(field("0002", "F_EmpName"), std::string("李四"));
        QCOMPARE(field("0002", "F_DepNo"), std::string("02"));
        QCOMPARE(text(&emp, "txtEmpName"), QStringLiteral("李四"));
    }

    // ---- frmSort -----------------------------------------------------------

    void sortShowsAndStoresTheChoice() {
        setEmpSortSetting(false);
        {
            frmSort sort;
            QVERIFY(child<QRadioButton>(&sort, "optEmpNo")->isChecked());
            child<QRadioButton>(&sort, "optSortNo")->setChecked(true);
            click(&sort, "cmdCancel");
            QCOMPARE(empSortSetting(), false);
        }
        frmSort sort;
        child<QRadioButton>(&sort, "optSortNo")->setChecked(true);
        click(&sort, "cmdOk");
        QCOMPARE(empSortSetting(), true);
        frmSort again;
        QVERIFY(child<QRadioButton>(&again, "optSortNo")->isChecked());
    }

    // ---- frmTrans ----------------------------------------------------------

    void transferMovesTickedEmployeesAndRefreshes() {
        t->employee("0001", "甲", "0101", 2);
        t->employee("0002", "乙", "0102", 1);
        t->employee("0003", "丙", "0101", 3);
        RecordingProgress progress;
        frmTrans tr(s(), p(), &progress);
        tr.show();
        auto* tree = child<QTreeWidget>(&tr, "trvID");
        QTreeWidgetItem* branch = findNode(tree, base::nodeKey(1, "01"));
        QVERIFY(branch);
        tr.trvID_NodeClick(branch);
        QCOMPARE(progress.calls, (std::vector<std::string>{"begin  正在准备数据，请稍候...", "end"}));
        QCOMPARE(child<QLabel>(&tr, "lblMsg")->text(), QStringLiteral("  共3人"));
        QVERIFY(child<QTableView>(&tr, "grdDep")->isVisible());
        QCOMPARE(tr.departments()->rowCount(), 2);
        RowsModel* rows = tr.employees();
        QCOMPARE(rows->rowCount(), 3);
        QCOMPARE(rows->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("选择"));

        // The drop-down is asked for the typed text when it opens.
        auto* target = child<QComboBox>(&tr, "cmbDep");
        target->setEditText("销售");
        target->showPopup();
        QCOMPARE(target->count(), 1);
        QCOMPARE(target->itemText(0), QStringLiteral("02 销售部"));
        QCOMPARE(target->currentText(), QStringLiteral("销售"));
        target->hidePopup();
        target->setCurrentIndex(0);

        // Tick 乙 (0102) and 丙 (0101) through the tick column.
        for (int r = 0; r < rows->rowCount(); ++r)
            if (rows->text(r, 0) != "0001")
                QVERIFY(rows->setData(rows->index(r, 0), Qt::Checked, Qt::CheckStateRole));
        progress.calls.clear();
        click(&tr, "cmdTrans");
        QVERIFY2(p().messages.empty(), p().last().c_str());
        QCOMPARE(field("0001", "F_DepNo"), std::string("0101"));
        QCOMPARE(field("0002", "F_DepNo"), std::string("02"));
        QCOMPARE(field("0003", "F_DepNo"), std::string("02"));
        QCOMPARE(progress.calls.front(), std::string("begin  正在进行人员调动..."));
        QCOMPARE(rows->rowCount(), 1);
        QCOMPARE(rows->text(0, 0), std::string("0001"));
        QVERIFY(!rows->ticked(0));
        QCOMPARE(child<QLabel>(&tr, "lblMsg")->text(), QStringLiteral("  共1人"));
    }

    void transferRefusalsAndTheTickActions() {
        t->employee("0001", "甲", "0101", 2);
        t->employee("0002", "乙", "0101", 1);
        frmTrans tr(s(), p(), nullptr);
        tr.show();
        auto* tree = child<QTreeWidget>(&tr, "trvID");
        tr.trvID_NodeClick(findNode(tree, base::nodeKey(2, "0101")));
        QVERIFY(!child<QTableView>(&tr, "grdDep")->isVisible()); // a leaf has no sub-departments
        RowsModel* rows = tr.employees();

        click(&tr, "cmdTrans");
        QCOMPARE(p().last(), std::string("您首先要选择部门！"));
        child<QComboBox>(&tr, "cmbDep")->setEditText("0102 二车间");
        click(&tr, "cmdTrans");
        QCOMPARE(p().last(), std::string("请选择要调动的人员！"));

        tr.action("All")->trigger();
        QVERIFY(rows->ticked(0) && rows->ticked(1));
        tr.action("None")->trigger();
        QVERIFY(!rows->ticked(0) && !rows->ticked(1));
        tr.action("All")->trigger();
        child<QComboBox>(&tr, "cmbDep")->setEditText("01 生产部"); // not a leaf
        click(&tr, "cmdTrans");
        QCOMPARE(p().last(), std::string("请您选择正确的部门！"));
        QCOMPARE(field("0001", "F_DepNo"), std::string("0101"));

        p().clear();
        child<QComboBox>(&tr, "cmbDep")->setEditText("0102 二车间");
        click(&tr, "cmdTrans");
        QVERIFY2(p().messages.empty(), p().last().c_str());
        QCOMPARE(field("0001", "F_DepNo"), std::string("0102"));
        QCOMPARE(field("0002", "F_DepNo"), std::string("0102"));
        QCOMPARE(rows->rowCount(), 0);
        QCOMPARE(child<QLabel>(&tr, "lblMsg")->text(), QStringLiteral("  共0人"));
    }

    void transferTreeToolbarAndClosing() {
        frmTrans tr(s(), p(), nullptr);
        tr.show();
        auto* tree = child<QTreeWidget>(&tr, "trvID");
        QCOMPARE(tree->topLevelItemCount(), 1);
        QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("部门列表"));
        tr.action("Expand")->trigger();
        QVERIFY(findNode(tree, base::nodeKey(1, "01"))->isExpanded());
        tr.action("Astrict")->trigger();
        QVERIFY(!findNode(tree, base::nodeKey(1, "01"))->isExpanded());
        department("03", "后勤部", 1, true);
        tr.action("Refresh")->trigger();
        QVERIFY(findNode(tree, base::nodeKey(1, "03")));

        QSignalSpy closed(&tr, &frmTrans::moduleClosed);
        p().answers = {false};
        tr.action("Exit")->trigger();
        QCOMPARE(p().last(), std::string("退出本模块吗？"));
        QCOMPARE(p().messages.back().icon, Icon::Question);
        QVERIFY(tr.isVisible());
        QCOMPARE(closed.count(), 0);
        p().answers = {true};
        QVERIFY(tr.close());
        QCOMPARE(closed.count(), 1);
    }

    void transferWithoutDepartmentsSaysSo() {
        s().taskConn.execute("Delete From " + t->table("Depart"));
        frmTrans tr(s(), p(), nullptr);
        QCOMPARE(child<QLabel>(&tr, "lblMsg")->text(), QStringLiteral("上级部门："));
    }
};

QTEST_MAIN(TestEmployeeScreens)
#include "test_employee_screens.moc"
