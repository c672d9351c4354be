// Loading the month's working grid: column order, row order, formatting,
// "no value" cells and the state the entry screen's opening would give.
#include "monthly/workgrid_load.h"
#include "support/payroll_fixture.h"

#include <gtest/gtest.h>

using namespace gzgl;
using namespace gzgl::monthly;

namespace {
const std::string& at(const calc::WorkGrid& g, int empRow, const std::string& code) {
    const int c = code == "F001" ? 0 : code == "F002" ? 1 : g.columnOf(code);
    return g.cell(calc::kFirstEmployeeRow + empRow, c);
}
} // namespace

TEST(WorkGridLoad, ColumnsFollowTheItemOrderWithCodesAndCaptions) {
    test::PayrollTask t;
    t.item("F004", "津贴");
    const calc::WorkGrid g = loadWorkGrid(t.s, {}, false).grid;
    const std::vector<std::string> codes = {"F001", "F002", "F000", "F003", "FFFF", "FFFE", "FFFD", "F004"};
    ASSERT_EQ(g.cols(), static_cast<int>(codes.size()));
    for (int c = 0; c < g.cols(); ++c)
        EXPECT_EQ(g.cell(0, c), codes[static_cast<std::size_t>(c)]);
    EXPECT_EQ(g.cell(1, 1), "姓名");
    EXPECT_EQ(g.cell(1, 7), "津贴");
    EXPECT_EQ(g.rows(), 2);
}

TEST(WorkGridLoad, RowsByDepartmentSortNumberAndCode) {
    test::PayrollTask t;
    t.employee("0003", "丙", "02", 1);
    t.employee("0002", "乙", "01", 2);
    t.employee("0001", "甲", "01", 2);
    t.employee("0004", "丁", "01", 1);
    const calc::WorkGrid g = loadWorkGrid(t.s, {}, false).grid;
    ASSERT_EQ(g.employeeCount(), 4);
    EXPECT_EQ(at(g, 0, "F001"), "0004");
    EXPECT_EQ(at(g, 1, "F001"), "0001");
    EXPECT_EQ(at(g, 2, "F001"), "0002");
    EXPECT_EQ(at(g, 3, "F001"), "0003");
    EXPECT_EQ(at(g, 3, "F002"), "丙");
}

TEST(WorkGridLoad, NumbersFormattedAndNoValueLeftEmpty) {
    test::PayrollTask t;
    t.item("F004", "整数", "数字", 0);
    t.item("F005", "备注", "文字", 0);
    t.employee("0001", "甲");
    t.employee("0002", "乙");
    t.value("0001", "F003", 1234.5);
    t.value("0001", "F004", 2.5);
    t.value("0001", "F005", "备 注");
    t.value("0002", "F003", -9999.0);
    const calc::WorkGrid g = loadWorkGrid(t.s, {}, false).grid;
    EXPECT_EQ(at(g, 0, "F003"), "1234.50");
    EXPECT_EQ(at(g, 0, "F004"), "3");
    EXPECT_EQ(at(g, 0, "F005"), "备 注");
    EXPECT_EQ(at(g, 1, "F003"), "");
    EXPECT_EQ(at(g, 1, "F004"), "");
    EXPECT_EQ(at(g, 0, "F000"), ""); // no data column yet
}

TEST(WorkGridLoad, AccountItemsShowTheEmployeeFields) {
    test::PayrollTask t;
    t.item("FFFH", "银行账号", "文字", 0, false);
    t.item("FFFG", "身份证号", "文字", 0, false);
    t.employee("0001", "甲");
    t.s.taskConn.execute("Update " + t.table("Employee") + " Set F_CID=?, F_AccNo=? Where F_EmpNo=?",
                         {"110101199001011234", "6222020200001234567", "0001"});
    const calc::WorkGrid g = loadWorkGrid(t.s, {}, false).grid;
    EXPECT_EQ(at(g, 0, "FFFG"), "110101199001011234");
    EXPECT_EQ(at(g, 0, "FFFH"), "6222020200001234567");
}

TEST(WorkGridLoad, FiltersArePrefixesAndBound) {
    test::PayrollTask t;
    t.employee("0001", "王'小%", "0101");
    t.employee("0002", "李四", "0102");
    t.employee("0003", "王五", "02");
    EXPECT_EQ(loadWorkGrid(t.s, {.depNo = "01"}, false).grid.employeeCount(), 2);
    EXPECT_EQ(loadWorkGrid(t.s, {.empName = "王"}, false).grid.employeeCount(), 2);
    EXPECT_EQ(loadWorkGrid(t.s, {.empNo = "000", .empName = "王'"}, false).grid.employeeCount(), 1);
    EXPECT_EQ(loadWorkGrid(t.s, {.depNo = "01", .empNo = "0003"}, false).grid.employeeCount(), 0);
}

TEST(WorkGridLoad, WildcardsTypedInAFilterMatchOnlyThemselves) {
    test::PayrollTask t;
    t.employee("0001", "王'小%", "0101");
    t.employee("0002", "王'小明", "0102");
    EXPECT_EQ(loadWorkGrid(t.s, {.empName = "王'小%"}, false).grid.employeeCount(), 1);
    EXPECT_EQ(loadWorkGrid(t.s, {.depNo = "%"}, false).grid.employeeCount(), 0);
    EXPECT_EQ(loadWorkGrid(t.s, {.empNo = "_001"}, false).grid.employeeCount(), 0);
}

TEST(WorkGridLoad, DepartmentListIncludesOrExcludesSubDepartmentsAndOrdersByAccount) {
    test::PayrollTask t;
    t.employee("0001", "甲", "0101");
    t.employee("0002", "乙", "0102");
    t.employee("0003", "丙", "02");
    t.s.taskConn.execute("Update " + t.table("Employee") + " Set F_AccNo=? Where F_EmpNo=?", {"9", "0001"});
    t.s.taskConn.execute("Update " + t.table("Employee") + " Set F_AccNo=? Where F_EmpNo=?", {"1", "0003"});
    t.s.taskConn.execute("Update " + t.table("Employee") + " Set F_AccNo=? Where F_EmpNo=?", {"5", "0002"});
    auto names = [&](const GridFilter& f) {
        const calc::WorkGrid g = loadWorkGrid(t.s, f, false).grid;
        std::string out;
        for (int r = 0; r < g.employeeCount(); ++r)
            out += at(g, r, "F002");
        return out;
    };
    GridFilter f;
    f.depCodes = {"01"};
    EXPECT_EQ(names(f), "丙");
    f.depInclude = true;
    EXPECT_EQ(names(f), "甲乙");
    f.order = GridFilter::Order::Account;
    EXPECT_EQ(names(f), "乙甲");
    f.depCodes = {"0102", "02"};
    EXPECT_EQ(names(f), "丙乙");
    // A quote or wildcard in an entry neither breaks the query nor widens it.
    f.depCodes = {"0'1", "%"};
    EXPECT_EQ(names(f), "");
    f.depInclude = false;
    EXPECT_EQ(names(f), "丙乙甲");
}

TEST(WorkGridLoad, AsIfOpenedShowsMissingRowsAndFixedValuesWithoutWriting) {
    test::PayrollTask t;
    t.item("F004", "固定补贴");
    t.item("F005", "公式项");
    t.s.taskConn.execute("Update " + t.table("Item") + " Set F_Change=1, F_ChgValue=50 Where F_Code In ('F004','F005')");
    t.formula("F005", "F003");
    t.employee("0001", "甲");
    t.value("0001", "F004", 10.0);
    t.value("0001", "F005", 7.0);
    t.s.taskConn.execute("Insert Into " + t.table("Employee") + "(F_EmpNo,F_DepNo,F_EmpName,F_SortNo) Values('0002','01','新人',1)");

    EXPECT_EQ(loadWorkGrid(t.s, {}, false).grid.employeeCount(), 1);
    const calc::WorkGrid g = loadWorkGrid(t.s, {}, true).grid;
    ASSERT_EQ(g.employeeCount(), 2);
    EXPECT_EQ(at(g, 0, "F004"), "50.00");
    EXPECT_EQ(at(g, 0, "F005"), "7.00");
    EXPECT_EQ(at(g, 1, "F002"), "新人");
    EXPECT_EQ(t.s.taskConn.scalar("Select F004 From " + t.table("Data") + " Where F_EmpNo='0001'").toDouble(), 10.0);
    EXPECT_EQ(t.s.taskConn.scalar("Select count(*) From " + t.table("Data")).toInt(), 1);
}
