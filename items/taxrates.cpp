#include "items/taxrates.h"

#include "calc/numformat.h"
#include "core/numtext.h"
#include "core/text.h"
#include "items/itemcode.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace gzgl::items {

namespace {

const char* const kWarning = "警告";

// An end at or above this cannot be written as plain decimal text by the
// 15-digit number text of the system; the bracket is treated as open.
constexpr double kOpenEnd = 1e15;

// An end too large to write as a plain number (the built-in top bracket's
// 1E+99): the formula reader would stop at its exponent letter.
bool tooLargeToWrite(double end) { return !(std::fabs(end) < kOpenEnd); }
// The last, open bracket: no end, an end of 0, or one too large to write.
bool isOpenEnd(double end) { return end == 0 || tooLargeToWrite(end); }

Outcome warn(const char* message, const char* focus) {
    return Outcome::refuse(message, kWarning, Icon::Exclamation, focus);
}

bool legalCell(const std::string& t) {
    return std::all_of(t.begin(), t.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

// The 15 significant digits of |v| and the decimal exponent of the first.
struct Digits {
    std::string d;
    int exp = 0;
};

Digits significant(double v) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(v));
    Digits out;
    out.d = std::string(1, buf[0]) + std::string(buf + 2, 14);
    out.exp = std::atoi(buf + 17);
    return out;
}

} // namespace

// A fractional percent keeps its digits (7.5 gives 0.075) rather than being
// rounded to 0.08.
std::string rateFraction(double percent) {
    std::string r = plainDecimal(percent / 100);
    const std::size_t point = r.find('.');
    if (point == std::string::npos)
        r += ".00";
    else if (r.size() - point < 3)
        r.append(3 - (r.size() - point), '0');
    return r;
}

bool openBracketEnd(double end) { return isOpenEnd(end); }

namespace {

struct Bracket {
    double start = 0, end = 0;
    bool open = false;
};

} // namespace

bool TaxRow::empty() const {
    return trim(start).empty() && trim(end).empty() && trim(rate).empty() && trim(quick).empty();
}

const std::vector<std::string>& taxCaptions() {
    static const std::vector<std::string> c = {"起 始 值", "终 止 值", "税  率", "速算扣除"};
    return c;
}

const std::vector<std::string>& taxExampleLines() {
    static const std::vector<std::string> lines = {
        "注意：范围不可以有重复或遗漏！",
        "例如：",
        "起始值　终止值　税率　速算扣除",
        "     0      500    5      0",
        "   500     2000   10      25",
        "  2000     5000   15     125",
        "  5000    20000   20     375",
        " 20000    40000   25     1375",
        " 40000    60000   30     3375",
        " 60000    80000   35     6375",
        " 80000   100000   40    10375",
        "100000           45    15375",
    };
    return lines;
}

std::string plainDecimal(double v) {
    if (v == 0 || !std::isfinite(v))
        return "0";
    const Digits s = significant(v);
    std::string d = s.d;
    d.erase(d.find_last_not_of('0') + 1);
    std::string out;
    if (s.exp >= 0) {
        const auto whole = static_cast<std::size_t>(s.exp) + 1;
        if (d.size() <= whole)
            out = d + std::string(whole - d.size(), '0');
        else
            out = d.substr(0, whole) + "." + d.substr(whole);
    } else {
        out = "0." + std::string(static_cast<std::size_t>(-s.exp - 1), '0') + d;
    }
    return v < 0 ? "-" + out : out;
}

std::string formatMoney(double v) { return formatNumber(v, "#0.00"); }

std::vector<TaxRow> loadTaxRows(Session& s) {
    const Recordset rs =
        s.taskConn.query("Select F_Start,F_End,F_Rate,F_Quick from " + taxTable(s) + " order by F_Start");
    std::vector<TaxRow> out;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        auto cell = [&](std::size_t c) { return formatMoney(rs.row(i)[c].toDouble()); };
        // An end too large to write (the built-in top bracket's 1E+99) is
        // the open end: shown empty rather than as a hundred digits.
        const double end = rs.row(i)[1].toDouble();
        out.push_back({cell(0), tooLargeToWrite(end) ? std::string() : cell(1), cell(2), cell(3)});
    }
    return out;
}

CellResult acceptTaxCell(const std::string& typed) {
    CellResult r;
    const std::string t = trim(typed);
    if (!legalCell(t)) {
        r.outcome = Outcome::refuse("含有非法字符！", kTitle, Icon::Exclamation, "msfRate");
        return r;
    }
    r.shown = t.empty() ? std::string() : formatMoney(readNumber(t));
    return r;
}

Outcome checkBrackets(const std::string& threshold, const std::vector<TaxRow>& rows) {
    const std::string t = trim(threshold);
    if (t.empty())
        return warn("必须输入起征值!", "txtstart");
    const Outcome illegal = Outcome::refuse("含有非法字符！", kTitle, Icon::Exclamation, "txtstart");
    if (!legalCell(t))
        return illegal;
    std::vector<Bracket> brackets;
    for (const TaxRow& r : rows) {
        for (const std::string* c : {&r.start, &r.end, &r.rate, &r.quick})
            if (!legalCell(trim(*c)))
                return Outcome::refuse("含有非法字符！", kTitle, Icon::Exclamation, "msfRate");
        if (r.empty())
            continue;
        Bracket b;
        b.start = readNumber(r.start);
        b.end = readNumber(r.end);
        b.open = isOpenEnd(b.end);
        // A row needs at least one bound, and a closed range must not be
        // empty or reversed.
        if ((trim(r.start).empty() && b.open) || (!b.open && !(b.start < b.end)))
            return warn("范围输入错误!", "msfRate");
        brackets.push_back(b);
    }
    std::stable_sort(brackets.begin(), brackets.end(),
                     [](const Bracket& a, const Bracket& b) { return a.start < b.start; });
    // Sorted by start, disjoint ranges are exactly those where each one ends
    // at or before the next one begins.
    for (std::size_t i = 1; i < brackets.size(); ++i) {
        const Bracket& a = brackets[i - 1];
        if (a.open || brackets[i].start < a.end)
            return warn("范围有重叠!", "msfRate");
    }
    for (std::size_t i = 1; i < brackets.size(); ++i)
        if (brackets[i].start > brackets[i - 1].end)
            return warn("范围有遗漏!", "msfRate");
    return Outcome::success();
}

Outcome saveBrackets(Session& s, const std::string& threshold, const std::vector<TaxRow>& rows) {
    if (Outcome o = checkBrackets(threshold, rows); !o.ok)
        return o;
    try {
        Transaction t(s.taskConn);
        s.taskConn.execute("Delete from " + taxTable(s));
        const std::string sql = "insert into " + taxTable(s) + "(F_Start,F_End,F_Rate,F_Quick) values (?,?,?,?)";
        for (const TaxRow& r : rows)
            if (!r.empty())
                s.taskConn.execute(sql, {readNumber(r.start), readNumber(r.end), readNumber(r.rate),
                                         readNumber(r.quick)});
        t.commit();
    } catch (const std::exception& e) {
        return Outcome::refuse(std::string("存贮失败！\n") + e.what(), kTitle, Icon::Critical);
    }
    return Outcome{true, "成功存贮完毕！", kTitle, Icon::Information, {}};
}

std::vector<std::string> taxFormulaTexts(const std::string& threshold, const std::vector<TaxRow>& rows) {
    const std::string base = "F003-" + plainDecimal(readNumber(trim(threshold)));
    std::vector<std::string> out;
    for (const TaxRow& r : rows) {
        const double start = readNumber(r.start);
        const double end = readNumber(r.end);
        const double rate = readNumber(r.rate);
        const double quick = readNumber(r.quick);
        if (start == 0 && end == 0 && rate == 0 && quick == 0)
            continue;
        const std::string value = ",(" + base + ")*" + rateFraction(rate) + "-" + plainDecimal(quick) + "}";
        if (isOpenEnd(end))
            out.push_back("{" + base + ">" + plainDecimal(start) + value);
        else
            out.push_back("{[" + base + ">" + plainDecimal(start) + "]&[" + base + "<=" + plainDecimal(end) + "]" +
                          value);
    }
    return out;
}

FormulaResult generateTaxFormulas(Session& s, Prompt& p, const std::string& code, const std::string& threshold,
                                  const std::vector<TaxRow>& rows) {
    if (Outcome o = checkBrackets(threshold, rows); !o.ok) {
        FormulaResult r;
        r.outcome = o;
        return r;
    }
    return addFormulaLines(s, p, code, taxFormulaTexts(threshold, rows));
}

} // namespace gzgl::items
