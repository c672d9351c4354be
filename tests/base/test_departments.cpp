// Departments: the coding scheme that the first department of each level
// settles, the checks and leaf flags of adding and deleting, the trees and
// the roster grid.
#include "core/settings.h"
#include "tests/base/base_fixture.h"

#include <algorithm>

using namespace gzgl;
using namespace gzgl::base;
using Departments = test::BaseTest;

namespace {

// key > parentKey (red), one entry per node after the root, for compact
// comparisons of whole trees.
std::vector<std::string> shape(const std::vector<TreeNode>& nodes) {
    std::vector<std::string> out;
    for (std::size_t i = 1; i < nodes.size(); ++i)
        out.push_back(nodes[i].key + ">" + nodes[i].parentKey + (nodes[i].red ? " red" : ""));
    return out;
}

std::vector<std::string> column(const RosterGrid& g, std::size_t c) {
    std::vector<std::string> out;
    for (const auto& row : g.rows)
        out.push_back(row.at(c));
    return out;
}

std::size_t at(const RosterGrid& g, const std::string& caption) {
    const auto it = std::find(g.captions.begin(), g.captions.end(), caption);
    EXPECT_NE(it, g.captions.end()) << caption;
    return static_cast<std::size_t>(it - g.captions.begin());
}

} // namespace

// ---- shared tree helpers -------------------------------------------------

TEST(TreeHelpers, KeysCodesEntriesAndChoices) {
    EXPECT_EQ(nodeKey(2, "0101"), "Dm2_0101");
    EXPECT_EQ(codeOfKey("Dm2_0101"), "0101");
    EXPECT_EQ(codeOfKey(kRootKey), "");
    EXPECT_EQ(codeOfKey("Dm1_"), "");
    EXPECT_EQ(textBeforeBlank("01  总部"), "01");
    EXPECT_EQ(textBeforeBlank("  0102 车间 一"), "0102");
    EXPECT_EQ(textBeforeBlank(""), "");
    EXPECT_EQ(appendChoice("", "01"), "01");
    EXPECT_EQ(appendChoice("  ", "01"), "01");
    EXPECT_EQ(appendChoice("01", "02"), "01,02");
    EXPECT_EQ(likeEscaped("a%b_c\\d"), "a\\%b\\_c\\\\d");
    EXPECT_EQ(likeEscaped("0101"), "0101");
}

TEST(CodingSchemeText, LevelsEndAtTheRunningSums) {
    const CodingScheme c = CodingScheme::parse("22300");
    EXPECT_EQ(c.defined(), 3);
    EXPECT_EQ(c.total(), 7);
    EXPECT_EQ(c.levelEnding(2), 1);
    EXPECT_EQ(c.levelEnding(4), 2);
    EXPECT_EQ(c.levelEnding(7), 3);
    EXPECT_EQ(c.levelEnding(3), 0);
    EXPECT_EQ(c.levelEnding(9), 0);
    EXPECT_EQ(c.parentLength(1), 0);
    EXPECT_EQ(c.parentLength(3), 4);
    EXPECT_EQ(c.text(), "22300");
}

TEST(CodingSchemeText, ShortOrBrokenTextCountsAsUndefinedLevels) {
    EXPECT_EQ(CodingScheme::parse("").text(), "00000");
    EXPECT_EQ(CodingScheme::parse("0").text(), "00000");
    EXPECT_EQ(CodingScheme::parse("2x3").text(), "20300");
    // Levels after the first gap are not defined.
    const CodingScheme gap = CodingScheme::parse("20300");
    EXPECT_EQ(gap.defined(), 1);
    EXPECT_EQ(gap.total(), 2);
    EXPECT_EQ(gap.levelEnding(5), 0);
}

// ---- adding: the coding scheme -------------------------------------------

TEST_F(Departments, FirstDepartmentAsksForLevelOneAndStoresItsLength) {
    EXPECT_EQ(scheme(), "00000");
    p.answers = {true};
    const AddDepartmentResult r = addDepartment(s, p, " 001 ", "总部", "");
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_TRUE(p.messages[0].question);
    EXPECT_EQ(p.messages[0].text, "是否确定第1级的长度为3位？");
    EXPECT_EQ(p.messages[0].title, s.productTitle);
    EXPECT_EQ(p.messages[0].icon, Icon::Question);
    EXPECT_TRUE(r.added);
    EXPECT_EQ(r.level, 1);
    EXPECT_EQ(r.code, "001");
    EXPECT_EQ(r.scheme, "30000");
    EXPECT_EQ(scheme(), "30000");
    // Level and leaf flag are integers, not text.
    const Recordset rs = s.taskConn.query("Select typeof(F_DepClass),typeof(F_End),F_DepClass,F_End,F_TypeNo from " +
                                          table("Depart") + " where F_DepNo='001'");
    ASSERT_EQ(rs.size(), 1u);
    EXPECT_EQ(rs.row(0)[0].toString(), "integer");
    EXPECT_EQ(rs.row(0)[1].toString(), "integer");
    EXPECT_EQ(rs.row(0)[2].toInt(), 1);
    EXPECT_EQ(rs.row(0)[3].toInt(), 1);
    EXPECT_EQ(rs.row(0)[4].toString(), "");
}

TEST_F(Departments, NoToTheLevelQuestionWritesNothingAndKeepsTheScheme) {
    add("01");
    p.clear();
    p.answers = {false};
    const AddDepartmentResult r = addDepartment(s, p, "0101", "车间", "");
    EXPECT_FALSE(r.outcome.ok);
    EXPECT_TRUE(r.outcome.message.empty());
    EXPECT_FALSE(r.added);
    EXPECT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.last(), "是否确定第2级的长度为2位？");
    EXPECT_FALSE(exists("0101"));
    EXPECT_EQ(endFlag("01"), 1);
    EXPECT_EQ(scheme(), "20000");
    EXPECT_EQ(r.scheme, "20000");
}

TEST_F(Departments, RefusedCodesWriteNothingAndAskNothing) {
    add("01");
    add("0101");
    add("0102");
    add("02");
    employee("0001", "02");
    employee("0002", "0102");
    ASSERT_EQ(scheme(), "22000");
    p.clear();
    struct Case {
        const char* what;
        const char* code;
        const char* message;
        Icon icon;
    };
    const Case cases[] = {
        {"no level ends at 3 characters", "010", "输入的编码信息出错！", Icon::Critical},
        {"empty", "  ", "输入的编码信息出错！", Icon::Critical},
        // Screens read a code up to its first blank: "02 1" could never be
        // chosen for an employee, and 02 would lose its leaf flag.
        {"inner blank", "02 1", "输入的编码信息出错！", Icon::Critical},
        {"ten characters make a level of six", "0101010101", "本编码超出规定范围！", Icon::Exclamation},
        {"parent checked before the range of a new level", "0202020202", "输入的编码有误！", Icon::Exclamation},
        {"existing code", "01", "该部门编码已存在！", Icon::Exclamation},
        {"parent with employees", "0201", "上级部门有员工，请先删除！", Icon::Exclamation},
        {"parent with employees, before the new-level question", "010201", "上级部门有员工，请先删除！",
         Icon::Exclamation},
        {"missing parent", "0301", "输入的编码有误！", Icon::Exclamation},
    };
    for (const Case& c : cases) {
        const AddDepartmentResult r = addDepartment(s, p, c.code, "甲", "");
        EXPECT_FALSE(r.added) << c.what;
        EXPECT_EQ(r.outcome.message, c.message) << c.what;
        EXPECT_EQ(r.outcome.icon, c.icon) << c.what;
        EXPECT_EQ(r.outcome.focus, "txtCode") << c.what;
        EXPECT_EQ(r.outcome.title, s.productTitle) << c.what;
    }
    EXPECT_TRUE(p.messages.empty());
    EXPECT_EQ(count("Depart"), 4);
    EXPECT_EQ(scheme(), "22000");
    EXPECT_EQ(endFlag("02"), 1);
    EXPECT_EQ(endFlag("0102"), 1);

    // A level-1 code needs no parent; six characters under a level-2
    // department without employees define level 3.
    ASSERT_TRUE(addDepartment(s, p, "03", "丙", "").added);
    EXPECT_TRUE(p.messages.empty());
    p.answers = {true};
    const AddDepartmentResult r = addDepartment(s, p, "010101", "丙", "");
    ASSERT_TRUE(r.added) << r.outcome.message;
    EXPECT_EQ(p.last(), "是否确定第3级的长度为2位？");
    EXPECT_EQ(r.level, 3);
    EXPECT_EQ(scheme(), "22200");
    EXPECT_EQ(field("010101", "F_DepClass").toInt(), 3);
    EXPECT_EQ(endFlag("0101"), 0);
}

TEST_F(Departments, NoSixthLevel) {
    setScheme("11111");
    const AddDepartmentResult r = addDepartment(s, p, "123456", "甲", "");
    EXPECT_EQ(r.outcome.message, "设定的编码长度超出规定范围！");
    EXPECT_EQ(r.outcome.icon, Icon::Critical);
    EXPECT_FALSE(r.added);
    EXPECT_TRUE(p.messages.empty());
    EXPECT_EQ(scheme(), "11111");
    EXPECT_EQ(count("Depart"), 0);
}

TEST_F(Departments, NameIsTrimmedAndTheTypeFoundByName) {
    ASSERT_TRUE(addDepartmentType(s, "07", "生产").ok);
    add("01", "  财务部%_  ", "生产");
    EXPECT_EQ(field("01", "F_DepName").toString(), "财务部%_");
    EXPECT_EQ(field("01", "F_TypeNo").toString(), "07");
    add("02", "一二三四五六七八九十一二三四五六", "没有这类"); // 32 bytes: the column's length
    EXPECT_EQ(field("02", "F_DepName").toString(), "一二三四五六七八九十一二三四五六");
    EXPECT_EQ(field("02", "F_TypeNo").toString(), "");
}

// A name is refused, never stored cleaned of ' and | or cut to F_DepName,
// on adding (before the level question) and on modifying alike.
TEST_F(Departments, DepartmentNameWithQuoteRefusedNotStripped) {
    add("01", "总部");
    const std::string sixteen = "一二三四五六七八九十一二三四五六";
    struct Case {
        std::string name;
        std::string message;
    };
    const Case cases[] = {
        {"财'务部", "部门名称里不能包含符号 ' 或 |。"},
        {"财务|部", "部门名称里不能包含符号 ' 或 |。"},
        {sixteen + "a", "部门名称太长：最多32个字节（一个汉字占两个字节），现有33个字节。"},
        {"财务\xF0\x9F\x98\x80", "部门名称里有GBK字符集以外的字符“\xF0\x9F\x98\x80”，不能保存。"},
    };
    for (const Case& c : cases) {
        p.clear();
        p.answers = {true};
        const AddDepartmentResult r = addDepartment(s, p, "0101", c.name, "");
        EXPECT_FALSE(r.added) << c.name;
        EXPECT_EQ(r.outcome.message, c.message) << c.name;
        EXPECT_EQ(r.outcome.focus, "txtName") << c.name;
        EXPECT_EQ(r.outcome.icon, Icon::Exclamation) << c.name;
        EXPECT_TRUE(p.messages.empty()) << c.name; // refused before the level question

        const Outcome o = modifyDepartment(s, "01", c.name, "");
        EXPECT_EQ(o.message, c.message) << c.name;
        EXPECT_EQ(o.focus, "txtName") << c.name;
    }
    p.answers.clear();
    EXPECT_EQ(count("Depart"), 1);
    EXPECT_EQ(scheme(), "20000");
    EXPECT_EQ(field("01", "F_DepName").toString(), "总部");
    EXPECT_EQ(field("01", "F_TypeNo").toString(), "");
}

TEST_F(Departments, FailedInsertLeavesParentFlagAndScheme) {
    add("01");
    s.taskConn.execute("Create Trigger refuse_0101 Before Insert On " + table("Depart") +
                       " When NEW.F_DepNo='0101' Begin Select Raise(Abort,'refused'); End");
    p.answers = {true};
    const AddDepartmentResult r = addDepartment(s, p, "0101", "甲", "");
    EXPECT_FALSE(r.added);
    EXPECT_FALSE(r.outcome.ok);
    EXPECT_EQ(r.outcome.icon, Icon::Critical);
    EXPECT_EQ(endFlag("01"), 1);
    EXPECT_EQ(scheme(), "20000");
}

// ---- leaf flags and the scheme after deleting ----------------------------

// Each deletion leaves the stored scheme and the leaf flags of the rest.
TEST(DepartmentDeletes, SchemeAndLeafFlagsFollowTheDepartmentsLeft) {
    struct Fresh : test::BaseTest {
        void TestBody() override {}
    };
    struct Step {
        const char* removed;
        const char* scheme;
        std::vector<std::pair<const char*, int>> flags;
    };
    struct Case {
        const char* what;
        std::vector<const char*> added;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"the leaf flag follows the last sub-department",
         {"01", "0101", "0102"},
         {{"0101", "22000", {{"01", 0}, {"0102", 1}}}, {"0102", "20000", {{"01", 1}}}}},
        {"the deepest level stays while another branch uses it",
         {"01", "0101", "02", "0201"},
         {{"0101", "22000", {{"01", 1}, {"02", 0}}}}},
        {"deleting a shallower level keeps the scheme",
         {"01", "0101", "010101", "0102"},
         {{"0102", "22200", {{"01", 0}}}, {"010101", "22000", {{"0101", 1}}}}},
        {"deleting the last department resets the scheme",
         {"001", "002"},
         {{"001", "30000", {{"002", 1}}}, {"002", "00000", {}}}},
        {"a department with sub-departments takes only its own row",
         {"01", "0101", "0102"},
         {{"01", "22000", {{"0101", 1}, {"0102", 1}}}}},
    };
    for (const Case& c : cases) {
        Fresh d;
        for (const char* code : c.added)
            d.add(code);
        for (const Step& st : c.steps) {
            ASSERT_TRUE(d.remove(st.removed).ok) << c.what << ": " << st.removed;
            EXPECT_FALSE(d.exists(st.removed)) << c.what << ": " << st.removed;
            EXPECT_EQ(d.scheme(), st.scheme) << c.what << ": " << st.removed;
            for (const auto& [code, flag] : st.flags)
                EXPECT_EQ(d.endFlag(code), flag) << c.what << ": " << code;
        }
    }
}

TEST_F(Departments, LevelFreedByDeletingIsDefinedAnew) {
    add("01");
    add("0101");
    ASSERT_TRUE(remove("0101").ok);
    EXPECT_EQ(scheme(), "20000");
    p.clear();
    p.answers = {true};
    const AddDepartmentResult r = addDepartment(s, p, "01001", "甲", "");
    EXPECT_TRUE(r.added);
    EXPECT_EQ(p.last(), "是否确定第2级的长度为3位？");
    EXPECT_EQ(scheme(), "23000");
}

TEST_F(Departments, DeclinedOrRefusedDeletesKeepEveryRow) {
    add("01");
    add("0101");
    add("02");
    employee("0001", "0101");
    p.clear();
    p.answers = {false};
    Outcome o = deleteDepartment(s, p, "02");
    EXPECT_FALSE(o.ok);
    EXPECT_TRUE(o.message.empty());
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0].text, "您确定要删除本部门吗？");
    EXPECT_TRUE(p.messages[0].question);
    // Refusals come before the question.
    p.clear();
    o = deleteDepartment(s, p, "01"); // a branch whose sub-department has employees
    EXPECT_EQ(o.message, "本部门有员工，不能删除！");
    EXPECT_EQ(o.icon, Icon::Exclamation);
    o = deleteDepartment(s, p, "09");
    EXPECT_EQ(o.message, "不存在此部门！");
    EXPECT_EQ(o.icon, Icon::Exclamation);
    o = deleteDepartment(s, p, "");
    EXPECT_FALSE(o.ok);
    EXPECT_TRUE(o.message.empty());
    EXPECT_TRUE(p.messages.empty());
    EXPECT_EQ(count("Depart"), 3);
    EXPECT_EQ(scheme(), "22000");
}

TEST_F(Departments, WildcardsInACodeMatchOnlyThemselves) {
    add("0_");
    add("01");
    add("0%");
    employee("0001", "01");
    EXPECT_TRUE(remove("0_").ok);
    EXPECT_TRUE(remove("0%").ok);
    EXPECT_TRUE(exists("01"));
}

TEST_F(Departments, LoadAndModify) {
    ASSERT_TRUE(addDepartmentType(s, "01", "管理").ok);
    s.taskConn.execute("Update " + table("DepType") + " set F_Subject='5101',F_OppSubject='2151'");
    add("01", "总部", "管理");
    EXPECT_EQ(loadDepartment(s, "01"), (DepartmentRecord{"01", "总部", "01", "", ""}));
    EXPECT_FALSE(loadDepartment(s, "02"));
    const auto subjects = departmentTypeSubjects(s, " 01 ");
    ASSERT_TRUE(subjects);
    EXPECT_EQ(subjects->subject, "5101");
    EXPECT_EQ(subjects->oppSubject, "2151");
    EXPECT_FALSE(departmentTypeSubjects(s, "09"));

    Outcome o = modifyDepartment(s, "01", "  机关 ", "");
    ASSERT_TRUE(o.ok) << o.message;
    EXPECT_EQ(field("01", "F_DepName").toString(), "机关");
    EXPECT_EQ(field("01", "F_TypeNo").toString(), " "); // cleared, not never set

    o = modifyDepartment(s, "01", "总部", " 01 ");
    ASSERT_TRUE(o.ok);
    EXPECT_EQ(field("01", "F_TypeNo").toString(), "01");
}

TEST_F(Departments, ModifyRefusesUnknownTypeAndUnknownDepartment) {
    add("01", "总部");
    Outcome o = modifyDepartment(s, "01", "改名", "09");
    EXPECT_EQ(o.message, "不存在此部门类型！");
    EXPECT_EQ(o.icon, Icon::Exclamation);
    EXPECT_EQ(o.focus, "txtType");
    EXPECT_EQ(field("01", "F_DepName").toString(), "总部");

    o = modifyDepartment(s, "02", "改名", "");
    EXPECT_EQ(o.message, "不存在此部门！");
    EXPECT_EQ(count("Depart"), 1);
}

// ---- trees ---------------------------------------------------------------

TEST_F(Departments, TreeNodesInCodeOrderUnderTheirParents) {
    EXPECT_EQ(departmentTree(s), (std::vector<TreeNode>{{"Dm0", "部门列表", "", "", 0, false}}));
    add("02", "销售");
    add("01", " 总部 ");
    add("0102", "车间");
    add("0101", "办公室");
    add("03", "后勤");
    employee("0001", "0101");
    employee("0002", "02");

    const std::vector<TreeNode> t = departmentTree(s);
    ASSERT_EQ(t.size(), 6u);
    EXPECT_EQ(t[0], (TreeNode{"Dm0", "部门列表", "", "", 0, false}));
    EXPECT_EQ(t[1], (TreeNode{"Dm1_01", "01 总部", "Dm0", "01", 1, false}));
    EXPECT_EQ(shape(t), (std::vector<std::string>{"Dm1_01>Dm0", "Dm2_0101>Dm1_01", "Dm2_0102>Dm1_01 red",
                                                  "Dm1_02>Dm0", "Dm1_03>Dm0 red"}));
    EXPECT_EQ(t[3].text, "0102 车间");

    // The picker shows the same hierarchy without colours.
    EXPECT_EQ(shape(departmentPickerTree(s)), (std::vector<std::string>{"Dm1_01>Dm0", "Dm2_0101>Dm1_01",
                                                                         "Dm2_0102>Dm1_01", "Dm1_02>Dm0", "Dm1_03>Dm0"}));
    // Only the leaves, all directly under the root.
    EXPECT_EQ(shape(leafDepartmentTree(s)),
              (std::vector<std::string>{"Dm1_0101>Dm0", "Dm1_0102>Dm0 red", "Dm1_02>Dm0", "Dm1_03>Dm0 red"}));
}

TEST_F(Departments, EmployeeCountsMatchCodesWithoutRegardToCase) {
    add("0a", "甲");
    add("0B", "乙");
    employee("0001", "0A");
    employee("0002", "0b");
    EXPECT_EQ(shape(departmentTree(s)), (std::vector<std::string>{"Dm1_0a>Dm0", "Dm1_0B>Dm0"}));
}

TEST_F(Departments, OrphanedSubDepartmentHangsUnderTheRootNotUnderAStranger) {
    add("01");
    add("02");
    add("0201");
    ASSERT_TRUE(remove("02").ok);
    EXPECT_EQ(shape(departmentTree(s)), (std::vector<std::string>{"Dm1_01>Dm0 red", "Dm2_0201>Dm0 red"}));
}

// ---- roster grid ---------------------------------------------------------

TEST_F(Departments, DepartmentGridListsTheBranchBelowTheCode) {
    add("01", "总部");
    add("0101", "办公室");
    add("010101", "文秘");
    add("02", "销售");
    RosterGrid g = rosterGrid(s, RosterMode::Departments, "01", true);
    EXPECT_EQ(g.captions,
              (std::vector<std::string>{"部门代码", "部门名称", "部门类型号", "级别", "是否末级", "借方科目", "贷方科目"}));
    EXPECT_EQ(g.visible, std::vector<bool>(7, true));
    ASSERT_EQ(g.rows.size(), 2u);
    EXPECT_EQ(g.rows[0], (std::vector<std::string>{"0101", "办公室", "", "2", "0", "", ""}));
    EXPECT_EQ(g.rows[1], (std::vector<std::string>{"010101", "文秘", "", "3", "1", "", ""}));

    g = rosterGrid(s, RosterMode::Departments, "", true);
    EXPECT_EQ(column(g, 0), (std::vector<std::string>{"01", "0101", "010101", "02"}));

    s.rosterColumns.depAll = false;
    s.rosterColumns.dep = {true, false, false, true, true};
    g = rosterGrid(s, RosterMode::Departments, "01", true);
    EXPECT_EQ(g.visible, (std::vector<bool>{true, true, true, false, false, true, true}));
}

TEST_F(Departments, DepartmentGridTakesWildcardsLiterally) {
    add("0_");
    add("0_01");
    add("01");
    add("0101");
    EXPECT_EQ(column(rosterGrid(s, RosterMode::Departments, "0_", true), 0), (std::vector<std::string>{"0_01"}));
}

TEST_F(Departments, EmployeeGridOfOneDepartment) {
    add("01");
    add("02");
    employee("0003", "01", 1);
    employee("0001", "01", 3);
    employee("0002", "01", 2);
    employee("0004", "02", 1);
    s.taskConn.execute("Update " + table("Employee") +
                       " set F_Character='12',F_EmpType='01',F_LashMonth='2006.01.02',F_NotCalc='F004' "
                       "where F_EmpNo='0001'");

    RosterGrid g = rosterGrid(s, RosterMode::Employees, "01", true);
    const std::vector<std::string> captions{"员工编号", "员工姓名", "性别", "民族", "身份证号", "银行账号",
                                            "养老保险账号", "住房公积金账号", "其他账号1", "其他账号2", "序号",
                                            "转账属性", "员工类型", "入职时间"};
    EXPECT_EQ(g.captions, captions);
    EXPECT_EQ(column(g, 0), (std::vector<std::string>{"0003", "0002", "0001"}));
    EXPECT_EQ(g.rows[2], (std::vector<std::string>{"0001", "员工0001", "", "", "", "", "", "", "", "", "3", "12",
                                                   "01", "2006.01.02"}));
    g = rosterGrid(s, RosterMode::Employees, "01", false);
    EXPECT_EQ(column(g, 0), (std::vector<std::string>{"0001", "0002", "0003"}));

    // The per-employee exceptions add their column after the joining date.
    task.exceptions(true);
    g = rosterGrid(s, RosterMode::Employees, "01", false);
    std::vector<std::string> withNotCalc = captions;
    withNotCalc.push_back("不计算");
    EXPECT_EQ(g.captions, withNotCalc);
    EXPECT_EQ(g.rows[0][at(g, "不计算")], "F004");
    EXPECT_EQ(g.rows[0][at(g, "入职时间")], "2006.01.02");
    EXPECT_EQ(g.rows[1][at(g, "不计算")], "");
}

TEST_F(Departments, EmployeeColumnsFollowTheDisplayChoice) {
    add("01");
    employee("0001", "01");
    s.rosterColumns.empAll = false;
    s.rosterColumns.emp = {false, true, false, false, false, false, true};
    const RosterGrid g = rosterGrid(s, RosterMode::Employees, "01", true);
    const std::vector<bool> shown{true, true, true, false, true, true, false, false, false, false, true, true, true,
                                  true};
    EXPECT_EQ(g.visible, shown);

    // Mode 2 has the same choice after its two department columns.
    const RosterGrid all = rosterGrid(s, RosterMode::AllEmployees, "", true);
    std::vector<bool> shifted{true, true};
    shifted.insert(shifted.end(), shown.begin(), shown.end() - 1); // no joining date
    EXPECT_EQ(all.visible, shifted);
}

TEST_F(Departments, AllEmployeesWithTheirDepartmentNames) {
    add("02", "销售");
    add("0a", "研发");
    employee("0003", "02", 1);
    employee("0001", "02", 2);
    employee("0002", "0A", 5);
    employee("0004", "99", 1); // department gone

    RosterGrid g = rosterGrid(s, RosterMode::AllEmployees, "", true);
    ASSERT_EQ(g.captions.size(), 15u);
    EXPECT_EQ(g.captions[0], "部门编号");
    EXPECT_EQ(g.captions[1], "部门名称");
    EXPECT_EQ(g.captions[2], "员工编号");
    EXPECT_EQ(g.captions.back(), "员工类型");
    EXPECT_EQ(column(g, 2), (std::vector<std::string>{"0003", "0001", "0002", "0004"}));
    EXPECT_EQ(column(g, 1), (std::vector<std::string>{"销售", "销售", "研发", ""}));
    EXPECT_EQ(column(g, 0), (std::vector<std::string>{"02", "02", "0A", "99"}));

    g = rosterGrid(s, RosterMode::AllEmployees, "", false);
    EXPECT_EQ(column(g, 2), (std::vector<std::string>{"0001", "0002", "0003", "0004"}));
}

TEST_F(Departments, TypeNamesInTableOrder) {
    ASSERT_TRUE(addDepartmentType(s, "02", "销售").ok);
    ASSERT_TRUE(addDepartmentType(s, "01", "生产").ok);
    EXPECT_EQ(departmentTypeNames(s), (std::vector<std::string>{"销售", "生产"}));
}
