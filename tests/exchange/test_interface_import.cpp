// The data-interface import of a delimited salary export: header checks,
// which columns are written, the department of new employees, skipped
// lines and the all-or-nothing write.
#include "exchange/interface_import.h"
#include "exchange/textfile.h"

#include "core/gbk.h"
#include "reports/query.h"
#include "support/payroll_fixture.h"

#include <gtest/gtest.h>

using namespace gzgl;
using namespace gzgl::exchange;

namespace {

struct Interface {
    test::PayrollTask t;
    SilentProgress progress;
    Interface() {
        t.s.taskConn.execute("Insert Into " + t.table("Depart") +
                             "(F_DepNo,F_DepName,F_DepClass,F_End) Values('01','一车间',1,1)");
        t.s.sysConn.execute("Update GZSysInfo set F_BMJB='20000' where F_ID=?", {t.s.curTaskID});
        t.item("F004", "基本工资");
        t.item("F005", "备注", "文字", 0);
        t.item("F006", "奖金");
        t.formula("F003", "F004+F006");
        t.employee("0001", "张三", "01");
        t.value("0001", "F004", 100.0);
    }
    // A file as the delimited export writes it, separator "|".
    std::string file(const std::vector<std::string>& rows, const std::string& head = {}) {
        std::string text = "****\r\n任务名称 " + t.s.curTaskID + " 工资\r\n工资期数 200602\r\n分隔符号 |\r\n"
                           "导出日期 20060228\r\n****\r\n";
        if (!head.empty())
            text = head;
        text += "            |F001        |F002        |F004        |F005        |F003        |F006\r\n"
                "所属部门    |工号        |姓名        |基本工资    |备注        |应发工资    |奖金\r\n";
        for (const std::string& r : rows)
            text += r + "\r\n";
        const std::string path = t.home.path + "/in.txt";
        writeFileReplacing(path, toGbk(text));
        return path;
    }
    InterfaceImportResult import(const std::string& path) { return importInterfaceFile(t.s, path, progress); }
    Value value(const std::string& emp, const std::string& code) {
        return t.s.taskConn.scalar("Select " + code + " From " + t.table("Data") + " Where F_EmpNo=?", {emp});
    }
    std::int64_t count(const char* table, const std::string& where = "1=1", const Params& params = {}) {
        return t.s.taskConn.scalar("Select count(*) From " + t.table(table) + " Where " + where, params).toInt();
    }
};

} // namespace

TEST(InterfaceImport, WritesNumberColumnsOnlyAndAddsNewEmployeesToOneDepartment) {
    Interface x;
    const std::string path = x.file({"一车间|0001|张三|1234.5|甲|9999|50", "|0002|李四||乙|1|7.25"});
    InterfaceImportResult r = x.import(path);
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    EXPECT_EQ(r.outcome.message, "导入工资数据完成。");
    EXPECT_EQ(r.outcome.title, "提示");
    EXPECT_EQ(r.columnsImported, 2); // 基本工资 and 奖金: not the text item, not the formula item
    EXPECT_EQ(x.value("0001", "F004").toDouble(), 1234.5);
    EXPECT_EQ(x.value("0001", "F006").toDouble(), 50);
    EXPECT_TRUE(x.value("0001", "F005").isNull());
    EXPECT_TRUE(x.value("0002", "F004").isNull()); // an empty cell is no value
    EXPECT_EQ(x.value("0002", "F006").toDouble(), 7.25);
    // The known employee keeps its department; the new one goes to 新导入员工,
    // the next top-level code in the task's scheme.
    EXPECT_EQ(x.count("Employee", "F_EmpNo='0001' And F_DepNo='01'"), 1);
    const Recordset dep = x.t.s.taskConn.query("Select F_DepNo,F_DepClass,F_End From " + x.t.table("Depart") +
                                               " Where F_DepName='新导入员工'");
    ASSERT_EQ(dep.size(), 1u);
    EXPECT_EQ(dep.row(0)[0].toString(), "02");
    EXPECT_EQ(x.count("Employee", "F_EmpNo='0002' And F_DepNo='02' And F_EmpName='李四'"), 1);

    // The same file again: the department is made once, nobody twice.
    r = x.import(path);
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    EXPECT_EQ(r.employeesAdded, 0);
    EXPECT_EQ(r.employeesUpdated, 2);
    EXPECT_EQ(x.count("Depart", "F_DepName='新导入员工'"), 1);
    EXPECT_EQ(x.count("Employee"), 2);
}

TEST(InterfaceImport, AnEmployeeWithoutADataRowGetsOneAndItsValues) {
    Interface x;
    x.t.s.taskConn.execute("Insert Into " + x.t.table("Employee") +
                           "(F_EmpNo,F_DepNo,F_EmpName,F_SortNo) Values('0009','01','王五',2)");
    const InterfaceImportResult r = x.import(x.file({"|0009|王五|321.5||1|2"}));
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    EXPECT_EQ(r.employeesUpdated, 1);
    EXPECT_EQ(x.value("0009", "F004").toDouble(), 321.5);
}

TEST(InterfaceImport, AFirstDepartmentDefinesTheFirstLevel) {
    Interface x;
    x.t.s.taskConn.execute("Delete From " + x.t.table("Depart"));
    x.t.s.sysConn.execute("Update GZSysInfo set F_BMJB='00000' where F_ID=?", {x.t.s.curTaskID});
    ASSERT_TRUE(x.import(x.file({"|0002|李四|1||1|1"})).outcome.ok);
    EXPECT_EQ(x.count("Depart", "F_DepNo='001' And F_DepName='新导入员工'"), 1);
    EXPECT_EQ(x.t.s.sysConn.scalar("Select F_BMJB From GZSysInfo Where F_ID=?", {x.t.s.curTaskID}).toString(), "30000");
}

TEST(InterfaceImport, RefusedFilesChangeNothing) {
    Interface x;
    auto refused = [&](const std::string& path, const std::string& message) {
        const InterfaceImportResult r = x.import(path);
        EXPECT_FALSE(r.outcome.ok);
        EXPECT_EQ(r.outcome.message.substr(0, message.size()), message) << r.outcome.message;
        EXPECT_EQ(x.count("Employee"), 1);
        EXPECT_EQ(x.value("0001", "F004").toDouble(), 100);
    };
    refused(x.file({"|0001|张三|5||1|1"}, "***\r\n"), kNotSalaryFile);
    refused(x.file({"|0001|张三|5||1|1"}, "****\r\n任务名称 0000 工资\r\n"), kNotSalaryFile); // header never ends
    refused(x.file({"|0001|张三|5||1|1"}, "****\r\n任务名称 " + x.t.s.curTaskID +
                                                " 工资\r\n工资期数 200602\r\n分隔符号  \r\n****\r\n"),
            kNotSalaryFile); // a blank separator cannot be told from the padding
    refused(x.file({"|0001|张三|5||1|1"}, "****\r\n任务名称 " + x.t.s.curTaskID +
                                                " 工资\r\n工资期数 200603\r\n分隔符号 |\r\n****\r\n"),
            kTaskMismatch);
    refused(x.file({"|0001|张三|5||1|1"}, "****\r\n任务名称 9999 工资\r\n工资期数 200602\r\n分隔符号 |\r\n****\r\n"),
            kTaskMismatch);
    refused(x.t.home.path + "/missing.txt", "文件“");
    // A damaged file: binary bytes in the header.
    writeFileReplacing(x.t.home.path + "/bin.txt", std::string("****\r\n\x80\x01\xff\r\n", 11));
    refused(x.t.home.path + "/bin.txt", kNotSalaryFile);
}

TEST(InterfaceImport, BadLinesAreSkippedAndNamesKeptAsTyped) {
    Interface x;
    const InterfaceImportResult r = x.import(x.file({
        "|0002|王'五%_|1||1|1",   // line 9: imported as typed
        "|0001|李四|5||1|1",      // 0001 is 张三's code
        "|0003|赵六|abc||1|1",    // not a number
        "|0004|孙七|1e999||1|1",
        "|0005|周八|1|1",         // too few columns
        "||无号|1||1|1",          // no code
        "|0006|吴九|nan||1|1",
        "|O'7%|郑十|2||1|3",      // a code with a quote: stored as read
    }));
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    EXPECT_NE(r.outcome.message.find("有6行没有导入"), std::string::npos);
    ASSERT_EQ(r.skipped.size(), 6u);
    const std::vector<int> lines{10, 11, 12, 13, 14, 15};
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(r.skipped[i].line, lines[i]) << r.skipped[i].reason;
    EXPECT_NE(r.skipped[0].reason.find("张三"), std::string::npos);
    EXPECT_EQ(x.count("Employee", "F_EmpNo=? And F_EmpName=?", {"0002", "王'五%_"}), 1);
    EXPECT_EQ(x.value("O'7%", "F006").toDouble(), 3);
    EXPECT_EQ(x.value("0001", "F004").toDouble(), 100);
}

TEST(InterfaceImport, DatabaseFailureHalfwayWritesNothing) {
    Interface x;
    x.t.s.taskConn.execute("Create Trigger stop_it Before Insert On " + x.t.table("Employee") +
                           " When NEW.F_EmpNo='0003' Begin Select RAISE(ABORT,'disk full'); End");
    const InterfaceImportResult r = x.import(x.file({"|0001|张三|5||1|1", "|0002|李四|6||1|1", "|0003|王五|7||1|1"}));
    EXPECT_FALSE(r.outcome.ok);
    EXPECT_NE(r.outcome.message.find("disk full"), std::string::npos);
    EXPECT_EQ(x.value("0001", "F004").toDouble(), 100);
    EXPECT_EQ(x.count("Employee"), 1);
    EXPECT_EQ(x.count("Depart", "F_DepName='新导入员工'"), 0);
}

TEST(InterfaceImport, ReadsBackWhatTheQueryExportWrote) {
    Interface x;
    x.t.value("0001", "F006", 12.5);
    reports::QueryConditions q;
    q.year = q.year1 = "2006";
    q.month = q.month1 = "2";
    const reports::QueryRun run = reports::runQuery(x.t.s, q, x.progress);
    ASSERT_TRUE(run.outcome.ok) << run.outcome.message;
    std::string written;
    ASSERT_TRUE(reports::exportQueryDelimited(x.t.s, x.t.prompt, x.progress, run.result, x.t.home.path, "Q.TXT", "\t",
                                              "20060228", &written)
                    .ok);
    // Change the month, then import the export: the values come back.
    x.t.value("0001", "F004", 1.0);
    x.t.value("0001", "F006", 2.0);
    const InterfaceImportResult r = x.import(written);
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    EXPECT_TRUE(r.skipped.empty());
    EXPECT_EQ(x.value("0001", "F004").toDouble(), 100);
    EXPECT_EQ(x.value("0001", "F006").toDouble(), 12.5);
}

TEST(InterfaceRead, HeaderAndRows) {
    const std::string bytes = toGbk("****\r\n任务名称 0003 月 薪\r\n工资期数 200612\r\n分隔符号 ;;\r\n导出日期 20061231\r\n"
                                    "****\r\nF001 ;;F002\r\n工号;;姓名\r\n1;;张\r\n2\r\n\r\n");
    const ParsedInterface p = parseInterfaceFile(bytes);
    ASSERT_TRUE(p.file) << p.error;
    EXPECT_EQ(p.file->taskID, "0003");
    EXPECT_EQ(p.file->taskName, "月 薪");
    EXPECT_EQ(p.file->separator, ";;");
    EXPECT_EQ(p.file->codes, (std::vector<std::string>{"F001", "F002"}));
    ASSERT_EQ(p.file->rows.size(), 2u);
    EXPECT_EQ(p.file->rows[0].cells, (std::vector<std::string>{"1", "张"}));
    EXPECT_TRUE(p.file->rows[1].cells.empty());
    EXPECT_FALSE(parseInterfaceFile("****").file);
}
