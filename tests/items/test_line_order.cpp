// The order check of formula lines: which lines read an item too early,
// what the clerk is told, and that only a change bringing a new case asks.
#include "items/line_order.h"
#include "tests/items/items_fixture.h"

using namespace gzgl;
using namespace gzgl::items;

namespace {

const std::map<std::string, std::string> kNames = {
    {"F000", "实发工资"}, {"F003", "应发工资"}, {"F004", "基本工资"}, {"F005", "所得税"}};

std::vector<FormulaLine> lines(std::initializer_list<std::pair<const char*, const char*>> l) {
    std::vector<FormulaLine> out;
    int id = 0;
    for (const auto& [code, formula] : l)
        out.push_back({++id, code, formula});
    return out;
}

std::vector<std::string> texts(const std::vector<OrderWarning>& w) {
    std::vector<std::string> out;
    for (const OrderWarning& x : w)
        out.push_back(x.text);
    return out;
}

} // namespace

TEST(LineOrder, ASwappedPairIsNamedAndThePutRightOrderIsNot) {
    const auto swapped = lines({{"F000", "F003-F005"}, {"F005", "F003*0.1"}, {"F003", "F004"}});
    EXPECT_EQ(texts(checkLineOrder(swapped, kNames)),
              (std::vector<std::string>{
                  "第1行（实发工资 F000）中的“应发工资”(F003)由后面的第3行计算，本行将使用其计算前的值",
                  "第1行（实发工资 F000）中的“所得税”(F005)由后面的第2行计算，本行将使用其计算前的值",
                  "第2行（所得税 F005）中的“应发工资”(F003)由后面的第3行计算，本行将使用其计算前的值"}));
    const auto right = lines({{"F003", "F004"}, {"F005", "F003*0.1"}, {"F000", "F003-F005"}});
    EXPECT_TRUE(checkLineOrder(right, kNames).empty());
}

TEST(LineOrder, AnItemsOwnLinesAndInputItemsAreNoCase) {
    // Several lines of one item reading it (a running total), an item read
    // that no line computes, and a code without a name.
    const auto ok = lines({{"F005", "0"}, {"F005", "{F003>800,F005+(F003-800)*0.1}"}, {"F000", "F003-F005-FFFF"}});
    EXPECT_TRUE(checkLineOrder(ok, kNames).empty());
    const auto unnamed = lines({{"F000", "F009"}, {"F009", "1"}});
    const std::vector<OrderWarning> w = checkLineOrder(unnamed, kNames);
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].text, "第1行（实发工资 F000）中的F009由后面的第2行计算，本行将使用其计算前的值");
    EXPECT_EQ(w[0].line, 1);
    EXPECT_EQ(w[0].laterLine, 2);
}

struct TaskLineOrder : test::ItemsTest {};

TEST_F(TaskLineOrder, TheReportAndTheQuestionAskOnlyAboutNewCases) {
    const std::string base = add("基本工资"), tax = add("所得税");
    ASSERT_TRUE(putFormula(s, p, {"F000", "F003-" + tax, std::nullopt}).outcome.ok);
    EXPECT_EQ(lineOrderReport(s).message, "公式顺序没有问题。");
    // The tax after net pay: asked; No writes nothing.
    FormulaResult r = putFormula(s, p, {tax, base + "*0.1", std::nullopt});
    EXPECT_FALSE(r.changed);
    EXPECT_EQ(p.last(), "第1行（实发工资 F000）中的“所得税”(F005)由后面的第2行计算，本行将使用其计算前的值。\n"
                        "仍按此顺序保存公式吗？");
    EXPECT_EQ(loadFormulaLines(s).size(), 1u);
    p.answers = {true};
    ASSERT_TRUE(putFormula(s, p, {tax, base + "*0.1", std::nullopt}).outcome.ok);
    EXPECT_EQ(lineOrderReport(s).message,
              "第1行（实发工资 F000）中的“所得税”(F005)由后面的第2行计算，本行将使用其计算前的值。");
    // Changing the late line's text is no new case: nothing asked.
    p.clear();
    ASSERT_TRUE(putFormula(s, p, {tax, base + "*0.2", 2}).outcome.ok);
    EXPECT_TRUE(p.messages.empty());
    // Moving it up puts it right.
    ASSERT_TRUE(moveFormula(s, p, 2, true).outcome.ok);
    EXPECT_TRUE(p.messages.empty());
    EXPECT_EQ(lineOrderReport(s).message, "公式顺序没有问题。");
}
