// Employees: the code and sort-number proposals, the entry with its data
// row and period label, the checks of entry and modification in their
// order, loading, deletion and the pickers around the not-calculated list.
#include "base/departments.h"
#include "tests/base/base_fixture.h"

using namespace gzgl;
using namespace gzgl::base;
using Employees = test::StaffTest;

namespace {

struct Refusal {
    const char* what;
    EmployeeFields f;
    const char* message;
    Icon icon;
    const char* focus;
};

} // namespace

// ---- numbering -------------------------------------------------------------

TEST_F(Employees, NextCodeStartsAt0001AndFollowsTheMaskLengthOfTheLargestCode) {
    ASSERT_EQ(s.empNoMask, "0000");
    EXPECT_EQ(nextEmployeeCode(s), "0001");
    task.employee("0007", "甲", "0101");
    task.employee("0041", "乙", "0102");
    EXPECT_EQ(nextEmployeeCode(s), "0042");
    task.employee("00459", "丙", "0101"); // longer than the mask: its first four count
    EXPECT_EQ(nextEmployeeCode(s), "0046");
}

TEST_F(Employees, TypedCodesArePaddedWhenNumericOnly) {
    EXPECT_EQ(formatEmployeeCode(s, "7"), "0007");
    EXPECT_EQ(formatEmployeeCode(s, " 12 "), "0012");
    EXPECT_EQ(formatEmployeeCode(s, "00012"), "0012");
    EXPECT_EQ(formatEmployeeCode(s, "12345"), "12345");
    EXPECT_EQ(formatEmployeeCode(s, " A7 "), "A7");
    EXPECT_EQ(formatEmployeeCode(s, "-7"), "-7");
    EXPECT_EQ(formatEmployeeCode(s, ""), "");
    // Too many digits for a double: kept as typed rather than altered.
    EXPECT_EQ(formatEmployeeCode(s, "12345678901234567"), "12345678901234567");
    s.empNoMask.clear();
    EXPECT_EQ(formatEmployeeCode(s, " 7 "), "7");
}

TEST_F(Employees, TypedCodeSevenIsSavedAs0007) {
    const SaveEmployeeResult r = addEmployee(s, fields("7"));
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    EXPECT_EQ(r.code, "0007");
    EXPECT_EQ(text("0007", "F_EmpName"), "张三");
    EXPECT_TRUE(hasDataRow("0007"));
    EXPECT_EQ(nextEmployeeCode(s), "0008");
}

TEST_F(Employees, NextSortNumberIsPerDepartment) {
    EXPECT_EQ(nextSortNo(s, "0101"), 1);
    task.employee("0001", "甲", "0101", 3);
    task.employee("0002", "乙", "0101", 9);
    task.employee("0003", "丙", "0102", 20);
    EXPECT_EQ(nextSortNo(s, "0101"), 10);
    EXPECT_EQ(nextSortNo(s, "0101  一车间"), 10);
    EXPECT_EQ(nextSortNo(s, "02"), 1);
}

// ---- lists -----------------------------------------------------------------

TEST_F(Employees, EntryListsOfferLeavesAndTypesWithATrailingEmptyType) {
    EXPECT_EQ(leafDepartmentEntries(s), (std::vector<std::string>{"0101  一车间", "0102  二车间", "02  销售部"}));
    employeeType("02", "干部");
    employeeType("01", "工人");
    EXPECT_EQ(employeeTypeEntries(s), (std::vector<std::string>{"01   工人", "02   干部", ""}));
    EXPECT_EQ(sexChoices(), (std::vector<std::string>{"", "男", "女"}));
    EXPECT_EQ(nationChoices(), (std::vector<std::string>{"", "汉", "回", "满"}));
}

// ---- adding ----------------------------------------------------------------

TEST_F(Employees, AddStoresAllSixteenFieldsExactly) {
    employeeType("01", "工人");
    EmployeeFields f = fields(" 12 ", "0102  二车间", "  张三%_  ");
    f.sex = " 男 ";
    f.nation = " 汉 ";
    f.cid = " 1101'01|%身份 ";
    f.accNo = "62'22|%";
    f.oldNo = "养老 01";
    f.houseNo = "H|1";
    f.otherNo1 = "O'1";
    f.otherNo2 = "%_2";
    f.sortNo = " 5 ";
    f.character = " 12 ";
    f.empType = "01   工人";
    f.notCalc = "F004,F005";
    f.lashMonth = "2024.02.29";
    const SaveEmployeeResult r = addEmployee(s, f);
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    EXPECT_EQ(r.code, "0012");

    const Recordset rs = s.taskConn.query("Select * From " + table("Employee"));
    ASSERT_EQ(rs.size(), 1u);
    const std::vector<Value> expected = {
        "0012", "0102", "张三%_", "男", "汉", " 1101'01|%身份 ", "62'22|%",   "养老 01", "H|1",
        "O'1",  "%_2",  Value(5), "12", "01", "F004,F005",       "2024.02.29"};
    ASSERT_EQ(rs.fields().size(), expected.size());
    for (std::size_t c = 0; c < expected.size(); ++c)
        EXPECT_EQ(rs.row(0)[c], expected[c]) << rs.fields()[c];
}

TEST_F(Employees, EmptyAccountsListAndDateAreStoredAsOneBlank) {
    EmployeeFields f = fields("0001");
    f.accNo = "   ";
    const SaveEmployeeResult r = addEmployee(s, f);
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    // The identity number counts among the six account fields.
    for (const char* c :
         {"F_CID", "F_AccNo", "F_OldNo", "F_HouseNo", "F_OtherNo1", "F_OtherNo2", "F_NotCalc", "F_LashMonth"})
        EXPECT_EQ(field("0001", c), Value(" ")) << c;
    EXPECT_TRUE(field("0001", "F_SortNo").isNull());
    EXPECT_EQ(field("0001", "F_Character"), Value(""));
    EXPECT_EQ(field("0001", "F_EmpType"), Value(""));
}

TEST_F(Employees, AddCreatesTheDataRowAndLabelsTheFirstDateItemOfEveryRow) {
    task.item("F005", "发放月份", "日期", 0);
    task.item("F004", "结算月份", "日期", 0); // later in the item order
    task.employee("0001", "甲", "0101");
    ASSERT_TRUE(addEmployee(s, fields("0002")).outcome.ok);
    EXPECT_TRUE(hasDataRow("0002"));
    EXPECT_EQ(count("Data"), 2);
    for (const char* no : {"0001", "0002"}) {
        EXPECT_EQ(s.taskConn.scalar("Select F005 From " + table("Data") + " Where F_EmpNo=?", {no}), Value("2006年02月"))
            << no;
        EXPECT_TRUE(s.taskConn.scalar("Select F004 From " + table("Data") + " Where F_EmpNo=?", {no}).isNull()) << no;
    }
}

TEST_F(Employees, AddWithoutADataTableLeavesNoEmployeeBehind) {
    // The employee and its data row are one change: a failing second half
    // takes the first with it.
    s.taskConn.execute("Alter Table " + table("Data") + " Rename To broken_data");
    const SaveEmployeeResult r = addEmployee(s, fields("0001"));
    EXPECT_FALSE(r.outcome.ok);
    EXPECT_EQ(r.outcome.icon, Icon::Critical);
    EXPECT_EQ(count("Employee"), 0);
}

TEST_F(Employees, AddRefusalsShowTheirMessageAndWriteNothing) {
    task.employee("0001", "甲", "0101");
    auto with = [](auto change) {
        EmployeeFields f = test::StaffTest::fields("0002");
        change(f);
        return f;
    };
    const Refusal cases[] = {
        {"transfer attribute", with([](EmployeeFields& f) { f.character = "12a"; }), "含有非法字符！",
         Icon::Exclamation, "txtCharacter"},
        {"empty code", with([](EmployeeFields& f) { f.empNo = "  "; }), "员工编码不能为空！", Icon::Critical,
         "txtEmpNo"},
        {"empty department", with([](EmployeeFields& f) { f.depNo = " "; }), "所属部门不能为空！", Icon::Critical,
         "cmbDep"},
        {"empty name", with([](EmployeeFields& f) { f.name = "  "; }), "员工姓名不能为空！", Icon::Critical,
         "txtEmpName"},
        {"unknown department", with([](EmployeeFields& f) { f.depNo = "09  无"; }), "不存在此部门！",
         Icon::Exclamation, "cmbDep"},
        {"department with sub-departments", with([](EmployeeFields& f) { f.depNo = "01  生产部"; }),
         "不存在此部门！", Icon::Exclamation, "cmbDep"},
        {"no such day", with([](EmployeeFields& f) { f.lashMonth = "2024.02.30"; }), "错误的日期",
         Icon::Information, "txtRq1"},
        {"dashes", with([](EmployeeFields& f) { f.lashMonth = "2024-02-29"; }), "错误的日期", Icon::Information,
         "txtRq1"},
        {"existing code", with([](EmployeeFields& f) { f.empNo = "1"; }), "该员工编码已存在，请输入其他号码！",
         Icon::Exclamation, "txtEmpNo"},
        // The order of the checks: the first failing one speaks.
        {"attribute before code", with([](EmployeeFields& f) { f.character = "x"; f.empNo = ""; }),
         "含有非法字符！", Icon::Exclamation, "txtCharacter"},
        {"code before department", with([](EmployeeFields& f) { f.empNo = ""; f.depNo = ""; }),
         "员工编码不能为空！", Icon::Critical, "txtEmpNo"},
        {"name before department check", with([](EmployeeFields& f) { f.name = ""; f.depNo = "09"; }),
         "员工姓名不能为空！", Icon::Critical, "txtEmpName"},
        {"department before date", with([](EmployeeFields& f) { f.depNo = "09"; f.lashMonth = "x"; }),
         "不存在此部门！", Icon::Exclamation, "cmbDep"},
        {"date before existing code", with([](EmployeeFields& f) { f.empNo = "0001"; f.lashMonth = "x"; }),
         "错误的日期", Icon::Information, "txtRq1"},
    };
    for (const Refusal& c : cases) {
        const SaveEmployeeResult r = addEmployee(s, c.f);
        EXPECT_FALSE(r.outcome.ok) << c.what;
        EXPECT_EQ(r.outcome.message, c.message) << c.what;
        EXPECT_EQ(r.outcome.icon, c.icon) << c.what;
        EXPECT_EQ(r.outcome.focus, c.focus) << c.what;
        EXPECT_EQ(r.outcome.title, s.productTitle) << c.what;
        EXPECT_EQ(count("Employee"), 1) << c.what;
        EXPECT_EQ(count("Data"), 1) << c.what;
    }
}

// A name is refused rather than stored cleaned or cut, on entry and on
// modification; the column's full 32 bytes are kept exactly.
TEST_F(Employees, EmployeeNameWithQuoteRefusedNotStored) {
    task.employee("0001", "甲", "0101");
    const std::string sixteen = "一二三四五六七八九十一二三四五六";
    struct Case {
        std::string name;
        std::string message;
    };
    const Case cases[] = {
        {"O'Neil", "员工姓名里不能包含符号 ' 或 |。"},
        {"张|三", "员工姓名里不能包含符号 ' 或 |。"},
        {sixteen + "七", "员工姓名太长：最多32个字节（一个汉字占两个字节），现有34个字节。"},
        {"\xF0\xA0\xAE\xB7三", "员工姓名里有GBK字符集以外的字符“\xF0\xA0\xAE\xB7”，不能保存。"},
    };
    for (const Case& c : cases) {
        const SaveEmployeeResult added = addEmployee(s, fields("0002", "0101  一车间", c.name));
        EXPECT_EQ(added.outcome.message, c.message) << c.name;
        EXPECT_EQ(added.outcome.focus, "txtEmpName") << c.name;
        EXPECT_EQ(added.outcome.icon, Icon::Exclamation) << c.name;
        const SaveEmployeeResult modified = modifyEmployee(s, fields("0001", "0101", c.name));
        EXPECT_EQ(modified.outcome.message, c.message) << c.name;
        EXPECT_EQ(modified.outcome.focus, "txtEmpName") << c.name;
    }
    EXPECT_EQ(count("Employee"), 1);
    EXPECT_EQ(count("Data"), 1);
    EXPECT_EQ(text("0001", "F_EmpName"), "甲");

    ASSERT_TRUE(addEmployee(s, fields("0002", "0101  一车间", sixteen)).outcome.ok);
    EXPECT_EQ(text("0002", "F_EmpName"), sixteen);
}

TEST_F(Employees, AddAcceptsAnEmptyTransferAttributeAndShowsTheFormattedCodeOnRefusal) {
    EmployeeFields f = fields("3");
    f.character = "  ";
    ASSERT_TRUE(addEmployee(s, f).outcome.ok);
    EXPECT_EQ(text("0003", "F_Character"), "");
    // A refusal after the code is formatted still hands the formatted code back.
    const SaveEmployeeResult again = addEmployee(s, fields("3"));
    EXPECT_FALSE(again.outcome.ok);
    EXPECT_EQ(again.code, "0003");
}

// ---- joining date ----------------------------------------------------------

TEST(JoiningDate, AcceptsEmptyOrARealDottedDate) {
    for (const char* ok : {"", "   ", "2024.02.29", "2000.02.29", "2023.12.31", "0100.01.01", "9999.12.31"})
        EXPECT_TRUE(isJoiningDate(ok)) << ok;
    for (const char* bad : {"2024.02.30", "2023.02.29", "1900.02.29", "2024.04.31", "2024.13.01", "2024.00.10",
                            "2024.01.00", "2024-02-29", "2024.2.29", "2024.02.029", "2024.0a.01", "0099.12.31",
                            "20240229", "2024..0229", "+024.02.01"})
        EXPECT_FALSE(isJoiningDate(bad)) << bad;
}

TEST(JoiningDate, LeavingTheBoxWithAWrongDateInforms) {
    EXPECT_TRUE(checkJoiningDate("2024.02.29").ok);
    const Outcome o = checkJoiningDate("2024.02.30");
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.message, "错误的日期");
    EXPECT_EQ(o.icon, Icon::Information);
    EXPECT_EQ(o.focus, "txtRq1");
}

// ---- loading and modifying -------------------------------------------------

TEST_F(Employees, LoadShowsTheTypeWithItsNameAndNullsAsEmpty) {
    employeeType("01", "工人");
    task.employee("0001", "甲", "0101", 4, "F004");
    std::optional<EmployeeFields> f = loadEmployee(s, "1");
    ASSERT_TRUE(f);
    EXPECT_EQ(f->empNo, "0001");
    EXPECT_EQ(f->depNo, "0101");
    EXPECT_EQ(f->sortNo, "4");
    EXPECT_EQ(f->sex, "");
    EXPECT_EQ(f->empType, "");
    EXPECT_EQ(f->notCalc, ""); // the exceptions are off
    s.taskConn.execute("Update " + table("Employee") + " Set F_EmpType='01'");
    task.exceptions(true);
    f = loadEmployee(s, "0001");
    ASSERT_TRUE(f);
    EXPECT_EQ(f->empType, "01   工人");
    EXPECT_EQ(f->notCalc, "F004");
    s.taskConn.execute("Update " + table("Employee") + " Set F_EmpType='07'");
    EXPECT_EQ(loadEmployee(s, "0001").value().empType, "07");
    EXPECT_FALSE(loadEmployee(s, "0002"));
    EXPECT_FALSE(loadEmployee(s, ""));
}

TEST_F(Employees, LoadedFieldsSaveBackUnchanged) {
    employeeType("01", "工人");
    task.exceptions(true);
    EmployeeFields f = fields("0001");
    f.accNo = "6222";
    f.empType = "01   工人";
    f.notCalc = "F004";
    f.lashMonth = "2020.01.15";
    f.sortNo = "2";
    ASSERT_TRUE(addEmployee(s, f).outcome.ok);
    const Recordset before = s.taskConn.query("Select * From " + table("Employee"));
    const std::optional<EmployeeFields> loaded = loadEmployee(s, "0001");
    ASSERT_TRUE(loaded);
    ASSERT_TRUE(modifyEmployee(s, *loaded).outcome.ok);
    const Recordset after = s.taskConn.query("Select * From " + table("Employee"));
    EXPECT_EQ(after.row(0), before.row(0));
}

TEST_F(Employees, ModifyKeepsTheCodeAndRewritesEverythingElse) {
    task.exceptions(true);
    ASSERT_TRUE(addEmployee(s, fields("0001")).outcome.ok);
    EmployeeFields f = fields("1", "02  销售部", " 李四·木 ");
    f.sex = "女";
    f.cid = " 身份 ";
    f.otherNo1 = "";
    f.accNo = "99|9";
    f.sortNo = "7";
    f.character = "3";
    f.empType = "02   干部";
    f.notCalc = " F004,F005 ";
    f.lashMonth = " 2024.02.29 ";
    const SaveEmployeeResult r = modifyEmployee(s, f);
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    EXPECT_EQ(r.code, "0001");
    EXPECT_EQ(count("Employee"), 1);
    EXPECT_EQ(text("0001", "F_EmpName"), "李四·木");
    EXPECT_EQ(text("0001", "F_DepNo"), "02");
    EXPECT_EQ(text("0001", "F_Sex"), "女");
    EXPECT_EQ(text("0001", "F_CID"), " 身份 ");
    EXPECT_EQ(text("0001", "F_AccNo"), "99|9");
    EXPECT_EQ(text("0001", "F_OtherNo1"), " ");
    EXPECT_EQ(field("0001", "F_SortNo"), Value(7));
    EXPECT_EQ(text("0001", "F_Character"), "3");
    EXPECT_EQ(text("0001", "F_EmpType"), "02");
    EXPECT_EQ(text("0001", "F_NotCalc"), "F004,F005");
    EXPECT_EQ(text("0001", "F_LashMonth"), "2024.02.29");
    // An empty list and date are stored trimmed on modification, not as a blank.
    f.notCalc = " ";
    f.lashMonth = "";
    ASSERT_TRUE(modifyEmployee(s, f).outcome.ok);
    EXPECT_EQ(text("0001", "F_NotCalc"), "");
    EXPECT_EQ(text("0001", "F_LashMonth"), "");
}

TEST_F(Employees, ModifyOfAnUnknownCodeIsRefusedInsteadOfReportedSaved) {
    task.employee("0001", "甲", "0101");
    const SaveEmployeeResult r = modifyEmployee(s, fields("0002", "0101", "乙"));
    EXPECT_FALSE(r.outcome.ok);
    EXPECT_EQ(r.outcome.message, "查无此人!");
    EXPECT_EQ(count("Employee"), 1);
    EXPECT_EQ(text("0001", "F_EmpName"), "甲");
}

TEST_F(Employees, ModifyWithExceptionsOffKeepsTheStoredNotCalculatedList) {
    task.employee("0001", "甲", "0101", 1, "F004");
    EmployeeFields f = fields("0001", "0101", "甲");
    ASSERT_TRUE(modifyEmployee(s, f).outcome.ok); // the hidden box is empty
    EXPECT_EQ(text("0001", "F_NotCalc"), "F004");
    task.exceptions(true);
    f.notCalc = "F005";
    ASSERT_TRUE(modifyEmployee(s, f).outcome.ok);
    EXPECT_EQ(text("0001", "F_NotCalc"), "F005");
}

TEST_F(Employees, ModifyRefusalsInTheirOrderChangeNothing) {
    task.employee("0001", "甲", "0101");
    task.employee("0003", "丙", "0101");
    task.employee("0003", "丙二", "0102"); // a duplicate code
    const Recordset before = s.taskConn.query("Select * From " + table("Employee") + " Order By rowid");
    auto with = [](auto change) {
        EmployeeFields f = test::StaffTest::fields("0001", "0102", "乙");
        change(f);
        return f;
    };
    const Refusal cases[] = {
        {"duplicate rows", with([](EmployeeFields& f) { f.empNo = "3"; }), "该员工编码已存在！", Icon::Exclamation,
         "txtEmpNo"},
        {"empty department", with([](EmployeeFields& f) { f.depNo = ""; f.character = "x"; }), "所属部门不能为空！",
         Icon::Critical, "cmbDep"},
        {"attribute before department check", with([](EmployeeFields& f) { f.character = "1a"; f.depNo = "09"; }),
         "含有非法字符！", Icon::Exclamation, "txtCharacter"},
        {"department before name", with([](EmployeeFields& f) { f.depNo = "09"; f.name = ""; }), "不存在此部门！",
         Icon::Exclamation, "cmbDep"},
        {"department with sub-departments", with([](EmployeeFields& f) { f.depNo = "01"; }), "不存在此部门！",
         Icon::Exclamation, "cmbDep"},
        {"name before sex", with([](EmployeeFields& f) { f.name = " "; f.sex = "x"; }), "员工姓名不能为空！",
         Icon::Critical, "txtEmpName"},
        {"sex", with([](EmployeeFields& f) { f.sex = "男性"; }), "请将性别填写准确！", Icon::Exclamation, "cmbSex"},
        {"date", with([](EmployeeFields& f) { f.lashMonth = "2024.02.30"; }), "错误的日期", Icon::Information,
         "txtRq1"},
        {"date before unknown code", with([](EmployeeFields& f) { f.empNo = "0009"; f.lashMonth = "2024/02/01"; }),
         "错误的日期", Icon::Information, "txtRq1"},
        {"unknown code", with([](EmployeeFields& f) { f.empNo = "0009"; }), "查无此人!", Icon::Exclamation,
         "txtEmpNo"},
    };
    for (const Refusal& c : cases) {
        const SaveEmployeeResult r = modifyEmployee(s, c.f);
        EXPECT_FALSE(r.outcome.ok) << c.what;
        EXPECT_EQ(r.outcome.message, c.message) << c.what;
        EXPECT_EQ(r.outcome.icon, c.icon) << c.what;
        EXPECT_EQ(r.outcome.focus, c.focus) << c.what;
    }
    // An empty code saves nothing and says nothing.
    const SaveEmployeeResult empty = modifyEmployee(s, with([](EmployeeFields& f) { f.empNo = " "; }));
    EXPECT_FALSE(empty.outcome.ok);
    EXPECT_EQ(empty.outcome.message, "");
    const Recordset after = s.taskConn.query("Select * From " + table("Employee") + " Order By rowid");
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i)
        EXPECT_EQ(after.row(i), before.row(i)) << i;
}

// ---- deleting --------------------------------------------------------------

TEST_F(Employees, DeleteAsksAndRemovesTheEmployeeAndItsDataRow) {
    task.employee("0001", "甲", "0101");
    task.employee("0002", "乙", "0101");
    p.answers = {true};
    ASSERT_TRUE(deleteEmployee(s, p, " 0001 ").ok);
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0].text, "您确定要删除本员工吗？");
    EXPECT_EQ(p.messages[0].title, s.productTitle);
    EXPECT_EQ(p.messages[0].icon, Icon::Question);
    EXPECT_TRUE(p.messages[0].question);
    EXPECT_TRUE(field("0001", "F_EmpNo").isNull());
    EXPECT_FALSE(hasDataRow("0001"));
    EXPECT_TRUE(hasDataRow("0002"));
    EXPECT_EQ(count("Employee"), 1);
}

TEST_F(Employees, DeleteAnsweredNoOrWithoutACodeRemovesNothing) {
    task.employee("0001", "甲", "0101");
    p.answers = {false};
    const Outcome no = deleteEmployee(s, p, "0001");
    EXPECT_FALSE(no.ok);
    EXPECT_EQ(no.message, "");
    EXPECT_EQ(p.messages.size(), 1u); // only the question
    p.clear();
    const Outcome empty = deleteEmployee(s, p, "  ");
    EXPECT_FALSE(empty.ok);
    EXPECT_EQ(empty.message, "");
    EXPECT_TRUE(p.messages.empty());
    EXPECT_EQ(deleteEmployee(s, p, "0009").message, "查无此人!");
    EXPECT_TRUE(p.messages.empty()); // no question for an unknown code
    EXPECT_EQ(count("Employee"), 1);
    EXPECT_EQ(count("Data"), 1);
}

TEST_F(Employees, DeleteFailingOnTheDataRowKeepsTheEmployee) {
    task.employee("0001", "甲", "0101");
    s.taskConn.execute("Create Trigger keep_data Before Delete On " + table("Data") +
                       " Begin Select Raise(Abort, 'locked'); End");
    p.answers = {true};
    const Outcome o = deleteEmployee(s, p, "0001");
    EXPECT_FALSE(o.ok);
    EXPECT_NE(o.message.find("locked"), std::string::npos);
    EXPECT_EQ(count("Employee"), 1);
    EXPECT_EQ(count("Data"), 1);
}

// ---- not-calculated list ---------------------------------------------------

TEST_F(Employees, FormulaItemsAreListedOnceByCodeWithTheirNames) {
    task.item("F004", "补贴");
    task.item("F005", "扣款");
    task.formula("F005", "F004*2");
    task.formula("F003", "F004+F005");
    task.formula("F005", "F004*3");
    EXPECT_EQ(formulaItemChoices(s),
              (std::vector<items::ItemChoice>{{"F003", "应发工资"}, {"F005", "扣款"}}));
}

TEST(NotCalculatedList, PickedCodesAreAppendedOnce) {
    EXPECT_EQ(appendItemCode("", "F004 补贴"), "F004");
    EXPECT_EQ(appendItemCode("F004", "F005 扣款"), "F004,F005");
    EXPECT_EQ(appendItemCode("F004,F005", "F005 扣款"), "F004,F005");
    EXPECT_EQ(appendItemCode("F004, f005", "F005"), "F004, f005");
    EXPECT_EQ(appendItemCode("F0041", "F004"), "F0041,F004"); // whole codes, not prefixes
    EXPECT_EQ(appendItemCode("F004", ""), "F004");
}

// ---- roster row ------------------------------------------------------------

TEST_F(Employees, RosterRowMatchesTheRosterGridRow) {
    EmployeeFields f = fields("0001");
    f.sortNo = "3";
    f.notCalc = "F004";
    f.lashMonth = "2024.01.02";
    f.accNo = "6222";
    ASSERT_TRUE(addEmployee(s, f).outcome.ok);
    task.employee("0002", "乙", "0101", 4); // with Null fields
    for (bool on : {false, true}) {
        task.exceptions(on);
        const RosterGrid g = rosterGrid(s, RosterMode::Employees, "0101", true);
        ASSERT_EQ(g.rows.size(), 2u);
        EXPECT_EQ(employeeRosterRow(s, "0001"), g.rows[0]) << on;
        EXPECT_EQ(employeeRosterRow(s, "0002"), g.rows[1]) << on;
        EXPECT_EQ(employeeRosterRow(s, "0001").size(), g.captions.size()) << on;
    }
    const std::vector<std::string> row = employeeRosterRow(s, "0001");
    ASSERT_FALSE(row.empty());
    EXPECT_EQ(row.back(), "F004");
    EXPECT_TRUE(employeeRosterRow(s, "0009").empty());
}
