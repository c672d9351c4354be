// The salary query's outputs: the print job's lines, columns and page
// setup month, the Excel workbook read back with openpyxl, and the
// delimited text file.
#include "reports/query.h"

#include "core/gbk.h"
#include "period/balance.h"
#include "print/screen_jobs.h"
#include "support/payroll_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace gzgl;
using namespace gzgl::reports;

namespace {

// Two months (200602, 200603) of one employee with a 19-digit account; the
// item 津贴 is not printed, 备注 is not shown.
struct QueryOutput : ::testing::Test {
    test::PayrollTask t;
    SilentProgress progress;
    QueryResult result;
    std::string path = t.home.path + "/工资查询.xlsx";

    void SetUp() override {
        t.item("F004", "津贴");
        t.item("F005", "备注", "文字", 0);
        t.s.taskConn.execute("Update " + t.table("Item") + " Set F_Print=0 Where F_Code='F004'");
        t.s.taskConn.execute("Update " + t.table("Item") + " Set F_Show=0 Where F_Code='F005'");
        t.employee("0001", "张三");
        t.s.taskConn.execute("Update " + t.table("Employee") +
                             " Set F_AccNo='6222021234567890123' Where F_EmpNo='0001'");
        t.value("0001", "F003", 3000.5);
        t.value("0001", "F004", 12.0);
        t.formula("F000", "F003+F004");
        ASSERT_TRUE(period::closeMonth(t.s, "2006", "3", progress).ok) << t.prompt.last();
        result = query("2", "3");
    }

    QueryResult query(const std::string& from, const std::string& to) {
        QueryConditions q;
        q.year = q.year1 = "2006";
        q.month = from;
        q.month1 = to;
        QueryRun run = runQuery(t.s, q, progress);
        EXPECT_TRUE(run.outcome.ok) << run.outcome.message;
        return run.result;
    }

    int printColumn(const print::PrintGrid& g, const std::string& caption) {
        for (int c = 0; c < g.cols(); ++c)
            if (g.cells[0][c] == caption)
                return c;
        return -1;
    }
};

} // namespace

TEST_F(QueryOutput, PrintJobLinesColumnsAndTheQueriedMonthsPageSetup) {
    print::clsGridPrint job = queryJob(t.s, result, true);
    EXPECT_EQ(job.formID(), kFormQuery);
    EXPECT_EQ(job.settingA(), 0);
    ASSERT_EQ(job.heads().size(), 2u);
    EXPECT_EQ(job.heads()[0].content, "工资查询");
    EXPECT_EQ(job.heads()[0].align, 0);
    EXPECT_EQ(job.heads()[0].font, print::kTextFont);
    EXPECT_EQ(job.heads()[1].content, print::kPageLine);
    EXPECT_EQ(job.heads()[1].align, 2);
    ASSERT_EQ(job.foots().size(), 2u);
    EXPECT_EQ(job.foots()[0].content, "日期:2006年02月--2006年03月");
    EXPECT_EQ(job.foots()[1].content, "制表:管理员");
    EXPECT_EQ(job.foots()[1].align, 2);
    EXPECT_EQ(job.tables().prj, "ID" + t.s.curTaskID + "_200603_PrnPrj");
    EXPECT_EQ(queryJob(t.s, result, false).settingA(), 3);
    EXPECT_EQ(t.s.curPeriod, "200603");

    const print::PrintGrid& g = job.grid();
    EXPECT_EQ(g.dataRows(), 3) << "two months and the total";
    EXPECT_EQ(g.cells.back()[0], kQueryTotal);
    EXPECT_EQ(g.colWidthMm[printColumn(g, "津贴")], 0.0) << "F_Print 0";
    EXPECT_EQ(g.colWidthMm[printColumn(g, "备注")], 0.0) << "F_Show 0";
    EXPECT_GT(g.colWidthMm[printColumn(g, "实发工资")], 0.0);
    EXPECT_TRUE(g.isText(printColumn(g, "银行账号")));
    EXPECT_FALSE(g.isText(printColumn(g, "实发工资")));
    // The figures reach the pages whole.
    const print::PageModel pages = job.paginate();
    ASSERT_GE(pages.pageCount(), 1);
    EXPECT_TRUE(pages.pages[0].hasText("6222021234567890123"));
    EXPECT_TRUE(pages.pages[0].hasText("6025.00"));

    EXPECT_EQ(queryJob(t.s, query("3", "3"), true).foots()[0].content, "日期:2006年03月");
}

TEST_F(QueryOutput, EmptyResultGivesTheNoDataMessages) {
    QueryConditions q;
    q.year = q.year1 = "2006";
    q.month = q.month1 = "2";
    q.name = "无此人";
    const QueryResult none = runQuery(t.s, q, progress).result;
    EXPECT_TRUE(none.rows.empty());
    EXPECT_EQ(print::noDataMessage(queryJob(t.s, none, true).grid(), true)->message, "没有数据可供预览！");
    EXPECT_EQ(print::noDataMessage(queryJob(t.s, none, false).grid(), false)->message, "没有数据可供打印！");
}

TEST_F(QueryOutput, WorkbookKeepsTheNineteenDigitAccountAndTheTotal) {
    ASSERT_TRUE(exportQueryXlsx(t.s, t.prompt, path, result));
    EXPECT_EQ(t.prompt.last(), "Excel表格已经成功导出。存放在" + path);
    const std::string dump = test::dumpWorkbook(path);
    EXPECT_NE(dump.find("1,1:str:所属部门"), std::string::npos) << dump;
    EXPECT_NE(dump.find("2,2:str:6222021234567890123"), std::string::npos) << dump;
    EXPECT_NE(dump.find("2,4:str:0001"), std::string::npos) << "codes keep their zeros\n" << dump;
    EXPECT_NE(dump.find(":float:3012.5"), std::string::npos) << dump;
    EXPECT_NE(dump.find("4,1:str:合   计"), std::string::npos) << dump;
    EXPECT_NE(dump.find("4,6:int:6025"), std::string::npos) << dump;
    EXPECT_EQ(dump.find("备注"), std::string::npos) << "a hidden column stays out\n" << dump;
    // Nothing but the workbook is left in the folder.
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(t.home.path))
        files += e.is_regular_file();
    EXPECT_EQ(files, 1);
}

TEST_F(QueryOutput, AnExistingFileIsReplacedOnlyAfterYes) {
    { std::ofstream(path) << "old"; }
    t.prompt.answers = {false};
    EXPECT_FALSE(exportQueryXlsx(t.s, t.prompt, path, result));
    EXPECT_EQ(t.prompt.last(), path + "磁盘中已有Excel文件,是否要覆盖");
    EXPECT_EQ(std::filesystem::file_size(path), 3u);
    t.prompt.answers = {true};
    EXPECT_TRUE(exportQueryXlsx(t.s, t.prompt, path, result));
    EXPECT_GT(std::filesystem::file_size(path), 3u);
    EXPECT_FALSE(exportQueryXlsx(t.s, t.prompt, t.home.path + "/无此目录/查询.xlsx", result));
    EXPECT_EQ(t.prompt.messages.back().icon, Icon::Critical);
}

TEST_F(QueryOutput, DelimitedFileHoldsTheEmployeeRowsOfTheQueriedMonthWithoutTheTotal) {
    std::string written;
    const QueryResult february = query("2", "2");
    const Outcome o = exportQueryDelimited(t.s, t.prompt, progress, february, t.home.path, "CX.TXT", "|",
                                           "20060315", &written);
    ASSERT_TRUE(o.ok) << o.message;
    EXPECT_EQ(written, t.home.path + "/CX200602.TXT") << "the queried month, not the current one";
    std::ifstream in(written, std::ios::binary);
    const std::string text = fromGbk(std::string(std::istreambuf_iterator<char>(in), {}));
    EXPECT_NE(text.find("工资期数 200602\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("|张三        |0001        |"), std::string::npos) << text;
    EXPECT_NE(text.find("|3012.50     |"), std::string::npos) << text;
    EXPECT_EQ(text.find("合   计"), std::string::npos) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 6 + 2 + 1) << text;
}
