// The entry grid's Excel export read back with openpyxl: the shown columns
// with their captions first, amounts as numbers, account numbers and codes
// as text with every digit, and the overwrite question.
#include "monthly/entry_export.h"
#include "support/payroll_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace gzgl;
using namespace gzgl::monthly;

namespace {

struct EntryExportTest : ::testing::Test {
    test::PayrollTask t;
    SilentProgress progress;
    SalaryEntry e{t.s};
    std::string path = t.home.path + "/工资录入.xlsx";

    void SetUp() override {
        t.item("FFFH", "银行账号", "文字", 0, false);
        t.item("F004", "津贴");
        t.employee("0001", "张三");
        t.s.taskConn.execute("Update " + t.table("Employee") + " Set F_AccNo='6222021234567890123' Where F_EmpNo='0001'");
        t.value("0001", "F003", 3000.5);
        t.value("0001", "F004", 12.0);
        t.formula("F000", "F003+F004");
        e.open(progress);
    }
};

TEST_F(EntryExportTest, CaptionsNumbersAndAccountNumbersAsText) {
    ASSERT_TRUE(exportSheet(t.prompt, t.s.productTitle, path, entrySheet(e)));
    EXPECT_EQ(t.prompt.last(), kExported);
    const std::string dump = test::dumpWorkbook(path);
    // Rounding-off columns are hidden in mode 0 and stay out of the sheet.
    EXPECT_NE(dump.find("1,1:str:工号"), std::string::npos) << dump;
    EXPECT_NE(dump.find("1,2:str:姓名"), std::string::npos) << dump;
    EXPECT_NE(dump.find("1,3:str:实发工资"), std::string::npos) << dump;
    EXPECT_NE(dump.find("1,5:str:银行账号"), std::string::npos) << dump;
    EXPECT_EQ(dump.find("上月扣零"), std::string::npos) << dump;
    EXPECT_NE(dump.find("2,1:str:0001"), std::string::npos) << dump;
    EXPECT_NE(dump.find("2,3:float:3012.5"), std::string::npos) << dump;
    EXPECT_NE(dump.find("2,4:float:3000.5"), std::string::npos) << dump;
    EXPECT_NE(dump.find("2,5:str:6222021234567890123"), std::string::npos) << dump;
    EXPECT_NE(dump.find("2,6:int:12"), std::string::npos) << dump;
}

TEST_F(EntryExportTest, WithAccountsAddsIdentityAndAccountNumbersAsTextAfterTheName) {
    // The bank account is already an item: it is not repeated. The identity
    // number comes from the employee record; empty fields stay out.
    t.employee("0002", "李四");
    t.s.taskConn.execute("Update " + t.table("Employee") +
                         " Set F_CID='11010519491231002X', F_OldNo='000123456789012' Where F_EmpNo='0001'");
    t.s.taskConn.execute("Update " + t.table("Employee") + " Set F_CID='110105194912310021' Where F_EmpNo='0002'");
    SalaryEntry again{t.s};
    again.open(progress);
    ASSERT_TRUE(exportSheet(t.prompt, t.s.productTitle, path, entrySheetWithAccounts(again)));
    const std::string dump = test::dumpWorkbook(path);
    EXPECT_NE(dump.find("1,3:str:身份证号"), std::string::npos) << dump;
    EXPECT_NE(dump.find("1,4:str:养老保险账号"), std::string::npos) << dump;
    EXPECT_NE(dump.find("1,5:str:实发工资"), std::string::npos) << dump;
    EXPECT_NE(dump.find("2,3:str:11010519491231002X"), std::string::npos) << dump;
    EXPECT_NE(dump.find("2,4:str:000123456789012"), std::string::npos) << dump;
    EXPECT_NE(dump.find("3,3:str:110105194912310021"), std::string::npos) << dump;
    EXPECT_NE(dump.find("2,7:str:6222021234567890123"), std::string::npos) << dump;
    for (const char* absent : {"住房公积金账号", "其他账号1", "其他账号2"})
        EXPECT_EQ(dump.find(absent), std::string::npos) << absent;
    EXPECT_EQ(dump.find(":str:银行账号", dump.find(":str:银行账号") + 1), std::string::npos) << "repeated";
    // Without the choice the sheet is as the grid shows it.
    ASSERT_TRUE(exportSheet(t.prompt, t.s.productTitle, path + "2.xlsx", entrySheet(again)));
    EXPECT_EQ(test::dumpWorkbook(path + "2.xlsx").find("身份证号"), std::string::npos);
}

TEST_F(EntryExportTest, ExistingFileOverwrittenOnlyAfterYes) {
    { std::ofstream(path) << "old"; }
    t.prompt.answers = {false};
    EXPECT_FALSE(exportSheet(t.prompt, t.s.productTitle, path, entrySheet(e)));
    ASSERT_EQ(t.prompt.messages.size(), 1u);
    EXPECT_EQ(t.prompt.messages[0].text, kOverwriteQuestion);
    EXPECT_EQ(std::filesystem::file_size(path), 3u);

    t.prompt.clear();
    t.prompt.answers = {true};
    EXPECT_TRUE(exportSheet(t.prompt, t.s.productTitle, path, entrySheet(e)));
    EXPECT_EQ(t.prompt.last(), kExported);
    EXPECT_NE(test::dumpWorkbook(path).find("1,1:str:工号"), std::string::npos);
}

TEST_F(EntryExportTest, UnwritableFileReportedNotSucceeded) {
    EXPECT_FALSE(exportSheet(t.prompt, t.s.productTitle, t.home.path + "/无此目录/表.xlsx", entrySheet(e)));
    ASSERT_FALSE(t.prompt.messages.empty());
    EXPECT_NE(t.prompt.last(), kExported);
    EXPECT_EQ(t.prompt.messages.back().icon, Icon::Critical);
}

} // namespace
