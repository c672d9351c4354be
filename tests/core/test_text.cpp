// Input cleaning, GBK byte counting and number reading.
#include "core/gbk.h"
#include "core/numtext.h"
#include "core/text.h"

#include <gtest/gtest.h>

using namespace gzgl;

TEST(Gbk, ChineseCountsTwoBytesAsciiOne) {
    EXPECT_EQ(gbkLength("abc"), 3u);
    EXPECT_EQ(gbkLength("工资"), 4u);
    EXPECT_EQ(gbkLength("a工b"), 4u);
    EXPECT_EQ(gbkLength(""), 0u);
}

TEST(Gbk, RoundTripThroughTheCodePage) {
    const std::string text = "工资管理 ABC 123";
    const std::string gbk = toGbk(text);
    EXPECT_EQ(gbk.size(), gbkLength(text));
    EXPECT_EQ(fromGbk(gbk), text);
}

TEST(Gbk, UnmappableCharacterBecomesQuestionMark) {
    EXPECT_EQ(toGbk("a\xF0\x9F\x98\x80" "b"), "a?b"); // an emoji has no GBK form
}

TEST(Gbk, TruncatedGbkInputDoesNotReadPastItsEnd) {
    std::string gbk = toGbk("工");
    gbk.pop_back();
    EXPECT_EQ(fromGbk(gbk), "\xEF\xBF\xBD");
}

TEST(ClipText, CutsAtTheByteLimitWithoutSplittingADoubleByteCharacter) {
    // 15 ASCII bytes then a Chinese character: 17 bytes; a 16-byte cut would
    // split the character, so it is left out whole.
    EXPECT_EQ(ClipText("abcdefghijklmno工", 16), "abcdefghijklmno");
    EXPECT_EQ(ClipText("abcdefghijklmnop工", 16), "abcdefghijklmnop");
    EXPECT_EQ(ClipText("工资工资工资工资工资", 16), "工资工资工资工资");
    EXPECT_EQ(gbkLength(ClipText("工资工资工资工资工资", 15)), 14u);
}

TEST(ClipText, TrimsThenRemovesQuotesAndBars) {
    EXPECT_EQ(ClipText("  O'Brien|s  ", 64), "OBriens");
    EXPECT_EQ(ClipText("a;b%c\"d", 64), "a;b%c\"d");
    EXPECT_EQ(ClipText("", 16), "");
    EXPECT_EQ(ClipText("   ", 16), "");
}

TEST(ClipText, QuotesCountTowardsTheLimitBeforeTheyAreRemoved) {
    // The cut comes first, as the screens do it, then the stripping.
    EXPECT_EQ(ClipText("''abcd", 4), "ab");
}

TEST(SharedRoutines, ReplaceAllWritesBackAndSkipsEmptySearch) {
    std::string t = "a-b-c";
    EXPECT_EQ(ReplaceAll(t, "-", "--"), "a--b--c");
    EXPECT_EQ(t, "a--b--c");
    std::string u = "abc";
    EXPECT_EQ(ReplaceAll(u, "", "x"), "abc");
    std::string v = "aaa";
    EXPECT_EQ(ReplaceAll(v, "aa", "b"), "ba");
}

TEST(SharedRoutines, HasDoubleQuote) {
    EXPECT_EQ(HasDoubleQuote("a\"b"), 2);
    EXPECT_EQ(HasDoubleQuote("ab"), 1);
}

TEST(NumberText, LongestNumericPrefix) {
    EXPECT_DOUBLE_EQ(readNumber(".5"), 0.5);
    EXPECT_DOUBLE_EQ(readNumber("1."), 1.0);
    EXPECT_DOUBLE_EQ(readNumber("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(readNumber("-3e2x"), -300.0);
    EXPECT_DOUBLE_EQ(readNumber("2e"), 2.0);
    EXPECT_DOUBLE_EQ(readNumber(""), 0.0);
    EXPECT_DOUBLE_EQ(readNumber("abc"), 0.0);
    EXPECT_DOUBLE_EQ(readNumber("-"), 0.0);
    EXPECT_DOUBLE_EQ(readNumber("  12ab"), 12.0);
}

TEST(NumberText, DecimalTextHasFifteenSignificantDigits) {
    EXPECT_EQ(decimalText(1.56), "1.56");
    EXPECT_EQ(decimalText(0.1 + 0.2), "0.3");
    EXPECT_EQ(decimalText(3), "3");
    EXPECT_EQ(decimalText(-2.5), "-2.5");
}

TEST(NumberText, ZeroPadAndMask) {
    EXPECT_EQ(zeroPad(1, 4), "0001");
    EXPECT_EQ(zeroPad(12345, 4), "12345");
    EXPECT_EQ(zeros(5), "00000");
    EXPECT_EQ(zeros(0), "");
}
