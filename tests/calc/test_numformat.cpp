// Pattern formatting, round-trip text and the leading-number rule.
#include "calc/numformat.h"
#include "core/numtext.h"
#include "reference_evaluator.h"

#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <limits>
#include <random>
#include <string>

using namespace gzgl;

TEST(NumberFormat, RoundsTheFifteenDigitTextHalfAwayFromZero) {
    EXPECT_EQ(formatNumber(2.675, "#0.00"), "2.68"); // binary 2.67499999…
    EXPECT_EQ(formatNumber(1.005, "#0.00"), "1.01");
    EXPECT_EQ(formatNumber(-2.5, "#0"), "-3");
    EXPECT_EQ(formatNumber(2.5, "#0"), "3");
    EXPECT_EQ(formatNumber(0.5, "#0"), "1");
    EXPECT_EQ(formatNumber(-0.125, "#0.00"), "-0.13");
    EXPECT_EQ(formatNumber(10.0 / 3, "#0.00"), "3.33");
    EXPECT_EQ(formatNumber(20.0 / 3, "#0.000"), "6.667");
    EXPECT_EQ(formatNumber(0.1 + 0.2, "#0.0000"), "0.3000");
}

TEST(NumberFormat, CarryRunsThroughNines) {
    EXPECT_EQ(formatNumber(9.995, "#0.00"), "10.00");
    EXPECT_EQ(formatNumber(999.5, "#0"), "1000");
    EXPECT_EQ(formatNumber(-99.95, "#0.0"), "-100.0");
    EXPECT_EQ(formatNumber(0.96, "#0.0"), "1.0");
}

TEST(NumberFormat, ResultRoundingToZeroHasNoSign) {
    EXPECT_EQ(formatNumber(-0.001, "#0.00"), "0.00");
    EXPECT_EQ(formatNumber(-0.4, "#0"), "0");
    EXPECT_EQ(formatNumber(-0.0, "#0"), "0");
    EXPECT_EQ(formatNumber(0, "#0.00"), "0.00");
    EXPECT_FALSE(std::signbit(roundToPattern(-0.001, 2)));
}

TEST(NumberFormat, LargeAndTinyMagnitudes) {
    EXPECT_EQ(formatNumber(1e20, "#0"), "100000000000000000000");
    EXPECT_EQ(formatNumber(123456789012345678.0, "#0"), "123456789012346000"); // 15 digits kept
    EXPECT_EQ(formatNumber(1.5e-7, "#0.00"), "0.00");
    EXPECT_EQ(formatNumber(0.005, "#0.00"), "0.01");
    EXPECT_EQ(formatNumber(0.0049999, "#0.00"), "0.00");
    EXPECT_EQ(formatNumber(0.05, "#0"), "0");
    EXPECT_EQ(formatNumber(-1.5e-300, "#0"), "0");
}

TEST(NumberFormat, PatternFixesDecimalsAndIntegerDigits) {
    EXPECT_EQ(parsePattern("#0").decimals, 0);
    EXPECT_EQ(parsePattern("#0.000").decimals, 3);
    EXPECT_EQ(parsePattern("#0.000").minIntegerDigits, 1);
    EXPECT_EQ(formatNumber(0.5, "#.00"), ".50");
    EXPECT_EQ(formatNumber(7, "000"), "007");
    EXPECT_EQ(formatNumber(1234.5, "#0.00"), "1234.50");
}

// Whole cents are written without going through the 15-digit text; they
// must come out as the text of their integer on both sides of the bound
// (1e13 scaled) where the general path takes over, and with every pattern.
TEST(NumberFormat, WholeCentsWriteAsTheirDigitsOnEitherSideOfTheShortcut) {
    auto expected = [](long long cents, bool twoIntegerDigits) {
        const std::string sign = cents < 0 ? "-" : "";
        const long long a = cents < 0 ? -cents : cents;
        std::string whole = std::to_string(a / 100);
        if (twoIntegerDigits && whole.size() < 2)
            whole.insert(0, "0");
        const std::string frac = std::to_string(100 + a % 100).substr(1);
        return sign + whole + "." + frac;
    };
    std::vector<long long> cents;
    for (long long k = -100000; k <= 100000; k += 7)
        cents.push_back(k);
    for (long long k : {999999999999LL, 1000000000000LL, 9999999999999LL, 10000000000000LL, 10000000000001LL,
                        99999999999999LL, 123456789012345LL})
        cents.insert(cents.end(), {k, -k, k - 1, k + 1});
    for (long long k : cents) {
        ASSERT_EQ(formatNumber(static_cast<double>(k) / 100, "#0.00"), expected(k, false)) << k;
        ASSERT_EQ(formatNumber(static_cast<double>(k) / 100, "00.00"), expected(k, true)) << k;
    }
    EXPECT_EQ(formatNumber(-0.001, "#0.00"), "0.00");
    EXPECT_EQ(formatNumber(2.5, "#0"), "3");
    EXPECT_EQ(formatNumber(1e12 + 0.5, "#0"), "1000000000001");
    EXPECT_EQ(formatNumber(3, "#0.000000000000000"), "3.000000000000000");
}

TEST(NumberFormat, NonFiniteValueIsWrittenAsZero) {
    EXPECT_EQ(formatNumber(std::numeric_limits<double>::infinity(), "#0.00"), "0.00");
    EXPECT_EQ(formatNumber(std::nan(""), "#0"), "0");
    EXPECT_EQ(roundToPattern(-std::numeric_limits<double>::infinity(), 2), 0.0);
}

// The short way for values clearly away from a half must write what the
// digit-string rounding writes: an amount of k units of 10^-d prints the
// digits of k with the point put in, whatever its sign and size, and
// values at a half still round away from zero.
TEST(NumberFormat, WholeUnitsPrintTheirDigitsAtEveryPrecision) {
    std::mt19937_64 rng(7);
    for (int d = 0; d <= 6; ++d) {
        const double scale = std::pow(10.0, d);
        for (int i = 0; i < 20000; ++i) {
            const long long k = static_cast<long long>(rng() % 2000000001ULL) - 1000000000LL;
            const double v = static_cast<double>(k) / scale;
            std::string digits = std::to_string(k < 0 ? -k : k);
            if (digits.size() <= static_cast<std::size_t>(d))
                digits.insert(0, static_cast<std::size_t>(d) + 1 - digits.size(), '0');
            if (d > 0)
                digits.insert(digits.size() - static_cast<std::size_t>(d), ".");
            ASSERT_EQ(formatNumber(v, NumberPattern{d, 1}), (k < 0 ? "-" : "") + digits)
                << k << " / 10^" << d;
        }
    }
    EXPECT_EQ(formatNumber(0.125, "#0.00"), "0.13");
    EXPECT_EQ(formatNumber(-0.125, "#0.00"), "-0.13");
    EXPECT_EQ(formatNumber(-0.004, "#0.00"), "0.00");
    EXPECT_EQ(formatNumber(-5.5, "000"), "-006");
    EXPECT_EQ(formatNumber(0.5, ".00"), ".50");
    EXPECT_EQ(formatNumber(-0.0, "#0.00"), "0.00");
    EXPECT_EQ(formatNumber(9999999999999.99, "#0.00"), "9999999999999.99");
}

// The fast rounding must give the bits of the formatted text read back, and
// the text must be what a separate digit-string rounding gives.
TEST(NumberFormat, RoundToPatternIsTheFormattedTextReadBack) {
    std::mt19937_64 rng(20260);
    auto check = [](double v, int d) {
        if (!std::isfinite(v))
            return;
        const std::string pattern = d == 0 ? "#0" : "#0." + std::string(static_cast<std::size_t>(d), '0');
        const std::string text = formatNumber(v, pattern);
        ASSERT_EQ(text, calc::reference::formatPattern(v, pattern)) << v << " " << pattern;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(roundToPattern(v, d)), std::bit_cast<std::uint64_t>(readNumber(text)))
            << v << " " << pattern;
    };
    std::uniform_int_distribution<int> decimals(0, 6);
    std::uniform_int_distribution<long long> cents(-100000000, 100000000);
    std::uniform_real_distribution<double> unit(-1, 1);
    for (int i = 0; i < 60000; ++i) {
        const int d = decimals(rng);
        // Ties in the decimal text (x.xx5), values one step off them, and
        // results of arithmetic with long binary tails.
        const double tie = (static_cast<double>(cents(rng)) + 0.5) / std::pow(10.0, d);
        check(tie, d);
        check(std::nextafter(tie, 0.0), d);
        check(std::nextafter(tie, 1e300), d);
        check(static_cast<double>(cents(rng)) / 100 * 1.1 - 25, d);
        check(unit(rng) * std::pow(10.0, static_cast<double>(rng() % 40) - 20), d);
        check(std::bit_cast<double>(rng()), d); // any bit pattern, huge and tiny ones included
    }
    for (const double v : {1e13, 1e15, 99999999999999.5, 100000000000000.5, 0.5, -0.5, 4.35, 4.45, 1.0000000000000002})
        for (int d = 0; d <= 17; ++d)
            check(v, d);
}

TEST(NumberFormat, RoundTripTextReadsBackToTheSameDouble) {
    std::mt19937_64 rng(7);
    for (int i = 0; i < 20000; ++i) {
        const double v = std::bit_cast<double>(rng());
        if (!std::isfinite(v))
            continue;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(readNumber(roundTripText(v))), std::bit_cast<std::uint64_t>(v + 0.0))
            << roundTripText(v);
    }
    EXPECT_EQ(roundTripText(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(roundTripText(-0.0), "0");
    EXPECT_EQ(roundTripText(1e20), "1e+20");
}

TEST(ReadNumber, TakesTheLongestNumericPrefix) {
    EXPECT_EQ(readNumber(".5"), 0.5);
    EXPECT_EQ(readNumber("1."), 1.0);
    EXPECT_EQ(readNumber("1.2.3"), 1.2);
    EXPECT_EQ(readNumber("-.5"), -0.5);
    EXPECT_EQ(readNumber("+5"), 5.0);
    EXPECT_EQ(readNumber("1e5"), 1e5);
    EXPECT_EQ(readNumber("1E+20"), 1e20);
    EXPECT_EQ(readNumber("2.5e-3x"), 0.0025);
    EXPECT_EQ(readNumber("1e"), 1.0);
    EXPECT_EQ(readNumber("1e+"), 1.0);
    EXPECT_EQ(readNumber("12abc"), 12.0);
}

TEST(ReadNumber, TextWithoutANumberReadsZero) {
    for (const char* t : {"", ".", "+", "-", "+-5", "--5", "e5", "True", "False", "&^%$&^", "*&%*&^(&^*(", "{", "@3"})
        EXPECT_EQ(readNumber(t), 0.0) << t;
}

TEST(ReadNumber, MagnitudeBeyondADoubleReadsInfinityOrZero) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(readNumber("1e999"), inf);
    EXPECT_EQ(readNumber("-1e999"), -inf);
    EXPECT_EQ(readNumber(std::string(400, '9')), inf);
    EXPECT_EQ(readNumber("1.7976931348623159e308"), inf);
    EXPECT_EQ(readNumber("1.7976931348623157e308"), std::numeric_limits<double>::max());
    EXPECT_EQ(readNumber("1e-999"), 0.0);
    EXPECT_EQ(readNumber("0.000001e-320"), 0.0);
    EXPECT_EQ(readNumber("1e99999999999999999999"), inf); // an exponent too long for any integer
    EXPECT_GT(readNumber("5e-324"), 0.0);                 // the smallest subnormal still reads
}

TEST(ReadNumber, DecimalMarkDoesNotFollowTheProcessLocale) {
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma installed";
    const double v = readNumber("1234.56");
    const std::string t = decimalText(1234.56);
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(v, 1234.56);
    EXPECT_EQ(t, "1234.56");
}

TEST(DecimalText, ExponentFormOutsidePlainRange) {
    EXPECT_EQ(decimalText(1e-5), "1e-05");
    EXPECT_EQ(decimalText(0.0001), "0.0001");
    EXPECT_EQ(decimalText(1e15), "1e+15");
    EXPECT_EQ(decimalText(999999999999999.0), "999999999999999");
    EXPECT_EQ(decimalText(-0.0), "0");
}

TEST(DecimalText, PlainFormWritesTheSameDecimalOutInFull) {
    const std::pair<double, const char*> cases[] = {
        {0, "0"},
        {1234.56, "1234.56"},
        {1e15, "1000000000000000"},
        {-1.5e20, "-150000000000000000000"},
        {123456789012345678.0, "123456789012346000"},
        {1.25e15, "1250000000000000"},
        {1.2345e16, "12345000000000000"},
        {1e-5, "0.00001"},
        {-1.23e-7, "-0.000000123"},
        {0.1 + 0.2, "0.3"},
    };
    for (const auto& [v, want] : cases) {
        const std::string t = plainDecimalText(v);
        EXPECT_EQ(t, want) << v;
        EXPECT_EQ(readNumber(t), readNumber(decimalText(v))) << v;
    }
    EXPECT_EQ(plainDecimalText(1e300).size(), 301u);
    EXPECT_EQ(plainDecimalText(std::numeric_limits<double>::infinity()), "inf");
}

TEST(AmountLimit, EightCharactersBeforeThePointSignIncluded) {
    const std::pair<const char*, bool> texts[] = {
        {"12345678.5", true}, {"12345678", true},     {"-1234567", true},   {"0", true},
        {"123456789", false}, {"123456789.5", false}, {"-12345678", false}, {"000000001", false},
    };
    for (const auto& [text, fits] : texts)
        EXPECT_EQ(amountTextFits(text), fits) << text;
    const NumberPattern cents = parsePattern("#0.00"), whole = parsePattern("#0");
    EXPECT_TRUE(amountFits(99999999.99, cents));
    EXPECT_FALSE(amountFits(99999999.995, cents)); // rounds to 100000000.00
    EXPECT_TRUE(amountFits(99999999.4, whole));
    EXPECT_FALSE(amountFits(99999999.5, whole));
    EXPECT_TRUE(amountFits(-9999999.99, cents));
    EXPECT_FALSE(amountFits(-10000000, cents));
    EXPECT_FALSE(amountFits(1e300, cents));
    EXPECT_FALSE(amountFits(std::numeric_limits<double>::infinity(), cents));
    EXPECT_FALSE(amountFits(std::nan(""), cents));
}
