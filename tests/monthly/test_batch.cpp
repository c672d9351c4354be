// Batch adjustment: the lists, the conditions, the checks before anything
// is read, the three modes, the group filters and the one-transaction write.
#include "monthly/batch.h"

#include "calc/numformat.h"
#include "support/payroll_fixture.h"

#include <gtest/gtest.h>

#include <set>

using namespace gzgl;
using namespace gzgl::monthly;

namespace {

// Departments 01 (type 行政) with the leaves 0101 and 0102 (type 生产) and
// 02; items F004 津贴 and F005 奖金 (input), F006 合计 = F003+F004 and
// F007 整数 (precision 0); employees:
//   0001 张三   0101 type 0101  F003 1000  F004 100  F005 10
//   0002 李四   0101 type 0102  F003 6000  F004  50  F005 200
//   0003 王'小% 0102 type 02    F003 7000  F004   0  F005 50
//   0004 王'小明 02  type 0101  F003 3000  F004  20  F005 300
struct BatchTest : ::testing::Test {
    test::PayrollTask task;
    Session& s = task.s;
    SilentProgress progress;

    BatchTest() {
        exec("Insert Into " + task.table("DepType") +
             "(F_TypeNo,F_TypeName) Values('01','行政'),('02','生产')");
        exec("Insert Into " + task.table("Depart") +
             "(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) Values('01','总部','01',1,0),"
             "('0101','一车间','02',2,1),('0102','二车间','02',2,1),('02','销售部','01',1,1)");
        task.item("F004", "津贴");
        task.item("F005", "奖金");
        task.item("F006", "合计");
        task.item("F007", "整数", "数字", 0);
        task.formula("F006", "F003+F004");
        struct Row {
            const char *no, *name, *dep, *type;
            double f003, f004, f005;
        };
        const Row rows[] = {{"0001", "张三", "0101", "0101", 1000, 100, 10},
                            {"0002", "李四", "0101", "0102", 6000, 50, 200},
                            {"0003", "王'小%", "0102", "02", 7000, 0, 50},
                            {"0004", "王'小明", "02", "0101", 3000, 20, 300}};
        int sort = 0;
        for (const Row& r : rows) {
            task.employee(r.no, r.name, r.dep, ++sort);
            exec("Update " + task.table("Employee") + " Set F_EmpType=? Where F_EmpNo=?", {r.type, r.no});
            task.value(r.no, "F003", r.f003);
            task.value(r.no, "F004", r.f004);
            task.value(r.no, "F005", r.f005);
        }
    }

    void exec(const std::string& sql, const Params& p = {}) { s.taskConn.execute(sql, p); }
    Value stored(const std::string& empNo, const std::string& code) {
        return s.taskConn.scalar("Select " + code + " From " + task.table("Data") + " Where F_EmpNo=?",
                                 {empNo});
    }
    std::string dataDump() {
        const Recordset rs = s.taskConn.query("Select * From " + task.table("Data") + " Order By F_EmpNo");
        std::string out;
        for (std::size_t i = 0; i < rs.size(); ++i)
            for (const Value& v : rs.row(i))
                out += v.toString() + "|";
        return out;
    }
    BatchCondition cond(const std::string& item, const std::string& op, const std::string& value,
                        const std::string& join) {
        AddConditionResult r = addCondition(s, item, op, value, join);
        EXPECT_TRUE(r.outcome.ok) << item << op << value << join;
        return r.condition;
    }
    BatchResult run(BatchRequest r) { return runBatch(s, r, progress); }
    std::set<std::string> changedBy(BatchRequest r) {
        const BatchResult res = run(std::move(r));
        EXPECT_TRUE(res.outcome.ok) << res.outcome.message;
        return {res.changed.begin(), res.changed.end()};
    }
};

BatchRequest req(const std::string& item, int way, const std::string& input) {
    BatchRequest r;
    r.item = item;
    r.way = way;
    r.input = input;
    return r;
}

using Names = std::vector<std::string>;
Names namesOf(const std::vector<items::ItemChoice>& items) {
    Names out;
    for (const auto& i : items)
        out.push_back(i.code);
    return out;
}

} // namespace

TEST_F(BatchTest, ListsLeaveOutFormulaItemsAndTheReservedCodes) {
    // An item with a formula line cannot be adjusted; F001 and F002 are text.
    EXPECT_EQ(namesOf(adjustableItems(s)),
              (Names{"F000", "F003", "FFFF", "FFFE", "FFFD", "F004", "F005", "F007"}));
    EXPECT_EQ(namesOf(conditionItems(s)), (Names{"F000", "F003", "F004", "F005", "F006", "F007"}));
    EXPECT_EQ(departmentTypeNames(s), (Names{"行政", "生产"}));
    EXPECT_EQ(batchWayLabel(0), "调整为：");
    EXPECT_EQ(batchWayLabel(1), "原数值按比例调整为： 原数值 *");
    EXPECT_EQ(batchWayLabel(2), "按以下公式计算：");
}

TEST_F(BatchTest, ConditionNeedsEveryPartAndTakesTheItemsCode) {
    const BatchCondition c = cond("奖金", ">=", " 100 ", kOr);
    EXPECT_EQ(c, (BatchCondition{"F005", "奖金", ">=", "100", "或者"}));
    EXPECT_EQ(cond("F006", "<", "5", kAnd).name, "合计");
    const std::vector<std::array<std::string, 4>> refused = {
        {"", ">", "1", kAnd},         {"奖金", "", "1", kAnd},    {"奖金", ">", "", kAnd},
        {"奖金", "<>", "1", kAnd},    {"奖金", ">", "1", ""},     {"姓名", ">", "1", kAnd},
        {"上月扣零", ">", "1", kAnd}, {"不存在", ">", "1", kAnd},
    };
    for (const auto& r : refused) {
        const AddConditionResult a = addCondition(s, r[0], r[1], r[2], r[3]);
        EXPECT_FALSE(a.outcome.ok) << r[0] << r[1] << r[2] << r[3];
        EXPECT_EQ(a.outcome.message, "请选择查询的条件");
        EXPECT_EQ(a.outcome.title, "提示");
    }
}

TEST(BatchConditions, AndOrAndTheMixedCase) {
    // Values per row: F003, F005, F006, the conditions' item order.
    const BatchCondition bigPay{"F003", "", ">", "5000", kAnd};
    const auto small = [](const char* join) { return BatchCondition{"F005", "", "<", "100", join}; };
    const BatchCondition positive{"F006", "", ">", "0", kOr};
    struct Case {
        std::vector<BatchCondition> conditions;
        std::vector<double> values;
        bool keeps;
    };
    const Case cases[] = {
        {{}, {}, true},
        {{bigPay, small(kAnd)}, {6000, 50}, true},
        {{bigPay, small(kAnd)}, {6000, 150}, false},
        {{bigPay, small(kAnd)}, {4000, 50}, false},
        {{bigPay, small(kOr)}, {4000, 50}, false}, // the 并且 one must hold as well
        {{bigPay, small(kOr)}, {6000, 50}, true},
        {{{"F003", "", ">", "5000", kOr}, small(kOr)}, {4000, 50}, true},
        {{{"F003", "", ">", "5000", kOr}, small(kOr)}, {6000, 500}, true},
        {{{"F003", "", ">", "5000", kOr}, small(kOr)}, {4000, 500}, false},
        {{bigPay, small(kOr), positive}, {6000, 500, 1}, true},
        {{bigPay, small(kOr), positive}, {6000, 50, 0}, true},
        {{bigPay, small(kOr), positive}, {6000, 500, 0}, false},
        {{bigPay, small(kOr), positive}, {4000, 50, 1}, false},
        {{{"F003", "", ">=", "5000", kAnd}, {"F005", "", "<=", "50", kAnd}, {"F006", "", "=", "0", kAnd}},
         {5000, 50, 0},
         true},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(keepsRow(cases[i].conditions, cases[i].values), cases[i].keeps) << "case " << i;
}

TEST_F(BatchTest, ConditionsNarrowTheGroupOnRecalculatedValues) {
    BatchRequest r = req("F005", 0, "1");
    // F006 is calculated: F003+F004 (1100, 6050, 7000, 3020).
    r.conditions = {cond("F003", ">", "5000", kAnd), cond("F005", "<", "100", kAnd)};
    EXPECT_EQ(changedBy(r), (std::set<std::string>{"0003"}));
    r.conditions = {cond("F003", ">", "5000", kOr), cond("F005", "<", "100", kOr)};
    EXPECT_EQ(changedBy(r), (std::set<std::string>{"0001", "0002", "0003"}));
    // 0004 and 0001 had F005 set to 1 above; reset it for the mixed case.
    task.value("0001", "F005", 10.0);
    task.value("0002", "F005", 200.0);
    task.value("0003", "F005", 50.0);
    r.conditions = {cond("F003", ">", "5000", kAnd), cond("F005", "<", "100", kOr),
                    cond("F006", ">", "6040", kOr)};
    EXPECT_EQ(changedBy(r), (std::set<std::string>{"0002", "0003"}));
    EXPECT_EQ(stored("0001", "F005").toDouble(), 10.0);
}

TEST_F(BatchTest, EachModeStoresTheValueRoundedToTheItemsPrecision) {
    struct Case {
        std::string item;
        int way;
        std::string input;
        double want0001; // 张三: F003 1000, F004 100, F006 = 1100
    };
    const Case cases[] = {
        {"F005", 0, "2500.456", 2500.46},
        {"F003", 1, "1.1", 1100},     // exactly 1100, not 1100.0000000000002
        {"F007", 0, "2.5", 3},        // precision 0: halves away from zero
        {"F005", 2, "F006*0.5", 600}, // and after F003 became 1100: 1200 * 0.5
        {"F005", 2, "0.1+0.2", 0.3},
        {"F004", 2, "{F003>5000,1,2}", 2},
    };
    for (const Case& c : cases) {
        const BatchResult res = run(req(c.item, c.way, c.input));
        ASSERT_TRUE(res.outcome.ok) << c.input << ": " << res.outcome.message;
        EXPECT_EQ(res.outcome.message, "数据更改完毕！");
        EXPECT_EQ(res.changed.size(), 4u);
        EXPECT_EQ(stored("0001", c.item).toDouble(), c.want0001) << c.item << " " << c.input;
    }
    EXPECT_EQ(stored("0002", "F003").toDouble(), 6600);
    EXPECT_EQ(s.curEmpNo, "0004"); // the last employee written
}

TEST_F(BatchTest, ConditionalThatAssignsNothingLeavesTheRowAlone) {
    const BatchResult res = run(req("F005", 2, "{F003>5000,F003*0.01}"));
    ASSERT_TRUE(res.outcome.ok);
    EXPECT_EQ(res.changed, (Names{"0002", "0003"}));
    EXPECT_EQ(stored("0002", "F005").toDouble(), 60);
    EXPECT_EQ(stored("0001", "F005").toDouble(), 10); // not the previous row's value
    EXPECT_EQ(stored("0004", "F005").toDouble(), 300);
}

TEST_F(BatchTest, ChecksInTheirOrderBeforeAnythingIsRead) {
    // Without a data table any read would fail: these refusals come first.
    exec("Drop Table " + task.table("Data"));
    struct Case {
        BatchRequest r;
        std::string message;
    };
    const Case cases[] = {
        {req("", 0, "1"), "请选择调整的工资项目。"},
        {req("F006", 0, "1"), "请选择调整的工资项目。"}, // has a formula
        {req("F002", 0, "1"), "请选择调整的工资项目。"}, // a text item
        {req("F005", 0, " "), "请输入调整后的数值。"},
        {req("F005", 0, "1O00"), "请输入调整后的数值。"}, // not a number
        {req("F005", 1, ""), "请输入调整的比例。"},
        {req("F005", 1, "1.1x"), "请输入调整的比例。"},
        {req("F005", 2, ""), "请输入调整的公式。"},
        {req("F005", 2, "F003*a"), "公式含有非法字符！"},
        {req("F005", 2, "G003*2"), "公式含有非法字符！"},
        {req("F005", 2, "F003 * 2"), "公式含有非法字符！"},
        {req("F005", 2, "(F003*2"), "公式错误，请进行维护！"},
        {req("F005", 2, "[F003>1]]"), "公式错误，请进行维护！"},
        {req("F005", 2, "{F003>1,2,3"), "公式错误，请进行维护！"},
        {req("F005", 2, "{F003>1,2,3,4}"), "公式错误，请进行维护！"},
    };
    for (const Case& c : cases) {
        BatchResult res;
        ASSERT_NO_THROW(res = run(c.r)) << c.r.input;
        EXPECT_FALSE(res.outcome.ok) << c.r.input;
        EXPECT_EQ(res.outcome.message, c.message) << c.r.item << " " << c.r.input;
        EXPECT_EQ(res.outcome.title, "提示");
    }
}

TEST_F(BatchTest, FiltersAreBoundPrefixes) {
    struct Case {
        std::string depType, dep, empType, empNo, name;
        std::set<std::string> want;
    };
    const Case cases[] = {
        {"", "", "", "", "", {"0001", "0002", "0003", "0004"}},
        {"生产", "", "", "", "", {"0001", "0002", "0003"}},
        {"行政", "", "", "", "", {"0004"}},
        {"", "01  总部", "", "", "", {"0001", "0002", "0003"}}, // the number before the blank
        {"", "0101", "", "", "", {"0001", "0002"}},
        {"", "", "01 在职", "", "", {"0001", "0002", "0004"}},
        {"", "", "0101", "", "", {"0001", "0004"}},
        {"", "", "", "000", "王", {"0003", "0004"}},
        {"", "", "", "", "王'小%", {"0003"}}, // the % is a letter, not a wildcard
        {"", "", "", "", "王'小_", {}},
        {"生产", "0102", "02", "0003", "王'", {"0003"}},
        {"财务", "", "", "", "", {}},
    };
    for (const Case& c : cases) {
        BatchRequest r = req("F005", 0, "1");
        r.depType = c.depType;
        r.dep = c.dep;
        r.empType = c.empType;
        r.empNo = c.empNo;
        r.name = c.name;
        EXPECT_EQ(changedBy(r), c.want) << c.depType << "/" << c.dep << "/" << c.empType << "/" << c.name;
    }
}

TEST_F(BatchTest, RefusedBatchLeavesNoRowChanged) {
    // 0003's F004 makes the formula overflow: F004 multiplied up beyond the
    // range of a double. The rows before it must not be written either.
    task.value("0003", "F004", 1e14);
    const std::string before = dataDump();
    std::string formula = "F004";
    for (int i = 0; i < 22; ++i)
        formula += "*F004";
    const BatchResult res = run(req("F005", 2, formula));
    EXPECT_FALSE(res.outcome.ok);
    EXPECT_EQ(res.outcome.message, "公式错误！");
    EXPECT_TRUE(res.changed.empty());
    EXPECT_EQ(dataDump(), before);
    EXPECT_EQ(s.curEmpNo, "");
}

TEST_F(BatchTest, DatabaseFailureMidWayRollsTheWholeRunBack) {
    exec("Create Trigger stop_batch Before Update On " + task.table("Data") +
         " When new.F_EmpNo = '0003' Begin Select raise(abort, 'locked'); End");
    const std::string before = dataDump();
    EXPECT_THROW(run(req("F003", 1, "1.1")), DbError);
    EXPECT_EQ(dataDump(), before);
    // Without the obstacle a rerun scales every row exactly once.
    exec("Drop Trigger stop_batch");
    ASSERT_TRUE(run(req("F003", 1, "1.1")).outcome.ok);
    EXPECT_EQ(stored("0001", "F003").toDouble(), 1100);
    EXPECT_EQ(stored("0002", "F003").toDouble(), 6600);
}

TEST_F(BatchTest, ItemWithoutDataColumnGetsOne) {
    // F000 has no formula line and no _Data column in a new task.
    ASSERT_FALSE(s.taskConn.hasColumn(task.table("Data"), "F000"));
    const BatchResult res = run(req("F000", 0, "88"));
    ASSERT_TRUE(res.outcome.ok) << res.outcome.message;
    EXPECT_EQ(stored("0004", "F000").toDouble(), 88);
}

TEST_F(BatchTest, NoValueLoadsAsZero) {
    task.value("0001", "F005", -9999.0);
    task.value("0002", "F005", Value());
    ASSERT_TRUE(run(req("F005", 2, "F005+5")).outcome.ok);
    EXPECT_EQ(stored("0001", "F005").toDouble(), 5);
    EXPECT_EQ(stored("0002", "F005").toDouble(), 5);
    EXPECT_EQ(stored("0003", "F005").toDouble(), 55);
}

TEST_F(BatchTest, NonNumericConditionValueRefusedAndNothingWritten) {
    for (const char* value : {"abc", "1O00", "5000元", "1e3", "--1", "."}) {
        SCOPED_TRACE(value);
        const AddConditionResult a = addCondition(s, "F003", ">", value, kAnd);
        EXPECT_FALSE(a.outcome.ok);
        EXPECT_EQ(a.outcome.message, kConditionNotNumber);
        EXPECT_EQ(a.outcome.focus, "txtValue");
    }
    for (const char* value : {"-5", "+5", ".5", "5.", "5000.25"})
        EXPECT_TRUE(addCondition(s, "F003", ">", value, kAnd).outcome.ok) << value;

    // A list built elsewhere is checked by the run as well, before a row is
    // read: without the check "abc" reads 0 and every employee matches.
    const std::string before = dataDump();
    for (const int way : {0, 1, 2}) {
        BatchRequest r = req("F005", way, way == 2 ? "F003*2" : "2");
        r.conditions = {{"F004", "津贴", ">=", "0", kAnd}, {"F003", "应发工资", ">", "abc", kAnd}};
        const BatchResult res = run(r);
        EXPECT_FALSE(res.outcome.ok) << way;
        EXPECT_EQ(res.outcome.message, kConditionNotNumber) << way;
        EXPECT_TRUE(res.changed.empty());
    }
    EXPECT_EQ(dataDump(), before);
}

TEST_F(BatchTest, FormulaNamingNoNumberItemWithAValueRefusedAndNothingWritten) {
    task.item("F008", "无列", "数字", 2, false); // a number item without a _Data column
    task.item("F009", "备注", "文字", 0);
    const std::string before = dataDump();
    for (const char* formula :
         {"F999*2", "F002+1", "F009+1", "F008", "F003+F008", "{F003>1,F001,0}", "{F0,1,2}", "F003+F"}) {
        const BatchResult res = run(req("F005", 2, formula));
        EXPECT_FALSE(res.outcome.ok) << formula;
        EXPECT_EQ(res.outcome.message, "公式错误！") << formula;
    }
    EXPECT_EQ(dataDump(), before);

    // Stored and calculated number items are named freely.
    task.formula("F000", "F003+F004");
    for (const char* formula : {"F003+F004+F005+FFFF", "F006*0.5", "F000+F004"}) {
        const BatchResult res = run(req("F005", 2, formula));
        EXPECT_TRUE(res.outcome.ok) << formula << ": " << res.outcome.message;
    }
    EXPECT_EQ(stored("0001", "F005").toDouble(), 1200); // net pay 1100 + 100
}

TEST_F(BatchTest, ValueBeyondTheEntryLimitRefusedAndNothingWritten) {
    struct Case {
        std::string item;
        int way;
        std::string input;
        const char* message; // nullptr: accepted
    };
    // F003 of 0003 is the largest, 7000.
    const Case cases[] = {
        {"F005", 0, "1e300", kAmountTooLarge},
        {"F005", 0, "100000000", kAmountTooLarge},
        {"F005", 0, "99999999.995", kAmountTooLarge}, // rounds to 100000000.00
        {"F005", 0, "-10000000", kAmountTooLarge},
        {"F007", 0, "99999999.5", kAmountTooLarge}, // precision 0
        {"F005", 1, "1e300", kAmountTooLarge},      // 0 stays 0, 10 x 1e300 does not fit
        {"F005", 1, "1e308", kAmountTooLarge},      // beyond the range of a double
        {"F005", 2, "F003*F003*F003", kAmountTooLarge},
        {"F005", 2, "{F003>5000,F003*100000,0}", kAmountTooLarge}, // only 0002 and 0003
        {"F005", 0, "99999999.99", nullptr},
        {"F005", 0, "-9999999.99", nullptr},
        {"F005", 2, "F003*14285", nullptr}, // 99995000
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        const std::string before = dataDump();
        const BatchResult res = run(req(c.item, c.way, c.input));
        EXPECT_EQ(res.outcome.ok, c.message == nullptr);
        EXPECT_EQ(res.outcome.message, c.message ? c.message : "数据更改完毕！");
        if (c.message) {
            EXPECT_TRUE(res.changed.empty());
            EXPECT_EQ(dataDump(), before);
        }
    }
    EXPECT_EQ(stored("0003", "F005").toDouble(), 99995000);
}
