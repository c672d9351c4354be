#include "reference_evaluator.h"

#include "core/numtext.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace gzgl::calc::reference {

namespace {

const std::string OPSET = "+-*/()><@$#=&|[]!";
const std::string DELIMITERS = "+-*/()[]<>&|{}=,!";
const std::string TABLE_A[13] = {
    ">><<<>>>>>>>>", ">><<<>>>>>>>>", ">>>><>>>>>>>>", ">>>><>>>>>>>>", "<<<<<=       ",
    ">>>> >>>>>>>>", "<<<<<       >", "<<<<<       >", "<<<<<       >", "<<<<<       >",
    "<<<<<       >", "<<<<<       >", "<<<<< <<<<<<=",
};
const std::string TABLE_B[11] = {
    ">>>>>>>>>>>", ">>>>>>>>>>>", ">>>>>>>>>>>", ">>>>>>>>>>>", ">>>>>>>>>>>", ">>>>>>>><>>",
    "<<<<<<<><>>", "<<<<<<<><>>", "<<<<<<  <=>", ">>>>>>>>>>>", "<<<<<<<<<<=",
};

struct RunTimeError {};

// VB-style helpers: 1-based positions, Mid that fails on a negative length.
std::string Mid(const std::string& s, long start, long length) {
    if (start < 1 || length < 0)
        throw RunTimeError{};
    if (start > static_cast<long>(s.size()))
        return "";
    return s.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(length));
}
long InStr(long start, const std::string& s, char c) {
    if (start > static_cast<long>(s.size()))
        return 0;
    const std::size_t p = s.find(c, static_cast<std::size_t>(start - 1));
    return p == std::string::npos ? 0 : static_cast<long>(p) + 1;
}

class Stack {
public:
    bool push(const std::string& s) {
        if (items.size() >= 299)
            return false;
        items.push_back(s);
        return true;
    }
    std::string pop() {
        if (items.empty())
            return "&^%$&^";
        std::string s = items.back();
        items.pop_back();
        return s;
    }
    std::string topStack() const { return items.empty() ? "*&%*&^(&^*(" : items.back(); }
    void SetNull() { items.clear(); }

private:
    std::vector<std::string> items;
};

Stack OPTR;
Stack OPND;

long opIndex(const std::string& t) {
    if (t.size() != 1)
        return 0;
    const std::size_t p = OPSET.find(t[0]);
    return p == std::string::npos ? 0 : static_cast<long>(p) + 1;
}

bool isOperator(const std::string& t) { return opIndex(t) > 0; }

std::string NextToken(long& pos, const std::string& s) {
    const long len = static_cast<long>(s.size());
    std::string token;
    if (pos > len)
        return token;
    const char c = s[static_cast<std::size_t>(pos - 1)];
    long next;
    if (DELIMITERS.find(c) != std::string::npos) {
        const std::string two = Mid(s, pos, 2);
        if (two == ">=") {
            token = "@";
            next = pos + 2;
        } else if (two == "<=") {
            token = "$";
            next = pos + 2;
        } else if (two == "<>") {
            token = "#";
            next = pos + 2;
        } else {
            token = std::string(1, c);
            next = pos + 1;
        }
    } else {
        next = pos;
        while (next <= len && DELIMITERS.find(s[static_cast<std::size_t>(next - 1)]) == std::string::npos) {
            token += s[static_cast<std::size_t>(next - 1)];
            ++next;
        }
    }
    if (next > 32767) // the position is a 16-bit Integer
        throw RunTimeError{};
    pos = next;
    return token;
}

std::string Precede(const std::string& top, const std::string& in) {
    const long i1 = opIndex(top);
    const long i2 = opIndex(in);
    if (i1 == 0 || i2 == 0)
        throw RunTimeError{};
    if (i1 < 13 && i2 < 13)
        return Mid(TABLE_A[i1 - 1], i2, 1);
    if (i1 == 17)
        return i2 == 17 ? "=" : "<";
    if (i2 == 17)
        return ">";
    if (i1 >= 7 && i2 >= 7)
        return Mid(TABLE_B[i1 - 7], i2 - 6, 1);
    if (i1 <= 6 && i2 >= 13)
        return ">";
    return "<";
}

double Val(const std::string& s) {
    const double v = readNumber(s);
    if (std::isinf(v) || std::isnan(v))
        throw RunTimeError{};
    return v;
}

std::string Str(double v) {
    if (std::isinf(v) || std::isnan(v))
        throw RunTimeError{};
    if (v == 0)
        return "0";
    char buf[40];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string Operate(const std::string& a, const std::string& theta, const std::string& b) {
    if (theta == "&") {
        if (a == "True" && b == "True")
            return "True";
        if (a == "False" || b == "False")
            return "False";
        return "";
    }
    if (theta == "|") {
        if (a == "False" && b == "False")
            return "False";
        if (a == "True" || b == "True")
            return "True";
        return "";
    }
    const std::string arith = "+-*/><@$#=";
    if (theta.size() != 1 || arith.find(theta[0]) == std::string::npos)
        return "";
    const double x = Val(a);
    const double y = Val(b);
    std::string r;
    if (theta == "+")
        r = Str(x + y);
    else if (theta == "-")
        r = Str(x - y);
    else if (theta == "*")
        r = Str(x * y);
    else if (theta == "/")
        r = y == 0 ? "0" : Str(x / y);
    else if (theta == ">")
        r = x > y ? "True" : "False";
    else if (theta == "<")
        r = x < y ? "True" : "False";
    else if (theta == "@")
        r = x >= y ? "True" : "False";
    else if (theta == "$")
        r = x <= y ? "True" : "False";
    else if (theta == "#")
        r = x != y ? "True" : "False";
    else
        r = x == y ? "True" : "False";
    return r;
}

std::string EvaluateExpression(const std::string& s, FormulaState& st) {
    long pos = 1;
    std::string token;
    do {
        token = NextToken(pos, s);
        if (token.empty())
            break;
        if (!isOperator(token)) {
            OPND.push(token);
        } else {
            std::string rel = Precede(OPTR.topStack(), token);
            while (rel == ">") {
                const std::string theta = OPTR.pop();
                const std::string b = OPND.pop();
                const std::string a = OPND.pop();
                OPND.push(Operate(a, theta, b));
                rel = Precede(OPTR.topStack(), token);
            }
            if (rel == "=" && (token == ")" || token == "]"))
                OPTR.pop();
            else if (rel == "<")
                OPTR.push(token);
        }
    } while (!(OPTR.topStack() == "!" && token == "!"));
    const std::string r = OPND.topStack();
    if (r == "True" || r == "False")
        return r;
    st.FormulaValue = readNumber(formatPattern(Val(r), st.PrecisionFormat));
    return "";
}

void resetStacks() {
    OPTR.SetNull();
    OPND.SetNull();
    OPTR.push("!");
}

std::string Trim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && s[b] == ' ')
        ++b;
    while (e > b && s[e - 1] == ' ')
        --e;
    return std::string(s.substr(b, e - b));
}

std::string EvaluateFormulaBody(std::string_view formula, FormulaState& st) {
    st.FormulaHasValue = true;
    if (Trim(formula).empty()) {
        OPTR.SetNull();
        OPND.SetNull();
        st.FormulaHasValue = false;
        return "";
    }
    std::string text;
    for (char c : formula)
        if (c != ' ')
            text += c;
    text += "!";
    if (text[0] == '-')
        text = "0" + text;
    resetStacks();
    if (text[0] != '{') {
        const std::string r = EvaluateExpression(text, st);
        if (r == "True" || r == "False")
            st.FormulaHasValue = false;
        return "True";
    }
    const long p1 = InStr(1, text, ',');
    if (p1 == 0) {
        st.FormulaHasValue = false;
        return "False";
    }
    const long p2 = InStr(p1 + 1, text, ',');
    std::string yes, no;
    if (p2 == p1 + 1) {
        const long q = InStr(p2 + 1, text, '}');
        no = Mid(text, p2 + 1, q - p2 - 1);
    } else if (p2 > 0) {
        const long q = InStr(1, text, '}');
        yes = Mid(text, p1 + 1, p2 - p1 - 1);
        no = Mid(text, p2 + 1, q - p2 - 1);
    } else {
        const long q = InStr(1, text, '}');
        yes = Mid(text, p1 + 1, q - p1 - 1);
    }
    const std::string condition = Mid(text, 2, p1 - 2) + "!";
    const std::string c = EvaluateExpression(condition, st);
    std::string branch;
    if (c == "True")
        branch = yes;
    else if (c == "False")
        branch = no;
    else {
        st.FormulaHasValue = false;
        return "True";
    }
    if (branch.empty()) {
        st.FormulaHasValue = false;
        return "True";
    }
    branch += "!";
    if (branch[0] == '-')
        branch = "0" + branch;
    resetStacks();
    const std::string r = EvaluateExpression(branch, st);
    if (r == "True" || r == "False")
        st.FormulaHasValue = false;
    return "True";
}

} // namespace

std::string evaluateFormula(std::string_view formula, FormulaState& st) {
    std::string result;
    try {
        result = EvaluateFormulaBody(formula, st);
    } catch (const RunTimeError&) {
        st.FormulaHasValue = false;
        result = "False";
    }
    OPTR.SetNull();
    OPND.SetNull();
    return result;
}

namespace {

// v to 15 significant digits, from "%.14e": the sign, the decimal exponent
// and the fifteen digits.
struct Scientific {
    bool negative;
    int exponent;
    std::string digits;
};

Scientific scientific15(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", v);
    std::string s = buf;
    const bool negative = s[0] == '-';
    if (negative)
        s.erase(0, 1);
    return {negative, std::atoi(s.c_str() + s.find('e') + 1), s.substr(0, 1) + s.substr(2, 14)};
}

// v's 15-significant-digit decimal written out in full: the digits without
// trailing zeros placed around the point by the exponent.
std::string fullDecimal(double v) {
    if (v == 0 || !std::isfinite(v))
        return decimalText(v);
    auto [negative, exponent, digits] = scientific15(v);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    std::string out;
    if (exponent < 0) {
        out = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else {
        const auto whole = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= whole)
            out = digits + std::string(whole - digits.size(), '0');
        else
            out = digits.substr(0, whole) + "." + digits.substr(whole);
    }
    return negative ? "-" + out : out;
}

} // namespace

std::string substituteValues(std::string_view formula, const double* values) {
    std::string out;
    int k = 0;
    for (std::size_t i = 0; i < formula.size();) {
        if (formula[i] != 'F') {
            out += formula[i++];
            continue;
        }
        const std::string t = fullDecimal(values[k++]);
        out += t[0] == '-' ? "(0" + t + ")" : t;
        i += 4;
    }
    return out;
}

std::string formatPattern(double v, std::string_view pattern) {
    int decimals = 0;
    const std::size_t point = pattern.find('.');
    if (point != std::string_view::npos)
        for (std::size_t i = point + 1; i < pattern.size(); ++i)
            decimals += pattern[i] == '0';
    auto [negative, exponent, digits] = scientific15(v);
    // The exact decimal as whole digits and fraction digits, padded wide enough.
    std::string integer, fraction;
    if (exponent >= 0) {
        digits += std::string(static_cast<std::size_t>(exponent) + 1, '0');
        integer = digits.substr(0, static_cast<std::size_t>(exponent) + 1);
        fraction = digits.substr(static_cast<std::size_t>(exponent) + 1);
    } else {
        integer = "0";
        fraction = std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    fraction += std::string(static_cast<std::size_t>(decimals) + 1, '0');
    const bool up = fraction[static_cast<std::size_t>(decimals)] >= '5';
    std::string kept = integer + fraction.substr(0, static_cast<std::size_t>(decimals));
    if (up) {
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0 && kept[static_cast<std::size_t>(i)] == '9')
            kept[static_cast<std::size_t>(i--)] = '0';
        if (i < 0)
            kept = "1" + kept;
        else
            ++kept[static_cast<std::size_t>(i)];
    }
    std::string wholeDigits = kept.substr(0, kept.size() - static_cast<std::size_t>(decimals));
    const std::string fractionDigits = kept.substr(kept.size() - static_cast<std::size_t>(decimals));
    while (wholeDigits.size() > 1 && wholeDigits[0] == '0')
        wholeDigits.erase(0, 1);
    const bool zero = kept.find_first_not_of('0') == std::string::npos;
    std::string out = (negative && !zero ? "-" : "") + wholeDigits;
    if (decimals > 0)
        out += "." + fractionDigits;
    return out;
}

} // namespace gzgl::calc::reference
