#include "items/items.h"

#include "calc/numformat.h"
#include "core/numtext.h"
#include "core/schema.h"
#include "core/text.h"
#include "items/cumulative_tax.h"
#include "items/formulas.h"
#include "items/itemcode.h"

#include <algorithm>
#include <cctype>

namespace gzgl::items {

namespace {

// F_Name is varchar(32).
constexpr std::size_t kNameBytes = 32;

const char* const kSelectItems =
    "Select F_ID,F_Code,F_Name,F_Type,F_Prec,F_Show,F_Width,F_Print,F_Change,F_ChgValue From ";

Outcome refuse(const char* message, const char* focus, Icon icon = Icon::Exclamation) {
    return Outcome::refuse(message, kTitle, icon, focus);
}

// The add dialog's name rules, then what any stored name must meet.
Outcome checkNewName(const std::string& name) {
    if (Outcome o = checkItemName(name); !o.ok)
        return o;
    if (std::string why = nameRefusal(name, "项目名称", kNameBytes); !why.empty())
        return Outcome::refuse(std::move(why), kTitle, Icon::Exclamation, "txtSubject");
    return Outcome::success();
}

Outcome failure(const char* what, const std::exception& e) {
    return Outcome::refuse(std::string(what) + "\n" + e.what(), kTitle, Icon::Critical);
}

bool isAsciiSymbol(unsigned char c) { return c < 0x80 && std::ispunct(c); }

bool isKnownType(const std::string& t) { return t == kNumber || t == kText || t == kDate; }

bool isBuiltIn(const std::string& code) {
    return code == "F000" || code == "F001" || code == "F002" || code == "F003" || code == "FFFF" ||
           code == "FFFE" || code == "FFFD" || isCumulativeCode(code);
}

Item readItem(const Recordset& rs, std::size_t i) {
    Item it;
    it.id = static_cast<int>(rs.at(i, "F_ID").toInt());
    it.code = rs.at(i, "F_Code").toString();
    it.name = rs.at(i, "F_Name").toString();
    it.type = trim(rs.at(i, "F_Type").toString());
    it.prec = static_cast<int>(rs.at(i, "F_Prec").toInt());
    it.show = rs.at(i, "F_Show").toInt() == 1;
    it.width = static_cast<int>(rs.at(i, "F_Width").toInt());
    it.print = rs.at(i, "F_Print").toInt() == 1;
    it.change = rs.at(i, "F_Change").toInt() == 1;
    it.chgValue = rs.at(i, "F_ChgValue").toDouble();
    return it;
}

// The precision box: digits only. More than 15 places cannot be shown by a
// double, so such a value counts as illegal as well.
std::optional<int> parsePrecision(const std::string& typed) {
    const std::string t = trim(typed);
    if (!allDigits(t))
        return std::nullopt;
    const std::size_t first = t.find_first_not_of('0');
    if (first == std::string::npos)
        return 0;
    if (t.size() - first > 2)
        return std::nullopt;
    const int v = std::stoi(t.substr(first));
    return v <= 15 ? std::optional<int>(v) : std::nullopt;
}

// Names are compared trimmed and without regard to ASCII case, since the
// entry screen finds an item by its name through a case-insensitive column.
bool nameTaken(Session& s, const std::string& name, const std::string& exceptCode) {
    const Recordset rs = s.taskConn.query("Select F_Code,F_Name from " + itemTable(s));
    const std::string wanted = upperAscii(name);
    for (std::size_t i = 0; i < rs.size(); ++i)
        if (upperAscii(trim(rs.row(i)[1].toString())) == wanted && rs.row(i)[0].toString() != exceptCode)
            return true;
    return false;
}

// The value a fixed item's column is filled with: a number column takes the
// number, a text column the text as typed.
Value fixedFill(bool number, const std::string& text) {
    if (number)
        return Value(readNumber(text));
    return Value(text);
}

void fillColumn(Session& s, const std::string& code, const Value& v) {
    s.taskConn.execute("Update " + dataTable(s) + " set " + checkedCode(code) + "=?", {v});
}

// Gives an existing column the type words of the other kind (number or
// text), keeping its values: SQLite converts them as they are copied.
void retypeColumn(Session& s, const std::string& code, const std::string& typeWords) {
    const std::string table = dataTable(s);
    const std::string fresh = checkedCode(code) + "_new";
    s.taskConn.execute("Alter Table " + table + " Add " + sqliteColumns(fresh + typeWords));
    s.taskConn.execute("Update " + table + " set " + fresh + "=" + code);
    s.taskConn.execute("Alter Table " + table + " Drop COLUMN " + code);
    s.taskConn.execute("Alter Table " + table + " Rename COLUMN " + fresh + " To " + code);
}

struct FixedValue {
    bool ok = true;
    std::string text; // as the box shows it afterwards
    double number = 0;
};

FixedValue readFixedValue(bool change, const std::string& typed) {
    FixedValue v;
    v.text = trim(typed);
    if (!change) {
        v.number = readNumber(v.text);
        return v;
    }
    if (v.text.empty())
        v.text = "0.0";
    v.ok = isNumberText(v.text);
    v.number = readNumber(v.text);
    return v;
}

// A fixed amount fills every employee's value, so it keeps to the bound
// the entry grid holds a typed value to.
bool fixedAmountFits(const FixedValue& v, int prec) {
    return amountTextFits(v.text) && amountFits(v.number, parsePattern(precisionPattern(prec)));
}

} // namespace

const std::vector<std::string>& itemTypes() {
    static const std::vector<std::string> types = {kNumber, kText, kDate};
    return types;
}

std::vector<Item> loadItems(Session& s) {
    const Recordset rs = s.taskConn.query(kSelectItems + itemTable(s) + " Order By F_ID");
    std::vector<Item> out;
    out.reserve(rs.size());
    for (std::size_t i = 0; i < rs.size(); ++i)
        out.push_back(readItem(rs, i));
    return out;
}

std::optional<Item> findItem(Session& s, const std::string& code) {
    const Recordset rs = s.taskConn.query(kSelectItems + itemTable(s) + " Where F_Code=?", {trim(code)});
    if (rs.empty())
        return std::nullopt;
    return readItem(rs, 0);
}

std::vector<std::vector<std::string>> itemListRows(Session& s) {
    std::vector<std::vector<std::string>> rows;
    for (const Item& it : loadItems(s))
        rows.push_back({std::to_string(it.id), it.code, it.name, it.type, std::to_string(it.prec),
                        it.show ? "☆" : "", it.print ? "☆" : "", std::to_string(it.width), it.change ? "☆" : "",
                        decimalText(it.chgValue)});
    return rows;
}

const std::vector<std::string>& itemListCaptions() {
    static const std::vector<std::string> captions = {"序号",       "项目代码", "项目名称", "数据类型", "小数位数",
                                                      "输入时显示", "是否打印", "打印宽度", "自定项",   "自定项的值"};
    return captions;
}

ItemFields fieldsOf(const Item& item) {
    ItemFields f;
    f.name = item.name;
    f.type = item.type;
    f.prec = std::to_string(item.prec);
    f.show = item.show;
    f.width = item.width;
    f.print = item.print;
    f.change = item.change;
    f.chgValue = decimalText(item.chgValue);
    return f;
}

const std::vector<std::string>& accountNames() {
    static const std::vector<std::string> names = {"身份证号",     "企业代码",  "银行账号", "住房公积金账号",
                                                   "养老保险账号", "其他账号1", "其他账号2"};
    return names;
}

bool isAccountName(const std::string& name) {
    const auto& n = accountNames();
    return std::find(n.begin(), n.end(), name) != n.end();
}

std::string accountCode(const std::string& name) {
    static const std::pair<const char*, const char*> codes[] = {
        {"身份证号", "FFFG"},       {"银行账号", "FFFH"},  {"养老保险账号", "FFFI"},
        {"住房公积金账号", "FFFJ"}, {"其他账号1", "FFFK"}, {"其他账号2", "FFFL"},
    };
    for (const auto& [n, c] : codes)
        if (name == n)
            return c;
    return {};
}

const std::vector<std::pair<std::string, std::string>>& accountColumns() {
    static const std::vector<std::pair<std::string, std::string>> columns = {
        {"FFFG", "F_CID"},     {"FFFH", "F_AccNo"},    {"FFFI", "F_OldNo"},
        {"FFFJ", "F_HouseNo"}, {"FFFK", "F_OtherNo1"}, {"FFFL", "F_OtherNo2"}};
    return columns;
}

std::string accountColumn(const std::string& code) {
    for (const auto& [c, column] : accountColumns())
        if (c == code)
            return column;
    return {};
}

Outcome checkItemName(const std::string& name) {
    const auto first = static_cast<unsigned char>(name.empty() ? ' ' : name[0]);
    if (std::isdigit(first) || isAsciiSymbol(first))
        return refuse("项目名称起始必须为字符。", "txtSubject");
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        // U+3000, the ideographic space, is E3 80 80 in UTF-8.
        const bool wideSpace = c == 0xE3 && i + 2 < name.size() && static_cast<unsigned char>(name[i + 1]) == 0x80 &&
                               static_cast<unsigned char>(name[i + 2]) == 0x80;
        if (c <= ' ' || c == 0x7F || wideSpace)
            return refuse("项目名称中不能包含空格。", "txtSubject");
    }
    for (std::size_t i = 1; i < name.size(); ++i)
        if (isAsciiSymbol(static_cast<unsigned char>(name[i])))
            return refuse("项目名称里不能包含符号。", "txtSubject");
    return Outcome::success();
}

std::string nextItemCode(Session& s, const std::string& name) {
    if (std::string code = accountCode(name); !code.empty())
        return code;
    // The highest "F" + three digits code; the reserved FFFD..FFFL are
    // letters and never count.
    const Recordset rs = s.taskConn.query("Select F_Code from " + itemTable(s));
    int highest = 0;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const std::string c = trim(rs.row(i)[0].toString());
        if (c.size() == 4 && (c[0] == 'F' || c[0] == 'f') && allDigits(c.substr(1)))
            highest = std::max(highest, std::stoi(c.substr(1)));
    }
    if (highest >= 999)
        return {};
    return "F" + zeroPad(highest + 1, 3);
}

bool applyAccountDefaults(ItemFields& f) {
    if (!checkItemName(f.name).ok || !isAccountName(f.name))
        return false;
    f.show = false;
    f.print = true;
    f.change = false;
    f.type = kText;
    return true;
}

AddItemResult addItem(Session& s, const ItemFields& fields) {
    AddItemResult r;
    ItemFields& f = r.cleaned;
    f = fields;
    f.name = trim(fields.name);
    f.type = trim(fields.type);
    auto stop = [&r](Outcome o) {
        r.outcome = std::move(o);
        return r;
    };

    if (f.name.empty())
        return stop(refuse("项目名称不能为空。", "txtSubject"));
    if (Outcome o = checkNewName(f.name); !o.ok)
        return stop(o);
    applyAccountDefaults(f);
    if (f.type.empty())
        return stop(refuse("数据类型不能为空！", "cmbKind"));
    if (nameTaken(s, f.name, {}))
        return stop(refuse("该项目已存在！", "txtSubject"));
    // The prompt text (or anything else that is no type) is refused under
    // the product title; the box names what is missing.
    if (!isKnownType(f.type))
        return stop(Outcome::refuse(kTypePrompt, s.productTitle, Icon::Exclamation, "cmbKind"));
    const bool number = f.type == kNumber;
    int prec = 0;
    if (number) {
        const std::optional<int> p = parsePrecision(f.prec);
        if (!p)
            return stop(refuse("含有非法字符！", "txtPrec"));
        prec = *p;
    }
    f.prec = std::to_string(prec);
    if (f.type == kDate)
        f.show = false;
    const FixedValue fixed = readFixedValue(f.change, fields.chgValue);
    if (!fixed.ok)
        return stop(refuse("含有非法字符！", "txtChange"));
    if (f.change && number && !fixedAmountFits(fixed, prec))
        return stop(refuse(kAmountTooLarge, "txtChange"));
    f.chgValue = fixed.text;

    const std::string code = nextItemCode(s, f.name);
    if (code.empty())
        return stop(refuse("工资项目代码已用完，不能再增加项目！", "txtSubject"));
    if (findItem(s, code))
        return stop(refuse("该项目已存在！", "txtSubject"));

    try {
        Transaction t(s.taskConn);
        const std::int64_t id = s.taskConn.scalar("Select max(F_ID) from " + itemTable(s)).toInt() + 1;
        s.taskConn.execute("Insert Into " + itemTable(s) +
                               "(F_ID,F_Code,F_Name,F_Type,F_Prec,F_Show,F_Width,F_Print,F_Change,F_ChgValue) "
                               "Values(?,?,?,?,?,?,?,?,?,?)",
                           {id, code, f.name, f.type, prec, f.show ? 1 : 0, f.width, f.print ? 1 : 0,
                            f.change ? 1 : 0, fixed.number});
        if (!neverHoldsColumn(code)) {
            // A column of that name belongs to no item (codes are unique):
            // a left-over is replaced rather than inherited.
            dropDataColumn(s, code);
            addDataColumn(s, code, number ? " float " : " VARCHAR(16) ");
            if (f.type == kDate)
                fillColumn(s, code, periodDateText(s.curPeriod));
            if (f.change)
                fillColumn(s, code, fixedFill(number, fixed.text));
        }
        t.commit();
    } catch (const std::exception& e) {
        return stop(failure("增加工资项目失败！", e));
    }
    r.code = code;
    return r;
}

ItemLocks itemLocks(const Item& item) {
    ItemLocks l;
    const std::string& c = item.code;
    // The carried items: the rounding-off and the cumulative tax figures.
    const bool carry = c == "FFFF" || c == "FFFE" || c == "FFFD" || isCumulativeCode(c);
    if (c == "F000" || c == "F003" || carry || item.type == kDate || isAccountCode(c))
        l.name = l.type = l.prec = l.show = true;
    if (carry)
        l.change = true;
    // Employee number and name are the record's own text fields.
    if (c == "F001" || c == "F002")
        l.type = l.prec = true;
    return l;
}

Outcome changeItem(Session& s, const std::string& code, const ItemFields& fields) {
    const std::optional<Item> item = code.empty() ? std::nullopt : findItem(s, code);
    if (!item)
        return refuse("请选择要修改的项目！", "", Icon::Information);
    const ItemLocks lock = itemLocks(*item);
    const std::string name = lock.name ? item->name : trim(fields.name);
    const std::string type = lock.type ? item->type : trim(fields.type);
    if (name.empty())
        return refuse("项目名称不能为空！", "txtSubject");
    // A new name meets the add dialog's rules; a name kept as it is passes,
    // so an item named before the rules can still be changed otherwise.
    if (name != trim(item->name))
        if (Outcome o = checkNewName(name); !o.ok)
            return o;
    if (type.empty() || !isKnownType(type))
        return refuse("请填写数据类型！", "cmbKind");
    const bool number = type == kNumber;
    int prec = 0;
    if (lock.prec) {
        prec = item->prec;
    } else if (number) {
        const std::optional<int> p = parsePrecision(fields.prec);
        if (!p)
            return refuse("含有非法字符！", "txtPrec");
        prec = *p;
    }
    const bool show = lock.show ? item->show : fields.show;
    const bool change = lock.change ? item->change : fields.change;
    FixedValue fixed;
    if (lock.change) {
        fixed.text = decimalText(item->chgValue);
        fixed.number = item->chgValue;
    } else {
        fixed = readFixedValue(change, fields.chgValue);
        if (!fixed.ok)
            return refuse("含有非法字符！", "txtChange");
        if (change && number && !fixedAmountFits(fixed, prec))
            return refuse(kAmountTooLarge, "txtChange");
    }
    // Two items of one name could not be told apart by the entry screen,
    // which finds the item of a column by its caption.
    if (!lock.name && nameTaken(s, name, item->code))
        return refuse("该项目已存在！", "txtSubject");

    const std::string& c = item->code;
    try {
        Transaction t(s.taskConn);
        s.taskConn.execute("Update " + itemTable(s) +
                               " Set F_Name=?,F_Type=?,F_Prec=?,F_Show=?,F_Print=?,F_Width=?,F_Change=?,"
                               "F_ChgValue=? Where F_Code=?",
                           {name, type, prec, show ? 1 : 0, fields.print ? 1 : 0, fields.width, change ? 1 : 0,
                            fixed.number, c});
        if (!neverHoldsColumn(c)) {
            const std::string words = number ? " Double" : " VARCHAR(16) Null";
            bool has = hasDataColumn(s, c);
            if (has && (item->type == kNumber) != number)
                retypeColumn(s, c, words);
            // A formula item keeps no values of its own: its column (if
            // any) holds per-employee exceptions, which a fill would wipe.
            if (!hasFormula(s, c)) {
                if (!has && (type == kDate || change)) {
                    addDataColumn(s, c, words);
                    has = true;
                }
                if (has && type == kDate)
                    fillColumn(s, c, periodDateText(s.curPeriod));
                if (has && change)
                    fillColumn(s, c, fixedFill(number, fixed.text));
            }
        }
        t.commit();
    } catch (const std::exception& e) {
        return failure("修改工资项目失败！", e);
    }
    return Outcome::success();
}

Outcome deleteItem(Session& s, Prompt& p, const std::string& code) {
    const std::optional<Item> item = trim(code).empty() ? std::nullopt : findItem(s, code);
    if (!item)
        return refuse("请选择要删除的项目！", "", Icon::Information);
    const std::string& c = item->code;
    // F001 and F002 are the first two columns of every salary grid.
    if (isBuiltIn(c))
        return refuse("此项目不允许删除！", "");
    if (!p.askYesNo("确信要删除这个项目吗？", kTitle, Icon::Question))
        return Outcome::refuse({}, {}, Icon::None);
    if (!isAccountCode(c)) {
        if (hasFormula(s, c))
            return refuse("该项目已存在公式,不能被删去!", "");
        const Recordset rs = s.taskConn.query("Select F_Formula from " + formulaTable(s));
        for (std::size_t i = 0; i < rs.size(); ++i) {
            const std::string f = rs.row(i)[0].toString();
            for (std::size_t at = f.find('F'); at != std::string::npos; at = f.find('F', at + 1))
                if (f.compare(at, 4, c) == 0)
                    return refuse("该项目已在公式中被引用，请维护！", "");
        }
    }
    try {
        Transaction t(s.taskConn);
        if (!neverHoldsColumn(c))
            dropDataColumn(s, c);
        s.taskConn.execute("Delete From " + itemTable(s) + " Where F_Code=?", {c});
        t.commit();
    } catch (const std::exception& e) {
        return failure("删除工资项目失败！", e);
    }
    return Outcome::success();
}

Outcome moveItem(Session& s, const std::string& code, bool up) {
    const std::vector<Item> list = loadItems(s);
    const auto at = std::find_if(list.begin(), list.end(), [&](const Item& i) { return i.code == trim(code); });
    // No selection is no request; a code of no item is refused aloud.
    if (at == list.end())
        return trim(code).empty() ? Outcome::refuse({}, {}, Icon::None) : refuse("不存在此项目！", "");
    const std::size_t row = static_cast<std::size_t>(at - list.begin()) + 1;
    if (up && row <= 3)
        return refuse("不能再向上移动了！", "");
    if (!up && (row <= 2 || row == list.size()))
        return refuse("不能再向下移动了！", "");
    const int a = at->id;
    const int b = (up ? at - 1 : at + 1)->id;
    try {
        Transaction t(s.taskConn);
        const std::string sql = "Update " + itemTable(s) + " Set F_ID=? Where F_ID=?";
        s.taskConn.execute(sql, {29999, a});
        s.taskConn.execute(sql, {a, b});
        s.taskConn.execute(sql, {b, 29999});
        t.commit();
    } catch (const std::exception& e) {
        return failure("移动工资项目失败！", e);
    }
    return Outcome::success();
}

std::string periodDateText(const std::string& period) {
    if (period.size() != 6)
        return period;
    return period.substr(0, 4) + "年" + period.substr(4, 2) + "月";
}

} // namespace gzgl::items
