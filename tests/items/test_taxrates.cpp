// Income-tax brackets: the grid's cells, the bracket check, saving, and the
// formula lines generated from the brackets.
#include "items/taxrates.h"
#include "tests/items/items_fixture.h"

using namespace gzgl;
using namespace gzgl::items;

namespace {
struct Tax : test::ItemsTest {
    std::string tax;
    void SetUp() override {
        test::ItemsTest::SetUp();
        tax = add("个人所得税"); // F004
    }
    std::vector<std::string> formulasOf(const std::string& code) {
        std::vector<std::string> out;
        for (const FormulaLine& l : loadFormulaLines(s))
            if (l.code == code)
                out.push_back(l.formula);
        return out;
    }
};

// The example table of the tax page.
std::vector<TaxRow> exampleTable() {
    return {{"0", "500", "5", "0"},           {"500", "2000", "10", "25"},     {"2000", "5000", "15", "125"},
            {"5000", "20000", "20", "375"},   {"20000", "40000", "25", "1375"}, {"40000", "60000", "30", "3375"},
            {"60000", "80000", "35", "6375"}, {"80000", "100000", "40", "10375"}, {"100000", "", "45", "15375"}};
}

std::string checkMessage(const std::string& threshold, const std::vector<TaxRow>& rows) {
    return checkBrackets(threshold, rows).message;
}
} // namespace

TEST(TaxCells, OnlyDigitsAndPointAreAcceptedAndShownWithTwoDecimals) {
    EXPECT_EQ(acceptTaxCell("500").shown, "500.00");
    EXPECT_EQ(acceptTaxCell("2.675").shown, "2.68");
    EXPECT_EQ(acceptTaxCell(".5").shown, "0.50");
    EXPECT_EQ(acceptTaxCell("").shown, "");
    EXPECT_TRUE(acceptTaxCell("").outcome.ok);
    for (const char* bad : {"12a", "-5", "1e5", "５"}) {
        const CellResult r = acceptTaxCell(bad);
        EXPECT_FALSE(r.outcome.ok) << bad;
        EXPECT_EQ(r.outcome.message, "含有非法字符！");
    }
}

TEST(TaxNumbers, MoneyFormatRoundsTheFifteenDigitTextHalfAwayFromZero) {
    EXPECT_EQ(formatMoney(2.675), "2.68");
    EXPECT_EQ(formatMoney(1.005), "1.01");
    EXPECT_EQ(formatMoney(-2.5), "-2.50");
    EXPECT_EQ(formatMoney(999.995), "1000.00");
    EXPECT_EQ(formatMoney(0.004), "0.00");
    EXPECT_EQ(formatMoney(-0.004), "0.00");
    EXPECT_EQ(formatMoney(0), "0.00");
    EXPECT_EQ(formatMoney(1e99), "1" + std::string(99, '0') + ".00");
}

TEST(TaxNumbers, PlainDecimalNeverUsesAnExponent) {
    EXPECT_EQ(plainDecimal(800), "800");
    EXPECT_EQ(plainDecimal(0.1), "0.1");
    EXPECT_EQ(plainDecimal(1.56), "1.56");
    EXPECT_EQ(plainDecimal(-2.5), "-2.5");
    EXPECT_EQ(plainDecimal(1e20), "100000000000000000000");
    EXPECT_EQ(plainDecimal(1e-7), "0.0000001");
    EXPECT_EQ(plainDecimal(0), "0");
}

TEST(TaxBrackets, ExampleTablePassesAndEmptyRowsAreSkipped) {
    EXPECT_TRUE(checkBrackets("800", exampleTable()).ok);
    std::vector<TaxRow> withGaps = exampleTable();
    withGaps.insert(withGaps.begin() + 3, TaxRow{"", " ", "", ""});
    withGaps.push_back({});
    EXPECT_TRUE(checkBrackets("800", withGaps).ok);
    // Typed out of order, the rows are still contiguous.
    std::vector<TaxRow> reversed(withGaps.rbegin(), withGaps.rend());
    EXPECT_TRUE(checkBrackets("800", reversed).ok);
}

TEST(TaxBrackets, RefusalsCarryTheWarningTitle) {
    const Outcome gap = checkBrackets("800", {{"0", "500", "5", "0"}, {"600", "2000", "10", "25"}});
    EXPECT_EQ(gap.message, "范围有遗漏!");
    EXPECT_EQ(gap.title, "警告");
    EXPECT_EQ(checkMessage("800", {{"0", "500", "5", "0"}, {"400", "2000", "10", "25"}}), "范围有重叠!");
    EXPECT_EQ(checkMessage("", exampleTable()), "必须输入起征值!");
    EXPECT_EQ(checkMessage("  ", exampleTable()), "必须输入起征值!");
    EXPECT_EQ(checkMessage("800", {{"500", "500", "5", "0"}}), "范围输入错误!");
    EXPECT_EQ(checkMessage("800", {{"2000", "500", "5", "0"}}), "范围输入错误!");
    EXPECT_EQ(checkMessage("800", {{"", "", "5", "0"}}), "范围输入错误!");
    EXPECT_EQ(checkMessage("800", {{"", "0", "5", "0"}}), "范围输入错误!");
    // An open bracket that is not the last one covers everything after it.
    EXPECT_EQ(checkMessage("800", {{"0", "", "5", "0"}, {"500", "2000", "10", "25"}}), "范围有重叠!");
    EXPECT_EQ(checkMessage("800", {{"0", "500", "5", "0"}, {"0", "500", "5", "0"}}), "范围有重叠!");
    // An end too large to write is the open end for the check as for the
    // generator: it may stand last only.
    EXPECT_EQ(checkMessage("800", {{"0", "500", "5", "0"},
                                   {"500", "10000000000000000", "10", "25"},
                                   {"10000000000000000", "", "15", "125"}}),
              "范围有重叠!");
    EXPECT_TRUE(checkBrackets("800", {{"0", "500", "5", "0"}, {"500", "10000000000000000", "10", "25"}}).ok);
    EXPECT_EQ(checkMessage("8oo", exampleTable()), "含有非法字符！");
    EXPECT_EQ(checkMessage("800", {{"0", "5OO", "5", "0"}}), "含有非法字符！");
    // A missing start reads 0.
    EXPECT_TRUE(checkBrackets("800", {{"", "500", "5", "0"}, {"500", "", "10", "25"}}).ok);
}

TEST_F(Tax, StoredBracketsShowAscendingWithTwoDecimals) {
    const std::vector<TaxRow> rows = loadTaxRows(s);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0], (TaxRow{"1000.00", "1500.00", "5.00", "0.00"}));
    EXPECT_EQ(rows[6].start, "61000.00");
    // The top bracket's 1E+99 is the open end.
    EXPECT_EQ(rows[6].end, "");
}

TEST_F(Tax, SaveReplacesTheTableAfterTheCheck) {
    std::vector<TaxRow> rows = exampleTable();
    rows.push_back({});
    const Outcome o = saveBrackets(s, "800", rows);
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(o.message, "成功存贮完毕！");
    const std::vector<TaxRow> back = loadTaxRows(s);
    ASSERT_EQ(back.size(), 9u);
    EXPECT_EQ(back[8], (TaxRow{"100000.00", "0.00", "45.00", "15375.00"}));

    const Outcome refused = saveBrackets(s, "800", {{"0", "500", "5", "0"}, {"600", "2000", "10", "25"}});
    EXPECT_EQ(refused.message, "范围有遗漏!");
    EXPECT_EQ(loadTaxRows(s).size(), 9u);
    EXPECT_EQ(saveBrackets(s, "", rows).message, "必须输入起征值!");
}

TEST_F(Tax, BuiltInTableGeneratesSevenLinesWithTheTopOneOpen) {
    const FormulaResult r = generateTaxFormulas(s, p, tax, "800", loadTaxRows(s));
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    // The top bracket ends at 1E+99: written as "1E+99" the formula reader
    // would stop at the letter and the highest incomes would pay no tax.
    EXPECT_EQ(formulasOf(tax), (std::vector<std::string>{
                                   "{[F003-800>1000]&[F003-800<=1500],(F003-800)*0.05-0}",
                                   "{[F003-800>1500]&[F003-800<=3000],(F003-800)*0.10-25}",
                                   "{[F003-800>3000]&[F003-800<=6000],(F003-800)*0.15-125}",
                                   "{[F003-800>6000]&[F003-800<=21000],(F003-800)*0.20-375}",
                                   "{[F003-800>21000]&[F003-800<=41000],(F003-800)*0.25-1375}",
                                   "{[F003-800>41000]&[F003-800<=61000],(F003-800)*0.30-3375}",
                                   "{F003-800>61000,(F003-800)*0.35-6375}",
                               }));
    EXPECT_FALSE(hasColumn(tax));
}

TEST_F(Tax, ExampleTableGeneratesNineLinesTheLastOpenEnded) {
    const FormulaResult r = generateTaxFormulas(s, p, tax, "800", exampleTable());
    ASSERT_TRUE(r.outcome.ok) << r.outcome.message;
    EXPECT_EQ(formulasOf(tax), (std::vector<std::string>{
                                   "{[F003-800>0]&[F003-800<=500],(F003-800)*0.05-0}",
                                   "{[F003-800>500]&[F003-800<=2000],(F003-800)*0.10-25}",
                                   "{[F003-800>2000]&[F003-800<=5000],(F003-800)*0.15-125}",
                                   "{[F003-800>5000]&[F003-800<=20000],(F003-800)*0.20-375}",
                                   "{[F003-800>20000]&[F003-800<=40000],(F003-800)*0.25-1375}",
                                   "{[F003-800>40000]&[F003-800<=60000],(F003-800)*0.30-3375}",
                                   "{[F003-800>60000]&[F003-800<=80000],(F003-800)*0.35-6375}",
                                   "{[F003-800>80000]&[F003-800<=100000],(F003-800)*0.40-10375}",
                                   "{F003-800>100000,(F003-800)*0.45-15375}",
                               }));
    EXPECT_EQ(r.id, 9);
}

TEST(TaxTexts, EndAt1E99IsWrittenAsTheOpenBracket) {
    // Written as "1E+99" the formula reader would stop at the letter and
    // read 1: nobody above the top bracket's start would pay tax.
    for (const std::string& end : {formatMoney(1e99), std::string("1000000000000000"), std::string("0")}) {
        const std::vector<std::string> t = taxFormulaTexts("800", {{"61000", end, "35", "6375"}});
        ASSERT_EQ(t.size(), 1u);
        EXPECT_EQ(t[0], "{F003-800>61000,(F003-800)*0.35-6375}") << end;
    }
    const std::vector<std::string> closed = taxFormulaTexts("800", {{"61000", "999999999999999", "35", "6375"}});
    EXPECT_EQ(closed[0], "{[F003-800>61000]&[F003-800<=999999999999999],(F003-800)*0.35-6375}");
}

TEST(TaxTexts, GridTextsAndOddValuesBecomePlainNumbers) {
    // Cells as the grid shows them, a fractional rate, a huge end that is
    // not 1E+99, and a row of zeros that generates nothing.
    const std::vector<std::string> t = taxFormulaTexts(
        "1600.00", {{"0.00", "500.00", "7.50", "0.00"}, {"0.00", "0.00", "0.00", "0.00"}, {"500", "2e15", "10", "12.5"}});
    EXPECT_EQ(t, (std::vector<std::string>{"{[F003-1600>0]&[F003-1600<=500],(F003-1600)*0.075-0}",
                                           "{F003-1600>500,(F003-1600)*0.10-12.5}"}));
}

TEST_F(Tax, GenerationGoesThroughTheAddPath) {
    EXPECT_EQ(generateTaxFormulas(s, p, "", "800", exampleTable()).outcome.message, "请选择需要添加的项目！");
    EXPECT_EQ(generateTaxFormulas(s, p, tax, "", exampleTable()).outcome.message, "必须输入起征值!");
    setAll(tax, 35);
    FormulaResult r = generateTaxFormulas(s, p, tax, "800", exampleTable());
    EXPECT_FALSE(r.outcome.ok);
    EXPECT_EQ(p.last(), "此项目已有数据存在，是否全部清除?");
    EXPECT_TRUE(formulasOf(tax).empty());
    EXPECT_TRUE(hasColumn(tax));
    p.answers = {true};
    r = generateTaxFormulas(s, p, tax, "800", exampleTable());
    ASSERT_TRUE(r.outcome.ok);
    EXPECT_EQ(formulasOf(tax).size(), 9u);
    EXPECT_EQ(p.messages.size(), 2u); // asked once for the nine lines
}
