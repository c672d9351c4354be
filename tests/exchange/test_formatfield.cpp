// FormatField and the bank file name: amounts, widths, cuts and rounding.
#include "exchange/bank.h"
#include "exchange/fieldformat.h"

#include <gtest/gtest.h>

using namespace gzgl::exchange;

TEST(FormatField, AmountWithPointRightAligned) {
    EXPECT_EQ(FormatField("1234.567", 2, 10, true, false, false, 0), "   1234.57");
}

TEST(FormatField, AmountInFenWithFixedDigits) {
    EXPECT_EQ(FormatField("1234.567", 2, 10, true, true, true, 8), "  00123457");
}

TEST(FormatField, ZeroInFenWithoutDigitsIsAllBlanks) {
    EXPECT_EQ(FormatField("0", 2, 8, true, true, true, 0), "        ");
    EXPECT_EQ(FormatField("0.0004", 0, 5, true, true, true, 0), "     ");
    EXPECT_EQ(FormatField("", 0, 3, true, true, true, 0), "   ");
    // "#0" without zero padding keeps one digit.
    EXPECT_EQ(FormatField("0", 2, 4, true, true, false, 0), "   0");
}

TEST(FormatField, TwoChineseCharactersInWidthSix) {
    EXPECT_EQ(FormatField("张三", 0, 6, false, false, false, 0), "张三  ");
}

TEST(FormatField, CutNeverSplitsADoubleByteCharacter) {
    // 张三 is 4 bytes: 3 keeps 张 and pads one blank; left and right alike.
    EXPECT_EQ(FormatField("张三", 0, 3, false, false, false, 0), "张 ");
    EXPECT_EQ(FormatField("张三", 2, 3, false, false, false, 0), " 张");
    EXPECT_EQ(FormatField("a张三", 0, 4, false, false, false, 0), "a张 ");
    EXPECT_EQ(FormatField("abcdef", 1, 4, false, false, false, 0), "abcd");
    EXPECT_EQ(FormatField("张", 0, 1, false, false, false, 0), " ");
    EXPECT_EQ(FormatField("abc", 0, 0, false, false, false, 0), "");
}

TEST(FormatField, CentreAlignmentPadsOnTheLeft) {
    EXPECT_EQ(FormatField("ab", 1, 5, false, false, false, 0), "   ab");
}

TEST(FormatField, RoundsHalfAwayFromZeroOnTheDecimalText) {
    EXPECT_EQ(FormatField("2.675", 0, 6, true, false, false, 0), "2.68  ");
    EXPECT_EQ(FormatField("2.675", 2, 6, true, true, true, 0), "   268");
    EXPECT_EQ(FormatField("-2.675", 2, 6, true, false, false, 0), " -2.68");
    EXPECT_EQ(FormatField("-1234.567", 2, 10, true, true, true, 8), " -00123457");
}

TEST(FormatField, TinyAmountsCountAsZero) {
    EXPECT_EQ(FormatField("-0.0004", 2, 5, true, false, false, 0), " 0.00");
    EXPECT_EQ(amountText("0.0004", true, true, 3), "000");
}

TEST(FormatField, GbkBytesCutWithTrailBytesInTheAsciiRange) {
    // 銀 is E3 79 in GBK: its trail byte is an ASCII letter's value.
    EXPECT_EQ(fitGbk("\xE3\x79\xE3\x79", 0, 3), "\xE3\x79 ");
    EXPECT_EQ(fitGbk("a\xE3\x79", 2, 2), " a");
}

TEST(BankFileName, PeriodGoesBeforeTheFirstDot) {
    EXPECT_EQ(bankFileName("NJGZ.TXT", "200405"), "NJGZ200405.TXT");
    EXPECT_EQ(bankFileName("NJGZ", "200405"), "NJGZ200405.TXT");
    EXPECT_EQ(bankFileName("bank.dat", "200405"), "bank200405.dat");
    EXPECT_EQ(bankFileName("  a.b.c ", "200405"), "a200405.b.c");
}
