// frmGroup's wiring: the lists it fills on opening, the label that follows
// the mode, the condition editor, and a run through 确定 that reaches the
// database and shows the engine's messages.
#include "screens/monthly/frmGroup.h"
#include "support/payroll_fixture.h"
#include "support/qt_test_support.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

using namespace gzgl;
using gzgl::test::child;
using gzgl::test::click;

namespace {

// Two employees in department 01 (type 行政) and one in 02 (type 生产);
// F004 津贴 an input item, F005 合计 = F003+F004.
struct GroupTask {
    test::PayrollTask t;
    GroupTask() {
        Connection& c = t.s.taskConn;
        c.execute("Insert Into " + t.table("DepType") +
                  "(F_TypeNo,F_TypeName) Values('01','行政'),('02','生产')");
        c.execute("Insert Into " + t.table("Depart") +
                  "(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) "
                  "Values('01','总部','01',1,1),('02','车间','02',1,1)");
        t.item("F004", "津贴");
        t.item("F005", "合计");
        t.formula("F005", "F003+F004");
        t.employee("0001", "张三", "01", 1);
        t.employee("0002", "李四", "01", 2);
        t.employee("0003", "王五", "02", 3);
        t.value("0001", "F003", 1000.0);
        t.value("0002", "F003", 6000.0);
        t.value("0003", "F003", 3000.0);
    }
    double stored(const char* empNo, const char* code) {
        return t.s.taskConn
            .scalar("Select " + std::string(code) + " From " + t.table("Data") + " Where F_EmpNo=?", {empNo})
            .toDouble();
    }
};

QStringList texts(QComboBox* c) {
    QStringList out;
    for (int i = 0; i < c->count(); ++i)
        out << c->itemText(i);
    return out;
}

} // namespace

class TestGroup : public QObject {
    Q_OBJECT

private slots:
    void opensWithItsListsAndTheLabelFollowsTheMode() {
        GroupTask g;
        frmGroup f(g.t.s, g.t.prompt);
        f.show();
        QCOMPARE(f.windowTitle(), QStringLiteral("工资成批调整"));
        // F005 has a formula: not adjustable, but a condition may use it.
        QVERIFY(!texts(child<QComboBox>(&f, "cmbItem")).contains(QStringLiteral("合计")));
        QVERIFY(texts(child<QComboBox>(&f, "cmbItem")).contains(QStringLiteral("津贴")));
        QVERIFY(texts(child<QComboBox>(&f, "cmbQueryItem")).contains(QStringLiteral("合计")));
        QVERIFY(!texts(child<QComboBox>(&f, "cmbQueryItem")).contains(QStringLiteral("上月扣零")));
        QCOMPARE(texts(child<QComboBox>(&f, "cmbType")), (QStringList{"", "行政", "生产"}));
        auto* way = child<QComboBox>(&f, "cmbWay");
        auto* label = child<QLabel>(&f, "lblFormula");
        QCOMPARE(label->text(), QStringLiteral("调整为："));
        way->setCurrentIndex(1);
        QCOMPARE(label->text(), QStringLiteral("原数值按比例调整为： 原数值 *"));
        way->setCurrentIndex(2);
        QCOMPARE(label->text(), QStringLiteral("按以下公式计算："));

        const QString png = qEnvironmentVariable("GZGL_GRAB_DIR");
        if (!png.isEmpty()) {
            child<QComboBox>(&f, "cmbItem")->setCurrentText(QStringLiteral("津贴"));
            child<QLineEdit>(&f, "txtFormula")->setText("F005*0.1");
            child<QComboBox>(&f, "cmbQueryItem")->setCurrentText(QStringLiteral("应发工资"));
            child<QLineEdit>(&f, "txtValue")->setText("5000");
            click(&f, "cmdAdd");
            child<QLineEdit>(&f, "txtDep")->setText(QStringLiteral("01 总部"));
            f.grab().save(png + "/frmGroup.png");
        }
    }

    void conditionsAreAddedClearedAndRefused() {
        GroupTask g;
        frmGroup f(g.t.s, g.t.prompt);
        auto* list = child<QTableWidget>(&f, "flgQuery");
        click(&f, "cmdAdd");
        QCOMPARE(QString::fromStdString(g.t.prompt.last()), QStringLiteral("请选择查询的条件"));
        QCOMPARE(QString::fromStdString(g.t.prompt.messages.back().title), QStringLiteral("提示"));
        QCOMPARE(list->rowCount(), 0);

        child<QComboBox>(&f, "cmbQueryItem")->setCurrentText(QStringLiteral("合计"));
        child<QComboBox>(&f, "cmbSym1")->setCurrentText(">=");
        child<QComboBox>(&f, "cmbJoin")->setCurrentText(QStringLiteral("或者"));
        child<QLineEdit>(&f, "txtValue")->setText("abc");
        click(&f, "cmdAdd");
        QCOMPARE(QString::fromStdString(g.t.prompt.last()), QStringLiteral("调整条件的值必须是数字。"));
        QCOMPARE(list->rowCount(), 0);
        child<QLineEdit>(&f, "txtValue")->setText("5000");
        click(&f, "cmdAdd");
        QCOMPARE(list->rowCount(), 1);
        QCOMPARE(list->item(0, 0)->text(), QStringLiteral("合计"));
        QCOMPARE(list->item(0, 3)->text(), QStringLiteral("或者"));
        QCOMPARE(f.conditions().at(0).code, std::string("F005"));
        click(&f, "cmdClear");
        QCOMPARE(list->rowCount(), 0);
        QVERIFY(f.conditions().empty());
    }

    void okRunsTheBatchOnTheChosenGroup() {
        GroupTask g;
        frmGroup f(g.t.s, g.t.prompt);
        click(&f, "cmdOk1");
        QCOMPARE(QString::fromStdString(g.t.prompt.last()), QStringLiteral("请选择调整的工资项目。"));
        child<QComboBox>(&f, "cmbItem")->setCurrentText(QStringLiteral("津贴"));
        click(&f, "cmdOk1");
        QCOMPARE(QString::fromStdString(g.t.prompt.last()), QStringLiteral("请输入调整后的数值。"));

        // Mode 2 on department type 行政, only where the calculated 合计 > 2000.
        child<QComboBox>(&f, "cmbWay")->setCurrentIndex(2);
        child<QLineEdit>(&f, "txtFormula")->setText("F005*0.1");
        child<QComboBox>(&f, "cmbType")->setCurrentText(QStringLiteral("行政"));
        child<QComboBox>(&f, "cmbQueryItem")->setCurrentText(QStringLiteral("合计"));
        child<QLineEdit>(&f, "txtValue")->setText("2000");
        click(&f, "cmdAdd");
        g.t.prompt.clear();
        click(&f, "cmdOk1");
        QCOMPARE(QString::fromStdString(g.t.prompt.last()), QStringLiteral("数据更改完毕！"));
        QCOMPARE(g.stored("0001", "F004"), 0.0);
        QCOMPARE(g.stored("0002", "F004"), 600.0);
        QCOMPARE(g.stored("0003", "F004"), 0.0);
        QCOMPARE(g.t.s.curEmpNo, std::string("0002"));

        child<QLineEdit>(&f, "txtFormula")->setText("F005*x");
        click(&f, "cmdOk1");
        QCOMPARE(QString::fromStdString(g.t.prompt.last()), QStringLiteral("公式含有非法字符！"));
        QCOMPARE(g.stored("0002", "F004"), 600.0);
    }
};

QTEST_MAIN(TestGroup)
#include "test_group.moc"
