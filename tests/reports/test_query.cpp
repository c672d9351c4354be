// The salary query: rows of every month of a range with an exact total,
// item conditions read left to right on recalculated figures, filters that
// take typed wildcards and quotes literally, employees whose department has
// no type or is not on file, and the refusals of the condition dialog.
#include "reports/query.h"

#include "period/balance.h"
#include "period/periods.h"
#include "support/payroll_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace gzgl;
using namespace gzgl::reports;

namespace test_query {

// Departments 01 总部 (行政), 02 车间 (生产), 03 仓库 without a type; the
// item 津贴 (F004); net pay F000 = F003 + F004. Four employees, one of them
// in department 99, which is not on file.
struct QueryTask : test::PayrollTask {
    SilentProgress progress;
    QueryTask() {
        s.taskConn.execute("Insert Into " + table("DepType") +
                           "(F_TypeNo,F_TypeName) Values('01','行政'),('02','生产')");
        s.taskConn.execute("Insert Into " + table("Depart") +
                           "(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) Values('01','总部','01',1,1),"
                           "('02','车间','02',1,1),('03','仓库',Null,1,1)");
        item("F004", "津贴");
        formula("F000", "F003+F004");
        staff("0001", "张三", "01", "01");
        staff("0002", "李四", "02", "02");
        staff("0003", "王五", "03", "0201");
        staff("0004", "赵六", "99", "");
    }
    void staff(const std::string& no, const std::string& name, const std::string& dep,
               const std::string& type) {
        employee(no, name, dep, std::atoi(no.c_str()));
        s.taskConn.execute("Update " + table("Employee") + " Set F_EmpType=? Where F_EmpNo=?", {type, no});
    }
    void pay(const std::string& no, double gross, double extra) {
        value(no, "F003", gross);
        value(no, "F004", extra);
    }
    void close() {
        const std::string next = period::nextPeriod(s.curPeriod);
        ASSERT_TRUE(period::closeMonth(s, next.substr(0, 4), next.substr(4), progress).ok) << prompt.last();
    }
    QueryConditions range(const std::string& from, const std::string& to) {
        QueryConditions q;
        q.year = from.substr(0, 4);
        q.month = from.substr(4);
        q.year1 = to.substr(0, 4);
        q.month1 = to.substr(4);
        return q;
    }
    QueryRun run(QueryConditions q) { return runQuery(s, q, progress); }
    QueryCondition cond(const std::string& item, const std::string& op, const std::string& value,
                        const std::string& link = kAnd) {
        const AddQueryConditionResult r = addQueryCondition(s, item, op, value, link);
        EXPECT_TRUE(r.outcome.ok) << r.outcome.message;
        return r.condition;
    }
};

int columnOf(const QueryResult& r, const std::string& code) {
    for (std::size_t c = 0; c < r.columns.size(); ++c)
        if (r.columns[c].code == code)
            return static_cast<int>(c);
    return -1;
}

// The names of the rows, in order.
std::vector<std::string> names(const QueryResult& r) {
    std::vector<std::string> out;
    for (const auto& row : r.rows)
        out.push_back(row[2]);
    return out;
}

// A figure with two decimals as whole cents, read from its digits.
long long cents(const std::string& text) {
    std::string digits;
    for (char ch : text)
        if (ch != '.')
            digits += ch;
    EXPECT_EQ(text.size() - text.find('.'), 3u) << text;
    return std::atoll(digits.c_str());
}

} // namespace test_query

using namespace test_query;

TEST(SalaryQuery, ThreeMonthsListEveryMonthsRowsAndOneTotalEqualToTheirSumToTheCent) {
    QueryTask t;
    // Amounts whose binary sums drift: 0.1, 0.2, 0.7 and friends.
    {
        Transaction tx(t.s.taskConn);
        for (int e = 5; e < 80; ++e)
            t.staff("1" + std::to_string(100 + e), "员工" + std::to_string(e), "02", "02");
        tx.commit();
    }
    const double gross[3] = {1000.1, 2000.2, 3000.7};
    for (int m = 0; m < 3; ++m) {
        if (m > 0)
            t.close();
        t.s.taskConn.execute("Update " + t.table("Data") + " Set F003=?, F004=0.01*length(F_EmpNo)+0.2",
                             {gross[m]});
        // A stored "no value" marker counts as empty: net pay is the gross.
        t.value("0002", "F004", -9999);
    }
    const QueryRun run = t.run(t.range("200602", "200604"));
    ASSERT_TRUE(run.outcome.ok) << run.outcome.message;
    const QueryResult& r = run.result;
    ASSERT_EQ(r.rows.size(), 3u * 79);
    EXPECT_EQ(r.rowPeriods.front(), "200602");
    EXPECT_EQ(r.rowPeriods[79], "200603");
    EXPECT_EQ(r.rowPeriods.back(), "200604");
    EXPECT_EQ(r.rows[0][0], "总部");
    EXPECT_EQ(r.rows[0][2], "张三");
    const int net = columnOf(r, "F000"), extra = columnOf(r, "F004");
    ASSERT_GE(net, 3);
    EXPECT_EQ(r.rows[79][net], "2000.44");
    EXPECT_EQ(r.rows[80][extra], "") << "-9999 is no value";
    EXPECT_EQ(r.rows[80][net], "2000.20");

    EXPECT_EQ(r.total[0], kQueryTotal);
    EXPECT_EQ(r.total[1], "");
    EXPECT_EQ(r.total[columnOf(r, "F001")], "") << "employee codes are not added up";
    for (const char* code : {"F000", "F003", "F004"}) {
        long long sum = 0;
        for (const auto& row : r.rows)
            if (!row[columnOf(r, code)].empty())
                sum += cents(row[columnOf(r, code)]);
        EXPECT_EQ(cents(r.total[columnOf(r, code)]), sum) << code;
    }
}

TEST(SalaryQuery, TwoConditionsOnOneItemKeepRowsStrictlyBetweenWithAndAllRowsWithOr) {
    QueryTask t;
    t.pay("0001", 1000, 0);
    t.pay("0002", 1500, 0);
    t.pay("0003", 2000, 0);
    t.pay("0004", 2500, 0);
    QueryConditions q = t.range("200602", "200602");
    q.conditions = {t.cond("应发工资", ">", "1000", kAnd), t.cond("F003", "<", "2000", kAnd)};
    EXPECT_EQ(names(t.run(q).result), (std::vector<std::string>{"李四"}));
    q.conditions = {t.cond("应发工资", ">", "1000", kOr), t.cond("F003", "<", "2000", kOr)};
    EXPECT_EQ(names(t.run(q).result).size(), 4u);
    q.conditions = {t.cond("应发工资", ">=", "1500"), t.cond("应发工资", "<=", "2000.00")};
    EXPECT_EQ(names(t.run(q).result), (std::vector<std::string>{"李四", "王五"}));
}

TEST(SalaryQuery, MixedChainIsReadLeftToRightOnRecalculatedFigures) {
    QueryTask t;
    // Net pay is only calculated: the conditions must see F003 + F004.
    t.pay("0001", 3000, 0);   // A true,  B false, C false
    t.pay("0002", 1000, 100); // A false, B true,  C true
    t.pay("0003", 1000, 0);   // A false, B false, C true
    QueryConditions q = t.range("200602", "200602");
    // (F003 > 2000 或者 F004 > 50) 并且 实发工资 < 2000: with precedence the
    // first employee would qualify through A alone.
    q.conditions = {t.cond("F003", ">", "2000", kOr), t.cond("津贴", ">", "50", kAnd),
                    t.cond("实发工资", "<", "2000", kOr)};
    EXPECT_EQ(names(t.run(q).result), (std::vector<std::string>{"李四"}));
    q.conditions = {t.cond("实发工资", "=", "1100", kOr)};
    EXPECT_EQ(names(t.run(q).result), (std::vector<std::string>{"李四"})) << "the last link joins nothing";
}

TEST(SalaryQuery, RowQualifiesJoinsEachResultToTheNextConditionWithoutPrecedence) {
    const QueryCondition gt{"F003", "", ">", "10", kOr}, lt{"F003", "", "<", "5", kAnd},
        eq{"F004", "", "=", "1", kAnd};
    struct Case {
        std::vector<QueryCondition> conditions;
        std::vector<double> values;
        bool keeps;
    };
    const Case cases[] = {
        {{}, {}, true},
        {{gt}, {11}, true},
        {{gt}, {10}, false},
        {{gt, lt}, {11, 11}, true}, // true or false
        {{lt, gt}, {4, 11}, true},  // true and true
        {{lt, gt}, {4, 10}, false}, // true and false
        // (true or false) and false; with precedence it would be true.
        {{gt, lt, eq}, {11, 11, 0}, false},
        {{gt, lt, eq}, {11, 11, 1}, true},
        {{gt, lt, eq}, {10, 4, 1}, true},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(rowQualifies(cases[i].conditions, cases[i].values), cases[i].keeps) << "case " << i;
}

TEST(SalaryQuery, TypedWildcardsAndQuotesMatchThemselves) {
    QueryTask t;
    t.staff("1%01", "张_一", "01", "01");
    t.staff("1101", "张三丰", "01", "01");
    t.staff("1_02", "李'四", "01", "01");
    QueryConditions q = t.range("200602", "200602");
    q.empNo = "1%";
    EXPECT_EQ(names(t.run(q).result), (std::vector<std::string>{"张_一"}));
    q.empNo = "1_";
    EXPECT_EQ(names(t.run(q).result), (std::vector<std::string>{"李'四"}));
    q.empNo.clear();
    q.name = "张_";
    EXPECT_EQ(names(t.run(q).result), (std::vector<std::string>{"张_一"}));
    q.name = "李'";
    EXPECT_EQ(names(t.run(q).result), (std::vector<std::string>{"李'四"}));
    q.name = "' or '1'='1";
    EXPECT_TRUE(t.run(q).result.rows.empty());
}

TEST(SalaryQuery, EmployeeWhoseDepartmentHasNoTypeIsFoundUnlessATypeIsAskedFor) {
    QueryTask t;
    QueryConditions q = t.range("200602", "200602");
    const QueryResult all = t.run(q).result;
    EXPECT_EQ(names(all), (std::vector<std::string>{"张三", "李四", "王五", "赵六"}))
        << "once each, whatever the number of types";
    EXPECT_EQ(all.rows[2][0], "仓库");
    EXPECT_EQ(all.rows[3][0], "") << "department 99 is not on file";
    q.depType = "生产";
    EXPECT_EQ(names(t.run(q).result), (std::vector<std::string>{"李四"}));
    q.depType.clear();
    q.departments = "01 总部,03 仓库";
    EXPECT_EQ(names(t.run(q).result), (std::vector<std::string>{"张三", "王五"}));
    q.departments.clear();
    q.empType = "02 工人";
    EXPECT_EQ(names(t.run(q).result), (std::vector<std::string>{"李四", "王五"}));
}

TEST(SalaryQuery, RangeChecksRefuseAndSwapAsTheDialogDoes) {
    QueryTask t;
    t.close();
    t.close(); // 200602..200604, 200604 open
    QueryConditions q = t.range("200604", "200602");
    q.month1 = "2";
    ASSERT_TRUE(t.run(q).outcome.ok);
    QueryRun run = runQuery(t.s, q, t.progress);
    EXPECT_EQ(run.result.first, "200602");
    EXPECT_EQ(q.year + q.month + "-" + q.year1 + q.month1, "200602-200604") << "the dialog shows the swap";

    run = t.run(t.range("200603", "200605"));
    EXPECT_EQ(run.outcome.message, "查询日期不能大于工资的当前日期。");
    EXPECT_EQ(run.outcome.title, "提示");
    EXPECT_EQ(t.run(t.range("200601", "200603")).outcome.message, "查询日期不能小于工资的起用日期。");
    q = t.range("2006", "200603");
    q.month = "13";
    EXPECT_EQ(t.run(q).outcome.message, kQueryBadDate);

    period::dropTableSet(t.s.taskConn, t.s.curTaskID, "200603");
    run = t.run(t.range("200602", "200604"));
    EXPECT_FALSE(run.outcome.ok);
    EXPECT_NE(run.outcome.message.find("2006年03月"), std::string::npos) << run.outcome.message;
    EXPECT_EQ(t.s.curPeriod, "200604") << "the session stays in its month";
}

TEST(SalaryQuery, ConditionDialogRefusals) {
    QueryTask t;
    AddQueryConditionResult r = addQueryCondition(t.s, "", ">", "1", kAnd);
    EXPECT_EQ(r.outcome.message, "请选择查询的条件");
    EXPECT_EQ(r.outcome.title, "提示");
    EXPECT_EQ(addQueryCondition(t.s, "实发工资", "<>", "1", kAnd).outcome.message, "请选择查询的条件");
    EXPECT_EQ(addQueryCondition(t.s, "无此项目", ">", "1", kAnd).outcome.message, "请选择查询的条件");
    EXPECT_EQ(addQueryCondition(t.s, "姓名", ">", "1", kAnd).outcome.message, "请选择查询的条件")
        << "the name is no number item";
    EXPECT_EQ(addQueryCondition(t.s, "实发工资", ">", "abc", kAnd).outcome.message, kQueryValueNotNumber);
    EXPECT_EQ(addQueryCondition(t.s, "实发工资", ">", "1O00", kAnd).outcome.message, kQueryValueNotNumber);
    r = addQueryCondition(t.s, "f004", ">=", " -1.5 ", kOr);
    ASSERT_TRUE(r.outcome.ok);
    EXPECT_EQ(r.condition, (QueryCondition{"F004", "津贴", ">=", "-1.5", kOr}));

    // A request built elsewhere is checked again before it runs.
    QueryConditions q = t.range("200602", "200602");
    q.conditions = {{"F004", "津贴", ">", "abc", kAnd}};
    EXPECT_EQ(t.run(q).outcome.message, kQueryValueNotNumber);
}

TEST(SalaryQuery, DepartmentTypeProposalAndDepartmentCodes) {
    QueryTask t;
    EXPECT_EQ(proposedDepartmentType(t.s, "02 车间,01 总部"), "生产");
    EXPECT_EQ(proposedDepartmentType(t.s, "03 仓库"), "");
    EXPECT_EQ(proposedDepartmentType(t.s, "' or 1=1 --"), "");
    EXPECT_EQ(departmentCodes(" 01 总部,,02  车间 ,"), (std::vector<std::string>{"01", "02"}));
}

TEST(SalaryQuery, PerEmployeeExceptionsAreTakenFromEachMonthsOwnTables) {
    QueryTask t;
    t.exceptions(true);
    t.item("F005", "双薪");
    t.formula("F005", "F003*2");
    t.s.taskConn.execute("Update " + t.table("Employee") + " Set F_NotCalc='F005' Where F_EmpNo='0003'");
    t.pay("0001", 100, 0);
    t.pay("0002", 100, 0);
    t.pay("0003", 100, 0);
    t.value("0002", "F005", 7.0);
    t.close();
    t.value("0002", "F005", 9.0);
    QueryConditions q = t.range("200602", "200603");
    q.conditions = {t.cond("双薪", "<", "200")};
    const QueryResult r = t.run(q).result;
    const int col = columnOf(r, "F005");
    std::vector<std::string> seen;
    for (std::size_t i = 0; i < r.rows.size(); ++i)
        seen.push_back(r.rowPeriods[i] + " " + r.rows[i][2] + " " + r.rows[i][col]);
    EXPECT_EQ(seen, (std::vector<std::string>{"200602 李四 7.00", "200602 王五 0.00", "200602 赵六 0.00",
                                              "200603 李四 9.00", "200603 王五 0.00", "200603 赵六 0.00"}));
}
