#include "calc/compiled.h"

#include "calc/numformat.h"
#include "core/numtext.h"

#include <array>
#include <cmath>

namespace gzgl::calc {

namespace {

// One character of the formula as stored; slot >= 0 marks the place of a
// code, which the evaluation fills with a value.
struct Cell {
    char c;
    int slot;
};

constexpr int kCapacity = 299; // entries of each stack, as clsStack
constexpr int kBang = 17;      // "!" in kOperatorSet
constexpr int kLeftParen = 5;
constexpr int kRightParen = 6;
constexpr int kMinus = 2;
constexpr int kRightBracket = 16;
// A bound on the length of a value's text in the formula, "(0" + text + ")",
// for the values the compiled pass substitutes itself; longer texts (very
// large or very small magnitudes), and formulas that could reach the
// tokenizer's position limit (32767), take the text path.
constexpr std::size_t kMaxSlotText = 32;
constexpr std::size_t kMaxCompiledText = 32000;

// Precede for every pair of operators, once.
struct Relation {
    std::array<std::array<char, 18>, 18> r{};
    Relation() {
        for (int i = 1; i <= 17; ++i)
            for (int j = 1; j <= 17; ++j)
                r[i][j] = Precede(kOperatorSet.substr(i - 1, 1), kOperatorSet.substr(j - 1, 1));
    }
};
const Relation& relation() {
    static const Relation rel;
    return rel;
}

bool literal(const Cell& c, char ch) { return c.slot < 0 && c.c == ch; }
bool literalDelimiter(const Cell& c) { return c.slot < 0 && isDelimiter(c.c); }

// Scans codes as SubstituteValues does, calling onCode(code) for every code
// and onChar(c) for every other character.
template <class OnCode, class OnChar>
void scanCodes(std::string_view formula, OnCode onCode, OnChar onChar) {
    std::size_t i = 0;
    while (i < formula.size()) {
        if (formula[i] == 'F') {
            const std::string_view code = formula.substr(i, 4);
            onCode(code);
            i += code.size();
        } else {
            onChar(formula[i]);
            ++i;
        }
    }
}

// The value a slot's text reads back as: the substitution writes v with 15
// significant digits, so the tokens see that rounding, not v. A value that
// is not finite, or whose text is long enough to count against the
// tokenizer's position limit, goes the text way.
bool plainSlotValue(double v, double& out) {
    if (v == 0) {
        out = 0;
        return true;
    }
    if (!std::isfinite(v))
        return false;
    const double a = std::fabs(v);
    if (a >= 1e-4 && a < 1e15) {
        // v is the double nearest to a decimal of at most 15 digits with at
        // most six decimals: its 15-digit text is that decimal, and reads
        // back as v.
        constexpr double kScale[] = {1, 10, 100, 1000, 1e4, 1e5, 1e6};
        for (const double s : kScale) {
            const double r = std::nearbyint(a * s);
            if (r < 1e15 && r / s == a) {
                out = v;
                return true;
            }
        }
    }
    const std::string t = plainDecimalText(v);
    if (t.size() + 3 > kMaxSlotText)
        return false;
    out = readNumber(t);
    return true;
}

// True when every code of the space-stripped text stands between
// delimiters (or the ends of the text), so that its value's text stays a
// token of its own; "2F003" or "F003F004" would merge digits.
bool slotsStandAlone(const std::vector<Cell>& text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i].slot >= 0 && !((i == 0 || literalDelimiter(text[i - 1])) &&
                                   (i + 1 == text.size() || literalDelimiter(text[i + 1]))))
            return false;
    return true;
}

using Token = detail::FormulaToken;

// The tokens of an expression text, as NextToken cuts them, up to and with
// the first "!". Codes stand alone between delimiters (checked before).
std::vector<Token> tokenize(const std::vector<Cell>& text) {
    std::vector<Token> out;
    std::size_t i = 0;
    while (i < text.size()) {
        Token t;
        const Cell& c = text[i];
        if (c.slot >= 0) {
            t.kind = Token::Slot;
            t.slot = static_cast<std::uint32_t>(c.slot);
            ++i;
        } else if (isDelimiter(c.c)) {
            const bool pair = i + 1 < text.size() && text[i + 1].slot < 0;
            const char d = pair ? text[i + 1].c : '\0';
            std::string_view token(&c.c, 1);
            if (c.c == '>' && d == '=')
                token = "@";
            else if (c.c == '<' && d == '=')
                token = "$";
            else if (c.c == '<' && d == '>')
                token = "#";
            i += token[0] == c.c ? 1 : 2;
            t.op = static_cast<std::uint8_t>(operatorIndex(token));
            t.kind = t.op ? Token::Op : Token::Num; // "{", "}" and "," are operands that read 0
        } else {
            std::string run;
            while (i < text.size() && text[i].slot < 0 && !isDelimiter(text[i].c))
                run += text[i++].c;
            t.op = static_cast<std::uint8_t>(operatorIndex(run)); // a lone "@", "$" or "#"
            if (t.op)
                t.kind = Token::Op;
            else if (run == "True")
                t.kind = Token::True;
            else if (run == "False")
                t.kind = Token::False;
            else
                t.num = readNumber(run);
        }
        out.push_back(t);
        if (t.kind == Token::Op && t.op == kBang)
            break;
    }
    return out;
}

// An expression as the evaluator receives it: a "0" before a leading "-"
// (for the whole formula and for a branch), and the end marker.
std::vector<Token> expression(std::vector<Cell>::const_iterator from, std::vector<Cell>::const_iterator to,
                              bool leadingMinus) {
    std::vector<Cell> text;
    if (leadingMinus && from != to && literal(*from, '-'))
        text.push_back({'0', -1});
    text.insert(text.end(), from, to);
    text.push_back({'!', -1});
    return tokenize(text);
}

// The operand stack holds numbers and the two truth texts; every other text
// ("" of a bracket or of "&" without truth values, a sentinel, a name)
// reads 0 and is neither truth value, so it is the number 0 here.
struct Operand {
    double num;
    std::uint8_t truth; // 0 a number, 1 "True", 2 "False"
};
constexpr Operand kZero{0, 0};
constexpr Operand kTrueOperand{0, 1};
constexpr Operand kFalseOperand{0, 2};

// The two stacks of one pass, on the machine stack.
class Machine {
public:
    // Feeds an operator token; false on a run-time failure.
    bool feed(std::uint8_t op) {
        const auto& rel = relation().r;
        for (;;) {
            const char r = rel[ops_[nOps_ - 1]][op];
            if (r == '>') {
                if (!reduce())
                    return false;
                continue;
            }
            if (r == '=') {
                if (op == kRightParen || op == kRightBracket)
                    --nOps_;
            } else if (r == '<' && nOps_ < kCapacity) {
                ops_[nOps_++] = op;
            }
            return true;
        }
    }
    void push(Operand v) {
        if (nVals_ < kCapacity)
            vals_[nVals_++] = v;
    }
    const Operand& top() const { return nVals_ ? vals_[nVals_ - 1] : kZero; }

private:
    Operand pop() { return nVals_ ? vals_[--nVals_] : kZero; }

    bool reduce() {
        const std::uint8_t op = ops_[--nOps_];
        const Operand b = pop();
        const Operand a = pop();
        const char o = kOperatorSet[op - 1];
        switch (o) {
        case '&':
            push(a.truth == 1 && b.truth == 1   ? kTrueOperand
                 : a.truth == 2 || b.truth == 2 ? kFalseOperand
                                                : kZero);
            return true;
        case '|':
            push(a.truth == 2 && b.truth == 2   ? kFalseOperand
                 : a.truth == 1 || b.truth == 1 ? kTrueOperand
                                                : kZero);
            return true;
        case '(': case ')': case '[': case ']': case '!':
            push(kZero);
            return true;
        default:
            break;
        }
        const double x = a.num;
        const double y = b.num;
        if (!std::isfinite(x) || !std::isfinite(y))
            return false;
        double r;
        switch (o) {
        case '+': r = x + y; break;
        case '-': r = x - y; break;
        case '*': r = x * y; break;
        case '/': r = y == 0 ? 0.0 : x / y; break;
        case '>': push(x > y ? kTrueOperand : kFalseOperand); return true;
        case '<': push(x < y ? kTrueOperand : kFalseOperand); return true;
        case '@': push(x >= y ? kTrueOperand : kFalseOperand); return true;
        case '$': push(x <= y ? kTrueOperand : kFalseOperand); return true;
        case '#': push(x != y ? kTrueOperand : kFalseOperand); return true;
        default: push(x == y ? kTrueOperand : kFalseOperand); return true;
        }
        if (!std::isfinite(r))
            return false;
        push({r + 0.0, 0}); // the text of -0 is "0"
        return true;
    }

    std::uint8_t ops_[kCapacity];
    Operand vals_[kCapacity];
    int nOps_ = 1;
    int nVals_ = 0;

public:
    Machine() { ops_[0] = kBang; }
};

} // namespace

std::vector<std::string> formulaCodes(std::string_view formula) {
    std::vector<std::string> codes;
    scanCodes(
        formula, [&](std::string_view code) { codes.emplace_back(code); }, [](char) {});
    return codes;
}

std::string SubstituteValues(std::string_view formula, const double* values) {
    std::string out;
    out.reserve(formula.size() + 16);
    std::size_t k = 0;
    scanCodes(
        formula,
        [&](std::string_view) {
            const std::string t = plainDecimalText(values[k++]);
            if (!t.empty() && t[0] == '-')
                out.append("(0").append(t).append(")");
            else
                out.append(t);
        },
        [&](char c) { out += c; });
    return out;
}

CompiledFormula::CompiledFormula(std::string_view formulaWithCodes) : formula_(formulaWithCodes) {
    std::vector<Cell> cells;
    scanCodes(
        formula_,
        [&](std::string_view code) {
            cells.push_back({'F', static_cast<int>(codes_.size())});
            codes_.emplace_back(code);
        },
        [&](char c) { cells.push_back({c, -1}); });

    std::vector<Cell> text;
    for (const Cell& c : cells)
        if (!literal(c, ' '))
            text.push_back(c);
    if (text.empty()) {
        shape_ = Shape::Blank;
        return;
    }
    if (literal(text[0], '{')) {
        // The structure of the conditional form lies in literal characters
        // only: a value's text holds no "," and no "}".
        text.push_back({'!', -1});
        auto find = [&](char ch, std::size_t from) {
            for (std::size_t i = from; i < text.size(); ++i)
                if (literal(text[i], ch))
                    return i;
            return std::string::npos;
        };
        const std::size_t npos = std::string::npos;
        const std::size_t p1 = find(',', 0);
        if (p1 == npos) {
            shape_ = Shape::NoComma;
            return;
        }
        const std::size_t p2 = find(',', p1 + 1);
        std::size_t yesFrom = 0, yesTo = 0, noFrom = 0, noTo = 0; // half-open ranges
        std::size_t close;
        std::size_t after; // the branch the "}" must follow
        if (p2 == p1 + 1) {
            close = find('}', p2 + 1);
            after = p2;
            noFrom = p2 + 1;
        } else if (p2 != npos) {
            close = find('}', 0);
            after = p2;
            yesFrom = p1 + 1;
            yesTo = p2;
            noFrom = p2 + 1;
        } else {
            close = find('}', 0);
            after = p1;
            yesFrom = p1 + 1;
        }
        if (close == npos || close < after) {
            shape_ = Shape::Broken;
            return;
        }
        if (p2 == npos)
            yesTo = close;
        else
            noTo = close;
        text.pop_back();
        if (!slotsStandAlone(text))
            return; // Shape::Text
        const auto at = [&](std::size_t i) { return text.cbegin() + static_cast<std::ptrdiff_t>(i); };
        value_ = expression(at(1), at(p1), false);
        if (yesTo > yesFrom)
            yes_ = expression(at(yesFrom), at(yesTo), true);
        if (noTo > noFrom)
            no_ = expression(at(noFrom), at(noTo), true);
        shape_ = Shape::Conditional;
    } else {
        if (!slotsStandAlone(text))
            return; // Shape::Text
        value_ = expression(text.cbegin(), text.cend(), true);
        shape_ = Shape::Value;
    }
    if (text.size() + codes_.size() * kMaxSlotText > kMaxCompiledText) {
        value_.clear();
        yes_.clear();
        no_.clear();
        shape_ = Shape::Text;
    }
}

CompiledFormula::Result CompiledFormula::run(const std::vector<Token>& tokens, const double* values) {
    Machine m;
    for (const Token& t : tokens) {
        switch (t.kind) {
        case Token::Op:
            if (!m.feed(t.op))
                return {Outcome::Failed, 0};
            break;
        case Token::Num:
            m.push({t.num, 0});
            break;
        case Token::True:
            m.push(kTrueOperand);
            break;
        case Token::False:
            m.push(kFalseOperand);
            break;
        case Token::Slot: {
            double v;
            if (!plainSlotValue(values[t.slot], v))
                return {Outcome::NeedText, 0};
            if (v < 0) {
                // "(0" + text + ")": a subtraction from 0 in brackets.
                if (!m.feed(kLeftParen))
                    return {Outcome::Failed, 0};
                m.push(kZero);
                if (!m.feed(kMinus))
                    return {Outcome::Failed, 0};
                m.push({-v, 0});
                if (!m.feed(kRightParen))
                    return {Outcome::Failed, 0};
            } else {
                m.push({v, 0});
            }
            break;
        }
        }
    }
    const Operand& r = m.top();
    if (r.truth == 1)
        return {Outcome::TrueValue, 0};
    if (r.truth == 2)
        return {Outcome::FalseValue, 0};
    if (!std::isfinite(r.num))
        return {Outcome::Failed, 0};
    return {Outcome::Number, r.num};
}

std::string CompiledFormula::textPath(const double* values, FormulaState& st) const {
    return EvaluateFormula(SubstituteValues(formula_, values), st);
}

// A run's outcome as the text path reports it. A number always lands in
// FormulaValue; it is assigned to the item only when assigns (the whole
// formula or a chosen branch, not a condition). A truth value assigns nothing.
std::string CompiledFormula::settle(const Result& r, bool assigns, const double* values, FormulaState& st) const {
    switch (r.outcome) {
    case Outcome::NeedText:
        return textPath(values, st);
    case Outcome::Failed:
        st.FormulaHasValue = false;
        return "False";
    case Outcome::Number:
        st.FormulaValue = roundToPattern(r.value, parsePattern(st.PrecisionFormat).decimals);
        st.FormulaHasValue = assigns;
        return "True";
    default:
        st.FormulaHasValue = false;
        return "True";
    }
}

std::string CompiledFormula::evaluate(const double* values, FormulaState& st) const {
    switch (shape_) {
    case Shape::Blank:
        st.FormulaHasValue = false;
        return "";
    case Shape::NoComma:
    case Shape::Broken:
        st.FormulaHasValue = false;
        return "False";
    case Shape::Text:
        return textPath(values, st);
    case Shape::Value:
        return settle(run(value_, values), true, values, st);
    case Shape::Conditional:
        break;
    }
    const Result c = run(value_, values);
    if (c.outcome != Outcome::TrueValue && c.outcome != Outcome::FalseValue)
        return settle(c, false, values, st);
    const std::vector<Token>& branch = c.outcome == Outcome::TrueValue ? yes_ : no_;
    if (branch.empty()) {
        st.FormulaHasValue = false;
        return "True";
    }
    return settle(run(branch, values), true, values, st);
}

} // namespace gzgl::calc
