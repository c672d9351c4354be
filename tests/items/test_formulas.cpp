// Formula lines: the check of a text, adding, replacing, removing and moving
// lines, and the item's _Data column that goes with its first line and comes
// back with its last.
#include "items/formulas.h"
#include "tests/items/items_fixture.h"

using namespace gzgl;
using namespace gzgl::items;

namespace {
struct Formulas : test::ItemsTest {
    std::string base, tax, note, date;
    void SetUp() override {
        test::ItemsTest::SetUp();
        base = add("基本工资"); // F004
        tax = add("所得税");    // F005
        note = add("备注", kText);
        date = add("发放日期", kDate);
    }
    std::string check(const std::string& text) { return checkFormula(s, cleanFormula(text)).message; }
    FormulaResult put(const std::string& code, const std::string& text, std::optional<int> selected = std::nullopt) {
        return putFormula(s, p, {code, text, selected});
    }
    std::vector<std::string> lines() {
        std::vector<std::string> out;
        for (const FormulaLine& l : loadFormulaLines(s))
            out.push_back(std::to_string(l.id) + " " + l.code + " " + l.formula);
        return out;
    }
};
} // namespace

TEST_F(Formulas, CheckAcceptsArithmeticAndConditionsOnNumberItems) {
    for (const char* ok : {"F003*0.1", "F004+F005-FFFF", "{F003>800,(F003-800)*0.05,0}",
                           "{[F003-800>500]&[F003-800<=2000],(F003-800)*0.10-25}", "{F003<>0,,1}", "F003 * 0.1\r\n"})
        EXPECT_EQ(check(ok), "") << ok;
    EXPECT_EQ(cleanFormula(" F003 *\t0.1\r\n"), "F003*0.1");
}

TEST_F(Formulas, CheckRefusalsInTheirOrder) {
    EXPECT_EQ(check("F005=F003*0.1"), "请将公式中\"=\"及\"=\"左边的内容删去！");
    EXPECT_EQ(check("F002*2"), "公式有错误，请进行维护！");        // text item
    EXPECT_EQ(check("F006+1"), "公式有错误，请进行维护！");        // text item
    EXPECT_EQ(check("F007+1"), "公式有错误，请进行维护！");        // date item
    EXPECT_EQ(check("F999+1"), "公式有错误，请进行维护！");        // no such item
    EXPECT_EQ(check("F00"), "公式有错误，请进行维护！");           // cut short
    EXPECT_EQ(check("F0031"), "公式有错误，请进行维护！！");       // code followed by a digit
    EXPECT_EQ(check("F003F004"), "公式有错误，请进行维护！！");
    EXPECT_EQ(check("{F003>800,((F003-800)*0.05}"), "公式有错误，请进行维护！");
    EXPECT_EQ(check("[F003>800"), "公式有错误，请进行维护！");
    EXPECT_EQ(check("{F003>800,1,2,3}"), "公式有错误，请进行维护！");
    EXPECT_EQ(check("F003*0.1元"), "含有非法字符！");
    EXPECT_EQ(check("f003*2"), "含有非法字符！");
    EXPECT_EQ(check("F003'"), "含有非法字符！");
    // The character check comes first, the code check before the "=" check.
    EXPECT_EQ(check("F999=元"), "含有非法字符！");
    EXPECT_EQ(check("F999=1"), "公式有错误，请进行维护！");
    const Outcome o = checkFormula(s, "F0031");
    EXPECT_EQ(o.title, "提示窗");
    EXPECT_EQ(o.icon, Icon::Exclamation);
}

TEST_F(Formulas, WaitingListHoldsNumberItemsWithoutTheCarryItems) {
    std::vector<std::string> codes;
    for (const ItemChoice& c : waitingItems(s))
        codes.push_back(c.code);
    EXPECT_EQ(codes, (std::vector<std::string>{"F000", "F003", "F004", "F005"}));
}

TEST_F(Formulas, FirstLineDropsAnEmptyColumnWithoutAsking) {
    setAll(tax, 0);
    const FormulaResult r = put(tax, "F004 * 0.1");
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    EXPECT_TRUE(r.changed);
    EXPECT_EQ(r.id, 1);
    EXPECT_TRUE(p.messages.empty());
    EXPECT_FALSE(hasColumn(tax));
    EXPECT_EQ(lines(), (std::vector<std::string>{"1 F005 F004*0.1"}));
    // A second line of the same item asks nothing either.
    ASSERT_TRUE(put(tax, "{F004>5000,F004*0.2}").outcome.ok);
    EXPECT_EQ(lines().size(), 2u);
}

TEST_F(Formulas, ItemWithDataAsksBeforeItsFirstLine) {
    s.taskConn.execute("update " + dataTable(s) + " set " + tax + "=120 where F_EmpNo='0002'");
    FormulaResult r = put(tax, "F004*0.1");
    EXPECT_FALSE(r.outcome.ok);
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.last(), "此项目已有数据存在，是否全部清除?");
    EXPECT_TRUE(p.messages[0].question);
    EXPECT_TRUE(lines().empty());
    EXPECT_DOUBLE_EQ(column(tax)[1].toDouble(), 120);

    p.answers = {true};
    r = put(tax, "F004*0.1");
    ASSERT_TRUE(r.outcome.ok);
    EXPECT_FALSE(hasColumn(tax));
    EXPECT_EQ(lines().size(), 1u);
}

TEST_F(Formulas, NoValueMarkerIsNoData) {
    setAll(tax, -9999);
    ASSERT_TRUE(put(tax, "F004*0.1").outcome.ok);
    EXPECT_TRUE(p.messages.empty());
}

TEST_F(Formulas, RefusedTextAfterYesKeepsTheData) {
    setAll(tax, 7);
    p.answers = {true};
    const FormulaResult r = put(tax, "F005=F004*0.1");
    EXPECT_EQ(r.outcome.message, "请将公式中\"=\"及\"=\"左边的内容删去！");
    EXPECT_TRUE(hasColumn(tax));
    EXPECT_DOUBLE_EQ(column(tax)[0].toDouble(), 7);
    EXPECT_TRUE(lines().empty());
}

TEST_F(Formulas, GrossAndNetPayNeverAsk) {
    setAll("F003", 3000);
    ASSERT_TRUE(put("F003", "F004").outcome.ok);
    EXPECT_TRUE(p.messages.empty());
    EXPECT_FALSE(hasColumn("F003"));
    ASSERT_TRUE(put("F000", "F003-F005").outcome.ok);
    EXPECT_TRUE(p.messages.empty());
}

TEST_F(Formulas, PutRefusals) {
    EXPECT_EQ(put("", "F003").outcome.message, "请选择需要添加的项目！");
    EXPECT_EQ(put("FFFF", "F003").outcome.message, "请选择需要添加的项目！");
    EXPECT_EQ(put("F002", "F003").outcome.message, "请选择需要添加的项目！");
    EXPECT_EQ(put(note, "F003").outcome.message, "请选择需要添加的项目！");
    EXPECT_EQ(put(tax, "  \r\n").outcome.message, "公式为空，添加公式前请进行公式维护！");
    EXPECT_TRUE(lines().empty());
    EXPECT_TRUE(hasColumn(tax));
}

TEST_F(Formulas, SelectedLineOfTheItemIsReplaced) {
    ASSERT_TRUE(put(tax, "F004*0.1").outcome.ok);
    p.answers = {true}; // the tax line then reads the base pay too early
    ASSERT_TRUE(put(base, "F003*0.5").outcome.ok);
    FormulaResult r = put(tax, "F004*0.2", 1);
    ASSERT_TRUE(r.outcome.ok);
    EXPECT_EQ(r.id, 1);
    EXPECT_EQ(lines(), (std::vector<std::string>{"1 F005 F004*0.2", "2 F004 F003*0.5"}));
    // The same text again writes nothing.
    r = put(tax, "F004 * 0.2", 1);
    EXPECT_TRUE(r.outcome.ok);
    EXPECT_FALSE(r.changed);
    // A selected line of another item is not this item's: a new line.
    r = put(tax, "F004*0.3", 2);
    ASSERT_TRUE(r.outcome.ok);
    EXPECT_EQ(r.id, 3);
    EXPECT_EQ(lines().back(), "3 F005 F004*0.3");
}

TEST_F(Formulas, RemovingTheOnlyLineMakesTheItemAnInputItemAgain) {
    ASSERT_TRUE(put(tax, "F004*0.1").outcome.ok);
    ASSERT_FALSE(hasColumn(tax));
    EXPECT_EQ(removeFormula(s, tax, std::nullopt).message, "请选择需要删除的项目！");
    EXPECT_EQ(removeFormula(s, base, 1).message, "请选择需要删除的项目！"); // not that item's line
    ASSERT_TRUE(removeFormula(s, tax, 1).ok);
    EXPECT_TRUE(lines().empty());
    EXPECT_TRUE(hasColumn(tax));
    for (const Value& v : column(tax))
        EXPECT_TRUE(v.isNull());
}

TEST_F(Formulas, ColumnComesBackOnlyWithTheLastLine) {
    ASSERT_TRUE(put(tax, "F004*0.1").outcome.ok);
    ASSERT_TRUE(put(tax, "F004*0.2").outcome.ok);
    ASSERT_TRUE(removeFormula(s, tax, 1).ok);
    EXPECT_FALSE(hasColumn(tax));
    ASSERT_TRUE(removeFormula(s, tax, 2).ok);
    EXPECT_TRUE(hasColumn(tax));
}

TEST_F(Formulas, NetPayGetsNoColumnBack) {
    ASSERT_TRUE(put("F000", "F003-F005").outcome.ok);
    ASSERT_TRUE(removeFormula(s, "F000", 1).ok);
    EXPECT_FALSE(hasColumn("F000"));
}

TEST_F(Formulas, MoveRewritesTheOrder) {
    ASSERT_TRUE(put("F003", "F004").outcome.ok);
    ASSERT_TRUE(put(tax, "F003*0.1").outcome.ok);
    ASSERT_TRUE(put("F000", "F003-F005").outcome.ok);
    removeFormula(s, "F003", 1); // ids now 2, 3
    EXPECT_EQ(moveFormula(s, p, 2, true).outcome.message, "不能再向上移动了！");
    EXPECT_EQ(moveFormula(s, p, 3, false).outcome.message, "不能再向下移动了！");
    // Net pay above the tax it subtracts: asked, and No keeps the order.
    const FormulaResult declined = moveFormula(s, p, 3, true);
    EXPECT_FALSE(declined.changed);
    EXPECT_EQ(p.last(), "第1行（实发工资 F000）中的“所得税”(F005)由后面的第2行计算，本行将使用其计算前的值。\n"
                        "仍按此顺序保存公式吗？");
    EXPECT_EQ(lines(), (std::vector<std::string>{"2 F005 F003*0.1", "3 F000 F003-F005"}));
    p.answers = {true};
    const FormulaResult r = moveFormula(s, p, 3, true);
    ASSERT_TRUE(r.outcome.ok);
    EXPECT_EQ(r.id, 1);
    EXPECT_EQ(lines(), (std::vector<std::string>{"1 F000 F003-F005", "2 F005 F003*0.1"}));
    // Putting it right asks nothing.
    p.clear();
    EXPECT_EQ(moveFormula(s, p, 1, false).id, 2);
    EXPECT_TRUE(p.messages.empty());
    EXPECT_EQ(lines(), (std::vector<std::string>{"1 F005 F003*0.1", "2 F000 F003-F005"}));
}

TEST_F(Formulas, MoveOfAnUnknownLineIsRefusedAloud) {
    ASSERT_TRUE(put("F003", "F004").outcome.ok);
    const FormulaResult r = moveFormula(s, p, 7, true);
    EXPECT_FALSE(r.outcome.ok);
    EXPECT_FALSE(r.changed);
    EXPECT_EQ(r.outcome.message, "不存在此公式！");
    EXPECT_EQ(lines(), (std::vector<std::string>{"1 F003 F004"}));
}

TEST_F(Formulas, AddingSeveralLinesChecksAllBeforeStoringAny) {
    const FormulaResult bad = addFormulaLines(s, p, tax, {"F004*0.1", "F0041"});
    EXPECT_EQ(bad.outcome.message, "公式有错误，请进行维护！！");
    EXPECT_TRUE(lines().empty());
    EXPECT_TRUE(hasColumn(tax));
    const FormulaResult good = addFormulaLines(s, p, tax, {"F004*0.1", "F004*0.2"});
    ASSERT_TRUE(good.outcome.ok);
    EXPECT_EQ(good.id, 2);
    EXPECT_EQ(lines().size(), 2u);
    EXPECT_FALSE(hasColumn(tax));
}
