// Staff transfer: the list of a department's branch, the target choices and
// the move itself, which changes only the department of the listed
// employees, all of them or none.
#include "base/transfer.h"
#include "tests/base/base_fixture.h"

using namespace gzgl;
using namespace gzgl::base;

namespace {

struct RecordingProgress : Progress {
    std::vector<std::string> calls;
    void begin(const std::string& status, int maximum) override {
        calls.push_back("begin " + status + " " + std::to_string(maximum));
    }
    void step() override { calls.push_back("step"); }
    void end() override { calls.push_back("end"); }
};

struct Transfer : test::StaffTest {
    Transfer() {
        task.employee("0001", "甲", "0101", 2);
        task.employee("0002", "乙", "0102", 1);
        task.employee("0003", "丙", "0101", 3);
        task.employee("0004", "丁", "02", 1);
        task.item("F004", "补贴");
        task.value("0001", "F004", 100.0);
    }

    std::vector<std::string> departments() {
        std::vector<std::string> out;
        const Recordset rs = s.taskConn.query("Select F_EmpNo,F_DepNo From " + table("Employee") + " Order By F_EmpNo");
        for (std::size_t i = 0; i < rs.size(); ++i)
            out.push_back(rs.row(i)[0].toString() + ">" + rs.row(i)[1].toString());
        return out;
    }
};

std::vector<std::string> firstColumn(const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::string> out;
    for (const auto& r : rows)
        out.push_back(r.at(0));
    return out;
}

} // namespace

// ---- the list --------------------------------------------------------------

TEST_F(Transfer, ListHoldsTheSubDepartmentsAndTheWholeBranchBySortNumber) {
    const TransferList l = transferList(s, "01");
    ASSERT_EQ(firstColumn(l.departments), (std::vector<std::string>{"0101", "0102"}));
    EXPECT_EQ(l.departments[0], (std::vector<std::string>{"0101", "一车间", ""}));
    ASSERT_EQ(firstColumn(l.employees), (std::vector<std::string>{"0002", "0001", "0003"}));
    ASSERT_EQ(l.employees[0].size(), transferEmployeeCaptions().size() - 1);
    EXPECT_EQ(l.employees[0][1], "乙");
    EXPECT_EQ(transferEmployeeCaptions().front(), "选择");
    EXPECT_EQ(transferDepartmentCaptions(), (std::vector<std::string>{"部门编号", "部门名称", "部门分类"}));

    const TransferList leaf = transferList(s, "0101");
    EXPECT_TRUE(leaf.departments.empty());
    EXPECT_EQ(firstColumn(leaf.employees), (std::vector<std::string>{"0001", "0003"}));
    EXPECT_EQ(transferCountText(leaf.employees.size()), "  共2人");
}

TEST_F(Transfer, ListOfACodeWithLikeCharactersMatchesOnlyItsBranch) {
    department("1_", "特殊", 1, true);
    department("12", "其他", 1, true);
    task.employee("0101", "戊", "12");
    task.employee("0102", "己", "1_");
    EXPECT_EQ(firstColumn(transferList(s, "1_").employees), (std::vector<std::string>{"0102"}));
}

TEST_F(Transfer, TargetsAreLeavesWhoseNameHoldsTheTypedText) {
    EXPECT_EQ(transferTargets(s, ""), (std::vector<std::string>{"0101 一车间", "0102 二车间", "02 销售部"}));
    EXPECT_EQ(transferTargets(s, "车间"), (std::vector<std::string>{"0101 一车间", "0102 二车间"}));
    EXPECT_TRUE(transferTargets(s, "生产").empty()); // 01 has sub-departments
    department("03", "100%达标", 1, true);
    department("04", "100 达标", 1, true);
    EXPECT_EQ(transferTargets(s, "0%"), (std::vector<std::string>{"03 100%达标"}));
}

// ---- moving ----------------------------------------------------------------

TEST_F(Transfer, MovesOnlyTheListedEmployeesAndKeepsTheirValues) {
    RecordingProgress progress;
    const Outcome o = transferEmployees(s, "02 销售部", {"0001", "0002"}, &progress);
    ASSERT_TRUE(o.ok) << o.message;
    EXPECT_EQ(departments(), (std::vector<std::string>{"0001>02", "0002>02", "0003>0101", "0004>02"}));
    EXPECT_EQ(s.taskConn.scalar("Select F004 From " + table("Data") + " Where F_EmpNo='0001'"), Value(100.0));
    EXPECT_EQ(count("Data"), 4);
    EXPECT_EQ(progress.calls, (std::vector<std::string>{"begin   正在进行人员调动... 2", "step", "step", "end"}));
}

TEST_F(Transfer, EmployeesOfASubDepartmentListedUnderTheParentMoveToo) {
    std::vector<std::string> ticked = firstColumn(transferList(s, "01").employees);
    ASSERT_TRUE(transferEmployees(s, "0101", ticked).ok);
    EXPECT_EQ(departments(), (std::vector<std::string>{"0001>0101", "0002>0101", "0003>0101", "0004>02"}));
}

TEST_F(Transfer, IntoTheOwnDepartmentLeavesThemUnchanged) {
    const Recordset before = s.taskConn.query("Select * From " + table("Employee") + " Order By F_EmpNo");
    ASSERT_TRUE(transferEmployees(s, "0101 一车间", {"0001", "0003"}).ok);
    const Recordset after = s.taskConn.query("Select * From " + table("Employee") + " Order By F_EmpNo");
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i)
        EXPECT_EQ(after.row(i), before.row(i)) << i;
}

TEST_F(Transfer, RefusedTransfersChangeNothing) {
    const std::vector<std::string> all = departments();
    struct Case {
        const char* target;
        std::vector<std::string> empNos;
        const char* message;
    };
    const Case cases[] = {
        {"  ", {"0001"}, "您首先要选择部门！"},
        {"", {}, "您首先要选择部门！"},
        {"01 生产部", {"0001"}, "请您选择正确的部门！"}, // not a leaf
        {"09", {"0001"}, "请您选择正确的部门！"},        // no such department
        {"01", {}, "请您选择正确的部门！"},              // the target is checked first
        {"0102 二车间", {}, "请选择要调动的人员！"},
    };
    for (const Case& c : cases) {
        RecordingProgress progress;
        const Outcome o = transferEmployees(s, c.target, c.empNos, &progress);
        EXPECT_FALSE(o.ok) << c.target;
        EXPECT_EQ(o.message, c.message) << c.target;
        EXPECT_EQ(o.icon, Icon::Exclamation) << c.target;
        EXPECT_EQ(o.title, s.productTitle) << c.target;
        EXPECT_TRUE(progress.calls.empty()) << c.target;
        EXPECT_EQ(departments(), all) << c.target;
    }
}

TEST_F(Transfer, AFailurePartWayMovesNobodyAndEndsTheProgress) {
    s.taskConn.execute("Create Trigger stop_move Before Update On " + table("Employee") +
                       " When new.F_EmpNo='0003' Begin Select Raise(Abort, 'locked'); End");
    RecordingProgress progress;
    const Outcome o = transferEmployees(s, "02", {"0001", "0002", "0003"}, &progress);
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.icon, Icon::Exclamation);
    EXPECT_EQ(departments(), (std::vector<std::string>{"0001>0101", "0002>0102", "0003>0101", "0004>02"}));
    ASSERT_FALSE(progress.calls.empty());
    EXPECT_EQ(progress.calls.back(), "end");
}

// A code of nobody is not a transfer done: the whole list is refused before
// anyone moves, naming the code.
TEST_F(Transfer, TransferOfAnUnknownEmployeeRefusedNotReportedDone) {
    RecordingProgress progress;
    const Outcome o = transferEmployees(s, "02 销售部", {"0001", "0099"}, &progress);
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.message, "查无此人：0099");
    EXPECT_EQ(o.icon, Icon::Exclamation);
    EXPECT_TRUE(progress.calls.empty());
    EXPECT_EQ(departments(), (std::vector<std::string>{"0001>0101", "0002>0102", "0003>0101", "0004>02"}));
}
