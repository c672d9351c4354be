// The delimited salary export of frmSave: header block and rows byte for
// byte, and its refusals.
#include "exchange/delimited.h"
#include "exchange/textfile.h"

#include "core/gbk.h"
#include "support/payroll_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace gzgl;
using namespace gzgl::exchange;

namespace {

struct Export {
    test::PayrollTask t{0, "2004", "5"};
    SilentProgress progress;
    DelimitedExport e;
    Export() {
        e.titles = {"工号", " 姓名 ", "应发工资", "序号"};
        e.rows = {{"0001", "张三", "1234.57", "1"}, {"0002", " 李四 ", "0.00", "123456789012345"}};
        e.folder = t.home.path;
        e.name = "GZ.TXT";
        e.separator = "|";
        e.today = "20040531";
    }
};

} // namespace

TEST(DelimitedExport, HeaderBlockAndRowsByteForByteWithLongCellsKeptWhole) {
    Export x;
    std::string written;
    const Outcome o = writeDelimited(x.t.s, x.e, x.t.prompt, x.progress, &written);
    ASSERT_TRUE(o.ok) << o.message;
    EXPECT_EQ(o.message, "文件生成完毕！");
    EXPECT_EQ(o.title, "提示");
    EXPECT_EQ(written, x.t.home.path + "/GZ200405.TXT");
    const std::string pad12 = "            ";
    auto cell = [](const std::string& gbk) { return gbk + std::string(12 - gbk.size(), ' '); };
    const std::string expected =
        "****\r\n" + toGbk("任务名称 ") + x.t.s.curTaskID + " " + toGbk("工资") + "\r\n" +
        toGbk("工资期数 ") + "200405\r\n" + toGbk("分隔符号 ") + "|\r\n" + toGbk("导出日期 ") +
        "20040531\r\n****\r\n" + cell("F001") + "|" + cell("F002") + "|" + cell("F003") + "|" + pad12 +
        "\r\n" + cell(toGbk("工号")) + "|" + cell("\xD0\xD5\xC3\xFB") + "|" +
        cell("\xD3\xA6\xB7\xA2\xB9\xA4\xD7\xCA") + "|" + cell("\xD0\xF2\xBA\xC5") + "\r\n" + cell("0001") +
        "|" + cell("\xD5\xC5\xC8\xFD") + "|" + cell("1234.57") + "|" + cell("1") + "\r\n" + cell("0002") +
        "|" + cell("\xC0\xEE\xCB\xC4") + "|" + cell("0.00") + "|" + "123456789012345" + "\r\n";
    EXPECT_EQ(readWholeFile(written).value_or(""), expected);
}

TEST(DelimitedExport, RefusalsWriteNothing) {
    Export x;
    x.e.name = "  ";
    EXPECT_EQ(writeDelimited(x.t.s, x.e, x.t.prompt, x.progress).message, "文件名不能为空！");
    x.e.name = "GZ";
    x.e.rows[1][1] = "李😀";
    const Outcome o = writeDelimited(x.t.s, x.e, x.t.prompt, x.progress);
    EXPECT_FALSE(o.ok);
    EXPECT_NE(o.message.find("😀"), std::string::npos);
    EXPECT_NE(o.message.find("0002"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(x.t.home.path + "/GZ200405.TXT"));
    x.e.rows[1][1] = "李四";
    ASSERT_TRUE(writeDelimited(x.t.s, x.e, x.t.prompt, x.progress).ok);
    const std::string before = readWholeFile(x.t.home.path + "/GZ200405.TXT").value();
    x.e.rows.pop_back();
    x.t.prompt.clear();
    EXPECT_FALSE(writeDelimited(x.t.s, x.e, x.t.prompt, x.progress).ok);
    EXPECT_EQ(x.t.prompt.messages.at(0).text, x.t.home.path + "/GZ200405.TXT文件已存在，是否覆盖？");
    EXPECT_EQ(readWholeFile(x.t.home.path + "/GZ200405.TXT").value(), before);
}
