// Department types (flat, two-digit numbers) and employee types (two-digit
// codes with four-digit codes below them): the checks, the deletes and the
// trees and pickers built from them.
#include "tests/base/base_fixture.h"

using namespace gzgl;
using namespace gzgl::base;
using Types = test::BaseTest;

namespace {

std::vector<std::string> shape(const std::vector<TreeNode>& nodes) {
    std::vector<std::string> out;
    for (std::size_t i = 1; i < nodes.size(); ++i)
        out.push_back(nodes[i].key + ">" + nodes[i].parentKey + " " + nodes[i].text);
    return out;
}

} // namespace

// ---- department types ----------------------------------------------------

TEST(DepartmentTypeNumbers, NextIsTheLargestPlusOne) {
    EXPECT_EQ(nextDepartmentTypeNo({}), "01");
    EXPECT_EQ(nextDepartmentTypeNo({{"01", "甲"}, {"03", "乙"}}), "04");
    EXPECT_EQ(nextDepartmentTypeNo({{"09", "甲"}, {"1", "乙"}}), "10");
    EXPECT_EQ(nextDepartmentTypeNo({{"ab", "甲"}}), "01");
}

TEST_F(Types, DepartmentTypesAreListedByNumberAndProposeTheNext) {
    EXPECT_EQ(nextDepartmentTypeNo(departmentTypes(s)), "01");
    ASSERT_TRUE(addDepartmentType(s, "03", "销售").ok);
    ASSERT_TRUE(addDepartmentType(s, "01", "生产").ok);
    EXPECT_EQ(departmentTypes(s), (std::vector<TypeRow>{{"01", "生产"}, {"03", "销售"}}));
    EXPECT_EQ(nextDepartmentTypeNo(departmentTypes(s)), "04");
}

TEST_F(Types, DepartmentTypeRefusalsInTheirOrderChangeNothing) {
    ASSERT_TRUE(addDepartmentType(s, "01", " 生产 ").ok);
    ASSERT_TRUE(addDepartmentType(s, "02", "销售").ok);
    struct Case {
        bool rename;
        const char *no, *name, *message, *focus;
    };
    const Case cases[] = {
        {false, " ", "生产", "部门类型或编号不能为空！", "txtNo"},
        {false, "01", "  ", "部门类型或编号不能为空！", "txtType"},
        {false, "01", "生产", "该部门类型已存在！", "txtType"}, // name before number: both are taken
        {false, "03", "  生产", "该部门类型已存在！", "txtType"},
        {false, "01", "管理", "该部门类型编号已存在！", "txtNo"}, // two types under one number
        {true, "01", "  ", "请输入部门类型！", "txtName"},
        {true, "01", "销售", "此部门类型已存在！", "txtName"},
        {true, "", "管理", "请选择所需修改的部门类型!", ""},
        {true, "09", "管理", "请选择所需修改的部门类型!", ""},
    };
    for (const Case& c : cases) {
        const Outcome o =
            c.rename ? renameDepartmentType(s, c.no, c.name) : addDepartmentType(s, c.no, c.name);
        EXPECT_FALSE(o.ok) << c.no << "/" << c.name;
        EXPECT_EQ(o.message, c.message) << c.no << "/" << c.name;
        EXPECT_EQ(o.focus, c.focus) << c.no << "/" << c.name;
        EXPECT_EQ(o.icon, Icon::Exclamation) << c.no << "/" << c.name;
        EXPECT_EQ(o.title, s.productTitle) << c.no << "/" << c.name;
    }
    EXPECT_EQ(departmentTypes(s), (std::vector<TypeRow>{{"01", "生产"}, {"02", "销售"}}));

    EXPECT_TRUE(renameDepartmentType(s, "01", "生产").ok); // its own name
    ASSERT_TRUE(renameDepartmentType(s, "01", " 制造 ").ok);
    EXPECT_EQ(departmentTypes(s), (std::vector<TypeRow>{{"01", "制造"}, {"02", "销售"}}));
}

TEST_F(Types, TypeNamesAreStoredExactly) {
    ASSERT_TRUE(addDepartmentType(s, "01", "A%B_C中").ok);
    ASSERT_TRUE(addEmployeeType(s, "01", "x%y_z").ok);
    EXPECT_EQ(departmentTypes(s)[0].name, "A%B_C中");
    EXPECT_EQ(employeeTypes(s)[0].name, "x%y_z");
    // A name that only looks like a pattern of another is not the same name.
    EXPECT_TRUE(addDepartmentType(s, "02", "A%BxC中").ok);
}

// Type names are neither cleaned nor cut: the three ways a name is typed
// refuse it with a message naming the field, and store nothing.
TEST_F(Types, TypeNameWithQuoteRefusedNotStored) {
    ASSERT_TRUE(addDepartmentType(s, "01", "生产").ok);
    const std::string sixteen = "一二三四五六七八九十一二三四五六";
    ASSERT_TRUE(addEmployeeType(s, "01", sixteen).ok); // 32 bytes fit
    struct Case {
        std::string name;
        const char* fault; // the message after the field's name
    };
    const Case cases[] = {
        {"管'理", "里不能包含符号 ' 或 |。"},
        {"管理|", "里不能包含符号 ' 或 |。"},
        {sixteen + "七", "太长：最多32个字节（一个汉字占两个字节），现有34个字节。"},
        {"管理\xF0\x9F\x98\x80", "里有GBK字符集以外的字符“\xF0\x9F\x98\x80”，不能保存。"},
    };
    for (const Case& c : cases) {
        Outcome o = addDepartmentType(s, "02", c.name);
        EXPECT_EQ(o.message, std::string("部门类型名称") + c.fault) << c.name;
        EXPECT_EQ(o.focus, "txtType") << c.name;
        o = renameDepartmentType(s, "01", c.name);
        EXPECT_EQ(o.message, std::string("部门类型名称") + c.fault) << c.name;
        EXPECT_EQ(o.focus, "txtName") << c.name;
        o = addEmployeeType(s, "02", c.name);
        EXPECT_EQ(o.message, std::string("员工类型名称") + c.fault) << c.name;
        EXPECT_EQ(o.focus, "txtName") << c.name;
        EXPECT_EQ(o.icon, Icon::Exclamation) << c.name;
    }
    EXPECT_EQ(departmentTypes(s), (std::vector<TypeRow>{{"01", "生产"}}));
    EXPECT_EQ(employeeTypes(s), (std::vector<TypeRow>{{"01", sixteen}}));
}

TEST_F(Types, DepartmentTypeNumberNotDigitsRefused) {
    for (const char* no : {"0a", "一", "1 2", "-1", "100", "１"}) {
        const Outcome o = addDepartmentType(s, no, "生产");
        EXPECT_EQ(o.message, "部门类型编号应为一到两位数字！") << no;
        EXPECT_EQ(o.focus, "txtNo") << no;
    }
    EXPECT_TRUE(departmentTypes(s).empty());
    EXPECT_TRUE(addDepartmentType(s, "7", "生产").ok);
    EXPECT_TRUE(addDepartmentType(s, " 99 ", "销售").ok);
    EXPECT_EQ(departmentTypes(s), (std::vector<TypeRow>{{"7", "生产"}, {"99", "销售"}}));
}

TEST_F(Types, DeleteDepartmentType) {
    ASSERT_TRUE(addDepartmentType(s, "01", "生产").ok);
    ASSERT_TRUE(addDepartmentType(s, "02", "销售").ok);
    add("01", "车间", "生产");
    p.clear();

    Outcome o = deleteDepartmentType(s, p, " ");
    EXPECT_EQ(o.message, "请选择要删除的部门类型！");
    EXPECT_TRUE(p.messages.empty());

    p.answers = {false};
    o = deleteDepartmentType(s, p, "02");
    EXPECT_FALSE(o.ok);
    EXPECT_TRUE(o.message.empty());
    EXPECT_EQ(p.last(), "是否真的要将此种部门类型删去?");
    EXPECT_TRUE(p.messages.back().question);

    p.answers = {true};
    o = deleteDepartmentType(s, p, "01");
    EXPECT_EQ(o.message, "有此类型的部门存在，不可删除该部门类型！");
    EXPECT_EQ(o.icon, Icon::Exclamation);
    EXPECT_EQ(departmentTypes(s).size(), 2u);

    p.answers = {true};
    ASSERT_TRUE(deleteDepartmentType(s, p, "02").ok);
    EXPECT_EQ(departmentTypes(s), (std::vector<TypeRow>{{"01", "生产"}}));
}

TEST_F(Types, DeleteOfUnknownDepartmentTypeRefusedBeforeAsking) {
    ASSERT_TRUE(addDepartmentType(s, "01", "生产").ok);
    p.answers = {true};
    const Outcome o = deleteDepartmentType(s, p, "09");
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.message, "不存在此部门类型！");
    EXPECT_TRUE(p.messages.empty());
    EXPECT_EQ(departmentTypes(s).size(), 1u);
}

TEST_F(Types, DepartmentTypePicker) {
    ASSERT_TRUE(addDepartmentType(s, "02", "销售").ok);
    ASSERT_TRUE(addDepartmentType(s, "01", "生产").ok);
    const std::vector<TreeNode> t = departmentTypePickerTree(s);
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0], (TreeNode{"Dm0", "部门列表", "", "", 0, false}));
    EXPECT_EQ(t[1], (TreeNode{"Dm1_01", "01 生产", "Dm0", "01", 1, false}));
    EXPECT_EQ(t[2].key, "Dm1_02");
}

// ---- employee types ------------------------------------------------------

TEST_F(Types, EmployeeTypeCodeRules) {
    struct Case {
        const char* code;
        const char* name;
        const char* message;
        const char* focus;
    };
    ASSERT_TRUE(addEmployeeType(s, "01", "正式").ok);
    const Case cases[] = {
        {"", "临时", "请填写类型代码和名称", "txtCode"},
        {"02", " ", "请填写类型代码和名称", "txtName"},
        {"1", "临时", "员工类型为不超过4位的偶数！", "txtCode"},
        {"123", "临时", "员工类型为不超过4位的偶数！", "txtCode"},
        {"12345", "临时", "员工类型为不超过4位的偶数！", "txtCode"},
        {"1a3", "临时", "员工类型为不超过4位的偶数！", "txtCode"}, // length before digits
        {"1a", "临时", "类型代码应由数字组成！", "txtCode"},
        {"一二", "临时", "类型代码应由数字组成！", "txtCode"},
        {"01", "临时", "此种员工类型已存在！", "txtCode"},
        {"0201", "临时", "请先定义上级员工类型！", "txtCode"},
    };
    for (const Case& c : cases) {
        const Outcome o = addEmployeeType(s, c.code, c.name);
        EXPECT_EQ(o.message, c.message) << c.code;
        EXPECT_EQ(o.focus, c.focus) << c.code;
        EXPECT_EQ(o.icon, Icon::Exclamation) << c.code;
    }
    EXPECT_EQ(employeeTypes(s).size(), 1u);
    EXPECT_TRUE(addEmployeeType(s, "0101", " 合同 ").ok);
    EXPECT_EQ(employeeTypes(s), (std::vector<TypeRow>{{"01", "正式"}, {"0101", "合同"}}));
}

TEST_F(Types, EmployeeTypeTreeAndPicker) {
    for (const auto& [code, name] : std::vector<std::pair<std::string, std::string>>{
             {"02", "临时"}, {"01", "正式"}, {"0102", "合同"}, {"0101", "在编"}, {"0201", "季节"}})
        ASSERT_TRUE(addEmployeeType(s, code, name).ok) << code;
    // Codes stored without their leading zero still show at their width.
    s.taskConn.execute("Insert into " + table("EmpType") + " values('3','外聘')");
    s.taskConn.execute("Insert into " + table("EmpType") + " values('301','顾问')");

    const std::vector<TreeNode> t = employeeTypeTree(s);
    EXPECT_EQ(t[0], (TreeNode{"Dm0", "员工类型", "", "", 0, false}));
    EXPECT_EQ(shape(t), (std::vector<std::string>{"Dm1_01>Dm0 01 正式", "Dm2_0101>Dm1_01 0101 在编",
                                                  "Dm2_0102>Dm1_01 0102 合同", "Dm1_02>Dm0 02 临时",
                                                  "Dm2_0201>Dm1_02 0201 季节", "Dm1_03>Dm0 03 外聘",
                                                  "Dm2_0301>Dm1_03 0301 顾问"}));
    EXPECT_EQ(t[2].code, "0101");
    EXPECT_EQ(t[2].level, 2);

    const std::vector<TreeNode> picker = employeeTypePickerTree(s);
    EXPECT_EQ(picker[0].key, "Dm0");
    EXPECT_EQ(picker[0].text, "工资"); // the task's name
    EXPECT_EQ(shape(picker), shape(t));
}

struct EmployeeTypeDelete : test::BaseTest {
    void SetUp() override {
        for (const char* code : {"01", "0101", "0102", "02"})
            ASSERT_TRUE(addEmployeeType(s, code, "类").ok);
        setScheme("20000");
        s.taskConn.execute("Insert into " + table("Depart") + " values('01','总部','',1,1,null,null)");
        for (const auto& [no, type] : std::vector<std::pair<std::string, std::string>>{
                 {"0001", "01"}, {"0002", "0102"}, {"0003", "02"}, {"0004", ""}}) {
            employee(no, "01");
            s.taskConn.execute("Update " + table("Employee") + " set F_EmpType=? where F_EmpNo=?", {type, no});
        }
    }
    std::vector<std::string> employeeTypesOfStaff() {
        std::vector<std::string> out;
        const Recordset rs = s.taskConn.query("Select F_EmpType from " + table("Employee") + " order by F_EmpNo");
        for (std::size_t i = 0; i < rs.size(); ++i)
            out.push_back(rs.row(i)[0].toString());
        return out;
    }
    std::vector<std::string> codes() {
        std::vector<std::string> out;
        for (const TypeRow& t : employeeTypes(s))
            out.push_back(t.code);
        return out;
    }
};

TEST_F(EmployeeTypeDelete, TypeGoesWithItsSubTypesAndEmployeesLoseIt) {
    p.answers = {true};
    const Outcome o = deleteEmployeeType(s, p, "01 正式");
    ASSERT_TRUE(o.ok) << o.message;
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0].text, "存在本类员工，确定要删除本员工类型？");
    EXPECT_TRUE(p.messages[0].question);
    EXPECT_EQ(codes(), (std::vector<std::string>{"02"}));
    EXPECT_EQ(employeeTypesOfStaff(), (std::vector<std::string>{"", "", "02", ""}));
}

TEST_F(EmployeeTypeDelete, UnusedTypeGoesWithoutAQuestion) {
    const Outcome o = deleteEmployeeType(s, p, "0101");
    ASSERT_TRUE(o.ok);
    EXPECT_TRUE(p.messages.empty());
    EXPECT_EQ(codes(), (std::vector<std::string>{"01", "0102", "02"}));
}

// A code that is no type deletes nothing, not even the types it is a
// prefix of, and is not reported done.
TEST_F(EmployeeTypeDelete, DeleteOfUnknownEmployeeTypeRefused) {
    for (const char* code : {"03", "0", "010", "0103 无"}) {
        p.answers = {true};
        const Outcome o = deleteEmployeeType(s, p, code);
        EXPECT_FALSE(o.ok) << code;
        EXPECT_EQ(o.message, "不存在此员工类型！") << code;
    }
    EXPECT_TRUE(p.messages.empty());
    EXPECT_EQ(codes(), (std::vector<std::string>{"01", "0101", "0102", "02"}));
    EXPECT_EQ(employeeTypesOfStaff(), (std::vector<std::string>{"01", "0102", "02", ""}));
}

// Answered No, nothing selected, or failing half-way: every type and every
// employee's type stays.
TEST_F(EmployeeTypeDelete, DeclinedRefusedOrFailedDeleteKeepsEverything) {
    p.answers = {false};
    Outcome o = deleteEmployeeType(s, p, "01");
    EXPECT_FALSE(o.ok);
    EXPECT_TRUE(o.message.empty());
    o = deleteEmployeeType(s, p, "  ");
    EXPECT_EQ(o.message, "请选择要删除的类型！");
    EXPECT_EQ(o.icon, Icon::Exclamation);
    // The types deleted come back when clearing the employees' type fails.
    s.taskConn.execute("Create Trigger keep_types Before Update On " + table("Employee") +
                       " Begin Select Raise(Abort,'refused'); End");
    p.answers = {true};
    o = deleteEmployeeType(s, p, "01");
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.icon, Icon::Critical);
    EXPECT_EQ(codes().size(), 4u);
    EXPECT_EQ(employeeTypesOfStaff(), (std::vector<std::string>{"01", "0102", "02", ""}));
}
