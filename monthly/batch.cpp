// Batch adjustment: the screen's lists, the condition editor and the checks
// that run before anything is read.
#include "monthly/batch.h"

#include "base/types.h"
#include "core/numtext.h"
#include "core/schema.h"
#include "core/text.h"
#include "items/pickers.h"

#include <set>

namespace gzgl::monthly {

namespace {

// Refusals name the box of the screen that should get the focus.
Outcome refuse(const std::string& message, const char* focus) {
    return Outcome::refuse(message, kBatchTitle, Icon::Exclamation, focus);
}

bool isOneOf(const std::string& text, const std::vector<std::string>& list) {
    for (const std::string& e : list)
        if (e == text)
            return true;
    return false;
}

bool compare(double a, const std::string& op, double b) {
    if (op == ">")
        return a > b;
    if (op == ">=")
        return a >= b;
    if (op == "=")
        return a == b;
    if (op == "<")
        return a < b;
    if (op == "<=")
        return a <= b;
    return false;
}

} // namespace

const std::vector<std::string>& batchWays() {
    static const std::vector<std::string> ways = {"调整为新数值", "将原数值按比例调整", "按以下公式计算"};
    return ways;
}

std::string batchWayLabel(int way) {
    switch (static_cast<BatchWay>(way)) {
    case BatchWay::Ratio:
        return "原数值按比例调整为： 原数值 *";
    case BatchWay::Formula:
        return "按以下公式计算：";
    default:
        return "调整为：";
    }
}

const std::vector<std::string>& conditionOperators() {
    static const std::vector<std::string> ops = {">", ">=", "=", "<", "<="};
    return ops;
}

const std::vector<std::string>& joinWords() {
    static const std::vector<std::string> words = {kAnd, kOr};
    return words;
}

std::vector<items::ItemChoice> adjustableItems(Session& s) {
    std::set<std::string> withFormula;
    const Recordset f = s.taskConn.query("Select F_Code from " + periodTable(s.taskPrefix(), "Formula"));
    for (std::size_t i = 0; i < f.size(); ++i)
        withFormula.insert(upperAscii(trim(f.row(i)[0].toString())));
    std::vector<items::ItemChoice> out;
    for (items::ItemChoice& c : items::numberItems(s)) {
        c.code = trim(c.code);
        c.name = trim(c.name);
        if (!withFormula.count(upperAscii(c.code)))
            out.push_back(std::move(c));
    }
    return out;
}

std::vector<items::ItemChoice> conditionItems(Session& s) {
    static const std::set<std::string> excluded = {"F001", "F002", "FFFF", "FFFE", "FFFD"};
    std::vector<items::ItemChoice> out;
    for (items::ItemChoice& c : items::numberItems(s)) {
        c.code = trim(c.code);
        c.name = trim(c.name);
        if (!excluded.count(upperAscii(c.code)))
            out.push_back(std::move(c));
    }
    return out;
}

std::vector<std::string> departmentTypeNames(Session& s) {
    std::vector<std::string> out;
    for (const base::TypeRow& t : base::departmentTypes(s))
        out.push_back(trim(t.name));
    return out;
}

AddConditionResult addCondition(Session& s, const std::string& item, const std::string& op,
                                const std::string& value, const std::string& join) {
    AddConditionResult r;
    const std::string wanted = trim(item);
    const std::string number = trim(value);
    // A joining word outside the two would make a condition that never
    // counts, so it is refused as a missing part.
    if (wanted.empty() || number.empty() || !isOneOf(trim(op), conditionOperators()) ||
        !isOneOf(trim(join), joinWords())) {
        r.outcome = refuse("请选择查询的条件", "cmbQueryItem");
        return r;
    }
    const std::vector<items::ItemChoice> choices = conditionItems(s);
    const items::ItemChoice* found = nullptr;
    for (const items::ItemChoice& c : choices)
        if (c.name == wanted)
            found = &c;
    if (!found)
        for (const items::ItemChoice& c : choices)
            if (upperAscii(c.code) == upperAscii(wanted))
                found = &c;
    if (!found) {
        r.outcome = refuse("请选择查询的条件", "cmbQueryItem");
        return r;
    }
    if (!isNumberText(number)) {
        r.outcome = refuse(kConditionNotNumber, "txtValue");
        return r;
    }
    r.condition = {found->code, found->name, trim(op), number, trim(join)};
    return r;
}

bool keepsRow(const std::vector<BatchCondition>& conditions, const std::vector<double>& values) {
    bool anyOr = false, oneOrHolds = false;
    for (std::size_t i = 0; i < conditions.size(); ++i) {
        const BatchCondition& c = conditions[i];
        const bool holds = compare(i < values.size() ? values[i] : 0, c.op, readNumber(c.value));
        if (c.join == kOr) {
            anyOr = true;
            oneOrHolds = oneOrHolds || holds;
        } else if (!holds) {
            return false;
        }
    }
    return !anyOr || oneOrHolds;
}

Outcome checkBatchFormula(const std::string& formula) {
    // The comma belongs to the conditional form {condition,yes,no}; the
    // count below would mean nothing if it were refused here.
    static const std::string allowed = "0123456789+-*/.()[]{}><F,";
    int round = 0, square = 0, curly = 0, commas = 0;
    for (char ch : formula) {
        if (allowed.find(ch) == std::string::npos)
            return refuse("公式含有非法字符！", "txtFormula");
        round += ch == '(' ? 1 : ch == ')' ? -1 : 0;
        square += ch == '[' ? 1 : ch == ']' ? -1 : 0;
        curly += ch == '{' ? 1 : ch == '}' ? -1 : 0;
        commas += ch == ',';
    }
    if (round || square || curly || commas > 2)
        return refuse("公式错误，请进行维护！", "txtFormula");
    return Outcome::success();
}

} // namespace gzgl::monthly
