// The bank template: grid cycles, picker rows, the checks of 确　　定 and
// the template file written and read back, whole or damaged.
#include "exchange/bank.h"
#include "exchange/textfile.h"

#include "core/gbk.h"
#include "support/payroll_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace gzgl;
using namespace gzgl::exchange;

namespace {

BankField numberRow(const std::string& name, const std::string& code) {
    return {name, kTypeNumber, "12", kAlignRight, code, kPointShown, "7"};
}

BankField textRow(const std::string& name, const std::string& source) {
    return {name, kTypeText, "20", kAlignLeft, source, "", ""};
}

std::string slurp(const std::string& path) {
    return readWholeFile(path).value_or("<missing>");
}

} // namespace

TEST(BankTemplate, CycleCellTogglesTypeAlignmentAndPoint) {
    BankField f = textRow("账号", "银行账号");
    EXPECT_TRUE(cycleCell(f, 1));
    EXPECT_EQ(f.type, kTypeNumber);
    EXPECT_EQ(f.point, kPointShown);
    EXPECT_EQ(f.digits, "7");
    EXPECT_TRUE(cycleCell(f, 5));
    EXPECT_EQ(f.point, "");
    EXPECT_TRUE(cycleCell(f, 5));
    EXPECT_EQ(f.point, kPointShown);
    EXPECT_TRUE(cycleCell(f, 1));
    EXPECT_EQ(f.type, kTypeText);
    EXPECT_EQ(f.point, "");
    EXPECT_EQ(f.digits, "");
    EXPECT_FALSE(cycleCell(f, 5)); // text rows have no point
    EXPECT_TRUE(cycleCell(f, 3));
    EXPECT_EQ(f.align, kAlignCentre);
    EXPECT_TRUE(cycleCell(f, 3));
    EXPECT_EQ(f.align, kAlignRight);
    EXPECT_TRUE(cycleCell(f, 3));
    EXPECT_EQ(f.align, kAlignLeft);
    for (int c : {0, 2, 4, 6, 7})
        EXPECT_FALSE(cycleCell(f, c));
}

TEST(BankTemplate, PickerListsFixedFieldsThenItemsWithTheirDefaults) {
    test::PayrollTask t;
    t.item("F004", "备注", "文字", 0);
    const auto entries = bankPickerEntries(t.s);
    ASSERT_GE(entries.size(), 9u);
    EXPECT_EQ(entries[0].name, "企业代码");
    EXPECT_EQ(entries[6].name, "其他账号2");
    EXPECT_EQ(entries[7].code, "F001");
    EXPECT_EQ(entries.back().code, "F004");
    EXPECT_EQ(fieldForPick(entries[2]),
              (BankField{"银行账号", kTypeText, "15", kAlignLeft, "银行账号", "", ""}));
    EXPECT_EQ(fieldForPick(entries.back()), (BankField{"备注", kTypeText, "15", kAlignLeft, "F004", "", ""}));
    const PickerEntry gross{"应发工资", "F003", "数字"};
    EXPECT_EQ(fieldForPick(gross),
              (BankField{"应发工资", kTypeNumber, "15", kAlignRight, "F003", kPointShown, "7"}));
}

TEST(BankTemplate, ChecksInOrderAndClampsDigitsToTheWidth) {
    BankTemplate tpl;
    tpl.rows = {numberRow("a", "F003"), {"b", kTypeNumber, "1O", kAlignRight, "", "", "x"}};
    Outcome o = checkBankTemplate(tpl);
    EXPECT_EQ(o.message, "对应数据不能为空！");
    EXPECT_EQ(o.focus, "2,4");
    tpl.rows[1].source = "F003";
    o = checkBankTemplate(tpl);
    EXPECT_EQ(o.message, "含有非法字符！");
    EXPECT_EQ(o.focus, "2,2");
    tpl.rows[1].width = "10";
    EXPECT_EQ(checkBankTemplate(tpl).focus, "2,6");
    tpl.rows[1].digits = "12";
    EXPECT_TRUE(checkBankTemplate(tpl).ok);
    EXPECT_EQ(tpl.rows[1].digits, "10");
    tpl.rows[1].width = "100";
    o = checkBankTemplate(tpl);
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.message, "字符宽度不能大于99！");
    tpl.rows[1].width = "";
    EXPECT_TRUE(checkBankTemplate(tpl).ok);
    EXPECT_EQ(tpl.rows[1].digits, "");
}

TEST(BankTemplate, FileRoundTripRowByRowWithLongChineseNamesCut) {
    test::PayrollTask t;
    BankTemplate tpl;
    tpl.head = "首行 H1";
    tpl.tail = "尾行";
    tpl.rows = {textRow("银行账号", "银行账号"),
                numberRow("应发工资", "F003"),
                // 26 bytes: cut to 20, ten characters.
                {"一二三四五六七八九十甲乙丙", kTypeNumber, "9", kAlignCentre, "F003", "", "8"},
                // 25 bytes: "a" and nine characters fit in 19, then a blank.
                textRow("a一二三四五六七八九十甲乙", "F002")};
    tpl.departments = {"01 总部", "0201 销售部"};
    const Outcome o = saveBankTemplate(t.s, tpl);
    ASSERT_TRUE(o.ok) << o.message;
    EXPECT_EQ(o.message, "银行报盘文件格式存贮完毕！");
    const std::string path = t.home.path + "/BankForm" + t.s.curTaskID + ".frm";
    EXPECT_EQ(bankTemplatePath(t.s), path);

    const std::string bytes = slurp(path);
    const std::string row2 =
        toGbk("行02应发工资") + std::string(12, ' ') + "0122F003" + std::string(16, ' ') + "107";
    EXPECT_NE(bytes.find("\r\n" + row2 + "\r\n"), std::string::npos);
    EXPECT_EQ(bytes.substr(0, 12), toGbk("标1首行 H1") + "\r\n");
    EXPECT_EQ(bytes.substr(bytes.size() - 15), toGbk("部0201 销售部") + "\r\n");

    const TemplateLoad back = loadBankTemplate(path);
    EXPECT_TRUE(back.problems.empty());
    ASSERT_EQ(back.tpl.rows.size(), 4u);
    EXPECT_EQ(back.tpl.rows[0], tpl.rows[0]);
    EXPECT_EQ(back.tpl.rows[1], tpl.rows[1]);
    EXPECT_EQ(back.tpl.rows[2],
              (BankField{"一二三四五六七八九十", kTypeNumber, "9", kAlignCentre, "F003", "", "8"}));
    EXPECT_EQ(back.tpl.rows[3].name, "a一二三四五六七八九");
    EXPECT_EQ(back.tpl.head, tpl.head);
    EXPECT_EQ(back.tpl.tail, tpl.tail);
    EXPECT_EQ(back.tpl.departments, tpl.departments);
}

TEST(BankTemplate, MissingFileGivesAnEmptyTemplateWithoutProblems) {
    const TemplateLoad l = loadBankTemplate("/nonexistent/BankForm0001.frm");
    EXPECT_TRUE(l.tpl.rows.empty());
    EXPECT_TRUE(l.problems.empty());
}

TEST(BankTemplate, DamagedFileLoadsTheRowsItCanAndNamesTheLines) {
    BankTemplate tpl;
    tpl.rows = {numberRow("应发工资", "F003"), textRow("姓名", "F002"), textRow("账号", "银行账号")};
    tpl.departments = {"01 总部"};
    const std::string good = bankTemplateBytes(tpl, nullptr).value();
    // Line 3 (row 2) cut short, line 4 (row 3) with a broken pair, an unknown line.
    std::string bad = good;
    const std::size_t l3 = bad.find(toGbk("行02"));
    bad.erase(l3 + 30, 21);
    const std::size_t l4 = bad.find(toGbk("行03"));
    bad[l4 + 4] = '\xFF';
    bad += "garbage\r\n";
    const TemplateLoad l = parseBankTemplate(bad);
    ASSERT_EQ(l.tpl.rows.size(), 1u);
    EXPECT_EQ(l.tpl.rows[0], tpl.rows[0]);
    EXPECT_EQ(l.tpl.departments, tpl.departments);
    ASSERT_EQ(l.problems.size(), 3u);
    EXPECT_EQ(l.problems[0].rfind("第 3 行无法读取：格式行太短", 0), 0u) << l.problems[0];
    EXPECT_EQ(l.problems[1].rfind("第 4 行无法读取：", 0), 0u) << l.problems[1];
    EXPECT_EQ(l.problems[2].rfind("第 7 行无法读取：", 0), 0u) << l.problems[2];

    // Truncated in the middle of row 2: row 1 kept, the missing tail named.
    const TemplateLoad cut = parseBankTemplate(good.substr(0, good.find(toGbk("行02")) + 20));
    EXPECT_EQ(cut.tpl.rows.size(), 1u);
    EXPECT_EQ(cut.problems.size(), 2u);
    EXPECT_NE(cut.problems.back().find("尾1"), std::string::npos);

    // No "标1" line.
    const TemplateLoad noHead = parseBankTemplate(good.substr(good.find("\r\n") + 2));
    EXPECT_EQ(noHead.tpl.rows.size(), 3u);
    ASSERT_EQ(noHead.problems.size(), 1u);
    EXPECT_NE(noHead.problems[0].find("标1"), std::string::npos);

    // Every prefix of the file and a few flips read without crashing.
    for (std::size_t n = 0; n <= good.size(); ++n)
        (void)parseBankTemplate(good.substr(0, n));
    for (std::size_t i = 0; i < good.size(); ++i) {
        std::string flipped = good;
        flipped[i] = static_cast<char>(flipped[i] ^ 0x80);
        (void)parseBankTemplate(flipped);
    }
    EXPECT_FALSE(parseBankTemplate("").problems.empty());
}

TEST(BankTemplate, TextOutsideGbkIsRefusedByNameAndNothingWritten) {
    test::PayrollTask t;
    BankTemplate tpl;
    tpl.rows = {textRow("账号", "银行账号")};
    ASSERT_TRUE(saveBankTemplate(t.s, tpl).ok);
    const std::string path = bankTemplatePath(t.s);
    const std::string before = slurp(path);
    tpl.rows.push_back(textRow("名😀", "F002"));
    const Outcome o = saveBankTemplate(t.s, tpl);
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.message, "第2行的项目名称里有GBK字符集以外的字符“😀”，不能保存。");
    EXPECT_EQ(slurp(path), before);
    tpl.rows.pop_back();
    tpl.head = "𠀀";
    EXPECT_NE(saveBankTemplate(t.s, tpl).message.find("增加文件首行"), std::string::npos);
    EXPECT_EQ(slurp(path), before);
    // No temporary file left behind.
    for (const auto& e : std::filesystem::directory_iterator(t.home.path))
        EXPECT_NE(e.path().filename().string()[0], '.') << e.path();
}

TEST(BankTemplate, RefusedCheckWritesNothing) {
    test::PayrollTask t;
    BankTemplate tpl;
    tpl.rows = {{"x", kTypeText, "1O", kAlignLeft, "F002", "", ""}};
    EXPECT_EQ(saveBankTemplate(t.s, tpl).message, "含有非法字符！");
    EXPECT_FALSE(std::filesystem::exists(bankTemplatePath(t.s)));
}
