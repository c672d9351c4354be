#include "calc/evaluator.h"

#include "calc/numformat.h"
#include "calc/stack.h"
#include "core/numtext.h"
#include "core/text.h"

#include <array>
#include <cmath>

namespace gzgl::calc {

namespace {

// The precedence relation, as two tables of strings. Table A: the first
// twelve operators (+ - * / ( ) > < @ $ # =) against the same twelve; its
// thirteenth row and column are never consulted. Table B: the last eleven
// (> < @ $ # = & | [ ] !) against the same eleven. A blank is no relation.
constexpr std::array<std::string_view, 13> kTableA = {
    ">><<<>>>>>>>>", ">><<<>>>>>>>>", ">>>><>>>>>>>>", ">>>><>>>>>>>>", "<<<<<=       ",
    ">>>> >>>>>>>>", "<<<<<       >", "<<<<<       >", "<<<<<       >", "<<<<<       >",
    "<<<<<       >", "<<<<<       >", "<<<<< <<<<<<=",
};
constexpr std::array<std::string_view, 11> kTableB = {
    ">>>>>>>>>>>", ">>>>>>>>>>>", ">>>>>>>>>>>", ">>>>>>>>>>>", ">>>>>>>>>>>", ">>>>>>>><>>",
    "<<<<<<<><>>", "<<<<<<<><>>", "<<<<<<  <=>", ">>>>>>>>>>>", "<<<<<<<<<<=",
};

constexpr std::string_view kTrue = "True";
constexpr std::string_view kFalse = "False";
constexpr std::string_view kEnd = "!";

// Both stacks of the evaluator, emptied at the start and at the end of every
// evaluation. One pair per thread keeps their slots' storage between calls.
struct Stacks {
    clsStack operators;
    clsStack operands;
    void reset() {
        operators.SetNull();
        operands.SetNull();
        operators.push(kEnd);
    }
    void release() {
        operators.SetNull();
        operands.SetNull();
    }
};

double readOperand(std::string_view text) {
    const double v = readNumber(text);
    if (!std::isfinite(v))
        throw FormulaFailure("number out of range");
    return v;
}

std::string numberText(double v) {
    if (!std::isfinite(v))
        throw FormulaFailure("overflow");
    return roundTripText(v);
}

// Runs the operator-precedence pass over text, which ends with "!". A truth
// value is returned as its text; a number is rounded to PrecisionFormat into
// FormulaValue and "" is returned.
std::string EvaluateExpression(std::string_view text, Stacks& s, FormulaState& st) {
    std::int16_t pos = 1;
    for (;;) {
        const std::string_view token = NextToken(pos, text);
        if (token.empty())
            break; // past the end: the text lacked its "!"
        if (operatorIndex(token) == 0) {
            s.operands.push(token);
        } else {
            char relation;
            while ((relation = Precede(s.operators.topStack(), token)) == '>') {
                const std::string op = s.operators.pop();
                const std::string b = s.operands.pop();
                const std::string a = s.operands.pop();
                s.operands.push(Operate(a, op, b));
            }
            if (relation == '=' && (token == ")" || token == "]"))
                s.operators.pop();
            else if (relation == '<')
                s.operators.push(token);
            // "=" with "!", or no relation: the token is dropped.
        }
        if (s.operators.topStack() == kEnd && token == kEnd)
            break;
    }
    const std::string_view r = s.operands.topStack();
    if (r == kTrue || r == kFalse)
        return std::string(r);
    st.FormulaValue = readNumber(formatNumber(readOperand(r), st.PrecisionFormat));
    return "";
}

bool isTruth(std::string_view r) { return r == kTrue || r == kFalse; }

// A branch or the whole formula: its value is assigned only when it is a
// number.
std::string evaluateValue(std::string_view text, Stacks& s, FormulaState& st) {
    std::string expr;
    if (!text.empty() && text[0] == '-')
        expr = "0";
    expr.append(text);
    expr.append(kEnd);
    s.reset();
    if (isTruth(EvaluateExpression(expr, s, st)))
        st.FormulaHasValue = false;
    return "True";
}

// The text between the positions from and to (both excluded) for a branch
// that ends at a "}": a missing "}" (to is npos) or one standing before the
// branch starts fails, as cutting a negative length would.
std::string_view branchText(std::string_view text, std::size_t from, std::size_t to) {
    if (to == std::string_view::npos || to < from)
        throw FormulaFailure("conditional form without its closing brace");
    return text.substr(from + 1, to - from - 1);
}

std::string evaluateConditional(std::string_view text, Stacks& s, FormulaState& st) {
    const std::size_t p1 = text.find(',');
    if (p1 == std::string_view::npos) {
        st.FormulaHasValue = false;
        return "False";
    }
    const std::size_t p2 = text.find(',', p1 + 1);
    std::string_view yes;
    std::string_view no;
    if (p2 == p1 + 1) {
        no = branchText(text, p2, text.find('}', p2 + 1));
    } else if (p2 != std::string_view::npos) {
        yes = text.substr(p1 + 1, p2 - p1 - 1);
        no = branchText(text, p2, text.find('}'));
    } else {
        yes = branchText(text, p1, text.find('}'));
    }
    std::string condition(text.substr(1, p1 - 1));
    condition.append(kEnd);
    const std::string c = EvaluateExpression(condition, s, st);
    if (!isTruth(c)) {
        st.FormulaHasValue = false;
        return "True";
    }
    const std::string_view branch = c == kTrue ? yes : no;
    if (branch.empty()) {
        st.FormulaHasValue = false;
        return "True";
    }
    return evaluateValue(branch, s, st);
}

} // namespace

int operatorIndex(std::string_view token) {
    if (token.size() != 1)
        return 0;
    const std::size_t i = kOperatorSet.find(token[0]);
    return i == std::string_view::npos ? 0 : static_cast<int>(i) + 1;
}

bool isDelimiter(char c) {
    switch (c) {
    case '+': case '-': case '*': case '/': case '(': case ')': case '[': case ']': case '<':
    case '>': case '&': case '|': case '{': case '}': case '=': case ',': case '!':
        return true;
    default:
        return false;
    }
}

std::string StripSpaces(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text)
        if (c != ' ')
            out += c;
    return out;
}

std::string_view NextToken(std::int16_t& pos, std::string_view text) {
    const std::size_t len = text.size();
    if (pos < 1 || static_cast<std::size_t>(pos) > len)
        return {};
    const std::size_t at = static_cast<std::size_t>(pos) - 1;
    std::size_t next = at + 1;
    std::string_view token = text.substr(at, 1);
    if (isDelimiter(text[at])) {
        const char c = text[at];
        const char d = at + 1 < len ? text[at + 1] : '\0';
        if (c == '>' && d == '=')
            token = "@";
        else if (c == '<' && d == '=')
            token = "$";
        else if (c == '<' && d == '>')
            token = "#";
        if (token.size() == 1 && token[0] != c)
            next = at + 2;
    } else {
        while (next < len && !isDelimiter(text[next]))
            ++next;
        token = text.substr(at, next - at);
    }
    // next is the 0-based index of the following token, so the new 1-based
    // position is next + 1, which must still fit the 16-bit count.
    if (next + 1 > 32767)
        throw FormulaFailure("scan position beyond 32767");
    pos = static_cast<std::int16_t>(next + 1);
    return token;
}

char Precede(std::string_view top, std::string_view incoming) {
    const int i1 = operatorIndex(top);
    const int i2 = operatorIndex(incoming);
    if (i1 == 0 || i2 == 0)
        throw FormulaFailure("operator outside the operator set");
    if (i1 < 13 && i2 < 13)
        return kTableA[i1 - 1][i2 - 1];
    if (i1 == 17)
        return i2 == 17 ? '=' : '<';
    if (i2 == 17)
        return '>';
    if (i1 >= 7 && i2 >= 7)
        return kTableB[i1 - 7][i2 - 7];
    if (i1 <= 6 && i2 >= 13)
        return '>';
    return '<';
}

std::string Operate(std::string_view a, std::string_view op, std::string_view b) {
    const char o = op.size() == 1 ? op[0] : '\0';
    switch (o) {
    case '&':
        if (a == kTrue && b == kTrue)
            return std::string(kTrue);
        if (a == kFalse || b == kFalse)
            return std::string(kFalse);
        return "";
    case '|':
        if (a == kFalse && b == kFalse)
            return std::string(kFalse);
        if (a == kTrue || b == kTrue)
            return std::string(kTrue);
        return "";
    case '+': case '-': case '*': case '/': case '>': case '<': case '@': case '$': case '#': case '=':
        break;
    default:
        return "";
    }
    const double x = readOperand(a);
    const double y = readOperand(b);
    auto truth = [](bool t) { return std::string(t ? kTrue : kFalse); };
    switch (o) {
    case '+':
        return numberText(x + y);
    case '-':
        return numberText(x - y);
    case '*':
        return numberText(x * y);
    case '/':
        return y == 0 ? std::string("0") : numberText(x / y);
    case '>':
        return truth(x > y);
    case '<':
        return truth(x < y);
    case '@':
        return truth(x >= y);
    case '$':
        return truth(x <= y);
    case '#':
        return truth(x != y);
    default:
        return truth(x == y);
    }
}

std::string EvaluateFormula(std::string_view formula, FormulaState& st) {
    thread_local Stacks stacks;
    st.FormulaHasValue = true;
    if (trim(formula).empty()) {
        stacks.release();
        st.FormulaHasValue = false;
        return "";
    }
    std::string text = StripSpaces(formula);
    std::string result;
    try {
        if (text[0] != '{') {
            result = evaluateValue(text, stacks, st);
        } else {
            text.append(kEnd);
            stacks.reset();
            result = evaluateConditional(text, stacks, st);
        }
    } catch (const FormulaFailure&) {
        st.FormulaHasValue = false;
        result = "False";
    }
    stacks.release();
    return result;
}

} // namespace gzgl::calc
