// The salary entry screen's rules: what opening does to the month, which
// cells can be typed, the write-back of one cell with its refusals, the
// recalculation of the edited row, department choice and search, the Enter
// order and the one-employee view.
#include "monthly/entry.h"
#include "monthly/entry_input.h"
#include "support/payroll_fixture.h"

#include <gtest/gtest.h>

using namespace gzgl;
using namespace gzgl::monthly;

namespace {

// A task with two leaf departments under 01 and one leaf 02: 0101 holds
// 0001 and 0002, 0102 holds 0003, 02 holds 0004. Items: F004 津贴 (input),
// F005 扣款 (formula F004*0.1), F006 备注 (text), F007 整数 (precision 0);
// net pay F003+F004-F005, gross pay an input.
struct EntryTest : ::testing::Test {
    test::PayrollTask t;
    Session& s = t.s;
    SilentProgress progress;
    SalaryEntry e{t.s};

    void SetUp() override {
        for (auto [no, name, end] : {std::tuple{"01", "机关", 0}, {"0101", "办公室", 1}, {"0102", "财务科", 1},
                                     {"02", "车间", 1}})
            s.taskConn.execute("Insert Into " + t.table("Depart") +
                                   "(F_DepNo,F_DepName,F_TypeNo,F_DepClass,F_End) Values(?,?,'',1,?)",
                               {no, name, end});
        t.item("F004", "津贴");
        t.item("F005", "扣款", "数字", 2, false);
        t.item("F006", "备注", "文字", 0);
        t.item("F007", "整数", "数字", 0);
        t.employee("0001", "张三", "0101", 1);
        t.employee("0002", "李四", "0101", 2);
        t.employee("0003", "王五", "0102", 1);
        t.employee("0004", "赵六", "02", 1);
        t.value("0001", "F003", 3000.0);
        t.value("0001", "F004", 100.0);
        t.formula("F005", "F004*0.1");
        t.formula("F000", "F003+F004-F005");
    }

    int col(const std::string& code) const {
        return code == "F001" ? 0 : code == "F002" ? 1 : e.grid().columnOf(code);
    }
    int row(const std::string& empNo) const {
        for (int r = calc::kFirstEmployeeRow; r < e.grid().rows(); ++r)
            if (e.grid().cell(r, 0) == empNo)
                return r;
        return -1;
    }
    const std::string& cell(const std::string& empNo, const std::string& code) const {
        return e.grid().cell(row(empNo), col(code));
    }
    Value stored(const std::string& empNo, const std::string& code) {
        return s.taskConn.scalar("Select " + code + " From " + t.table("Data") + " Where F_EmpNo=?", {empNo});
    }
    EditResult edit(const std::string& empNo, const std::string& code, const std::string& entry) {
        const int r = row(empNo), c = col(code);
        return e.endEdit(r, c, e.grid().cell(r, c), entry);
    }
};

TEST_F(EntryTest, OpeningGivesEveryEmployeeADataRowAndRemovesOrphans) {
    s.taskConn.execute("Delete From " + t.table("Data") + " Where F_EmpNo='0002'");
    s.taskConn.execute("Insert Into " + t.table("Data") + "(F_EmpNo) Values('0099')");
    e.open(progress);
    EXPECT_EQ(s.taskConn.scalar("Select count(*) From " + t.table("Data") + " Where F_EmpNo='0002'").toInt(), 1);
    EXPECT_EQ(s.taskConn.scalar("Select count(*) From " + t.table("Data") + " Where F_EmpNo='0099'").toInt(), 0);
    // The first lowest-level department, its headcount, its employees.
    EXPECT_EQ(e.depNo(), "0101");
    EXPECT_EQ(e.depName(), "办公室");
    EXPECT_EQ(e.headcount(), "部门人数：2人");
    ASSERT_EQ(e.grid().employeeCount(), 2);
    EXPECT_EQ(cell("0002", "F002"), "李四");
    // Fully recalculated: 3000 + 100 - 10.
    EXPECT_EQ(cell("0001", "F005"), "10.00");
    EXPECT_EQ(cell("0001", "F000"), "3090.00");
}

TEST_F(EntryTest, OpeningResetsFixedValueItemsWithoutFormula) {
    s.taskConn.execute("Update " + t.table("Item") + " Set F_Change=1, F_ChgValue=88 Where F_Code='F007'");
    t.value("0004", "F007", 5.0);
    e.open(progress);
    EXPECT_EQ(stored("0004", "F007").toDouble(), 88.0);
    EXPECT_EQ(cell("0001", "F007"), "88");
}

TEST_F(EntryTest, NumberEntriesAcceptedOrRefused) {
    struct Case {
        const char* entry;
        const char* message; // nullptr: accepted
        double stored;
        const char* shown;
    };
    const Case cases[] = {
        {"12345678.5", nullptr, 12345678.5, "12345678.50"},
        {"-35", nullptr, -35, "-35.00"},
        {"", nullptr, 0, "0.00"},
        {"2.675", nullptr, 2.68, "2.68"},
        {".5", nullptr, 0.5, "0.50"},
        {"7.", nullptr, 7, "7.00"},
        {"123456789.5", kTooRich, 100, "100.00"},
        {"123456789", kTooRich, 100, "100.00"},
        {"12a", kIllegal, 100, "100.00"},
        {" 12", kIllegal, 100, "100.00"},
        {"1-2", kIllegal, 100, "100.00"},
        {"--", kIllegal, 100, "100.00"},
        {"1.2.3", kIllegal, 100, "100.00"},
        {"-", kIllegal, 100, "100.00"},
        {".", kIllegal, 100, "100.00"},
    };
    e.open(progress);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        t.value("0001", "F004", 100.0);
        const int r = row("0001"), cc = col("F004");
        const std::string before = e.grid().cell(r, cc);
        const EditResult res = e.endEdit(r, cc, "100.00", c.entry);
        EXPECT_EQ(res.written, c.message == nullptr);
        EXPECT_EQ(res.outcome.message, c.message ? c.message : "");
        EXPECT_EQ(res.shown, c.shown);
        EXPECT_EQ(stored("0001", "F004").toDouble(), c.stored);
        if (c.message) {
            EXPECT_EQ(e.grid().cell(r, cc), before) << "a refused entry leaves the cell";
        }
    }
}

TEST_F(EntryTest, ValueRoundedBeyondTheLimitRefused) {
    // The bound holds for what is stored: a typed value within it that the
    // item's precision rounds across it is refused as well, in the grid and
    // in the one-employee view, for an input and a per-employee value.
    t.exceptions(true);
    e.open(progress);
    struct Case {
        const char* code;
        const char* entry;
        bool inputView;
        bool fits;
    };
    const Case cases[] = {
        {"F004", "99999999.99", false, true},  {"F004", "99999999.999", false, false},
        {"F004", "-9999999.995", true, false}, {"F007", "99999999.4", true, true},
        {"F007", "99999999.5", false, false},  {"F005", "-9999999.99", true, true},
        {"F005", "99999999.999", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.code) + " " + c.entry);
        const int r = row("0001"), cc = col(c.code);
        const std::string start = e.grid().cell(r, cc);
        if (c.fits) {
            EXPECT_TRUE(
                (c.inputView ? e.endInputEdit(r, cc, start, c.entry) : e.endEdit(r, cc, start, c.entry))
                    .written);
            continue;
        }
        const Value before = stored("0001", c.code);
        const EditResult res =
            c.inputView ? e.endInputEdit(r, cc, start, c.entry) : e.endEdit(r, cc, start, c.entry);
        EXPECT_FALSE(res.written);
        EXPECT_EQ(res.outcome.message, kTooRich);
        EXPECT_EQ(res.shown, start);
        EXPECT_EQ(e.grid().cell(r, cc), start);
        EXPECT_EQ(stored("0001", c.code), before);
    }
}

TEST_F(EntryTest, PrecisionOfTheItemFormatsTheStoredValue) {
    e.open(progress);
    const EditResult r = edit("0001", "F007", "2.5");
    EXPECT_EQ(r.shown, "3");
    EXPECT_EQ(stored("0001", "F007").toDouble(), 3.0);
}

TEST_F(EntryTest, ReenteringTheSameValueWritesNothing) {
    e.open(progress);
    t.value("0001", "F004", 555.0); // changed behind the screen's back
    for (const char* same : {"100", "100.00", "100.001"}) {
        const EditResult r = edit("0001", "F004", same);
        EXPECT_FALSE(r.written) << same;
        EXPECT_EQ(stored("0001", "F004").toDouble(), 555.0) << same;
    }
    EXPECT_TRUE(edit("0001", "F004", "100.01").written);
    EXPECT_EQ(stored("0001", "F004").toDouble(), 100.01);
}

TEST_F(EntryTest, EditedInputRecalculatesTheRowAndSetsTheCurrentEmployee) {
    e.open(progress);
    const int r = row("0001");
    EXPECT_FALSE(e.editable(r, col("F005")));
    EXPECT_FALSE(e.editable(r, col("F000")));
    EXPECT_TRUE(e.editable(r, col("F004")));
    const std::string otherNet = cell("0002", "F000");
    EXPECT_TRUE(edit("0001", "F004", "200").written);
    EXPECT_EQ(cell("0001", "F005"), "20.00");
    EXPECT_EQ(cell("0001", "F000"), "3180.00");
    EXPECT_EQ(cell("0002", "F000"), otherNet);
    EXPECT_EQ(s.curEmpNo, "0001");
    // A formula cell is never written, whatever is asked.
    const EditResult f = e.endEdit(r, col("F005"), "20.00", "1");
    EXPECT_FALSE(f.written);
    EXPECT_EQ(cell("0001", "F005"), "20.00");
}

TEST_F(EntryTest, HeaderRowsFixedColumnsAndAccountItemsAreNotEditable) {
    t.item("FFFH", "银行账号", "文字", 0, false);
    e.open(progress);
    const int r = row("0001");
    const int f004 = col("F004"), account = col("FFFH");
    for (const auto& [er, ec] : {std::pair{0, f004}, {1, f004}, {r, 0}, {r, 1}, {r, 2}, {r, account}})
        EXPECT_FALSE(e.editable(er, ec)) << er << "," << ec;
    EXPECT_TRUE(e.editable(r, col("F003")));
}

TEST_F(EntryTest, NetPayWithoutFormulaGetsItsColumnWhenFirstWritten) {
    // Net pay typed in: no formula, moved behind the fixed columns.
    s.taskConn.execute("Delete From " + t.table("Formula") + " Where F_Code='F000'");
    s.taskConn.execute("Update " + t.table("Item") + " Set F_ID=100 Where F_Code='F000'");
    ASSERT_FALSE(s.taskConn.hasColumn(t.table("Data"), "F000"));
    e.open(progress);
    ASSERT_GE(col("F000"), 3);
    EXPECT_TRUE(e.editable(row("0001"), col("F000")));
    EXPECT_TRUE(edit("0001", "F000", "1234.5").written);
    EXPECT_EQ(stored("0001", "F000").toDouble(), 1234.5);
    EXPECT_EQ(cell("0001", "F000"), "1234.50");
    EXPECT_TRUE(edit("0002", "F000", "1").written);
}

TEST_F(EntryTest, TextItemsStoredAsTypedWithQuotes) {
    e.open(progress);
    const std::string text = "O'Brien \"甲\" | 100%";
    EditResult r = edit("0002", "F006", text);
    EXPECT_TRUE(r.written);
    EXPECT_EQ(stored("0002", "F006").toString(), text);
    EXPECT_EQ(cell("0002", "F006"), text);
    r = edit("0002", "F006", "");
    EXPECT_EQ(stored("0002", "F006").toString(), " ");
    // A text compares as typed, not as a number.
    edit("0002", "F006", "1");
    EXPECT_TRUE(edit("0002", "F006", "01").written);
    EXPECT_EQ(stored("0002", "F006").toString(), "01");
}

TEST_F(EntryTest, RoundOffColumnsHiddenOnlyWithoutRoundingOff) {
    for (int mode : {0, 1}) {
        s.roundOffMode = mode;
        SalaryEntry screen(s);
        screen.open(progress);
        for (const char* code : {"FFFF", "FFFE", "FFFD"}) {
            const int c = screen.grid().columnOf(code);
            EXPECT_EQ(screen.columnVisible(c), mode != 0) << code;
            EXPECT_EQ(screen.columnTwips(c), mode != 0 ? 15 * 55 : 0) << code;
        }
        EXPECT_EQ(screen.columnTwips(screen.grid().columnOf("F004")), 15 * 55);
    }
}

TEST_F(EntryTest, DepartmentChoiceByPrefixReloadsAndRecalculates) {
    e.open(progress);
    e.chooseDepartment("01", progress);
    EXPECT_EQ(e.depNo(), "01");
    EXPECT_EQ(e.depName(), "机关");
    EXPECT_EQ(e.headcount(), "部门人数：3人");
    EXPECT_EQ(e.grid().employeeCount(), 3);
    EXPECT_EQ(cell("0001", "F000"), "3090.00");
    e.chooseDepartment("", progress);
    EXPECT_EQ(e.grid().employeeCount(), 4);
    EXPECT_EQ(e.headcount(), "部门人数：4人");
}

TEST_F(EntryTest, FindByNumberOrNamePrefix) {
    e.open(progress);
    Outcome o = e.find("", " ", progress);
    EXPECT_EQ(o.message, kNoCondition);
    o = e.find("9", "", progress);
    EXPECT_EQ(o.message, kNoSuchPerson);
    EXPECT_EQ(e.grid().employeeCount(), 2) << "the grid stays as it was";
    o = e.find("", "王", progress);
    EXPECT_TRUE(o.ok);
    ASSERT_EQ(e.grid().employeeCount(), 1);
    EXPECT_EQ(cell("0003", "F002"), "王五");
    EXPECT_TRUE(e.find("000", "赵", progress).ok);
    EXPECT_EQ(e.grid().employeeCount(), 1);
    EXPECT_EQ(e.find("0001", "赵", progress).message, kNoSuchPerson);
}

TEST_F(EntryTest, EnterMovesOverTickedEditableColumnsLeftToRight) {
    items::SalarySettings set;
    set.department = "01";
    set.codes = {"F001", "F002", "F000", "F003", "F004", "F005", "F007"}; // F006 not ticked
    e.open(progress, &set);
    EXPECT_FALSE(e.columnVisible(col("F006")));
    const int r = row("0001");
    EXPECT_EQ(e.nextCell(r, col("F003")), std::make_pair(r, col("F004")));
    // F005 has a formula, F006 is not shown.
    EXPECT_EQ(e.nextCell(r, col("F004")), std::make_pair(r, col("F007")));
    EXPECT_EQ(e.nextCell(r, col("F007")), std::make_pair(r + 1, col("F003")));
    const int last = e.grid().rows() - 1;
    EXPECT_EQ(e.nextCell(last, col("F007")), std::make_pair(last, col("F007")));
    EXPECT_EQ(e.rowAbove(calc::kFirstEmployeeRow), calc::kFirstEmployeeRow);
    EXPECT_EQ(e.rowBelow(last), last);
    EXPECT_EQ(e.settings().codes, set.codes);
}

TEST_F(EntryTest, InputViewShowsTheItemsOfOneEmployeeByTheirNames) {
    s.roundOffMode = 1;
    e.open(progress);
    const std::vector<InputRow> rows = inputRows(e, row("0001"));
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0].caption, "实发工资");
    EXPECT_EQ(rows[0].value, "3090.00");
    std::vector<std::string> captions;
    for (const InputRow& i : rows)
        captions.push_back(i.caption);
    EXPECT_EQ(captions, (std::vector<std::string>{"实发工资", "应发工资", "上月扣零", "本月补发", "本月扣零", "津贴",
                                                  "扣款", "备注", "整数"}));
    EXPECT_EQ(previousEmployee(e, row("0001")), row("0001"));
    EXPECT_EQ(nextEmployee(e, row("0001")), row("0002"));
    EXPECT_EQ(nextEmployee(e, row("0002")), row("0002"));
}

TEST_F(EntryTest, InputViewStoresAPerEmployeeValueOnlyWithExceptionsOn) {
    e.open(progress);
    const int r = row("0001"), c = col("F005");
    EXPECT_FALSE(e.inputEditable(r, c));
    EXPECT_FALSE(e.endInputEdit(r, c, "10.00", "50").written);

    t.exceptions(true);
    SalaryEntry on(s);
    on.open(progress);
    ASSERT_TRUE(on.inputEditable(r, c));
    EXPECT_EQ(on.endInputEdit(r, c, "10.00", "5x").outcome.message, kIllegalInBox);
    EditResult res = on.endInputEdit(r, c, "10.00", "50");
    EXPECT_TRUE(res.written);
    EXPECT_EQ(stored("0001", "F005").toDouble(), 50.0) << "the column is added for the stored value";
    EXPECT_EQ(on.grid().cell(r, c), "50.00");
    EXPECT_EQ(on.grid().cell(r, on.grid().columnOf("F000")), "3050.00");
    EXPECT_TRUE(stored("0002", "F005").isNull()) << "nobody else gets a value";

    // Reopened, the stored value still takes the formula's place.
    SalaryEntry again(s);
    again.open(progress);
    EXPECT_EQ(again.grid().cell(r, c), "50.00");
    // Emptied, the formula is back and "-9999" marks that none is stored.
    res = again.endInputEdit(r, c, "50.00", "");
    EXPECT_TRUE(res.written);
    EXPECT_EQ(stored("0001", "F005").toString(), "-9999");
    EXPECT_EQ(again.grid().cell(r, c), "10.00");
}

} // namespace
