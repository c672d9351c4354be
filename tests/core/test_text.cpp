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

// Names are refused rather than cleaned: what is stored is what was typed.
TEST(NameRefusal, NamesThatCannotBeStoredAsTypedAreRefusedWithTheField) {
    struct Case {
        const char* name;
        const char* message; // empty: storable
    };
    const Case cases[] = {
        {"财务部", ""},
        {"阿依·买买提", ""}, // the middle dot is in GBK
        {"100%_\\\"", ""},   // only ' and | are kept out
        {"财'务", "部门名称里不能包含符号 ' 或 |。"},
        {"财|务", "部门名称里不能包含符号 ' 或 |。"},
        {"财\t务", "部门名称里不能包含制表符、换行符等控制字符。"},
        {"财务\n", "部门名称里不能包含制表符、换行符等控制字符。"},
        {"财\xF0\x9F\x98\x80", "部门名称里有GBK字符集以外的字符“\xF0\x9F\x98\x80”，不能保存。"},
        {"\xF0\xA0\xAE\xB7野家", "部门名称里有GBK字符集以外的字符“\xF0\xA0\xAE\xB7”，不能保存。"},
        {"财\xE5\x8A", "部门名称里有GBK字符集以外的字符“0xE5”，不能保存。"}, // cut mid-character
        {"a\xFF", "部门名称里有GBK字符集以外的字符“0xFF”，不能保存。"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(nameRefusal(c.name, "部门名称", 32), c.message) << c.name;
}

TEST(NameRefusal, LengthCountsGbkBytesUpToTheColumn) {
    const std::string sixteen = "一二三四五六七八九十一二三四五六"; // 32 bytes
    EXPECT_EQ(nameRefusal(sixteen, "员工姓名", 32), "");
    EXPECT_EQ(nameRefusal(std::string(32, 'a'), "员工姓名", 32), "");
    EXPECT_EQ(nameRefusal(sixteen + "a", "员工姓名", 32),
              "员工姓名太长：最多32个字节（一个汉字占两个字节），现有33个字节。");
    EXPECT_EQ(nameRefusal(std::string(33, 'a'), "员工姓名", 32),
              "员工姓名太长：最多32个字节（一个汉字占两个字节），现有33个字节。");
}

TEST(Gbk, FirstUnencodableCharacterIsFoundByItsByteOffset) {
    EXPECT_EQ(gbkUnencodableAt("工资 abc"), std::string_view::npos);
    EXPECT_EQ(gbkUnencodableAt(""), std::string_view::npos);
    EXPECT_EQ(gbkUnencodableAt("工\xF0\x9F\x98\x80"), 3u);
    EXPECT_EQ(gbkUnencodableAt("ab\x80"), 2u);      // a stray continuation byte
    EXPECT_EQ(gbkUnencodableAt("ab\xE5\x8A!"), 2u); // a sequence cut short
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

TEST(SplitAt, KeepsEmptyPiecesAtEitherEndAndBetween) {
    EXPECT_EQ(splitAt("", ','), (std::vector<std::string>{""}));
    EXPECT_EQ(splitAt("F004,,F005,", ','), (std::vector<std::string>{"F004", "", "F005", ""}));
    EXPECT_EQ(splitAt("0\t\t45\t181920", '\t'), (std::vector<std::string>{"0", "", "45", "181920"}));
}
