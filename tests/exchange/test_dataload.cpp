// The data-load file: export, load into an existing or a new task, the
// refusals that change nothing and the lines that are skipped.
#include "exchange/dataload.h"
#include "exchange/textfile.h"

#include "calc/recalc.h"
#include "core/gbk.h"
#include "core/login.h"
#include "core/numtext.h"
#include "core/startup.h"
#include "core/tasks.h"
#include "items/cumulative_tax.h"
#include "monthly/workgrid_load.h"
#include "period/balance.h"
#include "support/payroll_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>

using namespace gzgl;
using namespace gzgl::exchange;

namespace {

// Writes UTF-8 lines as a GBK file with CR LF ends.
std::string writeFile(const std::string& folder, const std::vector<std::string>& lines,
                      const std::string& name = "load.txt") {
    std::string bytes;
    for (const std::string& l : lines)
        bytes += toGbk(l) + "\r\n";
    const std::string path = folder + "/" + name;
    writeFileReplacing(path, bytes);
    return path;
}

// Everything a load may change, as text, to prove a refusal changed nothing.
std::string snapshot(Session& s, const std::string& taskID) {
    Connection c;
    c.open(s.taskDbPath(taskID));
    std::string out;
    for (const std::string& table : c.tables()) {
        out += table + ":" + std::to_string(c.columns(table).size()) + "\n";
        const Recordset rs = c.query("Select * From " + table);
        for (std::size_t i = 0; i < rs.size(); ++i) {
            for (const Value& v : rs.row(i))
                out += (v.isNull() ? std::string("<null>") : v.toString()) + "|";
            out += "\n";
        }
    }
    out += s.sysConn.scalar("Select F_BMJB From GZSysInfo Where F_ID=?", {taskID}).toString();
    return out;
}

// The task of the fixture with two levels of departments and one employee.
struct Loaded {
    test::PayrollTask t{0, "2006", "2", "管理员", "pw"};
    SilentProgress progress;
    Loaded() {
        t.s.taskConn.execute("Insert Into " + t.table("Depart") +
                             "(F_DepNo,F_DepName,F_DepClass,F_End) Values('01','一车间',1,0),('0101','一班',2,1)");
        t.s.sysConn.execute("Update GZSysInfo set F_BMJB='22000' where F_ID=?", {t.s.curTaskID});
        t.item("F004", "基本工资");
        t.employee("0001", "张三", "0101");
        t.value("0001", "F004", 1000.0);
    }
    std::string file(const std::vector<std::string>& data, const std::string& items = "基本工资",
                     const std::vector<std::string>& deps = {"01   一车间", "0101   一班"},
                     const std::string& head = "工资,管理员,200602") {
        std::vector<std::string> lines{kDataLoadMark, head, "*Dep*"};
        lines.insert(lines.end(), deps.begin(), deps.end());
        lines.insert(lines.end(), {"*Item*", items, "*Data*"});
        lines.insert(lines.end(), data.begin(), data.end());
        return writeFile(t.home.path, lines);
    }
    DataLoadResult load(const std::string& path, const std::string& password = "pw") {
        return loadDataFile(t.s, path, password, progress);
    }
    Value value(const std::string& emp, const std::string& code) {
        return t.s.taskConn.scalar("Select " + code + " From " + t.table("Data") + " Where F_EmpNo=?", {emp});
    }
};

} // namespace

TEST(DataLoad, RefusalsChangeNothingAndSayWhy) {
    Loaded x;
    const std::string before = snapshot(x.t.s, x.t.s.curTaskID);
    auto refused = [&](const std::string& path, const std::string& password, const std::string& message) {
        const DataLoadResult r = x.load(path, password);
        EXPECT_FALSE(r.outcome.ok);
        EXPECT_EQ(r.outcome.message.substr(0, message.size()), message) << r.outcome.message;
        EXPECT_EQ(r.outcome.title, "数据加载");
        EXPECT_EQ(snapshot(x.t.s, x.t.s.curTaskID), before);
    };
    // Not the mark on the first line: refused at once, whatever follows.
    refused(writeFile(x.t.home.path, {"KS770_GZGLX", "工资,管理员,200602", "*Dep*"}), "pw", "文件格式错误!");
    refused(writeFile(x.t.home.path, {}), "pw", "文件格式错误!");
    refused(x.t.home.path + "/none.txt", "pw", "文件“");
    // A file that ends inside a section, or whose task line is no period.
    refused(writeFile(x.t.home.path, {kDataLoadMark, "工资,管理员,200602", "*Dep*", "01   一车间"}), "pw",
            "文件格式错误!");
    refused(x.file({}, "基本工资", {"01   一车间"}, "工资,管理员,2006-2"), "pw", "文件格式错误!");
    // Binary junk after the mark.
    writeFileReplacing(x.t.home.path + "/junk.txt", std::string("KS770_GZGL\r\n\xff\xfe\x01,a,b\r\n", 20));
    refused(x.t.home.path + "/junk.txt", "pw", "文件格式错误!");
    // A file alone does not open a task.
    refused(x.file({"0101,0002,男,李四,5"}), "", "口令不正确");
    refused(x.file({"0101,0002,男,李四,5"}), "PW", "口令不正确");
    // Only the open month takes a load.
    refused(x.file({"0101,0002,男,李四,5"}, "基本工资", {}, "工资,管理员,200601"), "pw", "数据文件时间错误！");
    refused(x.file({"0101,0002,男,李四,5"}, "基本工资", {}, "工资,管理员,200603"), "pw", "数据文件时间错误！");
    // Department codes of another scheme (a first level of three) roll the load back.
    refused(x.file({"001,0002,男,李四,5"}, "基本工资,奖金", {"001   二车间"}), "pw", "部门编码与本任务不符！");
    // A new sub-department under a department that holds employees.
    refused(x.file({"010101,0002,男,李四,5"}, "基本工资", {"010101   小组"}), "pw", "数据发生错误！");
    // An item name the task may not have.
    refused(x.file({"0101,0002,男,李四,5"}, "基本工资,1号"), "pw", "工资项目“1号”");
    refused(x.file({"0101,0002,男,李四,5,6"}, "基本工资,基本工资"), "pw", "文件格式错误!");
}

TEST(DataLoad, ClosedMonthRefusedWithPeriodError) {
    Loaded x;
    SilentProgress p;
    ASSERT_TRUE(period::closeMonth(x.t.s, "2006", "3", p).ok);
    const DataLoadResult r = x.load(x.file({"0101,0002,男,李四,5"}));
    EXPECT_FALSE(r.outcome.ok);
    EXPECT_EQ(r.outcome.message, "数据文件时间错误！");
}

TEST(DataLoad, UnknownItemsBecomeItemsWithColumnsAndValuesLandInTheirCells) {
    Loaded x;
    const DataLoadResult r = x.load(x.file({"0101,0001,男,张三,1234.56,*,300,甲级", "一班,0002,女,李四,*,0.1,,乙"},
                                           "基本工资,实发工资,奖金,职称"));
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    EXPECT_EQ(r.outcome.message, "数据导入完毕！");
    EXPECT_EQ(r.itemsAdded, 2);
    EXPECT_EQ(r.employeesAdded, 1);
    EXPECT_EQ(r.employeesUpdated, 1);
    // 奖金 holds numbers: a number item with two decimals and its column;
    // 职称 holds texts: a text item, so that the texts are kept.
    const Recordset items = x.t.s.taskConn.query(
        "Select F_Code,F_Type,F_Prec From " + x.t.table("Item") + " Where F_Name In ('奖金','职称') Order By F_ID");
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items.row(0)[0].toString(), "F005");
    EXPECT_EQ(items.row(0)[1].toString(), "数字");
    EXPECT_EQ(items.row(0)[2].toInt(), 2);
    EXPECT_EQ(items.row(1)[1].toString(), "文字");
    EXPECT_TRUE(x.t.s.taskConn.hasColumn(x.t.table("Data"), "F005"));
    EXPECT_EQ(x.value("0001", "F004").toDouble(), 1234.56);
    EXPECT_TRUE(x.value("0002", "F004").isNull()); // "*" is no value
    EXPECT_EQ(x.value("0002", "F000").toDouble(), 0.1); // the fixed name finds F000
    EXPECT_EQ(x.value("0001", "F005").toDouble(), 300);
    EXPECT_EQ(x.value("0001", "F006").toString(), "甲级");
    const Recordset emp = x.t.s.taskConn.query("Select F_DepNo,F_Sex,F_EmpName,F_SortNo From " + x.t.table("Employee") +
                                               " Where F_EmpNo='0002'");
    ASSERT_EQ(emp.size(), 1u);
    EXPECT_EQ(emp.row(0)[0].toString(), "0101"); // found by name
    EXPECT_EQ(emp.row(0)[1].toString(), "女");
    EXPECT_EQ(emp.row(0)[2].toString(), "李四");
}

TEST(DataLoad, TheCumulativeTaxFiguresKeepTheirReservedCodes) {
    Loaded x;
    const DataLoadResult r =
        x.load(x.file({"0101,0001,男,张三,1000,25500,5000,615"}, "基本工资,上月累计应税收入,上月累计减除费用,上月累计已扣税额"));
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    EXPECT_EQ(x.value("0001", "FFF1").toDouble(), 25500);
    EXPECT_EQ(x.value("0001", "FFF2").toDouble(), 5000);
    EXPECT_EQ(x.value("0001", "FFF3").toDouble(), 615);
    // So the task can take up the cumulative method over them.
    EXPECT_TRUE(items::setTaxMethod(x.t.s, items::kCumulativeMethod).ok);
    EXPECT_EQ(x.t.s.taskConn.scalar("Select count(*) From " + x.t.table("Item") + " Where F_Name Like '上月累计%'").toInt(), 3);
}

TEST(DataLoad, BadLinesAreSkippedWithTheirNumbersAndTheRestLoads) {
    Loaded x;
    const DataLoadResult r =
        x.load(x.file({"0101,0002,男,李四,5",                  // line 9: good
                       "0101,0003,男,王五",                    // too few fields
                       "9999,0004,男,赵六,1",                  // no such department
                       "01,0005,男,孙七,1",                    // not a leaf
                       "0101,0006,男,周八,1e999",              // no plain number
                       "0101,0007,男,吴九,nan",
                       "0101,,男,无号,1",                      // no code
                       "0101,0008,男,郑十," + std::string(5000, '9'), // beyond a double
                       "0101,0009,男,钱一,-12.5"}));            // good
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    EXPECT_NE(r.outcome.message.find("有7行记录不正确"), std::string::npos);
    ASSERT_EQ(r.skipped.size(), 7u);
    const std::vector<int> lines{10, 11, 12, 13, 14, 15, 16};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(r.skipped[i].line, lines[i]);
        EXPECT_EQ(r.skipped[i].reason.rfind(kRecordRejected, 0), 0u) << r.skipped[i].reason;
    }
    EXPECT_EQ(r.skipped[0].text, "0101,0003,男,王五");
    EXPECT_EQ(r.employeesAdded, 2);
    EXPECT_EQ(x.value("0009", "F004").toDouble(), -12.5);
    EXPECT_EQ(x.t.s.taskConn.scalar("Select count(*) From " + x.t.table("Employee")).toInt(), 3);
}

TEST(DataLoad, QuotesAndPercentInNamesAreStoredAsTypedAndLongNamesCutWhole) {
    Loaded x;
    const std::string longName = "欧阳" + std::string(30, 'a') + "明"; // 36 bytes in GBK
    const DataLoadResult r = x.load(x.file({"0102,O'1%,男,王'五%\"_,1", "0102,0002,男," + longName + ",2"}, "基本工资",
                                           {"01   一车间", "0102   二班'%|"}));
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    EXPECT_TRUE(r.skipped.empty());
    EXPECT_EQ(x.t.s.taskConn.scalar("Select F_DepName From " + x.t.table("Depart") + " Where F_DepNo='0102'").toString(),
              "二班'%|");
    EXPECT_EQ(x.t.s.taskConn.scalar("Select F_EmpName From " + x.t.table("Employee") + " Where F_EmpNo=?", {"O'1%"})
                  .toString(),
              "王'五%\"_");
    // 32 bytes: the last double-byte character would be split, so it goes whole.
    EXPECT_EQ(x.t.s.taskConn.scalar("Select F_EmpName From " + x.t.table("Employee") + " Where F_EmpNo='0002'")
                  .toString(),
              "欧阳" + std::string(28, 'a'));
    // The new department took its level and leaf flag.
    const Recordset dep = x.t.s.taskConn.query("Select F_DepClass,F_End From " + x.t.table("Depart") +
                                               " Where F_DepNo='0102'");
    EXPECT_EQ(dep.row(0)[0].toInt(), 2);
    EXPECT_EQ(dep.row(0)[1].toInt(), 1);
}

TEST(DataLoad, DatabaseFailureHalfwayLeavesTheTaskAsItWas) {
    Loaded x;
    x.t.s.taskConn.execute("Create Trigger stop_it Before Insert On " + x.t.table("Employee") +
                           " When NEW.F_EmpNo='0003' Begin Select RAISE(ABORT,'disk full'); End");
    const std::string before = snapshot(x.t.s, x.t.s.curTaskID);
    const DataLoadResult r = x.load(x.file({"0101,0002,男,李四,5,1", "0101,0003,男,王五,6,1"}, "基本工资,奖金",
                                           {"01   一车间", "0101   一班", "0102   二班"}));
    EXPECT_FALSE(r.outcome.ok);
    EXPECT_NE(r.outcome.message.find("disk full"), std::string::npos);
    EXPECT_EQ(snapshot(x.t.s, x.t.s.curTaskID), before);
}

TEST(DataLoad, ExportThenLoadIntoAFreshHomeReproducesTheMonth) {
    Loaded x;
    test::PayrollTask& t = x.t;
    t.item("F005", "奖金");
    t.item("F006", "扣款");
    t.item("F007", "备注", "文字", 0);
    t.s.taskConn.execute("Insert Into " + t.table("Depart") +
                         "(F_DepNo,F_DepName,F_DepClass,F_End) Values('02','二车间',1,0),('0201','甲组',2,1)");
    t.employee("0002", "李'四%", "0201", 1);
    t.employee("0003", "王五", "0201", 2);
    t.value("0001", "F005", 0.1);
    t.value("0002", "F004", 2000.55);
    t.value("0002", "F006", 123.45);
    t.value("0003", "F007", "出差");
    t.formula("F003", "F004+F005");
    t.formula("F000", "F003-F006");
    // The bank account travels as the account item 银行账号.
    t.s.taskConn.execute("Insert Into " + t.table("Item") + " Values(20,'FFFH','银行账号','文字',0,0,15,1,0,0)");
    t.s.taskConn.execute("Update " + t.table("Employee") + " Set F_AccNo='6222020200112233445' Where F_EmpNo='0002'");
    const std::string path = t.home.path + "/month.txt";
    ASSERT_TRUE(exportDataFile(t.s, path, t.prompt, x.progress).ok);
    // A second export asks before replacing; No keeps the file.
    const std::string first = readWholeFile(path).value();
    const Outcome again = exportDataFile(t.s, path, t.prompt, x.progress);
    EXPECT_FALSE(again.ok);
    EXPECT_EQ(t.prompt.last(), path + "文件已存在，是否覆盖？");
    EXPECT_EQ(readWholeFile(path).value(), first);
    EXPECT_EQ(first.substr(0, 12), "KS770_GZGL\r\n");

    test::TempHome other;
    Session fresh;
    test::openHome(fresh, other.path);
    const DataLoadResult r = loadDataFile(fresh, path, "新口令", x.progress);
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    EXPECT_TRUE(r.taskCreated);
    EXPECT_FALSE(fresh.taskOpen()); // the load opens nothing
    // The new task takes the password given, and only that.
    test::RecordingPrompt prompt;
    EXPECT_FALSE(loginByName(fresh, prompt, "工资", "管理员", "pw"));
    ASSERT_TRUE(loginByName(fresh, prompt, "工资", "管理员", "新口令")) << prompt.last();
    EXPECT_EQ(fresh.curPeriod, "200602");
    EXPECT_EQ(fresh.sysConn.scalar("Select F_BMJB From GZSysInfo Where F_ID=?", {fresh.curTaskID}).toString(), "22000");

    auto grid = [](Session& s) {
        monthly::LoadedGrid g = monthly::loadWorkGrid(s, {}, true);
        SilentProgress quiet;
        calc::RecalculateGrid(s, g.grid, {s.roundOffMode, IsNotCalcOn(s)}, quiet);
        // Rows by caption, so that the item order may differ.
        std::map<std::string, std::vector<std::string>> byCaption;
        for (int c = 0; c < g.grid.cols(); ++c)
            for (int r = calc::kFirstEmployeeRow; r < g.grid.rows(); ++r)
                byCaption[g.grid.cell(1, c)].push_back(g.grid.cell(r, c));
        return byCaption;
    };
    const auto want = grid(t.s);
    const auto got = grid(fresh);
    // Amounts compare as amounts: the recalculation writes the rounding
    // items as plain decimals ("0"), a stored value shows with its item's
    // decimals ("0.00").
    auto amount = [](std::vector<std::string> cells) {
        for (std::string& c : cells)
            if (isNumberText(c))
                c = decimalText(std::round(readNumber(c) * 100) / 100);
        return cells;
    };
    ASSERT_EQ(got.size(), want.size());
    for (const auto& [caption, cells] : want)
        EXPECT_EQ(amount(got.at(caption)), amount(cells)) << caption;
    EXPECT_EQ(got.at("备注")[2], "出差");
    EXPECT_EQ(fresh.taskConn.scalar("Select F_AccNo From " + periodTable(fresh.taskPrefix(), "Employee") +
                                    " Where F_EmpNo='0002'")
                  .toString(),
              "6222020200112233445");
    EXPECT_EQ(got.at("实发工资")[1], "1877.10");
    // The departments with their levels, and the employees in them.
    const Recordset deps = fresh.taskConn.query("Select F_DepNo,F_DepName,F_DepClass,F_End From " +
                                                periodTable(fresh.taskPrefix(), "Depart") + " Order By F_DepNo");
    ASSERT_EQ(deps.size(), 4u);
    EXPECT_EQ(deps.row(3)[0].toString() + deps.row(3)[1].toString() + deps.row(3)[2].toString() +
                  deps.row(3)[3].toString(),
              "0201甲组21");
    // Loading the same file again changes no value.
    const std::string loaded = snapshot(fresh, fresh.curTaskID);
    const DataLoadResult twice = loadDataFile(fresh, path, "新口令", x.progress);
    ASSERT_TRUE(twice.outcome.ok) << twice.outcome.message;
    EXPECT_EQ(twice.employeesUpdated, 3);
    EXPECT_EQ(snapshot(fresh, fresh.curTaskID), loaded);
}

TEST(DataLoad, ExportRefusesWhatTheFileCannotCarry) {
    Loaded x;
    x.t.item("F005", "备注", "文字", 0);
    x.t.value("0001", "F005", "a,b");
    const std::string path = x.t.home.path + "/m.txt";
    Outcome o = exportDataFile(x.t.s, path, x.t.prompt, x.progress);
    EXPECT_FALSE(o.ok);
    EXPECT_NE(o.message.find("含有逗号"), std::string::npos) << o.message;
    x.t.value("0001", "F005", "a😀");
    o = exportDataFile(x.t.s, path, x.t.prompt, x.progress);
    EXPECT_FALSE(o.ok);
    EXPECT_NE(o.message.find("😀"), std::string::npos) << o.message;
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(exportDataFile(x.t.s, x.t.home.path + "/no/such/m.txt", x.t.prompt, x.progress).message.substr(0, 9),
              "文件夹");
    // An operator name with a comma would send the file to another task.
    x.t.value("0001", "F005", "甲");
    x.t.s.sysConn.execute("Update GZSysInfo set F_RYXM=? where F_ID=?", {"管,理", x.t.s.curTaskID});
    o = exportDataFile(x.t.s, path, x.t.prompt, x.progress);
    EXPECT_FALSE(o.ok);
    EXPECT_NE(o.message.find("操作人员姓名含有逗号"), std::string::npos) << o.message;
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(DataLoadRead, ReadsSectionsAndSetsAsideUnreadableLines) {
    const std::string bytes = toGbk("KS770_GZGL\r\n任务,甲,乙,200612\r\n*Dep*\r\n01   一车间  \r\n\r\n*Item*\r\n"
                                    " 基本工资 ,奖金\r\n*Data*\r\n01,1,男,张,1,2\r\n01,2\r\n") +
                              "01,3,\xff\xff,x,1,2\n01,4,\x01,y,1,2";
    const ParsedDataLoad p = parseDataLoad(bytes);
    ASSERT_TRUE(p.file) << p.error;
    // A task name may hold a comma: operator and period are the last two fields.
    EXPECT_EQ(p.file->taskName, "任务,甲");
    EXPECT_EQ(p.file->operatorName, "乙");
    ASSERT_EQ(p.file->departments.size(), 1u);
    EXPECT_EQ(p.file->departments[0].name, "一车间");
    EXPECT_EQ(p.file->items, (std::vector<std::string>{"基本工资", "奖金"}));
    ASSERT_EQ(p.file->rows.size(), 2u);
    EXPECT_EQ(p.file->rows[0].fields.size(), 6u);
    EXPECT_TRUE(p.file->rows[1].fields.empty()); // wrong count: left for the load to report
    ASSERT_EQ(p.file->skipped.size(), 2u);
    EXPECT_EQ(p.file->skipped[0].line, 11);
    EXPECT_EQ(p.file->skipped[1].line, 12);
    // No line end at all: one line, which is not the mark.
    EXPECT_FALSE(parseDataLoad("KS770_GZGL *Dep* *Item*").file);
}

TEST(DataLoad, ANewTaskThatCannotBeLoadedLeavesNoTrace) {
    test::TempHome home;
    Session s;
    test::openHome(s, home.path);
    SilentProgress p;
    auto files = [&] {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(home.money()))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    };
    const std::vector<std::string> before = files();
    const std::vector<std::string> head{kDataLoadMark, "新任务,会计,200612", "*Dep*"};
    std::vector<std::string> lines = head;
    // Six code lengths: more levels than a scheme has.
    for (const char* d : {"1   a", "12   b", "123   c", "1234   d", "12345   e", "123456   f"})
        lines.push_back(d);
    lines.insert(lines.end(), {"*Item*", "基本工资", "*Data*", "1,1,男,张,1"});
    const DataLoadResult r = loadDataFile(s, writeFile(home.path, lines), "pw", p);
    EXPECT_FALSE(r.outcome.ok);
    EXPECT_EQ(r.outcome.message.rfind("数据发生错误！", 0), 0u) << r.outcome.message;
    EXPECT_EQ(s.sysConn.scalar("Select count(*) From GZSysInfo").toInt(), 0);
    EXPECT_EQ(files(), before);
    // A name taken by a task of another operator is not made twice.
    test::makeTask(s, "新任务", "出纳", "x");
    lines = head;
    lines.insert(lines.end(), {"*Item*", "基本工资", "*Data*"});
    const DataLoadResult taken = loadDataFile(s, writeFile(home.path, lines), "pw", p);
    EXPECT_FALSE(taken.outcome.ok);
    EXPECT_NE(taken.outcome.message.find("已经存在"), std::string::npos);
    EXPECT_EQ(s.sysConn.scalar("Select count(*) From GZSysInfo").toInt(), 1);
}

TEST(DataLoad, FormulaItemsKeepNoValuesAndLeftoverColumnsAreNotInherited) {
    Loaded x;
    // 应发工资 is worked out by a formula here: the file's gross pay is not stored.
    x.t.formula("F003", "F004*2");
    x.t.s.taskConn.execute("Alter Table " + x.t.table("Data") + " Drop Column F003");
    // A column left behind under the code the next new item gets.
    x.t.s.taskConn.execute("Alter Table " + x.t.table("Data") + " Add F005 VARCHAR(16)");
    x.t.value("0001", "F005", "old");
    const DataLoadResult r = x.load(x.file({"0101,0002,男,李四,5,999,7"}, "基本工资,应发工资,奖金"));
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    EXPECT_FALSE(x.t.s.taskConn.hasColumn(x.t.table("Data"), "F003"));
    EXPECT_EQ(x.value("0002", "F005").toDouble(), 7);
    EXPECT_TRUE(x.value("0001", "F005").isNull()); // not "old"
    EXPECT_EQ(x.t.s.taskConn.scalar("Select typeof(F005) From " + x.t.table("Data") + " Where F_EmpNo='0002'")
                  .toString(),
              "real");
}
