// The month's bank file: the data gathered, the file byte for byte in both
// modes, the refusals that write nothing, the control list and the copy.
#include "exchange/bank.h"
#include "exchange/textfile.h"

#include "core/gbk.h"
#include "support/payroll_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace gzgl;
using namespace gzgl::exchange;

namespace {

struct BankMonth {
    test::PayrollTask t{0, "2004", "5"};
    SilentProgress progress;
    BankTemplate tpl;
    BankOptions opt;

    BankMonth() {
        t.employee("0002", "李四", "02");
        t.employee("0001", "张三", "01");
        t.value("0001", "F003", 1234.567);
        t.value("0002", "F003", 0.0);
        account("0001", "6222000011112222333");
        account("0002", "62220000");
        tpl.rows = {{"银行账号", kTypeText, "20", kAlignLeft, "银行账号", "", ""},
                    {"姓名", kTypeText, "6", kAlignLeft, "F002", "", ""},
                    {"应发", kTypeNumber, "10", kAlignRight, "F003", kPointShown, ""},
                    {"应发分", kTypeNumber, "8", kAlignRight, "F003", "", "8"}};
    }
    void account(const std::string& empNo, const std::string& acc) {
        t.s.taskConn.execute("Update " + t.table("Employee") + " Set F_AccNo=? Where F_EmpNo=?",
                             {acc, empNo});
    }
    std::string path() const { return t.home.path + "/NJGZ200405.TXT"; }
    Outcome write() {
        std::string written;
        const Outcome o = writeBankFile(t.s, tpl, opt, t.prompt, progress, &written);
        if (o.ok) {
            EXPECT_EQ(written, path());
        }
        return o;
    }
    std::string file() const { return readWholeFile(path()).value_or("<missing>"); }
};

} // namespace

TEST(BankFile, FixedWidthFileByteForByte) {
    BankMonth m;
    m.tpl.head = "HEAD";
    m.tpl.tail = "TAIL";
    m.opt.sequence = true;
    m.opt.total = true;
    const Outcome o = m.write();
    ASSERT_TRUE(o.ok) << o.message;
    EXPECT_EQ(o.message, "文件生成完毕！");
    EXPECT_EQ(o.title, "提示");
    const std::string expected = std::string("HEAD\r\n") + "1\t6222000011112222333 \xD5\xC5\xC8\xFD  " +
                                 "   1234.57" + "00123457\r\n" + "2\t62220000            \xC0\xEE\xCB\xC4  " +
                                 "      0.00" + "00000000\r\n" +
                                 "\xD7\xDC\xBC\xC6\t \t \t1234.57\t1234.57\r\n" + "TAIL\r\n";
    EXPECT_EQ(m.file(), expected);
}

TEST(BankFile, SeparatorModeByteForByte) {
    BankMonth m;
    m.opt.separator = ",";
    m.opt.total = true;
    ASSERT_TRUE(m.write().ok);
    EXPECT_EQ(m.file(), std::string("6222000011112222333,\xD5\xC5\xC8\xFD,1234.57,00123457\r\n") +
                            "62220000,\xC0\xEE\xCB\xC4,0.00,00000000\r\n" +
                            "\xD7\xDC\xBC\xC6, , ,1234.57,1234.57\r\n");
    m.opt.sequence = true;
    m.opt.total = false;
    m.opt.byAccount = true;
    m.t.prompt.answers = {true};
    ASSERT_TRUE(m.write().ok);
    // By account: 62220000 sorts before 6222000011112222333.
    EXPECT_EQ(m.file(), std::string("1,62220000,\xC0\xEE\xCB\xC4,0.00,00000000\r\n") +
                            "2,6222000011112222333,\xD5\xC5\xC8\xFD,1234.57,00123457\r\n");
}

TEST(BankFile, TotalLineSumsYuanWhileFieldsAreInFen) {
    BankMonth m;
    m.t.value("0002", "F003", 11111.03);
    m.tpl.rows = {{"分", kTypeNumber, "9", kAlignRight, "F003", "", "9"}};
    m.opt.total = true;
    ASSERT_TRUE(m.write().ok);
    EXPECT_EQ(m.file(), std::string("000123457\r\n001111103\r\n") + "\xD7\xDC\xBC\xC6\t12345.6\r\n");
}

TEST(BankFile, ZeroAmountInFenWithoutDigitsIsBlank) {
    BankMonth m;
    m.tpl.rows = {{"分", kTypeNumber, "5", kAlignRight, "F003", "", ""}};
    ASSERT_TRUE(m.write().ok);
    EXPECT_EQ(m.file(), "12345\r\n     \r\n"); // 6 digits in 5 bytes: cut to "12345"
}

TEST(BankFile, IncludeModeWithAnEmptyListIsRefusedAndNothingWritten) {
    BankMonth m;
    m.opt.include = true;
    const Outcome o = m.write();
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.message, "请选择需报送银行的部门！");
    EXPECT_FALSE(std::filesystem::exists(m.path()));
}

TEST(BankFile, UncheckedTemplateIsRefusedBeforeAnythingIsWritten) {
    BankMonth m;
    m.tpl.rows[0].width = "1O";
    EXPECT_EQ(m.write().message, "含有非法字符！");
    m.tpl.rows[0].width = "100000";
    EXPECT_EQ(m.write().message, "字符宽度不能大于99！");
    EXPECT_FALSE(std::filesystem::exists(m.path()));
    // Digits above the width are clamped as saving would clamp them.
    m.tpl.rows = {{"分", kTypeNumber, "4", kAlignRight, "F003", "", "9"}};
    ASSERT_TRUE(m.write().ok);
    EXPECT_EQ(m.file(), "1234\r\n0000\r\n");
}

TEST(BankFile, ExcludeModeWithAnEmptyListWritesEveryone) {
    BankMonth m;
    m.tpl.rows = {{"号", kTypeText, "4", kAlignLeft, "F001", "", ""}};
    ASSERT_TRUE(m.write().ok);
    EXPECT_EQ(m.file(), "0001\r\n0002\r\n");
}

TEST(BankFile, DepartmentListIncludesOrExcludesSubDepartments) {
    BankMonth m;
    m.t.employee("0003", "王五", "0201");
    m.tpl.rows = {{"号", kTypeText, "4", kAlignLeft, "F001", "", ""}};
    m.tpl.departments = {"02 销售部"};
    ASSERT_TRUE(m.write().ok);
    EXPECT_EQ(m.file(), "0001\r\n");
    m.opt.include = true;
    m.t.prompt.answers = {true};
    ASSERT_TRUE(m.write().ok);
    EXPECT_EQ(m.file(), "0002\r\n0003\r\n");
}

TEST(BankFile, QuoteOrPercentInADepartmentEntryNeitherBreaksNorWidens) {
    BankMonth m;
    m.tpl.rows = {{"号", kTypeText, "4", kAlignLeft, "F001", "", ""}};
    m.opt.include = true;
    for (const std::string entry : {"0' or '1'='1 x", "% 全部", "_1 x", "0%"}) {
        m.tpl.departments = {entry};
        m.t.prompt.answers = {true};
        const Outcome o = m.write();
        ASSERT_TRUE(o.ok) << entry << ": " << o.message;
        EXPECT_EQ(m.file(), "") << entry;
    }
    m.opt.include = false;
    m.tpl.departments = {"% 全部"};
    m.t.prompt.answers = {true};
    ASSERT_TRUE(m.write().ok);
    EXPECT_EQ(m.file(), "0001\r\n0002\r\n");
}

TEST(BankFile, NameOutsideGbkRefusesTheWholeFileAndKeepsThePreviousOne) {
    BankMonth m;
    ASSERT_TRUE(m.write().ok);
    const std::string before = m.file();
    m.t.s.taskConn.execute("Update " + m.t.table("Employee") + " Set F_EmpName=? Where F_EmpNo='0002'",
                           {"李😀"});
    m.t.prompt.answers = {true};
    const Outcome o = m.write();
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.message, "职工 0002 李😀 的“姓名”里有GBK字符集以外的字符“😀”，银行报盘文件没有生成。");
    EXPECT_EQ(m.file(), before);
    for (const auto& e : std::filesystem::directory_iterator(m.t.home.path))
        EXPECT_NE(e.path().filename().string()[0], '.') << e.path();
}

TEST(BankFile, OverwriteAnsweredNoLeavesTheOldFile) {
    BankMonth m;
    ASSERT_TRUE(m.write().ok);
    const std::string before = m.file();
    m.tpl.rows.pop_back();
    m.t.prompt.clear();
    const Outcome o = m.write();
    EXPECT_FALSE(o.ok);
    EXPECT_TRUE(o.message.empty());
    ASSERT_EQ(m.t.prompt.messages.size(), 1u);
    EXPECT_EQ(m.t.prompt.messages[0].text, "本月银行报盘文件已经存在，是否覆盖？");
    EXPECT_TRUE(m.t.prompt.messages[0].question);
    EXPECT_EQ(m.file(), before);
}

TEST(BankFile, FixedFieldsComeFromTheEmployeeAndTheTask) {
    BankMonth m;
    m.t.s.sysConn.execute("Update GZSysInfo Set F_QYDM=? Where F_ID=?", {"C01", m.t.s.curTaskID});
    m.t.s.taskConn.execute("Update " + m.t.table("Employee") +
                           " Set F_CID='C1',F_HouseNo='H1',F_OldNo='O1',F_OtherNo1='X1',F_OtherNo2='Y1' "
                           "Where F_EmpNo='0001'");
    m.tpl.rows.clear();
    for (const char* f : kFixedFields)
        m.tpl.rows.push_back({f, kTypeText, "3", kAlignLeft, f, "", ""});
    const BankData d = collectBankData(m.t.s, m.tpl, m.opt, m.progress);
    ASSERT_EQ(d.rows.size(), 2u);
    EXPECT_EQ(d.rows[0],
              (std::vector<std::string>{"C01", "C1", "6222000011112222333", "H1", "O1", "X1", "Y1"}));
    EXPECT_EQ(d.empNos, (std::vector<std::string>{"0001", "0002"}));
    EXPECT_EQ(d.empNames[0], "张三");
}

TEST(BankFile, ValuesAreRecalculated) {
    BankMonth m;
    m.t.item("F004", "奖金");
    m.t.value("0001", "F004", 100.0);
    m.t.formula("F003", "F004*2");
    m.tpl.rows = {{"应发", kTypeNumber, "8", kAlignRight, "F003", kPointShown, ""}};
    ASSERT_TRUE(m.write().ok);
    EXPECT_EQ(m.file(), "  200.00\r\n    0.00\r\n");
}

TEST(BankFile, ControlListRefusalsAndJob) {
    BankMonth m;
    BankTemplate empty;
    EXPECT_EQ(bankControlList(m.t.s, empty, {}).refusal.message, "请选择预览项目！");
    EXPECT_EQ(bankControlList(m.t.s, m.tpl, {}).refusal.message, "没有数据可供预览！");
    const BankData d = collectBankData(m.t.s, m.tpl, m.opt, m.progress);
    ControlList l = bankControlList(m.t.s, m.tpl, d);
    ASSERT_TRUE(l.refusal.ok);
    ASSERT_TRUE(l.job.has_value());
    EXPECT_EQ(l.job->formID(), 1119);
    const print::PrintGrid& g = l.job->grid();
    EXPECT_EQ(g.cells[0], (std::vector<std::string>{"银行账号", "姓名", "应发", "应发分"}));
    EXPECT_EQ(g.cells[1][0], "6222000011112222333");
    EXPECT_TRUE(g.isText(0));
    EXPECT_FALSE(g.isText(2));
    EXPECT_EQ(l.job->heads()[0].content, "报送银行账目表");
    const print::PageModel pages = l.job->paginate();
    ASSERT_GE(pages.pageCount(), 1);
    EXPECT_TRUE(pages.pages[0].hasText("6222000011112222333"));
    EXPECT_TRUE(pages.pages[0].hasText("部门："));
    m.tpl.head = "工资转账";
    EXPECT_EQ(bankControlList(m.t.s, m.tpl, d).job->heads()[0].content, "工资转账");
}

TEST(BankFile, CopyToTheDiskFolder) {
    BankMonth m;
    const std::string disk = m.t.home.path + "/disk";
    EXPECT_NE(copyBankFile(m.t.s, "NJGZ.TXT", disk, m.t.prompt).message.find("不存在"), std::string::npos);
    std::filesystem::create_directory(disk);
    EXPECT_NE(copyBankFile(m.t.s, "NJGZ.TXT", disk, m.t.prompt).message.find("还没有生成"),
              std::string::npos);
    ASSERT_TRUE(m.write().ok);
    Outcome o = copyBankFile(m.t.s, "NJGZ.TXT", disk, m.t.prompt);
    ASSERT_TRUE(o.ok) << o.message;
    EXPECT_EQ(o.message, "文件复制完毕！");
    EXPECT_EQ(readWholeFile(disk + "/NJGZ.TXT").value_or(""), m.file());
    // An existing copy: No keeps it, Yes replaces it.
    writeFileReplacing(disk + "/NJGZ.TXT", "old");
    m.t.prompt.clear();
    o = copyBankFile(m.t.s, "NJGZ.TXT", disk, m.t.prompt);
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(m.t.prompt.messages.at(0).text, "磁盘中已有报盘文件，是否覆盖？");
    EXPECT_EQ(readWholeFile(disk + "/NJGZ.TXT").value_or(""), "old");
    m.t.prompt.answers = {true};
    EXPECT_TRUE(copyBankFile(m.t.s, "NJGZ.TXT", disk, m.t.prompt).ok);
    EXPECT_EQ(readWholeFile(disk + "/NJGZ.TXT").value_or(""), m.file());
}
