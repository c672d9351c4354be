#include "items/formulas.h"

#include "core/text.h"
#include "items/cumulative_tax.h"
#include "items/itemcode.h"
#include "items/line_order.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace gzgl::items {

namespace {

const char* const kAllowed = "0123456789()[]{}.,+-*/><&|=F";
const char* const kAfterCode = "+-*/()[]{},><&|= ";
const char* const kFormulaError = "公式有错误，请进行维护！";

Outcome refuse(const char* message, const char* focus) {
    return Outcome::refuse(message, kTitle, Icon::Exclamation, focus);
}

Outcome failure(const std::exception& e) {
    return Outcome::refuse(std::string("保存公式失败！\n") + e.what(), kTitle, Icon::Critical);
}

bool contains(const char* set, char c) { return c != '\0' && std::strchr(set, c) != nullptr; }

bool isWaiting(Session& s, const std::string& code) {
    for (const ItemChoice& c : waitingItems(s))
        if (c.code == code)
            return true;
    return false;
}

// Whether the item's column holds anything the user would lose: a value
// other than 0 (Null and the no-value marker -9999 hold nothing).
bool holdsValues(Session& s, const std::string& code) {
    if (!hasDataColumn(s, code))
        return false;
    const Recordset rs = s.taskConn.query("Select " + checkedCode(code) + " from " + dataTable(s));
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const Value& v = rs.row(i)[0];
        if (v.isNull() || (v.isText() && trim(v.toString()).empty()))
            continue;
        const double d = v.toDouble();
        if (d != 0 && d != -9999)
            return true;
    }
    return false;
}

std::int64_t nextLineId(Session& s) {
    return s.taskConn.scalar("Select max(F_ID) from " + formulaTable(s)).toInt() + 1;
}

void insertLine(Session& s, std::int64_t id, const std::string& code, const std::string& text) {
    s.taskConn.execute("Insert Into " + formulaTable(s) + "(F_ID,F_Code,F_Formula) values(?,?,?)", {id, code, text});
}

// The store-order statements: every line rewritten with F_ID 1, 2, ... in
// the order given. The caller owns the transaction.
void storeOrder(Session& s, const std::vector<FormulaLine>& lines) {
    s.taskConn.execute("Delete from " + formulaTable(s));
    for (std::size_t n = 0; n < lines.size(); ++n)
        insertLine(s, static_cast<std::int64_t>(n + 1), lines[n].code, lines[n].formula);
}

// The common end of every change of lines: the order question on the new
// order (No: a silent refusal), then write in one transaction. r tells how
// it went; true when written.
template <class Write>
bool writeLines(Session& s, Prompt& p, const std::vector<FormulaLine>& before, const std::vector<FormulaLine>& after,
                FormulaResult& r, Write write) {
    if (!acceptLineOrder(s, p, before, after)) {
        r.outcome = Outcome::refuse({}, {}, Icon::None);
        return false;
    }
    try {
        Transaction t(s.taskConn);
        write();
        t.commit();
    } catch (const std::exception& e) {
        r.outcome = failure(e);
        r.id = 0;
        return false;
    }
    r.changed = true;
    return true;
}

// The step shared by every way a new line comes in, once the caller has
// found the item to be one that can get formulas: an item that gets its
// first line is asked about its values. nullopt when the caller may go on.
std::optional<Outcome> admit(Session& s, Prompt& p, const std::string& code, bool& first) {
    first = !hasFormula(s, code);
    if (first && code != "F003" && code != "F000" && holdsValues(s, code) &&
        !p.askYesNo("此项目已有数据存在，是否全部清除?", kTitle, Icon::Question))
        return Outcome::refuse({}, {}, Icon::None);
    return std::nullopt;
}

} // namespace

std::vector<FormulaLine> loadFormulaLines(Session& s) {
    const Recordset rs = s.taskConn.query("Select F_ID,F_Code,F_Formula from " + formulaTable(s) + " order by F_ID");
    std::vector<FormulaLine> out;
    for (std::size_t i = 0; i < rs.size(); ++i)
        out.push_back({static_cast<int>(rs.row(i)[0].toInt()), rs.row(i)[1].toString(), rs.row(i)[2].toString()});
    return out;
}

bool hasFormula(Session& s, const std::string& code) {
    return s.taskConn.scalar("Select count(*) from " + formulaTable(s) + " where F_Code=?", {code}).toInt() > 0;
}

std::vector<ItemChoice> waitingItems(Session& s) {
    const Recordset rs =
        s.taskConn.query("Select F_Code,F_Name from " + itemTable(s) + " where F_Type=? order by F_ID", {kNumber});
    std::vector<ItemChoice> out;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const std::string code = rs.row(i)[0].toString();
        if (code != "FFFF" && code != "FFFE" && code != "FFFD" && !isCumulativeCode(code))
            out.push_back({code, rs.row(i)[1].toString()});
    }
    return out;
}

std::string cleanFormula(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            out += c;
    return out;
}

Outcome checkFormula(Session& s, const std::string& f) {
    for (char c : f)
        if (!contains(kAllowed, c))
            return refuse("含有非法字符！", "txtFormula");

    std::map<std::string, bool> usable; // code -> a number item exists
    const std::string sql = "Select F_Code,F_Type from " + itemTable(s) + " where F_Code=?";
    for (std::size_t i = 0; i < f.size();) {
        if (f[i] != 'F') {
            ++i;
            continue;
        }
        const std::string code = f.substr(i, 4);
        auto it = usable.find(code);
        if (it == usable.end()) {
            bool ok = false;
            if (code.size() == 4) {
                const Recordset rs = s.taskConn.query(sql, {code});
                ok = !rs.empty() && trim(rs.row(0)[1].toString()) != kDate && trim(rs.row(0)[1].toString()) != kText;
            }
            it = usable.emplace(code, ok).first;
        }
        if (!it->second)
            return refuse(kFormulaError, "txtFormula");
        i += 4;
        if (i < f.size() && !contains(kAfterCode, f[i]))
            return refuse("公式有错误，请进行维护！！", "txtFormula");
    }

    if (f.substr(0, 5).find('=') != std::string::npos)
        return refuse("请将公式中\"=\"及\"=\"左边的内容删去！", "txtFormula");

    auto count = [&f](char c) { return std::count(f.begin(), f.end(), c); };
    if (count('(') != count(')') || count('[') != count(']') || count('{') != count('}') || count(',') > 2)
        return refuse(kFormulaError, "txtFormula");
    return Outcome::success();
}

FormulaResult putFormula(Session& s, Prompt& p, const FormulaEdit& edit) {
    FormulaResult r;
    const std::string code = trim(edit.code);
    if (code.empty() || !isWaiting(s, code)) {
        r.outcome = refuse("请选择需要添加的项目！", "lstWait");
        return r;
    }
    const std::string text = cleanFormula(edit.text);
    if (text.empty()) {
        r.outcome = refuse("公式为空，添加公式前请进行公式维护！", "txtFormula");
        return r;
    }
    bool first = false;
    if (std::optional<Outcome> o = admit(s, p, code, first)) {
        r.outcome = *o;
        return r;
    }
    std::optional<FormulaLine> selected;
    if (edit.selectedId)
        for (const FormulaLine& l : loadFormulaLines(s))
            if (l.id == *edit.selectedId && l.code == code)
                selected = l;
    if (selected && selected->formula == text) {
        r.id = selected->id;
        return r;
    }
    if (Outcome o = checkFormula(s, text); !o.ok) {
        r.outcome = o;
        return r;
    }
    const std::vector<FormulaLine> before = loadFormulaLines(s);
    std::vector<FormulaLine> after = before;
    if (selected) {
        for (FormulaLine& l : after)
            if (l.id == selected->id)
                l.formula = text;
    } else {
        after.push_back({0, code, text});
    }
    writeLines(s, p, before, after, r, [&] {
        if (selected) {
            s.taskConn.execute("Update " + formulaTable(s) + " set F_Formula=? where F_Code=? And F_ID=?",
                               {text, code, selected->id});
            r.id = selected->id;
        } else {
            if (first)
                dropDataColumn(s, code);
            const std::int64_t id = nextLineId(s);
            insertLine(s, id, code, text);
            r.id = static_cast<int>(id);
        }
    });
    return r;
}

namespace {

// Lines of one item admitted for writing: its trimmed code, the cleaned
// texts, and whether they are its first lines (its stored values go).
struct AdmittedLines {
    std::string code;
    std::vector<std::string> lines;
    bool first = false;
};

// The steps before several lines of one item are written: the item can take
// lines, no text is empty, the question for its values, every text passes
// the check. No lines when refused (r says why) or when there is nothing to do.
AdmittedLines admitLines(Session& s, Prompt& p, const std::string& code, const std::vector<std::string>& texts,
                         FormulaResult& r) {
    AdmittedLines a{trim(code), {}, false};
    const std::string& c = a.code;
    if (c.empty() || !isWaiting(s, c)) {
        r.outcome = refuse("请选择需要添加的项目！", "lstWait");
        return a;
    }
    std::vector<std::string> cleaned;
    for (const std::string& t : texts) {
        cleaned.push_back(cleanFormula(t));
        if (cleaned.back().empty()) {
            r.outcome = refuse("公式为空，添加公式前请进行公式维护！", "txtFormula");
            return a;
        }
    }
    if (cleaned.empty())
        return a;
    if (std::optional<Outcome> o = admit(s, p, c, a.first)) {
        r.outcome = *o;
        return a;
    }
    for (const std::string& t : cleaned)
        if (Outcome o = checkFormula(s, t); !o.ok) {
            r.outcome = o;
            return a;
        }
    a.lines = std::move(cleaned);
    return a;
}

// Whether a checked formula names code (codes are read four characters at
// every "F", as the calculation reads them).
bool usesCode(const std::string& formula, const std::string& code) {
    for (std::size_t i = 0; i < formula.size();) {
        if (formula[i] == 'F') {
            if (formula.compare(i, 4, code) == 0)
                return true;
            i += 4;
        } else {
            ++i;
        }
    }
    return false;
}

} // namespace

FormulaResult addFormulaLines(Session& s, Prompt& p, const std::string& code, const std::vector<std::string>& texts) {
    FormulaResult r;
    const AdmittedLines a = admitLines(s, p, code, texts, r);
    if (a.lines.empty())
        return r;
    const std::vector<FormulaLine> before = loadFormulaLines(s);
    std::vector<FormulaLine> after = before;
    for (const std::string& text : a.lines)
        after.push_back({0, a.code, text});
    writeLines(s, p, before, after, r, [&] {
        if (a.first)
            dropDataColumn(s, a.code);
        std::int64_t id = nextLineId(s);
        for (const std::string& text : a.lines)
            insertLine(s, id++, a.code, text);
        r.id = static_cast<int>(id - 1);
    });
    return r;
}

FormulaResult replaceFormulaLines(Session& s, Prompt& p, const std::string& code,
                                  const std::vector<std::string>& texts, const std::vector<std::string>& inputs) {
    FormulaResult r;
    const AdmittedLines a = admitLines(s, p, code, texts, r);
    if (a.lines.empty())
        return r;
    std::vector<FormulaLine> kept;
    std::optional<std::size_t> at;
    std::size_t afterInputs = 0;
    const std::vector<FormulaLine> before = loadFormulaLines(s);
    for (const FormulaLine& l : before) {
        const std::string target = trim(l.code);
        if (target == a.code) {
            if (!at)
                at = kept.size();
            continue;
        }
        if (!at && a.first && usesCode(l.formula, a.code))
            at = kept.size();
        kept.push_back(l);
        if (std::find(inputs.begin(), inputs.end(), target) != inputs.end())
            afterInputs = kept.size();
    }
    const std::size_t place = std::max(at.value_or(kept.size()), afterInputs);
    std::vector<FormulaLine> lines(kept.begin(), kept.begin() + static_cast<std::ptrdiff_t>(place));
    for (const std::string& text : a.lines)
        lines.push_back({0, a.code, text});
    lines.insert(lines.end(), kept.begin() + static_cast<std::ptrdiff_t>(place), kept.end());
    if (writeLines(s, p, before, lines, r, [&] {
            if (a.first)
                dropDataColumn(s, a.code);
            storeOrder(s, lines);
        }))
        r.id = static_cast<int>(place + a.lines.size());
    return r;
}

Outcome removeFormula(Session& s, const std::string& code, std::optional<int> id) {
    const std::string c = trim(code);
    const Outcome none = refuse("请选择需要删除的项目！", "fgAlready");
    if (c.empty() || !id)
        return none;
    const std::string table = formulaTable(s);
    if (s.taskConn.scalar("Select count(*) from " + table + " where F_Code=? And F_ID=?", {c, *id}).toInt() == 0)
        return none;
    try {
        Transaction t(s.taskConn);
        s.taskConn.execute("Delete from " + table + " where F_Code=? And F_ID=?", {c, *id});
        // The item becomes an input item again.
        if (c != "F000" && !hasFormula(s, c)) {
            const std::optional<Item> item = findItem(s, c);
            if (item && !neverHoldsColumn(c) && !hasDataColumn(s, c))
                addDataColumn(s, c, item->type == kNumber ? " FLOAT" : " VARCHAR(16) ");
        }
        t.commit();
    } catch (const std::exception& e) {
        return failure(e);
    }
    return Outcome::success();
}

FormulaResult moveFormula(Session& s, Prompt& p, int id, bool up) {
    FormulaResult r;
    std::vector<FormulaLine> lines = loadFormulaLines(s);
    const auto at = std::find_if(lines.begin(), lines.end(), [id](const FormulaLine& l) { return l.id == id; });
    if (at == lines.end()) {
        r.outcome = refuse("不存在此公式！", "fgAlready");
        return r;
    }
    const std::size_t i = static_cast<std::size_t>(at - lines.begin());
    if (up && i == 0) {
        r.outcome = refuse("不能再向上移动了！", "fgAlready");
        return r;
    }
    if (!up && i + 1 == lines.size()) {
        r.outcome = refuse("不能再向下移动了！", "fgAlready");
        return r;
    }
    const std::size_t j = up ? i - 1 : i + 1;
    const std::vector<FormulaLine> before = lines;
    std::swap(lines[i], lines[j]);
    if (writeLines(s, p, before, lines, r, [&] { storeOrder(s, lines); }))
        r.id = static_cast<int>(j + 1);
    return r;
}

} // namespace gzgl::items
